#pragma once
// THelp_VersionInfo: the modal about dialog. The program's icon, its name and
// version line and its description from the program's own version record, an
// optional extra text, and a link that opens the help page. It opens centred on
// the work area of the monitor under the mouse cursor (on the monitor nearest to
// the cursor when none holds it), can be enlarged but not made smaller than it
// first appeared, and is destroyed when closed.
// Typical use (in the main window):
//   CreateVersionInfo(this);
//   SetVersionInfoURL(helpAddress);
//   ShowVersionInfo();
//   ReleaseVersionInfo();

#include <QDialog>
#include <QPointer>
#include <functional>

#include "platform/myBase.h"
#include "text/myUtils.h"

class QLabel;
class QPushButton;

namespace magna {

class TMyLabel;
class TMyMemo;

class THelp_VersionInfo : public QDialog {
  Q_OBJECT
 public:
  /// Builds the layout and runs FormCreate; topmost when mainWindow is.
  explicit THelp_VersionInfo(QWidget* mainWindow = nullptr);
  ~THelp_VersionInfo() override;

  // Components
  QWidget* pnlVer = nullptr;
  QLabel* imgIcon = nullptr;
  TMyLabel* lblHelp_Ver = nullptr;
  TMyLabel* lblHelp_Description = nullptr;
  QWidget* pnlMemo = nullptr;
  QWidget* Shape2 = nullptr;
  QWidget* Shape3 = nullptr;
  TMyMemo* edtMemo = nullptr;
  QWidget* pnlCmd = nullptr;
  TMyLabel* lblURL = nullptr;
  QPushButton* btnClose = nullptr;
  /// 0 until the first show.
  int Tag = 0;
  /// What a click on the link calls; OpenDocument unless a test puts a recorder here.
  /// When it gives false, a message box says so and names the address.
  std::function<bool(const WideString& document, const WideString& parameters)> OnOpenDocument;

  /// The link row: shown with a text (widening the dialog to fit it), hidden without.
  void SetURL(const WideString& text);
  /// The extra text, trimmed; an empty one hides its panel.
  void SetMemo(const WideString& text);
  /// Centres the dialog on the work area of the monitor under the mouse cursor.
  void PlaceOnCursorMonitor();

 protected:
  void FormCreate(QWidget* mainWindow);
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildComponents();
  /// Sets the client size and lays the panels out at once (also while hidden).
  void SetClientSize(int width, int height);
  void LayoutPanels();
  void lblURLMouseEnter();
  void lblURLMouseLeave();
  void lblURLClick();

  int pnlCmdHeight_ = 50;
  bool overrideCursor_ = false;  // the application-wide hand cursor is ours to restore
};

/// The dialog that the procedures below work on; empty when there is none.
extern QPointer<THelp_VersionInfo> Help_VersionInfo;

/// "%sVer %s": the name (with ":" added) and the file version; the name falls back
/// to appTitle, then to the program file's name.
WideString VersionNameLine(const WideString& productTitle, const WideString& appTitle,
                           const WideString& programFile, const WideString& fileVersion);

/// Makes sure Help_VersionInfo is a live dialog; a new one follows mainWindow's
/// topmost state (the active window when none is given).
void CreateVersionInfo(QWidget* mainWindow = nullptr);
/// SetURL / SetMemo of Help_VersionInfo, made first when there is none.
void SetVersionInfoURL(const WideString& text);
void SetVersionInfoMemo(const WideString& text);
/// Refreshes the link and the extra text, then shows the dialog modally; nothing
/// when there is no dialog.
void ShowVersionInfo();
/// Queues the dialog's destruction and clears Help_VersionInfo (a dialog is made
/// first when there is none, and goes the same way).
void ReleaseVersionInfo();
/// Opens a file, folder or web address with the system's default handler; false
/// when that failed (nothing is reported). Parameters are not passed on.
bool OpenDocument(const WideString& document, const WideString& parameters);

}  // namespace magna
