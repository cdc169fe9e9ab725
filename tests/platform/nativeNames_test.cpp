// Names the system gives as bytes, as text and back.
#include "platform/nativeNames.h"

#include <gtest/gtest.h>

#include <random>

#include "platform/codepage/codePage.h"
#include "tests/support/testSupport.h"

namespace magna::platform {
namespace {

using test::Hex;

TEST(NativeNames, WellFormedUtf8ReadsAsTheUtf8CodePage) {
  for (const std::string bytes : {"", "plain.txt", "日本語 ファイル.txt", "\xF0\x9F\x98\x80 emoji",
                                  "\xEF\xBF\xBD is U+FFFD", "\xC2\x80\xDF\xBF\xE0\xA0\x80"}) {
    SCOPED_TRACE(Hex(bytes));
    EXPECT_EQ(NativeNameToWide(bytes), MultiByteToWide(CP_UTF8, bytes));
    EXPECT_EQ(WideToNativeName(NativeNameToWide(bytes)), bytes);
  }
}

TEST(NativeNames, BytesOutsideUtf8TravelAsLowSurrogateEscapes) {
  struct Row {
    const char* name;
    std::string bytes;
    WideString text;
  } rows[] = {
      {"Shift_JIS name", "\x93\xFA\x96\x7B.txt", u"\xDC93\xDCFA\xDC96\x7B.txt"},
      {"lone continuation", "a\x80", u"a\xDC80"},
      {"encoded surrogate", "\xED\xA0\x80", u"\xDCED\xDCA0\xDC80"},
      {"overlong slash", "\xC0\xAF", u"\xDCC0\xDCAF"},
      {"cut short at the end", "x\xE3\x81", u"x\xDCE3\xDC81"},
      {"beyond U+10FFFF", "\xF4\x90\x80\x80", u"\xDCF4\xDC90\xDC80\xDC80"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.name);
    EXPECT_EQ(NativeNameToWide(r.bytes), r.text);
    EXPECT_EQ(WideToNativeName(r.text), r.bytes);
  }
}

TEST(NativeNames, EveryByteStringComesBackExactly) {
  // All strings of up to two bytes, then random ones rich in UTF-8 lead and
  // continuation bytes (fixed random start).
  for (int a = 0; a < 256; ++a) {
    for (int b = -1; b < 256; ++b) {
      std::string bytes(1, char(a));
      if (b >= 0) bytes += char(b);
      ASSERT_EQ(WideToNativeName(NativeNameToWide(bytes)), bytes) << Hex(bytes);
    }
  }
  std::mt19937 random(15);
  const unsigned char pool[] = {'a',  0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF, 0xC0, 0xC2, 0xDF,
                                0xE0, 0xE3, 0xED, 0xEF, 0xF0, 0xF3, 0xF4, 0xF5, 0xFF};
  for (int n = 0; n < 20000; ++n) {
    std::string bytes(random() % 9, '\0');
    for (char& c : bytes) c = char(pool[random() % sizeof pool]);
    ASSERT_EQ(WideToNativeName(NativeNameToWide(bytes)), bytes) << Hex(bytes);
  }
}

TEST(NativeNames, TextThatNeverCameFromBytesEncodesAsUtf8) {
  EXPECT_EQ(WideToNativeName(u"\xD83D\xDE00"), "\xF0\x9F\x98\x80");  // a pair
  EXPECT_EQ(WideToNativeName(u"\xD800x"), "\xEF\xBF\xBDx");          // lone high
  EXPECT_EQ(WideToNativeName(u"\xDC7F"), "\xEF\xBF\xBD");            // low, not an escape
  EXPECT_EQ(WideToNativeName(u"\xD800\xDC80"), "\xF0\x90\x82\x80");  // a pair, not an escape
}

}  // namespace
}  // namespace magna::platform
