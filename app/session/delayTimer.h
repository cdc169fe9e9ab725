#pragma once
// A single-shot timer that a piece of work waits on after the last of a run of
// changes: every Start begins the wait anew. An interface, so that tests move
// the time themselves instead of waiting for it.
// Typical use:
//   auto timer = MakeQtDelayTimer();
//   timer->OnTimeout = [] { WriteNow(); };
//   timer->Start(std::chrono::seconds(1));  // again at every change

#include <chrono>
#include <functional>
#include <memory>

namespace magna {

class TDelayTimer {
 public:
  virtual ~TDelayTimer() = default;
  /// OnTimeout runs once, `delay` from now, unless Start or Stop comes first.
  virtual void Start(std::chrono::milliseconds delay) = 0;
  virtual void Stop() = 0;
  /// Whether OnTimeout is still to run.
  virtual bool Active() const = 0;

  std::function<void()> OnTimeout;
};

/// A timer of Qt's event loop (GUI thread only).
std::unique_ptr<TDelayTimer> MakeQtDelayTimer();

}  // namespace magna
