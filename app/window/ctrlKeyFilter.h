#pragma once
// Keys the text area never sees while Ctrl is held: the size keys (Up, Down)
// and the rich-edit control's own paragraph shortcuts (alignment with E, J, L,
// R; line spacing with 1, 2, 5; 43 and 61), which this program never applies.

#include <cstdint>

namespace magna {

/// Whether Ctrl with this virtual-key code is kept from the text area.
bool IsFilteredCtrlKey(uint16_t key);

}  // namespace magna
