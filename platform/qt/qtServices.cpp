#include "platform/qt/qtServices.h"

#include <QGuiApplication>

#include "platform/myWindows.h"
#include "platform/qt/qtClipboard.h"
#include "platform/qt/qtClipboardReader.h"
#include "platform/qt/qtKeyState.h"
#include "platform/qt/qtLog.h"
#include "platform/qt/qtMessageBox.h"
#include "platform/qt/qtScreens.h"
#include "platform/qt/qtUi.h"
#include "platform/qt/qtWatchedClipboard.h"

namespace magna::platform::qt {

namespace {

/// A reader of the program's own where one works here, else QClipboard.
void InstallClipboards() {
  if (std::shared_ptr<QtClipboardReader> reader = StartClipboardReader()) {
    InstallClipboard(std::make_unique<QtWatchedClipboard>(reader, WatchedSelection::Clipboard));
    if (reader->WatchesPrimary())
      InstallSelection(std::make_unique<QtWatchedClipboard>(reader, WatchedSelection::Primary));
    return;
  }
  InstallClipboard(std::make_unique<QtClipboard>());
  // Only X11 has a selection apart from the clipboard; elsewhere nothing changes it.
  if (QClipboard* clipboard = QGuiApplication::clipboard();
      clipboard && clipboard->supportsSelection())
    InstallSelection(std::make_unique<QtClipboard>(QClipboard::Selection));
}

}  // namespace

void InstallQtServices() {
  InstallLog(std::make_unique<QtLog>());  // first: the others may have something to say
  InstallClipboards();
  InstallKeyState(std::make_unique<QtKeyState>());
  InstallScreens(std::make_unique<QtScreens>());
  InstallMessageBoxes(std::make_unique<QtMessageBox>());
  InstallUi(std::make_unique<QtUi>());
}

TQtServicesScope::TQtServicesScope() {
  InstallQtServices();
}

TQtServicesScope::~TQtServicesScope() {
  DestroyAllWindows();
  RestoreDefaultServices();
}

}  // namespace magna::platform::qt
