#include "platform/services.h"

#include <cstdio>

#include "platform/log.h"
#include "platform/noDestructor.h"

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

// Never destroyed: an installed service may hold Qt objects, which must not be
// destroyed by the exit handlers (RestoreDefaultServices gives them up first).
struct Slots {
  Slot<ClipboardService, NoClipboard> clipboard;
  Slot<ClipboardService, NoClipboard> selection;
  Slot<KeyStateService, NoKeysHeld> keyState;
  Slot<ScreenService, OneScreen> screen;
  Slot<MessageBoxService, UnshownMessageBoxes> messageBox;
  Slot<UiService, IdleUi> ui;
  Slot<LogService, StandardErrorLog> log;
};

Slots& TheSlots() {
  static TNoDestructor<Slots> slots;
  return *slots;
}

}  // namespace

ClipboardService& Clipboard() {
  return TheSlots().clipboard.Get();
}
ClipboardService& Selection() {
  return TheSlots().selection.Get();
}
KeyStateService& KeyState() {
  return TheSlots().keyState.Get();
}
ScreenService& Screens() {
  return TheSlots().screen.Get();
}
MessageBoxService& MessageBoxes() {
  return TheSlots().messageBox.Get();
}
UiService& Ui() {
  return TheSlots().ui.Get();
}
LogService& Log() {
  return TheSlots().log.Get();
}

void InstallClipboard(std::unique_ptr<ClipboardService> s) {
  TheSlots().clipboard.Install(std::move(s));
}
void InstallSelection(std::unique_ptr<ClipboardService> s) {
  TheSlots().selection.Install(std::move(s));
}
void InstallKeyState(std::unique_ptr<KeyStateService> s) {
  TheSlots().keyState.Install(std::move(s));
}
void InstallScreens(std::unique_ptr<ScreenService> s) {
  TheSlots().screen.Install(std::move(s));
}
void InstallMessageBoxes(std::unique_ptr<MessageBoxService> s) {
  TheSlots().messageBox.Install(std::move(s));
}
void InstallUi(std::unique_ptr<UiService> s) {
  TheSlots().ui.Install(std::move(s));
}
void InstallLog(std::unique_ptr<LogService> s) {
  TheSlots().log.Install(std::move(s));
}

void RestoreDefaultServices() {
  Slots& slots = TheSlots();
  // The log last: the others may still have something to say while they go.
  slots.clipboard.Install(nullptr);
  slots.selection.Install(nullptr);
  slots.keyState.Install(nullptr);
  slots.screen.Install(nullptr);
  slots.messageBox.Install(nullptr);
  slots.ui.Install(nullptr);
  slots.log.Install(nullptr);
}

}  // namespace magna::platform
