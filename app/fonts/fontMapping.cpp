#include "app/fonts/fontMapping.h"

#include <QFont>

namespace magna {

namespace {

struct FaceGroup {
  QStringList windowsFaces;
  QStringList substitutes;
};

const std::vector<FaceGroup>& FaceGroups() {
  static const std::vector<FaceGroup> groups = {
      {{QStringLiteral("ＭＳ Ｐ明朝"), QStringLiteral("ＭＳ 明朝"), QStringLiteral("MS PMincho"),
        QStringLiteral("MS Mincho")},
       {QStringLiteral("Noto Serif CJK JP"), QStringLiteral("IPAexMincho"),
        QStringLiteral("IPAPMincho"), QStringLiteral("IPAMincho"),
        QStringLiteral("Noto Sans CJK JP")}},
      {{QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
        QStringLiteral("MS UI Gothic"), QStringLiteral("メイリオ"), QStringLiteral("Meiryo"),
        QStringLiteral("Meiryo UI"), QStringLiteral("Yu Gothic UI")},
       {QStringLiteral("Noto Sans CJK JP"), QStringLiteral("IPAexGothic"),
        QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")}},
      // The fixed-pitch face keeps fixed pitch.
      {{QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic")},
       {QStringLiteral("Noto Sans Mono CJK JP"), QStringLiteral("IPAGothic"),
        QStringLiteral("Noto Sans CJK JP")}},
  };
  return groups;
}

}  // namespace

QStringList JapaneseFontSubstitutes(const QString& windowsFace) {
  for (const FaceGroup& group : FaceGroups())
    if (group.windowsFaces.contains(windowsFace, Qt::CaseInsensitive)) return group.substitutes;
  return {};
}

void InstallJapaneseFontSubstitutes() {
  for (const FaceGroup& group : FaceGroups())
    for (const QString& face : group.windowsFaces)
      QFont::insertSubstitutions(face, group.substitutes);
}

}  // namespace magna
