#pragma once
// The rich-edit window class "RichEdit20W": a window object that owns a
// QPlainTextEdit (plain text, one font and one text colour, undo and redo, no
// length limit), answers the rich-edit messages from it and reports to its
// parent through WM_COMMAND and WM_NOTIFY. The class is registered when the
// "Riched20.dll" stand-in is loaded.

#include <QColor>
#include <QFont>
#include <QPointer>
#include <optional>

#include "editor/myRichEditCapture.h"
#include "editor/myRichEditUndo.h"
#include "platform/myWindows.h"

namespace magna {

class TRichEditText;
class TRichEditView;

constexpr char16_t RichEditClassName[] = u"RichEdit20W";
constexpr char RichEditLibraryName[] = "Riched20.dll";

/// Makes "Riched20.dll" loadable (idempotent); loading it registers "RichEdit20W".
void ProvideRichEditLibrary();

class TRichEditWindow : public platform::TWindowObject {
 public:
  explicit TRichEditWindow(platform::HWND hwnd);
  ~TRichEditWindow() override;

  platform::LRESULT WindowProc(platform::HWND hwnd, platform::UINT msg, platform::WPARAM wParam,
                               platform::LPARAM lParam) override;
  TPoint ClientOrigin(platform::HWND hwnd) override;

  /// The widget and its text; null before WM_CREATE and once the window is destroyed.
  TRichEditView* View() const;
  TRichEditText* Text() const { return text_; }
  platform::HWND Handle() const { return hwnd_; }

  // What the view reports (each may destroy this window: the view checks after)
  /// EN_MSGFILTER to the parent when the event mask asks for it; wParam may come back changed.
  /// True when the control should go on and act on the message.
  bool Filter(platform::UINT msg, platform::WPARAM& wParam, platform::LPARAM lParam);
  /// Input handling frames: notifications of changes wait for the end of the frame.
  void BeginInput();
  void EndInput();
  /// The text changed: marks it modified; EN_UPDATE and EN_CHANGE, as the event mask
  /// asks, once the input frame ends (or, from inside the widget, once it returns).
  void TextChanged();
  /// EN_SELCHANGE (mask permitting) when the selection differs from the one last
  /// reported; nothing inside an input frame.
  void SelectionMaybeChanged();
  /// EN_VSCROLL or EN_HSCROLL when the event mask asks for ENM_SCROLL.
  void Scrolled(bool vertical);
  /// The widget gained or lost Qt's focus: the window's focus follows (SetFocus, which
  /// brings WM_SETFOCUS / WM_KILLFOCUS and so the parent's EN_ notices).
  void FocusGained();
  void FocusLost();
  /// Replaces the selection as one undoable edit; the caret ends after the text.
  void ReplaceSelection(WideView text);
  /// Qt's own editing (keys, input methods, drops) between these two becomes undo
  /// steps; a document change outside them and the window's own edits empties the
  /// undo store, which could no longer restore the text.
  /// The capture keeps the text around the selection, and up to `alsoAt` (a
  /// document position) when given.
  void BeginCapture(int alsoAt = -1);
  void EndCapture();
  /// Typing merges into one undo step no further: an input method's commit is a
  /// step of its own, together with the removal of the selection its composition
  /// started with.
  void EndTyping() { undo_.EndTyping(); }
  /// One step of the undo store; false when there is none.
  bool Undo();
  /// One step of the redo store; false when there is none.
  bool Redo();
  const TRichEditUndo& UndoStore() const { return undo_; }
  /// Selected text with "\r" breaks (or "\r\n").
  WideString SelectedText(bool crlf) const;

 private:
  platform::LRESULT Create(const platform::CREATESTRUCTW& cs);
  void Destroy();
  void ApplyStyle();
  void ApplyFont();
  void ApplyTabStops();
  void ApplyColors();
  void SetSelection(int anchor, int caret);
  /// The window's own edits and moves end an input method's composition first,
  /// so that it is committed where the user saw it.
  void EndComposition();
  platform::CHARRANGE Selection() const;
  platform::LRESULT SetCharFormat(const platform::CHARFORMATW* format);
  platform::LRESULT GetTextEx(const platform::GETTEXTEX* info, char16_t* buffer);
  platform::LRESULT GetTextLengthEx(const platform::GETTEXTLENGTHEX* info) const;
  platform::LRESULT CopyOut(const WideString& text, char16_t* buffer, size_t capacity) const;
  platform::LRESULT LineLengthAt(platform::WPARAM index) const;
  platform::LRESULT GetLine(platform::WPARAM line, char16_t* buffer) const;
  platform::LRESULT CharFromPos(const platform::POINTL* point) const;
  platform::LRESULT GetSel(platform::WPARAM startOut, platform::LPARAM endOut) const;
  void ReplaceAll(WideView text);
  /// Replaces code units of the text as the undo store asks; gives back what was there.
  WideString ReplaceRange(int start, int length, WideView text);
  void DocumentChanged(int from, int removed, int added);
  void Command(uint16_t code);
  void FlushChanges();
  bool Wants(platform::DWORD mask) const { return (eventMask_ & mask) != 0; }

  platform::HWND hwnd_;
  platform::HWND parent_ = nullptr;
  QPointer<TRichEditView> view_;
  TRichEditText* text_ = nullptr;  // owned by the view's document
  platform::DWORD eventMask_ = 0;
  platform::DWORD langOptions_ = platform::IMF_AUTOFONT | platform::IMF_DUALFONT;
  platform::LONG style_ = 0;
  bool modified_ = false;
  bool pendingChange_ = false;
  int inputDepth_ = 0;
  int tabStopDlu_ = 0;
  TRichEditUndo undo_;
  std::optional<TEditCapture> capture_;
  int captureDepth_ = 0;
  int ownEdits_ = 0;  // the window's own edits under way: the undo store knows of them
  QFont font_;
  QColor textColor_{Qt::black};
  QColor background_{Qt::white};
  platform::CHARRANGE reported_{-1, -1};
};

}  // namespace magna
