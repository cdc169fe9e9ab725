#include "platform/qt/qtUi.h"

#include <QApplication>

namespace magna::platform::qt {

QtUi::QtUi() : connection_(std::make_unique<QObject>()) {
  if (QCoreApplication* app = QCoreApplication::instance())
    QObject::connect(app, &QCoreApplication::aboutToQuit, connection_.get(),
                     [this] { terminating_ = true; });
}

QtUi::~QtUi() = default;

void QtUi::ProcessMessages() {
  QCoreApplication::processEvents();
}

void QtUi::Beep() {
  QApplication::beep();
}

bool QtUi::Terminated() {
  return terminating_ || QCoreApplication::closingDown();
}

}  // namespace magna::platform::qt
