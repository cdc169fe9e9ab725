#include "editor/myEditControl.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "editor/myEdit.h"
#include "editor/myRichEdit.h"
#include "platform/myLocale.h"
#include "text/myUtils.h"

namespace magna {

using namespace platform;

namespace {

constexpr LONG ChildVisible = WS_CHILD | WS_VISIBLE;
constexpr DWORD EventMask = ENM_CHANGE | ENM_UPDATE | ENM_SCROLL | ENM_SCROLLEVENTS |
                            ENM_DRAGDROPDONE | ENM_KEYEVENTS | ENM_MOUSEEVENTS | ENM_REQUESTRESIZE |
                            ENM_SELCHANGE | ENM_DROPFILES | ENM_PROTECTED | ENM_CORRECTTEXT |
                            ENM_LINK;
static_assert(EventMask == 0x047F001F);
constexpr uint64_t FourGiB = uint64_t(1) << 32;

/// The process-wide module handle of the rich-edit library, freed at exit.
struct RichEditModule {
  HMODULE handle = 0;
  ~RichEditModule() {
    if (handle) FreeLibrary(handle);
  }
};

RichEditModule& Module() {
  ProvideRichEditLibrary();  // the window table exists before (and outlives) this object
  static RichEditModule module;
  return module;
}

/// A zero-filled buffer of `units` code units.
std::vector<char16_t> Buffer(size_t units) {
  return std::vector<char16_t>(units, 0);
}

}  // namespace

WideString ConvertNewLine(const WideString& text, TMyNewLine newLine) {
  switch (newLine) {
    case nlCR: return text;
    case nlLF: {
      WideString out = text;
      for (char16_t& c : out)
        if (c == u'\r') c = u'\n';
      return out;
    }
    default: return WideReplaceAll(text, u"\r", u"\r\n", true);
  }
}

TMyCustomEditControl::TMyCustomEditControl(TMyCustomEdit* owner) : Owner(owner) {}

TMyCustomEditControl::~TMyCustomEditControl() {
  if (Font) Font->OnChange = nullptr;
  if (Handle) DestroyWindow(Handle);
}

LRESULT TMyCustomEditControl::Send(UINT msg, WPARAM wParam, LPARAM lParam) const {
  return SendMessageW(Handle, msg, wParam, lParam);
}

LONG TMyCustomEditControl::CurrentStyle() const {
  return GetWindowLongW(Handle, GWL_STYLE);
}

void TMyCustomEditControl::EnsureRichEditLoaded() {
  RichEditModule& module = Module();
  if (module.handle) return;
  HMODULE handle = LoadLibraryA(RichEditLibraryName);
  if (handle > 32) module.handle = handle;
}

void TMyCustomEditControl::InitFields() {
  // Window state starts afresh with each window; RestoreState brings it back.
  // Alignment, HideSelection, the Find flags and CharCode describe the control
  // rather than the window and are kept (the window style carries the first two).
  Color = clWindow;
  Tab = 0;
  ReadOnly = false;
  Left = 0;
  Top = 0;
  QSize client = Owner ? Owner->ClientSize() : QSize();
  Width = client.width();
  Height = client.height();
}

void TMyCustomEditControl::CreateEditWindow(LONG style) {
  CreateWindowWithStyle(style);
}

void TMyCustomEditControl::CreateWindowWithStyle(LONG style) {
  EnsureRichEditLoaded();
  InitFields();
  HWND host = Owner ? Owner->HostHandle() : nullptr;
  Handle = CreateWindowExW(0, RichEditClassName, u"", style | ChildVisible, Left, Top, Width,
                           Height, host, ControlId, nullptr, nullptr);
  Send(EM_EXLIMITTEXT, 0, -1);
  Send(EM_SETEVENTMASK, 0, LPARAM(EventMask));
  Font = Owner ? Owner->Font() : nullptr;
  SetFont(Font);
  OnLoadProgress = nullptr;
}

void TMyCustomEditControl::RecreateWindow(LONG style) {
  SaveState();
  DestroyWindow(Handle);
  Handle = nullptr;
  CreateEditWindow(style);
  RestoreState();
}

void TMyCustomEditControl::SaveState() {
  SavedState = {};
  SavedState.Text = GetText();
  SavedState.SelStart = GetSelStart();
  SavedState.SelLength = GetSelLength();
  SavedState.Bounds = GetBoundsRect();
  SavedState.Color = Color;
  SavedState.AutoFont = GetAutoFont();
  SavedState.ReadOnly = ReadOnly;
  SavedState.Tab = Tab;
  SavedState.OnLoadProgress = OnLoadProgress;
}

void TMyCustomEditControl::RestoreState() {
  SetBoundsRect(SavedState.Bounds);
  Tab = SavedState.Tab;
  SetTab(Tab);
  SetAutoFont(SavedState.AutoFont);
  SetText(SavedState.Text);
  SetColor(SavedState.Color);
  SetReadOnly(SavedState.ReadOnly);
  OnLoadProgress = SavedState.OnLoadProgress;
  // The focus comes before the selection: gaining it places the caret under the
  // mouse pointer, which would otherwise replace the saved selection.
  SetFocus();
  SetSelStart(SavedState.SelStart);
  if (SavedState.SelLength > 0) SetSelLength(SavedState.SelLength);
  ScrollCaret();
}

void TMyCustomEditControl::SetAutoFont(bool value) {
  DWORD options = DWORD(Send(EM_GETLANGOPTIONS));
  options = value ? (options | IMF_AUTOFONT) : (options & ~IMF_AUTOFONT);
  Send(EM_SETLANGOPTIONS, 0, LPARAM(options));
}

bool TMyCustomEditControl::GetAutoFont() const {
  return (Send(EM_GETLANGOPTIONS) & IMF_AUTOFONT) != 0;
}

void TMyCustomEditControl::ChangeAutoFont(bool value) {
  SetAutoFont(value);
  SaveState();
  RestoreState();
}

void TMyCustomEditControl::SetBounds(int32_t x, int32_t y, int32_t width, int32_t height) {
  Left = x;
  Top = y;
  Width = width;
  Height = height;
  SetWindowPos(Handle, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TMyCustomEditControl::SetBoundsRect(const TRect& rect) {
  SetBounds(rect.Left, rect.Top, rect.Right - rect.Left, rect.Bottom - rect.Top);
}

TRect TMyCustomEditControl::GetBoundsRect() const {
  TRect rect;
  GetWindowRect(Handle, &rect);
  TPoint origin{0, 0};
  if (Owner) ClientToScreen(Owner->HostHandle(), &origin);
  return {rect.Left - origin.X, rect.Top - origin.Y, rect.Right - origin.X, rect.Bottom - origin.Y};
}

void TMyCustomEditControl::ScrollCaret() {
  Send(EM_SCROLLCARET);
}

void TMyCustomEditControl::SetColor(TColor value) {
  if (value == Color) return;
  Color = value;
  Send(EM_SETBKGNDCOLOR, 0, LPARAM(ColorToRGB(value)));
}

void TMyCustomEditControl::SetReadOnly(bool value) {
  ReadOnly = value;
  Send(EM_SETREADONLY, value ? 1 : 0);
}

void TMyCustomEditControl::SetTab(int32_t value) {
  Tab = value;
  int32_t stops = value * 4;  // dialog units: four per average character
  SendMessageW(Handle, EM_SETTABSTOPS, 1, &stops);
}

bool TMyCustomEditControl::Focused() const {
  return Handle && GetFocus() == Handle;
}

void TMyCustomEditControl::SetFocus() {
  platform::SetFocus(Handle);
}

WideString TMyCustomEditControl::GetText() const {
  return GetText(NewLine == nlCRLF);
}

WideString TMyCustomEditControl::GetText(bool crlf) const {
  GETTEXTLENGTHEX lengthInfo{
      crlf ? (GTL_USECRLF | GTL_CLOSE | GTL_NUMCHARS) : (GTL_CLOSE | GTL_NUMCHARS), CP_UTF16};
  LRESULT length =
      SendMessageA(Handle, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&lengthInfo), 0);
  if (length < 0) length = 0;
  // (length + 1) * 4 bytes, not zero-filled: the control ends what it writes with a
  // zero, and filling tens of megabytes first would cost more than the copy.
  size_t units = size_t(length + 1) * 2;
  std::unique_ptr<char16_t[]> buffer(new char16_t[units]);
  buffer[0] = 0;
  GETTEXTEX info;
  info.cb = DWORD(units * sizeof(char16_t));
  info.flags = crlf ? GT_USECRLF : GT_DEFAULT;
  info.codepage = CP_UTF16;
  LRESULT copied =
      SendMessageW(Handle, EM_GETTEXTEX, reinterpret_cast<WPARAM>(&info), buffer.get());
  WideString text(buffer.get(), size_t(std::clamp<LRESULT>(copied, 0, LRESULT(units) - 1)));
  text.resize(std::min(text.size(), text.find(u'\0')));
  return text;
}

void TMyCustomEditControl::SetText(const WideString& text) {
  SetWindowTextW(Handle, text);
}

int32_t TMyCustomEditControl::GetSelStart() const {
  DWORD start = 0;
  Send(EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
  return int32_t(start);
}

void TMyCustomEditControl::SetSelStart(int32_t pos) {
  Send(EM_SETSEL, WPARAM(intptr_t(pos)), pos);
}

int32_t TMyCustomEditControl::GetSelLength() const {
  DWORD start = 0, end = 0;
  Send(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return int32_t(end) - int32_t(start);
}

void TMyCustomEditControl::SetSelLength(int32_t length) {
  if (length < 0) return;
  int32_t start = GetSelStart();
  Send(EM_SETSEL, WPARAM(intptr_t(start)), start + length);
}

bool TMyCustomEditControl::HasSelection() const {
  return GetSelLength() > 0;
}

bool TMyCustomEditControl::GetModified() const {
  return Send(EM_GETMODIFY) != 0;
}

void TMyCustomEditControl::SetModified(bool value) {
  Send(EM_SETMODIFY, value ? 1 : 0);
}

int32_t TMyCustomEditControl::CharFromPos(TPoint point) const {
  POINTL p{point.X, point.Y};
  return int32_t(SendMessageW(Handle, EM_CHARFROMPOS, 0, &p));
}

void TMyCustomEditControl::Clear() {
  SetText(u"");
  SetFocus();
}

bool TMyCustomEditControl::CanUndo() const {
  return Send(EM_CANUNDO) != 0;
}

void TMyCustomEditControl::Undo() {
  Send(EM_UNDO);
  SetFocus();
}

bool TMyCustomEditControl::CanRedo() const {
  return Send(EM_CANREDO) != 0;
}

void TMyCustomEditControl::Redo() {
  Send(EM_REDO);
  SetFocus();
}

void TMyCustomEditControl::CopyToClipboard() {
  SetClipboardText(GetSelText());
  SetFocus();
}

void TMyCustomEditControl::CutToClipboard() {
  // A selection that did not reach the clipboard (busy, or nothing selected) stays:
  // deleting it would lose the text.
  if (SetClipboardText(GetSelText()))
    ClearSelection();
  else
    SetFocus();
}

void TMyCustomEditControl::PasteFromClipboard() {
  // Empty means a busy clipboard or no text on it: there is nothing to put in the
  // selection's place, so the selection stays.
  WideString text = GetClipboardText();
  if (!text.empty()) SendMessageW(Handle, EM_REPLACESEL, 1, text.c_str());
  SetFocus();
}

void TMyCustomEditControl::ClearSelection() {
  SendMessageW(Handle, EM_REPLACESEL, 1, u"");
  SetFocus();
}

void TMyCustomEditControl::SelectAll() {
  Send(EM_SETSEL, 0, -1);
  SetFocus();
}

void TMyCustomEditControl::SetSelText(const WideString& text) {
  SendMessageW(Handle, EM_REPLACESEL, 1, text.c_str());
  SetFocus();
}

WideString TMyCustomEditControl::GetSelText() const {
  CHARRANGE range;
  SendMessageW(Handle, EM_EXGETSEL, 0, &range);
  std::vector<char16_t> buffer = Buffer(size_t(std::max(0, range.cpMax - range.cpMin)) + 1);
  SendMessageW(Handle, EM_GETSELTEXT, 0, buffer.data());
  return ConvertNewLine(WideString(buffer.data()), NewLine);
}

WideString TMyCustomEditControl::GetTextRange(int32_t start, int32_t count) const {
  if (count <= 0 || start < 0) return {};
  std::vector<char16_t> buffer = Buffer(size_t(count) + 1);
  TEXTRANGEW range;
  range.chrg = {start, start + count};
  range.lpstrText = buffer.data();
  LRESULT copied = SendMessageW(Handle, EM_GETTEXTRANGE, 0, &range);
  return WideString(buffer.data(), size_t(std::max<LRESULT>(0, copied)));
}

WideString TMyCustomEditControl::GetTextAtCaret(int32_t count) const {
  return GetTextRange(GetSelStart(), count);
}

bool TMyCustomEditControl::IsEmpty() const {
  return GetText().empty();
}

void TMyCustomEditControl::LoadFromFile(const WideString& fileName, TMyCharCode& charCode,
                                        uint64_t) {
  WideString text = ReadTextFile(fileName, charCode);
  SetText(text);
  CharCode = charCode;
}

void TMyCustomEditControl::LoadFromFile(const WideString& fileName, TMyCharCode& charCode) {
  uint64_t size = FileSizeOf(fileName);
  if (size >= FourGiB) throw ERangeError("file too large to load");
  LoadFromFile(fileName, charCode, size);
}

void TMyCustomEditControl::LoadFromFile(const WideString& fileName) {
  LoadFromFile(fileName, CharCode);
}

bool TMyCustomEditControl::SaveToFile(const WideString& fileName, TMyCharCode charCode) {
  bool written = WriteTextFile(fileName, GetText(), charCode);
  if (written) {
    CharCode = charCode;
    SetModified(false);
  }
  return written;
}

bool TMyCustomEditControl::SaveToFile(const WideString& fileName) {
  return SaveToFile(fileName, cdAuto);
}

void TMyCustomEditControl::SetAlignment(TAlignment value) {
  if (value == Alignment) return;
  Alignment = value;
  LONG style = CurrentStyle();
  switch (value) {
    case taRightJustify: style = (style & ~ES_CENTER) | ES_RIGHT; break;
    case taCenter: style = (style & ~ES_RIGHT) | ES_CENTER; break;
    default: style &= ~(ES_CENTER | ES_RIGHT); break;
  }
  RecreateWindow(style);
}

void TMyCustomEditControl::SetBorder(bool value) {
  LONG style = CurrentStyle();
  RecreateWindow(value ? (style | WS_BORDER) : (style & ~WS_BORDER));
}

void TMyCustomEditControl::SetHideSelection(bool value) {
  if (value == HideSelection) return;
  HideSelection = value;
  LONG style = CurrentStyle();
  RecreateWindow(value ? (style & ~ES_NOHIDESEL) : (style | ES_NOHIDESEL));
}

void TMyCustomEditControl::SetFont(const TFont* font) {
  if (!Handle) return;
  bool modified = GetModified();
  if (font && Font) Font->Assign(*font);
  if (Font) {
    if (!Font->OnChange) Font->OnChange = [this](TFont*) { FontChanged(); };
    FontChanged();
  } else {
    SendMessageW(Handle, WM_SETFONT, reinterpret_cast<WPARAM>(DefaultGuiFont()), 0);
  }
  if (!modified) SetModified(false);
}

void TMyCustomEditControl::FontChanged() {
  if (!Font) return;
  bool modified = GetModified();
  Send(WM_SETFONT, reinterpret_cast<WPARAM>(Font), 0);
  CHARFORMATW format;
  format.cbSize = sizeof(CHARFORMATW);
  format.dwMask = CFM_COLOR;
  format.crTextColor = ColorToRGB(Font->Color());
  SendMessageW(Handle, EM_SETCHARFORMAT, SCF_ALL, &format);
  if (!modified) SetModified(false);
}

}  // namespace magna
