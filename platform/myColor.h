#pragma once
// Colours as signed 32-bit values: 0x00BBGGRR for plain colours, negative values
// (0x80000000 | index) for the system colours, turned into RGB by ColorToRGB.

#include <cstdint>

namespace magna {

using TColor = int32_t;

constexpr TColor SystemColor(int index) {
  return static_cast<TColor>(0x80000000u | unsigned(index));
}

constexpr TColor clBlack = 0x000000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clAqua = 0xFFFF00;  // cyan: red 0, green 255, blue 255
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;
constexpr TColor clWindowText = SystemColor(8);
constexpr TColor clWindow = SystemColor(5);
constexpr TColor clBtnFace = SystemColor(15);
constexpr TColor clBtnShadow = SystemColor(16);
constexpr TColor clBtnHighlight = SystemColor(20);
constexpr TColor clGrayText = SystemColor(17);
constexpr TColor clHighlight = SystemColor(13);
constexpr TColor clHighlightText = SystemColor(14);

/// 0x00BBGGRR for any colour: a plain one keeps its low 24 bits, a system colour
/// comes from the platform's classic light scheme, 0 (black) for an unknown index.
uint32_t ColorToRGB(TColor color);
/// The red, green and blue parts of a plain colour.
constexpr int RedOf(uint32_t rgb) {
  return int(rgb & 0xFF);
}
constexpr int GreenOf(uint32_t rgb) {
  return int((rgb >> 8) & 0xFF);
}
constexpr int BlueOf(uint32_t rgb) {
  return int((rgb >> 16) & 0xFF);
}
constexpr uint32_t RGB(int r, int g, int b) {
  return uint32_t(r) | uint32_t(g) << 8 | uint32_t(b) << 16;
}

}  // namespace magna
