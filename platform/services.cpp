#include "platform/services.h"

#include "platform/memoryServices.h"

namespace magna::platform {

namespace {

template <class Service, class Default>
class Slot {
 public:
  Service& Get() {
    if (!service_) service_ = std::make_unique<Default>();
    return *service_;
  }
  void Install(std::unique_ptr<Service> service) { service_ = std::move(service); }

 private:
  std::unique_ptr<Service> service_;
};

Slot<ClipboardService, MemoryClipboard> clipboardSlot;
Slot<KeyStateService, HeldKeys> keyStateSlot;
Slot<ScreenService, FixedScreens> screenSlot;
Slot<MessageBoxService, RecordedMessageBoxes> messageBoxSlot;
Slot<UiService, CountingUi> uiSlot;

}  // namespace

ClipboardService& Clipboard() {
  return clipboardSlot.Get();
}
KeyStateService& KeyState() {
  return keyStateSlot.Get();
}
ScreenService& Screens() {
  return screenSlot.Get();
}
MessageBoxService& MessageBoxes() {
  return messageBoxSlot.Get();
}
UiService& Ui() {
  return uiSlot.Get();
}

void InstallClipboard(std::unique_ptr<ClipboardService> s) {
  clipboardSlot.Install(std::move(s));
}
void InstallKeyState(std::unique_ptr<KeyStateService> s) {
  keyStateSlot.Install(std::move(s));
}
void InstallScreens(std::unique_ptr<ScreenService> s) {
  screenSlot.Install(std::move(s));
}
void InstallMessageBoxes(std::unique_ptr<MessageBoxService> s) {
  messageBoxSlot.Install(std::move(s));
}
void InstallUi(std::unique_ptr<UiService> s) {
  uiSlot.Install(std::move(s));
}

}  // namespace magna::platform
