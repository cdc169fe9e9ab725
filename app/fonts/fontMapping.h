#pragma once
// The Windows font names of the layouts drawn with installed Japanese fonts.
// fontconfig would take "ＭＳ Ｐ明朝" for an unknown face and draw DejaVu with
// whatever CJK fallback the locale picks (often Chinese glyph shapes); these
// substitutes are the Japanese faces of Noto CJK, then the IPA fonts. The face
// name the program stores and shows stays the one that was chosen.

#include <QStringList>

namespace magna {

/// The installed-or-not faces that stand for a Windows Japanese face, best first;
/// empty for a name that needs none.
QStringList JapaneseFontSubstitutes(const QString& windowsFace);

/// Registers the substitutes of every known Windows Japanese face with Qt. Call
/// once after the QApplication exists, before the first window is made.
void InstallJapaneseFontSubstitutes();

}  // namespace magna
