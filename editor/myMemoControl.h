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

  void CreateEditWindow(platform::LONG style) override;
  void RestoreState() override;
  using TMyCustomEditControl::LoadFromFile;
  /// Reads `size` bytes, stops at the first U+0000 and unifies the line breaks to "\r".
  void LoadFromFile(const WideString& fileName, TMyCharCode& charCode, uint64_t size) override;
  using TMyCustomEditControl::SaveToFile;
  bool SaveToFile(const WideString& fileName, TMyCharCode charCode) override;
  /// Reads only the code units it returns and the line's length.
  WideString GetTextAtCaret(int32_t count) const override;
  bool IsEmpty() const override;
  virtual bool SaveToFileNewLine(const WideString& fileName, TMyCharCode charCode,
                                 TMyNewLine newLine);

  void SetScrollBars(TScrollStyle value);
  void SetWordWrap(bool value);
  void SetWideLine(bool value);
  void ApplyWideLine();
  int32_t GetLineCount() const;
  int32_t GetCaretLine() const;
  int32_t GetCaretColumn() const;
  /// Text of one line without its break; -1 (or below) is the caret's line, beyond the last the
  /// last.
  WideString GetLine(int32_t index) const;
  /// Count code units from Column of the line with the NewLine sequence appended when not last.
  WideString GetLineText(int32_t line, int32_t column, int32_t count) const;
};

}  // namespace magna
