// Every decoder of the twelve character codes on arbitrary bytes: the first byte picks
// the code (12 and up: automatic detection), the rest is the content. Decoding goes
// through the reader's own steps on a temporary file for one input in 16, and through
// the conversions directly otherwise; what comes out is encoded again in the same code.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/codepage/codePage.h"
#include "text/myCharCode.h"

using namespace magna;

namespace {

const std::string& TempFile() {
  static const std::string name = "/tmp/magna-fuzz-decoders-" + std::to_string(getpid());
  return name;
}

WideString ThroughFile(std::string_view bytes, TMyCharCode& code) {
  FILE* f = std::fopen(TempFile().c_str(), "wb");
  if (f == nullptr) return {};
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
  return ReadTextFile(Utf8ToWide(TempFile()), code);
}

WideString Direct(std::string_view bytes, TMyCharCode& code) {
  switch (code) {
    case cdUTF_8:
    case cdUTF_8N: return Utf8ToWide(bytes);
    case cdUTF_7: return Utf7ToWide(bytes);
    case cdJIS: return JisToWide(bytes);
    case cdEUC: return EucToWide(bytes);
    case cdUnicodeLE:
    case cdUTF_16LE: return platform::Utf16BytesToWide(bytes, false);
    case cdUnicodeBE:
    case cdUTF_16BE: return platform::Utf16BytesToWide(bytes, true);
    case cdBINDUMP: return AnsiToWide(HexDump(bytes.data(), bytes.size()));
    case cdSJis: return AnsiToWide(bytes);
    default: code = DetectCharCode(bytes.data(), bytes.size()); return Direct(bytes, code);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  auto code = static_cast<TMyCharCode>(data[0] % 13);
  std::string_view bytes(reinterpret_cast<const char*>(data + 1), size - 1);
  WideString text = data[0] >= 0xF0 ? ThroughFile(bytes, code) : Direct(bytes, code);
  // Whatever came out must go back out in every writing form.
  (void)WideToUtf8(text);
  (void)WideToUtf7(text);
  (void)WideToJis(text);
  (void)WideToEuc(text);
  (void)WideToAnsi(text);
  (void)NeedsUnicode(text);
  if (EscapedAnsiToWide(WideToEscapedAnsi(text)) != text) __builtin_trap();
  if (Utf7ToWide(WideToUtf7(text)) != text.substr(0, text.find(u'\0'))) __builtin_trap();
  return 0;
}
