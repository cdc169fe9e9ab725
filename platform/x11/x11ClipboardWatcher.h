#pragma once
// The clipboard reader on X11 (and on XWayland where the compositor offers no
// data-control): an xcb connection of its own, told of every new owner of
// CLIPBOARD and PRIMARY by XFixes, asks each owner for its TARGETS, the password
// manager's hint when offered, and the text (UTF8_STRING first), each answer
// awaited with the limits' timeout and INCR transfers taken part by part. Each
// read uses a requestor window of its own, destroyed after it: an owner that
// answers late writes to a window that is gone, never into a later read.

#include <cstdint>
#include <memory>
#include <string>

#include "platform/clipboardWatcher.h"

namespace magna::platform {

struct TX11WatchOptions {
  /// The display as DISPLAY names it; empty for DISPLAY itself.
  std::string Display;
  /// The resource ids of this process's own X11 connection (the GUI's): a selection
  /// owned by a window in that range is the program's own. Mask 0: unknown.
  uint32_t OwnResourceBase = 0;
  uint32_t OwnResourceMask = 0;
  TReadLimits Limits;
};

/// Connects and starts reading: the present owners at once, then every change.
/// nullptr when the display can't be opened or has no XFixes.
std::unique_ptr<ClipboardWatcher> StartX11ClipboardWatcher(const TX11WatchOptions& options,
                                                           ClipboardWatcher::Deliver deliver);

}  // namespace magna::platform
