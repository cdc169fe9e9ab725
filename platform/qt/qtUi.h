#pragma once
// The event loop as the core sees it: pending events processed on request, the
// system beep, and whether the application has begun to quit.

#include <memory>

#include "platform/services.h"

class QObject;

namespace magna::platform::qt {

class QtUi : public UiService {
 public:
  QtUi();  // watches QCoreApplication::aboutToQuit; needs the application object
  ~QtUi() override;
  void ProcessMessages() override;
  void Beep() override;
  bool Terminated() override;

 private:
  bool terminating_ = false;
  std::unique_ptr<QObject> connection_;
};

}  // namespace magna::platform::qt
