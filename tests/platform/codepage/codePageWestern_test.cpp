// ISO-8859-1 and Windows-1252 against ICU's converters, byte by byte, and the way back.
#include <gtest/gtest.h>

#include "platform/codepage/codePageWestern.h"
#include "platform/codepage/icuConverter.h"

namespace magna::platform {
namespace {

char16_t IcuRead(const char* converter, unsigned byte) {
  UConverter* cnv = CachedIcuConverter(converter);
  UErrorCode status = U_ZERO_ERROR;
  const char in = static_cast<char>(byte);
  UChar out[2] = {};
  const int32_t n = ucnv_toUChars(cnv, out, 2, &in, 1, &status);
  return U_SUCCESS(status) && n == 1 ? out[0] : 0;
}

TEST(CodePageWestern, EveryByteReadsAsIcuReadsItAndBack) {
  for (unsigned b = 0; b < 256; ++b) {
    SCOPED_TRACE(b);
    const std::string byte(1, static_cast<char>(b));
    const char16_t latin1 = Latin1ToWide(byte)[0];
    const char16_t windows = Windows1252ToWide(byte, false)[0];
    const char16_t strict = Windows1252ToWide(byte, true)[0];
    EXPECT_EQ(latin1, IcuRead("ISO-8859-1", b));
    // ICU reads 1252's five undefined bytes as Windows does: the C1 control of the value.
    EXPECT_EQ(windows, IcuRead("windows-1252", b));
    EXPECT_EQ(strict, IsWindows1252Undefined(b) ? u'\xFFFD' : windows);
    EXPECT_EQ(WesternByteOf(latin1), static_cast<int>(b));
    EXPECT_EQ(WesternByteOf(windows), static_cast<int>(b));
  }
  EXPECT_EQ(WesternByteOf(u'あ'), -1);
  EXPECT_EQ(WesternByteOf(u'\xFFFD'), -1);
}

}  // namespace
}  // namespace magna::platform
