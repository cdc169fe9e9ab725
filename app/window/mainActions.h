#pragma once
// ActionList1: every command of the main window as a QAction with the name,
// category, caption, hint, shortcuts and image of its row in the action list.
// The shortcut and the secondary shortcuts are kept apart as the action list
// keeps them (properties "ShortCut" and "SecondaryShortCuts"); Qt is given
// their union, each sequence once.

#include <QAction>
#include <QKeySequence>
#include <vector>

namespace magna {

struct TMainActions {
  QAction* Action_FileExit = nullptr;
  QAction* Action_EditUndo = nullptr;
  QAction* Action_EditRedo = nullptr;
  QAction* Action_EditCut = nullptr;
  QAction* Action_EditCopy = nullptr;
  QAction* Action_EditPaste = nullptr;
  QAction* Action_EditDelete = nullptr;
  QAction* Action_EditSelectAll = nullptr;
  QAction* Action_TextReplace = nullptr;
  QAction* Action_TextClear = nullptr;
  QAction* Action_TextCheckClipboard = nullptr;
  QAction* Action_TextWrap = nullptr;
  QAction* Action_FontSel = nullptr;
  QAction* Action_FontSizeUp = nullptr;
  QAction* Action_FontSizeDown = nullptr;
  QAction* Action_HelpVersionInfo = nullptr;
  /// Every action in the list's order.
  std::vector<QAction*> All;
};

/// Creates the actions, owned by `owner`, with their images.
TMainActions CreateMainActions(QObject* owner);

/// The key sequences an action answers to: its shortcut, then its secondary ones.
QList<QKeySequence> ActionShortcuts(const QAction* action);

}  // namespace magna
