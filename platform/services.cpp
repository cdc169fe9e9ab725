#include "platform/services.h"

#include <cstdio>

#include "platform/log.h"

namespace magna::platform {

namespace {

// Until the program installs its own services, each answers as a desktop with
// nothing on it would; none keeps a record that could grow.

class NoClipboard : public ClipboardService {
 public:
  bool IsFormatAvailable(Format) override { return false; }
  bool IsMarkedSecret() override { return false; }
  bool IsOwnContent() override { return false; }
  bool Open() override { return false; }
  void Close() override {}
  std::optional<WideString> GetUnicodeText() override { return std::nullopt; }
  std::optional<AnsiString> GetAnsiText() override { return std::nullopt; }
  void Empty() override {}
  void SetUnicodeText(const WideString&) override {}
  void SetAnsiText(const AnsiString&) override {}
  void SetChangeHandler(std::function<void()>) override {}
};

class NoKeysHeld : public KeyStateService {
 public:
  uint16_t GetAsyncKeyState(int) override { return 0; }
  bool MouseButtonsSwapped() override { return false; }
};

class OneScreen : public ScreenService {
 public:
  std::vector<MonitorInfo> Monitors() override {
    return {{1, {0, 0, 1920, 1080}, {0, 0, 1920, 1040}}};
  }
  TPoint CursorPos() override { return {}; }
};

class UnshownMessageBoxes : public MessageBoxService {
 public:
  void Show(const WideString&, const WideString&) override {}
};

class StandardErrorLog : public LogService {
 public:
  void Write(LogLevel level, std::string_view category, std::string_view message) override {
    if (level != LogLevel::Warning) return;
    std::string line(category);
    line += ": ";
    line += message;
    line += '\n';
    std::fwrite(line.data(), 1, line.size(), stderr);
  }
};

class IdleUi : public UiService {
 public:
  void ProcessMessages() override {}
  void Beep() override {}
  bool Terminated() override { return false; }
};

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

Slot<ClipboardService, NoClipboard> clipboardSlot;
Slot<ClipboardService, NoClipboard> selectionSlot;
Slot<KeyStateService, NoKeysHeld> keyStateSlot;
Slot<ScreenService, OneScreen> screenSlot;
Slot<MessageBoxService, UnshownMessageBoxes> messageBoxSlot;
Slot<UiService, IdleUi> uiSlot;
Slot<LogService, StandardErrorLog> logSlot;

}  // namespace

ClipboardService& Clipboard() {
  return clipboardSlot.Get();
}
ClipboardService& Selection() {
  return selectionSlot.Get();
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
LogService& Log() {
  return logSlot.Get();
}

void InstallClipboard(std::unique_ptr<ClipboardService> s) {
  clipboardSlot.Install(std::move(s));
}
void InstallSelection(std::unique_ptr<ClipboardService> s) {
  selectionSlot.Install(std::move(s));
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
void InstallLog(std::unique_ptr<LogService> s) {
  logSlot.Install(std::move(s));
}

}  // namespace magna::platform
