#pragma once
// The widget of the rich-edit window: a QPlainTextEdit whose key, character,
// mouse and wheel input is first reported to the window's parent (EN_MSGFILTER)
// and only then acted on, as the parent left it. A key code set to 0 drops the
// key, a handled wheel neither scrolls nor zooms, and Ctrl+wheel never zooms.

#include <QPlainTextEdit>
#include <QTextLine>

#include "platform/myWindows.h"

namespace magna {

class TRichEditWindow;

class TRichEditView : public QPlainTextEdit {
  Q_OBJECT
 public:
  TRichEditView(TRichEditWindow* window, QWidget* parent);

  /// The window is gone: report nothing more.
  void Detach() { window_ = nullptr; }
  /// Hides the selection while the view has no focus (the platform's default).
  void SetHideSelection(bool hide);
  /// Whether an input method's composition is shown at the caret.
  bool Composing() const;
  /// Ends the composition shown at the caret as a click into the text does: what
  /// it shows is committed where it stands (one undo step), then the input method
  /// is told to forget it. Nothing while the input method's own event is handled.
  void EndComposition();

 protected:
  /// Every event handler runs inside these two: no failure may reach the event loop.
  bool event(QEvent* event) override;
  bool viewportEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void insertFromMimeData(const QMimeData* source) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  QMimeData* createMimeDataFromSelection() const override;

 private:
  /// Filters the typed characters through WM_CHAR; false when none is left to type.
  bool FilterCharacters(QString& text, platform::LPARAM lParam);
  void ActOnKey(QKeyEvent* event);
  bool HandleEditingKey(QKeyEvent* event);
  /// Without word wrap: Home, End, Up and Down (and with Shift) act on rows as they
  /// would show without the display split of long lines.
  bool MoveAlongRows(QKeyEvent* event);
  /// The position in the row that starts at `rowStart` nearest to x in its first piece.
  int PositionAtX(int rowStart, qreal x);
  /// The laid-out line of the block that holds a document position.
  QTextLine LineAt(int position);
  qreal XOf(int position);
  bool StepOverSoftBreak(bool backwards);
  /// Reports a mouse message; false when the parent took it.
  bool FilterMouse(platform::UINT msg, QMouseEvent* event);
  /// The messages of one kind of button event, per button.
  struct ButtonMessages {
    platform::UINT Left, Right, Middle;
  };
  /// A button pressed, released or double-clicked: reported as the button's message
  /// (no report for other buttons), then acted on by `act` unless the parent took it.
  template <class Act>
  void ButtonEvent(QMouseEvent* event, const ButtonMessages& messages, Act act);
  platform::WPARAM MouseKeys(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) const;
  /// Hands the event to Qt's own handling, committed text through the text store.
  void ActOnInputMethod(QInputMethodEvent* event);
  /// Whether the event only repeats the text that ended the last composition.
  bool RepeatsEndedComposition(const QInputMethodEvent& event);
  /// Scrolls the composition's end, then its caret, into view: Qt shows only the
  /// row where it starts, and the input method places its candidates by the caret.
  void ShowComposition(const QInputMethodEvent& event);
  /// Scrolls a position of the caret's block, composition included, into view.
  void ShowInBlock(int position);

  TRichEditWindow* window_;
  bool inInputMethod_ = false;
  // The text that ended the last composition, until the next input arrives. An
  // input method that commits its composition whenever it is reset or loses the
  // focus (IBus engines in "commit" preedit mode, Mozc) sends it once more, after
  // the text or the caret may have changed: that copy is dropped.
  QString endedComposition_;
};

}  // namespace magna
