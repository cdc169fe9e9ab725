// Traces of failures: how a message reads, and that logging never costs the caller.
#include "platform/log.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <stdexcept>

#include "tests/support/testSupport.h"

namespace magna::platform {
namespace {

class LogTest : public test::FakeServicesTest {};

/// A log that fails on every message, as a full disk or a closed stream would.
class FailingLog : public LogService {
 public:
  void Write(LogLevel, std::string_view, std::string_view) override {
    throw std::runtime_error("log unavailable");
  }
};

TEST(LogMessages, SayWhatFailedAndWhyWhenKnown) {
  EXPECT_EQ(FailureMessage("saving the settings"), "saving the settings failed");
  EXPECT_EQ(FailureMessage("saving the settings", "disk full"),
            "saving the settings failed: disk full");
  EXPECT_EQ(ErrorNumberReason(0), "");
  EXPECT_FALSE(ErrorNumberReason(ENOENT).empty());
}

TEST(LogMessages, NamesKeepTheirBytesEvenWhenTheyAreNoUtf8) {
  EXPECT_EQ(QuotedName(u"/tmp/日本.ini"), "'/tmp/日本.ini'");
  // A Shift_JIS file name travels as escapes and is written back as its own bytes.
  EXPECT_EQ(QuotedName(u"\xDC93\xDCFA.txt"), "'\x93\xFA.txt'");
}

TEST_F(LogTest, WarningsAndDebugMessagesGoToTheInstalledLogUnderTheirCategory) {
  LogWarning(kLogSettings, "saving the settings", "disk full");
  LogDebug(kLogClipboard, "leaving the viewer chain");
  LogNamedWarning(kLogText, "writing", u"/a/b.txt", "Permission denied");
  ASSERT_EQ(log->Entries.size(), 3u);
  EXPECT_EQ(log->Entries[1].Level, LogLevel::Debug);
  EXPECT_EQ(log->Entries[1].Category, kLogClipboard);
  EXPECT_EQ(log->Entries[1].Message, "leaving the viewer chain");
  ExpectWarning(kLogSettings, "saving the settings failed: disk full");
  ExpectWarning(kLogText, "writing '/a/b.txt' failed: Permission denied");
}

TEST_F(LogTest, ACaughtExceptionGivesItsTextOrSaysItIsUnknown) {
  try {
    throw std::range_error("too large");
  } catch (...) {
    LogCaughtException(kLogEditor, "handling a key");
  }
  try {
    throw 42;
  } catch (...) {
    LogCaughtException(kLogWidgets, "drawing a caption");
  }
  ExpectWarning(kLogEditor, "handling a key failed: too large");
  ExpectWarning(kLogWidgets, "drawing a caption failed: unknown exception");
}

TEST(LogFailures, ALogThatRaisesLosesTheMessageNotTheCallersWork) {
  InstallLog(std::make_unique<FailingLog>());
  EXPECT_NO_THROW(LogWarning(kLogApp, "closing"));
  EXPECT_NO_THROW(LogDebug(kLogApp, "closing"));
  EXPECT_NO_THROW(LogNamedWarning(kLogApp, "writing", u"x"));
  try {
    throw std::runtime_error("inner");
  } catch (...) {
    EXPECT_NO_THROW(LogCaughtException(kLogApp, "closing"));
  }
  InstallLog(nullptr);
}

TEST(LogFailures, TheDefaultLogWritesWarningsToStandardErrorOnly) {
  InstallLog(nullptr);
  testing::internal::CaptureStderr();
  LogWarning(kLogSettings, "saving the settings", "disk full");
  LogDebug(kLogSettings, "not shown");
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "magna.settings: saving the settings failed: disk full\n");
}

TEST_F(LogTest, AGuardKeepsEveryFailureFromItsCallerLogsItAndBeepsWhenAsked) {
  enum class Throws { Nothing, Exception, Other };
  struct Row {
    Throws throws;
    OnFailure onFailure;
    const char* warning;  // empty: none
    int beeps;
  };
  const Row rows[] = {
      {Throws::Nothing, OnFailure::Beep, "", 0},
      {Throws::Exception, OnFailure::LogOnly, "opening the panel failed: no memory", 0},
      {Throws::Exception, OnFailure::Beep, "opening the panel failed: no memory", 1},
      {Throws::Other, OnFailure::Beep, "opening the panel failed: unknown exception", 1},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(int(row.throws) * 2 + int(row.onFailure));
    log->Entries.clear();
    ui->BeepCount = 0;
    bool ranToTheEnd = false;
    Guard(
        kLogApp, "opening the panel",
        [&] {
          if (row.throws == Throws::Exception) throw std::runtime_error("no memory");
          if (row.throws == Throws::Other) throw 7;
          ranToTheEnd = true;
        },
        row.onFailure);
    EXPECT_EQ(ranToTheEnd, row.throws == Throws::Nothing);
    EXPECT_EQ(ui->BeepCount, row.beeps);
    if (*row.warning) ExpectWarning(kLogApp, row.warning);
    EXPECT_TRUE(log->Entries.empty());
  }
}

}  // namespace
}  // namespace magna::platform
