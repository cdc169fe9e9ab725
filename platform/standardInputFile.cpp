#include "platform/standardInputFile.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>

namespace magna::platform {

namespace {

/// Writes all of buffer; false on an error.
bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t n = write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= size_t(n);
  }
  return true;
}

/// Copies standard input to fd until its end; false on a read or write error.
bool CopyStandardInput(int fd) {
  char buffer[65536];
  for (;;) {
    const ssize_t n = read(STDIN_FILENO, buffer, sizeof buffer);
    if (n == 0) return true;
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 || !WriteAll(fd, buffer, size_t(n))) return false;
  }
}

}  // namespace

TStandardInputFile::TStandardInputFile() {
  const int fd = memfd_create("magna-stdin", MFD_CLOEXEC);
  if (fd < 0) return;
  if (!CopyStandardInput(fd)) {
    close(fd);
    return;
  }
  fd_ = fd;
}

TStandardInputFile::~TStandardInputFile() {
  if (fd_ >= 0) close(fd_);
}

std::string TStandardInputFile::Path() const {
  return IsOpen() ? "/proc/self/fd/" + std::to_string(fd_) : std::string();
}

}  // namespace magna::platform
