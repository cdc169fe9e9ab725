// The hand-over between a reader's thread and the GUI thread: the latest change
// per selection, one wake-up per waiting change, and the repeat of an offer.
#include "platform/changeMailbox.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace magna::platform {
namespace {

using namespace std::chrono_literals;

TClipboardChange Change(WatchedSelection which, const char16_t* text, std::string owner = "w1") {
  TClipboardChange change;
  change.Selection = which;
  change.Text = true;
  change.Value = text;
  change.Owner = std::move(owner);
  return change;
}

TEST(ChangeMailbox, ALaterChangeReplacesAWaitingOneWithoutASecondWakeUp) {
  TChangeMailbox mailbox;
  EXPECT_TRUE(mailbox.Put(Change(WatchedSelection::Clipboard, u"first")));
  EXPECT_FALSE(mailbox.Put(Change(WatchedSelection::Clipboard, u"second")));
  EXPECT_TRUE(mailbox.Put(Change(WatchedSelection::Primary, u"selected")))
      << "each selection wakes its own receiver";
  EXPECT_EQ(mailbox.Take(WatchedSelection::Clipboard)->Value, u"second");
  EXPECT_FALSE(mailbox.Take(WatchedSelection::Clipboard));
  EXPECT_EQ(mailbox.Take(WatchedSelection::Primary)->Value, u"selected");
  EXPECT_TRUE(mailbox.Put(Change(WatchedSelection::Clipboard, u"third"))) << "taken: wakes again";
}

// A burst from another thread: whatever the interleaving, every wake-up finds a
// change or was followed by one that did, and the last change taken is the last put.
TEST(ChangeMailbox, ABurstFromAnotherThreadEndsWithItsLastChange) {
  TChangeMailbox mailbox;
  std::atomic<int> wakeUps = 0;
  std::thread reader([&] {
    for (int i = 1; i <= 1000; ++i) {
      TClipboardChange change = Change(WatchedSelection::Clipboard, u"burst ");
      change.Value += char16_t(u'0' + i % 10);
      if (mailbox.Put(std::move(change))) ++wakeUps;
    }
    mailbox.Put(Change(WatchedSelection::Clipboard, u"last"));
  });
  WideString seen;
  int takes = 0;
  while (seen != u"last") {
    if (auto change = mailbox.Take(WatchedSelection::Clipboard)) {
      seen = change->Value;
      ++takes;
    }
  }
  reader.join();
  EXPECT_FALSE(mailbox.Take(WatchedSelection::Clipboard));
  EXPECT_LE(wakeUps.load(), takes + 1);
}

TEST(ChangeMailbox, WaitTakeWaitsForTheReaderOrGivesUp) {
  TChangeMailbox mailbox;
  EXPECT_FALSE(mailbox.WaitTake(WatchedSelection::Clipboard, 20ms));
  std::thread reader([&] {
    std::this_thread::sleep_for(20ms);
    mailbox.Put(Change(WatchedSelection::Clipboard, u"arrived"));
  });
  auto change = mailbox.WaitTake(WatchedSelection::Clipboard, 10s);
  reader.join();
  ASSERT_TRUE(change);
  EXPECT_EQ(change->Value, u"arrived");
}

TEST(ChangeMailbox, ARepeatedOfferIsTheSameOwnerWithTheSameText) {
  const TClipboardChange last = Change(WatchedSelection::Clipboard, u"clip-A");
  struct Case {
    const char* name;
    TClipboardChange next;
    bool repeated;
  } cases[] = {
      {"claimed anew", Change(WatchedSelection::Clipboard, u"clip-A"), true},
      {"another text", Change(WatchedSelection::Clipboard, u"clip-B"), false},
      {"another owner", Change(WatchedSelection::Clipboard, u"clip-A", "w2"), false},
      {"the other selection", Change(WatchedSelection::Primary, u"clip-A"), false},
      {"owner unknown", Change(WatchedSelection::Clipboard, u"clip-A", ""), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(IsRepeatedOffer(last, c.next), c.repeated);
  }
  TClipboardChange secret = last;
  secret.Secret = true;
  EXPECT_FALSE(IsRepeatedOffer(last, secret));
}

}  // namespace
}  // namespace magna::platform
