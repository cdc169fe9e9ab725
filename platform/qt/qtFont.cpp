#include "platform/qt/qtFont.h"

#include <QColor>

#include <cmath>

#include "platform/qt/qtText.h"

namespace magna::platform::qt {

QFont ToQFont(const TFont& font) {
  QFont q;
  q.setFamilies({ToQString(font.Name())});
  // A negative height is the character height; a positive one the cell height,
  // which Qt has no measure for, so it stands for the character height too.
  if (font.Height() != 0) q.setPixelSize(std::abs(font.Height()));
  q.setBold((font.Style() & fsBold) != 0);
  q.setItalic((font.Style() & fsItalic) != 0);
  q.setUnderline((font.Style() & fsUnderline) != 0);
  q.setStrikeOut((font.Style() & fsStrikeOut) != 0);
  return q;
}

namespace {

/// The character height in pixels at the layouts' 96 pixels per inch.
int PixelHeightOf(const QFont& font) {
  if (font.pixelSize() > 0) return font.pixelSize();
  return int(std::lround(font.pointSizeF() * TFont::PixelsPerInch / 72.0));
}

}  // namespace

void AssignQFont(TFont& target, const QFont& source) {
  TFont font(target);
  const QStringList families = source.families();
  font.SetName(ToWide(families.isEmpty() ? source.family() : families.first()));
  font.SetHeight(-PixelHeightOf(source));
  TFontStyles style = 0;
  if (source.bold()) style |= fsBold;
  if (source.italic()) style |= fsItalic;
  if (source.underline()) style |= fsUnderline;
  if (source.strikeOut()) style |= fsStrikeOut;
  font.SetStyle(style);
  target.Assign(font);
}

QColor ToQColor(TColor color) {
  const uint32_t rgb = ColorToRGB(color);
  return QColor(RedOf(rgb), GreenOf(rgb), BlueOf(rgb));
}

TColor FromQColor(const QColor& color) {
  return TColor(RGB(color.red(), color.green(), color.blue()));
}

}  // namespace magna::platform::qt
