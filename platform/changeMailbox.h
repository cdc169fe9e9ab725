#pragma once
// The hand-over between a clipboard reader's thread and the GUI thread: one slot
// per selection holding the latest change not yet taken. A change put while an
// older one waits replaces it, so a burst of changes costs the receiver one
// wake-up and one notice, for the last of them.
// Typical use:
//   reader thread:  if (mailbox.Put(std::move(change))) PostWakeUp(which);
//   GUI thread:     if (auto change = mailbox.Take(which)) Show(*change);

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>

#include "platform/clipboardWatcher.h"

namespace magna::platform {

class TChangeMailbox {
 public:
  /// Keeps the change in its selection's slot; true when the slot was empty, that
  /// is when the receiver has to be woken (a waiting change already woke it).
  bool Put(TClipboardChange change);
  /// The latest change of the selection, emptying its slot; nullopt when none waits.
  std::optional<TClipboardChange> Take(WatchedSelection which);
  /// As Take, but waits up to `timeout` for a change to arrive.
  std::optional<TClipboardChange> WaitTake(WatchedSelection which,
                                           std::chrono::milliseconds timeout);

 private:
  std::mutex mutex_;
  std::condition_variable arrived_;
  std::optional<TClipboardChange> slots_[2];
};

}  // namespace magna::platform
