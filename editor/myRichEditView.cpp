#include "editor/myRichEditView.h"

#include <QAbstractTextDocumentLayout>
#include <QDropEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <QWheelEvent>
#include <cmath>

#include "editor/myRichEdit.h"
#include "editor/myRichEditText.h"
#include "platform/log.h"
#include "platform/qt/qtText.h"
#include "platform/qt/virtualKeys.h"
#include "text/myUtils.h"

namespace magna {

using namespace platform;

namespace {

constexpr std::string_view kHandlingAnEvent = "handling an event of the text view";

/// Ends an input frame of the window unless the window went away meanwhile.
class InputFrame {
 public:
  explicit InputFrame(TRichEditWindow* const& window) : window_(window) {
    if (window_) window_->BeginInput();
  }
  ~InputFrame() {
    if (window_) window_->EndInput();
  }

 private:
  TMessageFrame keepAlive_;  // the window object outlives this frame even when destroyed
  TRichEditWindow* const& window_;
};

/// Frames Qt's own handling of an event that may edit the text, so that the
/// window's undo store learns what it did (Qt's own undo store stays off).
class EditCapture {
 public:
  explicit EditCapture(TRichEditWindow* const& window, int alsoAt = -1) : window_(window) {
    if (window_) window_->BeginCapture(alsoAt);
  }
  ~EditCapture() {
    if (window_) window_->EndCapture();
  }
  EditCapture(const EditCapture&) = delete;
  EditCapture& operator=(const EditCapture&) = delete;

 private:
  TMessageFrame keepAlive_;
  TRichEditWindow* const& window_;
};

LPARAM KeyData(const QKeyEvent& event, bool release) {
  uintptr_t data = 1 | (uintptr_t(event.nativeScanCode() & 0xFF) << 16);
  if (event.modifiers() & Qt::AltModifier) data |= uintptr_t(1) << 29;
  if (event.isAutoRepeat() || release) data |= uintptr_t(1) << 30;
  if (release) data |= uintptr_t(1) << 31;
  return LPARAM(int32_t(uint32_t(data)));
}

/// Characters that type text (the control acts on them through WM_CHAR).
bool IsTyping(QChar c) {
  char16_t u = c.unicode();
  return (u >= 0x20 && u != 0x7F) || u == u'\r' || u == u'\t' || u == u'\b';
}

LPARAM PointData(int x, int y) {
  return LPARAM(int32_t(uint32_t(MAKELONG(uint16_t(x), uint16_t(y)))));
}

/// Whether Qt's own handling of the key may change the text: typing or deleting.
/// Other keys are not captured (a large selection would be copied on every
/// arrow key); should one change the text all the same, the undo store empties.
bool MayEdit(const QKeyEvent* event) {
  if (event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete) return true;
  for (auto key : {QKeySequence::DeleteStartOfWord, QKeySequence::DeleteEndOfWord,
                   QKeySequence::DeleteEndOfLine, QKeySequence::DeleteCompleteLine,
                   QKeySequence::InsertParagraphSeparator, QKeySequence::InsertLineSeparator})
    if (event->matches(key)) return true;
  const QString text = event->text();
  return !text.isEmpty() && (text.at(0) == u'\t' || text.at(0).category() != QChar::Other_Control);
}

/// The modifiers the event carries, for the shift state of what it reports: a key
/// released before its event is handled still counts.
TInputKeys KeysOf(const QInputEvent& event) {
  Qt::KeyboardModifiers m = event.modifiers();
  return TInputKeys(m & Qt::ShiftModifier, m & Qt::ControlModifier, m & Qt::AltModifier);
}

bool IsCharacterMove(const QKeyEvent* event) {
  for (auto key : {QKeySequence::MoveToNextChar, QKeySequence::MoveToPreviousChar,
                   QKeySequence::SelectNextChar, QKeySequence::SelectPreviousChar,
                   QKeySequence::MoveToNextWord, QKeySequence::MoveToPreviousWord,
                   QKeySequence::SelectNextWord, QKeySequence::SelectPreviousWord})
    if (event->matches(key)) return true;
  return false;
}

}  // namespace

TRichEditView::TRichEditView(TRichEditWindow* window, QWidget* parent)
    : QPlainTextEdit(parent), window_(window) {
  setContextMenuPolicy(Qt::NoContextMenu);  // the host's popup menu answers
  viewport()->setMouseTracking(true);
  // The window keeps the undo steps, within limits: Qt's store grows without end.
  setUndoRedoEnabled(false);
  document()->setUndoRedoEnabled(false);
}

void TRichEditView::SetHideSelection(bool hide) {
  QPalette p = palette();
  QPalette::ColorGroup source = hide ? QPalette::Inactive : QPalette::Active;
  p.setColor(QPalette::Inactive, QPalette::Highlight,
             hide ? p.color(source, QPalette::Base) : p.color(source, QPalette::Highlight));
  p.setColor(QPalette::Inactive, QPalette::HighlightedText,
             hide ? p.color(source, QPalette::Text) : p.color(source, QPalette::HighlightedText));
  setPalette(p);
}

// A failed event leaves the text as it was and counts as handled.
bool TRichEditView::event(QEvent* event) {
  bool handled = true;
  platform::Guard(platform::kLogEditor, kHandlingAnEvent,
                  [&] { handled = QPlainTextEdit::event(event); });
  return handled;
}

bool TRichEditView::viewportEvent(QEvent* event) {
  bool handled = true;
  platform::Guard(platform::kLogEditor, kHandlingAnEvent,
                  [&] { handled = QPlainTextEdit::viewportEvent(event); });
  return handled;
}

void TRichEditView::keyPressEvent(QKeyEvent* event) {
  InputFrame frame(window_);
  TInputKeys held = KeysOf(*event);
  if (!window_) return QPlainTextEdit::keyPressEvent(event);
  int virtualKey = qt::VirtualKeyOf(*event);
  WPARAM key = WPARAM(virtualKey);
  LPARAM keyData = KeyData(*event, false);
  if (virtualKey != 0) {
    UINT msg = (event->modifiers() & Qt::AltModifier) ? WM_SYSKEYDOWN : WM_KEYDOWN;
    bool go = window_->Filter(msg, key, keyData);
    if (!window_ || !go || key == 0) return event->accept();
  }
  QString text = event->text();
  bool system = event->modifiers() & Qt::AltModifier;  // WM_SYSCHAR: not reported
  if (!system && !FilterCharacters(text, keyData)) return event->accept();
  int qtKey = key == WPARAM(virtualKey) ? event->key() : qt::QtKeyFromVirtualKey(int(key));
  QKeyEvent acted(event->type(), qtKey, event->modifiers(), text, event->isAutoRepeat(),
                  ushort(event->count()));
  ActOnKey(&acted);
  event->setAccepted(acted.isAccepted());
}

bool TRichEditView::FilterCharacters(QString& text, LPARAM lParam) {
  if (text.isEmpty()) return true;
  bool typing = std::all_of(text.begin(), text.end(), IsTyping);
  QString kept;
  for (QChar c : text) {
    WPARAM unit = c.unicode();
    bool go = window_->Filter(WM_CHAR, unit, lParam);
    if (!window_) return false;
    if (go && unit != 0) kept.append(QChar(char16_t(unit)));
  }
  if (typing && kept.isEmpty()) return false;
  text = typing ? kept : text;
  return true;
}

void TRichEditView::ActOnKey(QKeyEvent* event) {
  if (HandleEditingKey(event)) return event->accept();
  TRichEditText* store = window_->Text();
  int before = store->ToText(textCursor().position());
  int beforeDocument = textCursor().position();
  if (MayEdit(event)) {
    EditCapture capture(window_);
    QPlainTextEdit::keyPressEvent(event);
  } else {
    QPlainTextEdit::keyPressEvent(event);
  }
  // A step that only crossed a soft break moved no character: step again.
  if (window_ && IsCharacterMove(event) && textCursor().position() != beforeDocument &&
      store->ToText(textCursor().position()) == before)
    QPlainTextEdit::keyPressEvent(event);
}

bool TRichEditView::MoveAlongRows(QKeyEvent* event) {
  if (lineWrapMode() != QPlainTextEdit::NoWrap) return false;
  enum class To { Start, End, Previous, Next };
  struct Move {
    QKeySequence::StandardKey key;
    To to;
    bool select;
  };
  static const Move moves[] = {
      {QKeySequence::MoveToStartOfLine, To::Start, false},
      {QKeySequence::SelectStartOfLine, To::Start, true},
      {QKeySequence::MoveToEndOfLine, To::End, false},
      {QKeySequence::SelectEndOfLine, To::End, true},
      {QKeySequence::MoveToPreviousLine, To::Previous, false},
      {QKeySequence::SelectPreviousLine, To::Previous, true},
      {QKeySequence::MoveToNextLine, To::Next, false},
      {QKeySequence::SelectNextLine, To::Next, true},
  };
  const Move* move = std::find_if(std::begin(moves), std::end(moves),
                                  [&](const Move& m) { return event->matches(m.key); });
  if (move == std::end(moves)) return false;
  TRichEditText* store = window_->Text();
  QTextCursor cursor = textCursor();
  int position = cursor.position();
  int start = store->RowStart(position), end = store->RowEnd(position);
  int target = position;
  qreal x = -1;
  switch (move->to) {
    case To::Start: target = start; break;
    case To::End: target = end; break;
    case To::Previous:
    case To::Next: {
      // The goal x stays the one of the first vertical step, as in Qt's own moves.
      x = cursor.verticalMovementX() >= 0 ? cursor.verticalMovementX() : XOf(position);
      bool next = move->to == To::Next;
      if (next ? end + 1 >= document()->characterCount() : start == 0) return true;  // no row
      target = PositionAtX(next ? end + 1 : store->RowStart(start - 1), x);
      break;
    }
  }
  cursor.setPosition(target, move->select ? QTextCursor::KeepAnchor : QTextCursor::MoveAnchor);
  if (x >= 0) cursor.setVerticalMovementX(int(x));
  setTextCursor(cursor);
  ensureCursorVisible();
  return true;
}

QTextLine TRichEditView::LineAt(int position) {
  QTextBlock block = document()->findBlock(position);
  document()->documentLayout()->blockBoundingRect(block);  // lays the block out if it was not
  QTextLayout* layout = block.layout();
  return layout ? layout->lineForTextPosition(position - block.position()) : QTextLine();
}

qreal TRichEditView::XOf(int position) {
  QTextLine line = LineAt(position);
  return line.isValid() ? line.cursorToX(position - document()->findBlock(position).position()) : 0;
}

int TRichEditView::PositionAtX(int rowStart, qreal x) {
  QTextLine line = LineAt(rowStart);
  if (!line.isValid()) return rowStart;
  int blockStart = document()->findBlock(rowStart).position();
  return std::max(rowStart, blockStart + line.xToCursor(x));
}

bool TRichEditView::HandleEditingKey(QKeyEvent* event) {
  if (event->matches(QKeySequence::Copy)) {
    if (textCursor().hasSelection()) SetClipboardText(window_->SelectedText(true));
    return true;
  }
  if (event->matches(QKeySequence::Cut)) {
    // What could not be copied is not deleted.
    if (!textCursor().hasSelection() || !SetClipboardText(window_->SelectedText(true))) return true;
    if (!isReadOnly()) window_->ReplaceSelection(u"");
    return true;
  }
  if (event->matches(QKeySequence::Paste)) {
    if (isReadOnly()) return true;
    WideString text = GetClipboardText();  // empty: busy or no text, nothing to paste
    if (!text.empty()) window_->ReplaceSelection(text);
    return true;
  }
  if (event->matches(QKeySequence::Undo) || event->matches(QKeySequence::Redo)) {
    if (!isReadOnly()) event->matches(QKeySequence::Undo) ? window_->Undo() : window_->Redo();
    return true;
  }
  if (MoveAlongRows(event)) return true;
  if (isReadOnly()) return false;
  if (TRichEditText::NeedsReplace(event->text())) {
    // Typed through the text store, which keeps U+2028, U+2029 and the noncharacters
    // Qt takes for separators characters of the text.
    window_->ReplaceSelection(qt::ToWide(event->text()));
    return true;
  }
  bool isReturn = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (isReturn && !(event->modifiers() & (Qt::AltModifier | Qt::MetaModifier))) {
    // Every Return is one paragraph break (Qt would make Shift+Return a line separator).
    window_->ReplaceSelection(u"\r");
    ensureCursorVisible();
    return true;
  }
  bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
  if (!plain) return false;
  if (textCursor().hasSelection()) return false;
  if ((event->key() == Qt::Key_Backspace && StepOverSoftBreak(true)) ||
      (event->key() == Qt::Key_Delete && StepOverSoftBreak(false))) {
    EditCapture capture(window_);
    QPlainTextEdit::keyPressEvent(event);
    return true;
  }
  return false;
}

bool TRichEditView::StepOverSoftBreak(bool backwards) {
  TRichEditText* store = window_->Text();
  QTextCursor cursor = textCursor();
  int position = cursor.position();
  bool moved = false;
  while (backwards ? store->AtSoftBreakStart(position) : store->AtSoftBreakEnd(position)) {
    position += backwards ? -1 : 1;
    moved = true;
  }
  if (!moved) return false;
  cursor.setPosition(position);
  setTextCursor(cursor);
  return true;
}

void TRichEditView::keyReleaseEvent(QKeyEvent* event) {
  InputFrame frame(window_);
  TInputKeys held = KeysOf(*event);
  if (window_) {
    int virtualKey = qt::VirtualKeyOf(*event);
    WPARAM key = WPARAM(virtualKey);
    if (virtualKey != 0) {
      UINT msg = (event->modifiers() & Qt::AltModifier) ? WM_SYSKEYUP : WM_KEYUP;
      bool go = window_->Filter(msg, key, KeyData(*event, true));
      if (!window_ || !go || key == 0) return event->accept();
    }
  }
  QPlainTextEdit::keyReleaseEvent(event);
}

WPARAM TRichEditView::MouseKeys(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) const {
  WPARAM keys = 0;
  if (buttons & Qt::LeftButton) keys |= MK_LBUTTON;
  if (buttons & Qt::RightButton) keys |= MK_RBUTTON;
  if (buttons & Qt::MiddleButton) keys |= MK_MBUTTON;
  if (modifiers & Qt::ShiftModifier) keys |= MK_SHIFT;
  if (modifiers & Qt::ControlModifier) keys |= MK_CONTROL;
  return keys;
}

bool TRichEditView::FilterMouse(UINT msg, QMouseEvent* event) {
  if (!window_) return true;
  TInputKeys held = KeysOf(*event);
  QPoint client = viewport()->mapTo(this, event->position().toPoint());
  WPARAM keys = MouseKeys(event->buttons(), event->modifiers());
  bool go = window_->Filter(msg, keys, PointData(client.x(), client.y()));
  return window_ ? go : false;
}

template <class Act>
void TRichEditView::ButtonEvent(QMouseEvent* event, const ButtonMessages& messages, Act act) {
  InputFrame frame(window_);
  UINT msg = 0;
  switch (event->button()) {
    case Qt::LeftButton: msg = messages.Left; break;
    case Qt::RightButton: msg = messages.Right; break;
    case Qt::MiddleButton: msg = messages.Middle; break;
    default: break;
  }
  if (msg && !FilterMouse(msg, event)) return event->accept();
  // A press ends the composition here rather than through Qt, which would commit it
  // and reset the input method: an input method that commits on a reset then
  // commits it again, where the click has put the caret.
  if (msg == WM_LBUTTONDOWN) EndComposition();
  act();
}

void TRichEditView::mousePressEvent(QMouseEvent* event) {
  ButtonEvent(event, {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN},
              [&] { QPlainTextEdit::mousePressEvent(event); });
}

void TRichEditView::mouseReleaseEvent(QMouseEvent* event) {
  ButtonEvent(event, {WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP},
              [&] { QPlainTextEdit::mouseReleaseEvent(event); });
}

void TRichEditView::mouseDoubleClickEvent(QMouseEvent* event) {
  ButtonEvent(event, {WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK, WM_MBUTTONDBLCLK},
              [&] { QPlainTextEdit::mouseDoubleClickEvent(event); });
}

void TRichEditView::mouseMoveEvent(QMouseEvent* event) {
  InputFrame frame(window_);
  if (!FilterMouse(WM_MOUSEMOVE, event)) return event->accept();
  QPlainTextEdit::mouseMoveEvent(event);
}

void TRichEditView::wheelEvent(QWheelEvent* event) {
  InputFrame frame(window_);
  // Only a turn of the vertical wheel is WM_MOUSEWHEEL: a horizontal turn, or a
  // touchpad event without any wheel angle, just scrolls.
  int delta = event->angleDelta().y();
  if (window_ && delta != 0) {
    TInputKeys held = KeysOf(*event);
    WPARAM keys =
        MAKELONG(uint16_t(MouseKeys(event->buttons(), event->modifiers())), uint16_t(delta));
    QPoint screen = event->globalPosition().toPoint();
    bool go = window_->Filter(WM_MOUSEWHEEL, keys, PointData(screen.x(), screen.y()));
    if (!window_ || !go) return event->accept();
  }
  // The scroll area's own handling: QPlainTextEdit would zoom a read-only text on Ctrl+wheel.
  QAbstractScrollArea::wheelEvent(event);
}

void TRichEditView::focusInEvent(QFocusEvent* event) {
  QPlainTextEdit::focusInEvent(event);
  if (window_) window_->FocusGained();
}

void TRichEditView::focusOutEvent(QFocusEvent* event) {
  QPlainTextEdit::focusOutEvent(event);
  if (window_ && event->reason() != Qt::PopupFocusReason) window_->FocusLost();
}

void TRichEditView::dropEvent(QDropEvent* event) {
  // A text moved inside the view leaves one place and arrives at another.
  EditCapture capture(window_, cursorForPosition(event->position().toPoint()).position());
  QPlainTextEdit::dropEvent(event);
}

void TRichEditView::insertFromMimeData(const QMimeData* source) {
  if (!window_ || isReadOnly() || !source->hasText()) return;
  InputFrame frame(window_);
  window_->ReplaceSelection(qt::ToWide(source->text()));
  ensureCursorVisible();
}

void TRichEditView::inputMethodEvent(QInputMethodEvent* event) {
  if (RepeatsEndedComposition(*event)) return event->accept();
  const bool composing = Composing();
  const bool commits = !event->commitString().isEmpty() || event->replacementLength() > 0;
  const bool starts = !composing && (commits || !event->preeditString().isEmpty());
  if (window_ && starts) window_->EndTyping();
  {
    QScopedValueRollback<bool> handling(inInputMethod_, true);
    ActOnInputMethod(event);
  }
  if (window_ && commits) window_->EndTyping();
  if (Composing()) return ShowComposition(*event);
  if (composing && !event->commitString().isEmpty()) endedComposition_ = event->commitString();
}

void TRichEditView::ActOnInputMethod(QInputMethodEvent* event) {
  const QString commit = event->commitString();
  if (!window_ || isReadOnly() || !TRichEditText::NeedsReplace(commit)) {
    EditCapture capture(window_);
    return QPlainTextEdit::inputMethodEvent(event);
  }
  InputFrame frame(window_);
  // The composition's end and its commit are one edit: one undo step.
  EditCapture capture(window_);
  QInputMethodEvent composing(event->preeditString(), event->attributes());
  QPlainTextEdit::inputMethodEvent(&composing);
  // The committed text goes in through the text store, which keeps every character.
  if (window_) window_->ReplaceSelection(qt::ToWide(commit));
  event->accept();
}

bool TRichEditView::Composing() const {
  const QTextLayout* layout = textCursor().block().layout();
  return layout && !layout->preeditAreaText().isEmpty();
}

void TRichEditView::EndComposition() {
  if (inInputMethod_ || !Composing()) return;
  QInputMethodEvent commit;
  commit.setCommitString(textCursor().block().layout()->preeditAreaText());
  inputMethodEvent(&commit);
  if (QGuiApplication::focusObject() == this) QGuiApplication::inputMethod()->reset();
}

bool TRichEditView::RepeatsEndedComposition(const QInputMethodEvent& event) {
  if (endedComposition_.isEmpty()) return false;
  // The input method clearing what it showed comes with the copy, or instead of it.
  if (event.commitString().isEmpty() && event.preeditString().isEmpty()) return false;
  const bool repeats = event.preeditString().isEmpty() && event.replacementLength() == 0 &&
                       event.commitString() == endedComposition_;
  endedComposition_.clear();
  return repeats;
}

void TRichEditView::ShowComposition(const QInputMethodEvent& event) {
  const QTextLayout* layout = textCursor().block().layout();
  const int start = layout->preeditAreaPosition();
  const int length = int(layout->preeditAreaText().size());
  int caret = length;
  for (const QInputMethodEvent::Attribute& a : event.attributes())
    if (a.type == QInputMethodEvent::Cursor) caret = std::clamp(a.start, 0, length);
  ShowInBlock(start + length);
  ShowInBlock(start + caret);
  updateMicroFocus();  // the input method places its windows by the caret's new place
}

void TRichEditView::ShowInBlock(int position) {
  const QTextBlock block = textCursor().block();
  const QTextLine line = block.layout()->lineForTextPosition(position);
  if (!line.isValid()) return;
  const QRectF row = line.rect();
  auto origin = [&] { return blockBoundingGeometry(block).translated(contentOffset()).topLeft(); };
  QScrollBar* bar = verticalScrollBar();  // counts rows
  if (row.height() >= viewport()->height()) {
    bar->setValue(block.firstLineNumber() + line.lineNumber());  // as much of it as fits
  } else {
    while (origin().y() + row.bottom() > viewport()->height() && bar->value() < bar->maximum())
      bar->setValue(bar->value() + 1);
    while (origin().y() + row.top() < 0 && bar->value() > bar->minimum())
      bar->setValue(bar->value() - 1);
  }
  const qreal x = origin().x() + line.cursorToX(position);
  QScrollBar* across = horizontalScrollBar();  // counts pixels
  const int width = viewport()->width() - cursorWidth();
  if (x > width) across->setValue(across->value() + int(std::ceil(x)) - width);
  if (x < 0) across->setValue(across->value() + int(std::floor(x)));
}

QMimeData* TRichEditView::createMimeDataFromSelection() const {
  auto* mime = new QMimeData;
  if (window_) mime->setText(qt::ToQString(window_->SelectedText(false)).replace(u'\r', u'\n'));
  return mime;
}

}  // namespace magna
