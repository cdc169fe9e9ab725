// TMyLabel: caption storage, measuring with margins and frame, and what it draws.
#include "widgets/myLabel.h"

#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QImage>

#include "platform/qt/qtFont.h"
#include "tests/support/testSupport.h"

namespace magna {
namespace {

using test::U8;

QImage Render(TMyLabel& label) {
  QImage image(label.size(), QImage::Format_RGB32);
  image.fill(Qt::magenta);
  label.render(&image);
  return image;
}

/// The first row holding a pixel of the colour; -1 when none does.
int FirstRowWith(const QImage& image, uint32_t rgb) {
  const QRgb wanted = qRgb(RedOf(rgb), GreenOf(rgb), BlueOf(rgb));
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) == wanted) return y;
  return -1;
}

bool HasColor(const QImage& image, uint32_t rgb) {
  return FirstRowWith(image, rgb) >= 0;
}

class MyLabelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    label.Font().SetName(u"DejaVu Sans");
    label.Font().SetHeight(-40);
    label.Font().SetColor(clBlack);
  }
  /// The measured height of one line of text.
  int LineHeight() {
    TMyLabel one;
    one.Font().Assign(label.Font());
    one.SetCaption(u"A");
    return one.height();
  }
  TMyLabel label;
};

TEST_F(MyLabelTest, CaptionReadsBackUnchangedThroughItsUtf7Storage) {
  const WideString captions[] = {
      u"",
      u"ABC",
      u"\u3042\u6F22\uFF71",
      u"\U0001F600",
      u"\u00E9",
      u"A+B-C&D",
      u"+-+",
      u"line\r\nbreak\ttab",
      u"\xD800",
      u"x\xDC00y",
      u"\xDBFF\xD800\U0001F600\xDFFF",
  };
  for (const WideString& caption : captions) {
    SCOPED_TRACE(test::Hex(U8(caption)));
    label.SetCaption(caption);
    EXPECT_EQ(label.Caption(), caption);
    for (char byte : label.Text()) EXPECT_LT(uint8_t(byte), 0x80) << "stored as 7-bit text";
  }
}

TEST_F(MyLabelTest, MarginsAndFrameWidenTheAutoSize) {
  label.SetCaption(u"Magna");
  const QSize plain = label.size();
  ASSERT_GT(plain.width(), 0);
  label.SetLeftMargin(4);
  label.SetRightMargin(4);
  EXPECT_EQ(label.width(), plain.width() + 8);
  label.SetBorder(bsSingle);
  EXPECT_EQ(label.width(), plain.width() + 10);
  EXPECT_EQ(label.height(), plain.height() + 2);
  label.SetTopMargin(3);
  label.SetBottomMargin(5);
  EXPECT_EQ(label.height(), plain.height() + 10);
  EXPECT_EQ(label.sizeHint(), label.size());
}

TEST_F(MyLabelTest, EmptyCaptionKeepsOneLineOfHeight) {
  label.SetCaption(u"");
  EXPECT_EQ(label.height(), LineHeight());
  EXPECT_GE(label.height(), QFontMetrics(platform::qt::ToQFont(label.Font())).height());
  EXPECT_GT(label.width(), 0);
  label.SetCaption(u"&");  // an accelerator mark alone shows nothing
  EXPECT_EQ(label.height(), LineHeight());
}

TEST_F(MyLabelTest, SingleLineIgnoresLineBreaks) {
  label.SetCaption(u"A\r\nB");
  EXPECT_EQ(label.height(), 2 * LineHeight());
  label.SetSingleLine(true);
  EXPECT_EQ(label.height(), LineHeight());
}

TEST_F(MyLabelTest, AmpersandIsLiteralWithoutAccelerators) {
  label.SetCaption(u"&M");
  const int accel = label.width();
  label.SetShowAccelChar(false);
  EXPECT_GT(label.width(), accel) << "the & is drawn";
  label.SetCaption(u"M");
  EXPECT_EQ(label.width(), accel);
}

TEST_F(MyLabelTest, DisabledStyleIgnoresMarginsAndFrame) {
  label.SetCaption(u"HI");
  const int plain = label.width();
  label.SetLeftMargin(4);
  label.SetRightMargin(4);
  label.SetBorder(bsSingle);
  label.setEnabled(false);
  EXPECT_EQ(label.width(), plain);
  label.SetDisabledStyle(false);
  EXPECT_EQ(label.width(), plain + 10);
}

TEST_F(MyLabelTest, DisabledStyleDrawsEmbossedOtherwiseLikeEnabled) {
  label.SetCaption(u"HI");
  label.setEnabled(false);
  const QImage embossed = Render(label);
  EXPECT_TRUE(HasColor(embossed, ColorToRGB(clBtnShadow)));
  EXPECT_TRUE(HasColor(embossed, ColorToRGB(clBtnHighlight)));
  EXPECT_FALSE(HasColor(embossed, clBlack));

  label.SetDisabledStyle(false);
  const QImage plain = Render(label);
  EXPECT_TRUE(HasColor(plain, clBlack));
  EXPECT_FALSE(HasColor(plain, ColorToRGB(clBtnHighlight)));
}

TEST_F(MyLabelTest, BackgroundFrameAndShadowColours) {
  label.SetCaption(u"HI");
  label.SetBorder(bsSingle);
  label.SetShadow(true);
  label.Font().SetColor(TColor(RGB(0x10, 0x50, 0xFF)));
  const QImage image = Render(label);
  const uint32_t shadow = ColorToRGB(clBtnShadow);
  const QRgb frame = qRgb(RedOf(shadow), GreenOf(shadow), BlueOf(shadow));
  EXPECT_EQ(image.pixel(0, 0), frame);
  EXPECT_EQ(image.pixel(image.width() - 1, image.height() - 1), frame);
  EXPECT_TRUE(HasColor(image, ColorToRGB(clBtnFace)));
  EXPECT_TRUE(HasColor(image, RGB(0x00, 0x30, 0xDF))) << "shadow: 32 less, floored at 0";
  EXPECT_TRUE(HasColor(image, RGB(0x10, 0x50, 0xFF)));

  label.SetColor(clAqua);
  EXPECT_TRUE(HasColor(Render(label), RGB(0, 255, 255)));
  label.SetParentColor(true);  // the parent's background shows instead
  EXPECT_FALSE(HasColor(Render(label), RGB(0, 255, 255)));
  label.SetColor(clBtnFace);
  EXPECT_FALSE(label.ParentColor());
  label.SetTransparent(true);
  EXPECT_FALSE(HasColor(Render(label), ColorToRGB(clBtnFace)));
}

TEST_F(MyLabelTest, MarginsTakePartInVerticalCentring) {
  label.SetCaption(u"HI");
  label.SetAutoSize(false);
  label.resize(200, 100);
  label.SetLayout(tlCenter);
  const int centred = FirstRowWith(Render(label), clBlack);
  label.SetTopMargin(10);
  const int withMargin = FirstRowWith(Render(label), clBlack);
  ASSERT_GE(centred, 0);
  // The measured height grows by 10, the text moves down by 10 - 10 / 2.
  EXPECT_NEAR(withMargin - centred, 5, 1);
}

TEST_F(MyLabelTest, EndEllipsisChangesOnlyTextThatDoesNotFit) {
  label.SetAutoSize(false);
  label.resize(300, 60);
  label.SetCaption(u"HI");
  const QImage fits = Render(label);
  label.SetEndEllipsis(true);
  EXPECT_EQ(Render(label), fits);

  label.SetCaption(u"HIHIHIHIHIHIHIHIHIHIHIHI");
  const QImage cut = Render(label);
  label.SetEndEllipsis(false);
  EXPECT_NE(Render(label), cut);
}

TEST_F(MyLabelTest, WordWrapKeepsTheWidthAndGrowsTheHeight) {
  label.SetWordWrap(true);
  label.resize(150, 10);
  label.SetCaption(u"aaa bbb ccc ddd");
  EXPECT_LE(label.width(), 150);
  EXPECT_GE(label.height(), 2 * LineHeight());
}

TEST_F(MyLabelTest, RightJustifiedAutoSizeKeepsTheRightEdge) {
  label.SetCaption(u"Magna");
  label.move(100, 0);
  label.SetAlignment(taRightJustify);
  const int right = label.x() + label.width();
  label.SetCaption(u"M");
  EXPECT_EQ(label.x() + label.width(), right);
}

TEST_F(MyLabelTest, OnResizeFollowsEveryResize) {
  int calls = 0;
  TObject* sender = nullptr;
  label.OnResize = [&](TObject* s) {
    ++calls;
    sender = s;
  };
  label.show();  // Qt tells a hidden widget of its size when it is shown
  calls = 0;
  label.SetCaption(u"a much longer caption");
  EXPECT_GE(calls, 1);
  EXPECT_EQ(sender, static_cast<TObject*>(&label));
}

TEST_F(MyLabelTest, AFailingOnResizeHandlerIsLoggedAndTheLabelStillResizes) {
  test::ScopedRecordedLog log;
  label.OnResize = [](TObject*) { throw std::runtime_error("handler failed"); };
  label.show();
  label.SetCaption(u"a much longer caption");
  EXPECT_GT(label.width(), LineHeight());
  EXPECT_TRUE(log->TakeWarning(platform::kLogWidgets, "OnResize handler failed: handler failed"))
      << log->Warnings();
}

}  // namespace
}  // namespace magna
