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

/// The file a name stands for: symbolic links are followed (also to a target that does not
/// exist yet), so that a write replaces the target and the link stays a link.
std::string LinkTarget(std::string name) {
  for (int hops = 0; hops < 40; ++hops) {  // the kernel's own limit on nested links
    struct stat info {};
    if (::lstat(name.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return name;
    std::string target(static_cast<size_t>(info.st_size > 0 ? info.st_size : PATH_MAX), '\0');
    const ssize_t n = ::readlink(name.c_str(), target.data(), target.size());
    if (n < 0) return name;
    target.resize(static_cast<size_t>(n));
    const size_t slash = name.rfind('/');
    name = target[0] == '/' || slash == std::string::npos ? target
                                                          : name.substr(0, slash + 1) + target;
  }
  return name;
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

/// Writes over the file itself: what keeps its owner, its links and every other trait
/// where a replacement could not. Not atomic: a failure on the way leaves it damaged.
bool WriteInPlace(const std::string& target, const std::string& bytes) {
  FileDescriptor file(::open(target.c_str(), O_WRONLY | O_CLOEXEC));
  if (file.Get() < 0 || !WriteAll(file.Get(), bytes)) return false;
  struct stat info {};
  const bool regular = ::fstat(file.Get(), &info) == 0 && S_ISREG(info.st_mode);
  if (regular &&
      (::ftruncate(file.Get(), static_cast<off_t>(bytes.size())) != 0 || ::fsync(file.Get()) != 0))
    return false;
  return file.Close();
}

/// Gives the new file the old one's owner and permission bits (in that order: a change
/// of owner clears the set-user-ID bits); false when the owner can't be kept.
bool TakeOwnerAndMode(int fd, const struct stat& old) {
  if (::fchown(fd, old.st_uid, old.st_gid) != 0) return false;
  return ::fchmod(fd, old.st_mode & 07777) == 0;
}

enum class Replaced { Yes, No, KeepsNothing };

/// The safe replacement: a new file beside the target, renamed over it once all is
/// written and flushed. KeepsNothing: no file could be made or given the old owner, so
/// nothing was replaced (and no temporary file is left).
Replaced ReplaceByRename(const std::string& target, const std::string& bytes,
                         const struct stat* old) {
  std::string tempName;
  FileDescriptor file(CreateFileBeside(target, tempName));
  if (file.Get() < 0) return Replaced::KeepsNothing;
  if (old != nullptr && !TakeOwnerAndMode(file.Get(), *old)) {
    file.Close();
    ::unlink(tempName.c_str());
    return Replaced::KeepsNothing;
  }
  bool ok = WriteAll(file.Get(), bytes) && ::fsync(file.Get()) == 0;
  ok = file.Close() && ok;
  ok = ok && ::rename(tempName.c_str(), target.c_str()) == 0;
  if (!ok) ::unlink(tempName.c_str());
  return ok ? Replaced::Yes : Replaced::No;
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
  const std::string target = LinkTarget(name);
  struct stat old {};
  if (::stat(target.c_str(), &old) != 0)
    return ReplaceByRename(target, bytes, nullptr) == Replaced::Yes;
  if (S_ISDIR(old.st_mode)) {
    errno = EISDIR;  // the caller's message tells why
    return false;
  }
  if (::access(target.c_str(), W_OK) != 0) return false;
  // A file with other names (hard links) or that is no plain file is written in place:
  // a replacement would part it from its other names.
  if (!S_ISREG(old.st_mode) || old.st_nlink > 1) return WriteInPlace(target, bytes);
  switch (ReplaceByRename(target, bytes, &old)) {
    case Replaced::Yes: return true;
    case Replaced::No: return false;
    // A folder we may not write in, or an owner we may not give: the file itself is
    // writable, so it is written in place.
    case Replaced::KeepsNothing: return WriteInPlace(target, bytes);
  }
  return false;
}

}  // namespace magna
