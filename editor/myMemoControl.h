#pragma once
// The multi-line wrapper: scroll bars, word wrap and WideLine, access to lines and
// to the caret's line and column, and file operations that load any line-break
// convention into the window's single "\r" breaks and save back the one found.

#include "editor/myEditControl.h"

namespace magna {

class TMyMemo;

class TMyMemoControl : public TMyCustomEditControl {
 public:
  /// Creates the rich-edit window at once (the host window is created if needed).
  explicit TMyMemoControl(TMyMemo* memo);

  TMyMemo* Memo = nullptr;
  TScrollStyle ScrollBars = ssBoth;
  bool WordWrap = false;
  bool WideLine = false;

  /// As the base, with the scroll bars' styles (no horizontal one under word wrap) and
  /// the multi-line styles.
  void CreateEditWindow(platform::LONG style) override;
  /// Applies WideLine, then as the base.
  void RestoreState() override;
  using TMyCustomEditControl::LoadFromFile;
  /// Reads `size` bytes, stops at the first U+0000 and unifies the line breaks to "\r".
  void LoadFromFile(const WideString& fileName, TMyCharCode& charCode, uint64_t size) override;
  using TMyCustomEditControl::SaveToFile;
  /// SaveToFileNewLine with NewLine; unlike the base, CharCode and the modified flag stay.
  bool SaveToFile(const WideString& fileName, TMyCharCode charCode) override;
  /// Reads only the code units it returns and the line's length.
  WideString GetTextAtCaret(int32_t count) const override;
  /// Decided from the line count and length, without reading the text.
  bool IsEmpty() const override;
  /// Writes the text with `newLine` breaks in `charCode`; false when the file was not
  /// written whole (the previous content then stays).
  virtual bool SaveToFileNewLine(const WideString& fileName, TMyCharCode charCode,
                                 TMyNewLine newLine);

  /// Recreates the window with the scroll bars' styles; the same value does nothing.
  void SetScrollBars(TScrollStyle value);
  /// Recreates the window with or without automatic horizontal scrolling (always, even
  /// for the same value).
  void SetWordWrap(bool value);
  /// Puts the text back with or without the interface fonts; the same value does nothing.
  void SetWideLine(bool value);
  /// Sends the language options of WideLine to the window.
  void ApplyWideLine();
  /// Lines of the text, 1 for the empty text; 0 without a window.
  int32_t GetLineCount() const;
  /// The caret's line and column (code units from the line's start), from 0.
  int32_t GetCaretLine() const;
  int32_t GetCaretColumn() const;
  /// Text of one line without its break; -1 (or below) is the caret's line, beyond the last the
  /// last.
  WideString GetLine(int32_t index) const;
  /// Count code units from Column of the line with the NewLine sequence appended when not last.
  WideString GetLineText(int32_t line, int32_t column, int32_t count) const;
};

}  // namespace magna
