// The process's arguments through the command line and back, on arbitrary bytes
// shaped as /proc/self/cmdline gives them (arguments ending in NUL bytes): each
// argument read as text (bytes outside UTF-8 kept as escapes), joined by
// JoinCommandLine, split again by SplitCommandLine and written back as bytes must
// give exactly the arguments it started from.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/nativeNames.h"
#include "text/myParam.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace magna;
  const std::string all(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> arguments;
  std::vector<WideString> texts;
  for (size_t start = 0; start < all.size();) {
    const size_t end = std::min(all.find('\0', start), all.size());
    arguments.push_back(all.substr(start, end - start));
    texts.push_back(platform::NativeNameToWide(arguments.back()));
    start = end + 1;
  }

  TMyWStrings tokens;
  SplitCommandLine(JoinCommandLine(texts), tokens);
  if (tokens.Count() != int(arguments.size())) std::abort();
  for (int i = 0; i < tokens.Count(); ++i)
    if (platform::WideToNativeName(tokens.Get(i)) != arguments[size_t(i)]) std::abort();
  return 0;
}
