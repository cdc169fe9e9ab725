// The composite check: a base character followed by combining marks is joined into
// its precomposed form where Unicode has one (か + U+3099 -> が, e + U+0301 -> é).
#include <bitset>
#include <memory>

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/utf16.h>

#include "platform/codepage/codePageCodecs.h"

namespace magna::platform::detail {

namespace {

using MarkSet = std::bitset<0x10000>;

const MarkSet& CombiningMarks() {
  static const std::unique_ptr<MarkSet> marks = [] {
    auto set = std::make_unique<MarkSet>();
    for (UChar32 c = 0x300; c < 0x10000; ++c)
      if (u_getCombiningClass(c) != 0) set->set(static_cast<size_t>(c));
    return set;
  }();
  return *marks;
}

const icu::Normalizer2& Nfc() {
  UErrorCode status = U_ZERO_ERROR;
  const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
  if (U_FAILURE(status)) throw std::runtime_error("ICU NFC data missing");
  return *nfc;
}

void AppendCodePoint(WideString& out, UChar32 c) {
  if (c < 0x10000) {
    out += static_cast<char16_t>(c);
  } else {
    out += static_cast<char16_t>(U16_LEAD(c));
    out += static_cast<char16_t>(U16_TRAIL(c));
  }
}

}  // namespace

bool ComposeMarks(WideView text, WideString& out) {
  const MarkSet& marks = CombiningMarks();
  size_t first = 1;
  while (first < text.size() && !marks[text[first]]) ++first;
  if (first >= text.size()) return false;
  const icu::Normalizer2& nfc = Nfc();
  out.assign(text.substr(0, first - 1));
  UChar32 base = -1;  // the last code point not yet written
  for (size_t i = first - 1; i < text.size();) {
    UChar32 c;
    U16_NEXT(text.data(), i, text.size(), c);
    if (base >= 0 && c < 0x10000 && marks[static_cast<size_t>(c)]) {
      UChar32 joined = nfc.composePair(base, c);
      if (joined >= 0) {
        base = joined;
        continue;
      }
    }
    if (base >= 0) AppendCodePoint(out, base);
    base = c;
  }
  if (base >= 0) AppendCodePoint(out, base);
  return true;
}

}  // namespace magna::platform::detail
