#pragma once
// The log through Qt's logging: one QLoggingCategory per category of platform/log.h
// ("magna.settings", ...), warnings on and debug messages off by default, so that
// QT_LOGGING_RULES and the user's qtlogging.ini decide as for any Qt program, and
// the messages reach Qt's message handler (standard error, or the journal).

#include <string_view>

#include "platform/log.h"

class QLoggingCategory;

namespace magna::platform::qt {

using LoggingCategoryFunction = const QLoggingCategory& (*)();

/// The Qt category of a category name; the general "magna" one for a name it does
/// not know.
LoggingCategoryFunction LoggingCategory(std::string_view category);

class QtLog : public LogService {
 public:
  void Write(LogLevel level, std::string_view category, std::string_view message) override;
};

}  // namespace magna::platform::qt
