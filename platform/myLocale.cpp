#include "platform/myLocale.h"

#include <algorithm>
#include <array>
#include <optional>
#include <unordered_map>

#include <unicode/localpointer.h>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/ucol.h>
#include <unicode/unorm2.h>
#include <unicode/utf16.h>

namespace magna::platform {

namespace {

constexpr unsigned kKnownFlags = NORM_IGNORECASE | NORM_IGNORENONSPACE | SORT_STRINGSORT;

// One Japanese collator per flag combination; opening a collator per call is slow.
//  - the comparison ends at the identical level: the Japanese tailoring leaves width
//    and kana-type differences to the last levels, and the platform tells ＡＢＣ from
//    ABC and あ from ア whatever is ignored;
//  - ignoring case is done by folding the texts first (see FoldInto), ignoring
//    non-spacing marks by dropping them first (see StripMarksInto): so exactly these
//    differences are ignored and the comparison stays an order (a lower strength would
//    ignore width and kana type too, and case would then break its ties);
//  - without the string sort, punctuation and symbols are shifted: they only break
//    ties at the quaternary level (the platform's word sort weights them lightly).
void Configure(UCollator* collator, unsigned flags, UErrorCode& status) {
  const bool stringSort = (flags & SORT_STRINGSORT) != 0;
  ucol_setAttribute(collator, UCOL_STRENGTH, UCOL_IDENTICAL, &status);
  ucol_setAttribute(collator, UCOL_ALTERNATE_HANDLING,
                    stringSort ? UCOL_NON_IGNORABLE : UCOL_SHIFTED, &status);
  ucol_setAttribute(collator, UCOL_NORMALIZATION_MODE, UCOL_ON, &status);
}

UCollator* CachedCollator(unsigned flags) {
  thread_local std::array<icu::LocalUCollatorPointer, kKnownFlags + 1> collators;
  icu::LocalUCollatorPointer& slot = collators[flags];
  if (slot.isNull()) {
    UErrorCode status = U_ZERO_ERROR;
    slot.adoptInstead(ucol_open("ja", &status));
    if (U_SUCCESS(status)) Configure(slot.getAlias(), flags, status);
    if (U_FAILURE(status)) throw std::runtime_error("ICU: no Japanese collator");
  }
  return slot.getAlias();
}

// Simple case folding of one code point; ASCII and the caseless CJK block (kana,
// punctuation, ideographs) without asking ICU, which most Japanese text is.
UChar32 FoldChar(UChar32 c) {
  if (c < 0x80) return (c >= u'A' && c <= u'Z') ? c + 0x20 : c;
  if (c >= 0x3000 && c <= 0x9FFF) return c;
  return u_foldCase(c, U_FOLD_CASE_DEFAULT);
}

// Whether simple case folding leaves the text as it is: no upper-case ASCII and
// nothing outside the blocks that have no case at all (checked without ICU).
bool FoldsToItself(WideView text) {
  for (const char16_t c : text) {
    const bool caseless = c < 0x80
                              ? (c < u'A' || c > u'Z')
                              : (c >= 0x3000 && c <= 0x9FFF) || (c >= 0x2000 && c <= 0x20FF) ||
                                    (c >= 0x2190 && c <= 0x24B5) || (c >= 0x24EA && c <= 0x2BFF) ||
                                    (c >= 0xFF00 && c <= 0xFF20) || (c >= 0xFF3B && c <= 0xFF40) ||
                                    (c >= 0xFF5B && c <= 0xFFEF);
    if (!caseless) return false;
  }
  return true;
}

// Simple (one code point to one code point) case folding into a reused buffer.
WideView FoldInto(WideView text, WideString& buffer) {
  buffer.resize(text.size());
  size_t i = 0;
  size_t out = 0;
  while (i < text.size()) {
    UChar32 c;
    U16_NEXT(text.data(), i, text.size(), c);
    const UChar32 folded = FoldChar(c);
    U16_APPEND_UNSAFE(buffer.data(), out, U16_LENGTH(folded) == U16_LENGTH(c) ? folded : c);
  }
  return WideView(buffer.data(), out);
}

// Both texts simply case-folded; the views live until the next pair on this thread.
struct FoldedPair {
  FoldedPair(WideView textA, WideView textB) {
    thread_local WideString bufferA;
    thread_local WideString bufferB;
    a = FoldsToItself(textA) ? textA : FoldInto(textA, bufferA);
    b = FoldsToItself(textB) ? textB : FoldInto(textB, bufferB);
  }
  WideView a;
  WideView b;
};

// The text without its non-spacing marks (general category Mn): canonically decomposed,
// so that が loses its voiced mark as か゛ would, and é its accent. Texts without any
// character that decomposes or is a mark are returned as they are.
WideView StripMarksInto(WideView text, WideString& buffer) {
  if (std::all_of(text.begin(), text.end(), [](char16_t c) { return c < 0x00C0; })) return text;
  UErrorCode status = U_ZERO_ERROR;
  const icu::Normalizer2* nfd = icu::Normalizer2::getNFDInstance(status);
  if (U_FAILURE(status)) throw std::runtime_error("ICU: no NFD data");
  const icu::UnicodeString decomposed =
      nfd->normalize(icu::UnicodeString(false, reinterpret_cast<const UChar*>(text.data()),
                                        static_cast<int32_t>(text.size())),
                     status);
  if (U_FAILURE(status)) throw std::runtime_error("ICU: decomposition failed");
  buffer.clear();
  for (int32_t i = 0; i < decomposed.length();) {
    const UChar32 c = decomposed.char32At(i);
    const int32_t length = U16_LENGTH(c);
    if (u_charType(c) != U_NON_SPACING_MARK)
      buffer.append(reinterpret_cast<const char16_t*>(decomposed.getBuffer()) + i,
                    static_cast<size_t>(length));
    i += length;
  }
  return buffer;
}

// The folded code unit at i, when it is a starter without a canonical decomposition
// (so the text's NFD form holds it right after the NFD form of what precedes it).
std::optional<UChar32> FoldedStarterAt(WideView text, size_t i) {
  if (U16_IS_SURROGATE(text[i])) return std::nullopt;
  const UChar32 folded = FoldChar(text[i]);
  if (folded > 0xFFFF) return std::nullopt;
  if (folded < 0x80) return folded;
  if (u_getCombiningClass(folded) != 0 ||
      u_getIntPropertyValue(folded, UCHAR_NFD_QUICK_CHECK) != UNORM_YES)
    return std::nullopt;
  return folded;
}

// Texts equal up to position i (a code point boundary in both, as the same code
// units precede it) whose folded NFD forms visibly part there: one text ends, or
// both hold different starters.
bool DistinctStartersAt(WideView a, WideView b, size_t i) {
  const bool endA = i == a.size(), endB = i == b.size();
  const std::optional<UChar32> ca = endA ? std::nullopt : FoldedStarterAt(a, i);
  const std::optional<UChar32> cb = endB ? std::nullopt : FoldedStarterAt(b, i);
  if ((!endA && !ca) || (!endB && !cb)) return false;
  return endA || endB || *ca != *cb;
}

// Whether ICU's quick check finds the text in NFC (false when unsure).
bool QuickNfc(WideView text) {
  UErrorCode status = U_ZERO_ERROR;
  const UNormalizer2* nfc = unorm2_getNFCInstance(&status);
  if (U_FAILURE(status)) return false;
  const int32_t length = static_cast<int32_t>(text.size());
  const int32_t span =
      unorm2_spanQuickCheckYes(nfc, reinterpret_cast<const UChar*>(text.data()), length, &status);
  return U_SUCCESS(status) && span == length;
}

int Collate(UCollator* collator, WideView a, WideView b) {
  const UCollationResult result = ucol_strcoll(
      collator, reinterpret_cast<const UChar*>(a.data()), static_cast<int32_t>(a.size()),
      reinterpret_cast<const UChar*>(b.data()), static_cast<int32_t>(b.size()));
  return result == UCOL_LESS ? -1 : result == UCOL_GREATER ? 1 : 0;
}

// The platform's half-width mapping, derived from Unicode's width decompositions:
// every <wide> character to its decomposition (full-width ASCII, signs, the
// ideographic space) and, inverted, every <narrow> character whose full form is
// Japanese punctuation or katakana (U+3000..U+30FF).
using WidthMap = std::unordered_map<char16_t, char16_t>;

WidthMap BuildHalfWidthMap() {
  UErrorCode status = U_ZERO_ERROR;
  const icu::Normalizer2* nfkc = icu::Normalizer2::getNFKCInstance(status);
  if (U_FAILURE(status)) throw std::runtime_error("ICU: no NFKC data");
  WidthMap map;
  for (UChar32 c = 0x3000; c <= 0xFFEF; ++c) {
    const auto type = u_getIntPropertyValue(c, UCHAR_DECOMPOSITION_TYPE);
    if (type != U_DT_WIDE && type != U_DT_NARROW) continue;
    icu::UnicodeString target;
    if (!nfkc->getRawDecomposition(c, target) || target.length() != 1) continue;
    const char16_t other = target.charAt(0);
    if (type == U_DT_WIDE)
      map.emplace(static_cast<char16_t>(c), other);
    else if (other >= 0x3000 && other <= 0x30FF)
      map.emplace(other, static_cast<char16_t>(c));
  }
  // The spacing voiced marks take the half-width voiced marks too.
  map.emplace(u'\u309B', u'\uFF9E');
  map.emplace(u'\u309C', u'\uFF9F');
  return map;
}

const WidthMap& HalfWidthMap() {
  static const WidthMap map = BuildHalfWidthMap();
  return map;
}

// A voiced katakana (ガ, パ, ヴ) maps to its half-width base and a half-width mark.
bool AppendSplitVoiced(char16_t c, const WidthMap& map, WideString& out) {
  if (c < 0x30A0 || c > 0x30FF) return false;
  UErrorCode status = U_ZERO_ERROR;
  const icu::Normalizer2* nfd = icu::Normalizer2::getNFDInstance(status);
  icu::UnicodeString parts;
  if (U_FAILURE(status) || !nfd->getDecomposition(c, parts) || parts.length() != 2) return false;
  const auto base = map.find(parts.charAt(0));
  const auto mark = map.find(parts.charAt(1));
  if (base == map.end() || mark == map.end()) return false;
  out += base->second;
  out += mark->second;
  return true;
}

}  // namespace

int CompareLocale(WideView a, WideView b, unsigned flags) {
  flags &= kKnownFlags;
  if (flags & NORM_IGNORENONSPACE) {
    thread_local WideString bufferA;
    thread_local WideString bufferB;
    a = StripMarksInto(a, bufferA);
    b = StripMarksInto(b, bufferB);
    flags &= ~unsigned{NORM_IGNORENONSPACE};
  }
  UCollator* collator = CachedCollator(flags);
  if (!(flags & NORM_IGNORECASE)) return Collate(collator, a, b);
  const FoldedPair folded(a, b);
  return folded.a == folded.b ? 0 : Collate(collator, folded.a, folded.b);
}

bool SameTextLocale(WideView a, WideView b) {
  const size_t first =
      static_cast<size_t>(std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first - a.begin());
  if (first == a.size() && first == b.size()) return true;
  if (DistinctStartersAt(a, b, first)) return false;
  const FoldedPair folded(a, b);
  if (folded.a == folded.b) return true;
  // The comparison ends at the identical level: two different texts in NFC are
  // never canonically equivalent, so only other texts need the collator.
  if (QuickNfc(folded.a) && QuickNfc(folded.b)) return false;
  return Collate(CachedCollator(NORM_IGNORECASE), folded.a, folded.b) == 0;
}

char16_t UpperCaseChar(char16_t c) {
  if (c < 0x80) return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 0x20) : c;
  const UChar32 upper = u_toupper(c);
  return upper <= 0xFFFF ? static_cast<char16_t>(upper) : c;
}

WideString UpperCase(WideView text) {
  WideString result(text);
  for (char16_t& c : result) c = UpperCaseChar(c);
  return result;
}

WideString ToHalfWidthMap(WideView text) {
  const WidthMap& map = HalfWidthMap();
  WideString result;
  result.reserve(text.size());
  for (const char16_t c : text) {
    const auto found = map.find(c);
    if (found != map.end())
      result += found->second;
    else if (!AppendSplitVoiced(c, map, result))
      result += c;
  }
  return result;
}

}  // namespace magna::platform
