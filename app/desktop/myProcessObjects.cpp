#include "app/desktop/myProcessObjects.h"

#include "platform/myMonitor.h"
#include "text/myParam.h"

namespace magna {

TMyProcessObjects::TMyProcessObjects() {
  InitializeMyScreen();
  InitializeMyParam();
}

TMyProcessObjects::~TMyProcessObjects() {
  FinalizeMyParam();
  FinalizeMyScreen();
}

}  // namespace magna
