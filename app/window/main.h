#pragma once
// TApp_TOOLMagna: the main window. A large-font text area between a toolbar and
// a four-label status line; the actions of ActionList1; clipboard watching as a
// member of the clipboard viewer chain; font size steps by button, Ctrl+Up/Down
// and Ctrl+wheel. The layout is built by mainLayout, the actions by mainActions,
// the captions by the status-line formatter; this class wires them.
// Typical use:
//   auto* window = new TApp_TOOLMagna;
//   window->AfterConstruction();   // FormCreate: settings, chain, show, raise

#include <QMainWindow>
#include <memory>

#include "app/fonts/fontDialog.h"
#include "app/session/mySettings.h"
#include "app/window/mainActions.h"
#include "app/window/mainLayout.h"
#include "editor/myEdit.h"
#include "platform/myWindows.h"

namespace magna {

struct TStatusCaptions;
class TMainExtras;
class TMainWindowOptions;
class TSettingsAutosave;
class TDelayTimer;

class TApp_TOOLMagna : public QMainWindow,
                       public TMainActions,
                       public TStatusPanel,
                       public TPopupMenu {
  Q_OBJECT
 public:
  explicit TApp_TOOLMagna(QWidget* parent = nullptr);
  ~TApp_TOOLMagna() override;

  /// Runs FormCreate; called once the window and all its components are constructed.
  void AfterConstruction();
  /// The window's handle in the message layer (its place in the viewer chain).
  platform::HWND Handle() const { return handle_; }
  /// 1 from the end of FormCreate to the start of FormDestroy.
  int Ready() const { return FReady; }
  /// The next window of the clipboard viewer chain; nullptr when this one is last.
  platform::HWND NextViewer() const { return FNextViewer; }
  /// What this window last cut or copied; emptied by every clipboard change notice.
  const WideString& CopiedText() const { return FCopiedText; }
  /// The later additions (details panel, full screen, selection watching).
  TMainExtras& Extras() const { return *extras_; }

  // Components (the action list, status panel and popup menu are the bases' members)
  QToolBar* ToolBar1 = nullptr;
  TMyMemo* Memo_Text = nullptr;
  TFontDialog* FontDialog1 = nullptr;
  /// Tab for the hidden __mniPEdit_Tab entry: Qt gives hidden entries no shortcut.
  QAction* TabKey = nullptr;
  /// Where LoadSettings and SaveSettings keep the settings (beside the program, or
  /// in the user's configuration folder where it can't be kept there).
  WideString SettingsFileName = ProgramSettingsFile();

  // Handlers. Run by an action or a message, a handler's failure stops there: a
  // beep, and the window stays usable. Called directly, they may raise.
  /// Loads the settings, joins the viewer chain, shows the window and raises it.
  void FormCreate();
  /// Marks the window not ready, hides it, leaves the chain and saves the settings.
  void FormDestroy();
  /// The session manager's request to save (the session may end without a close):
  /// the settings as the close writes them, at once.
  void CommitSettings();
  void Action_FileExitExecute(QObject* Sender);
  void Action_EditUndoExecute(QObject* Sender);
  void Action_EditRedoExecute(QObject* Sender);
  void Action_EditCutExecute(QObject* Sender);
  void Action_EditCopyExecute(QObject* Sender);
  void Action_EditPasteExecute(QObject* Sender);
  void Action_EditDeleteExecute(QObject* Sender);
  void Action_EditSelectAllExecute(QObject* Sender);
  void Action_TextReplaceExecute(QObject* Sender);
  void Action_TextClearExecute(QObject* Sender);
  void Action_TextCheckClipboardExecute(QObject* Sender);
  void Action_TextWrapExecute(QObject* Sender);
  void Action_FontSelExecute(QObject* Sender);
  /// Both size actions: one step up or down, told apart by Sender.
  void Action_FontSizeUpExecute(QObject* Sender);
  void Action_HelpVersionInfoExecute(QObject* Sender);
  void Action_ViewCharDetailsExecute(QObject* Sender);
  /// The full-screen action and Esc while full screen, told apart by Sender.
  void Action_ViewFullScreenExecute(QObject* Sender);
  void Memo_TextKeyDown(TObject* Sender, uint16_t& Key, TShiftState Shift);
  void Memo_TextKeyUp(TObject* Sender, uint16_t& Key, TShiftState Shift);
  void Memo_TextMouseWheel(TObject* Sender, TShiftState Shift, int WheelDelta, TPoint MousePos,
                           bool& Handled);
  /// The status line and the action enabling follow the caret.
  void Memo_TextSelectionChange(TObject* Sender);
  /// Enables the actions by the text area's state and the clipboard.
  void PopupMenu_MainPopup(QObject* Sender);
  /// Inserts one TAB in place of the selection.
  void __mniPEdit_TabClick(QObject* Sender);
  /// A text read from elsewhere (clipboard, selection) in place of the whole text,
  /// caret at the start, unless it is empty or the text shown already.
  void ShowTextFromElsewhere(const WideString& text);

  /// Joins the viewer chain first; the notice that comes at once reads the clipboard
  /// when watching is on. NextViewer takes the window that was first.
  void JoinClipboardChain();
  /// Leaves the viewer chain; nothing when the window is not in it.
  void LeaveClipboardChain();
  /// Ctrl+key: remembered in FCtrlKey; the size and paragraph keys are kept from the text.
  void FilterCtrlKey(uint16_t& Key, TShiftState Shift);
  /// Raises the window once in front of the others without keeping it on top.
  void BringToFront();

 protected:
  /// The window's settings; they come with the settings file.
  virtual void LoadSettings();
  virtual void SaveSettings();
  /// The timer the settings' write waits on after a change.
  virtual std::unique_ptr<TDelayTimer> MakeSettingsTimer();
  /// A move or a resize is a change of the bounds the settings keep.
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  class TWindowLink;
  platform::LRESULT WndProc(platform::UINT msg, platform::WPARAM wParam, platform::LPARAM lParam);
  void WMDrawClipboard();
  /// Asks what the clipboard offers, once per change notice.
  void RememberClipboardOffer();
  void WMChangeCBChain(platform::HWND removed, platform::HWND next);
  void BuildComponents();
  void BindActions();
  void BindMemoEvents();
  void ShowCaptions(const TStatusCaptions& captions);
  /// One size step up or down (by Sender); `large` makes it 5.
  void StepFontSize(QObject* Sender, bool large);
  template <class Handler>
  void Bind(QAction* action, Handler handler);
  /// Something the settings keep changed: written a moment later.
  void SettingsChanged();

  std::unique_ptr<TWindowLink> link_;
  std::unique_ptr<TMainExtras> extras_;
  std::unique_ptr<TMainWindowOptions> settings_;  // what LoadSettings and SaveSettings touch
  std::unique_ptr<TSettingsAutosave> autosave_;   // from FormCreate on
  platform::HWND handle_ = nullptr;
  QWidget* client_ = nullptr;
  platform::HWND FNextViewer = nullptr;
  WideString FCopiedText;
  // What the clipboard offered at the last change notice (one arrives on joining
  // the chain). The enabling rules read this: the owner of the clipboard may be a
  // program that never answers, and a caret move must never wait for it.
  bool FClipboardHasText = false;
  bool FClipboardSecret = false;
  uint16_t FCtrlKey = 0;
  int FReady = 0;
  bool settingsLoaded_ = false;  // not when Shift+Ctrl skipped the load
  bool destroyed_ = false;
  bool testHook_ = false;
};

extern TApp_TOOLMagna* App_TOOLMagna;

/// Shows the text the command line gave in the window's text area, caret at the
/// start, status line and action enabling refreshed.
void ShowStartText(TApp_TOOLMagna& window, const WideString& text);

}  // namespace magna
