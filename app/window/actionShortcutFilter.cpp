#include "app/window/actionShortcutFilter.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace magna {

TActionShortcutFilter::TActionShortcutFilter(QWidget* area,
                                             std::function<std::vector<QAction*>()> actions)
    : QObject(area), area_(area), actions_(std::move(actions)) {
  qApp->installEventFilter(this);
}

TActionShortcutFilter::~TActionShortcutFilter() {
  qApp->removeEventFilter(this);
}

bool TActionShortcutFilter::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::ShortcutOverride || !watched->isWidgetType()) return false;
  auto* widget = static_cast<QWidget*>(watched);
  if (widget != area_ && !area_->isAncestorOf(widget)) return false;
  const QKeySequence pressed(static_cast<QKeyEvent*>(event)->keyCombination());
  for (QAction* action : actions_()) {
    if (action->isEnabled() && action->shortcuts().contains(pressed)) {
      event->ignore();
      return true;  // unclaimed: Qt's shortcut map hands the key to the action
    }
  }
  return false;
}

}  // namespace magna
