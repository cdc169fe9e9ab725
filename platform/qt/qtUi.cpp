#include "platform/qt/qtUi.h"

#include <time.h>

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

namespace {

/// The coarse monotonic clock in nanoseconds: a few milliseconds fine, and cheap
/// enough to read after every step of a loop.
int64_t CoarseNow() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
  return int64_t(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

}  // namespace

void QtUi::ProcessMessagesInLoop() {
  const int64_t now = CoarseNow();
  if (lastLoopPass_ != INT64_MIN && now - lastLoopPass_ < kLoopSliceNanoseconds) return;
  lastLoopPass_ = now;
  ProcessMessages();
}

void QtUi::Beep() {
  QApplication::beep();
}

bool QtUi::Terminated() {
  return terminating_ || QCoreApplication::closingDown();
}

}  // namespace magna::platform::qt
