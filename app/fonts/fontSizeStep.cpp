#include "app/fonts/fontSizeStep.h"

#include "text/myUtils.h"

namespace magna {

int SteppedFontSize(int current, TSizeDirection direction, bool large) {
  int step = large ? 5 : 1;
  int wanted = direction == TSizeDirection::Up ? current + step : current - step;
  return EnsureRange(int32_t(wanted), int32_t(MinFontSizeStep), int32_t(MaxFontSizeStep));
}

}  // namespace magna
