#pragma once
// Helpers shared by the tests: temporary folders, whole-file bytes, and a
// fixture that installs fresh fake platform services for each test.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/versionRecord.h"
#include "tests/support/fakeServices.h"

namespace magna::test {

/// A fresh folder under the system's temporary folder, removed with everything in it.
class TempDir {
 public:
  TempDir();
  /// A fresh folder under `base` (for instance /dev/shm, where syncing a file costs nothing).
  explicit TempDir(const std::filesystem::path& base);
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  /// The full name of an entry in the folder, as the program's wide text.
  WideString Wide(const std::string& name) const;
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

void WriteBytes(const std::filesystem::path& file, const std::string& bytes);
std::string ReadBytes(const std::filesystem::path& file);
/// The bytes of the running test program's file.
std::string ThisProgramImage();
/// Reads from `image` as from a file of `size` bytes (the image cut short when smaller).
platform::ReadBytesAt BufferReader(const std::string& image, size_t size);
/// UTF-8 source text to the program's wide text (test literals only).
WideString W(std::string_view utf8);
/// Wide text to UTF-8 for readable failure messages.
std::string U8(WideView text);
/// Bytes as "41 42 0A" for readable failure messages.
std::string Hex(std::string_view bytes);
/// A folder in memory when the system has one (/dev/shm), else the temporary folder:
/// for tests that write thousands of files.
std::filesystem::path MemoryFolder();

/// Installs fresh fakes of every platform service before each test and the
/// defaults again after it. A warning logged during the test fails it unless the
/// test expects it.
class FakeServicesTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  /// The failure the test just provoked left a warning of the category holding `part`.
  void ExpectWarning(std::string_view category, std::string_view part);

  MemoryClipboard* clipboard = nullptr;
  MemoryClipboard* selection = nullptr;  // the X11 PRIMARY selection
  HeldKeys* keys = nullptr;
  FixedScreens* screens = nullptr;
  RecordedMessageBoxes* messageBoxes = nullptr;
  CountingUi* ui = nullptr;
  RecordedLog* log = nullptr;
};

}  // namespace magna::test
