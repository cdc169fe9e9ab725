#include "app/window/fullScreen.h"

#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace magna {

namespace {

constexpr Qt::WindowStates kSizedByState = Qt::WindowMaximized | Qt::WindowFullScreen;

}  // namespace

TFullScreen::TFullScreen(QWidget& window, std::vector<QWidget*> bars) : window_(window) {
  for (QWidget* bar : bars) bars_.emplace_back(bar);
}

void TFullScreen::Enter() {
  if (active_) return;
  active_ = true;
  before_ = window_.windowState() & ~Qt::WindowMinimized;
  normalGeometry_ = (before_ & kSizedByState) ? window_.normalGeometry() : window_.geometry();
  for (const QPointer<QWidget>& bar : bars_) {
    if (!bar || bar->isHidden()) continue;
    bar->hide();
    hidden_.push_back(bar);
  }
  QScreen* screen = window_.screen();  // asked before the state change can move the window
  window_.setWindowState(before_ | Qt::WindowFullScreen);
  // A window manager sizes a full-screen window itself; without one (a bare X
  // server, a kiosk session) only this places it over its monitor. Through the
  // window handle: QWidget::setGeometry would end the full-screen state.
  if (screen && window_.windowHandle()) window_.windowHandle()->setGeometry(screen->geometry());
}

void TFullScreen::Leave() {
  if (!active_) return;
  active_ = false;
  window_.setWindowState(before_);
  if (!(before_ & kSizedByState)) window_.setGeometry(normalGeometry_);
  for (const QPointer<QWidget>& bar : hidden_)
    if (bar) bar->show();
  hidden_.clear();
}

}  // namespace magna
