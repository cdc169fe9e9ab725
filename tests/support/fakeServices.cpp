#include "tests/support/fakeServices.h"

namespace magna::test {

bool MemoryClipboard::IsFormatAvailable(Format format) {
  ++Questions;
  if (format == Format::UnicodeText) return Unicode.has_value();
  return Ansi.has_value() || Unicode.has_value();
}

bool MemoryClipboard::IsMarkedSecret() {
  ++Questions;
  return Secret;
}

bool MemoryClipboard::Open() {
  if (RefuseOpen || IsOpen) return false;
  IsOpen = true;
  ++OpenCount;
  return true;
}

void MemoryClipboard::Close() {
  IsOpen = false;
  if (changed_) {
    changed_ = false;
    OwnContent = true;
    if (onChange_) onChange_();
  }
}

std::optional<WideString> MemoryClipboard::GetUnicodeText() {
  return IsOpen ? Unicode : std::nullopt;
}

std::optional<AnsiString> MemoryClipboard::GetAnsiText() {
  return IsOpen ? Ansi : std::nullopt;
}

void MemoryClipboard::Empty() {
  if (!IsOpen) return;
  Unicode.reset();
  Ansi.reset();
  Secret = false;
  changed_ = true;
}

void MemoryClipboard::SetUnicodeText(const WideString& text) {
  if (!IsOpen) return;
  Unicode = text;
  changed_ = true;
}

void MemoryClipboard::SetAnsiText(const AnsiString& bytes) {
  if (!IsOpen) return;
  Ansi = bytes;
  changed_ = true;
}

void MemoryClipboard::SetChangeHandler(std::function<void()> handler) {
  onChange_ = std::move(handler);
}

void MemoryClipboard::SimulateCopy(std::optional<WideString> unicode,
                                   std::optional<AnsiString> ansi, bool secret) {
  Unicode = std::move(unicode);
  Ansi = std::move(ansi);
  Secret = secret;
  OwnContent = false;
  if (onChange_) onChange_();
}

uint16_t HeldKeys::GetAsyncKeyState(int virtualKey) {
  Asked.push_back(virtualKey);
  return Held.count(virtualKey) ? 0x8000 : 0;
}

FixedScreens::FixedScreens() {
  List.push_back({1, {0, 0, 1920, 1080}, {0, 0, 1920, 1040}});
}

bool RecordedLog::TakeWarning(std::string_view category, std::string_view part) {
  for (auto it = Entries.begin(); it != Entries.end(); ++it) {
    if (it->Level == platform::LogLevel::Warning && it->Category == category &&
        it->Message.find(part) != std::string::npos) {
      Entries.erase(it);
      return true;
    }
  }
  return false;
}

ScopedRecordedLog::ScopedRecordedLog() {
  auto owned = std::make_unique<RecordedLog>();
  log_ = owned.get();
  platform::InstallLog(std::move(owned));
}

ScopedRecordedLog::~ScopedRecordedLog() {
  platform::InstallLog(nullptr);
}

std::string RecordedLog::Warnings() const {
  std::string lines;
  for (const Entry& entry : Entries)
    if (entry.Level == platform::LogLevel::Warning)
      lines += entry.Category + ": " + entry.Message + "\n";
  return lines;
}

}  // namespace magna::test
