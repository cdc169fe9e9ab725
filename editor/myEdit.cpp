#include "editor/myEdit.h"

#include <QResizeEvent>
#include <QVariant>

#include "platform/log.h"
#include "platform/qt/qtFont.h"
#include "platform/qt/virtualKeys.h"
#include "platform/services.h"

namespace magna {

using namespace platform;

namespace {

/// The dynamic property under which a widget keeps its window handle.
constexpr char WindowProperty[] = "magnaWindowHandle";

/// The window of the nearest ancestor widget that has one.
HWND AncestorWindow(const QWidget* widget) {
  for (const QWidget* w = widget ? widget->parentWidget() : nullptr; w; w = w->parentWidget()) {
    QVariant handle = w->property(WindowProperty);
    if (handle.isValid()) return reinterpret_cast<HWND>(handle.value<quintptr>());
  }
  return nullptr;
}

/// Held in the input event being reported (the platform's key state of the message).
bool KeyHeld(int virtualKey) {
  return (GetKeyState(virtualKey) & 0x8000) != 0;
}

}  // namespace

void SetWidgetWindow(QWidget* widget, HWND hwnd) {
  widget->setProperty(WindowProperty, QVariant::fromValue(reinterpret_cast<quintptr>(hwnd)));
}

/// The host's window object: hands every message to the control.
class TMyCustomEdit::HostWindow : public TWindowObject {
 public:
  explicit HostWindow(TMyCustomEdit* owner) : owner_(owner) {}
  LRESULT WindowProc(HWND, UINT msg, WPARAM wParam, LPARAM lParam) override {
    return owner_->HostWindowProc(msg, wParam, lParam);
  }
  TPoint ClientOrigin(HWND) override {
    QPoint origin = owner_->mapToGlobal(owner_->contentsRect().topLeft());
    return {origin.x(), origin.y()};
  }

 private:
  TMyCustomEdit* owner_;
};

TMyCustomEdit::TMyCustomEdit(QWidget* parent)
    : QFrame(parent),
      hostWindow_(std::make_unique<HostWindow>(this)),
      font_(std::make_unique<TFont>()) {
  setFocusPolicy(Qt::NoFocus);  // the rich-edit window takes the focus in the tab chain
  SetFont(TFont(*font_));
  SetBorderStyle(bsSingle);
}

TMyCustomEdit::~TMyCustomEdit() {
  wrapper_.reset();
  if (hostHandle_) DestroyWindow(hostHandle_);
  font_.reset();
}

HWND TMyCustomEdit::HostHandle() {
  if (!hostHandle_) {
    ++windowCreations_;
    hostHandle_ = AttachWindow(hostWindow_.get(), AncestorWindow(this));
    SetNativeView(hostHandle_, static_cast<QWidget*>(this));
    SetWidgetWindow(this, hostHandle_);
  }
  return hostHandle_;
}

void TMyCustomEdit::RecreateWnd() {
  HWND old = hostHandle_;
  hostHandle_ = nullptr;
  HostHandle();
  if (wrapper_) {
    wrapper_->RecreateWindow(GetWindowLongW(wrapper_->Handle, GWL_STYLE));
    LayoutEditWindow();
  }
  if (old) DestroyWindow(old);
}

QSize TMyCustomEdit::ClientSize() const {
  return contentsRect().size();
}

void TMyCustomEdit::SetWrapper(std::unique_ptr<TMyCustomEditControl> wrapper) {
  wrapper_ = std::move(wrapper);
  LayoutEditWindow();
}

void TMyCustomEdit::LayoutEditWindow() {
  if (wrapper_) {
    QSize client = ClientSize();
    wrapper_->SetBounds(0, 0, client.width(), client.height());
  }
  if (OnResize) OnResize(this);
}

void TMyCustomEdit::resizeEvent(QResizeEvent* event) {
  QFrame::resizeEvent(event);
  LayoutEditWindow();
}

void TMyCustomEdit::focusInEvent(QFocusEvent* event) {
  QFrame::focusInEvent(event);
  SetFocus();
  // The keys go to the rich-edit window's view. An edit made while the window was
  // in the background left the platform's focus on that window and Qt's on this
  // frame: SetFocus then tells the view nothing, and without this the keys typed
  // after the window is active again would go nowhere.
  if (wrapper_)
    if (auto* view = static_cast<QWidget*>(platform::GetNativeView(wrapper_->Handle)))
      view->setFocus(event->reason());
}

// Properties

TBorderStyle TMyCustomEdit::BorderStyle() const {
  return wrapper_ ? borderStyle_ : bsSingle;
}

void TMyCustomEdit::SetBorderStyle(TBorderStyle value) {
  borderStyle_ = value;
  setFrameStyle(value == bsSingle ? (QFrame::StyledPanel | QFrame::Sunken) : QFrame::NoFrame);
  if (wrapper_) wrapper_->SetBorder(false);
  LayoutEditWindow();
}

TColor TMyCustomEdit::Color() const {
  return wrapper_ ? wrapper_->Color : color_;
}

void TMyCustomEdit::SetColor(TColor value) {
  if (wrapper_) wrapper_->SetColor(value);
  color_ = value;
  parentColor_ = false;
}

void TMyCustomEdit::SetParentColor(bool value) {
  parentColor_ = value;
  if (!value || !parentWidget()) return;
  color_ = qt::FromQColor(parentWidget()->palette().color(QPalette::Window));
  if (wrapper_) wrapper_->SetColor(color_);
}

TMyWStringsOnAdd TMyCustomEdit::OnLoadProgress() const {
  return wrapper_ ? wrapper_->OnLoadProgress : TMyWStringsOnAdd();
}

void TMyCustomEdit::SetOnLoadProgress(TMyWStringsOnAdd handler) {
  if (wrapper_) wrapper_->OnLoadProgress = std::move(handler);
}

void TMyCustomEdit::SetFont(const TFont& value) {
  if (&value != font_.get()) font_->Assign(value);
  if (wrapper_) wrapper_->SetFont(font_.get());
}

bool TMyCustomEdit::HideSelection() const {
  return wrapper_ ? wrapper_->HideSelection : true;
}
void TMyCustomEdit::SetHideSelection(bool value) {
  if (wrapper_) wrapper_->SetHideSelection(value);
}
bool TMyCustomEdit::ReadOnly() const {
  return wrapper_ && wrapper_->ReadOnly;
}
void TMyCustomEdit::SetReadOnly(bool value) {
  if (wrapper_) wrapper_->SetReadOnly(value);
}
int32_t TMyCustomEdit::Tab() const {
  return wrapper_ ? wrapper_->Tab : 0;
}
void TMyCustomEdit::SetTab(int32_t value) {
  if (wrapper_) wrapper_->SetTab(value);
}
TAlignment TMyCustomEdit::Alignment() const {
  return wrapper_ ? wrapper_->Alignment : taLeftJustify;
}
void TMyCustomEdit::SetAlignment(TAlignment value) {
  if (wrapper_) wrapper_->SetAlignment(value);
}
bool TMyCustomEdit::AutoFont() const {
  return wrapper_ ? wrapper_->GetAutoFont() : true;
}
void TMyCustomEdit::SetAutoFont(bool value) {
  if (wrapper_) wrapper_->ChangeAutoFont(value);
}
TMyCharCode TMyCustomEdit::CharCode() const {
  return wrapper_ ? wrapper_->CharCode : cdAuto;
}
void TMyCustomEdit::SetCharCode(TMyCharCode value) {
  if (wrapper_) wrapper_->SetCharCode(value);
}
bool TMyCustomEdit::FindForward() const {
  return wrapper_ ? wrapper_->FindForward : true;
}
void TMyCustomEdit::SetFindForward(bool value) {
  if (wrapper_) wrapper_->FindForward = value;
}
bool TMyCustomEdit::FindIgnoreCase() const {
  return wrapper_ ? wrapper_->FindIgnoreCase : true;
}
void TMyCustomEdit::SetFindIgnoreCase(bool value) {
  if (wrapper_) wrapper_->FindIgnoreCase = value;
}
bool TMyCustomEdit::FindWholeWord() const {
  return wrapper_ && wrapper_->FindWholeWord;
}
void TMyCustomEdit::SetFindWholeWord(bool value) {
  if (wrapper_) wrapper_->FindWholeWord = value;
}

// Text and editing commands

WideString TMyCustomEdit::Text() const {
  return wrapper_ ? wrapper_->GetText() : WideString();
}
WideString TMyCustomEdit::HeldText() const {
  return wrapper_ ? wrapper_->GetText(false) : WideString();
}
void TMyCustomEdit::SetText(const WideString& value) {
  if (wrapper_) wrapper_->SetText(value);
}
void TMyCustomEdit::Clear() {
  if (wrapper_) wrapper_->Clear();
}
void TMyCustomEdit::Undo() {
  if (wrapper_) wrapper_->Undo();
}
void TMyCustomEdit::Redo() {
  if (wrapper_) wrapper_->Redo();
}
bool TMyCustomEdit::CanUndo() const {
  return wrapper_ && wrapper_->CanUndo();
}
bool TMyCustomEdit::CanRedo() const {
  return wrapper_ && wrapper_->CanRedo();
}
void TMyCustomEdit::CutToClipboard() {
  if (wrapper_) wrapper_->CutToClipboard();
}
void TMyCustomEdit::CopyToClipboard() {
  if (wrapper_) wrapper_->CopyToClipboard();
}
void TMyCustomEdit::PasteFromClipboard() {
  if (wrapper_) wrapper_->PasteFromClipboard();
}
void TMyCustomEdit::ClearSelection() {
  if (wrapper_) wrapper_->ClearSelection();
}
void TMyCustomEdit::SelectAll() {
  if (wrapper_) wrapper_->SelectAll();
}
int32_t TMyCustomEdit::SelStart() const {
  return wrapper_ ? wrapper_->GetSelStart() : 0;
}
void TMyCustomEdit::SetSelStart(int32_t value) {
  if (wrapper_) wrapper_->SetSelStart(value);
}
int32_t TMyCustomEdit::SelLength() const {
  return wrapper_ ? wrapper_->GetSelLength() : 0;
}
void TMyCustomEdit::SetSelLength(int32_t value) {
  if (wrapper_) wrapper_->SetSelLength(value);
}
bool TMyCustomEdit::GetModified() const {
  return wrapper_ && wrapper_->GetModified();
}
void TMyCustomEdit::SetModified(bool value) {
  if (wrapper_) wrapper_->SetModified(value);
}
int32_t TMyCustomEdit::CharFromPos(TPoint point) const {
  return wrapper_ ? wrapper_->CharFromPos(point) : 0;
}
bool TMyCustomEdit::Focused() const {
  return wrapper_ && wrapper_->Focused();
}

bool TMyCustomEdit::IsEmpty() const {
  return !wrapper_ || wrapper_->IsEmpty();
}
void TMyCustomEdit::SetSelText(const WideString& text) {
  if (wrapper_) wrapper_->SetSelText(text);
}
void TMyCustomEdit::LoadFromFile(const WideString& fileName) {
  SetCharCode(cdAuto);
  if (wrapper_) wrapper_->LoadFromFile(fileName);
}
void TMyCustomEdit::LoadFromFile(const WideString& fileName, TMyCharCode& charCode) {
  if (wrapper_) wrapper_->LoadFromFile(fileName, charCode);
}
void TMyCustomEdit::LoadFromFile(const WideString& fileName, TMyCharCode& charCode, uint64_t size) {
  if (wrapper_) wrapper_->LoadFromFile(fileName, charCode, size);
}
bool TMyCustomEdit::SaveToFile(const WideString& fileName) {
  return wrapper_ && wrapper_->SaveToFile(fileName);
}
bool TMyCustomEdit::SaveToFile(const WideString& fileName, TMyCharCode charCode) {
  return wrapper_ && wrapper_->SaveToFile(fileName, charCode);
}
WideString TMyCustomEdit::GetSelText() const {
  return wrapper_ ? wrapper_->GetSelText() : WideString();
}
WideString TMyCustomEdit::GetTextAtCaret(int32_t count) const {
  return wrapper_ ? wrapper_->GetTextAtCaret(count) : WideString();
}
WideString TMyCustomEdit::GetTextRange(int32_t start, int32_t count) const {
  return wrapper_ ? wrapper_->GetTextRange(start, count) : WideString();
}

// Focus

void TMyCustomEdit::SetFocus() {
  if (focusBusy_) return;
  focusBusy_ = true;
  struct Release {
    bool& busy;
    ~Release() { busy = false; }
  } release{focusBusy_};
  // Qt's own focus handling may fail; the text gets the focus anyway.
  platform::Guard(platform::kLogEditor, "focusing the text area's host", [this] {
    if (isEnabled() && isVisible()) QWidget::setFocus(Qt::OtherFocusReason);
  });
  if (!wrapper_) {
    platform::SetFocus(HostHandle());
    return;
  }
  int32_t caret = -1;
  if (wrapper_->GetSelLength() == 0 && wrapper_->GetSelStart() >= 0)
    caret = wrapper_->GetSelStart();
  wrapper_->SetFocus();
  if (caret >= 0 && wrapper_ && wrapper_->GetSelStart() != caret) wrapper_->SetSelStart(caret);
}

void TMyCustomEdit::EnterControl() {
  SetFocus();
  if (OnEnter) OnEnter(this);
}

void TMyCustomEdit::PlaceCaretUnderMouse() {
  TPoint mouse = Screens().CursorPos();
  QRect bounds = geometry();
  if (parentWidget()) bounds.moveTopLeft(parentWidget()->mapToGlobal(bounds.topLeft()));
  if (!bounds.contains(QPoint(mouse.X, mouse.Y))) return;
  QPoint client = QPoint(mouse.X, mouse.Y) - mapToGlobal(contentsRect().topLeft());
  int32_t index = CharFromPos({client.x(), client.y()});
  if (index > 0) {
    SetSelLength(0);
    SetSelStart(index);
  }
}

// Notifications of the rich-edit window

LRESULT TMyCustomEdit::HostWindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  const char* doing =
      msg == WM_COMMAND ? "handling a text area command" : "handling a text area notification";
  platform::Guard(platform::kLogEditor, doing, [&] {
    if (msg == WM_COMMAND && wrapper_ && reinterpret_cast<HWND>(lParam) == wrapper_->Handle) {
      HandleCommand(HIWORD(wParam));
      return;
    }
    if (msg == WM_NOTIFY) {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      if (!header || !wrapper_ || header->hwndFrom != wrapper_->Handle) return;
      result = HandleNotify(header);
    }
  });
  return result;
}

void TMyCustomEdit::HandleCommand(uint16_t code) {
  switch (code) {
    case EN_SETFOCUS:
      PlaceCaretUnderMouse();
      EnterControl();
      break;
    case EN_KILLFOCUS:
      if (OnExit) OnExit(this);
      break;
    case EN_CHANGE:
      if (OnChange) OnChange(this);
      break;
    case EN_UPDATE:
      if (OnUpdate) OnUpdate(this);
      break;
    case EN_HSCROLL:
      if (OnHScroll && wrapper_)
        OnHScroll(this, int32_t(SendMessageW(wrapper_->Handle, EM_GETTHUMB, 0, 0)));
      break;
    case EN_VSCROLL:
      if (OnVScroll && wrapper_)
        OnVScroll(this, int32_t(SendMessageW(wrapper_->Handle, EM_GETTHUMB, 0, 0)));
      break;
    default: break;
  }
}

LRESULT TMyCustomEdit::HandleNotify(NMHDR* header) {
  if (header->code == EN_SELCHANGE) {
    if (OnSelectionChange) OnSelectionChange(this);
    return 0;
  }
  if (header->code == EN_MSGFILTER) return HandleMsgFilter(reinterpret_cast<MSGFILTER*>(header));
  return 0;
}

TShiftState TMyCustomEdit::CurrentShiftState() const {
  TShiftState shift = 0;
  if (KeyHeld(qt::VK_SHIFT)) shift |= ssShift;
  if (KeyHeld(qt::VK_CONTROL)) shift |= ssCtrl;
  if (KeyHeld(qt::VK_MENU)) shift |= ssAlt;
  return shift;
}

LRESULT TMyCustomEdit::HandleMsgFilter(MSGFILTER* filter) {
  TShiftState shift = CurrentShiftState();
  switch (filter->msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP: {
      bool down = filter->msg == WM_KEYDOWN || filter->msg == WM_SYSKEYDOWN;
      const TKeyEvent& handler = down ? OnKeyDown : OnKeyUp;
      if (!handler) return 0;
      uint16_t key = uint16_t(filter->wParam);
      handler(this, key, shift);
      filter->wParam = key;
      return 0;
    }
    case WM_CHAR: {
      if (!OnKeyPress) return 0;
      char16_t key = char16_t(filter->wParam);
      OnKeyPress(this, key);
      filter->wParam = key;
      return 0;
    }
    case WM_MOUSEWHEEL: return RaiseMouseWheel(filter) ? 1 : 0;
    default: RaiseMouseEvent(filter, shift); return 0;
  }
}

void TMyCustomEdit::RaiseMouseEvent(MSGFILTER* filter, TShiftState shift) {
  int x = GET_X(uintptr_t(filter->lParam)), y = GET_Y(uintptr_t(filter->lParam));
  switch (filter->msg) {
    case WM_MOUSEMOVE:
      if (OnMouseMove) OnMouseMove(this, shift, x, y);
      return;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      if (OnMouseDown)
        OnMouseDown(this,
                    filter->msg == WM_LBUTTONDOWN   ? mbLeft
                    : filter->msg == WM_RBUTTONDOWN ? mbRight
                                                    : mbMiddle,
                    shift, x, y);
      return;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      if (OnMouseUp)
        OnMouseUp(this,
                  filter->msg == WM_LBUTTONUP   ? mbLeft
                  : filter->msg == WM_RBUTTONUP ? mbRight
                                                : mbMiddle,
                  shift, x, y);
      return;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
      if (OnDblClick) OnDblClick(this);
      return;
    default: return;
  }
}

bool TMyCustomEdit::RaiseMouseWheel(MSGFILTER* filter) {
  if (!OnMouseWheel) return false;
  bool handled = false;
  int delta = GET_Y(filter->wParam);
  TPoint position{GET_X(uintptr_t(filter->lParam)), GET_Y(uintptr_t(filter->lParam))};
  OnMouseWheel(this, CurrentShiftState(), delta, position, handled);
  if (!handled) SendMessageW(GetParent(hostHandle_), WM_MOUSEWHEEL, filter->wParam, filter->lParam);
  return handled;
}

// TMyMemo

TMyMemo::TMyMemo(QWidget* parent) : TMyCustomEdit(parent) {
  resize(185, 89);
  SetWrapper(std::make_unique<TMyMemoControl>(this));
  SetCharCode(cdAuto);
}

TMyMemo::~TMyMemo() = default;

TMyMemoControl* TMyMemo::MemoWrapper() const {
  return static_cast<TMyMemoControl*>(Wrapper());
}

TMyNewLine TMyMemo::NewLine() const {
  return Wrapper() ? Wrapper()->NewLine : nlCRLF;
}
void TMyMemo::SetNewLine(TMyNewLine value) {
  if (Wrapper()) Wrapper()->NewLine = value;
}
TScrollStyle TMyMemo::ScrollBars() const {
  return MemoWrapper() ? MemoWrapper()->ScrollBars : ssBoth;
}
void TMyMemo::SetScrollBars(TScrollStyle value) {
  if (MemoWrapper()) MemoWrapper()->SetScrollBars(value);
}
bool TMyMemo::WideLine() const {
  return MemoWrapper() && MemoWrapper()->WideLine;
}
void TMyMemo::SetWideLine(bool value) {
  if (MemoWrapper()) MemoWrapper()->SetWideLine(value);
}
bool TMyMemo::WordWrap() const {
  return MemoWrapper() && MemoWrapper()->WordWrap;
}
void TMyMemo::SetWordWrap(bool value) {
  if (MemoWrapper()) MemoWrapper()->SetWordWrap(value);
}
bool TMyMemo::HasSelection() const {
  return Wrapper() && Wrapper()->HasSelection();
}
WideString TMyMemo::GetLine(int32_t index) const {
  return MemoWrapper() ? MemoWrapper()->GetLine(index) : WideString();
}
int32_t TMyMemo::CaretLine() const {
  return MemoWrapper() ? MemoWrapper()->GetCaretLine() : 0;
}
int32_t TMyMemo::CaretColumn() const {
  return MemoWrapper() ? MemoWrapper()->GetCaretColumn() : 0;
}
int32_t TMyMemo::LineCount() const {
  return MemoWrapper() ? MemoWrapper()->GetLineCount() : 0;
}

bool TMyMemo::SaveToFile(const WideString& fileName, TMyCharCode charCode, TMyNewLine newLine) {
  return MemoWrapper() && MemoWrapper()->SaveToFileNewLine(fileName, charCode, newLine);
}

void TMyMemo::HandleCommand(uint16_t code) {
  if (code == EN_CHANGE && autoIndent_) InsertPendingIndent();
  TMyCustomEdit::HandleCommand(code);
}

LRESULT TMyMemo::HandleMsgFilter(MSGFILTER* filter) {
  bool isReturn = filter->msg == WM_KEYDOWN && filter->wParam == VK_RETURN;
  if (autoIndent_ && isReturn) RememberIndent();
  LRESULT result = TMyCustomEdit::HandleMsgFilter(filter);
  if (isReturn && filter->wParam == 0) ForgetIndent();  // the handler kept the Return out
  return result;
}

void TMyMemo::RememberIndent() {
  ForgetIndent();
  if (ReadOnly()) return;
  WideString line = GetLine(CaretLine());
  size_t limit = std::min(line.size(), size_t(std::max(CaretColumn(), 0)));
  size_t n = 0;
  while (n < limit && (line[n] == u' ' || line[n] == u'\t')) ++n;
  pendingIndent_ = line.substr(0, n);
  caretAfterReturn_ = SelStart() + 1;
}

void TMyMemo::ForgetIndent() {
  pendingIndent_.clear();
  caretAfterReturn_ = -1;
}

void TMyMemo::InsertPendingIndent() {
  if (pendingIndent_.empty()) return;
  // Taken first: the insertion reports its own change, which must not repeat it.
  WideString indent = std::move(pendingIndent_);
  int32_t caret = caretAfterReturn_;
  ForgetIndent();
  // Only the change that the Return made takes its indent: a Return that inserted
  // nothing must not indent whatever text changes next.
  bool afterBreak =
      SelLength() == 0 && SelStart() == caret && caret > 0 && GetTextRange(caret - 1, 1) == u"\r";
  if (afterBreak) SetSelText(indent);
}

}  // namespace magna
