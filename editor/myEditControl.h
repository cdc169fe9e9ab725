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

/// Text with single "\r" breaks in the given convention ("\r", "\n" or "\r\n"); other
/// characters, a "\n" already there too, are kept.
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

  // Virtual operations. Every message goes to Handle: with no window (nullptr) a
  // getter answers 0 or the empty text and a setter changes only the field.
  /// Switches the window's automatic font (IMF_AUTOFONT), nothing else.
  virtual void SetAutoFont(bool value);
  /// Out: SavedState, taken from the window (text, selection, bounds, colour, ...).
  virtual void SaveState();
  /// Creates the rich-edit window with `style` (child and visible added) in the host,
  /// fields reset to the new window's, text unlimited, every event asked for, the
  /// font applied. Loads the rich-edit library on first use.
  virtual void CreateEditWindow(platform::LONG style);
  virtual bool GetAutoFont() const;
  /// Puts SavedState into the window; the window takes the focus on the way.
  virtual void RestoreState();
  /// SetAutoFont, then the text and state put back so that the new font applies.
  virtual void ChangeAutoFont(bool value);
  /// Destroys the window and creates it with `style`, its state kept (SaveState, then
  /// RestoreState): the undo steps are lost.
  virtual void RecreateWindow(platform::LONG style);
  /// Reads the file by ReadTextFile and shows it; `charCode` is in/out as there and
  /// also becomes CharCode. `size` is unused here.
  virtual void LoadFromFile(const WideString& fileName, TMyCharCode& charCode, uint64_t size);
  /// As above with the file's size; ERangeError for files of 4 GiB or more (nothing read).
  virtual void LoadFromFile(const WideString& fileName, TMyCharCode& charCode);
  /// Writes the whole text by WriteTextFile; on success CharCode takes `charCode` and the
  /// modified flag is cleared, on failure (false) both stay.
  virtual bool SaveToFile(const WideString& fileName, TMyCharCode charCode);
  /// SaveToFile in cdAuto.
  virtual bool SaveToFile(const WideString& fileName);
  /// The selected text with the NewLine convention's breaks; empty for no selection.
  virtual WideString GetSelText() const;
  /// GetTextRange from the caret.
  virtual WideString GetTextAtCaret(int32_t count) const;
  /// Up to `count` code units from `start` (window breaks "\r"); empty for count <= 0 or
  /// start < 0, shorter at the end of the text.
  virtual WideString GetTextRange(int32_t start, int32_t count) const;
  /// Whether the text is empty (reads the whole text; descendants do better).
  virtual bool IsEmpty() const;

  // Operations
  /// Moves and sizes the window in the host's client area; the fields follow.
  void SetBounds(int32_t x, int32_t y, int32_t width, int32_t height);
  void SetBoundsRect(const TRect& rect);
  /// The window's rectangle in the host's client coordinates; all zero without a window.
  TRect GetBoundsRect() const;
  /// Scrolls the caret into view.
  void ScrollCaret();
  /// The background colour (system colours allowed); a value equal to Color sends nothing.
  void SetColor(TColor value);
  void SetReadOnly(bool value);
  /// Tab stops every `value` average characters (4 dialog units each); 0 is the default.
  void SetTab(int32_t value);
  /// Whether the window has the keyboard focus.
  bool Focused() const;
  void SetFocus();
  /// The whole text with the NewLine convention's breaks.
  WideString GetText() const;
  /// The whole text with "\r\n" breaks, or with "\r" breaks as the positions count them.
  WideString GetText(bool crlf) const;
  /// Replaces the whole text up to its first U+0000 ("\r", "\n" and "\r\n" each become
  /// one break); the undo steps are lost, the caret goes to the start.
  void SetText(const WideString& text);
  /// The selection's start in code units of the window's text ("\r" breaks).
  int32_t GetSelStart() const;
  /// The caret at `pos` with an empty selection, a position beyond the end at the end;
  /// a negative one only drops the selection (the platform's EM_SETSEL).
  void SetSelStart(int32_t pos);
  int32_t GetSelLength() const;
  /// Selects `length` code units from the current start; a negative length is ignored.
  void SetSelLength(int32_t length);
  bool HasSelection() const;
  bool GetModified() const;
  void SetModified(bool value);
  /// The character index nearest the client point (the platform's EM_CHARFROMPOS).
  int32_t CharFromPos(TPoint point) const;
  // The editing commands below leave the keyboard focus in the window.
  /// Empties the text (undo steps lost).
  void Clear();
  bool CanUndo() const;
  /// One undo step; nothing when there is none.
  void Undo();
  bool CanRedo() const;
  void Redo();
  /// Puts the selected text on the clipboard; a busy clipboard leaves it as it was.
  void CopyToClipboard();
  /// Copies, then deletes the selection only when the copy reached the clipboard.
  void CutToClipboard();
  /// Replaces the selection by the clipboard's text (one undo step); no text on the
  /// clipboard, or a busy one, changes nothing.
  void PasteFromClipboard();
  /// Deletes the selection (one undo step).
  void ClearSelection();
  void SelectAll();
  /// Replaces the selection by `text` up to its first U+0000 (one undo step); the
  /// caret ends after it.
  void SetSelText(const WideString& text);
  void SetCharCode(TMyCharCode value) { CharCode = value; }
  /// LoadFromFile in CharCode, which then holds the code read.
  void LoadFromFile(const WideString& fileName);
  /// Recreates the window with the alignment's style; the same alignment does nothing.
  void SetAlignment(TAlignment value);
  /// Recreates the window with or without WS_BORDER.
  void SetBorder(bool value);
  /// Recreates the window with or without ES_NOHIDESEL; the same value does nothing.
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
