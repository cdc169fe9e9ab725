#include "platform/qt/qtLog.h"

#include <QLoggingCategory>
#include <QString>
#include <utility>

namespace magna::platform::qt {

namespace {

// QtWarningMsg: what is below a warning is off until the rules turn it on.
Q_LOGGING_CATEGORY(lcPlatform, "magna.platform", QtWarningMsg)
Q_LOGGING_CATEGORY(lcText, "magna.text", QtWarningMsg)
Q_LOGGING_CATEGORY(lcSettings, "magna.settings", QtWarningMsg)
Q_LOGGING_CATEGORY(lcClipboard, "magna.clipboard", QtWarningMsg)
Q_LOGGING_CATEGORY(lcEditor, "magna.editor", QtWarningMsg)
Q_LOGGING_CATEGORY(lcWidgets, "magna.widgets", QtWarningMsg)
Q_LOGGING_CATEGORY(lcApp, "magna.app", QtWarningMsg)
Q_LOGGING_CATEGORY(lcOther, "magna", QtWarningMsg)

}  // namespace

LoggingCategoryFunction LoggingCategory(std::string_view category) {
  static const std::pair<std::string_view, LoggingCategoryFunction> kCategories[] = {
      {kLogPlatform, &lcPlatform}, {kLogText, &lcText},
      {kLogSettings, &lcSettings}, {kLogClipboard, &lcClipboard},
      {kLogEditor, &lcEditor},     {kLogWidgets, &lcWidgets},
      {kLogApp, &lcApp},
  };
  for (const auto& [name, function] : kCategories)
    if (name == category) return function;
  return &lcOther;
}

void QtLog::Write(LogLevel level, std::string_view category, std::string_view message) {
  const LoggingCategoryFunction lc = LoggingCategory(category);
  const QString text = QString::fromUtf8(message.data(), qsizetype(message.size()));
  if (level == LogLevel::Warning)
    qCWarning(lc).noquote() << text;
  else
    qCDebug(lc).noquote() << text;
}

}  // namespace magna::platform::qt
