// The code page detector. Measured over real Japanese text (see bench/bench_text_charcode),
// structural checks with table lookups beat ICU's ucsdet and uchardet on short samples,
// so the Japanese codes and the Unicode forms are decided here, in this order:
//   zero bytes at one parity -> UTF-16; ESC sequences of ISO-2022-JP -> 50220;
//   well-formed UTF-8 with multi-byte sequences -> 65001; text of plausible UTF-16 units
//   with kana -> 1200/1201; UTF-7 shifts decoding to plausible text -> 65000;
//   seven-bit -> 20127; Shift_JIS against EUC-JP by validity, then by a character score.
// Anything else eight-bit goes to uchardet.
#include "platform/codepage/charsetDetector.h"

#include <uchardet.h>

#include <strings.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "platform/codepage/codePageTables.h"

namespace magna::platform {

namespace {

using detail::Euc;
using detail::JisIndex;
using detail::kLeadByte;
using detail::Sjis;

// ---- UTF-16 -------------------------------------------------------------------------

/// Units that Japanese text in UTF-16 is made of.
bool IsPlausibleUnit(unsigned u) {
  return u == 0x09 || u == 0x0A || u == 0x0D || (u >= 0x20 && u <= 0x7E) ||
         (u >= 0xA0 && u <= 0xFF) || (u >= 0x0391 && u <= 0x044F) || (u >= 0x2010 && u <= 0x2312) ||
         (u >= 0x2460 && u <= 0x24FF) || (u >= 0x2500 && u <= 0x26FF) ||
         (u >= 0x3000 && u <= 0x30FF) || (u >= 0x3200 && u <= 0x33FF) ||
         (u >= 0xD800 && u <= 0xDFFF) || (u >= 0x4E00 && u <= 0x9FFF) ||
         (u >= 0xFF01 && u <= 0xFFEF);
}

bool IsKanaUnit(unsigned u) {
  return (u >= 0x3001 && u <= 0x3002) || (u >= 0x3041 && u <= 0x30FC);
}

/// The commonest units of Japanese text: ASCII, kana, Japanese punctuation, full-width
/// ASCII. Read in the wrong byte order they turn into rare ideographs (U+6100, U+4230).
bool IsCommonUnit(unsigned u) {
  return (u >= 0x20 && u <= 0x7E) || u == 0x0A || u == 0x0D || u == 0x09 ||
         (u >= 0x3000 && u <= 0x30FF) || (u >= 0xFF01 && u <= 0xFF5E);
}

struct Utf16Score {
  size_t units = 0, plausible = 0, kana = 0, common = 0;
  /// Without zero bytes, seven-bit text reads as plausible units too: kana must show.
  bool Plausible(bool needKana) const {
    return units > 0 && plausible * 100 >= units * 95 && (!needKana || kana * 100 >= units * 8);
  }
};

Utf16Score ScoreUtf16(std::string_view s, bool bigEndian) {
  Utf16Score score;
  for (size_t i = 0; i + 1 < s.size(); i += 2) {
    auto a = static_cast<unsigned char>(s[i]), b = static_cast<unsigned char>(s[i + 1]);
    unsigned u = bigEndian ? (a << 8 | b) : (b << 8 | a);
    ++score.units;
    score.plausible += IsPlausibleUnit(u);
    score.kana += IsKanaUnit(u);
    score.common += IsCommonUnit(u);
  }
  return score;
}

/// UTF-16 when one byte order gives plausible text with more of the common units.
std::optional<unsigned> DetectUtf16(std::string_view s, bool needKana) {
  Utf16Score le = ScoreUtf16(s, false), be = ScoreUtf16(s, true);
  bool leOk = le.Plausible(needKana), beOk = be.Plausible(needKana);
  if (leOk && (!beOk || le.common > be.common)) return 1200;
  if (beOk && (!leOk || be.common > le.common)) return 1201;
  return std::nullopt;
}

/// Zero bytes at one parity only: ASCII-rich UTF-16.
std::optional<unsigned> DetectUtf16ByZeros(std::string_view s) {
  bool odd = false, even = false;
  for (size_t i = 0; i < s.size(); ++i)
    if (s[i] == 0) (i % 2 ? odd : even) = true;
  if (odd == even) return std::nullopt;
  return odd ? 1200 : 1201;
}

// ---- seven-bit codes ------------------------------------------------------------------

/// An escape sequence of ISO-2022-JP, or the start of one cut by the end of the sample.
bool HasJisEscape(std::string_view s) {
  for (const char* e : {"\x1B$B", "\x1B$@", "\x1B(I", "\x1B$(D", "\x1B(J", "\x1B$(B"})
    if (s.find(e) != std::string_view::npos) return true;
  size_t esc = s.rfind('\x1B');
  return esc != std::string_view::npos && s.size() - esc <= 3 &&
         std::string_view("\x1B$(").substr(0, s.size() - esc) == s.substr(esc);
}

int Base64Value(char c) {
  static constexpr std::string_view kAlphabet =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  size_t at = kAlphabet.find(c);
  return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

/// UTF-7: every shift of three or more base64 characters decodes to plausible non-ASCII units.
bool LooksLikeUtf7(std::string_view s) {
  int shifts = 0;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '+') continue;
    size_t start = ++i;
    uint32_t bits = 0;
    int count = 0;
    bool plausible = true;
    for (int v; i < s.size() && (v = Base64Value(s[i])) >= 0; ++i) {
      bits = (bits << 6 | static_cast<uint32_t>(v)) & 0x3FFFFF;
      count += 6;
      if (count >= 16) {
        count -= 16;
        unsigned u = (bits >> count) & 0xFFFF;
        plausible = plausible && u >= 0x80 && IsPlausibleUnit(u);
      }
    }
    bool cut = i == s.size();
    if (i - start < 3) continue;
    if (!plausible) return false;
    if (!cut) ++shifts;
  }
  return shifts > 0;
}

// ---- UTF-8 ----------------------------------------------------------------------------

/// What well-formed UTF-8 holds: sequences of two bytes, of three or four, and whether
/// the sample ends in the start of a three-byte one (E0..EF, maybe one more byte).
struct Utf8Shape {
  size_t twoByte = 0, longer = 0;
  int twoByteScore = 0;  // how natural the two-byte characters are
  bool cutLongLead = false;
};

/// Latin-1 signs (± × ©), Greek and Cyrillic are common in UTF-8 text; a combining mark
/// with nothing to combine with is the mark of EUC-JP or Shift_JIS bytes read as UTF-8.
int TwoByteScore(unsigned c) {
  if (c >= 0x300 && c <= 0x36F) return -3;
  if ((c >= 0xA0 && c <= 0xFF) || (c >= 0x370 && c <= 0x4FF)) return 2;
  return c <= 0x24F ? 1 : 0;
}

/// Well-formed UTF-8 (a sequence cut by the end allowed), or nullopt.
std::optional<Utf8Shape> Utf8ShapeOf(std::string_view s) {
  auto p = reinterpret_cast<const unsigned char*>(s.data());
  size_t n = s.size();
  Utf8Shape shape;
  for (size_t i = 0; i < n;) {
    unsigned b = p[i];
    if (b < 0x80) {
      ++i;
      continue;
    }
    size_t length = b >= 0xC2 && b <= 0xDF   ? 2
                    : b >= 0xE0 && b <= 0xEF ? 3
                    : b >= 0xF0 && b <= 0xF4 ? 4
                                             : 0;
    if (length == 0) return std::nullopt;
    unsigned low = b == 0xE0 ? 0xA0 : b == 0xF0 ? 0x90 : 0x80;
    unsigned high = b == 0xED ? 0x9F : b == 0xF4 ? 0x8F : 0xBF;
    for (size_t k = 1; k < length; ++k) {
      if (i + k >= n) {  // cut by the end of the sample
        shape.cutLongLead = length == 3;
        return shape;
      }
      unsigned c = p[i + k];
      if (k == 1 ? (c < low || c > high) : (c & 0xC0) != 0x80) return std::nullopt;
    }
    if (length == 2) {
      ++shape.twoByte;
      shape.twoByteScore += TwoByteScore((b & 0x1F) << 6 | (p[i + 1] & 0x3F));
    } else {
      ++shape.longer;
    }
    i += length;
  }
  return shape;
}

// ---- Shift_JIS against EUC-JP -----------------------------------------------------------

/// How Japanese a character looks: kana and common kanji score, rarities cost.
int CharacterScore(unsigned u) {
  if (u >= 0x3041 && u <= 0x30FC) return 3;   // kana
  if (u >= 0x3000 && u <= 0x3040) return 2;   // Japanese punctuation
  if (u >= 0x4E00 && u <= 0x9FFF) return 2;   // kanji
  if (u >= 0xFF01 && u <= 0xFF5E) return 1;   // full-width ASCII
  if (u >= 0xFF61 && u <= 0xFF9F) return -2;  // half-width katakana
  if (u >= 0xE000 && u <= 0xF8FF) return -4;  // user-defined
  return 0;
}

constexpr int kInvalid = -1000000;

/// The sum of CharacterScore over the sample's non-ASCII characters as `decode` reads
/// them; kInvalid when one can't be read. decode(p, left, length) gives the unit (0 when
/// invalid) and its length in bytes, length 0 for a character cut by the end of the sample.
template <class Decode>
int ScoreAs(std::string_view s, Decode decode) {
  auto p = reinterpret_cast<const unsigned char*>(s.data());
  int score = 0;
  for (size_t i = 0, n = s.size(); i < n;) {
    if (p[i] < 0x80) {
      ++i;
      continue;
    }
    size_t length = 0;
    uint16_t unit = decode(p + i, n - i, length);
    if (length == 0) break;
    if (unit == 0) return kInvalid;
    score += CharacterScore(unit);
    i += length;
  }
  return score;
}

int ScoreSjis(std::string_view s) {
  const detail::SjisTable& t = Sjis();
  return ScoreAs(s, [&t](const unsigned char* p, size_t left, size_t& length) -> uint16_t {
    uint16_t unit = t.single[p[0]];
    if (unit != kLeadByte) {
      length = 1;
      return p[0] == 0x80 || p[0] == 0xA0 || p[0] >= 0xFD ? 0 : unit;
    }
    length = left < 2 ? 0 : 2;
    return left < 2 ? 0 : t.pairs[t.leadIndex[p[0]]][p[1]];
  });
}

int ScoreEuc(std::string_view s) {
  const detail::EucTable& t = Euc();
  return ScoreAs(s, [&t](const unsigned char* p, size_t left, size_t& length) -> uint16_t {
    auto inRange = [](unsigned b) { return b >= 0xA1 && b <= 0xFE; };
    size_t want = p[0] == 0x8F ? 3 : 2;
    length = left < want ? 0 : want;
    if (length == 0) return 0;
    if (p[0] == 0x8E)
      return p[1] >= 0xA1 && p[1] <= 0xDF ? static_cast<uint16_t>(0xFF61 + p[1] - 0xA1) : 0;
    if (p[0] == 0x8F)
      return inRange(p[1]) && inRange(p[2]) ? t.jis0212[JisIndex(p[1] & 0x7F, p[2] & 0x7F)] : 0;
    return inRange(p[0]) && inRange(p[1]) ? t.jis0208[JisIndex(p[0] & 0x7F, p[1] & 0x7F)] : 0;
  });
}

// ---- the rest: uchardet ------------------------------------------------------------------

struct UchardetDeleter {
  void operator()(uchardet* d) const { uchardet_delete(d); }
};

std::optional<unsigned> AskUchardet(std::string_view s) {
  thread_local std::unique_ptr<uchardet, UchardetDeleter> detector(uchardet_new());
  if (!detector) return std::nullopt;
  uchardet_reset(detector.get());
  if (uchardet_handle_data(detector.get(), s.data(), s.size()) != 0) return std::nullopt;
  uchardet_data_end(detector.get());
  const char* name = uchardet_get_charset(detector.get());
  return name != nullptr && *name != '\0' ? CodePageOfCharsetName(name) : std::nullopt;
}

bool AllSevenBit(std::string_view s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

}  // namespace

std::optional<unsigned> CodePageOfCharsetName(std::string_view name) {
  struct Entry {
    const char* name;
    unsigned codePage;
  };
  static constexpr Entry kNames[] = {
      {"ASCII", 20127},       {"US-ASCII", 20127},    {"SHIFT-JIS", 932},
      {"CP932", 932},         {"WINDOWS-31J", 932},   {"UTF-8", 65001},
      {"SHIFT_JIS", 932},     {"EUC-JP", 20932},      {"ISO-2022-JP", 50220},
      {"UTF-16", 1200},       {"UTF-16LE", 1200},     {"UTF-16BE", 1201},
      {"WINDOWS-1252", 1252}, {"ISO-8859-1", 28591},  {"ISO-8859-15", 28605},
      {"WINDOWS-1250", 1250}, {"WINDOWS-1251", 1251}, {"KOI8-R", 20866},
      {"EUC-KR", 51949},      {"GB18030", 54936},     {"BIG5", 950},
      {"EUC-TW", 51950},      {"ISO-8859-2", 28592},  {"ISO-8859-5", 28595},
      {"ISO-8859-7", 28597},  {"WINDOWS-1253", 1253}, {"WINDOWS-1255", 1255},
      {"WINDOWS-1256", 1256},
  };
  for (const Entry& e : kNames)
    if (name.size() == std::strlen(e.name) && strncasecmp(name.data(), e.name, name.size()) == 0)
      return e.codePage;
  return std::nullopt;
}

std::optional<unsigned> DetectInputCodepage(std::string_view sample) {
  if (sample.empty()) return std::nullopt;
  if (std::memchr(sample.data(), 0, sample.size()) != nullptr) {
    if (auto cp = DetectUtf16(sample, false)) return cp;
    return DetectUtf16ByZeros(sample);
  }
  bool sevenBit = AllSevenBit(sample);
  if (sevenBit && HasJisEscape(sample)) return 50220;
  std::optional<Utf8Shape> utf8 = sevenBit ? std::nullopt : Utf8ShapeOf(sample);
  // Kana and kanji take three bytes: UTF-8 with those is UTF-8, and so is ASCII that ends
  // in the start of one. Two-byte sequences alone are as likely EUC-JP or Shift_JIS.
  if (utf8 && (utf8->longer > 0 || (utf8->twoByte == 0 && utf8->cutLongLead))) return 65001;
  if (auto cp = DetectUtf16(sample, true)) return cp;
  if (sevenBit) return LooksLikeUtf7(sample) ? 65000 : 20127;
  int sjis = ScoreSjis(sample), euc = ScoreEuc(sample);
  if (utf8 && utf8->twoByte > 0 && std::max(sjis, euc) <= utf8->twoByteScore) return 65001;
  if (sjis != kInvalid || euc != kInvalid) return euc > sjis ? 20932 : 932;
  return AskUchardet(sample);
}

}  // namespace magna::platform
