// The other width form: both ways for every pair, voiced kana through their
// marks, and the half-width katakana against code page 50220, which writes them
// as full-width.
#include "text/character/widthForm.h"

#include <gmock/gmock.h>

#include "platform/codepage/codePage.h"
#include "tests/support/testSupport.h"

namespace magna {
namespace {

using test::U8;

TEST(OtherWidthForm, EveryPairLeadsThereAndBack) {
  int pairs = 0;
  for (char16_t c = 0xFF01; c <= 0xFFEE; ++c) {
    const WideString form(1, c);
    const TOtherWidth other = OtherWidthForm(form);
    if (other.Text.empty()) continue;
    SCOPED_TRACE(U8(form));
    // The half-width kana, Hangul and symbols lead to full width, the rest to half.
    const bool halfWidthForm = (c >= 0xFF61 && c <= 0xFFDC) || c >= 0xFFE8;
    EXPECT_EQ(other.Width, halfWidthForm ? TWidth::Full : TWidth::Half);
    EXPECT_EQ(U8(OtherWidthForm(other.Text).Text), U8(form));
    ++pairs;
  }
  EXPECT_GT(pairs, 200);
}

TEST(OtherWidthForm, VoicedKanaGoThroughTheirMarks) {
  struct Case {
    const char* from;
    const char* to;
    TWidth width;
  } cases[] = {
      {"ガ", "ｶﾞ", TWidth::Half}, {"ｶﾞ", "ガ", TWidth::Full}, {"パ", "ﾊﾟ", TWidth::Half},
      {"ヴ", "ｳﾞ", TWidth::Half}, {"ア", "ｱ", TWidth::Half},  {"Ａ", "A", TWidth::Half},
      {"A", "Ａ", TWidth::Full},  {"　", " ", TWidth::Half},  {"¥", "￥", TWidth::Full},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.from);
    const TOtherWidth other = OtherWidthForm(test::W(c.from));
    EXPECT_EQ(U8(other.Text), c.to);
    EXPECT_EQ(other.Width, c.width);
  }
  for (const char* none : {"亜", "e\xCC\x81", "", "が", "①"}) {
    SCOPED_TRACE(none);
    EXPECT_TRUE(OtherWidthForm(test::W(none)).Text.empty());
  }
}

TEST(OtherWidthForm, HalfWidthKatakanaAsCodePage50220WritesThem) {
  // Alone and with either sound mark; the marks themselves differ: Unicode pairs the
  // half-width marks with the combining ones, the code page with the spacing ones.
  for (char16_t half = 0xFF61; half <= 0xFF9D; ++half) {
    for (const WideString& text :
         {WideString(1, half), WideString{half, u'\uFF9E'}, WideString{half, u'\uFF9F'}}) {
      const WideString written = platform::MultiByteToWide(
          platform::CP_ISO2022JP, platform::WideToMultiByte(platform::CP_ISO2022JP, text));
      if (written.size() != 1) continue;  // no joined form: the mark stays on its own
      SCOPED_TRACE(U8(text));
      EXPECT_EQ(U8(OtherWidthForm(text).Text), U8(written));
    }
  }
}

}  // namespace
}  // namespace magna
