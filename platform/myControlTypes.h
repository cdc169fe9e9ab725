#pragma once
// Plain enumerations that controls of every layer share:
// text alignment and border style.

#include <cstdint>

namespace magna {

enum TAlignment : uint8_t { taLeftJustify, taRightJustify, taCenter };
enum TBorderStyle : uint8_t { bsNone, bsSingle };

}  // namespace magna
