#pragma once
// The Qt implementations of every platform service (log, clipboard, the X11
// selection where there is one, key state, screens, message boxes, event loop),
// installed for the lifetime of one scope of the entry point.
// Typical use (in main):
//   QApplication app(argc, argv);
//   platform::qt::TQtServicesScope services;  // after app: it ends first

namespace magna::platform::qt {

/// Installs the services; call once, after the QApplication exists and before
/// anything uses a service.
void InstallQtServices();

/// Installs the services at its start. At its end, while Qt still runs, it
/// destroys the windows still in the window table and frees the services: nothing
/// of ours that holds a Qt object is left for the exit handlers. Qt's exit(1) on a
/// lost display never reaches its end; then nothing is destroyed at all.
class TQtServicesScope {
 public:
  TQtServicesScope();
  ~TQtServicesScope();
  TQtServicesScope(const TQtServicesScope&) = delete;
  TQtServicesScope& operator=(const TQtServicesScope&) = delete;
};

}  // namespace magna::platform::qt
