#include "app/window/extraActions.h"

#include <QMenu>

#include "app/desktop/captionLanguage.h"

namespace magna {

namespace {

QAction* NewAction(QObject* owner, const char* name, const QString& caption,
                   const QKeySequence& key = {}) {
  auto* action = new QAction(caption, owner);
  action->setObjectName(QString::fromLatin1(name));
  action->setShortcut(key);
  return action;
}

}  // namespace

TExtraActions CreateExtraActions(QObject* owner) {
  TExtraActions a;
  a.Action_ViewCharDetails = NewAction(owner, "Action_ViewCharDetails", Caption(u"文字の詳細..."),
                                       QKeySequence(Qt::Key_F2));
  a.Action_ViewFullScreen =
      NewAction(owner, "Action_ViewFullScreen", Caption(u"全画面表示"), QKeySequence(Qt::Key_F11));
  a.Action_ViewFullScreen->setCheckable(true);
  a.Action_TextCheckSelection =
      NewAction(owner, "Action_TextCheckSelection", Caption(u"選択範囲も監視"));
  a.Action_TextCheckSelection->setCheckable(true);
  a.Action_TextCheckSelection->setToolTip(
      Caption(u"クリップボード監視中、ほかのプログラムで選択した文字もすぐに表示"));
  a.FullScreenEscape = NewAction(owner, "FullScreenEscape", Caption(u"全画面表示を終了"),
                                 QKeySequence(Qt::Key_Escape));
  a.FullScreenEscape->setEnabled(false);
  a.All = {a.Action_ViewCharDetails, a.Action_ViewFullScreen, a.Action_TextCheckSelection,
           a.FullScreenEscape};
  return a;
}

void AddExtraMenuEntries(QMenu* menu, const TExtraActions& a) {
  menu->addSeparator()->setObjectName(QStringLiteral("mniPLine_Extra"));
  for (QAction* action :
       {a.Action_ViewCharDetails, a.Action_ViewFullScreen, a.Action_TextCheckSelection})
    menu->addAction(action);
}

}  // namespace magna
