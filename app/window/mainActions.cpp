#include "app/window/mainActions.h"

#include "app/desktop/captionLanguage.h"
#include "app/window/actionImages.h"

namespace magna {

namespace {

struct TActionEntry {
  QAction* TMainActions::*Field;
  const char* Name;
  const char16_t* Category;
  const char16_t* Caption;
  const char16_t* Hint;
  QKeySequence ShortCut;
  QList<QKeySequence> SecondaryShortCuts;
  int ImageIndex;
  bool AutoCheck = false;
  bool Checked = false;
};

QString Q(const char16_t* text) {
  return QString::fromUtf16(text);
}

const std::vector<TActionEntry>& ActionTable() {
  using T = TMainActions;
  const QKeySequence none;
  const QKeySequence redo(Qt::SHIFT | Qt::CTRL | Qt::Key_Z);
  static const std::vector<TActionEntry> table = {
      {&T::Action_FileExit,
       "Action_FileExit",
       u"ファイル",
       u"終了",
       u"終了",
       QKeySequence(Qt::ALT | Qt::Key_F4),
       {},
       9},
      {&T::Action_EditUndo,
       "Action_EditUndo",
       u"編集",
       u"元に戻す(&U)",
       u"元に戻す",
       QKeySequence(Qt::CTRL | Qt::Key_Z),
       {},
       12},
      {&T::Action_EditRedo,
       "Action_EditRedo",
       u"編集",
       u"やり直し(&R)",
       u"やり直し",
       redo,
       {redo},
       13},
      {&T::Action_EditCut,
       "Action_EditCut",
       u"編集",
       u"切り取り(&T)",
       u"選択範囲を切り取り",
       QKeySequence(Qt::CTRL | Qt::Key_X),
       {},
       14},
      {&T::Action_EditCopy,
       "Action_EditCopy",
       u"編集",
       u"コピー(&C)",
       u"選択範囲をコピー",
       QKeySequence(Qt::CTRL | Qt::Key_C),
       {},
       15},
      {&T::Action_EditPaste,
       "Action_EditPaste",
       u"編集",
       u"貼り付け(&P)",
       u"貼り付け",
       QKeySequence(Qt::CTRL | Qt::Key_V),
       {},
       16},
      {&T::Action_EditDelete,
       "Action_EditDelete",
       u"編集",
       u"削除(&D)",
       u"選択範囲を削除",
       none,
       {},
       17},
      {&T::Action_EditSelectAll,
       "Action_EditSelectAll",
       u"編集",
       u"全て選択(&A)",
       u"すべて選択",
       QKeySequence(Qt::CTRL | Qt::Key_A),
       {},
       18},
      {&T::Action_TextReplace,
       "Action_TextReplace",
       u"テキスト",
       u"置き換え",
       u"テキストを置き換え",
       none,
       {},
       0},
      {&T::Action_TextClear,
       "Action_TextClear",
       u"テキスト",
       u"クリア",
       u"テキストをクリア",
       none,
       {},
       1},
      {&T::Action_TextCheckClipboard,
       "Action_TextCheckClipboard",
       u"テキスト",
       u"クリップボード監視",
       u"クリップボードに文字がコピーされたらすぐに貼り付け",
       none,
       {},
       2,
       true,
       false},
      {&T::Action_TextWrap,
       "Action_TextWrap",
       u"テキスト",
       u"右端で折り返す",
       u"右端で折り返す",
       none,
       {},
       7,
       true,
       true},
      {&T::Action_FontSel,
       "Action_FontSel",
       u"フォント",
       u"フォント選択...",
       u"フォント選択",
       none,
       {},
       4},
      {&T::Action_FontSizeUp,
       "Action_FontSizeUp",
       u"フォント",
       u"↑",
       u"フォントを大きくする",
       none,
       {},
       5},
      {&T::Action_FontSizeDown,
       "Action_FontSizeDown",
       u"フォント",
       u"↓",
       u"フォントを小さくする",
       none,
       {},
       6},
      {&T::Action_HelpVersionInfo,
       "Action_HelpVersionInfo",
       u"ヘルプ",
       u"バージョン情報(&V)",
       u"バージョン情報表示",
       none,
       {QKeySequence(Qt::Key_F1)},
       10},
  };
  return table;
}

QAction* CreateAction(const TActionEntry& entry, QObject* owner) {
  auto* action = new QAction(Caption(entry.Caption), owner);
  action->setObjectName(QString::fromLatin1(entry.Name));
  action->setProperty("Category", Q(entry.Category));
  action->setProperty("ShortCut", entry.ShortCut);
  action->setProperty("SecondaryShortCuts", QVariant::fromValue(entry.SecondaryShortCuts));
  action->setToolTip(Caption(entry.Hint));
  action->setStatusTip(Caption(entry.Hint));
  action->setProperty("ImageIndex", entry.ImageIndex);
  action->setIcon(ActionImage(entry.ImageIndex));
  action->setIconVisibleInMenu(true);
  action->setCheckable(entry.AutoCheck);
  action->setChecked(entry.Checked);
  action->setShortcuts(ActionShortcuts(action));
  return action;
}

}  // namespace

QList<QKeySequence> ActionShortcuts(const QAction* action) {
  QList<QKeySequence> keys;
  auto add = [&keys](const QKeySequence& key) {
    if (!key.isEmpty() && !keys.contains(key)) keys.append(key);
  };
  add(action->property("ShortCut").value<QKeySequence>());
  for (const QKeySequence& key :
       action->property("SecondaryShortCuts").value<QList<QKeySequence>>())
    add(key);
  return keys;
}

TMainActions CreateMainActions(QObject* owner) {
  TMainActions actions;
  for (const TActionEntry& entry : ActionTable()) {
    QAction* action = CreateAction(entry, owner);
    actions.*entry.Field = action;
    actions.All.push_back(action);
  }
  return actions;
}

}  // namespace magna
