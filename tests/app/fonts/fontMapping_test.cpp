// The layouts' Windows Japanese faces drawn with installed Japanese fonts.
#include "app/fonts/fontMapping.h"

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>

#include "platform/qt/qtFont.h"
#include "platform/qt/qtText.h"

namespace magna {
namespace {

using platform::qt::ToQString;
using platform::qt::ToWide;

TEST(FontMapping, KnownFacesHaveJapaneseSubstitutesFirst) {
  struct Row {
    const char16_t* face;
    const char* first;
  } rows[] = {
      {u"ＭＳ Ｐ明朝", "Noto Serif CJK JP"},       {u"ＭＳ 明朝", "Noto Serif CJK JP"},
      {u"ＭＳ Ｐゴシック", "Noto Sans CJK JP"},    {u"MS UI Gothic", "Noto Sans CJK JP"},
      {u"ＭＳ ゴシック", "Noto Sans Mono CJK JP"}, {u"ms ui gothic", "Noto Sans CJK JP"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(ToQString(r.face).toStdString());
    const QStringList list = JapaneseFontSubstitutes(ToQString(r.face));
    EXPECT_EQ(list.value(0).toStdString(), r.first);
  }
  EXPECT_TRUE(JapaneseFontSubstitutes(QStringLiteral("DejaVu Sans")).isEmpty());
}

TEST(FontMapping, InstalledSubstitutesDrawTheWindowsFaces) {
  InstallJapaneseFontSubstitutes();
  struct Row {
    const char16_t* face;
    const char* resolved;
  } rows[] = {
      {u"ＭＳ Ｐ明朝", "Noto Serif CJK JP"},
      {u"ＭＳ Ｐゴシック", "Noto Sans CJK JP"},
      {u"ＭＳ ゴシック", "Noto Sans Mono CJK JP"},
      {u"MS UI Gothic", "Noto Sans CJK JP"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.resolved);
    if (!QFontDatabase::families().contains(QString::fromUtf8(r.resolved)))
      GTEST_SKIP() << r.resolved << " is not installed (fonts-noto-cjk)";
    TFont font;
    font.SetName(r.face);
    font.SetHeight(-96);
    const QFont q = platform::qt::ToQFont(font);
    EXPECT_EQ(QFontInfo(q).family().toStdString(), r.resolved);
    EXPECT_EQ(ToWide(q.family()), WideString(r.face)) << "the chosen name is kept";
    EXPECT_TRUE(QFontMetrics(q).inFont(QChar(0x6F22))) << "kanji drawn by the face itself";
  }
}

}  // namespace
}  // namespace magna
