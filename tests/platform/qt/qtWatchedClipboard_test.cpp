// The clipboard as a reader of the program's own reports it: answers from the last
// change handed over, one notice per change taken on the GUI thread, none for a
// repeated offer, and the program's own copy read back at once and noticed once.
#include "platform/qt/qtWatchedClipboard.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <thread>

#include "platform/qt/qtClipboardReader.h"
#include "tests/support/scriptedWatcher.h"

namespace magna::platform::qt {
namespace {

using namespace std::chrono_literals;
using Format = ClipboardService::Format;

using test::ScriptedWatcher;

TClipboardChange Offer(const char16_t* text, std::string owner = "x11:42",
                       WatchedSelection which = WatchedSelection::Clipboard) {
  return test::TextOffer(text, std::move(owner), which);
}

class QtWatchedClipboardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    reader = std::make_shared<QtClipboardReader>(ScriptedWatcher::Starter(&watcher));
  }

  /// Hands the change over from another thread, as the reader does, and lets the
  /// GUI thread take it.
  void FromReaderThread(TClipboardChange change) {
    std::thread([&] { watcher->Hand(std::move(change)); }).join();
    QCoreApplication::processEvents();
  }

  std::optional<WideString> Read(ClipboardService& clipboard) {
    if (!clipboard.Open()) return std::nullopt;
    std::optional<WideString> text = clipboard.GetUnicodeText();
    clipboard.Close();
    return text;
  }

  std::shared_ptr<QtClipboardReader> reader;
  ScriptedWatcher* watcher = nullptr;
};

TEST_F(QtWatchedClipboardTest, ThePresentContentIsKnownAtOnceAndEachChangeNotifiesOnce) {
  watcher->Hand(Offer(u"at start"));
  QtWatchedClipboard clipboard(reader, WatchedSelection::Clipboard);
  int notices = 0;
  clipboard.SetChangeHandler([&] { ++notices; });
  EXPECT_EQ(Read(clipboard), WideString(u"at start"));
  QCoreApplication::processEvents();
  EXPECT_EQ(notices, 0) << "the present content is no change";

  FromReaderThread(Offer(u"コピー"));
  EXPECT_EQ(notices, 1);
  EXPECT_TRUE(clipboard.IsFormatAvailable(Format::AnsiText));
  EXPECT_FALSE(clipboard.IsMarkedSecret());
  EXPECT_EQ(Read(clipboard), WideString(u"コピー"));

  TClipboardChange secret = Offer(u"hunter2", "x11:43");
  secret.Secret = true;
  FromReaderThread(secret);
  EXPECT_EQ(notices, 2);
  EXPECT_TRUE(clipboard.IsMarkedSecret());
  EXPECT_EQ(Read(clipboard), WideString(u"hunter2")) << "the user's own paste still pastes";

  TClipboardChange nothing;  // an owner that never answered: nothing readable
  nothing.Owner = "x11:44";
  FromReaderThread(nothing);
  EXPECT_EQ(notices, 3);
  EXPECT_FALSE(clipboard.IsFormatAvailable(Format::UnicodeText));
  EXPECT_EQ(Read(clipboard), std::nullopt);
}

// Regression: a compositor that claims the selection anew when a window gets the
// focus sent a notice with the same text, which replaced what the user had typed.
TEST_F(QtWatchedClipboardTest, TheSameOwnerWithTheSameTextIsNoCopy) {
  QtWatchedClipboard clipboard(reader, WatchedSelection::Clipboard, 0ms);
  int notices = 0;
  clipboard.SetChangeHandler([&] { ++notices; });
  FromReaderThread(Offer(u"clip-A"));
  FromReaderThread(Offer(u"clip-A"));
  EXPECT_EQ(notices, 1);
  FromReaderThread(Offer(u"clip-A", "x11:99"));
  EXPECT_EQ(notices, 2) << "another owner copied the same text";
  FromReaderThread(Offer(u"clip-B", "x11:99"));
  EXPECT_EQ(notices, 3) << "the same owner copied another text";
}

TEST_F(QtWatchedClipboardTest, ABurstFromTheReaderEndsWithItsLastTextInFewNotices) {
  QtWatchedClipboard clipboard(reader, WatchedSelection::Clipboard, 0ms);
  int notices = 0;
  clipboard.SetChangeHandler([&] { ++notices; });
  std::thread burst([&] {
    for (int i = 1; i <= 1000; ++i)
      watcher->Hand(Offer((u"burst " + WideString(1, char16_t(u'0' + i % 10))).c_str(),
                          "x11:" + std::to_string(i)));
  });
  burst.join();
  QCoreApplication::processEvents();
  EXPECT_EQ(Read(clipboard), WideString(u"burst 0"));
  EXPECT_GE(notices, 1);
  EXPECT_LT(notices, 1000) << "waiting changes are replaced, not queued";
}

TEST_F(QtWatchedClipboardTest, TheProgramsOwnCopyIsReadBackAtOnceAndNoticedWhenReported) {
  QtWatchedClipboard clipboard(reader, WatchedSelection::Clipboard, 0ms);
  FromReaderThread(Offer(u"elsewhere"));
  int notices = 0;
  clipboard.SetChangeHandler([&] { ++notices; });
  ASSERT_TRUE(clipboard.Open());
  clipboard.Empty();
  clipboard.SetUnicodeText(u"own copy");
  clipboard.Close();
  EXPECT_EQ(notices, 0) << "the reader's report is the notice";
  EXPECT_EQ(Read(clipboard), WideString(u"own copy")) << "a paste right after the copy";
  EXPECT_TRUE(clipboard.IsOwnContent());
  TClipboardChange own = Offer(u"own copy", "x11:7");
  own.Own = true;
  FromReaderThread(own);
  FromReaderThread(own);
  EXPECT_EQ(notices, 2) << "each own copy has its notice, even of the same text";
  EXPECT_TRUE(clipboard.IsOwnContent());
}

TEST_F(QtWatchedClipboardTest, TheSelectionAtStartIsNoChange) {
  QtWatchedClipboard selection(reader, WatchedSelection::Primary, 0ms);
  int notices = 0;
  selection.SetChangeHandler([&] { ++notices; });
  FromReaderThread(Offer(u"selected before", "x11:5", WatchedSelection::Primary));
  EXPECT_EQ(notices, 0);
  FromReaderThread(Offer(u"selected now", "x11:6", WatchedSelection::Primary));
  EXPECT_EQ(notices, 1);
  EXPECT_EQ(Read(selection), WideString(u"selected now"));
}

TEST_F(QtWatchedClipboardTest, AStoppedReaderDeliversNothingMore) {
  QtWatchedClipboard clipboard(reader, WatchedSelection::Clipboard, 0ms);
  int notices = 0;
  clipboard.SetChangeHandler([&] { ++notices; });
  watcher->Hand(Offer(u"waiting"));
  reader->Stop();
  QCoreApplication::processEvents();
  EXPECT_EQ(notices, 1) << "what was handed over before the stop is still taken";
  EXPECT_FALSE(reader->Started());
}

}  // namespace
}  // namespace magna::platform::qt
