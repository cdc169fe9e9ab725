#pragma once
// The program's font object: face name, size, colour, style set and
// character set, with a change notification, so that a later change of a font's
// size reaches the text that shows it at once. Plain C++: the GUI layers turn it
// into a QFont.

#include <cstdint>
#include <functional>

#include "platform/myBase.h"
#include "platform/myColor.h"

namespace magna {

enum TFontStyle : uint8_t { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = uint8_t;  // a set of TFontStyle flags

constexpr uint8_t DEFAULT_CHARSET = 1;
constexpr uint8_t SHIFTJIS_CHARSET = 128;

class TFont : public TObject {
 public:
  /// Pixels per inch of the screen the sizes refer to (96 in the layouts).
  static constexpr int PixelsPerInch = 96;
  /// The largest point size the program offers or takes from a settings file.
  static constexpr int MaxPoints = 1638;

  TFont() = default;
  TFont(const TFont& other) : TObject() { CopyFrom(other); }
  TFont& operator=(const TFont&) = delete;

  /// Copies every attribute (not the handler), then notifies once, even when nothing
  /// differed (also for the font itself).
  void Assign(const TFont& source);

  // Each setter notifies once when the value changes, and not at all when it is the
  // same; no value is refused.
  const WideString& Name() const { return name_; }
  void SetName(const WideString& name);
  /// Size in points, from the height: -Height * 72 / PixelsPerInch, rounded half away
  /// from zero (a positive cell height gives a negative size).
  int Size() const;
  /// Sets the height to -points * PixelsPerInch / 72, rounded half away from zero.
  void SetSize(int points);
  /// Negative: character height in pixels; positive: cell height.
  int Height() const { return height_; }
  void SetHeight(int pixels);
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  TFontStyles Style() const { return style_; }
  void SetStyle(TFontStyles style);
  uint8_t Charset() const { return charset_; }
  void SetCharset(uint8_t charset);

  /// Called after every change, with the font; may be empty.
  std::function<void(TFont*)> OnChange;

  friend bool operator==(const TFont& a, const TFont& b) {
    return a.name_ == b.name_ && a.height_ == b.height_ && a.color_ == b.color_ &&
           a.style_ == b.style_ && a.charset_ == b.charset_;
  }

 private:
  void CopyFrom(const TFont& other);
  void Changed();

  WideString name_ = u"MS UI Gothic";
  int height_ = -12;
  TColor color_ = clWindowText;
  TFontStyles style_ = 0;
  uint8_t charset_ = DEFAULT_CHARSET;
};

}  // namespace magna
