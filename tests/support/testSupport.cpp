#include "tests/support/testSupport.h"

#include <cstring>
#include <fstream>
#include <random>
#include <sstream>

#include <unicode/unistr.h>

namespace magna::test {

TempDir::TempDir() : TempDir(std::filesystem::temp_directory_path()) {}

TempDir::TempDir(const std::filesystem::path& base) {
  std::random_device rd;
  for (;;) {
    path_ = base / ("magna-test-" + std::to_string(rd()));
    if (std::filesystem::create_directory(path_)) break;
  }
}

std::filesystem::path MemoryFolder() {
  std::error_code ec;
  const std::filesystem::path shm = "/dev/shm";
  return std::filesystem::is_directory(shm, ec) ? shm : std::filesystem::temp_directory_path();
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

WideString TempDir::Wide(const std::string& name) const {
  return W((path_ / name).string());
}

void WriteBytes(const std::filesystem::path& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + file.string());
}

std::string ReadBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string ThisProgramImage() {
  return ReadBytes("/proc/self/exe");
}

platform::ReadBytesAt BufferReader(const std::string& image, size_t size) {
  return [&image, size](uint64_t offset, void* out, size_t count) {
    if (offset > size || count > size - offset) return false;
    std::memcpy(out, image.data() + offset, count);
    return true;
  };
}

WideString W(std::string_view utf8) {
  icu::UnicodeString u = icu::UnicodeString::fromUTF8(
      icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size())));
  return WideString(reinterpret_cast<const char16_t*>(u.getBuffer()),
                    static_cast<size_t>(u.length()));
}

std::string U8(WideView text) {
  std::string out;
  icu::UnicodeString(false, text.data(), static_cast<int32_t>(text.size())).toUTF8String(out);
  return out;
}

std::string Hex(std::string_view bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) {
    if (!out.empty()) out += ' ';
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out;
}

void FakeServicesTest::SetUp() {
  auto c = std::make_unique<MemoryClipboard>();
  clipboard = c.get();
  platform::InstallClipboard(std::move(c));
  auto sel = std::make_unique<MemoryClipboard>();
  selection = sel.get();
  platform::InstallSelection(std::move(sel));
  auto k = std::make_unique<HeldKeys>();
  keys = k.get();
  platform::InstallKeyState(std::move(k));
  auto s = std::make_unique<FixedScreens>();
  screens = s.get();
  platform::InstallScreens(std::move(s));
  auto m = std::make_unique<RecordedMessageBoxes>();
  messageBoxes = m.get();
  platform::InstallMessageBoxes(std::move(m));
  auto u = std::make_unique<CountingUi>();
  ui = u.get();
  platform::InstallUi(std::move(u));
  auto l = std::make_unique<RecordedLog>();
  log = l.get();
  platform::InstallLog(std::move(l));
}

void FakeServicesTest::ExpectWarning(std::string_view category, std::string_view part) {
  EXPECT_TRUE(log->TakeWarning(category, part))
      << "no warning of " << category << " holding \"" << part << "\"; the warnings:\n"
      << log->Warnings();
}

void FakeServicesTest::TearDown() {
  const std::string unexpected = log->Warnings();
  EXPECT_TRUE(unexpected.empty()) << "warnings the test did not expect:\n" << unexpected;
  platform::InstallClipboard(nullptr);
  platform::InstallSelection(nullptr);
  platform::InstallKeyState(nullptr);
  platform::InstallScreens(nullptr);
  platform::InstallMessageBoxes(nullptr);
  platform::InstallUi(nullptr);
  platform::InstallLog(nullptr);
}

}  // namespace magna::test
