#include "app/clipboard/clipboardChain.h"

#include <unordered_set>

#include "platform/services.h"

namespace magna {

using platform::HWND;

namespace {

HWND g_head = nullptr;
// Only the link before a window knows it; the chain keeps the members too, so
// that leaving can tell a stranger from a member (handles are never reused).
std::unordered_set<HWND> g_members;

void NotifyHead() {
  if (g_head && platform::IsWindow(g_head)) platform::SendMessageW(g_head, WM_DRAWCLIPBOARD, 0, 0);
}

/// Set on every join: the service may have been installed anew since the last one.
void WatchClipboard() {
  platform::Clipboard().SetChangeHandler(NotifyHead);
}

}  // namespace

HWND SetClipboardViewer(HWND viewer) {
  WatchClipboard();
  HWND previous = g_head;
  g_head = viewer;
  g_members.insert(viewer);
  platform::SendMessageW(viewer, WM_DRAWCLIPBOARD, 0, 0);
  return previous;
}

bool ChangeClipboardChain(HWND remove, HWND next) {
  if (!g_members.erase(remove)) return false;
  if (g_head == remove) {
    g_head = next;
    return true;
  }
  platform::SendMessageW(g_head, WM_CHANGECBCHAIN, reinterpret_cast<platform::WPARAM>(remove),
                         reinterpret_cast<platform::LPARAM>(next));
  return true;
}

HWND ClipboardViewerHead() {
  return g_head;
}

}  // namespace magna
