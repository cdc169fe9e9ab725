#pragma once
// The rich-edit window wrapper: a plain object that owns one "RichEdit20W" child
// window of its host control and turns every editing operation into messages to
// it. It also keeps what must survive a re-creation of the window (the window is
// destroyed and created anew whenever a window style changes).

#include <cstdint>

#include "editor/myEditTypes.h"
#include "platform/myFont.h"
#include "platform/myWindows.h"
#include "text/myCharCode.h"
#include "text/myUtils.h"
#include "text/myWStrings.h"

namespace magna {

class TMyCustomEdit;

/// Text with single "\r" breaks in the given convention ("\r", "\n" or "\r\n").
WideString ConvertNewLine(const WideString& text, TMyNewLine newLine);

/// The snapshot taken before the window is destroyed.
struct TMyEditSavedState {
  int32_t SelStart = 0;
  int32_t SelLength = 0;
  int32_t Tab = 0;
  TRect Bounds;
  TColor Color = 0;
  bool AutoFont = false;
  bool ReadOnly = false;
  WideString Text;
  TMyWStringsOnAdd OnLoadProgress;
};

class TMyCustomEditControl : public TObject {
 public:
  /// The rich-edit window's control identifier.
  static constexpr uintptr_t ControlId = 0x2000;

  ~TMyCustomEditControl() override;
  TMyCustomEditControl(const TMyCustomEditControl&) = delete;
  TMyCustomEditControl& operator=(const TMyCustomEditControl&) = delete;

  // Fields, in declaration order
  int32_t Left = 0, Top = 0, Width = 0, Height = 0;
  platform::HWND Handle = nullptr;
  TMyCustomEdit* Owner = nullptr;
  TFont* Font = nullptr;  // not owned
  TColor Color = clWindow;
  int32_t Tab = 0;
  TAlignment Alignment = taLeftJustify;
  bool ReadOnly = false;
  bool HideSelection = true;
  bool FindForward = true;
  bool FindIgnoreCase = true;
  bool FindWholeWord = false;
  TMyCharCode CharCode = cdAuto;
  TMyNewLine NewLine = nlCRLF;
  TMyEditSavedState SavedState;
  TMyWStringsOnAdd OnLoadProgress;

  // Virtual operations
  virtual void SetAutoFont(bool value);
  virtual void SaveState();
  virtual void CreateEditWindow(platform::LONG style);
  virtual bool GetAutoFont() const;
  virtual void RestoreState();
  virtual void ChangeAutoFont(bool value);
  virtual void RecreateWindow(platform::LONG style);
  /// Reads the file in the given code and shows it; `size` is unused here.
  virtual void LoadFromFile(const WideString& fileName, TMyCharCode& charCode, uint64_t size);
  /// ERangeError for files of 4 GiB or more.
  virtual void LoadFromFile(const WideString& fileName, TMyCharCode& charCode);
  virtual bool SaveToFile(const WideString& fileName, TMyCharCode charCode);
  virtual bool SaveToFile(const WideString& fileName);
  virtual WideString GetSelText() const;
  virtual WideString GetTextAtCaret(int32_t count) const;
  virtual WideString GetTextRange(int32_t start, int32_t count) const;
  virtual bool IsEmpty() const;

  // Operations
  void SetBounds(int32_t x, int32_t y, int32_t width, int32_t height);
  void SetBoundsRect(const TRect& rect);
  TRect GetBoundsRect() const;
  void ScrollCaret();
  void SetColor(TColor value);
  void SetReadOnly(bool value);
  void SetTab(int32_t value);
  bool Focused() const;
  void SetFocus();
  WideString GetText() const;
  void SetText(const WideString& text);
  int32_t GetSelStart() const;
  void SetSelStart(int32_t pos);
  int32_t GetSelLength() const;
  void SetSelLength(int32_t length);
  bool HasSelection() const;
  bool GetModified() const;
  void SetModified(bool value);
  int32_t CharFromPos(TPoint point) const;
  void Clear();
  bool CanUndo() const;
  void Undo();
  bool CanRedo() const;
  void Redo();
  void CopyToClipboard();
  void CutToClipboard();
  void PasteFromClipboard();
  void ClearSelection();
  void SelectAll();
  void SetSelText(const WideString& text);
  void SetCharCode(TMyCharCode value) { CharCode = value; }
  void LoadFromFile(const WideString& fileName);
  void SetAlignment(TAlignment value);
  void SetBorder(bool value);
  void SetHideSelection(bool value);
  /// Applies a font (a copy onto the Font object when it is the same); keeps the modified flag.
  void SetFont(const TFont* font);
  /// Applies the Font object's look; also run on every change of that object.
  void FontChanged();

 protected:
  /// Remembers the host; the descendant runs the creation routine.
  explicit TMyCustomEditControl(TMyCustomEdit* owner);
  platform::LRESULT Send(platform::UINT msg, platform::WPARAM wParam = 0,
                         platform::LPARAM lParam = 0) const;
  platform::LONG CurrentStyle() const;
  static void EnsureRichEditLoaded();

 private:
  void InitFields();
  void CreateWindowWithStyle(platform::LONG style);
};

}  // namespace magna
