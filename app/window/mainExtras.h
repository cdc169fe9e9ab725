#pragma once
// What the main window has beyond its action list and layout, made and held in one
// place so that the window only wires it: the extra actions and their popup
// entries, the character details panel (opened by F2, its entry, or a double
// click on the status line), full-screen presentation (F11, its entry; Esc or F11
// returns), the watching of the X11 selection (its entry, kept in [Options]) and
// the offer to repair mojibake (a bar above the status line and a popup entry).

#include <QObject>
#include <memory>

#include "app/clipboard/watchLimitNotice.h"
#include "app/window/extraActions.h"
#include "platform/myBase.h"

namespace magna {

class TApp_TOOLMagna;
class TCharDetailsPanel;
class TFullScreen;
class TRepairBar;
class TRepairOffer;
class TSelectionWatch;

class TMainExtras : public QObject {
 public:
  /// Made once the window's components exist; `window` outlives it.
  explicit TMainExtras(TApp_TOOLMagna& window);
  ~TMainExtras() override;

  TExtraActions Actions;
  TCharDetailsPanel* CharDetails = nullptr;  // owned by the window
  TRepairBar* RepairBar = nullptr;           // owned by the window
  TRepairOffer* Repair = nullptr;            // owned by this
  QAction* Action_TextRepair = nullptr;      // "文字化けを直す", owned by the window

  void OpenCharDetails();
  /// Enters or leaves full screen by the checked state of its action.
  void ApplyFullScreen();
  /// Back to the window as it was; the window's settings must see its own bounds.
  void LeaveFullScreen();
  bool FullScreen() const;
  /// At every status line update: the panel follows the caret.
  void CaretMoved();
  /// Each time the window joins the viewer chain with watching on.
  void WatchingOn();
  /// A text from elsewhere (clipboard, selection, command line) replaced the shown one.
  void TextShown(WideView text);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool WatchesSelection() const;
  void AddRepairOffer();

  TApp_TOOLMagna& window_;
  std::unique_ptr<TFullScreen> fullScreen_;
  std::unique_ptr<TSelectionWatch> selection_;
  TWatchLimitNotice watchLimit_;
};

}  // namespace magna
