#pragma once
// A reader of the clipboard and the PRIMARY selection that never makes the GUI
// thread wait for another program: it keeps a display connection of its own and
// works in a thread of its own, reads what each new owner offers (the formats,
// the password manager's hint, the text) with a timeout and a size limit, and
// hands every change over as one TClipboardChange. A change that comes while
// one is being read supersedes it: the older read is abandoned. The X11 reader
// (platform/x11) and the Wayland data-control reader (platform/wayland) are the
// two implementations; the Qt side (platform/qt/qtWatchedClipboard.h) receives
// the changes on the GUI thread.
// Typical use:
//   auto watcher = StartX11ClipboardWatcher(options, [&](TClipboardChange c) { ... });
//   // the callback runs on the watcher's thread; destroying the watcher joins it

#include <chrono>
#include <functional>
#include <optional>
#include <string>

#include "platform/myBase.h"

namespace magna::platform {

enum class WatchedSelection { Clipboard = 0, Primary = 1 };

/// One change of a selection as the reader saw it.
struct TClipboardChange {
  WatchedSelection Selection = WatchedSelection::Clipboard;
  bool Text = false;    // text was offered and read whole
  bool Secret = false;  // a password manager marked it secret
  /// Whether this process owns it; nullopt where the reader can't tell.
  std::optional<bool> Own;
  /// Who offers it, as far as the reader can see (an X11 window, a Wayland offer's
  /// list of types); equal owners of equal texts are taken for one offer.
  std::string Owner;
  WideString Value;  // the text when Text
};

/// Whether `next` offers what `last` offered: the same owner with the same text
/// (a compositor claiming the selection anew on a focus change, say). Such a
/// notice is no copy.
bool IsRepeatedOffer(const TClipboardChange& last, const TClipboardChange& next);

/// How long a reader waits and how much it takes.
struct TReadLimits {
  /// The longest wait for another program without any progress (an answer, a
  /// part of the data); then the read is dropped with a warning.
  std::chrono::milliseconds Timeout{2000};
  /// The most bytes of text taken; a larger text is dropped with a warning.
  size_t MaxBytes = size_t(256) << 20;
};

class ClipboardWatcher {
 public:
  /// Receives each change, on the watcher's thread.
  using Deliver = std::function<void(TClipboardChange)>;
  /// Stops the thread and waits for it.
  virtual ~ClipboardWatcher() = default;
  /// Whether changes of the PRIMARY selection are reported too.
  virtual bool WatchesPrimary() const = 0;
};

}  // namespace magna::platform
