#pragma once
// The event loop as the core sees it: pending events processed on request, the
// system beep, and whether the application has begun to quit.

#include <cstdint>
#include <memory>

#include "platform/services.h"

class QObject;

namespace magna::platform::qt {

class QtUi : public UiService {
 public:
  QtUi();  // watches QCoreApplication::aboutToQuit; needs the application object
  ~QtUi() override;
  void ProcessMessages() override;
  /// A pass at most every kLoopSlice: one costs microseconds even with nothing
  /// pending, more than the step of a loop, and a user cannot tell the difference.
  void ProcessMessagesInLoop() override;
  void Beep() override;
  bool Terminated() override;

  static constexpr int64_t kLoopSliceNanoseconds = 10'000'000;

 private:
  bool terminating_ = false;
  int64_t lastLoopPass_ = INT64_MIN;  // the coarse clock at the last pass in a loop
  std::unique_ptr<QObject> connection_;
};

}  // namespace magna::platform::qt
