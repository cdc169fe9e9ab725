// The font dialog's face list shows Japanese, and its sample names the installed
// family that draws a Windows face name.
#include "app/fonts/fontDialog.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFontComboBox>
#include <QFontDatabase>
#include <QLabel>

#include "app/fonts/fontMapping.h"

namespace magna {
namespace {

QString Q(const char* utf8) {
  return QString::fromUtf8(utf8);
}

TEST(FontDialog, OffersFamiliesWithJapaneseSamples) {
  TFontDialog dialog;
  auto* faces = qobject_cast<QFontComboBox*>(dialog.FaceBox());
  ASSERT_NE(faces, nullptr);
  EXPECT_EQ(faces->writingSystem(), QFontDatabase::Japanese);
  EXPECT_GT(faces->count(), 0) << "fonts-noto-cjk has Japanese families";
  for (int i = 0; i < faces->count(); ++i) {
    const QString family = faces->itemText(i);
    EXPECT_TRUE(QFontDatabase::writingSystems(family).contains(QFontDatabase::Japanese))
        << family.toStdString() << " cannot show Japanese";
  }
}

TEST(FontDialog, NamesTheInstalledFamilyThatDrawsAWindowsFace) {
  InstallJapaneseFontSubstitutes();
  if (!QFontDatabase::families().contains(Q("Noto Serif CJK JP")))
    GTEST_SKIP() << "Noto Serif CJK JP is not installed (fonts-noto-cjk)";
  TFontDialog dialog;
  TFont font;
  font.SetName(u"ＭＳ Ｐ明朝");
  dialog.ShowFont(font);
  EXPECT_EQ(dialog.DrawingFamilyLabel()->text(),
            Q("表示に使うフォント: Noto Serif CJK JP（「ＭＳ Ｐ明朝」の代わり）"));
  EXPECT_EQ(dialog.FaceBox()->currentText(), Q("ＭＳ Ｐ明朝")) << "the chosen name stays";

  dialog.FaceBox()->setEditText(Q("Noto Serif CJK JP"));
  EXPECT_EQ(dialog.DrawingFamilyLabel()->text(), Q("表示に使うフォント: Noto Serif CJK JP"))
      << "an installed family draws itself";
}

}  // namespace
}  // namespace magna
