#include "platform/myWindows.h"

#include <algorithm>
#include <map>
#include <vector>

#include "platform/noDestructor.h"
#include "platform/services.h"

namespace magna::platform {

namespace {

struct WindowRecord {
  std::unique_ptr<TWindowObject> owned;
  TWindowObject* object = nullptr;
  HWND parent = nullptr;
  LONG style = 0;
  LONG exStyle = 0;
  uintptr_t id = 0;
  TRect bounds;
  void* nativeView = nullptr;
};

struct LibraryRecord {
  std::function<void()> load;
  std::function<void()> unload;
  int references = 0;
  HMODULE module = 0;
};

struct WindowTable {
  std::map<uintptr_t, WindowRecord> windows;
  std::map<WideString, TWindowFactory> classes;
  std::map<AnsiString, LibraryRecord> libraries;
  uintptr_t nextHandle = 0x10000;
  HMODULE nextModule = 0x400000;
  HWND focus = nullptr;
  int sendDepth = 0;
  // Objects of destroyed windows wait here until no message is being handled.
  std::vector<std::unique_ptr<TWindowObject>> graveyard;
};

WindowTable& Table() {
  // Never destroyed: its window objects own widgets, which only Qt may destroy. The
  // entry point destroys what is left while Qt runs (DestroyAllWindows).
  static TNoDestructor<WindowTable> table;
  return *table;
}

uintptr_t Key(HWND hwnd) {
  return reinterpret_cast<uintptr_t>(hwnd);
}

WindowRecord* Find(HWND hwnd) {
  auto& windows = Table().windows;
  auto it = windows.find(Key(hwnd));
  return it == windows.end() ? nullptr : &it->second;
}

HWND NewHandle() {
  auto& table = Table();
  table.nextHandle += 4;
  return reinterpret_cast<HWND>(table.nextHandle);
}

HWND Insert(WindowRecord record) {
  HWND hwnd = NewHandle();
  Table().windows.emplace(Key(hwnd), std::move(record));
  return hwnd;
}

void CollectTree(HWND hwnd, std::vector<HWND>& out) {
  out.push_back(hwnd);
  std::vector<HWND> children;
  for (auto& [key, record] : Table().windows)
    if (record.parent == hwnd) children.push_back(reinterpret_cast<HWND>(key));
  for (HWND child : children) CollectTree(child, out);
}

void BuryGraveyard() {
  auto& table = Table();
  if (table.sendDepth > 0) return;
  auto buried = std::move(table.graveyard);
  table.graveyard.clear();
}

}  // namespace

TPoint TWindowObject::ClientOrigin(HWND hwnd) {
  TRect bounds = WindowBounds(hwnd);
  TPoint origin{bounds.Left, bounds.Top};
  HWND parent = GetParent(hwnd);
  if (TWindowObject* object = GetWindowObject(parent)) {
    TPoint parentOrigin = object->ClientOrigin(parent);
    origin.X += parentOrigin.X;
    origin.Y += parentOrigin.Y;
  }
  return origin;
}

bool RegisterClassW(const WideString& className, TWindowFactory factory) {
  return Table().classes.emplace(className, std::move(factory)).second;
}

bool UnregisterClassW(const WideString& className) {
  return Table().classes.erase(className) > 0;
}

HWND CreateWindowExW(DWORD exStyle, const WideString& className, const WideString& windowName,
                     LONG style, int x, int y, int width, int height, HWND parent, uintptr_t id,
                     void* /*instance*/, void* param) {
  auto& table = Table();
  auto cls = table.classes.find(className);
  if (cls == table.classes.end()) return nullptr;
  if (parent && !IsWindow(parent)) return nullptr;
  WindowRecord record;
  record.parent = parent;
  record.style = style;
  record.exStyle = LONG(exStyle);
  record.id = id;
  record.bounds = {x, y, x + width, y + height};
  HWND hwnd = Insert(std::move(record));
  std::unique_ptr<TWindowObject> object = cls->second(hwnd);
  WindowRecord* created = Find(hwnd);
  if (!object) {
    table.windows.erase(Key(hwnd));
    return nullptr;
  }
  created->object = object.get();
  created->owned = std::move(object);
  CREATESTRUCTW cs;
  cs.lpCreateParams = param;
  cs.hwndParent = parent;
  cs.id = id;
  cs.x = x;
  cs.y = y;
  cs.cx = width;
  cs.cy = height;
  cs.style = style;
  cs.lpszName = windowName.c_str();
  cs.lpszClass = className.c_str();
  cs.dwExStyle = exStyle;
  if (SendMessageW(hwnd, WM_CREATE, 0, &cs) == -1) {
    DestroyWindow(hwnd);
    return nullptr;
  }
  return hwnd;
}

HWND AttachWindow(TWindowObject* object, HWND parent, LONG style) {
  WindowRecord record;
  record.object = object;
  record.parent = parent;
  record.style = style;
  return Insert(std::move(record));
}

bool DestroyWindow(HWND hwnd) {
  if (!IsWindow(hwnd)) return false;
  std::vector<HWND> tree;
  CollectTree(hwnd, tree);
  for (HWND window : tree) SendMessageW(window, WM_DESTROY, 0, 0);
  auto& table = Table();
  for (auto it = tree.rbegin(); it != tree.rend(); ++it) {
    WindowRecord* record = Find(*it);
    if (!record) continue;
    if (table.focus == *it) table.focus = nullptr;
    if (record->owned) table.graveyard.push_back(std::move(record->owned));
    table.windows.erase(Key(*it));
  }
  BuryGraveyard();
  return true;
}

void DestroyAllWindows() {
  std::vector<HWND> roots;
  for (auto& [key, record] : Table().windows)
    if (!IsWindow(record.parent)) roots.push_back(reinterpret_cast<HWND>(key));
  for (HWND root : roots) DestroyWindow(root);
  BuryGraveyard();
}

bool IsWindow(HWND hwnd) {
  return hwnd && Find(hwnd) != nullptr;
}

TMessageFrame::TMessageFrame() {
  ++Table().sendDepth;
}

TMessageFrame::~TMessageFrame() {
  --Table().sendDepth;
  BuryGraveyard();
}

LRESULT SendMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  WindowRecord* record = hwnd ? Find(hwnd) : nullptr;
  if (!record || !record->object) return 0;
  TWindowObject* object = record->object;
  TMessageFrame frame;
  return object->WindowProc(hwnd, msg, wParam, lParam);
}

LRESULT SendMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return SendMessageW(hwnd, msg, wParam, lParam);
}

bool SetWindowTextW(HWND hwnd, const WideString& text) {
  if (!IsWindow(hwnd)) return false;
  return SendMessageW(hwnd, WM_SETTEXT, 0, text.c_str()) != 0;
}

HWND GetParent(HWND hwnd) {
  WindowRecord* record = Find(hwnd);
  return record ? record->parent : nullptr;
}

uintptr_t GetDlgCtrlID(HWND hwnd) {
  WindowRecord* record = Find(hwnd);
  return record ? record->id : 0;
}

TWindowObject* GetWindowObject(HWND hwnd) {
  WindowRecord* record = Find(hwnd);
  return record ? record->object : nullptr;
}

void* GetNativeView(HWND hwnd) {
  WindowRecord* record = Find(hwnd);
  return record ? record->nativeView : nullptr;
}

void SetNativeView(HWND hwnd, void* view) {
  if (WindowRecord* record = Find(hwnd)) record->nativeView = view;
}

LONG GetWindowLongW(HWND hwnd, int index) {
  WindowRecord* record = Find(hwnd);
  if (!record) return 0;
  if (index == GWL_STYLE) return record->style;
  if (index == GWL_EXSTYLE) return record->exStyle;
  return 0;
}

LONG SetWindowLongW(HWND hwnd, int index, LONG value) {
  WindowRecord* record = Find(hwnd);
  if (!record) return 0;
  LONG* slot = index == GWL_STYLE     ? &record->style
               : index == GWL_EXSTYLE ? &record->exStyle
                                      : nullptr;
  if (!slot) return 0;
  LONG old = *slot;
  *slot = value;
  SendMessageW(hwnd, WM_STYLECHANGED, WPARAM(index), LPARAM(old));
  return old;
}

bool SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int width, int height, UINT flags) {
  WindowRecord* record = Find(hwnd);
  if (!record) return false;
  TRect& b = record->bounds;
  if (!(flags & SWP_NOMOVE)) {
    int w = b.Right - b.Left, h = b.Bottom - b.Top;
    b = {x, y, x + w, y + h};
  }
  if (!(flags & SWP_NOSIZE)) {
    b.Right = b.Left + width;
    b.Bottom = b.Top + height;
  }
  WINDOWPOS pos{hwnd, insertAfter, b.Left, b.Top, b.Right - b.Left, b.Bottom - b.Top, flags};
  SendMessageW(hwnd, WM_WINDOWPOSCHANGED, 0, &pos);
  return true;
}

TRect WindowBounds(HWND hwnd) {
  WindowRecord* record = Find(hwnd);
  return record ? record->bounds : TRect{};
}

bool GetWindowRect(HWND hwnd, TRect* rect) {
  WindowRecord* record = Find(hwnd);
  if (!record || !rect) return false;
  TRect b = record->bounds;
  TPoint shift{0, 0};
  if (TWindowObject* parent = GetWindowObject(record->parent))
    shift = parent->ClientOrigin(record->parent);
  *rect = {b.Left + shift.X, b.Top + shift.Y, b.Right + shift.X, b.Bottom + shift.Y};
  return true;
}

bool ClientToScreen(HWND hwnd, TPoint* point) {
  WindowRecord* record = Find(hwnd);
  if (!record || !point || !record->object) return false;
  TPoint origin = record->object->ClientOrigin(hwnd);
  point->X += origin.X;
  point->Y += origin.Y;
  return true;
}

bool ScreenToClient(HWND hwnd, TPoint* point) {
  WindowRecord* record = Find(hwnd);
  if (!record || !point || !record->object) return false;
  TPoint origin = record->object->ClientOrigin(hwnd);
  point->X -= origin.X;
  point->Y -= origin.Y;
  return true;
}

HWND GetFocus() {
  return Table().focus;
}

namespace {
const TInputKeys* currentInputKeys = nullptr;
constexpr int kShift = 16, kCtrl = 17, kAlt = 18;
}  // namespace

TInputKeys::TInputKeys(bool shift, bool ctrl, bool alt)
    : outer_(currentInputKeys), shift_(shift), ctrl_(ctrl), alt_(alt) {
  currentInputKeys = this;
}

TInputKeys::~TInputKeys() {
  currentInputKeys = outer_;
}

uint16_t GetKeyState(int virtualKey) {
  const TInputKeys* keys = currentInputKeys;
  if (!keys || (virtualKey != kShift && virtualKey != kCtrl && virtualKey != kAlt))
    return KeyState().GetAsyncKeyState(virtualKey);
  bool down = virtualKey == kShift ? keys->shift_ : virtualKey == kCtrl ? keys->ctrl_ : keys->alt_;
  return down ? 0x8000 : 0;
}

HWND SetFocus(HWND hwnd) {
  auto& table = Table();
  HWND old = table.focus;
  if (hwnd && !IsWindow(hwnd)) return nullptr;
  if (old == hwnd) return old;
  table.focus = hwnd;
  if (old) SendMessageW(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
  if (hwnd && table.focus == hwnd)
    SendMessageW(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
  return old;
}

HFONT DefaultGuiFont() {
  static const TFont font;
  return &font;
}

void ProvideLibrary(const AnsiString& name, std::function<void()> load,
                    std::function<void()> unload) {
  auto& record = Table().libraries[name];
  if (record.references > 0) return;  // a loaded library keeps its routines
  record.load = std::move(load);
  record.unload = std::move(unload);
}

HMODULE LoadLibraryA(const char* name) {
  auto& table = Table();
  if (!name) return 2;
  auto it = table.libraries.find(name);
  if (it == table.libraries.end()) return 2;  // ERROR_FILE_NOT_FOUND, as the loader answers
  LibraryRecord& record = it->second;
  if (record.references++ == 0) {
    table.nextModule += 0x10000;
    record.module = table.nextModule;
    if (record.load) record.load();
  }
  return record.module;
}

bool FreeLibrary(HMODULE module) {
  for (auto& [name, record] : Table().libraries) {
    if (record.module != module || record.references == 0) continue;
    if (--record.references == 0) {
      if (record.unload) record.unload();
      record.module = 0;
    }
    return true;
  }
  return false;
}

}  // namespace magna::platform
