// Finding one section of an ELF image by name, through bounds-checked reads only.

#include <cstring>

#include "platform/versionRecord.h"

namespace magna::platform {

namespace {

constexpr unsigned kElfClass32 = 1, kElfClass64 = 2;
constexpr unsigned kElfDataLittle = 1, kElfDataBig = 2;
constexpr uint32_t kSectionNoBits = 8;            // SHT_NOBITS: no bytes in the file
constexpr uint32_t kSectionIndexEscape = 0xFFFF;  // SHN_XINDEX: index kept in section 0
// Limits that no real program reaches; they keep damaged images from asking for
// huge buffers before the reads fail.
constexpr uint64_t kMaxSections = 1 << 20;
constexpr uint64_t kMaxNameTable = 16 << 20;
constexpr uint64_t kMaxSection = 1 << 20;

// Where the fields of the two ELF classes sit.
struct ElfLayout {
  bool is64 = false;
  bool bigEndian = false;
  size_t headerSize() const { return is64 ? 64 : 52; }
  size_t sectionHeaderSize() const { return is64 ? 64 : 40; }
};

struct SectionHeader {
  uint32_t name = 0;
  uint32_t type = 0;
  uint64_t offset = 0;
  uint64_t size = 0;
  uint32_t link = 0;
};

uint64_t Field(const unsigned char* p, size_t width, bool bigEndian) {
  uint64_t value = 0;
  for (size_t i = 0; i < width; ++i) value |= uint64_t{p[bigEndian ? width - 1 - i : i]} << (8 * i);
  return value;
}

SectionHeader ParseSectionHeader(const unsigned char* p, const ElfLayout& elf) {
  const bool be = elf.bigEndian;
  SectionHeader h;
  h.name = static_cast<uint32_t>(Field(p, 4, be));
  h.type = static_cast<uint32_t>(Field(p + 4, 4, be));
  if (elf.is64) {
    h.offset = Field(p + 24, 8, be);
    h.size = Field(p + 32, 8, be);
    h.link = static_cast<uint32_t>(Field(p + 40, 4, be));
  } else {
    h.offset = Field(p + 16, 4, be);
    h.size = Field(p + 20, 4, be);
    h.link = static_cast<uint32_t>(Field(p + 24, 4, be));
  }
  return h;
}

// Reads a run of bytes whose length comes from the image: the last byte is
// read first, so a claimed length beyond the image fails before any allocation.
std::optional<std::string> ReadRun(const ReadBytesAt& read, uint64_t offset, uint64_t count,
                                   uint64_t limit) {
  if (count > limit || offset > UINT64_MAX - count) return std::nullopt;
  std::string bytes;
  if (count == 0) return bytes;
  char last;
  if (!read(offset + count - 1, &last, 1)) return std::nullopt;
  bytes.resize(static_cast<size_t>(count));
  if (!read(offset, bytes.data(), bytes.size())) return std::nullopt;
  return bytes;
}

std::optional<SectionHeader> ReadSectionHeader(const ReadBytesAt& read, const ElfLayout& elf,
                                               uint64_t tableOffset, uint64_t entrySize,
                                               uint64_t index) {
  unsigned char raw[64];
  if (index > (UINT64_MAX - tableOffset) / entrySize) return std::nullopt;
  if (!read(tableOffset + index * entrySize, raw, elf.sectionHeaderSize())) return std::nullopt;
  return ParseSectionHeader(raw, elf);
}

// The NUL-terminated name at `at` in the name table; nullopt when it runs out of it.
std::optional<std::string_view> NameAt(std::string_view table, uint64_t at) {
  if (at >= table.size()) return std::nullopt;
  const std::string_view rest = table.substr(static_cast<size_t>(at));
  const size_t end = rest.find('\0');
  if (end == std::string_view::npos) return std::nullopt;
  return rest.substr(0, end);
}

}  // namespace

std::optional<std::pair<std::string, bool>> ReadElfSection(const ReadBytesAt& read,
                                                           std::string_view sectionName) {
  unsigned char header[64] = {};
  if (!read(0, header, 16) || std::memcmp(header,
                                          "\x7F"
                                          "ELF",
                                          4) != 0)
    return std::nullopt;
  ElfLayout elf;
  if (header[4] != kElfClass32 && header[4] != kElfClass64) return std::nullopt;
  if (header[5] != kElfDataLittle && header[5] != kElfDataBig) return std::nullopt;
  elf.is64 = header[4] == kElfClass64;
  elf.bigEndian = header[5] == kElfDataBig;
  if (!read(16, header + 16, elf.headerSize() - 16)) return std::nullopt;

  const bool be = elf.bigEndian;
  const uint64_t tableOffset = elf.is64 ? Field(header + 40, 8, be) : Field(header + 32, 4, be);
  const size_t at = elf.is64 ? 58 : 46;
  const uint64_t entrySize = Field(header + at, 2, be);
  uint64_t count = Field(header + at + 2, 2, be);
  uint64_t namesIndex = Field(header + at + 4, 2, be);
  if (tableOffset == 0 || entrySize < elf.sectionHeaderSize()) return std::nullopt;

  // Large images keep the true count and name-table index in section 0.
  if (count == 0 || namesIndex == kSectionIndexEscape) {
    const auto first = ReadSectionHeader(read, elf, tableOffset, entrySize, 0);
    if (!first) return std::nullopt;
    if (count == 0) count = first->size;
    if (namesIndex == kSectionIndexEscape) namesIndex = first->link;
  }
  if (count == 0 || count > kMaxSections || namesIndex == 0 || namesIndex >= count)
    return std::nullopt;

  const auto namesHeader = ReadSectionHeader(read, elf, tableOffset, entrySize, namesIndex);
  if (!namesHeader || namesHeader->type == kSectionNoBits) return std::nullopt;
  const auto names = ReadRun(read, namesHeader->offset, namesHeader->size, kMaxNameTable);
  if (!names) return std::nullopt;

  for (uint64_t i = 1; i < count; ++i) {
    const auto section = ReadSectionHeader(read, elf, tableOffset, entrySize, i);
    if (!section) return std::nullopt;
    if (NameAt(*names, section->name) != sectionName) continue;
    if (section->type == kSectionNoBits) return std::nullopt;
    auto bytes = ReadRun(read, section->offset, section->size, kMaxSection);
    if (!bytes) return std::nullopt;
    return std::make_pair(std::move(*bytes), elf.bigEndian);
  }
  return std::nullopt;
}

}  // namespace magna::platform
