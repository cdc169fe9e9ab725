#include "platform/qt/qtScreens.h"

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>

namespace magna::platform::qt {

TRect ToTRect(const QRect& r) {
  return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

QRect ToQRect(const TRect& r) {
  return QRect(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
}

MonitorInfo MonitorOfScreen(const QScreen& screen) {
  return {reinterpret_cast<intptr_t>(&screen), ToTRect(screen.geometry()),
          ToTRect(screen.availableGeometry())};
}

std::vector<MonitorInfo> QtScreens::Monitors() {
  std::vector<MonitorInfo> list;
  QScreen* primary = QGuiApplication::primaryScreen();
  if (primary) list.push_back(MonitorOfScreen(*primary));
  for (QScreen* screen : QGuiApplication::screens())
    if (screen && screen != primary) list.push_back(MonitorOfScreen(*screen));
  return list;
}

TPoint QtScreens::CursorPos() {
  const QPoint p = QCursor::pos();
  return {p.x(), p.y()};
}

}  // namespace magna::platform::qt
