#include "platform/clipboardWatcher.h"

namespace magna::platform {

bool IsRepeatedOffer(const TClipboardChange& last, const TClipboardChange& next) {
  return last.Selection == next.Selection && !last.Owner.empty() && last.Owner == next.Owner &&
         last.Text == next.Text && last.Secret == next.Secret && last.Value == next.Value;
}

}  // namespace magna::platform
