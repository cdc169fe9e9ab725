#include "platform/versionRecord.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace magna::platform {

namespace {

char16_t AsciiUpper(char16_t c) {
  return (c >= u'a' && c <= u'z') ? c - (u'a' - u'A') : c;
}

bool SameKey(WideView a, WideView b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  return true;
}

std::u16string UnitsOfBytes(std::string_view bytes, bool bigEndian) {
  std::u16string units(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < units.size(); ++i) {
    const auto b0 = static_cast<unsigned char>(bytes[2 * i]);
    const auto b1 = static_cast<unsigned char>(bytes[2 * i + 1]);
    units[i] = static_cast<char16_t>(bigEndian ? (b0 << 8) | b1 : (b1 << 8) | b0);
  }
  return units;
}

// A regular file opened for positioned reads; closed with the object.
class OpenFile {
 public:
  explicit OpenFile(const std::string& name)
      : fd_(open(name.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK)) {
    struct stat st {};
    if (fd_ >= 0 && fstat(fd_, &st) == 0 && S_ISREG(st.st_mode)) size_ = st.st_size;
  }
  ~OpenFile() {
    if (fd_ >= 0) close(fd_);
  }
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;

  bool ReadAt(uint64_t offset, void* out, size_t count) const {
    if (offset > size_ || count > size_ - offset) return false;
    auto* to = static_cast<char*>(out);
    while (count > 0) {
      const ssize_t n = pread(fd_, to, count, static_cast<off_t>(offset));
      if (n <= 0) return false;
      to += n;
      offset += static_cast<uint64_t>(n);
      count -= static_cast<size_t>(n);
    }
    return true;
  }

 private:
  int fd_;
  uint64_t size_ = 0;  // 0 unless a readable regular file
};

}  // namespace

std::optional<VersionRecord> VersionRecord::Parse(std::u16string_view units) {
  if (units.substr(0, 4) != std::u16string_view(kVersionRecordMagic, 4)) return std::nullopt;
  VersionRecord record;
  size_t at = 4;
  // The counted run at `at`; nullopt when it leaves the units.
  auto take = [&]() -> std::optional<WideString> {
    if (at >= units.size()) return std::nullopt;
    const size_t length = units[at++];
    if (length > units.size() - at) return std::nullopt;
    WideString run(units.substr(at, length));
    at += length;
    return run;
  };
  for (;;) {
    if (at >= units.size()) return std::nullopt;
    if (units[at] == 0) return record;
    auto key = take();
    auto value = take();
    if (!key || !value) return std::nullopt;
    record.entries_.emplace_back(std::move(*key), std::move(*value));
  }
}

std::optional<WideString> VersionRecord::Query(WideView key) const {
  for (const auto& [k, v] : entries_)
    if (SameKey(k, key)) return v;
  return std::nullopt;
}

std::optional<VersionRecord> ReadVersionRecord(const ReadBytesAt& read) {
  const auto section = ReadElfSection(read, kVersionSectionName);
  if (!section) return std::nullopt;
  return VersionRecord::Parse(UnitsOfBytes(section->first, section->second));
}

std::optional<VersionRecord> ReadVersionRecord(const std::string& nativeFileName) {
  const OpenFile file(nativeFileName);
  return ReadVersionRecord([&file](uint64_t offset, void* out, size_t count) {
    return file.ReadAt(offset, out, count);
  });
}

}  // namespace magna::platform
