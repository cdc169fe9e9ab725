// The code page detector. Measured over real Japanese text (see bench/bench_text_charcode),
// structural checks with table lookups beat ICU's ucsdet and uchardet on short samples,
// so the Japanese codes and the Unicode forms are decided here, in this order:
//   zero bytes -> UTF-16 when the units are plausible or the zeros at one parity outnumber
//   the other, unless they are a few stray zeros in otherwise valid eight-bit text;
//   ESC sequences of ISO-2022-JP -> 50220; well-formed UTF-8 with multi-byte sequences
//   -> 65001; text of plausible UTF-16 units with kana -> 1200/1201; UTF-7 shifts that
//   are all well-formed and decode to Japanese -> 65000; seven-bit -> 20127; Shift_JIS
//   against EUC-JP by validity, then by a character score.
// Anything else eight-bit goes to uchardet. Where two readings hold, the one the program
// itself writes for such text (Shift_JIS) is preferred, so that its own files read back.
// A character cut by the end of the sample is no evidence against a code: a sample of a
// longer file is cut anywhere, and so is a whole file cut by head -c, a partial download
// or a log rotated at a byte limit. Where the sample is the whole text, a reading that
// holds to the end is a little likelier than one that needs its end cut (CutCost), and
// much likelier than one that shows nothing of Japanese text besides (CutWithoutJapanese).
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

// ---- what Japanese text is made of -------------------------------------------------

/// Units that Japanese text in UTF-16 is made of.
bool IsPlausibleUnit(unsigned u) {
  return u == 0x09 || u == 0x0A || u == 0x0D || (u >= 0x20 && u <= 0x7E) ||
         (u >= 0xA0 && u <= 0xFF) || (u >= 0x0391 && u <= 0x044F) || (u >= 0x2010 && u <= 0x2312) ||
         (u >= 0x2460 && u <= 0x24FF) || (u >= 0x2500 && u <= 0x26FF) ||
         (u >= 0x3000 && u <= 0x30FF) || (u >= 0x3200 && u <= 0x33FF) ||
         (u >= 0xD800 && u <= 0xDFFF) || (u >= 0x4E00 && u <= 0x9FFF) ||
         (u >= 0xFF01 && u <= 0xFFEF);
}

/// Hiragana and katakana, full-width.
bool IsKana(unsigned u) {
  return u >= 0x3041 && u <= 0x30FC;
}

bool IsKanaUnit(unsigned u) {
  return (u >= 0x3001 && u <= 0x3002) || IsKana(u);
}

/// The commonest units of Japanese text: ASCII, kana, Japanese punctuation, full-width
/// ASCII. Read in the wrong byte order they turn into rare ideographs (U+6100, U+4230).
bool IsCommonUnit(unsigned u) {
  return (u >= 0x20 && u <= 0x7E) || u == 0x0A || u == 0x0D || u == 0x09 ||
         (u >= 0x3000 && u <= 0x30FF) || (u >= 0xFF01 && u <= 0xFF5E);
}

/// Kanji of JIS X 0208: 2 for the first level (the common ones), 1 for the second,
/// 0 for any other unit.
int KanjiLevel(unsigned u) {
  if (u < 0x4E00 || u > 0x9FFF) return 0;
  const uint16_t code = Sjis().exact[u];
  if (code >= 0x889F && code <= 0x9872) return 2;
  return code >= 0x989F && code <= 0xEAA4 ? 1 : 0;
}

// ---- a cut end --------------------------------------------------------------------------

/// What a cut end costs a reading of a whole text, in CharacterScore points: about what
/// one Japanese character would have shown. Nothing in a sample of a longer file.
int CutCost(bool cut, bool wholeFile) {
  return cut && wholeFile ? 3 : 0;
}

/// Whether a reading of a whole text needs its end cut and shows nothing of Japanese text
/// to make up for it (`japanese`: kana, in UTF-8 also common kanji): a few rare characters
/// and a cut end are what the bytes of another code read as, where real Japanese text
/// shows kana within a few characters. Common kanji are no such evidence in EUC-JP, where
/// half-width katakana of Shift_JIS read as them.
bool CutWithoutJapanese(bool cut, size_t japanese, bool wholeFile) {
  return wholeFile && cut && japanese == 0;
}

// ---- UTF-8 ----------------------------------------------------------------------------

/// What well-formed UTF-8 holds: sequences of two bytes, of three or four, and whether
/// the sample ends in the start of a sequence (cut), of a three-byte one in particular
/// (E0..EF, maybe one more byte).
struct Utf8Shape {
  size_t twoByte = 0, longer = 0;
  size_t japanese = 0;   // kana and kanji of the first level among the three-byte sequences
  int twoByteScore = 0;  // how natural the two-byte characters are
  bool cut = false, cutLongLead = false;
  /// The evidence of the two-byte characters, a cut end of a whole text deducted.
  int TwoByteEvidence(bool wholeFile) const { return twoByteScore - CutCost(cut, wholeFile); }
};

/// Latin-1 signs (± × ©), Greek and Cyrillic are common in UTF-8 text; a combining mark
/// with nothing to combine with is the mark of EUC-JP or Shift_JIS bytes read as UTF-8.
int TwoByteScore(unsigned c) {
  if (c >= 0x300 && c <= 0x36F) return -3;
  if ((c >= 0xA0 && c <= 0xFF) || (c >= 0x370 && c <= 0x4FF)) return 2;
  return c <= 0x24F ? 1 : 0;
}

/// Well-formed UTF-8 up to a sequence cut by the end, or nullopt.
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
        shape.cut = true;
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
      if (length == 3) {
        const unsigned u = (b & 0x0F) << 12 | (p[i + 1] & 0x3F) << 6 | (p[i + 2] & 0x3F);
        shape.japanese += IsKana(u) || KanjiLevel(u) == 2;
      }
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

/// The sample as one eight-bit code reads it.
struct Reading {
  bool valid = true;
  bool cut = false;      // the last character is cut by the end of the sample
  int score = 0;         // the sum of CharacterScore over the non-ASCII characters
  size_t kana = 0;       // hiragana and katakana, full-width
  size_t other = 0;      // non-ASCII characters that are not half-width katakana
  size_t kanji[3] = {};  // by KanjiLevel: not in JIS X 0208, second level, first level
};

/// The sample as `decode` reads it. decode(p, left, length) gives the unit (0 when
/// invalid) and its length in bytes, length 0 for a character cut by the end of the sample.
template <class Decode>
Reading ReadAs(std::string_view s, Decode decode) {
  auto p = reinterpret_cast<const unsigned char*>(s.data());
  Reading reading;
  for (size_t i = 0, n = s.size(); i < n;) {
    if (p[i] < 0x80) {
      ++i;
      continue;
    }
    size_t length = 0;
    uint16_t unit = decode(p + i, n - i, length);
    if (length == 0) {
      reading.cut = true;
      break;
    }
    if (unit == 0) return Reading{false};
    reading.score += CharacterScore(unit);
    reading.kana += IsKana(unit);
    reading.other += unit < 0xFF61 || unit > 0xFF9F;
    if (unit >= 0x4E00 && unit <= 0x9FFF) ++reading.kanji[KanjiLevel(unit)];
    i += length;
  }
  return reading;
}

Reading ReadSjis(std::string_view s) {
  const detail::SjisTable& t = Sjis();
  return ReadAs(s, [&t](const unsigned char* p, size_t left, size_t& length) -> uint16_t {
    uint16_t unit = t.single[p[0]];
    if (unit != kLeadByte) {
      length = 1;
      return p[0] == 0x80 || p[0] == 0xA0 || p[0] >= 0xFD ? 0 : unit;
    }
    length = left < 2 ? 0 : 2;
    return left < 2 ? 0 : t.pairs[t.leadIndex[p[0]]][p[1]];
  });
}

Reading ReadEuc(std::string_view s) {
  const detail::EucTable& t = Euc();
  return ReadAs(s, [&t](const unsigned char* p, size_t left, size_t& length) -> uint16_t {
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

constexpr int kInvalid = -1000000;

int ScoreOf(const Reading& reading, bool wholeFile) {
  if (!reading.valid) return kInvalid;
  return reading.score - CutCost(reading.cut, wholeFile);
}

bool HoldsToTheEnd(const Reading& reading) {
  return reading.valid && !reading.cut;
}

/// Whether `cut`, a reading of a whole text cut at its end without kana, loses to
/// `whole`, a reading that holds to the end.
bool Outweighed(const Reading& cut, const Reading& whole, bool wholeFile) {
  return CutWithoutJapanese(cut.cut, cut.kana, wholeFile) && HoldsToTheEnd(whole);
}

/// Shift_JIS or EUC-JP by the readings; nullopt when neither holds. Text of half-width
/// katakana alone (ﾒｲﾘｵ) is also EUC-JP, as kanji without any kana: the program writes
/// such text in Shift_JIS, so Shift_JIS wins there when the EUC-JP reading has as many
/// kanji of the second level as of the first; common kanji are likelier EUC-JP (名前 is
/// ﾌｾﾁｰ in Shift_JIS, and names such as 倉澤 mix in a rare one).
std::optional<unsigned> SjisOrEuc(const Reading& sjis, const Reading& euc, bool wholeFile) {
  if (!sjis.valid && !euc.valid) return std::nullopt;
  const bool halfWidthOnly = sjis.valid && sjis.other == 0;
  if (!euc.valid || Outweighed(euc, sjis, wholeFile) ||
      (halfWidthOnly && euc.kana == 0 && euc.kanji[1] > 0 && euc.kanji[1] >= euc.kanji[2]))
    return 932;
  if (!sjis.valid || Outweighed(sjis, euc, wholeFile)) return 20932;
  return ScoreOf(euc, wholeFile) > ScoreOf(sjis, wholeFile) ? 20932 : 932;
}

/// UTF-8 that its three-byte sequences did not decide, against the readings of Shift_JIS
/// and EUC-JP: a whole text cut without kana or common kanji loses to a reading that
/// holds to the end,
/// else its three-byte sequences decide, else its two-byte characters where they look
/// likelier than either reading.
bool Utf8OutweighsEightBit(const Utf8Shape& utf8, const Reading& sjis, const Reading& euc,
                           bool wholeFile) {
  if (CutWithoutJapanese(utf8.cut, utf8.japanese, wholeFile) &&
      (HoldsToTheEnd(sjis) || HoldsToTheEnd(euc)))
    return false;
  if (utf8.longer > 0) return true;
  return utf8.twoByte > 0 && std::max(ScoreOf(sjis, wholeFile), ScoreOf(euc, wholeFile)) <=
                                 utf8.TwoByteEvidence(wholeFile);
}

/// Valid Shift_JIS or UTF-8 when zero bytes count as ASCII.
bool ValidEightBit(std::string_view s) {
  return ReadSjis(s).valid || Utf8ShapeOf(s).has_value();
}

// ---- UTF-16 -------------------------------------------------------------------------

struct Utf16Score {
  size_t units = 0, plausible = 0, kana = 0, common = 0;
  size_t narrow = 0;  // units 0001..00FF: one zero byte, where ASCII text has it
  int kanji = 0;      // KanjiLevel summed: tells the byte orders apart among ideographs
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
    score.narrow += u >= 0x01 && u <= 0xFF;
    score.kanji += KanjiLevel(u);
  }
  return score;
}

/// UTF-16 when one byte order gives plausible text with more of the common units
/// (among as many common units, more of the common kanji).
std::optional<unsigned> ChooseUtf16(const Utf16Score& le, const Utf16Score& be, bool needKana) {
  const bool leOk = le.Plausible(needKana), beOk = be.Plausible(needKana);
  const auto better = [](const Utf16Score& x, const Utf16Score& y) {
    return x.common != y.common ? x.common > y.common : x.kanji > y.kanji;
  };
  if (leOk && (!beOk || better(le, be))) return 1200;
  if (beOk && (!leOk || better(be, le))) return 1201;
  return std::nullopt;
}

std::optional<unsigned> DetectUtf16(std::string_view s, bool needKana) {
  return ChooseUtf16(ScoreUtf16(s, false), ScoreUtf16(s, true), needKana);
}

/// A sample with zero bytes: UTF-16 when its units are plausible, or when the units
/// with one zero byte are clearly more in one byte order (ASCII-rich text) and the units
/// of that order are mostly plausible. The zeros
/// are counted, not flagged: a kanji such as U+4E00 or a surrogate such as U+DE00 puts
/// a zero at the other parity too, and a few zeros appended to eight-bit text (what a
/// crash leaves behind) are no UTF-16 at all. nullopt: read it as eight-bit text.
std::optional<unsigned> DetectUtf16WithZeros(std::string_view s) {
  const Utf16Score le = ScoreUtf16(s, false), be = ScoreUtf16(s, true);
  const size_t zeros = std::max(le.narrow, be.narrow);
  if (zeros * 4 < le.units && ValidEightBit(s)) return std::nullopt;
  if (auto cp = ChooseUtf16(le, be, false)) return cp;
  const auto dominates = [](const Utf16Score& x, const Utf16Score& y) {
    return x.narrow > 0 && x.narrow >= 2 * y.narrow && x.plausible * 10 >= x.units * 9;
  };
  if (dominates(le, be)) return 1200;
  if (dominates(be, le)) return 1201;
  return std::nullopt;
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

/// What the UTF-7 shifts of a sample show.
struct Utf7Evidence {
  bool wellFormed = true;  // every shift as RFC 2152 writes it, of units text can hold
  size_t kana = 0;         // kana, Japanese punctuation, full-width forms
  int kanji = 0;           // KanjiLevel summed
  void Add(unsigned u, unsigned& pendingHigh) {
    const bool high = u >= 0xD800 && u <= 0xDBFF, low = u >= 0xDC00 && u <= 0xDFFF;
    if ((pendingHigh != 0) != low || (u < 0x20 && u != 0x09 && u != 0x0A && u != 0x0D) ||
        u >= 0xFFFE)
      wellFormed = false;
    pendingHigh = high ? u : 0;
    kana += (u >= 0x3001 && u <= 0x30FF) || (u >= 0xFF01 && u <= 0xFF9F);
    kanji += KanjiLevel(u);
  }
};

/// Reads the shift after the '+' at s[i - 1], up to and including its end ('-' or the
/// character that ends it); false when it runs to the end of the sample, where it may be
/// cut (the units read so far count, what is left of the last one does not).
bool ReadUtf7Shift(std::string_view s, size_t& i, Utf7Evidence& evidence) {
  const size_t start = i;
  uint32_t bits = 0;
  int count = 0;
  unsigned pendingHigh = 0;
  for (int v; i < s.size() && (v = Base64Value(s[i])) >= 0; ++i) {
    bits = (bits << 6 | static_cast<uint32_t>(v)) & 0x3FFFFF;
    count += 6;
    if (count >= 16) {
      count -= 16;
      evidence.Add((bits >> count) & 0xFFFF, pendingHigh);
    }
  }
  if (i == s.size()) return false;
  // Nothing shifted (a '+' that is not "+-"), bits left for another unit, bits that are
  // not zero, or a high surrogate left alone: no encoder writes that.
  if (i == start || count >= 6 || (bits & ((1u << count) - 1)) != 0 || pendingHigh != 0)
    evidence.wellFormed = false;
  return true;
}

/// UTF-7 needs real evidence: every shift well-formed, and the shifts decode to Japanese
/// text (a kana, or two kanji of JIS X 0208). ASCII with a "+" now and then is ASCII.
bool LooksLikeUtf7(std::string_view s) {
  Utf7Evidence evidence;
  for (size_t i = 0; i < s.size() && evidence.wellFormed; ++i) {
    if (s[i] != '+') continue;
    ++i;
    if (i < s.size() && s[i] == '-') continue;  // "+-" is the plus sign
    if (!ReadUtf7Shift(s, i, evidence)) break;
  }
  return evidence.wellFormed && (evidence.kana > 0 || evidence.kanji >= 3);
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

std::optional<unsigned> DetectInputCodepage(std::string_view sample, bool wholeFile) {
  if (sample.empty()) return std::nullopt;
  if (std::memchr(sample.data(), 0, sample.size()) != nullptr) {
    if (auto cp = DetectUtf16WithZeros(sample)) return cp;
  }
  bool sevenBit = AllSevenBit(sample);
  if (sevenBit && HasJisEscape(sample)) return 50220;
  std::optional<Utf8Shape> utf8 = sevenBit ? std::nullopt : Utf8ShapeOf(sample);
  // Kana and kanji take three bytes: UTF-8 with those is UTF-8, and so is a sample of
  // ASCII that ends in the start of one. Two-byte sequences alone are as likely EUC-JP or
  // Shift_JIS; so is the start of a sequence alone at the end of a whole text (ASCII and
  // one kanji of Shift_JIS, E0..EF and a byte 80..BF, is what the program writes), and
  // so are a few three-byte sequences without kana or common kanji before a cut end.
  const bool utf8CutWithoutJapanese =
      utf8 && CutWithoutJapanese(utf8->cut, utf8->japanese, wholeFile);
  if (utf8 && !utf8CutWithoutJapanese &&
      (utf8->longer > 0 || (!wholeFile && utf8->twoByte == 0 && utf8->cutLongLead)))
    return 65001;
  if (auto cp = DetectUtf16(sample, true)) return cp;
  if (sevenBit) return LooksLikeUtf7(sample) ? 65000 : 20127;
  const Reading sjis = ReadSjis(sample), euc = ReadEuc(sample);
  if (utf8 && Utf8OutweighsEightBit(*utf8, sjis, euc, wholeFile)) return 65001;
  if (auto cp = SjisOrEuc(sjis, euc, wholeFile)) return cp;
  return AskUchardet(sample);
}

}  // namespace magna::platform
