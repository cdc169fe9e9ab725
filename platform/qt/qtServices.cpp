#include "platform/qt/qtServices.h"

#include "platform/qt/qtClipboard.h"
#include "platform/qt/qtKeyState.h"
#include "platform/qt/qtMessageBox.h"
#include "platform/qt/qtScreens.h"
#include "platform/qt/qtUi.h"

namespace magna::platform::qt {

void InstallQtServices() {
  InstallClipboard(std::make_unique<QtClipboard>());
  InstallKeyState(std::make_unique<QtKeyState>());
  InstallScreens(std::make_unique<QtScreens>());
  InstallMessageBoxes(std::make_unique<QtMessageBox>());
  InstallUi(std::make_unique<QtUi>());
}

}  // namespace magna::platform::qt
