#include "editor/myRichEdit.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>
#include <cstring>
#include <iterator>

#include "editor/myRichEditText.h"
#include "editor/myRichEditView.h"
#include "platform/log.h"
#include "platform/qt/qtFont.h"
#include "platform/qt/qtText.h"

namespace magna {

using namespace platform;

namespace {

/// Dialog units of the platform's default tab stops (eight average characters).
constexpr int DefaultTabStopDlu = 32;

/// One horizontal dialog unit in pixels: a quarter of the average width of the
/// Latin letters in the user-interface font, as the platform measures dialog
/// units with its dialog font whatever the control's own font. Measured with the
/// text's 72-point font, one tab stop would be wider than the window.
qreal DialogUnitWidth() {
  static const QString letters =
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
  const QFontMetricsF metrics(QApplication::font());
  return metrics.horizontalAdvance(letters) / qreal(letters.size()) / 4;
}

/// The text up to its terminating zero, not copied (texts of megabytes pass here).
WideView UpToNul(const char16_t* text) {
  return text ? WideView(text) : WideView();
}

/// A fixed-size name field, which need not end with a zero.
WideView UpToNul(const char16_t* text, size_t capacity) {
  size_t length = 0;
  while (length < capacity && text[length] != 0) ++length;
  return WideView(text, length);
}

QColor FromColorRef(COLORREF rgb) {
  return QColor(RedOf(rgb), GreenOf(rgb), BlueOf(rgb));
}
COLORREF ToColorRef(const QColor& c) {
  return RGB(c.red(), c.green(), c.blue());
}

QPoint ClientOffset(QWidget* parent) {
  auto* frame = qobject_cast<QFrame*>(parent);
  return frame ? frame->contentsRect().topLeft() : QPoint(0, 0);
}

bool IsKeyMessage(UINT msg) {
  return msg >= WM_KEYDOWN && msg <= WM_SYSKEYUP;
}
bool IsMouseMessage(UINT msg) {
  return msg >= WM_MOUSEMOVE && msg <= WM_MOUSEWHEEL;
}

std::unique_ptr<TWindowObject> MakeRichEdit(HWND hwnd) {
  return std::make_unique<TRichEditWindow>(hwnd);
}

}  // namespace

void ProvideRichEditLibrary() {
  ProvideLibrary(
      RichEditLibraryName, [] { RegisterClassW(RichEditClassName, MakeRichEdit); },
      [] { UnregisterClassW(RichEditClassName); });
}

TRichEditWindow::TRichEditWindow(HWND hwnd) : hwnd_(hwnd) {}

TRichEditWindow::~TRichEditWindow() {
  delete view_.data();
}

TRichEditView* TRichEditWindow::View() const {
  return view_;
}

TPoint TRichEditWindow::ClientOrigin(HWND hwnd) {
  if (!view_) return TWindowObject::ClientOrigin(hwnd);
  QPoint origin = view_->mapToGlobal(QPoint(0, 0));
  return {origin.x(), origin.y()};
}

LRESULT TRichEditWindow::WindowProc(HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_CREATE) return Create(*reinterpret_cast<const CREATESTRUCTW*>(lParam));
  if (msg == WM_DESTROY) {
    Destroy();
    return 0;
  }
  if (!view_) return 0;
  BeginInput();
  struct End {
    TRichEditWindow* window;
    ~End() { window->EndInput(); }
  } endInput{this};
  auto* ptr = reinterpret_cast<void*>(lParam);
  switch (msg) {
    case WM_SETTEXT: ReplaceAll(UpToNul(static_cast<const char16_t*>(ptr))); return 1;
    case WM_GETTEXTLENGTH: return text_->Length() + text_->LineCount() - 1;
    case WM_GETTEXT: return CopyOut(text_->Text(true), static_cast<char16_t*>(ptr), wParam);
    case EM_GETTEXTLENGTHEX:
      return GetTextLengthEx(reinterpret_cast<const GETTEXTLENGTHEX*>(wParam));
    case EM_GETTEXTEX:
      return GetTextEx(reinterpret_cast<const GETTEXTEX*>(wParam), static_cast<char16_t*>(ptr));
    case EM_GETSEL: return GetSel(wParam, lParam);
    case EM_SETSEL: SetSelection(int(intptr_t(wParam)), int(lParam)); return 0;
    case EM_EXGETSEL: *static_cast<CHARRANGE*>(ptr) = Selection(); return 0;
    case EM_EXSETSEL: {
      auto* range = static_cast<CHARRANGE*>(ptr);
      SetSelection(range->cpMin, range->cpMax);
      return Selection().cpMax;
    }
    case EM_GETSELTEXT: {
      WideString selected = SelectedText(false);
      return CopyOut(selected, static_cast<char16_t*>(ptr), selected.size() + 1);
    }
    case EM_REPLACESEL:
      ReplaceSelection(UpToNul(static_cast<const char16_t*>(ptr)));
      if (!wParam) undo_.Clear();
      return 0;
    case EM_GETMODIFY: return modified_ ? 1 : 0;
    case EM_SETMODIFY: modified_ = wParam != 0; return 0;
    case EM_GETLINECOUNT: return text_->LineCount();
    case EM_LINEINDEX:
      return text_->LineIndex(intptr_t(wParam) == -1 ? text_->LineFromChar(Selection().cpMin)
                                                     : int(intptr_t(wParam)));
    case EM_LINELENGTH: return LineLengthAt(wParam);
    case EM_LINEFROMCHAR:
      return text_->LineFromChar(intptr_t(wParam) == -1 ? Selection().cpMin
                                                        : int(intptr_t(wParam)));
    case EM_EXLINEFROMCHAR: return text_->LineFromChar(int(lParam));
    case EM_GETLINE: return GetLine(wParam, static_cast<char16_t*>(ptr));
    case EM_GETTEXTRANGE: {
      auto* range = static_cast<TEXTRANGEW*>(ptr);
      int end = range->chrg.cpMax < 0 ? text_->Length() : range->chrg.cpMax;
      WideString part = text_->Range(range->chrg.cpMin, end - range->chrg.cpMin);
      return CopyOut(part, range->lpstrText, part.size() + 1);
    }
    case EM_CANUNDO: return undo_.CanUndo() ? 1 : 0;
    case EM_UNDO: return Undo() ? 1 : 0;
    case EM_CANREDO: return undo_.CanRedo() ? 1 : 0;
    case EM_REDO: return Redo() ? 1 : 0;
    case EM_CHARFROMPOS: return CharFromPos(static_cast<const POINTL*>(ptr));
    case EM_GETTHUMB: return view_->verticalScrollBar()->value();
    case EM_SCROLLCARET:
    case 0x00B7:  // the plain edit control's number of the same request
      view_->ensureCursorVisible();
      return 0;
    case EM_SETBKGNDCOLOR: {
      COLORREF old = ToColorRef(background_);
      background_ =
          wParam ? QApplication::palette().color(QPalette::Base) : FromColorRef(COLORREF(lParam));
      ApplyColors();
      return LRESULT(old);
    }
    case EM_SETREADONLY:
      style_ = wParam ? (style_ | ES_READONLY) : (style_ & ~ES_READONLY);
      ApplyStyle();
      return 1;
    case EM_SETTABSTOPS:
      tabStopDlu_ = wParam == 0 ? 0 : *static_cast<const int32_t*>(ptr);
      ApplyTabStops();
      return 1;
    case EM_EXLIMITTEXT: return 0;  // the text has no limit anyway
    case EM_SETEVENTMASK: {
      DWORD old = eventMask_;
      eventMask_ = DWORD(lParam);
      return LRESULT(old);
    }
    case EM_GETEVENTMASK: return LRESULT(eventMask_);
    case EM_SETLANGOPTIONS:
      langOptions_ = DWORD(lParam);
      ApplyFont();
      return 1;
    case EM_GETLANGOPTIONS: return LRESULT(langOptions_);
    case WM_SETFONT:
      font_ = qt::ToQFont(wParam ? *reinterpret_cast<HFONT>(wParam) : *DefaultGuiFont());
      ApplyFont();
      return 0;
    case EM_SETCHARFORMAT: return SetCharFormat(static_cast<const CHARFORMATW*>(ptr));
    case WM_STYLECHANGED:
      if (int(intptr_t(wParam)) == GWL_STYLE) {
        style_ = GetWindowLongW(hwnd_, GWL_STYLE);
        ApplyStyle();
      }
      return 0;
    case WM_WINDOWPOSCHANGED: {
      auto* pos = static_cast<const WINDOWPOS*>(ptr);
      QPoint offset = ClientOffset(view_->parentWidget());
      view_->setGeometry(offset.x() + pos->x, offset.y() + pos->y, std::max(0, pos->cx),
                         std::max(0, pos->cy));
      return 0;
    }
    case WM_SETFOCUS:
      view_->setFocus(Qt::OtherFocusReason);
      Command(EN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS: Command(EN_KILLFOCUS); return 0;
    default: return 0;
  }
}

LRESULT TRichEditWindow::Create(const CREATESTRUCTW& cs) {
  parent_ = cs.hwndParent;
  auto* parentWidget = static_cast<QWidget*>(GetNativeView(parent_));
  view_ = new TRichEditView(this, parentWidget);
  text_ = new TRichEditText(view_->document());
  SetNativeView(hwnd_, view_.data());
  style_ = cs.style;
  QPoint offset = ClientOffset(parentWidget);
  view_->setGeometry(offset.x() + cs.x, offset.y() + cs.y, std::max(0, cs.cx), std::max(0, cs.cy));
  background_ = QApplication::palette().color(QPalette::Base);
  textColor_ = QApplication::palette().color(QPalette::Text);
  font_ = qt::ToQFont(*DefaultGuiFont());
  ApplyStyle();
  ApplyFont();
  QTextDocument* document = view_->document();
  QObject::connect(document, &QTextDocument::contentsChanged, view_, [this] { TextChanged(); });
  QObject::connect(
      document, &QTextDocument::contentsChange, view_,
      [this](int from, int removed, int added) { DocumentChanged(from, removed, added); });
  QObject::connect(view_, &QPlainTextEdit::cursorPositionChanged, view_,
                   [this] { SelectionMaybeChanged(); });
  QObject::connect(view_, &QPlainTextEdit::selectionChanged, view_,
                   [this] { SelectionMaybeChanged(); });
  QObject::connect(view_->verticalScrollBar(), &QScrollBar::valueChanged, view_,
                   [this] { Scrolled(true); });
  QObject::connect(view_->horizontalScrollBar(), &QScrollBar::valueChanged, view_,
                   [this] { Scrolled(false); });
  reported_ = Selection();
  if (cs.style & WS_VISIBLE) view_->show();
  return 0;
}

void TRichEditWindow::Destroy() {
  if (!view_) return;
  capture_.reset();
  TRichEditView* view = view_;
  view_ = nullptr;
  text_ = nullptr;
  view->Detach();
  QObject::disconnect(view->document(), nullptr, view, nullptr);
  QObject::disconnect(view, nullptr, view, nullptr);
  QObject::disconnect(view->verticalScrollBar(), nullptr, view, nullptr);
  QObject::disconnect(view->horizontalScrollBar(), nullptr, view, nullptr);
  view->hide();
  view->deleteLater();
  SetNativeView(hwnd_, nullptr);
}

void TRichEditWindow::ApplyStyle() {
  bool wrap = !(style_ & ES_AUTOHSCROLL);
  // Words wrap at spaces; a run without any break opportunity wraps anywhere
  // instead of running past the edge (and Japanese breaks between characters).
  view_->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  view_->setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
  QTextOption option = view_->document()->defaultTextOption();
  option.setAlignment((style_ & ES_RIGHT)    ? Qt::AlignRight
                      : (style_ & ES_CENTER) ? Qt::AlignHCenter
                                             : Qt::AlignLeft);
  view_->document()->setDefaultTextOption(option);
  // The vertical bar stays shown: were it to appear with a long new text, the
  // narrower view would make Qt give every block of it a layout object at once.
  view_->setVerticalScrollBarPolicy((style_ & WS_VSCROLL) ? Qt::ScrollBarAlwaysOn
                                                          : Qt::ScrollBarAlwaysOff);
  view_->setHorizontalScrollBarPolicy((style_ & WS_HSCROLL) ? Qt::ScrollBarAsNeeded
                                                            : Qt::ScrollBarAlwaysOff);
  view_->setFrameShape((style_ & WS_BORDER) ? QFrame::StyledPanel : QFrame::NoFrame);
  bool readOnly = style_ & ES_READONLY;
  view_->setReadOnly(readOnly);
  if (readOnly)
    view_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  ApplyColors();
}

void TRichEditWindow::ApplyFont() {
  QFont font = font_;
  if (!(langOptions_ & IMF_AUTOFONT)) font.setStyleStrategy(QFont::NoFontMerging);
  view_->setFont(font);
  ApplyTabStops();
}

void TRichEditWindow::ApplyTabStops() {
  int dlu = tabStopDlu_ > 0 ? tabStopDlu_ : DefaultTabStopDlu;
  view_->setTabStopDistance(std::max(1.0, dlu * DialogUnitWidth()));
}

void TRichEditWindow::ApplyColors() {
  QPalette palette = view_->palette();
  for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    palette.setColor(group, QPalette::Base, background_);
    palette.setColor(group, QPalette::Text, textColor_);
  }
  view_->setPalette(palette);
  view_->SetHideSelection(!(style_ & ES_NOHIDESEL));
}

LRESULT TRichEditWindow::SetCharFormat(const CHARFORMATW* format) {
  if (!format || format->cbSize < sizeof(CHARFORMATW)) return 0;
  DWORD mask = format->dwMask;
  if (mask & CFM_COLOR)
    textColor_ = (format->dwEffects & CFE_AUTOCOLOR) ? QApplication::palette().color(QPalette::Text)
                                                     : FromColorRef(format->crTextColor);
  if (mask & CFM_FACE)
    font_.setFamily(qt::ToQString(UpToNul(format->szFaceName, std::size(format->szFaceName))));
  if ((mask & CFM_SIZE) && format->yHeight > 0)  // twips: 1/20 point, 96 pixels per inch
    font_.setPixelSize(std::max(1, int(format->yHeight * 96 / (72 * 20))));
  if (mask & CFM_BOLD) font_.setBold(format->dwEffects & CFM_BOLD);
  if (mask & CFM_ITALIC) font_.setItalic(format->dwEffects & CFM_ITALIC);
  if (mask & CFM_UNDERLINE) font_.setUnderline(format->dwEffects & CFM_UNDERLINE);
  if (mask & CFM_STRIKEOUT) font_.setStrikeOut(format->dwEffects & CFM_STRIKEOUT);
  ApplyFont();
  ApplyColors();
  return 1;
}

LRESULT TRichEditWindow::GetTextLengthEx(const GETTEXTLENGTHEX* info) const {
  DWORD flags = info ? info->flags : 0;
  LRESULT length = text_->Length();
  if (flags & GTL_USECRLF) length += text_->LineCount() - 1;
  if ((flags & GTL_NUMBYTES) && !(flags & GTL_NUMCHARS)) length *= 2;
  return length;
}

LRESULT TRichEditWindow::GetTextEx(const GETTEXTEX* info, char16_t* buffer) {
  if (!info || !buffer) return 0;
  bool crlf = info->flags & GT_USECRLF;
  WideString text = (info->flags & GT_SELECTION) ? SelectedText(crlf) : text_->Text(crlf);
  return CopyOut(text, buffer, info->cb / sizeof(char16_t));
}

LRESULT TRichEditWindow::CopyOut(const WideString& text, char16_t* buffer, size_t capacity) const {
  if (!buffer || capacity == 0) return 0;
  size_t count = std::min(text.size(), capacity - 1);
  std::memcpy(buffer, text.data(), count * sizeof(char16_t));
  buffer[count] = 0;
  return LRESULT(count);
}

LRESULT TRichEditWindow::GetSel(WPARAM startOut, LPARAM endOut) const {
  CHARRANGE range = Selection();
  if (startOut) *reinterpret_cast<DWORD*>(startOut) = DWORD(range.cpMin);
  if (endOut) *reinterpret_cast<DWORD*>(endOut) = DWORD(range.cpMax);
  if (range.cpMax > 0xFFFF) return -1;
  return LRESULT(MAKELONG(uint16_t(range.cpMin), uint16_t(range.cpMax)));
}

LRESULT TRichEditWindow::LineLengthAt(WPARAM index) const {
  if (intptr_t(index) != -1) return text_->LineLength(text_->LineFromChar(int(intptr_t(index))));
  // -1: the characters of the selection's lines that are not selected.
  CHARRANGE range = Selection();
  int first = text_->LineFromChar(range.cpMin), last = text_->LineFromChar(range.cpMax);
  int lastEnd = text_->LineIndex(last) + text_->LineLength(last);
  return (range.cpMin - text_->LineIndex(first)) + (lastEnd - range.cpMax);
}

LRESULT TRichEditWindow::GetLine(WPARAM line, char16_t* buffer) const {
  if (!buffer || int(line) >= text_->LineCount()) return 0;
  uint16_t capacity = 0;
  std::memcpy(&capacity, buffer, sizeof capacity);
  int start = text_->LineIndex(int(line));
  WideString part = text_->Range(start, std::min<int>(capacity, text_->LineLength(int(line))));
  std::memcpy(buffer, part.data(), part.size() * sizeof(char16_t));  // no terminating zero
  return LRESULT(part.size());
}

LRESULT TRichEditWindow::CharFromPos(const POINTL* point) const {
  if (!point) return 0;
  QPoint inViewport = QPoint(point->x, point->y) - view_->viewport()->pos();
  return text_->ToText(view_->cursorForPosition(inViewport).position());
}

CHARRANGE TRichEditWindow::Selection() const {
  QTextCursor cursor = view_->textCursor();
  return {text_->ToText(cursor.selectionStart()), text_->ToText(cursor.selectionEnd())};
}

void TRichEditWindow::SetSelection(int anchor, int caret) {
  if (view_->Composing()) {
    // Indexes past the caret were meant for the text without the composition.
    const int at = text_->ToText(view_->textCursor().position()), before = text_->Length();
    EndComposition();
    const int committed = text_->Length() - before;
    if (anchor > at) anchor += committed;
    if (caret > at) caret += committed;
  }
  int length = text_->Length();
  QTextCursor cursor = view_->textCursor();
  if (anchor < 0) {  // deselect, caret kept
    cursor.clearSelection();
  } else {
    if (caret < 0 || caret > length) caret = length;
    anchor = std::min(anchor, length);
    cursor.setPosition(text_->ToDocument(anchor));
    cursor.setPosition(text_->ToDocument(caret), QTextCursor::KeepAnchor);
  }
  view_->setTextCursor(cursor);
}

WideString TRichEditWindow::SelectedText(bool crlf) const {
  if (!text_) return {};
  CHARRANGE range = Selection();
  WideString text = text_->Range(range.cpMin, range.cpMax - range.cpMin);
  if (!crlf) return text;
  WideString out;
  out.reserve(text.size());
  for (char16_t c : text) {
    out.push_back(c);
    if (c == u'\r') out.push_back(u'\n');
  }
  return out;
}

namespace {

/// Counts one of the window's own edits while it runs.
class OwnEdit {
 public:
  explicit OwnEdit(int& count) : count_(++count) {}
  ~OwnEdit() { --count_; }
  OwnEdit(const OwnEdit&) = delete;
  OwnEdit& operator=(const OwnEdit&) = delete;

 private:
  int& count_;
};

}  // namespace

void TRichEditWindow::EndComposition() {
  if (view_) view_->EndComposition();
}

void TRichEditWindow::ReplaceSelection(WideView text) {
  if (!view_) return;
  text = text.substr(0, text.find(u'\0'));  // the control's texts end at the first zero
  EndComposition();
  BeginInput();
  QTextCursor cursor = view_->textCursor();
  const int start = text_->ToText(cursor.selectionStart());
  const int end = text_->ToText(cursor.selectionEnd());
  bool record = captureDepth_ == 0;  // else part of what the capture finds
  if (record && !TRichEditUndo::Fits(size_t(end - start),
                                     size_t(text_->Length() - (end - start)) + text.size())) {
    undo_.Clear();  // a removal beyond the budget would push out every step, itself too
    record = false;
  }
  WideString removed = record ? text_->Range(start, end - start) : WideString();
  {
    OwnEdit own(ownEdits_);
    cursor.beginEditBlock();
    text_->Replace(cursor, text);
    cursor.endEditBlock();
  }
  view_->setTextCursor(cursor);
  if (record)
    undo_.Record(start, std::move(removed), text_->ToText(cursor.position()) - start, false,
                 size_t(text_->Length()));
  EndInput();
}

void TRichEditWindow::ReplaceAll(WideView text) {
  EndComposition();
  {
    OwnEdit own(ownEdits_);
    text_->SetAll(text);
  }
  undo_.Clear();
  QTextCursor start(view_->document());
  view_->setTextCursor(start);
  modified_ = false;
}

WideString TRichEditWindow::ReplaceRange(int start, int length, WideView text) {
  WideString replaced = text_->Range(start, length);
  BeginInput();
  QTextCursor cursor = view_->textCursor();
  cursor.setPosition(text_->ToDocument(start));
  cursor.setPosition(text_->ToDocument(start + length), QTextCursor::KeepAnchor);
  {
    OwnEdit own(ownEdits_);
    cursor.beginEditBlock();
    text_->Replace(cursor, text);
    cursor.endEditBlock();
  }
  view_->setTextCursor(cursor);
  EndInput();
  return replaced;
}

bool TRichEditWindow::Undo() {
  if (!view_) return false;
  EndComposition();
  return undo_.Undo([this](int s, int n, WideView t) { return ReplaceRange(s, n, t); },
                    size_t(text_->Length()));
}

bool TRichEditWindow::Redo() {
  if (!view_) return false;
  EndComposition();
  return undo_.Redo([this](int s, int n, WideView t) { return ReplaceRange(s, n, t); },
                    size_t(text_->Length()));
}

void TRichEditWindow::BeginCapture(int alsoAt) {
  if (captureDepth_++ > 0 || !view_) return;
  QTextCursor cursor = view_->textCursor();
  int from = cursor.selectionStart(), to = cursor.selectionEnd();
  if (alsoAt >= 0) {
    from = std::min(from, alsoAt);
    to = std::max(to, alsoAt);
  }
  capture_.emplace(*text_, from, to);
}

void TRichEditWindow::EndCapture() {
  if (--captureDepth_ > 0 || !capture_) return;
  TEditCapture::Result result = capture_->Finish();
  capture_.reset();
  if (result.kind == TEditCapture::Result::Edit)
    undo_.Record(result.start, std::move(result.removed), result.insertedLength, true,
                 size_t(text_->Length()));
  else if (result.kind == TEditCapture::Result::Unknown)
    undo_.Clear();
}

void TRichEditWindow::DocumentChanged(int from, int removed, int added) {
  if (capture_)
    capture_->Changed(from, removed, added);
  else if (ownEdits_ == 0 && (removed != 0 || added != 0))
    undo_.Clear();
}

void TRichEditWindow::Command(uint16_t code) {
  SendMessageW(parent_, WM_COMMAND, MAKELONG(uint16_t(GetDlgCtrlID(hwnd_)), code),
               reinterpret_cast<LPARAM>(hwnd_));
}

bool TRichEditWindow::Filter(UINT msg, WPARAM& wParam, LPARAM lParam) {
  if (IsKeyMessage(msg) && !Wants(ENM_KEYEVENTS)) return true;
  if (IsMouseMessage(msg) && !Wants(ENM_MOUSEEVENTS)) return true;
  MSGFILTER filter;
  filter.nmhdr = {hwnd_, GetDlgCtrlID(hwnd_), EN_MSGFILTER};
  filter.msg = msg;
  filter.wParam = wParam;
  filter.lParam = lParam;
  LRESULT result = SendMessageW(parent_, WM_NOTIFY, filter.nmhdr.idFrom, &filter);
  wParam = filter.wParam;
  return result == 0;
}

void TRichEditWindow::BeginInput() {
  ++inputDepth_;
}

void TRichEditWindow::EndInput() {
  if (--inputDepth_ > 0 || !view_) return;
  SelectionMaybeChanged();
  if (IsWindow(hwnd_) && view_) FlushChanges();
}

void TRichEditWindow::TextChanged() {
  modified_ = true;
  pendingChange_ = true;
  if (inputDepth_ > 0) return;
  // A change from inside the widget (input method, drag and drop): report it once
  // the widget has finished, never from inside the document's signal.
  QMetaObject::invokeMethod(
      view_,
      [hwnd = hwnd_] {
        auto* window = dynamic_cast<TRichEditWindow*>(GetWindowObject(hwnd));
        if (!window) return;
        TMessageFrame frame;
        platform::Guard(platform::kLogEditor, "reporting a change of the text", [window] {
          window->BeginInput();
          window->EndInput();
        });
      },
      Qt::QueuedConnection);
}

void TRichEditWindow::FlushChanges() {
  if (!pendingChange_) return;
  pendingChange_ = false;
  if (Wants(ENM_UPDATE)) Command(EN_UPDATE);
  if (IsWindow(hwnd_) && view_ && Wants(ENM_CHANGE)) Command(EN_CHANGE);
}

void TRichEditWindow::SelectionMaybeChanged() {
  if (inputDepth_ > 0 || !view_) return;
  CHARRANGE range = Selection();
  if (range.cpMin == reported_.cpMin && range.cpMax == reported_.cpMax) return;
  reported_ = range;
  if (!Wants(ENM_SELCHANGE)) return;
  SELCHANGE change;
  change.nmhdr = {hwnd_, GetDlgCtrlID(hwnd_), EN_SELCHANGE};
  change.chrg = range;
  int length = range.cpMax - range.cpMin;
  change.seltyp = length == 0 ? SEL_EMPTY : length == 1 ? SEL_TEXT : (SEL_TEXT | SEL_MULTICHAR);
  SendMessageW(parent_, WM_NOTIFY, change.nmhdr.idFrom, &change);
}

void TRichEditWindow::Scrolled(bool vertical) {
  if (Wants(ENM_SCROLL)) Command(vertical ? EN_VSCROLL : EN_HSCROLL);
}

void TRichEditWindow::FocusGained() {
  if (GetFocus() != hwnd_) SetFocus(hwnd_);
}

void TRichEditWindow::FocusLost() {
  if (GetFocus() == hwnd_) SetFocus(nullptr);
}

}  // namespace magna
