#include "widgets/myProcessObjects.h"

#include "widgets/myMonitor.h"
#include "widgets/myParam.h"

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
