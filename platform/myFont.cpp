#include "platform/myFont.h"

#include <cmath>
#include <cstdlib>

namespace magna {

void TFont::CopyFrom(const TFont& other) {
  name_ = other.name_;
  height_ = other.height_;
  color_ = other.color_;
  style_ = other.style_;
  charset_ = other.charset_;
}

void TFont::Assign(const TFont& source) {
  if (&source == this) {
    Changed();
    return;
  }
  CopyFrom(source);
  Changed();
}

void TFont::Changed() {
  if (OnChange) OnChange(this);
}

void TFont::SetName(const WideString& name) {
  if (name == name_) return;
  name_ = name;
  Changed();
}

int TFont::Size() const {
  // Stored sizes were rounded half away from zero (MulDiv): keep reading them alike.
  return static_cast<int>(std::lround(-double(height_) * 72.0 / PixelsPerInch));
}

void TFont::SetSize(int points) {
  SetHeight(-static_cast<int>(std::lround(double(points) * PixelsPerInch / 72.0)));
}

void TFont::SetHeight(int pixels) {
  if (pixels == height_) return;
  height_ = pixels;
  Changed();
}

void TFont::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  Changed();
}

void TFont::SetStyle(TFontStyles style) {
  if (style == style_) return;
  style_ = style;
  Changed();
}

void TFont::SetCharset(uint8_t charset) {
  if (charset == charset_) return;
  charset_ = charset;
  Changed();
}

}  // namespace magna
