#include "text/character/widthForm.h"

#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/utf16.h>

#include <unordered_map>

namespace magna {

namespace {

using TWidthPairs = std::unordered_map<char32_t, char32_t>;

bool HasWidthMapping(char32_t c) {
  const int32_t type = u_getIntPropertyValue(UChar32(c), UCHAR_DECOMPOSITION_TYPE);
  return type == U_DT_WIDE || type == U_DT_NARROW;
}

/// Both directions of every <wide> and <narrow> mapping: they all lie in U+FF01 ...
/// U+FFEE but for the ideographic space. Where two forms map to one character
/// (none do today), the first keeps the way back.
TWidthPairs BuildWidthPairs() {
  TWidthPairs pairs;
  UErrorCode status = U_ZERO_ERROR;
  const icu::Normalizer2* nfkc = icu::Normalizer2::getNFKCInstance(status);
  if (U_FAILURE(status)) return pairs;
  auto add = [&](char32_t form) {
    icu::UnicodeString plain;
    if (!HasWidthMapping(form) || !nfkc->getRawDecomposition(UChar32(form), plain)) return;
    if (plain.countChar32() != 1) return;
    const char32_t other = char32_t(plain.char32At(0));
    pairs.emplace(form, other);
    pairs.emplace(other, form);
  };
  add(0x3000);
  for (char32_t c = 0xFF01; c <= 0xFFEE; ++c) add(c);
  return pairs;
}

const TWidthPairs& WidthPairs() {
  static const TWidthPairs pairs = BuildWidthPairs();
  return pairs;
}

icu::UnicodeString Normalized(const icu::UnicodeString& text, bool compose) {
  UErrorCode status = U_ZERO_ERROR;
  const icu::Normalizer2* form =
      compose ? icu::Normalizer2::getNFCInstance(status) : icu::Normalizer2::getNFDInstance(status);
  if (U_FAILURE(status)) return text;
  icu::UnicodeString out = form->normalize(text, status);
  return U_SUCCESS(status) ? out : text;
}

bool IsHalfWidth(char32_t c) {
  const int32_t width = u_getIntPropertyValue(UChar32(c), UCHAR_EAST_ASIAN_WIDTH);
  return width == U_EA_HALFWIDTH || width == U_EA_NARROW;
}

}  // namespace

TOtherWidth OtherWidthForm(WideView cluster) {
  if (cluster.empty()) return {};
  const icu::UnicodeString source(false, cluster.data(), int32_t(cluster.size()));
  // Decomposed, so that ガ is カ + U+3099, whose narrow form is ﾞ.
  const icu::UnicodeString parts = Normalized(source, false);
  icu::UnicodeString mapped;
  const TWidthPairs& pairs = WidthPairs();
  for (int32_t i = 0; i < parts.length();) {
    const UChar32 c = parts.char32At(i);
    i += U16_LENGTH(c);
    auto it = pairs.find(char32_t(c));
    if (it == pairs.end()) return {};
    mapped.append(UChar32(it->second));
  }
  const icu::UnicodeString other = Normalized(mapped, true);
  if (other == source) return {};
  TOtherWidth result;
  result.Text.assign(reinterpret_cast<const char16_t*>(other.getBuffer()), size_t(other.length()));
  result.Width = IsHalfWidth(char32_t(other.char32At(0))) ? TWidth::Half : TWidth::Full;
  return result;
}

}  // namespace magna
