// UTF-16 bytes to code units, the byte swapping of the big-endian forms included.
#include <bit>
#include <cstring>

#include "platform/codepage/codePage.h"
#include "platform/codepage/codePageAscii.h"

namespace magna::platform {

static_assert(std::endian::native == std::endian::little, "code units are copied as they lie");

WideString Utf16BytesToWide(std::string_view bytes, bool bigEndian) {
  auto p = reinterpret_cast<const unsigned char*>(bytes.data());
  size_t whole = bytes.size() / 2;
  // Unaligned bytes are copied first, so the search may read them as units.
  WideString text(whole + bytes.size() % 2, u'\0');
  std::memcpy(text.data(), p, bytes.size());
  size_t units = detail::FindZeroUnit(text.data(), whole);
  if (units == whole && bytes.size() % 2 == 1 && p[bytes.size() - 1] != 0) ++units;
  text.resize(units);
  if (bigEndian)
    for (char16_t& unit : text) unit = static_cast<char16_t>(unit << 8 | unit >> 8);
  return text;
}

}  // namespace magna::platform
