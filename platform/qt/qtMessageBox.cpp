#include "platform/qt/qtMessageBox.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include "platform/qt/qtText.h"

namespace magna::platform::qt {

void QtMessageBox::Show(const WideString& text, const WideString& caption) {
  QMessageBox box(QMessageBox::NoIcon, ToQString(caption), ToQString(text), QMessageBox::Ok,
                  QApplication::activeWindow());
  // Once shown, come to the front even when another program has the focus.
  QTimer::singleShot(0, &box, [&box] {
    box.raise();
    box.activateWindow();
  });
  box.exec();
}

}  // namespace magna::platform::qt
