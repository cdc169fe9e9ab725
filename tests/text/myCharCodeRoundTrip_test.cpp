// Whatever is written with automatic detection reads back with it unchanged: random
// mixed Japanese texts through WriteTextFile and ReadTextFile, and the texts whose
// detection once went wrong.
#include <gtest/gtest.h>

#include <random>

#include "tests/support/mixedText.h"
#include "tests/support/testSupport.h"
#include "text/myCharCode.h"

namespace magna {
namespace {

using test::Hex;
using test::U8;
using test::W;

class AutoRoundTrip : public test::FakeServicesTest {
 protected:
  test::TempDir dir{test::MemoryFolder()};
  /// The text as cdAuto writes and then reads it; `code` gets the detected code.
  WideString WrittenAndRead(const WideString& text, TMyCharCode& code) {
    EXPECT_TRUE(WriteTextFile(dir.Wide("t.txt"), text, cdAuto));
    code = cdAuto;
    return ReadTextFile(dir.Wide("t.txt"), code);
  }
  std::string Bytes() { return test::ReadBytes(dir / "t.txt"); }
};

TEST_F(AutoRoundTrip, RandomMixedTextsComeBackIdentical) {
  std::mt19937 random(12);
  const auto choose = [&random](int n) { return static_cast<int>(random() % n); };
  int fitting = 0, fittingAsUtf8 = 0;
  for (int round = 0; round < 3000; ++round) {
    const WideString text = test::MixedText(choose);
    TMyCharCode code;
    const WideString back = WrittenAndRead(text, code);
    ASSERT_EQ(U8(back), U8(text)) << "round " << round << ", read as " << int(code) << ": "
                                  << Hex(Bytes());
    if (NeedsUnicode(text)) continue;
    ++fitting;
    // Text that fits Shift_JIS goes to UTF-8 only where the Shift_JIS bytes would read
    // as another code: detection must keep that rare.
    fittingAsUtf8 += code == cdUTF_8;
  }
  EXPECT_LT(fittingAsUtf8 * 100, fitting) << fittingAsUtf8 << " of " << fitting;
}

// Files the program wrote and read as another code: each row once failed.
TEST_F(AutoRoundTrip, TextsOnceDetectedAsAnotherCode) {
  const char* texts[] = {
      "髙橋と山﨑",                    // IBM extension lead bytes FA..FC (as UTF-16BE)
      "ⅰⅱ＂＇￤",                      // IBM extensions alone
      "Name=髙\r\n",                   //
      "mail=foo+bar@example.com\r\n",  // "+" and letters (as UTF-7)
      "a+bcd\r\n",                     //
      "value=+Inf\r\n",                //
      "FontName=Hack+Mono\r\n",        //
      "1+1=2, C++ and a + b\r\n",      //
      "ﾒｲﾘｵ",                          // half-width katakana alone (as EUC-JP)
      "FontName=ﾒｲﾘｵ\r\n",             //
  };
  for (const char* text : texts) {
    SCOPED_TRACE(text);
    TMyCharCode code;
    EXPECT_EQ(U8(WrittenAndRead(W(text), code)), text) << Hex(Bytes());
    EXPECT_EQ(code, cdSJis);
  }
}

// Shift_JIS whose bytes end like a character of another code cut by the end of the file,
// what comes before reading as that code too: written as Shift_JIS, read as Shift_JIS.
TEST_F(AutoRoundTrip, ShiftJisThatEndsLikeACutCharacterOfAnotherCode) {
  const char* texts[] = {
      "see also \xE8\xAA",     // ASCII, then the start of a three-byte UTF-8 sequence
      "\xE4\x8D\x81\xDA",      // UTF-8 of a rare ideograph (U+4341), then a lead
      "\xD2\xBC\xD8",          // ﾒｼﾘ: a two-byte UTF-8 sequence (Cyrillic), then a lead
      "\xB6\xC0\xB6\xC5\xB1",  // ｶﾀｶﾅｱ: common kanji of EUC-JP, then a lead
      "\xD6\xFA\x56\xD5",      // ﾖ, an IBM extension, ﾕ: an EUC-JP kanji, V, then a lead
  };
  for (const char* bytes : texts) {
    const WideString text = AnsiToWide(bytes);
    SCOPED_TRACE(U8(text));
    TMyCharCode code;
    EXPECT_EQ(U8(WrittenAndRead(text, code)), U8(text));
    EXPECT_EQ(code, cdSJis);
    EXPECT_EQ(Hex(Bytes()), Hex(bytes));
  }
}

}  // namespace
}  // namespace magna
