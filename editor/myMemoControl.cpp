#include "editor/myMemoControl.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "editor/myEdit.h"

namespace magna {

using namespace platform;

namespace {

constexpr LONG InitialStyle = WS_HSCROLL | WS_VSCROLL | ES_AUTOHSCROLL | ES_AUTOVSCROLL;
static_assert(InitialStyle == 0x003000C0);
constexpr LONG MultiLineStyle = ES_MULTILINE | ES_WANTRETURN | ES_SAVESEL;
static_assert(MultiLineStyle == 0x9004);

LONG WithBits(LONG style, LONG bits, bool on) {
  return on ? (style | bits) : (style & ~bits);
}

LONG ScrollBarStyle(LONG style, TScrollStyle bars) {
  style = WithBits(style, WS_HSCROLL, bars == ssHorizontal || bars == ssBoth);
  return WithBits(style, WS_VSCROLL, bars == ssVertical || bars == ssBoth);
}

bool HasHorizontal(TScrollStyle bars) {
  return bars == ssBoth || bars == ssHorizontal;
}
bool HasVertical(TScrollStyle bars) {
  return bars == ssBoth || bars == ssVertical;
}

/// The text up to its first U+0000 with every "\r\n", "\n" and "\r" made one "\r";
/// `newLine` tells which breaks the text had.
WideString UnifyLineBreaks(const WideString& text, TMyNewLine& newLine) {
  size_t end = std::min(text.size(), text.find(u'\0'));
  bool sawCr = false, sawLf = false;
  WideString out;
  out.reserve(end);
  for (size_t i = 0; i < end; ++i) {
    char16_t c = text[i];
    if (c == u'\r') sawCr = true;
    if (c == u'\n') {
      sawLf = true;
      if (i > 0 && text[i - 1] == u'\r') continue;
      c = u'\r';
    }
    out.push_back(c);
  }
  newLine = sawCr && !sawLf ? nlCR : sawLf && !sawCr ? nlLF : nlCRLF;
  return out;
}

}  // namespace

TMyMemoControl::TMyMemoControl(TMyMemo* memo) : TMyCustomEditControl(memo), Memo(memo) {
  ScrollBars = ssBoth;
  WordWrap = false;
  WideLine = false;
  SetTab(0);
  CreateEditWindow(InitialStyle);
}

void TMyMemoControl::CreateEditWindow(LONG style) {
  style = ScrollBarStyle(style, ScrollBars);
  if (WordWrap) style &= ~WS_HSCROLL;
  TMyCustomEditControl::CreateEditWindow(style | MultiLineStyle);
}

void TMyMemoControl::RestoreState() {
  ApplyWideLine();
  TMyCustomEditControl::RestoreState();
}

void TMyMemoControl::LoadFromFile(const WideString& fileName, TMyCharCode& charCode,
                                  uint64_t size) {
  WideString text = UnifyLineBreaks(ReadTextFileBytes(fileName, charCode, size), NewLine);
  SetText(text);
}

bool TMyMemoControl::SaveToFile(const WideString& fileName, TMyCharCode charCode) {
  return SaveToFileNewLine(fileName, charCode, NewLine);
}

bool TMyMemoControl::SaveToFileNewLine(const WideString& fileName, TMyCharCode charCode,
                                       TMyNewLine newLine) {
  TMyNewLine kept = NewLine;
  NewLine = nlCR;  // the text as the window holds it
  WideString text = GetText();
  NewLine = kept;
  return WriteTextFile(fileName, ConvertNewLine(text, newLine), charCode);
}

bool TMyMemoControl::IsEmpty() const {
  if (GetLineCount() >= 2) return false;
  GETTEXTLENGTHEX info{GTL_NUMCHARS, CP_UTF16};
  return SendMessageA(Handle, EM_GETTEXTLENGTHEX, reinterpret_cast<WPARAM>(&info), 0) == 0;
}

void TMyMemoControl::SetScrollBars(TScrollStyle value) {
  if (value == ScrollBars) return;
  ScrollBars = value;
  RecreateWindow(ScrollBarStyle(CurrentStyle(), value));
}

void TMyMemoControl::SetWordWrap(bool value) {
  WordWrap = value;
  LONG style = WithBits(CurrentStyle(), ES_AUTOHSCROLL, !value);
  if (HasHorizontal(ScrollBars)) style = WithBits(style, WS_HSCROLL, !value);
  if (HasVertical(ScrollBars)) style |= WS_VSCROLL | ES_AUTOVSCROLL;
  RecreateWindow(style);
}

void TMyMemoControl::SetWideLine(bool value) {
  if (value == WideLine) return;
  WideLine = value;
  SaveState();
  RestoreState();
}

void TMyMemoControl::ApplyWideLine() {
  DWORD options = DWORD(Send(EM_GETLANGOPTIONS));
  options = WideLine ? (options & ~IMF_UIFONTS) : (options | IMF_UIFONTS);
  Send(EM_SETLANGOPTIONS, 0, LPARAM(options));
}

int32_t TMyMemoControl::GetLineCount() const {
  return int32_t(Send(EM_GETLINECOUNT));
}

int32_t TMyMemoControl::GetCaretLine() const {
  return int32_t(Send(EM_LINEFROMCHAR, WPARAM(-1)));
}

int32_t TMyMemoControl::GetCaretColumn() const {
  return GetSelStart() - int32_t(Send(EM_LINEINDEX, WPARAM(-1)));
}

WideString TMyMemoControl::GetLine(int32_t index) const {
  int32_t count = GetLineCount();
  index = std::clamp(index, -1, count - 1);
  int32_t start = int32_t(Send(EM_LINEINDEX, WPARAM(intptr_t(index))));
  int32_t length = int32_t(Send(EM_LINELENGTH, WPARAM(intptr_t(start))));
  if (index == -1) index = int32_t(Send(EM_LINEFROMCHAR, WPARAM(intptr_t(start))));
  // The line request's size word has 16 bits; longer lines are read as a range.
  if (length > 0xFFFF) return GetTextRange(start, length);
  std::vector<char16_t> buffer(size_t(std::max(length, 0)) + 1, 0);
  buffer[0] = char16_t(length);
  SendMessageW(Handle, EM_GETLINE, WPARAM(index), buffer.data());
  if (length == 0) buffer[0] = 0;
  return WideString(buffer.data());
}

WideString TMyMemoControl::GetLineText(int32_t line, int32_t column, int32_t count) const {
  WideString text = GetLine(line);
  if (line < GetLineCount() - 1) {
    WideString newLine = NewLineText(NewLine);
    if (!text.ends_with(newLine)) text += newLine;
  }
  column = std::max(column, 0);
  if (count <= 0 || size_t(column) >= text.size()) return {};
  return text.substr(size_t(column), size_t(count));
}

WideString TMyMemoControl::GetTextAtCaret(int32_t count) const {
  // GetLineText of the caret's line and column, reading only what it returns.
  int32_t line = GetCaretLine();
  int32_t start = int32_t(Send(EM_LINEINDEX, WPARAM(intptr_t(line))));
  int32_t length = int32_t(Send(EM_LINELENGTH, WPARAM(intptr_t(start))));
  int32_t column = std::max(GetCaretColumn(), 0);
  if (count <= 0) return {};
  WideString appended;
  if (line < GetLineCount() - 1) {
    WideString newLine = NewLineText(NewLine);
    int32_t n = int32_t(newLine.size());
    if (length < n || GetTextRange(start + length - n, n) != newLine) appended = newLine;
  }
  WideString out;
  if (column < length) out = GetTextRange(start + column, std::min(count, length - column));
  int32_t from = std::max(0, column - length);
  if (int32_t(out.size()) < count && from < int32_t(appended.size()))
    out += appended.substr(size_t(from), size_t(count) - out.size());
  return out;
}

}  // namespace magna
