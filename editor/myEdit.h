#pragma once
// The editor control: a bordered host widget whose whole client area is covered
// by a rich-edit window ("RichEdit20W") owned by its wrapper. Every property and
// editing command is forwarded to the wrapper, which turns it into window
// messages; the rich-edit window's notifications come back to the host as
// WM_COMMAND / WM_NOTIFY and are raised here as the component's events.
// The rich-edit window takes the keyboard focus (the host passes it on) and
// leaves context-menu requests to the host: a popup menu belongs on this widget
// (its contextMenuPolicy).
//
// Typical use:
//   auto* memo = new TMyMemo(parentWidget);
//   memo->OnSelectionChange = [](TObject*) { ... };
//   memo->Font()->SetSize(72);          // reaches the text at once
//   memo->SetText(u"line 1\rline 2");

#include <QFrame>
#include <memory>

#include "editor/myEditControl.h"
#include "editor/myEditTypes.h"
#include "editor/myMemoControl.h"
#include "platform/myFont.h"
#include "platform/myWindows.h"
#include "text/myCharCode.h"
#include "text/myWStrings.h"

namespace magna {

/// Gives a widget a window handle of the message layer, so that the editor
/// controls placed in it send it what they pass on (an unhandled mouse wheel).
void SetWidgetWindow(QWidget* widget, platform::HWND hwnd);

class TMyCustomEdit : public QFrame, public TObject {
  Q_OBJECT
 public:
  explicit TMyCustomEdit(QWidget* parent = nullptr);
  ~TMyCustomEdit() override;

  // Host window
  /// The host's window handle (attached on first use); parent of the rich-edit window.
  platform::HWND HostHandle();
  /// Creates the host window anew; the rich-edit window moves into it with its state.
  void RecreateWnd();
  /// How often the host window was created.
  int32_t WindowCreations() const { return windowCreations_; }
  /// The host's client size in pixels.
  QSize ClientSize() const;
  /// The wrapper, none before the descendant creates it.
  TMyCustomEditControl* Wrapper() const { return wrapper_.get(); }

  // Published properties. Each forwards to the wrapper, whose header states its
  // contract; without a wrapper a getter answers the default and a setter is ignored
  // (the colour and the font are kept for the wrapper to come).
  TBorderStyle BorderStyle() const;
  void SetBorderStyle(TBorderStyle value);
  TColor Color() const;
  void SetColor(TColor value);
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool value);
  TMyWStringsOnAdd OnLoadProgress() const;
  void SetOnLoadProgress(TMyWStringsOnAdd handler);
  /// The owned font; changing it later (for instance its size) reaches the text at once.
  TFont* Font() { return font_.get(); }
  const TFont* Font() const { return font_.get(); }
  /// Copies the given font into the control's font and applies it.
  void SetFont(const TFont& value);
  bool HideSelection() const;
  void SetHideSelection(bool value);
  bool ReadOnly() const;
  void SetReadOnly(bool value);
  int32_t Tab() const;
  void SetTab(int32_t value);
  TAlignment Alignment() const;
  void SetAlignment(TAlignment value);
  bool AutoFont() const;
  void SetAutoFont(bool value);
  TMyCharCode CharCode() const;
  void SetCharCode(TMyCharCode value);
  bool FindForward() const;
  void SetFindForward(bool value);
  bool FindIgnoreCase() const;
  void SetFindIgnoreCase(bool value);
  bool FindWholeWord() const;
  void SetFindWholeWord(bool value);

  // Text and editing commands (each leaves the keyboard focus in the text), forwarded
  // as the properties are: without a wrapper the text is empty and nothing changes.
  /// Whole text with the NewLine convention's breaks ("\r\n" for nlCRLF, else "\r").
  WideString Text() const;
  /// Whole text with "\r" breaks, as SelStart and the other positions count it.
  WideString HeldText() const;
  void SetText(const WideString& value);
  void Clear();
  void Undo();
  void Redo();
  bool CanUndo() const;
  bool CanRedo() const;
  void CutToClipboard();
  void CopyToClipboard();
  void PasteFromClipboard();
  void ClearSelection();
  void SelectAll();
  /// 0 without a wrapper.
  int32_t SelStart() const;
  /// Caret at Value with an empty selection.
  void SetSelStart(int32_t value);
  int32_t SelLength() const;
  /// Selection from the current start; negative lengths are ignored.
  void SetSelLength(int32_t value);
  int32_t GetSelStart() const { return SelStart(); }
  bool GetModified() const;
  void SetModified(bool value);
  int32_t CharFromPos(TPoint point) const;
  /// Whether the rich-edit window has the keyboard focus.
  bool Focused() const;
  /// Focuses the host and gives the window focus to the rich-edit window, caret kept.
  void SetFocus();

  virtual bool IsEmpty() const;
  virtual void SetSelText(const WideString& text);
  /// Always detects the character code and leaves it in CharCode.
  virtual void LoadFromFile(const WideString& fileName);
  /// `charCode` is in/out: the code asked for (cdAuto detects) and the code read.
  virtual void LoadFromFile(const WideString& fileName, TMyCharCode& charCode);
  virtual void LoadFromFile(const WideString& fileName, TMyCharCode& charCode, uint64_t size);
  /// False when the file was not written whole (or there is no wrapper).
  virtual bool SaveToFile(const WideString& fileName);
  virtual bool SaveToFile(const WideString& fileName, TMyCharCode charCode);
  /// Selected text with the NewLine convention's breaks.
  virtual WideString GetSelText() const;
  /// Up to Count code units from the caret within its line (break appended when not last).
  virtual WideString GetTextAtCaret(int32_t count) const;
  /// Up to Count code units from Start; empty for a negative start or count <= 0.
  virtual WideString GetTextRange(int32_t start, int32_t count) const;

  // Events (Sender is the control)
  TNotifyEvent OnChange, OnSelectionChange, OnUpdate;
  TNotifyEvent OnEnter, OnExit, OnClick, OnDblClick, OnResize;
  TMyVScrollEvent OnHScroll, OnVScroll;
  TKeyEvent OnKeyDown, OnKeyUp;
  TKeyPressEvent OnKeyPress;
  TMouseEvent OnMouseDown, OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TMouseWheelEvent OnMouseWheel;

 protected:
  /// The host's message procedure: notifications of the rich-edit window.
  virtual platform::LRESULT HostWindowProc(platform::UINT msg, platform::WPARAM wParam,
                                           platform::LPARAM lParam);
  virtual void HandleCommand(uint16_t code);
  /// Nonzero tells the rich-edit window not to act on the reported message.
  virtual platform::LRESULT HandleNotify(platform::NMHDR* header);
  virtual platform::LRESULT HandleMsgFilter(platform::MSGFILTER* filter);
  void SetWrapper(std::unique_ptr<TMyCustomEditControl> wrapper);
  /// Places the rich-edit window over the whole client area, then raises OnResize.
  void LayoutEditWindow();

  void resizeEvent(QResizeEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;

 private:
  class HostWindow;
  void PlaceCaretUnderMouse();
  void EnterControl();
  TShiftState CurrentShiftState() const;
  bool RaiseMouseWheel(platform::MSGFILTER* filter);
  void RaiseMouseEvent(platform::MSGFILTER* filter, TShiftState shift);

  std::unique_ptr<HostWindow> hostWindow_;
  platform::HWND hostHandle_ = nullptr;
  int32_t windowCreations_ = 0;
  bool focusBusy_ = false;
  bool parentColor_ = false;
  TBorderStyle borderStyle_ = bsSingle;
  TColor color_ = clWindow;
  std::unique_ptr<TMyCustomEditControl> wrapper_;
  std::unique_ptr<TFont> font_;
};

class TMyMemo : public TMyCustomEdit {
  Q_OBJECT
 public:
  explicit TMyMemo(QWidget* parent = nullptr);
  ~TMyMemo() override;

  TMyMemoControl* MemoWrapper() const;

  bool AutoIndent() const { return autoIndent_; }
  void SetAutoIndent(bool value) { autoIndent_ = value; }
  TMyNewLine NewLine() const;
  void SetNewLine(TMyNewLine value);
  TScrollStyle ScrollBars() const;
  void SetScrollBars(TScrollStyle value);
  bool WideLine() const;
  void SetWideLine(bool value);
  bool WordWrap() const;
  void SetWordWrap(bool value);

  bool HasSelection() const;
  /// Text of one line without its break; -1 is the caret's line.
  WideString GetLine(int32_t index) const;
  /// The caret's line and column (code units from the line's start), from 0.
  int32_t CaretLine() const;
  int32_t CaretColumn() const;
  /// Lines of the text; 1 for the empty text, 0 without a wrapper.
  int32_t LineCount() const;

  using TMyCustomEdit::SaveToFile;
  /// Writes the text with `newLine` breaks; false when the file was not written whole.
  virtual bool SaveToFile(const WideString& fileName, TMyCharCode charCode, TMyNewLine newLine);

 protected:
  void HandleCommand(uint16_t code) override;
  platform::LRESULT HandleMsgFilter(platform::MSGFILTER* filter) override;

 private:
  void RememberIndent();
  void ForgetIndent();
  void InsertPendingIndent();

  bool autoIndent_ = false;
  /// The indent of one Return, for the change that Return makes: the caret just
  /// after the line break it inserted.
  WideString pendingIndent_;
  int32_t caretAfterReturn_ = -1;
};

}  // namespace magna
