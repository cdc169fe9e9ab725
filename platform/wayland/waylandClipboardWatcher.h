#pragma once
// The clipboard reader on Wayland: a wl_display connection of its own speaking the
// data-control protocol, which tells a client of every new selection and primary
// selection whether or not it has a focused window (ext_data_control_manager_v1
// where the compositor offers it, else zwlr_data_control_manager_v1: sway,
// Hyprland and other wlroots compositors, KDE Plasma). Each new offer lists its
// MIME types; the password manager's hint and the text are received through a
// pipe each, read as the owner writes them, with the limits' timeout. A new
// offer while one is read supersedes it.

#include <memory>

#include "platform/clipboardWatcher.h"

namespace magna::platform {

/// Connects to the compositor named by WAYLAND_DISPLAY and starts reading;
/// nullptr when there is none or it offers no data-control.
std::unique_ptr<ClipboardWatcher> StartWaylandClipboardWatcher(const TReadLimits& limits,
                                                               ClipboardWatcher::Deliver deliver);

}  // namespace magna::platform
