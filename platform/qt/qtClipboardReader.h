#pragma once
// The GUI thread's side of a clipboard reader (platform/clipboardWatcher.h): the
// reader's thread puts each change into a mailbox and wakes the GUI thread with
// one queued call per waiting change; the receiver of its selection takes the
// latest change there. The clipboard and the selection services share one reader
// (one connection watches both); the last of them to go stops the reader's thread
// and waits for it, and only then the context of the queued calls goes, so no
// call reaches a receiver that is gone.
// Typical use:
//   auto reader = StartClipboardReader();   // nullptr: no reader of our own here
//   reader->SetReceiver(WatchedSelection::Clipboard, [&] { auto c = reader->Take(...); });

#include <QObject>
#include <chrono>
#include <functional>
#include <memory>

#include "platform/changeMailbox.h"

namespace magna::platform::qt {

class QtClipboardReader {
 public:
  using Starter =
      std::function<std::unique_ptr<ClipboardWatcher>(ClipboardWatcher::Deliver deliver)>;

  /// Needs the QGuiApplication; runs `start` with the hand-over to the GUI thread.
  explicit QtClipboardReader(const Starter& start);
  ~QtClipboardReader();
  QtClipboardReader(const QtClipboardReader&) = delete;
  QtClipboardReader& operator=(const QtClipboardReader&) = delete;

  /// Whether the reader runs (the starter gave one).
  bool Started() const { return watcher_ != nullptr; }
  bool WatchesPrimary() const { return watcher_ && watcher_->WatchesPrimary(); }
  /// Stops the reader's thread and waits for it; nothing is delivered afterwards.
  void Stop();

  /// Runs on the GUI thread whenever a change of the selection waits; replaces the
  /// previous receiver, an empty one stops the calls.
  void SetReceiver(WatchedSelection which, std::function<void()> receiver);
  std::optional<TClipboardChange> Take(WatchedSelection which) { return mailbox_.Take(which); }
  std::optional<TClipboardChange> WaitTake(WatchedSelection which,
                                           std::chrono::milliseconds timeout) {
    return mailbox_.WaitTake(which, timeout);
  }

 private:
  void Deliver(TClipboardChange change);  // on the reader's thread
  void Wake(WatchedSelection which);      // on the GUI thread

  TChangeMailbox mailbox_;
  std::unique_ptr<QObject> context_;  // the queued calls' receiver, on the GUI thread
  std::function<void()> receivers_[2];
  std::unique_ptr<ClipboardWatcher> watcher_;  // declared last: stopped first
};

/// The reader that fits this session, started: Wayland's data-control where the
/// compositor offers it (whatever Qt platform shows the windows), else X11 (pure
/// X11, or XWayland on a compositor without data-control). nullptr where neither
/// works or Qt runs another platform (offscreen, say).
std::shared_ptr<QtClipboardReader> StartClipboardReader();

}  // namespace magna::platform::qt
