#pragma once
// Installs the Qt implementations of every platform service (log, clipboard, the X11
// selection where there is one, key state, screens, message boxes, event loop).
// Call once, after the QApplication exists and before anything uses a service.

namespace magna::platform::qt {

void InstallQtServices();

}  // namespace magna::platform::qt
