#include "platform/myColor.h"

namespace magna {

uint32_t ColorToRGB(TColor color) {
  if (color >= 0) return uint32_t(color) & 0xFFFFFF;
  // The classic light scheme; the Qt layer maps the ones it draws from its palette.
  static const uint32_t scheme[] = {
      RGB(200, 200, 200), RGB(0, 0, 0),       RGB(153, 180, 209), RGB(191, 205, 219),
      RGB(240, 240, 240), RGB(255, 255, 255), RGB(100, 100, 100), RGB(0, 0, 0),
      RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(180, 180, 180), RGB(244, 247, 252),
      RGB(171, 171, 171), RGB(0, 120, 215),   RGB(255, 255, 255), RGB(240, 240, 240),
      RGB(160, 160, 160), RGB(109, 109, 109), RGB(0, 0, 0),       RGB(0, 0, 0),
      RGB(255, 255, 255), RGB(105, 105, 105), RGB(227, 227, 227), RGB(0, 0, 0),
      RGB(255, 255, 225), RGB(0, 0, 0),       RGB(0, 102, 204),   RGB(185, 209, 234),
      RGB(215, 228, 242), RGB(0, 120, 215),   RGB(240, 240, 240),
  };
  unsigned index = unsigned(color) & 0xFF;
  return index < sizeof(scheme) / sizeof(scheme[0]) ? scheme[index] : 0;
}

}  // namespace magna
