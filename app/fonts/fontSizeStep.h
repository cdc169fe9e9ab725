#pragma once
// The text area's font size steps: 1 point, or 5 with Shift, kept within
// 8 ... 144 points whatever the starting size.

namespace magna {

constexpr int MinFontSizeStep = 8;
constexpr int MaxFontSizeStep = 144;

enum class TSizeDirection { Up, Down };

/// The size after one step from `current`; the bounds are kept, never crossed.
int SteppedFontSize(int current, TSizeDirection direction, bool large);

}  // namespace magna
