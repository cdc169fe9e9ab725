// The mojibake repair on any text: the first byte picks how the rest becomes the text
// (0: UTF-8, 1: UTF-16LE code units, lone surrogates and all; 2 and up: UTF-8 put
// through the chain of that number first, so that the fuzzer starts from misread text).
// Whatever the repair finds must hold together: its stretches put in place of the
// original's give the repaired text, every lost place is a U+FFFD in it, the check and
// its application agree with FindRepair, and nothing is offered below the threshold.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "tests/support/repairChains.h"
#include "text/myCharCode.h"
#include "text/repair/myRepair.h"

using namespace magna;

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

WideString TextOf(const uint8_t* data, size_t size) {
  const std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  if (data[0] == 1) {
    WideString text(rest.size() / 2, u'\0');
    for (size_t i = 0; i < text.size(); ++i)
      text[i] = static_cast<char16_t>(static_cast<uint8_t>(rest[2 * i]) |
                                      static_cast<uint8_t>(rest[2 * i + 1]) << 8);
    return text;
  }
  const WideString text = Utf8ToWide(rest);
  if (data[0] == 0) return text;
  static const std::vector<test::Chain> chains = test::Chains();
  WideString made;
  bool lossless = true;
  const test::Chain& chain = chains[(data[0] - 2) % chains.size()];
  return test::MakeChain(chain, text, made, lossless) ? made : text;
}

void RequireConsistent(WideView input, const TRepair& r) {
  if (!r.Found()) {
    Require(r.text.empty() && r.spans.empty() && r.lost.empty());
    return;
  }
  Require(r.score >= 16);
  WideString rebuilt;
  size_t copied = 0;
  for (const TRepairSpan& s : r.spans) {
    Require(s.from >= copied && s.from + s.length <= input.size());
    rebuilt.append(input.substr(copied, s.from - copied));
    Require(s.repairedFrom == rebuilt.size() && s.repairedFrom + s.repairedLength <= r.text.size());
    rebuilt.append(WideView(r.text).substr(s.repairedFrom, s.repairedLength));
    copied = s.from + s.length;
    Require(r.SpanAt(s.from) == &s);
  }
  rebuilt.append(input.substr(copied));
  Require(rebuilt == r.text);
  for (size_t at : r.lost) Require(at < r.text.size() && r.text[at] == u'\xFFFD');
  Require(!RepairWords(r, TRepairLanguage::Japanese).empty());
  Require(!RepairWords(r, TRepairLanguage::English).empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const WideString text = TextOf(data, size);
  const TRepair r = FindRepair(text);
  RequireConsistent(text, r);
  const TRepairFinding finding = CheckRepair(text);
  if (r.Found()) {
    // FindRepair is the check applied to the whole text.
    Require(finding.Found() && finding.chain == r.chain);
    const TRepair applied = ApplyRepair(text, finding);
    Require(applied.text == r.text && applied.lost == r.lost);
  }
  return 0;
}
