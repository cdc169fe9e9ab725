#include "platform/stopSignal.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <system_error>

namespace magna::platform {

TStopSignal::TStopSignal() : fd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {
  if (fd_ < 0) throw std::system_error(errno, std::generic_category(), "eventfd");
}

TStopSignal::~TStopSignal() {
  close(fd_);
}

void TStopSignal::Raise() {
  const uint64_t one = 1;
  // Only a counter at its maximum refuses the write, and then it is raised already.
  [[maybe_unused]] const ssize_t written = write(fd_, &one, sizeof one);
}

bool TStopSignal::Raised() const {
  pollfd p{fd_, POLLIN, 0};
  return poll(&p, 1, 0) > 0;
}

}  // namespace magna::platform
