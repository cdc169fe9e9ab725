#include "platform/pipeTransfer.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace magna::platform {

TPipeTransfer::TPipeTransfer(int fd, size_t maxBytes) : fd_(fd), maxBytes_(maxBytes) {
  fcntl(fd_, F_SETFL, fcntl(fd_, F_GETFL) | O_NONBLOCK);
}

TPipeTransfer::~TPipeTransfer() {
  close(fd_);
}

TPipeTransfer::State TPipeTransfer::Pump() {
  constexpr size_t kChunk = 1 << 16;
  for (;;) {
    const size_t used = data_.size();
    data_.resize(used + kChunk);
    const ssize_t got = read(fd_, data_.data() + used, kChunk);
    data_.resize(used + (got > 0 ? size_t(got) : 0));
    if (got == 0) return State::Done;
    if (got < 0) {
      if (errno == EINTR) continue;
      return errno == EAGAIN || errno == EWOULDBLOCK ? State::More : State::Failed;
    }
    if (data_.size() > maxBytes_) {
      std::string().swap(data_);
      return State::TooBig;
    }
  }
}

}  // namespace magna::platform
