#include "app/window/ctrlKeyFilter.h"

#include <algorithm>
#include <array>

namespace magna {

bool IsFilteredCtrlKey(uint16_t key) {
  static constexpr std::array<uint16_t, 11> kFiltered = {38, 40, 43, 49, 50, 53,
                                                         61, 69, 74, 76, 82};
  return std::find(kFiltered.begin(), kFiltered.end(), key) != kFiltered.end();
}

}  // namespace magna
