// Automatic detection reads back whatever automatic writing wrote. The input's bytes
// choose a text from the mixed Japanese repertoires (ASCII with + - @ $, half-width and
// full-width kana, kanji of JIS X 0208, NEC row 13, IBM extensions, symbols, emoji, line
// breaks); the text is written with cdAuto and read with cdAuto, and must come back
// identical, read in the code it was written in.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "tests/support/mixedText.h"
#include "text/myCharCode.h"

using namespace magna;

namespace {

/// Choices taken from the input's bytes, two at a time; 0 once they run out.
class ByteChoices {
 public:
  ByteChoices(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  int operator()(int n) {
    unsigned value = 0;
    for (int k = 0; k < 2 && at_ < size_; ++k) value = value << 8 | data_[at_++];
    return static_cast<int>(value % static_cast<unsigned>(n));
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
};

const WideString& TempFile() {
  // In memory where there is such a folder: the writer syncs every file it writes.
  static const WideString name = [] {
    const std::string folder = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return Utf8ToWide(folder + "/magna-fuzz-auto-" + std::to_string(getpid()));
  }();
  return name;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const WideString text = test::MixedText(ByteChoices(data, size), 200);
  if (!WriteTextFile(TempFile(), text, cdAuto)) std::abort();
  TMyCharCode code = cdAuto;
  if (ReadTextFile(TempFile(), code) != text) __builtin_trap();
  // Shift_JIS where it fits (or UTF-8 where Shift_JIS would read as another code).
  if (code != cdUTF_8 && (code != cdSJis || NeedsUnicode(text))) __builtin_trap();
  return 0;
}
