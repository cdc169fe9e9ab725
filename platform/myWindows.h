#pragma once
// A minimal window-object model: handles, message procedures, SendMessage,
// window classes registered by name, styles, positions, focus, and the message,
// notification and style constants of the rich-edit protocol with their platform
// numbers. Plain C++: a window object may own a widget of a GUI layer, which it
// announces as the window's native view.
//
// Typical use:
//   platform::LoadLibraryA("Riched20.dll");            // registers "RichEdit20W"
//   HWND h = platform::CreateWindowExW(0, u"RichEdit20W", u"", style, 0, 0, w, h,
//                                      host, 0x2000, nullptr, nullptr);
//   platform::SendMessageW(h, EM_SETSEL, 0, -1);

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/myBase.h"
#include "platform/myFont.h"

namespace magna::platform {

struct HWND__;
/// A window handle; nullptr is no window. Handles are never reused.
using HWND = HWND__*;
using UINT = uint32_t;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;
using DWORD = uint32_t;
using LONG = int32_t;
using COLORREF = uint32_t;
/// A font handle: the font object the receiver copies when it gets it.
using HFONT = const TFont*;
using HMODULE = uintptr_t;

/// Receives the messages of one window.
class TWindowObject {
 public:
  virtual ~TWindowObject() = default;
  virtual LRESULT WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) = 0;
  /// Screen position of the client area's origin; by default from the window's
  /// rectangle inside its parent's client area.
  virtual TPoint ClientOrigin(HWND hwnd);
};

/// Makes the window object of a new window of a registered class.
using TWindowFactory = std::function<std::unique_ptr<TWindowObject>(HWND)>;

/// CREATESTRUCTW: handed with WM_CREATE (lParam).
struct CREATESTRUCTW {
  void* lpCreateParams = nullptr;
  HWND hwndParent = nullptr;
  uintptr_t id = 0;
  int32_t cy = 0, cx = 0, y = 0, x = 0;
  LONG style = 0;
  const char16_t* lpszName = nullptr;
  const char16_t* lpszClass = nullptr;
  DWORD dwExStyle = 0;
};

/// WINDOWPOS: handed with WM_WINDOWPOSCHANGED (lParam).
struct WINDOWPOS {
  HWND hwnd = nullptr;
  HWND hwndInsertAfter = nullptr;
  int32_t x = 0, y = 0, cx = 0, cy = 0;
  UINT flags = 0;
};

struct NMHDR {
  HWND hwndFrom = nullptr;
  uintptr_t idFrom = 0;
  UINT code = 0;
};

struct CHARRANGE {
  LONG cpMin = 0;
  LONG cpMax = 0;
};

/// EN_SELCHANGE record.
struct SELCHANGE {
  NMHDR nmhdr;
  CHARRANGE chrg;
  uint16_t seltyp = 0;
};

/// EN_MSGFILTER record: the parent may overwrite wParam before the control acts.
struct MSGFILTER {
  NMHDR nmhdr;
  UINT msg = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
};

struct GETTEXTEX {
  DWORD cb = 0;       // buffer size in bytes
  DWORD flags = 0;    // GT_*
  UINT codepage = 0;  // 1200: UTF-16
  const char* lpDefaultChar = nullptr;
  int32_t* lpUsedDefChar = nullptr;
};

struct GETTEXTLENGTHEX {
  DWORD flags = 0;  // GTL_*
  UINT codepage = 0;
};

struct TEXTRANGEW {
  CHARRANGE chrg;
  char16_t* lpstrText = nullptr;  // room for cpMax - cpMin + 1 code units
};

/// The wide character-format record (92 bytes on the platform).
struct CHARFORMATW {
  UINT cbSize = 0;
  DWORD dwMask = 0;
  DWORD dwEffects = 0;
  LONG yHeight = 0;
  LONG yOffset = 0;
  COLORREF crTextColor = 0;
  uint8_t bCharSet = 0;
  uint8_t bPitchAndFamily = 0;
  char16_t szFaceName[32] = {};
};
static_assert(sizeof(CHARFORMATW) == 92);

struct POINTL {
  LONG x = 0;
  LONG y = 0;
};

// Window messages
constexpr UINT WM_CREATE = 0x0001;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_SIZE = 0x0005;
constexpr UINT WM_SETFOCUS = 0x0007;
constexpr UINT WM_KILLFOCUS = 0x0008;
constexpr UINT WM_SETTEXT = 0x000C;
constexpr UINT WM_GETTEXT = 0x000D;
constexpr UINT WM_GETTEXTLENGTH = 0x000E;
constexpr UINT WM_SETFONT = 0x0030;
constexpr UINT WM_WINDOWPOSCHANGED = 0x0047;
constexpr UINT WM_NOTIFY = 0x004E;
constexpr UINT WM_STYLECHANGED = 0x007D;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_CHAR = 0x0102;
constexpr UINT WM_SYSKEYDOWN = 0x0104;
constexpr UINT WM_SYSKEYUP = 0x0105;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
constexpr UINT WM_RBUTTONDOWN = 0x0204;
constexpr UINT WM_RBUTTONUP = 0x0205;
constexpr UINT WM_RBUTTONDBLCLK = 0x0206;
constexpr UINT WM_MBUTTONDOWN = 0x0207;
constexpr UINT WM_MBUTTONUP = 0x0208;
constexpr UINT WM_MBUTTONDBLCLK = 0x0209;
constexpr UINT WM_MOUSEWHEEL = 0x020A;
constexpr UINT WM_USER = 0x0400;

// Edit messages
constexpr UINT EM_GETSEL = 0x00B0;
constexpr UINT EM_SETSEL = 0x00B1;
constexpr UINT EM_GETMODIFY = 0x00B8;
constexpr UINT EM_SETMODIFY = 0x00B9;
constexpr UINT EM_GETLINECOUNT = 0x00BA;
constexpr UINT EM_LINEINDEX = 0x00BB;
constexpr UINT EM_GETTHUMB = 0x00BE;
constexpr UINT EM_LINELENGTH = 0x00C1;
constexpr UINT EM_REPLACESEL = 0x00C2;
constexpr UINT EM_GETLINE = 0x00C4;
constexpr UINT EM_CANUNDO = 0x00C6;
constexpr UINT EM_UNDO = 0x00C7;
constexpr UINT EM_LINEFROMCHAR = 0x00C9;
constexpr UINT EM_SETTABSTOPS = 0x00CB;
constexpr UINT EM_SETREADONLY = 0x00CF;
constexpr UINT EM_CHARFROMPOS = 0x00D7;
// Rich-edit messages
constexpr UINT EM_SCROLLCARET = 0x0431;
constexpr UINT EM_EXGETSEL = 0x0434;
constexpr UINT EM_EXLIMITTEXT = 0x0435;
constexpr UINT EM_EXLINEFROMCHAR = 0x0436;
constexpr UINT EM_EXSETSEL = 0x0437;
constexpr UINT EM_GETEVENTMASK = 0x043B;
constexpr UINT EM_GETSELTEXT = 0x043E;
constexpr UINT EM_SETBKGNDCOLOR = 0x0443;
constexpr UINT EM_SETCHARFORMAT = 0x0444;
constexpr UINT EM_SETEVENTMASK = 0x0445;
constexpr UINT EM_GETTEXTRANGE = 0x044B;
constexpr UINT EM_REDO = 0x0454;
constexpr UINT EM_CANREDO = 0x0455;
constexpr UINT EM_GETTEXTEX = 0x045E;
constexpr UINT EM_GETTEXTLENGTHEX = 0x045F;
constexpr UINT EM_SETLANGOPTIONS = 0x0478;
constexpr UINT EM_GETLANGOPTIONS = 0x0479;

// Notification codes (high word of WM_COMMAND's wParam, or NMHDR::code)
constexpr uint16_t EN_SETFOCUS = 0x0100;
constexpr uint16_t EN_KILLFOCUS = 0x0200;
constexpr uint16_t EN_CHANGE = 0x0300;
constexpr uint16_t EN_UPDATE = 0x0400;
constexpr uint16_t EN_HSCROLL = 0x0601;
constexpr uint16_t EN_VSCROLL = 0x0602;
constexpr UINT EN_MSGFILTER = 0x0700;
constexpr UINT EN_SELCHANGE = 0x0702;

// Event mask bits (EM_SETEVENTMASK)
constexpr DWORD ENM_CHANGE = 0x00000001;
constexpr DWORD ENM_UPDATE = 0x00000002;
constexpr DWORD ENM_SCROLL = 0x00000004;
constexpr DWORD ENM_SCROLLEVENTS = 0x00000008;
constexpr DWORD ENM_DRAGDROPDONE = 0x00000010;
constexpr DWORD ENM_KEYEVENTS = 0x00010000;
constexpr DWORD ENM_MOUSEEVENTS = 0x00020000;
constexpr DWORD ENM_REQUESTRESIZE = 0x00040000;
constexpr DWORD ENM_SELCHANGE = 0x00080000;
constexpr DWORD ENM_DROPFILES = 0x00100000;
constexpr DWORD ENM_PROTECTED = 0x00200000;
constexpr DWORD ENM_CORRECTTEXT = 0x00400000;
constexpr DWORD ENM_LINK = 0x04000000;

// Selection types of SELCHANGE
constexpr uint16_t SEL_EMPTY = 0x0000;
constexpr uint16_t SEL_TEXT = 0x0001;
constexpr uint16_t SEL_MULTICHAR = 0x0004;

// Language options
constexpr DWORD IMF_AUTOKEYBOARD = 0x0001;
constexpr DWORD IMF_AUTOFONT = 0x0002;
constexpr DWORD IMF_UIFONTS = 0x0020;
constexpr DWORD IMF_DUALFONT = 0x0080;

// GetText flags and code pages
constexpr DWORD GTL_DEFAULT = 0;
constexpr DWORD GTL_USECRLF = 1;
constexpr DWORD GTL_PRECISE = 2;
constexpr DWORD GTL_CLOSE = 4;
constexpr DWORD GTL_NUMCHARS = 8;
constexpr DWORD GTL_NUMBYTES = 16;
constexpr DWORD GT_DEFAULT = 0;
constexpr DWORD GT_USECRLF = 1;
constexpr DWORD GT_SELECTION = 2;
constexpr UINT CP_UTF16 = 1200;

// Character format
constexpr WPARAM SCF_SELECTION = 0x0001;
constexpr WPARAM SCF_ALL = 0x0004;
constexpr DWORD CFM_BOLD = 0x00000001;
constexpr DWORD CFM_ITALIC = 0x00000002;
constexpr DWORD CFM_UNDERLINE = 0x00000004;
constexpr DWORD CFM_STRIKEOUT = 0x00000008;
constexpr DWORD CFM_SIZE = 0x80000000;
constexpr DWORD CFM_COLOR = 0x40000000;
constexpr DWORD CFM_FACE = 0x20000000;
constexpr DWORD CFE_AUTOCOLOR = 0x40000000;

// Window styles
constexpr LONG ES_LEFT = 0x0000;
constexpr LONG ES_CENTER = 0x0001;
constexpr LONG ES_RIGHT = 0x0002;
constexpr LONG ES_MULTILINE = 0x0004;
constexpr LONG ES_AUTOVSCROLL = 0x0040;
constexpr LONG ES_AUTOHSCROLL = 0x0080;
constexpr LONG ES_NOHIDESEL = 0x0100;
constexpr LONG ES_READONLY = 0x0800;
constexpr LONG ES_WANTRETURN = 0x1000;
constexpr LONG ES_SAVESEL = 0x8000;
constexpr LONG WS_HSCROLL = 0x00100000;
constexpr LONG WS_VSCROLL = 0x00200000;
constexpr LONG WS_BORDER = 0x00800000;
constexpr LONG WS_VISIBLE = 0x10000000;
constexpr LONG WS_CHILD = 0x40000000;
constexpr int GWL_STYLE = -16;
constexpr int GWL_EXSTYLE = -20;

// SetWindowPos flags
constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;
constexpr UINT SWP_NOACTIVATE = 0x0010;

// Mouse key flags (wParam of mouse messages)
constexpr WPARAM MK_LBUTTON = 0x0001;
constexpr WPARAM MK_RBUTTON = 0x0002;
constexpr WPARAM MK_SHIFT = 0x0004;
constexpr WPARAM MK_CONTROL = 0x0008;
constexpr WPARAM MK_MBUTTON = 0x0010;

// Virtual-key codes the editor itself tests
constexpr int VK_RETURN = 13;

constexpr uint16_t LOWORD(uintptr_t v) {
  return uint16_t(v & 0xFFFF);
}
constexpr uint16_t HIWORD(uintptr_t v) {
  return uint16_t((v >> 16) & 0xFFFF);
}
constexpr uintptr_t MAKELONG(uint16_t low, uint16_t high) {
  return uintptr_t(low) | uintptr_t(high) << 16;
}
/// Signed low / high word, as mouse coordinates and wheel deltas are read.
constexpr int GET_X(uintptr_t v) {
  return int16_t(LOWORD(v));
}
constexpr int GET_Y(uintptr_t v) {
  return int16_t(HIWORD(v));
}

// Window classes and windows
/// Registers a class; false, and the first registration kept, when the name is taken.
bool RegisterClassW(const WideString& className, TWindowFactory factory);
/// Forgets a class (its windows live on); false when no class has the name.
bool UnregisterClassW(const WideString& className);
/// A new window of a registered class, owned by the window table, its procedure told
/// WM_CREATE with a CREATESTRUCTW of the arguments (`param` as lpCreateParams;
/// `instance` is ignored); nullptr when the class is unknown, the parent is not a
/// window, the factory makes no object or WM_CREATE answers -1.
HWND CreateWindowExW(DWORD exStyle, const WideString& className, const WideString& windowName,
                     LONG style, int x, int y, int width, int height, HWND parent, uintptr_t id,
                     void* instance, void* param);
/// Gives an existing object (for instance a host widget) a window handle; not owned,
/// and no WM_CREATE is sent. Never fails.
HWND AttachWindow(TWindowObject* object, HWND parent, LONG style = 0);
/// Destroys the window and its children (WM_DESTROY to each, parent first); false for
/// no window. An attached object lives on; an owned one is freed once no message is
/// being handled.
bool DestroyWindow(HWND hwnd);
/// Destroys every window left, as DestroyWindow does, and frees the objects of
/// destroyed windows that wait for the message being handled. The entry point
/// calls it while the GUI layer still runs: the table itself lives on to the end
/// of the process and destroys nothing at exit.
void DestroyAllWindows();
/// Whether the handle names a window that has not been destroyed.
bool IsWindow(HWND hwnd);
/// While one lives, window objects destroyed meanwhile stay in memory: code that
/// reports to a parent and goes on afterwards holds one (message sends hold one too).
class TMessageFrame {
 public:
  TMessageFrame();
  ~TMessageFrame();
  TMessageFrame(const TMessageFrame&) = delete;
  TMessageFrame& operator=(const TMessageFrame&) = delete;
};
/// Sends the message to the window's procedure; 0 for no window.
LRESULT SendMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
/// The byte-string send function; for this platform's windows the same as SendMessageW.
LRESULT SendMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
/// Sends the address of a record or buffer as lParam.
template <class T>
LRESULT SendMessageW(HWND hwnd, UINT msg, WPARAM wParam, T* lParam) {
  return SendMessageW(hwnd, msg, wParam, reinterpret_cast<LPARAM>(lParam));
}
template <class T>
LRESULT SendMessageA(HWND hwnd, UINT msg, WPARAM wParam, T* lParam) {
  return SendMessageA(hwnd, msg, wParam, reinterpret_cast<LPARAM>(lParam));
}
/// Sends WM_SETTEXT; false for no window or when the window answers 0.
bool SetWindowTextW(HWND hwnd, const WideString& text);
/// The parent given at creation; nullptr for a top-level window or no window.
HWND GetParent(HWND hwnd);
/// The id given at creation; 0 for no window.
uintptr_t GetDlgCtrlID(HWND hwnd);
/// The window's object; nullptr for no window.
TWindowObject* GetWindowObject(HWND hwnd);
/// The widget a GUI layer shows for the window (set by its object), nullptr if none.
void* GetNativeView(HWND hwnd);
/// Records the widget (not owned); ignored for no window.
void SetNativeView(HWND hwnd, void* view);

/// GWL_STYLE or GWL_EXSTYLE of the window; 0 for no window or another index.
LONG GetWindowLongW(HWND hwnd, int index);
/// Sets GWL_STYLE or GWL_EXSTYLE and sends WM_STYLECHANGED (wParam: the index, lParam:
/// the old value); returns the old value, 0 (nothing set) for no window or another index.
LONG SetWindowLongW(HWND hwnd, int index, LONG value);
/// Moves (unless SWP_NOMOVE) and sizes (unless SWP_NOSIZE) the window in its parent's
/// client coordinates, then sends WM_WINDOWPOSCHANGED; false for no window. The
/// z-order is not kept: `insertAfter` is only passed on in the record.
bool SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int width, int height, UINT flags);
/// Out: the window's rectangle in screen coordinates; false, `rect` untouched, for no
/// window or a null `rect`.
bool GetWindowRect(HWND hwnd, TRect* rect);
/// The window's rectangle in its parent's client coordinates; all zero for no window.
TRect WindowBounds(HWND hwnd);
/// In/out: the point moved from the window's client coordinates to the screen's (and
/// back); false, the point untouched, for no window, no object or a null point.
bool ClientToScreen(HWND hwnd, TPoint* point);
bool ScreenToClient(HWND hwnd, TPoint* point);

/// The window with the keyboard focus, nullptr if none of ours.
HWND GetFocus();
/// Moves the focus: WM_KILLFOCUS to the old window, WM_SETFOCUS to the new; returns the
/// old one. nullptr takes the focus away; a handle that is no window changes nothing and
/// returns nullptr.
HWND SetFocus(HWND hwnd);

/// A key's state as of the input message being handled (high bit set: down). While
/// a TInputKeys lives, Shift (16), Ctrl (17) and Alt (18) are the ones its event
/// carries; any other key, and every key outside such an event, is asked of the
/// asynchronous state. A key released before its event is handled still counts.
uint16_t GetKeyState(int virtualKey);

/// The modifier keys of the input event being handled, for GetKeyState.
class TInputKeys {
 public:
  TInputKeys(bool shift, bool ctrl, bool alt);
  ~TInputKeys();
  TInputKeys(const TInputKeys&) = delete;
  TInputKeys& operator=(const TInputKeys&) = delete;

 private:
  friend uint16_t GetKeyState(int virtualKey);
  const TInputKeys* outer_;
  bool shift_, ctrl_, alt_;
};

/// The stock GUI font (WM_SETFONT with it restores the default look).
HFONT DefaultGuiFont();

// Libraries
/// Announces a library that LoadLibraryA can load: `load` runs on the first load
/// (registering its window classes), `unload` when the last reference is freed. A
/// library that is loaded now keeps its routines: the call is then ignored.
void ProvideLibrary(const AnsiString& name, std::function<void()> load,
                    std::function<void()> unload);
/// A module handle above 32 for a provided library, counting one reference, else 2
/// (file not found, also for a null name).
HMODULE LoadLibraryA(const char* name);
/// Drops one reference; the last one unloads. False for a handle not loaded.
bool FreeLibrary(HMODULE module);

}  // namespace magna::platform
