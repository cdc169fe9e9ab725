#include "platform/fileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <vector>

#include "platform/myLocale.h"
#include "platform/nativeNames.h"

namespace magna::platform {

namespace {

// One step of a pattern after Windows' rewriting of "?", "*." and ".*" / ".?".
enum class Step : uint8_t {
  Literal,  // this character, case ignored
  Star,     // any run of characters
  DosStar,  // any run that does not take the name's last full stop
  DosQm,    // one character; none at a full stop or at the end
  DosDot,   // a full stop, or nothing at the end of the name
};

struct PatternStep {
  Step kind;
  char16_t ch;
};

// Windows turns the user's pattern into its DOS form before matching: "?" is
// always the DOS question mark, a star before a full stop the DOS star, a full
// stop before a wildcard or at the end the DOS dot.
std::vector<PatternStep> DosPattern(WideView upperPattern) {
  std::vector<PatternStep> steps;
  steps.reserve(upperPattern.size());
  for (size_t i = 0; i < upperPattern.size(); ++i) {
    const char16_t c = upperPattern[i];
    const char16_t next = i + 1 < upperPattern.size() ? upperPattern[i + 1] : u'\0';
    if (c == u'?') {
      steps.push_back({Step::DosQm, c});
    } else if (c == u'*') {
      steps.push_back({next == u'.' ? Step::DosStar : Step::Star, c});
    } else if (c == u'.' && (next == u'?' || next == u'*' || i + 1 == upperPattern.size())) {
      steps.push_back({Step::DosDot, c});
    } else {
      steps.push_back({Step::Literal, c});
    }
  }
  return steps;
}

bool MatchSteps(const std::vector<PatternStep>& steps, WideView name) {
  const size_t p = steps.size(), n = name.size();
  const size_t lastDot = name.rfind(u'.');
  // matches[i * (n + 1) + j]: whether steps[i..] match name[j..]; filled from the end.
  std::vector<char> matches((p + 1) * (n + 1), 0);
  auto at = [&](size_t i, size_t j) -> char& { return matches[i * (n + 1) + j]; };
  at(p, n) = 1;
  for (size_t i = p; i-- > 0;) {
    for (size_t j = n + 1; j-- > 0;) {
      const bool more = j < n;
      const PatternStep s = steps[i];
      bool m = false;
      switch (s.kind) {
        case Step::Star: m = at(i + 1, j) || (more && at(i, j + 1)); break;
        case Step::DosStar: m = at(i + 1, j) || (more && j != lastDot && at(i, j + 1)); break;
        case Step::DosQm: m = (more && name[j] != u'.') ? at(i + 1, j + 1) : at(i + 1, j); break;
        case Step::DosDot: m = more ? (name[j] == u'.' && at(i + 1, j + 1)) : at(i + 1, j); break;
        case Step::Literal: m = more && name[j] == s.ch && at(i + 1, j + 1); break;
      }
      at(i, j) = m ? 1 : 0;
    }
  }
  return at(0, 0) != 0;
}

FileStatus StatusOf(const struct statx& st) {
  FileStatus status;
  status.IsDirectory = S_ISDIR(st.stx_mode);
  status.Size = status.IsDirectory ? 0 : st.stx_size;
  status.WriteTime = FileTimeOfUnixTime(st.stx_mtime.tv_sec, st.stx_mtime.tv_nsec);
  if (st.stx_mask & STATX_BTIME)
    status.CreationTime = FileTimeOfUnixTime(st.stx_btime.tv_sec, st.stx_btime.tv_nsec);
  return status;
}

std::optional<FileStatus> StatAt(int dirFd, const char* name, int flags) {
  struct statx st {};
  if (statx(dirFd, name, flags | AT_STATX_SYNC_AS_STAT, STATX_BASIC_STATS | STATX_BTIME, &st) != 0)
    return std::nullopt;
  return StatusOf(st);
}

DIR* AsDir(void* dir) {
  return static_cast<DIR*>(dir);
}

}  // namespace

bool HasWildcards(WideView name) {
  return name.find_first_of(u"*?") != WideView::npos;
}

bool MatchesWildcard(WideView name, WideView pattern) {
  if (pattern == u"*.*" || pattern == u"*") return true;
  return MatchSteps(DosPattern(UpperCase(pattern)), UpperCase(name));
}

std::optional<FileStatus> GetFileStatus(const std::string& nativeName) {
  if (nativeName.empty()) return std::nullopt;
  return StatAt(AT_FDCWD, nativeName.c_str(), 0);
}

std::optional<FileStatus> GetOpenFileStatus(const std::string& nativeName) {
  if (nativeName.empty()) return std::nullopt;
  // Non-blocking, so that a named pipe without a writer does not hang the query.
  const int fd = open(nativeName.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return std::nullopt;
  std::optional<FileStatus> status = StatAt(fd, "", AT_EMPTY_PATH);
  close(fd);
  if (status && status->IsDirectory) return std::nullopt;
  return status;
}

FileFinder::~FileFinder() {
  Close();
}

void FileFinder::Close() {
  if (dir_) closedir(AsDir(dir_));
  dir_ = nullptr;
}

bool FileFinder::FindFirst(const std::string& nativePattern, FindData& data) {
  Close();
  dirId_ = {};
  const size_t slash = nativePattern.rfind('/');
  std::string dirName = ".";
  if (slash != std::string::npos) dirName = slash == 0 ? "/" : nativePattern.substr(0, slash);
  const std::string namePattern =
      slash == std::string::npos ? nativePattern : nativePattern.substr(slash + 1);
  if (namePattern.empty()) return false;
  pattern_ = NativeNameToWide(namePattern);
  dir_ = opendir(dirName.c_str());
  if (!dir_) return false;
  struct stat st {};
  if (fstat(dirfd(AsDir(dir_)), &st) == 0) dirId_ = {uint64_t(st.st_dev), uint64_t(st.st_ino)};
  return FindNext(data);
}

bool FileFinder::FindNext(FindData& data) {
  if (!dir_) return false;
  while (const dirent* entry = readdir(AsDir(dir_))) {
    WideString name = NativeNameToWide(entry->d_name);
    if (!MatchesWildcard(name, pattern_)) continue;
    const int dirFd = dirfd(AsDir(dir_));
    std::optional<FileStatus> status = StatAt(dirFd, entry->d_name, 0);
    if (!status) status = StatAt(dirFd, entry->d_name, AT_SYMLINK_NOFOLLOW);  // a broken link
    if (!status) continue;  // gone since the directory was read
    static_cast<FileStatus&>(data) = *status;
    data.Name = std::move(name);
    data.NativeName = entry->d_name;
    return true;
  }
  return false;
}

std::string ProcessImagePath() {
  std::vector<char> buffer(256);
  for (;;) {
    const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n < 0) return {};
    if (static_cast<size_t>(n) < buffer.size()) return std::string(buffer.data(), n);
    buffer.resize(buffer.size() * 2);
  }
}

std::vector<std::string> ProcessArguments() {
  const int fd = open("/proc/self/cmdline", O_RDONLY | O_CLOEXEC);
  if (fd < 0) return {};
  std::string all;
  char chunk[4096];
  for (ssize_t n; (n = read(fd, chunk, sizeof chunk)) > 0;) all.append(chunk, size_t(n));
  close(fd);
  // Each argument ends in a NUL byte, the last one too.
  std::vector<std::string> arguments;
  for (size_t start = 0; start < all.size();) {
    const size_t end = std::min(all.find('\0', start), all.size());
    arguments.push_back(all.substr(start, end - start));
    start = end + 1;
  }
  return arguments;
}

std::string ProcessFirstArgument() {
  const std::vector<std::string> arguments = ProcessArguments();
  return arguments.empty() ? std::string() : arguments.front();
}

}  // namespace magna::platform
