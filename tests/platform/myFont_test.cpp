#include "platform/myFont.h"

#include <gtest/gtest.h>

namespace magna {
namespace {

TEST(TFontTest, SizeAndHeightFollowEachOtherAt96Dpi) {
  TFont f;
  f.SetSize(72);
  EXPECT_EQ(f.Height(), -96);
  EXPECT_EQ(f.Size(), 72);
  f.SetHeight(-12);
  EXPECT_EQ(f.Size(), 9);
  for (int points = 8; points <= 144; ++points) {
    f.SetSize(points);
    EXPECT_EQ(f.Size(), points) << points;
  }
}

TEST(TFontTest, NotifiesOncePerRealChange) {
  TFont f;
  int changes = 0;
  f.OnChange = [&](TFont*) { ++changes; };
  f.SetSize(20);
  f.SetSize(20);
  f.SetStyle(fsBold | fsItalic);
  f.SetName(f.Name());
  EXPECT_EQ(changes, 2);

  TFont other;
  other.SetColor(clRed);
  f.Assign(other);
  EXPECT_EQ(changes, 3);
  EXPECT_TRUE(f == other);
  EXPECT_TRUE(f.OnChange);  // the handler stays with its font
}

}  // namespace
}  // namespace magna
