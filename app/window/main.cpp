#include "app/window/main.h"

#include <QApplication>
#include <QVBoxLayout>

#include "app/clipboard/clipboardChain.h"
#include "app/desktop/captionLanguage.h"
#include "app/desktop/helpPage.h"
#include "app/desktop/myKeys.h"
#include "app/fonts/fontSizeStep.h"
#include "app/session/mySettings.h"
#include "app/session/optionSettings.h"
#include "app/session/settingsAutosave.h"
#include "app/window/actionShortcutFilter.h"
#include "app/window/ctrlKeyFilter.h"
#include "app/window/mainExtras.h"
#include "app/window/myHelpVersionInfo.h"
#include "app/window/testHook.h"
#include "platform/log.h"
#include "platform/qt/qtFont.h"
#include "platform/services.h"
#include "text/character/myStatusLine.h"
#include "text/myUtils.h"

namespace magna {

using platform::HWND;
using platform::LPARAM;
using platform::LRESULT;
using platform::UINT;
using platform::WPARAM;

TApp_TOOLMagna* App_TOOLMagna = nullptr;

namespace {

constexpr int kWidth = 512;
constexpr int kHeight = 250;
constexpr uint16_t kKeyTab = 9;
constexpr uint16_t kKeyUp = 38;
constexpr uint16_t kKeyDown = 40;
constexpr int kKeyShift = 16;
// A failure of something the user asked for is heard as well as logged.
constexpr platform::OnFailure kHeard = platform::OnFailure::Beep;

/// The code unit at `i` with line breaks as the text area keeps them ("\r\n" and
/// "\n" read as "\r"); moves `i` past it.
char16_t NextUnified(const WideString& text, size_t& i) {
  const char16_t c = text[i++];
  if (c == u'\r' && i < text.size() && text[i] == u'\n') ++i;
  return c == u'\n' ? u'\r' : c;
}

/// Whether a text copied by another program (with LF breaks, say) is the text
/// shown. Compared in place: both may be tens of megabytes.
bool SameText(const WideString& a, const WideString& b) {
  if (a == b) return true;
  size_t i = 0, j = 0;
  while (i < a.size() && j < b.size())
    if (NextUnified(a, i) != NextUnified(b, j)) return false;
  return i == a.size() && j == b.size();
}

}  // namespace

/// The window's entry in the message layer: the clipboard chain talks to it.
class TApp_TOOLMagna::TWindowLink : public platform::TWindowObject {
 public:
  explicit TWindowLink(TApp_TOOLMagna* owner) : owner_(owner) {}
  LRESULT WindowProc(HWND, UINT msg, WPARAM wParam, LPARAM lParam) override {
    return owner_->WndProc(msg, wParam, lParam);
  }

 private:
  TApp_TOOLMagna* owner_;
};

TApp_TOOLMagna::TApp_TOOLMagna(QWidget* parent)
    : QMainWindow(parent), link_(std::make_unique<TWindowLink>(this)) {
  handle_ = platform::AttachWindow(link_.get(), nullptr);
  testHook_ = !TestHookFile().isEmpty();
  BuildComponents();
  settings_ = std::make_unique<TMainWindowOptions>(
      *this, *Action_TextCheckClipboard, *Action_TextWrap, *Memo_Text,
      [this] { Action_TextWrapExecute(nullptr); }, *extras_->Actions.Action_TextCheckSelection);
  BindActions();
  BindMemoEvents();
}

TApp_TOOLMagna::~TApp_TOOLMagna() {
  if (!destroyed_)
    platform::Guard(
        platform::kLogApp, "closing the main window", [this] { FormDestroy(); }, kHeard);
  platform::DestroyWindow(handle_);
  if (App_TOOLMagna == this) App_TOOLMagna = nullptr;
}

void TApp_TOOLMagna::BuildComponents() {
  setObjectName(QStringLiteral("App_TOOLMagna"));
  setWindowTitle(QStringLiteral("Magna"));
  resize(kWidth, kHeight);
  setFont(platform::qt::ToQFont(LayoutFont(u"ＭＳ Ｐゴシック", -12)));

  static_cast<TMainActions&>(*this) = CreateMainActions(this);
  addActions(QList<QAction*>(All.begin(), All.end()));
  ToolBar1 = BuildToolBar(this, *this);
  addToolBar(Qt::TopToolBarArea, ToolBar1);

  client_ = new QWidget(this);
  auto* column = new QVBoxLayout(client_);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  setCentralWidget(client_);

  Memo_Text = new TMyMemo(client_);
  Memo_Text->setObjectName(QStringLiteral("Memo_Text"));
  Memo_Text->SetBorderStyle(bsNone);
  Memo_Text->SetColor(clWindow);
  Memo_Text->SetFont(LayoutFont(u"ＭＳ Ｐ明朝", -96));
  Memo_Text->SetCharCode(cdAuto);
  Memo_Text->SetAutoFont(false);

  static_cast<TStatusPanel&>(*this) = BuildStatusPanel(client_);
  column->addWidget(Panel_Status);

  FontDialog1 = new TFontDialog(this);
  static_cast<TPopupMenu&>(*this) = BuildPopupMenu(Memo_Text, *this);
  Memo_Text->setContextMenuPolicy(Qt::CustomContextMenu);
  TabKey = new QAction(QStringLiteral("Tab"), Memo_Text);
  TabKey->setShortcut(QKeySequence(Qt::Key_Tab));
  TabKey->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  Memo_Text->addAction(TabKey);
  extras_ = std::make_unique<TMainExtras>(*this);
  new TActionShortcutFilter(Memo_Text, [this] {
    std::vector<QAction*> all = All;
    all.push_back(TabKey);
    all.insert(all.end(), extras_->Actions.All.begin(), extras_->Actions.All.end());
    return all;
  });
}

template <class Handler>
void TApp_TOOLMagna::Bind(QAction* action, Handler handler) {
  connect(action, &QAction::triggered, this,
          [this, action, handler, doing = "running " + action->objectName().toStdString()] {
            platform::Guard(
                platform::kLogApp, doing, [&] { (this->*handler)(action); }, kHeard);
          });
}

void TApp_TOOLMagna::BindActions() {
  Bind(Action_FileExit, &TApp_TOOLMagna::Action_FileExitExecute);
  Bind(Action_EditUndo, &TApp_TOOLMagna::Action_EditUndoExecute);
  Bind(Action_EditRedo, &TApp_TOOLMagna::Action_EditRedoExecute);
  Bind(Action_EditCut, &TApp_TOOLMagna::Action_EditCutExecute);
  Bind(Action_EditCopy, &TApp_TOOLMagna::Action_EditCopyExecute);
  Bind(Action_EditPaste, &TApp_TOOLMagna::Action_EditPasteExecute);
  Bind(Action_EditDelete, &TApp_TOOLMagna::Action_EditDeleteExecute);
  Bind(Action_EditSelectAll, &TApp_TOOLMagna::Action_EditSelectAllExecute);
  Bind(Action_TextReplace, &TApp_TOOLMagna::Action_TextReplaceExecute);
  Bind(Action_TextClear, &TApp_TOOLMagna::Action_TextClearExecute);
  Bind(Action_TextCheckClipboard, &TApp_TOOLMagna::Action_TextCheckClipboardExecute);
  Bind(Action_TextWrap, &TApp_TOOLMagna::Action_TextWrapExecute);
  Bind(Action_FontSel, &TApp_TOOLMagna::Action_FontSelExecute);
  Bind(Action_FontSizeUp, &TApp_TOOLMagna::Action_FontSizeUpExecute);
  Bind(Action_FontSizeDown, &TApp_TOOLMagna::Action_FontSizeUpExecute);
  Bind(Action_HelpVersionInfo, &TApp_TOOLMagna::Action_HelpVersionInfoExecute);
  Bind(mniPEdit_Tab, &TApp_TOOLMagna::__mniPEdit_TabClick);
  Bind(TabKey, &TApp_TOOLMagna::__mniPEdit_TabClick);
  const TExtraActions& extra = extras_->Actions;
  Bind(extra.Action_ViewCharDetails, &TApp_TOOLMagna::Action_ViewCharDetailsExecute);
  Bind(extra.Action_ViewFullScreen, &TApp_TOOLMagna::Action_ViewFullScreenExecute);
  Bind(extra.FullScreenEscape, &TApp_TOOLMagna::Action_ViewFullScreenExecute);
  for (QAction* kept :
       {Action_TextCheckClipboard, Action_TextWrap, extra.Action_TextCheckSelection})
    connect(kept, &QAction::toggled, this, [this] { SettingsChanged(); });
  connect(PopupMenu_Main, &QMenu::aboutToShow, this, [this] {
    platform::Guard(
        platform::kLogApp, "opening the popup menu",
        [this] { PopupMenu_MainPopup(PopupMenu_Main); }, kHeard);
  });
  connect(Memo_Text, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& pos) { PopupMenu_Main->popup(Memo_Text->mapToGlobal(pos)); });
}

void TApp_TOOLMagna::BindMemoEvents() {
  Memo_Text->OnSelectionChange = [this](TObject* s) { Memo_TextSelectionChange(s); };
  Memo_Text->OnKeyDown = [this](TObject* s, uint16_t& key, TShiftState shift) {
    Memo_TextKeyDown(s, key, shift);
  };
  Memo_Text->OnKeyUp = [this](TObject* s, uint16_t& key, TShiftState shift) {
    Memo_TextKeyUp(s, key, shift);
  };
  Memo_Text->OnMouseWheel = [this](TObject* s, TShiftState shift, int delta, TPoint pos,
                                   bool& handled) {
    Memo_TextMouseWheel(s, shift, delta, pos, handled);
  };
}

void TApp_TOOLMagna::AfterConstruction() {
  FormCreate();
}

// Start-up and shut-down

void TApp_TOOLMagna::FormCreate() {
  autosave_ =
      std::make_unique<TSettingsAutosave>(*settings_, SettingsFileName, MakeSettingsTimer());
  setWindowIcon(QApplication::windowIcon());
  static_cast<QVBoxLayout*>(client_->layout())->insertWidget(0, Memo_Text, 1);
  Memo_Text->SetAutoFont(true);
  for (TMyLabel* label :
       {Label_StatusChar, Label_StatusAnsi, Label_StatusUnicode, Label_StatusUtf8})
    label->SetCaption(WideString());
  LoadSettings();
  JoinClipboardChain();
  FReady = 1;
  show();
  if (!Memo_Text->IsEmpty()) Memo_TextSelectionChange(nullptr);
  BringToFront();
  // Changes count from here: the load's and the first show's are no user's. After
  // Shift+Ctrl skipped the load, only the close writes (and may be skipped too).
  if (settingsLoaded_) autosave_->Start();
}

void TApp_TOOLMagna::FormDestroy() {
  destroyed_ = true;
  if (autosave_) autosave_->Stop();  // the close decides alone, Shift+Ctrl included
  FReady = 0;
  hide();
  LeaveClipboardChain();
  extras_->LeaveFullScreen();  // the bounds saved are the window's, not the monitor's
  SaveSettings();
}

void TApp_TOOLMagna::LoadSettings() {
  settingsLoaded_ = magna::LoadSettings(*settings_, SettingsFileName);
}

void TApp_TOOLMagna::SaveSettings() {
  if (magna::SaveSettings(*settings_, SettingsFileName) && autosave_) autosave_->Written();
}

void TApp_TOOLMagna::CommitSettings() {
  SaveSettings();
}

std::unique_ptr<TDelayTimer> TApp_TOOLMagna::MakeSettingsTimer() {
  return MakeQtDelayTimer();
}

void TApp_TOOLMagna::SettingsChanged() {
  if (autosave_) autosave_->Changed();
}

void TApp_TOOLMagna::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  SettingsChanged();
}

void TApp_TOOLMagna::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  SettingsChanged();
}

void TApp_TOOLMagna::BringToFront() {
  // The window system decides the stacking of top-level windows here: a raise with
  // activation puts it in front once; nothing keeps it on top.
  raise();
  activateWindow();
}

// Clipboard viewer chain

void TApp_TOOLMagna::JoinClipboardChain() {
  FNextViewer = SetClipboardViewer(handle_);
  if (Action_TextCheckClipboard->isChecked()) extras_->WatchingOn();
}

void TApp_TOOLMagna::LeaveClipboardChain() {
  if (!ChangeClipboardChain(handle_, FNextViewer))
    platform::LogDebug(platform::kLogClipboard, "leaving the viewer chain: not a member");
}

LRESULT TApp_TOOLMagna::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
  const char* doing = msg == WM_DRAWCLIPBOARD   ? "handling a clipboard change notice"
                      : msg == WM_CHANGECBCHAIN ? "handling a clipboard chain change"
                                                : "handling a window message";
  platform::Guard(
      platform::kLogClipboard, doing,
      [&] {
        if (msg == WM_DRAWCLIPBOARD)
          WMDrawClipboard();
        else if (msg == WM_CHANGECBCHAIN)
          WMChangeCBChain(reinterpret_cast<HWND>(wParam), reinterpret_cast<HWND>(lParam));
      },
      kHeard);
  return 0;
}

void TApp_TOOLMagna::WMDrawClipboard() {
  if (FNextViewer) platform::SendMessageW(FNextViewer, WM_DRAWCLIPBOARD, 0, 0);
  RememberClipboardOffer();
  if (Action_TextCheckClipboard->isChecked()) {
    // What a password manager marks secret is never put on screen by watching;
    // the user's own Paste or Replace still takes it.
    if (FClipboardSecret)
      FCopiedText.clear();
    else
      Action_TextReplaceExecute(nullptr);
  }
  PopupMenu_MainPopup(nullptr);
}

void TApp_TOOLMagna::RememberClipboardOffer() {
  platform::ClipboardService& clipboard = platform::Clipboard();
  FClipboardHasText = clipboard.IsFormatAvailable(platform::ClipboardService::Format::AnsiText);
  FClipboardSecret = FClipboardHasText && clipboard.IsMarkedSecret();
}

void TApp_TOOLMagna::WMChangeCBChain(HWND removed, HWND next) {
  if (removed == FNextViewer) {
    FNextViewer = next;
  } else if (FNextViewer) {
    platform::SendMessageW(FNextViewer, WM_CHANGECBCHAIN, reinterpret_cast<WPARAM>(removed),
                           reinterpret_cast<LPARAM>(next));
  }
}

// Actions

void TApp_TOOLMagna::Action_FileExitExecute(QObject*) {
  close();
}

void TApp_TOOLMagna::Action_EditUndoExecute(QObject*) {
  Memo_Text->Undo();
}

void TApp_TOOLMagna::Action_EditRedoExecute(QObject*) {
  Memo_Text->Redo();
}

void TApp_TOOLMagna::Action_EditCutExecute(QObject*) {
  FCopiedText = Memo_Text->GetSelText();
  Memo_Text->CutToClipboard();
}

void TApp_TOOLMagna::Action_EditCopyExecute(QObject*) {
  FCopiedText = Memo_Text->GetSelText();
  Memo_Text->CopyToClipboard();
}

void TApp_TOOLMagna::Action_EditPasteExecute(QObject*) {
  Memo_Text->PasteFromClipboard();
}

void TApp_TOOLMagna::Action_EditDeleteExecute(QObject*) {
  Memo_Text->ClearSelection();
}

void TApp_TOOLMagna::Action_EditSelectAllExecute(QObject*) {
  Memo_Text->SelectAll();
}

void TApp_TOOLMagna::Action_TextReplaceExecute(QObject*) {
  const WideString text = GetClipboardText();
  if (!SameText(text, FCopiedText)) ShowTextFromElsewhere(text);
  FCopiedText.clear();
}

void TApp_TOOLMagna::ShowTextFromElsewhere(const WideString& text) {
  if (text.empty() || SameText(text, Memo_Text->Text())) return;
  // The text area first, as the steps below would take it: gaining the focus
  // places the caret under the mouse pointer, and a copy seen while the window is
  // in the background would otherwise lose its select-all to that (the new text
  // was put at the pointer, into the old one).
  Memo_Text->SetFocus();
  Memo_Text->SelectAll();
  Memo_Text->ClearSelection();
  // The text just read, not a second read: the owner may have stopped answering
  // (an empty paste would leave the text area empty) or copied something else.
  Memo_Text->SetSelText(text);
  Memo_Text->SetSelStart(0);
  extras_->TextShown(text);
  Memo_TextSelectionChange(nullptr);
}

void TApp_TOOLMagna::Action_TextClearExecute(QObject*) {
  Memo_Text->Clear();
  PopupMenu_MainPopup(nullptr);
  Memo_TextSelectionChange(nullptr);
}

void TApp_TOOLMagna::Action_TextCheckClipboardExecute(QObject*) {
  LeaveClipboardChain();
  JoinClipboardChain();
}

void TApp_TOOLMagna::Action_TextWrapExecute(QObject*) {
  Memo_Text->SetWordWrap(Action_TextWrap->isChecked());
}

void TApp_TOOLMagna::Action_FontSelExecute(QObject*) {
  FontDialog1->Font().Assign(*Memo_Text->Font());
  if (!FontDialog1->Execute()) return;
  Memo_Text->SetFont(FontDialog1->Font());
  SettingsChanged();
}

void TApp_TOOLMagna::Action_FontSizeUpExecute(QObject* Sender) {
  StepFontSize(Sender, IsKeyDown(kKeyShift));
}

void TApp_TOOLMagna::StepFontSize(QObject* Sender, bool large) {
  const int current = Memo_Text->Font()->Size();
  TSizeDirection direction;
  if (Sender == Action_FontSizeUp)
    direction = TSizeDirection::Up;
  else if (Sender == Action_FontSizeDown)
    direction = TSizeDirection::Down;
  else
    return;
  const int wanted = SteppedFontSize(current, direction, large);
  if (wanted == current) return;
  Memo_Text->Font()->SetSize(wanted);
  SettingsChanged();
}

void TApp_TOOLMagna::Action_HelpVersionInfoExecute(QObject*) {
  CreateVersionInfo(this);
  SetVersionInfoURL(HelpPageAddress().toStdU16String());
  // Where the settings are kept depends on where the program lies: say it here.
  SetVersionInfoMemo(Caption(u"設定ファイル: ").toStdU16String() + SettingsFileName);
  ShowVersionInfo();
  ReleaseVersionInfo();
}

void TApp_TOOLMagna::Action_ViewCharDetailsExecute(QObject*) {
  extras_->OpenCharDetails();
}

void TApp_TOOLMagna::Action_ViewFullScreenExecute(QObject* Sender) {
  if (Sender == extras_->Actions.FullScreenEscape)
    extras_->Actions.Action_ViewFullScreen->setChecked(false);
  extras_->ApplyFullScreen();
  if (autosave_) autosave_->SetHeld(extras_->FullScreen());
}

// Keys, wheel, enabling, status line

void TApp_TOOLMagna::FilterCtrlKey(uint16_t& Key, TShiftState Shift) {
  if (!InShift(Shift, ssCtrl)) return;
  FCtrlKey = Key;
  if (IsFilteredCtrlKey(Key)) Key = 0;
}

void TApp_TOOLMagna::Memo_TextKeyDown(TObject*, uint16_t& Key, TShiftState Shift) {
  FilterCtrlKey(Key, Shift);
  // The step is 5 when the key event itself carries Shift, however soon it is released.
  const bool large = InShift(Shift, ssShift);
  if (InShift(Shift, ssCtrl)) {
    if (FCtrlKey == kKeyUp) StepFontSize(Action_FontSizeUp, large);
    if (FCtrlKey == kKeyDown) StepFontSize(Action_FontSizeDown, large);
  } else if (Key == kKeyTab) {
    Key = 0;
  }
}

void TApp_TOOLMagna::Memo_TextKeyUp(TObject*, uint16_t&, TShiftState) {
  Memo_TextSelectionChange(nullptr);
}

void TApp_TOOLMagna::Memo_TextMouseWheel(TObject*, TShiftState Shift, int WheelDelta, TPoint,
                                         bool& Handled) {
  // A turn without any delta is no turn: it must not shrink the font.
  if (!InShift(Shift, ssCtrl) || WheelDelta == 0) return;
  Handled = true;
  StepFontSize(WheelDelta > 0 ? Action_FontSizeUp : Action_FontSizeDown, InShift(Shift, ssShift));
}

void TApp_TOOLMagna::PopupMenu_MainPopup(QObject*) {
  Action_EditUndo->setEnabled(Memo_Text->CanUndo());
  Action_EditRedo->setEnabled(Memo_Text->CanRedo());
  const bool selection = Memo_Text->HasSelection();
  Action_EditCut->setEnabled(selection);
  Action_EditDelete->setEnabled(selection);
  Action_EditPaste->setEnabled(FClipboardHasText);
  Action_TextReplace->setEnabled(FClipboardHasText);
  Action_EditSelectAll->setEnabled(!Memo_Text->IsEmpty());
  Action_EditCopy->setEnabled(selection);
}

void TApp_TOOLMagna::Memo_TextSelectionChange(TObject*) {
  if (FReady == 0 || platform::Ui().Terminated()) return;
  PopupMenu_MainPopup(nullptr);
  const TStatusCaptions captions =
      FormatStatusLine([this](int n) { return Memo_Text->GetTextAtCaret(n); });
  ShowCaptions(captions);
  extras_->CaretMoved();
  if (testHook_) WriteTestHook(Memo_Text->Text(), captions);
}

void TApp_TOOLMagna::ShowCaptions(const TStatusCaptions& captions) {
  Label_StatusChar->SetCaption(captions.Char);
  Label_StatusUnicode->SetCaption(captions.Unicode);
  Label_StatusUtf8->SetCaption(captions.Utf8);
  if (captions.CharMarked)
    Label_StatusChar->SetColor(clAqua);
  else
    Label_StatusChar->SetParentColor(true);
  Label_StatusAnsi->SetCaption(captions.Ansi);
}

void TApp_TOOLMagna::__mniPEdit_TabClick(QObject*) {
  Memo_Text->SetSelText(u"\t");
}

void ShowStartText(TApp_TOOLMagna& window, const WideString& text) {
  window.Memo_Text->SetText(text);
  window.Memo_Text->SetSelStart(0);
  window.Extras().TextShown(text);
  window.PopupMenu_MainPopup(nullptr);
  window.Memo_TextSelectionChange(nullptr);
}

}  // namespace magna
