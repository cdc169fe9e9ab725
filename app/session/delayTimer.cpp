#include "app/session/delayTimer.h"

#include <QTimer>

namespace magna {

namespace {

class TQtDelayTimer : public TDelayTimer {
 public:
  TQtDelayTimer() {
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] {
      if (OnTimeout) OnTimeout();
    });
  }
  void Start(std::chrono::milliseconds delay) override { timer_.start(delay); }
  void Stop() override { timer_.stop(); }
  bool Active() const override { return timer_.isActive(); }

 private:
  QTimer timer_;
};

}  // namespace

std::unique_ptr<TDelayTimer> MakeQtDelayTimer() {
  return std::make_unique<TQtDelayTimer>();
}

}  // namespace magna
