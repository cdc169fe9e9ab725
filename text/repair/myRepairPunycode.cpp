// Punycode (RFC 3492) host labels: "xn--" and the encoded label, as internationalised
// domain names travel (xn--wgv71a119e.jp is 日本語.jp). A label starts where the text
// or a dot or any character that is no letter, digit or hyphen is before it.
#include "text/repair/myRepairForms.h"
#include "text/repair/myRepairSteps.h"

namespace magna::repair {

namespace {

bool IsLabelUnit(char16_t u) {
  return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '-';
}

bool IsPrefixAt(WideView text, size_t i) {
  if (i + 4 > text.size() || (i > 0 && IsLabelUnit(text[i - 1]))) return false;
  return (text[i] == 'x' || text[i] == 'X') && (text[i + 1] == 'n' || text[i + 1] == 'N') &&
         text[i + 2] == '-' && text[i + 3] == '-';
}

}  // namespace

bool UndoPunycode(WideView text, StepOutcome& out) {
  OutcomeBuilder builder(text, out);
  out.step = {TRepairForm::Punycode};
  const size_t n = text.size();
  WideString label;
  for (size_t i = 0; i < n; ++i) {
    if (!IsPrefixAt(text, i)) continue;
    size_t end = i + 4;
    while (end < n && IsLabelUnit(text[end])) ++end;
    if (!DecodePunycode(text.substr(i + 4, end - i - 4), label) || HasUnwanted(label)) continue;
    bool beyondAscii = false;
    for (char16_t u : label) beyondAscii |= u >= 0x80;
    if (!beyondAscii) continue;
    const CharClass before = ClassBefore(text, i), after = ClassAt(text, end);
    const WideView encoded = text.substr(i, end - i);
    builder.Replace(i, end - i, label, {},
                    Cost(encoded, before, after) - Cost(label, before, after));
    i = end - 1;
  }
  builder.Finish();
  return out.Changed();
}

}  // namespace magna::repair

namespace magna::repair {

namespace {

constexpr char32_t kBase = 36, kTMin = 1, kTMax = 26, kSkew = 38, kDamp = 700;
constexpr char32_t kInitialBias = 72, kInitialN = 128;

char32_t Adapt(char32_t delta, char32_t points, bool first) {
  delta = first ? delta / kDamp : delta / 2;
  delta += delta / points;
  char32_t k = 0;
  for (; delta > ((kBase - kTMin) * kTMax) / 2; k += kBase) delta /= kBase - kTMin;
  return k + (kBase - kTMin + 1) * delta / (delta + kSkew);
}

char16_t Digit(char32_t d) {
  return static_cast<char16_t>(d < 26 ? 'a' + d : '0' + (d - 26));
}

int DigitValue(char16_t u) {
  if (u >= 'a' && u <= 'z') return u - 'a';
  if (u >= 'A' && u <= 'Z') return u - 'A';
  if (u >= '0' && u <= '9') return u - '0' + 26;
  return -1;
}

char32_t Threshold(char32_t k, char32_t bias) {
  return k <= bias ? kTMin : k >= bias + kTMax ? kTMax : k - bias;
}

bool CodePoints(WideView text, std::u32string& out) {
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    if (c >= 0xD800 && c <= 0xDFFF) {
      if (c >= 0xDC00 || i + 1 == text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF)
        return false;
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    }
    out += c;
  }
  return true;
}

}  // namespace

bool EncodePunycode(WideView label, WideString& out) {
  out.clear();
  std::u32string input;
  if (!CodePoints(label, input)) return false;
  for (char32_t c : input)
    if (c < 0x80) out += static_cast<char16_t>(c);
  const size_t basic = out.size();
  if (basic > 0) out += u'-';
  char32_t n = kInitialN, delta = 0, bias = kInitialBias;
  for (size_t handled = basic; handled < input.size();) {
    char32_t m = 0x10FFFF + 1;
    for (char32_t c : input)
      if (c >= n && c < m) m = c;
    delta += (m - n) * static_cast<char32_t>(handled + 1);
    n = m;
    for (char32_t c : input) {
      if (c < n) ++delta;
      if (c != n) continue;
      char32_t q = delta;
      for (char32_t k = kBase;; k += kBase) {
        const char32_t t = Threshold(k, bias);
        if (q < t) break;
        out += Digit(t + (q - t) % (kBase - t));
        q = (q - t) / (kBase - t);
      }
      out += Digit(q);
      bias = Adapt(delta, static_cast<char32_t>(handled + 1), handled == basic);
      delta = 0;
      ++handled;
    }
    ++delta;
    ++n;
  }
  return true;
}

bool DecodePunycode(WideView encoded, WideString& out) {
  out.clear();
  std::u32string output;
  const size_t delimiter = encoded.rfind(u'-');
  size_t in = 0;
  if (delimiter != WideView::npos) {
    for (size_t i = 0; i < delimiter; ++i) {
      if (encoded[i] >= 0x80) return false;
      output += encoded[i];
    }
    in = delimiter + 1;
  }
  char32_t n = kInitialN, i = 0, bias = kInitialBias;
  constexpr char32_t kLimit = 0x7FFFFFFF;
  while (in < encoded.size()) {
    const char32_t oldI = i;
    char32_t w = 1;
    for (char32_t k = kBase;; k += kBase) {
      if (in >= encoded.size()) return false;
      const int digit = DigitValue(encoded[in++]);
      if (digit < 0 || static_cast<char32_t>(digit) > (kLimit - i) / w) return false;
      i += static_cast<char32_t>(digit) * w;
      const char32_t t = Threshold(k, bias);
      if (static_cast<char32_t>(digit) < t) break;
      if (w > kLimit / (kBase - t)) return false;
      w *= kBase - t;
    }
    const auto points = static_cast<char32_t>(output.size() + 1);
    bias = Adapt(i - oldI, points, oldI == 0);
    if (i / points > kLimit - n) return false;
    n += i / points;
    i %= points;
    if (n > 0x10FFFF || (n >= 0xD800 && n <= 0xDFFF)) return false;
    output.insert(output.begin() + static_cast<ptrdiff_t>(i), n);
    ++i;
  }
  for (char32_t c : output) AppendCodePoint(out, c);
  return true;
}

}  // namespace magna::repair
