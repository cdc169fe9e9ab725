#pragma once
// In-process implementations of the platform services: the defaults before the
// program installs its Qt ones, and the fakes unit tests install and steer.

#include <set>

#include "platform/services.h"

namespace magna::platform {

/// A clipboard held in memory; `RefuseOpen` makes Open fail like a busy clipboard.
class MemoryClipboard : public ClipboardService {
 public:
  bool IsFormatAvailable(Format format) override;
  bool IsMarkedSecret() override;
  bool Open() override;
  void Close() override;
  std::optional<WideString> GetUnicodeText() override;
  std::optional<AnsiString> GetAnsiText() override;
  void Empty() override;
  void SetUnicodeText(const WideString& text) override;
  void SetAnsiText(const AnsiString& bytes) override;
  void SetChangeHandler(std::function<void()> handler) override;

  /// Replaces the content as another program would, and notifies.
  void SimulateCopy(std::optional<WideString> unicode, std::optional<AnsiString> ansi,
                    bool secret = false);

  bool RefuseOpen = false;
  bool IsOpen = false;
  int OpenCount = 0;
  int Questions = 0;  // format and secrecy questions asked
  bool Secret = false;
  std::optional<WideString> Unicode;
  std::optional<AnsiString> Ansi;

 private:
  bool changed_ = false;
  std::function<void()> onChange_;
};

/// Keys held by the test.
class HeldKeys : public KeyStateService {
 public:
  uint16_t GetAsyncKeyState(int virtualKey) override;
  bool MouseButtonsSwapped() override { return Swapped; }

  std::set<int> Held;
  bool Swapped = false;
  std::vector<int> Asked;  // every key asked for, in order
};

/// Monitors given by the test.
class FixedScreens : public ScreenService {
 public:
  FixedScreens();  // one 1920 x 1080 monitor with a 40-pixel task bar at the bottom
  std::vector<MonitorInfo> Monitors() override { return List; }
  TPoint CursorPos() override { return Cursor; }

  std::vector<MonitorInfo> List;
  TPoint Cursor;
};

/// Message boxes recorded instead of shown.
class RecordedMessageBoxes : public MessageBoxService {
 public:
  struct Box {
    WideString Text;
    WideString Caption;
  };
  void Show(const WideString& text, const WideString& caption) override {
    Shown.push_back({text, caption});
  }
  std::vector<Box> Shown;
};

/// An event loop with nothing pending; counts what the core asks of it.
class CountingUi : public UiService {
 public:
  void ProcessMessages() override {
    ++ProcessCount;
    if (OnProcess) OnProcess();
  }
  void Beep() override { ++BeepCount; }
  bool Terminated() override { return IsTerminated; }

  int ProcessCount = 0;
  int BeepCount = 0;
  bool IsTerminated = false;
  std::function<void()> OnProcess;
};

}  // namespace magna::platform
