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

}  // namespace
}  // namespace magna
