// The font object as a QFont and back.
#include "platform/qt/qtFont.h"

#include <gtest/gtest.h>

#include "platform/qt/qtText.h"

namespace magna::platform::qt {
namespace {

TEST(QtFont, NegativeHeightIsThePixelSizeAndStylesCarryOver) {
  TFont font;
  font.SetName(u"ＭＳ Ｐ明朝");
  font.SetHeight(-96);
  font.SetStyle(fsBold | fsItalic | fsUnderline | fsStrikeOut);
  const QFont q = ToQFont(font);
  EXPECT_EQ(q.pixelSize(), 96);
  EXPECT_EQ(ToWide(q.family()), u"ＭＳ Ｐ明朝");
  EXPECT_TRUE(q.bold());
  EXPECT_TRUE(q.italic());
  EXPECT_TRUE(q.underline());
  EXPECT_TRUE(q.strikeOut());
}

TEST(QtFont, RoundTripKeepsTheChosenNameColourAndCharset) {
  TFont font;
  font.SetName(u"ＭＳ ゴシック");
  font.SetHeight(-12);
  font.SetColor(clRed);
  font.SetCharset(SHIFTJIS_CHARSET);
  font.SetStyle(fsItalic);
  TFont back;
  back.SetColor(clRed);
  back.SetCharset(SHIFTJIS_CHARSET);
  int changes = 0;
  back.OnChange = [&](TFont*) { ++changes; };
  AssignQFont(back, ToQFont(font));
  EXPECT_TRUE(back == font);
  EXPECT_EQ(changes, 1);
}

TEST(QtFont, PointSizesBecomeHeightsAtNinetySixPixelsPerInch) {
  struct Row {
    double points;
    int height;
  } rows[] = {{72, -96}, {9, -12}, {144, -192}, {8, -11}, {10.5, -14}};
  for (const Row& r : rows) {
    SCOPED_TRACE(r.points);
    QFont q(QStringLiteral("Noto Sans CJK JP"));
    q.setPointSizeF(r.points);
    TFont font;
    AssignQFont(font, q);
    EXPECT_EQ(font.Height(), r.height);
    EXPECT_EQ(ToWide(q.family()), font.Name());
  }
}

}  // namespace
}  // namespace magna::platform::qt
