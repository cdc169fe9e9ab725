#pragma once
// The program's version record: the stand-in for a version resource. The build
// places it in the ELF section ".magna_version" of the program file
// (cmake/MagnaVersion.cmake); ReadVersionRecord finds it in any file again.
//
// Layout, in 16-bit units of the file's byte order:
//   "MGVR"                                  magic, four units
//   { key length, key, value length, value } entries, lengths in units
//   0                                       end (a key length of 0)
// Keys are paths as a version resource names its values: "\" (the fixed part:
// file version, then product version, four units each), "\VarFileInfo\Translation"
// (language and code page pairs), "\StringFileInfo\041103A4\ProductName" (texts).
//
// Reading never trusts the file: a truncated, foreign or damaged file gives no
// record, never a read outside the file or the buffers.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/myBase.h"

namespace magna::platform {

/// The name of the ELF section that holds the record.
inline constexpr std::string_view kVersionSectionName = ".magna_version";
inline constexpr char16_t kVersionRecordMagic[4] = {u'M', u'G', u'V', u'R'};

/// One key and its value, as the build writes them.
struct VersionRecordEntry {
  std::u16string_view Key;
  std::u16string_view Value;
};

/// The record's length in units; a key or value longer than 65535 units does not compile.
template <size_t N>
constexpr size_t VersionRecordLength(const VersionRecordEntry (&entries)[N]) {
  size_t length = 4 + 1;
  for (const VersionRecordEntry& e : entries) {
    if (e.Key.empty() || e.Key.size() > 0xFFFF || e.Value.size() > 0xFFFF)
      throw std::length_error("version record entry out of range");
    length += 2 + e.Key.size() + e.Value.size();
  }
  return length;
}

/// The record of the entries, ready to be placed in the section.
template <size_t Length, size_t N>
constexpr std::array<char16_t, Length> BuildVersionRecord(const VersionRecordEntry (&entries)[N]) {
  std::array<char16_t, Length> record{};
  size_t at = 0;
  auto put = [&](std::u16string_view units) {
    record[at++] = static_cast<char16_t>(units.size());
    for (char16_t u : units) record[at++] = u;
  };
  for (char16_t u : kVersionRecordMagic) record[at++] = u;
  for (const VersionRecordEntry& e : entries) {
    put(e.Key);
    put(e.Value);
  }
  record[at++] = 0;
  if (at != Length) throw std::length_error("version record length mismatch");
  return record;
}

/// A parsed record, answering queries as VerQueryValue does.
class VersionRecord {
 public:
  /// The record in `units`; nullopt when they are not a whole record.
  static std::optional<VersionRecord> Parse(std::u16string_view units);
  /// The value of a key (ASCII case ignored); nullopt when the record lacks it.
  std::optional<WideString> Query(WideView key) const;

 private:
  std::vector<std::pair<WideString, WideString>> entries_;
};

/// Reads `count` bytes at `offset` into `out`; false when they are not all there.
using ReadBytesAt = std::function<bool(uint64_t offset, void* out, size_t count)>;

/// The contents of the named section of an ELF image, and whether the image is
/// big-endian; nullopt when the image is not ELF, lacks the section or is damaged.
std::optional<std::pair<std::string, bool>> ReadElfSection(const ReadBytesAt& read,
                                                           std::string_view sectionName);

/// The version record of a file; nullopt when the file has none (or can't be read).
std::optional<VersionRecord> ReadVersionRecord(const std::string& nativeFileName);
/// The version record in an ELF image held by `read`.
std::optional<VersionRecord> ReadVersionRecord(const ReadBytesAt& read);

}  // namespace magna::platform
