// The log through Qt's categories: what reaches Qt's message handler, and what the
// logging rules let through.
#include "platform/qt/qtLog.h"

#include <gtest/gtest.h>

#include <QLoggingCategory>
#include <QString>
#include <string>
#include <vector>

namespace magna::platform::qt {
namespace {

struct Message {
  QtMsgType type;
  std::string category;
  std::string text;
};

/// Every message Qt hands to its handler while the test runs, with the log installed.
class QtLogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    messages_ = &messages;
    previous_ = qInstallMessageHandler(&Capture);
    InstallLog(std::make_unique<QtLog>());
  }
  void TearDown() override {
    InstallLog(nullptr);
    qInstallMessageHandler(previous_);
    QLoggingCategory::setFilterRules(QString());
    messages_ = nullptr;
  }

  std::vector<Message> messages;

 private:
  static void Capture(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (messages_)
      messages_->push_back({type, context.category ? context.category : "", text.toStdString()});
  }
  static inline std::vector<Message>* messages_ = nullptr;
  QtMessageHandler previous_ = nullptr;
};

TEST_F(QtLogTest, EachLayerWarnsUnderItsOwnCategory) {
  for (std::string_view category :
       {kLogPlatform, kLogText, kLogSettings, kLogClipboard, kLogEditor, kLogWidgets, kLogApp}) {
    SCOPED_TRACE(category);
    messages.clear();
    LogWarning(category, "saving", "disk full");
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].type, QtWarningMsg);
    EXPECT_EQ(messages[0].category, category);
    EXPECT_EQ(messages[0].text, "saving failed: disk full");
  }
}

TEST_F(QtLogTest, AnUnknownCategoryStillReachesTheLog) {
  LogWarning("magna.elsewhere", "opening");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].category, "magna");
  EXPECT_EQ(messages[0].text, "opening failed");
}

TEST_F(QtLogTest, DebugMessagesAreOffUntilTheRulesTurnThemOn) {
  LogDebug(kLogClipboard, "leaving the chain");
  EXPECT_TRUE(messages.empty());
  QLoggingCategory::setFilterRules(QStringLiteral("magna.clipboard.debug=true"));
  LogDebug(kLogClipboard, "leaving the chain");
  LogDebug(kLogEditor, "still off");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].type, QtDebugMsg);
  EXPECT_EQ(messages[0].text, "leaving the chain");
}

TEST_F(QtLogTest, TheRulesCanSilenceWarningsAndTextKeepsItsCharacters) {
  QLoggingCategory::setFilterRules(QStringLiteral("magna.settings.warning=false"));
  LogWarning(kLogSettings, "silenced");
  EXPECT_TRUE(messages.empty());
  LogNamedWarning(kLogText, "reading", u"設定.ini", "\"quoted\" reason");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0].text, "reading '設定.ini' failed: \"quoted\" reason")
      << "no quotes or escapes added by the stream";
}

}  // namespace
}  // namespace magna::platform::qt
