#pragma once
// The clipboard viewer chain inside this process, over the platform clipboard's
// change notice. Every viewer window is a link: the chain tells its first window of a change with
// WM_DRAWCLIPBOARD, and each window passes that on to the next viewer it was
// given when it joined; a leaving window is announced with WM_CHANGECBCHAIN.
// Joining sends the new viewer one WM_DRAWCLIPBOARD at once.
// Typical use (inside the viewer's window procedure):
//   next_ = SetClipboardViewer(hwnd);            // joins; WM_DRAWCLIPBOARD arrives now
//   ChangeClipboardChain(hwnd, next_);           // leaves

#include "platform/myWindows.h"

namespace magna {

constexpr platform::UINT WM_DRAWCLIPBOARD = 0x0308;
/// wParam: the window that leaves; lParam: the window after it.
constexpr platform::UINT WM_CHANGECBCHAIN = 0x030D;

/// Puts the window first in the chain, sends it WM_DRAWCLIPBOARD, and returns
/// the window that was first before (nullptr when the chain was empty).
platform::HWND SetClipboardViewer(platform::HWND viewer);

/// Takes the window out of the chain; `next` is the window it passed notices to.
/// A first window is replaced by `next` at once; for any other, WM_CHANGECBCHAIN
/// goes round from the first window until its link takes `next`. Returns false,
/// and tells no one, for a window that is not a member (never joined, or left).
bool ChangeClipboardChain(platform::HWND remove, platform::HWND next);

/// The window the chain tells first of a change; nullptr when the chain is empty.
platform::HWND ClipboardViewerHead();

}  // namespace magna
