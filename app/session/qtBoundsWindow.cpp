#include "app/session/qtBoundsWindow.h"

#include <algorithm>

namespace magna {

WideString TQtBoundsWindow::ComponentName() const {
  return window_.objectName().toStdU16String();
}

TRect TQtBoundsWindow::BoundsRect() const {
  const QPoint corner = window_.pos();
  const QSize client = window_.size();
  return TRect{corner.x(), corner.y(), corner.x() + client.width(), corner.y() + client.height()};
}

void TQtBoundsWindow::SetBounds(int left, int top, int width, int height) {
  window_.move(left, top);
  window_.resize(std::max(1, width), std::max(1, height));
}

}  // namespace magna
