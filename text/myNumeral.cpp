#include "text/myNumeral.h"

#include <optional>

#include "platform/myLocale.h"
#include "text/myUtils.h"

namespace magna {

namespace {

using platform::CompareLocale;

// The roles of the numeral characters; each is one UTF-16 code unit.
enum class NumeralRole : uint8_t { None, Digit, Multiplier, TenThousand };

struct NumeralChar {
  NumeralRole role = NumeralRole::None;
  uint8_t digitValue = 0;   // a Digit's text read as a number: 0 to 20
  bool digitClass = false;  // ASCII, full-width, kanji or formal digit
  uint16_t unit = 0;        // a Multiplier's value: 10, 100 or 1000
};

constexpr NumeralChar Digit(unsigned value, bool digitClass = true) {
  return {NumeralRole::Digit, static_cast<uint8_t>(value), digitClass, 0};
}
constexpr NumeralChar Unit(unsigned unit) {
  return {NumeralRole::Multiplier, 0, false, static_cast<uint16_t>(unit)};
}

// clang-format off
NumeralChar ClassifyKanji(char16_t c) {
  switch (c) {
    case u'〇': case u'零': return Digit(0);
    case u'一': case u'壱': case u'壹': return Digit(1);
    case u'二': case u'弐': case u'貮': case u'貳': return Digit(2);
    case u'三': case u'参': case u'參': return Digit(3);
    case u'四': case u'肆': return Digit(4);
    case u'五': case u'伍': return Digit(5);
    case u'六': case u'陸': return Digit(6);
    case u'七': case u'柒': case u'漆': case u'質': return Digit(7);
    case u'八': case u'捌': return Digit(8);
    case u'九': case u'玖': return Digit(9);
    case u'十': case u'拾': return Unit(10);
    case u'百': case u'陌': case u'佰': return Unit(100);
    case u'千': case u'阡': case u'仟': return Unit(1000);
    case u'万': case u'萬': return {NumeralRole::TenThousand, 0, false, 10000};
    default: return {};
  }
}
// clang-format on

NumeralChar ClassifyNumeral(char16_t c) {
  if (c >= u'0' && c <= u'9') return Digit(c - u'0');
  if (c < u'Ⅰ') return {};
  if (c <= u'Ⅹ') return Digit(c - u'Ⅰ' + 1, false);
  if (c >= u'①' && c <= u'⑳') return Digit(c - u'①' + 1, false);
  if (c >= u'０' && c <= u'９') return Digit(c - u'０');
  if (c < u'〇' || (c > u'〇' && c < u'一')) return {};  // kana and punctuation: the common case
  return ClassifyKanji(c);
}

bool IsNonZeroDigitChar(char16_t c) {
  const NumeralChar numeral = ClassifyNumeral(c);
  return numeral.digitClass && numeral.digitValue != 0;
}

int CompareLocaleTextView(WideView a, WideView b) {
  return CompareLocale(
      a, b, platform::NORM_IGNORECASE | platform::NORM_IGNORENONSPACE | platform::SORT_STRINGSORT);
}

int64_t CheckedAdd(int64_t a, int64_t b) {
  int64_t sum;
  if (__builtin_add_overflow(a, b, &sum)) throw EIntOverflow("Integer overflow");
  return sum;
}

int64_t CheckedMul(int64_t a, int64_t b) {
  int64_t product;
  if (__builtin_mul_overflow(a, b, &product)) throw EIntOverflow("Integer overflow");
  return product;
}

// The pending digit text of a number, kept as its value: concatenating digit texts
// is multiplying by ten per digit and adding. A value beyond 64 bits reads as 0.
class PendingDigits {
 public:
  void Append(unsigned digitValue) {
    const int64_t shift = digitValue >= 10 ? 100 : 10;
    if (!tooLarge_ && (__builtin_mul_overflow(value_, shift, &value_) ||
                       __builtin_add_overflow(value_, static_cast<int64_t>(digitValue), &value_)))
      tooLarge_ = true;
  }
  int64_t Read() const { return tooLarge_ ? 0 : value_; }
  void Clear() { *this = PendingDigits(); }

 private:
  int64_t value_ = 0;
  bool tooLarge_ = false;
};

// The state of one number being read by the full-form split.
class NumberReader {
 public:
  /// Reads the numeral character at position i; false when the number ends there.
  bool Take(WideView text, size_t i, const NumeralChar& c) {
    switch (c.role) {
      case NumeralRole::Digit: pending_.Append(c.digitValue); return true;
      case NumeralRole::TenThousand:
        if (seenTenThousand_) return false;
        ApplyTenThousand(text, i);
        seenTenThousand_ = true;
        seenTen_ = seenHundred_ = seenThousand_ = false;
        return true;
      case NumeralRole::Multiplier:
        if (!UnitMayFollow(c.unit)) return false;
        ApplyUnit(text, i, c.unit);
        return true;
      case NumeralRole::None: break;
    }
    return false;
  }
  int64_t Value() const { return CheckedAdd(accumulated_, pending_.Read()); }

 private:
  // Within a ten-thousand group the units come in falling order, each at most once.
  bool UnitMayFollow(unsigned unit) const {
    if (seenTen_) return false;
    if (unit == 10) return true;
    if (seenHundred_) return false;
    return unit == 100 || !seenThousand_;
  }
  void MarkUnit(unsigned unit) {
    if (unit == 10)
      seenTen_ = true;
    else if (unit == 100)
      seenHundred_ = true;
    else
      seenThousand_ = true;
  }
  // The implied one: a unit stands for one of itself unless a non-zero digit
  // character precedes it.
  void AppendImpliedOne(WideView text, size_t i) {
    if (i == 0 || !IsNonZeroDigitChar(text[i - 1])) pending_.Append(1);
  }
  void ApplyUnit(WideView text, size_t i, unsigned unit) {
    AppendImpliedOne(text, i);
    accumulated_ = CheckedAdd(accumulated_, CheckedMul(pending_.Read(), unit));
    pending_.Clear();
    MarkUnit(unit);
  }
  // 万 right after 十, 百 or 千 multiplies the tens, hundreds or thousands already
  // counted: 十万 is 100000 and 二十万 200000, as a reader takes them.
  void ApplyTenThousand(WideView text, size_t i) {
    const bool afterUnit = i > 0 && ClassifyNumeral(text[i - 1]).role == NumeralRole::Multiplier;
    if (!afterUnit) AppendImpliedOne(text, i);
    accumulated_ = CheckedMul(CheckedAdd(accumulated_, pending_.Read()), 10000);
    pending_.Clear();
  }

  PendingDigits pending_;
  int64_t accumulated_ = 0;
  bool seenTen_ = false;
  bool seenHundred_ = false;
  bool seenThousand_ = false;
  bool seenTenThousand_ = false;
};

struct NumeralSplit {
  WideView prefix;
  int64_t value = 0;
  WideView rest;
};

NumeralSplit SplitNumeralView(WideView text) {
  size_t start = 0;
  while (start < text.size() && ClassifyNumeral(text[start]).role == NumeralRole::None) ++start;
  if (start == text.size()) return {text, 0, {}};
  NumberReader reader;
  size_t end = start;
  while (end < text.size() && reader.Take(text, end, ClassifyNumeral(text[end]))) ++end;
  return {text.substr(0, start), reader.Value(), text.substr(end)};
}

struct DigitSplit {
  WideView prefix;
  WideView digits;
  WideView rest;
};

bool IsAsciiDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

DigitSplit SplitDigitsView(WideView text) {
  size_t start = 0;
  while (start < text.size() && !IsAsciiDigit(text[start])) ++start;
  size_t end = start;
  while (end < text.size() && IsAsciiDigit(text[end])) ++end;
  return {text.substr(0, start), text.substr(start, end - start), text.substr(end)};
}

/// The run of ASCII digits as a 64-bit value; nullopt when it does not fit.
std::optional<int64_t> ReadDigitRun(WideView digits) {
  int64_t value = 0;
  for (const char16_t c : digits) {
    if (__builtin_mul_overflow(value, 10, &value) ||
        __builtin_add_overflow(value, c - u'0', &value))
      return std::nullopt;
  }
  return value;
}

// Texts the locale comparison finds equal: 0 when their upper-case forms are the same,
// else the longer one first. Texts of one length go by their upper-case forms, code unit
// by code unit: giving 1 both ways, as the rule once did, is no order, and a stable sort
// then reversed such pairs.
int ByLengthUnlessSameUpper(WideView a, WideView b) {
  if (a.size() != b.size()) return b.size() < a.size() ? -1 : 1;
  for (size_t i = 0; i < a.size(); ++i) {
    const char16_t ua = platform::UpperCaseChar(a[i]), ub = platform::UpperCaseChar(b[i]);
    if (ua != ub) return ua < ub ? -1 : 1;
  }
  return 0;
}

// The whole-text comparison r of one level. It is needed only when the texts
// are not equal under it, and then only in a few steps, so it is taken lazily.
struct WholeTexts {
  WideView a;
  WideView b;
  int Result() const { return CompareLocale(a, b, platform::NORM_IGNORECASE); }
};

/// Steps decided on the whole texts: empty texts, and texts the case-insensitive
/// comparison finds equal; nullopt otherwise.
std::optional<int> CompareWholeTexts(const WholeTexts& texts) {
  const WideView a = texts.a, b = texts.b;
  if (a.empty() && b.empty()) return 0;
  if (b.empty()) return 1;
  if (a.empty()) return -1;
  if (a == b) return 0;
  if (platform::SameTextLocale(a, b)) return ByLengthUnlessSameUpper(a, b);
  return std::nullopt;
}

/// A text that starts with a number against one that does not: the number goes where
/// "0" goes among texts. The whole-text comparison once decided this, but it puts 一 after
/// letters and ① before them while their values put 一 first: no order (ａ壱 < 一 < ⑫ < ａ壱).
int NumberFirstOrNot(WideView pb, const WholeTexts& texts) {
  const bool aHasPrefix = pb.empty();
  const int side = CompareLocaleTextView(aHasPrefix ? texts.a : texts.b, u"0") < 0 ? -1 : 1;
  return aHasPrefix ? side : -side;
}

/// Steps decided on the prefixes before the numbers; nullopt when they tie.
std::optional<int> ComparePrefixes(WideView pa, WideView pb, const WholeTexts& texts) {
  if (pa.empty() != pb.empty()) return NumberFirstOrNot(pb, texts);
  if (pa == pb) return std::nullopt;
  if (const int c = CompareLocaleTextView(pa, pb)) return c;
  if (const int c = ByLengthUnlessSameUpper(pa, pb)) return c;
  return std::nullopt;
}

int CompareValues(int64_t va, int64_t vb) {
  return va > vb ? 1 : va < vb ? -1 : 0;
}

// The comparison of the rests after tied numbers is written as a loop: one pass
// per tied number, so long texts of many numbers cannot exhaust the stack. An
// overflow while splitting the rests gives the whole-text result of the texts
// they came from; at the outermost level it leaves the comparison.
int CompareNumeralView(WideView a, WideView b) {
  std::optional<WholeTexts> outer;
  for (;;) {
    const WholeTexts texts{a, b};
    if (auto decided = CompareWholeTexts(texts)) return *decided;
    NumeralSplit sa, sb;
    try {
      sa = SplitNumeralView(a);
      sb = SplitNumeralView(b);
    } catch (const EIntOverflow&) {
      if (outer) return outer->Result();
      throw;
    }
    if (auto decided = ComparePrefixes(sa.prefix, sb.prefix, texts)) return *decided;
    if (const int byValue = CompareValues(sa.value, sb.value)) return byValue;
    outer = texts;
    a = sa.rest;
    b = sb.rest;
  }
}

// Same loop for the plain form; a digit run beyond 64 bits gives that level's r.
int CompareDigitView(WideView a, WideView b) {
  for (;;) {
    const WholeTexts texts{a, b};
    if (auto decided = CompareWholeTexts(texts)) return *decided;
    const DigitSplit sa = SplitDigitsView(a);
    const DigitSplit sb = SplitDigitsView(b);
    if (auto decided = ComparePrefixes(sa.prefix, sb.prefix, texts)) return *decided;
    if (sa.digits.empty() && sb.digits.empty()) return 0;
    if (sb.digits.empty()) return 1;
    if (sa.digits.empty()) return -1;
    const std::optional<int64_t> va = ReadDigitRun(sa.digits);
    const std::optional<int64_t> vb = ReadDigitRun(sb.digits);
    if (!va || !vb) return texts.Result();
    if (const int byValue = CompareValues(*va, *vb)) return byValue;
    a = sa.rest;
    b = sb.rest;
  }
}

using ViewCompare = int (*)(WideView, WideView);

int CompareDirThenName(const WideString& a, const WideString& b, ViewCompare compare) {
  WideString dirA, nameA, dirB, nameB;
  SplitPath(a, dirA, nameA);
  SplitPath(b, dirB, nameB);
  if (const int byDir = compare(dirA, dirB)) return byDir;
  return compare(nameA, nameB);
}

}  // namespace

void SplitNumeral(const WideString& text, WideString& prefix, int64_t& value, WideString& rest) {
  const NumeralSplit split = SplitNumeralView(text);
  WideString newPrefix(split.prefix);  // text may be one of the outputs
  rest = WideString(split.rest);
  prefix = std::move(newPrefix);
  value = split.value;
}

int CompareNumeralText(const WideString& a, const WideString& b) {
  return CompareNumeralView(a, b);
}

int CompareNumeralPath(const WideString& a, const WideString& b) {
  const WideString upperA = platform::UpperCase(a);
  const WideString upperB = platform::UpperCase(b);
  if (upperA == upperB) return 0;
  return CompareDirThenName(upperA, upperB, CompareNumeralView);
}

void SplitDigits(const WideString& text, WideString& prefix, WideString& digits, WideString& rest) {
  const DigitSplit split = SplitDigitsView(text);
  WideString newPrefix(split.prefix);  // text may be one of the outputs
  WideString newDigits(split.digits);
  rest = WideString(split.rest);
  prefix = std::move(newPrefix);
  digits = std::move(newDigits);
}

int CompareDigitText(const WideString& a, const WideString& b) {
  return CompareDigitView(a, b);
}

int CompareDigitPath(const WideString& a, const WideString& b) {
  if (a == b) return 0;
  return CompareDirThenName(a, b, CompareDigitView);
}

int CompareLocaleText(const WideString& a, const WideString& b) {
  return CompareLocaleTextView(a, b);
}

}  // namespace magna
