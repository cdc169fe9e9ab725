#include "text/myCharCodeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <random>
#include <thread>

#include "platform/services.h"

namespace magna {

namespace {

constexpr int kReadAttempts = 4;
constexpr auto kRetryDelay = std::chrono::milliseconds(200);

/// Closes a descriptor on every exit path.
class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int Get() const { return fd_; }
  /// Closes now; false when the close reported an error (a late write failure).
  bool Close() {
    int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

/// One attempt: open, one read of everything, close.
bool ReadOnce(const std::string& name, uint64_t count, std::string& buffer, size_t& read) {
  FileDescriptor file(::open(name.c_str(), O_RDONLY | O_CLOEXEC));
  struct stat info {};
  if (file.Get() < 0 || ::fstat(file.Get(), &info) != 0 || S_ISDIR(info.st_mode)) return false;
  uint64_t want = count;
  if (S_ISREG(info.st_mode)) want = std::min<uint64_t>(count, static_cast<uint64_t>(info.st_size));
  if (want > SIZE_MAX - 2) return false;
  buffer.assign(static_cast<size_t>(want) + 2, '\0');
  read = 0;
  while (read < want) {  // one read; the loop only covers the kernel's 2 GiB cap per call
    ssize_t n = ::read(file.Get(), buffer.data() + read, static_cast<size_t>(want) - read);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) break;
    read += static_cast<size_t>(n);
  }
  return true;
}

bool WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<size_t>(n);
  }
  return true;
}

/// The file a name stands for: a symbolic link is followed so that the link stays.
std::string ResolvedTarget(const std::string& name) {
  struct stat info {};
  if (::lstat(name.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return name;
  char* real = ::realpath(name.c_str(), nullptr);
  if (real == nullptr) return name;
  std::string target = real;
  std::free(real);
  return target;
}

/// A new, empty file beside `target`; its name goes to `tempName`.
int CreateFileBeside(const std::string& target, std::string& tempName) {
  std::random_device random;
  for (int tries = 0; tries < 16; ++tries) {
    tempName = target + ".~" + std::to_string(random()) + ".tmp";
    int fd = ::open(tempName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

}  // namespace

uint64_t NonDirectorySize(const std::string& name) {
  struct stat info {};
  if (::stat(name.c_str(), &info) != 0 || S_ISDIR(info.st_mode)) return 0;
  return static_cast<uint64_t>(info.st_size);
}

bool ReadFileWithRetries(const std::string& name, uint64_t count, std::string& buffer,
                         size_t& read) {
  for (int attempt = 1;; ++attempt) {
    read = 0;
    if (ReadOnce(name, count, buffer, read)) return true;
    read = 0;
    std::this_thread::sleep_for(kRetryDelay);
    if (attempt == kReadAttempts) return false;
    platform::Ui().ProcessMessages();
  }
}

bool ReplaceFileContent(const std::string& name, const std::string& bytes) {
  std::string target = ResolvedTarget(name);
  struct stat old {};
  bool exists = ::stat(target.c_str(), &old) == 0;
  if (exists && (S_ISDIR(old.st_mode) || ::access(target.c_str(), W_OK) != 0)) return false;
  std::string tempName;
  FileDescriptor file(CreateFileBeside(target, tempName));
  if (file.Get() < 0) return false;
  bool ok = WriteAll(file.Get(), bytes);
  if (ok && exists) {
    ok = ::fchmod(file.Get(), old.st_mode & 07777) == 0;
    if (::fchown(file.Get(), old.st_uid, old.st_gid) != 0) {
      // Only the owner's own group may be kept by an ordinary user; the mode still is.
    }
  }
  ok = ok && ::fsync(file.Get()) == 0;
  ok = file.Close() && ok;
  ok = ok && ::rename(tempName.c_str(), target.c_str()) == 0;
  if (!ok) ::unlink(tempName.c_str());
  return ok;
}

}  // namespace magna
