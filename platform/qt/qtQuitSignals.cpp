#include "platform/qt/qtQuitSignals.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>

#include "platform/log.h"

namespace magna::platform::qt {

namespace {

constexpr int kQuitSignals[] = {SIGTERM, SIGHUP, SIGINT};

// The self-pipe: the handler writes, the event loop reads. Plain ints, read by
// the handler, so that it touches nothing that could be half made.
volatile sig_atomic_t writeEnd = -1;
int readEnd = -1;

extern "C" void OnQuitSignal(int number) {
  const int savedErrno = errno;
  const unsigned char byte = static_cast<unsigned char>(number);
  if (writeEnd >= 0) (void)!write(writeEnd, &byte, 1);
  errno = savedErrno;
}

}  // namespace

TQtQuitSignals::TQtQuitSignals(std::function<void(int)> onSignal) : onSignal_(std::move(onSignal)) {
  int ends[2];
  if (pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) {
    LogWarning(kLogPlatform, "preparing for the signals to end",
               ErrorNumberReason(errno));  // then they end the process as they would
    return;
  }
  readEnd = ends[0];
  writeEnd = ends[1];
  notifier_ = std::make_unique<QSocketNotifier>(readEnd, QSocketNotifier::Read);
  QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(),
                   [this] { Drain(); });
  for (int number : kQuitSignals) Catch(number);
}

TQtQuitSignals::~TQtQuitSignals() {
  for (const Former& former : former_) sigaction(former.number, &former.action, nullptr);
  notifier_.reset();
  if (readEnd < 0) return;
  const int ends[2] = {readEnd, writeEnd};
  writeEnd = -1;
  readEnd = -1;
  for (int end : ends) close(end);
}

void TQtQuitSignals::Catch(int number) {
  struct sigaction former {};
  if (sigaction(number, nullptr, &former) != 0 || former.sa_handler == SIG_IGN) return;
  struct sigaction action {};
  action.sa_handler = OnQuitSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART | SA_RESETHAND;
  if (sigaction(number, &action, nullptr) != 0) return;
  former_.push_back({number, former});
}

void TQtQuitSignals::Drain() {
  unsigned char numbers[16];
  ssize_t count;
  while ((count = read(readEnd, numbers, sizeof numbers)) > 0)
    for (ssize_t i = 0; i < count; ++i)
      if (onSignal_) onSignal_(numbers[i]);
}

}  // namespace magna::platform::qt
