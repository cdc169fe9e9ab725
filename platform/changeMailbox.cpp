#include "platform/changeMailbox.h"

namespace magna::platform {

bool TChangeMailbox::Put(TClipboardChange change) {
  std::optional<TClipboardChange>& slot = slots_[int(change.Selection)];
  bool wake;
  {
    std::lock_guard lock(mutex_);
    wake = !slot.has_value();
    slot = std::move(change);
  }
  arrived_.notify_all();
  return wake;
}

std::optional<TClipboardChange> TChangeMailbox::Take(WatchedSelection which) {
  std::optional<TClipboardChange> change;
  std::lock_guard lock(mutex_);
  change.swap(slots_[int(which)]);
  return change;
}

std::optional<TClipboardChange> TChangeMailbox::WaitTake(WatchedSelection which,
                                                         std::chrono::milliseconds timeout) {
  std::optional<TClipboardChange> change;
  std::unique_lock lock(mutex_);
  arrived_.wait_for(lock, timeout, [&] { return slots_[int(which)].has_value(); });
  change.swap(slots_[int(which)]);
  return change;
}

}  // namespace magna::platform
