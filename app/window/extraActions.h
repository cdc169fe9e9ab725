#pragma once
// The commands beyond the action list, on the popup menu below its entries: the
// character details (F2), full-screen presentation (F11; Esc leaves it too) and
// watching the X11 selection beside the clipboard. The action list itself and
// the toolbar stay as laid out.

#include <QAction>
#include <vector>

class QMenu;

namespace magna {

struct TExtraActions {
  QAction* Action_ViewCharDetails = nullptr;     // "文字の詳細...", F2
  QAction* Action_ViewFullScreen = nullptr;      // "全画面表示", F11, checkable
  QAction* Action_TextCheckSelection = nullptr;  // "選択範囲も監視", checkable, off
  /// Esc while full screen: enabled only then, so that Esc means nothing else.
  QAction* FullScreenEscape = nullptr;
  /// The actions with a key, for the window and for the shortcut filter.
  std::vector<QAction*> All;
};

/// Creates the actions, owned by `owner`.
TExtraActions CreateExtraActions(QObject* owner);

/// Appends a separator and the three entries to the popup menu.
void AddExtraMenuEntries(QMenu* menu, const TExtraActions& actions);

}  // namespace magna
