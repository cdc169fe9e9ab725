#pragma once
// Message boxes as modal QMessageBoxes: the caller's caption, one OK button,
// brought to the front of the other windows when shown.

#include "platform/services.h"

namespace magna::platform::qt {

class QtMessageBox : public MessageBoxService {
 public:
  void Show(const WideString& text, const WideString& caption) override;
};

}  // namespace magna::platform::qt
