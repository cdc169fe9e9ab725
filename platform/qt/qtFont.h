#pragma once
// The font object as a QFont and back. The face name travels unchanged both ways:
// the name the program stores and shows is the one that was chosen, even where
// Qt draws it with a substitute face.

#include <QColor>
#include <QFont>

#include "platform/myFont.h"

namespace magna::platform::qt {

/// Face, size (pixel size -Height for a negative height), bold, italic, underline, strike-out.
QFont ToQFont(const TFont& font);
/// Takes face, size and styles from a QFont; the colour and character set stay as they are.
void AssignQFont(TFont& target, const QFont& source);
/// A colour for Qt, opaque; system colours by ColorToRGB.
QColor ToQColor(TColor color);
/// A plain colour of Qt's red, green and blue (alpha dropped); never a system colour.
TColor FromQColor(const QColor& color);

}  // namespace magna::platform::qt
