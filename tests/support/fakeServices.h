#pragma once
// Fakes of the platform services that tests (and benchmarks) install and steer:
// each records what it was asked and can be told how to answer.

#include <set>
#include <string>

#include "platform/log.h"
#include "platform/services.h"

namespace magna::test {

/// A clipboard held in memory; `RefuseOpen` makes Open fail like a busy clipboard.
class MemoryClipboard : public platform::ClipboardService {
 public:
  bool IsFormatAvailable(Format format) override;
  bool IsMarkedSecret() override;
  bool IsOwnContent() override { return OwnContent; }
  bool Open() override;
  void Close() override;
  std::optional<WideString> GetUnicodeText() override;
  std::optional<AnsiString> GetAnsiText() override;
  void Empty() override;
  void SetUnicodeText(const WideString& text) override;
  void SetAnsiText(const AnsiString& bytes) override;
  void SetChangeHandler(std::function<void()> handler) override;
  bool SeesChangesInBackground() override { return InBackground; }

  /// Replaces the content as another program would, and notifies.
  void SimulateCopy(std::optional<WideString> unicode, std::optional<AnsiString> ansi,
                    bool secret = false);

  bool RefuseOpen = false;
  bool IsOpen = false;
  int OpenCount = 0;
  int Questions = 0;  // format and secrecy questions asked
  bool Secret = false;
  bool OwnContent = false;   // put by this process through Open ... Close
  bool InBackground = true;  // false: told of changes only while a window has the focus
  std::optional<WideString> Unicode;
  std::optional<AnsiString> Ansi;

 private:
  bool changed_ = false;
  std::function<void()> onChange_;
};

/// Keys held by the test.
class HeldKeys : public platform::KeyStateService {
 public:
  uint16_t GetAsyncKeyState(int virtualKey) override;
  bool MouseButtonsSwapped() override { return Swapped; }

  std::set<int> Held;
  bool Swapped = false;
  std::vector<int> Asked;  // every key asked for, in order
};

/// Monitors given by the test.
class FixedScreens : public platform::ScreenService {
 public:
  FixedScreens();  // one 1920 x 1080 monitor with a 40-pixel task bar at the bottom
  std::vector<platform::MonitorInfo> Monitors() override { return List; }
  TPoint CursorPos() override { return Cursor; }

  std::vector<platform::MonitorInfo> List;
  TPoint Cursor;
};

/// Message boxes recorded instead of shown.
class RecordedMessageBoxes : public platform::MessageBoxService {
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
class CountingUi : public platform::UiService {
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

/// Every message kept; a test takes the warnings it provoked, and what is left over
/// is a failure nobody expected.
class RecordedLog : public platform::LogService {
 public:
  struct Entry {
    platform::LogLevel Level;
    std::string Category;
    std::string Message;
  };
  void Write(platform::LogLevel level, std::string_view category,
             std::string_view message) override {
    Entries.push_back({level, std::string(category), std::string(message)});
  }
  /// Removes the first warning of the category whose message holds `part`; false
  /// when there is none.
  bool TakeWarning(std::string_view category, std::string_view part);
  /// The warnings still kept, one "category: message" line each.
  std::string Warnings() const;

  std::vector<Entry> Entries;
};

/// A RecordedLog installed for one scope, for tests without the full set of fakes;
/// the default log again after it.
class ScopedRecordedLog {
 public:
  ScopedRecordedLog();
  ~ScopedRecordedLog();
  ScopedRecordedLog(const ScopedRecordedLog&) = delete;
  ScopedRecordedLog& operator=(const ScopedRecordedLog&) = delete;
  RecordedLog* operator->() { return log_; }

 private:
  RecordedLog* log_;
};

}  // namespace magna::test
