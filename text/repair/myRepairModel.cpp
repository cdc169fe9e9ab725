#include "text/repair/myRepairModel.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <initializer_list>
#include <memory>

#include "platform/codepage/codePageCodecs.h"
#include "platform/codepage/codePageTables.h"

namespace magna::repair {

namespace {

struct FrequencyRow {
  int bits;
  const char16_t* chars;
};

struct ClassFrequencies {
  CharClass cls;
  int unseenBits;
  std::initializer_list<FrequencyRow> rows;
};

const ClassFrequencies kFrequencies[] = {
#include "text/repair/myRepairFrequencies.inc"
};

/// What a class costs in bits: to enter it, to stay in it (the character before is of
/// the same class), and a character within it when no frequency is known. The values
/// describe text of Japanese and English prose, code and markup as a whole: Japanese
/// classes are cheap to enter, classes wrong decodings produce (half-width kana, Latin
/// letters among Japanese, C1 controls, private use, replacement characters) dear.
struct ClassCost {
  int enter, stay, within;
  bool neutral;  // spaces, breaks and punctuation: no switch cost into or out of it
  uint8_t group;
};

enum Group : uint8_t { kGroupAscii, kGroupJapanese, kGroupWestern, kGroupOther };

constexpr ClassCost kClassCosts[kClassCount] = {
    /* kLower         */ {4, 3, 4, false, kGroupAscii},
    /* kUpper         */ {4, 2, 4, false, kGroupAscii},
    /* kDigit         */ {4, 3, 3, true, kGroupAscii},
    /* kSpace         */ {3, 1, 0, true, kGroupAscii},
    /* kPunct         */ {4, 1, 4, true, kGroupAscii},
    /* kBreak         */ {5, 2, 0, true, kGroupAscii},
    /* kControl       */ {20, 0, 4, false, kGroupOther},
    /* kHiragana      */ {2, 1, 8, false, kGroupJapanese},
    /* kKatakana      */ {3, 2, 8, false, kGroupJapanese},
    /* kKanji         */ {2, 1, 12, false, kGroupJapanese},
    /* kRareKanji     */ {2, -4, 16, false, kGroupJapanese},
    /* kJaPunct       */ {3, 0, 8, true, kGroupJapanese},
    /* kFullWidth     */ {6, 2, 8, false, kGroupJapanese},
    /* kHalfKana      */ {12, 10, 9, false, kGroupOther},
    /* kLatinLetter   */ {8, 2, 6, false, kGroupAscii},
    /* kLatinSymbol   */ {9, 1, 5, false, kGroupWestern},
    /* kC1            */ {24, 0, 5, false, kGroupOther},
    /* kGeneralPunct  */ {7, 1, 4, true, kGroupWestern},
    /* kGreekCyrillic */ {10, 5, 6, false, kGroupOther},
    /* kSymbol        */ {9, 2, 8, false, kGroupOther},
    /* kRareIdeograph */ {14, 0, 14, false, kGroupOther},
    /* kHangul        */ {12, 8, 11, false, kGroupOther},
    /* kOtherScript   */ {12, 8, 8, false, kGroupOther},
    /* kEmoji         */ {10, 3, 9, false, kGroupOther},
    /* kPrivate       */ {20, 0, 12, false, kGroupOther},
    /* kJunk          */ {24, 0, 0, false, kGroupOther},
    /* kLost          */ {0, 0, 0, true, kGroupOther},
};

constexpr int kGroupSwitchBits = 3;

/// Unseen kanji: the corpus is technical text, so a kanji it lacks is not as rare as its
/// count says; common ones (JIS level 1) cost at most this much, level 2 a little more.
constexpr int kUnseenLevel1Bits = 16;
constexpr int kUnseenLevel2Bits = 18;
constexpr int kUnseenOtherKanjiBits = 19;

// Windows-1252's own characters that a reading of bytes as that code page makes and
// prose seldom has; its quotes, dashes, ellipsis, bullet, euro and trade mark are common.
constexpr char16_t kRareWindows1252[] = {0x201A, 0x201E, 0x2020, 0x2021, 0x2030,
                                         0x2039, 0x203A, 0x02C6, 0x02DC};

CharClass AsciiClass(char16_t u) {
  if (u >= 'a' && u <= 'z') return kLower;
  if (u >= 'A' && u <= 'Z') return kUpper;
  if (u >= '0' && u <= '9') return kDigit;
  if (u == ' ' || u == '\t') return kSpace;
  if (u == '\n' || u == '\r') return kBreak;
  if (u < 0x20 || u == 0x7F) return kControl;
  return kPunct;
}

bool In(char16_t u, char16_t low, char16_t high) {
  return u >= low && u <= high;
}

CharClass ClassOfUnassisted(char16_t u) {
  if (u < 0x80) return AsciiClass(u);
  if (u < 0xA0) return kC1;
  if (u < 0xC0 || u == 0xD7 || u == 0xF7) return kLatinSymbol;
  if (u < 0x250 || In(u, 0x1E00, 0x1EFF)) return kLatinLetter;
  if (In(u, 0x2B0, 0x2FF)) return kGeneralPunct;  // spacing modifiers: ˆ ˜
  if (In(u, 0x370, 0x4FF)) return kGreekCyrillic;
  if (In(u, 0x3041, 0x309F)) return kHiragana;
  if (In(u, 0x30A0, 0x30FF) || In(u, 0x31F0, 0x31FF)) return kKatakana;
  if (In(u, 0x4E00, 0x9FFF) || In(u, 0x3005, 0x3007)) return kRareKanji;  // until seen
  if (In(u, 0x3000, 0x303F)) return kJaPunct;
  if (In(u, 0xFF01, 0xFF60) || In(u, 0xFFE0, 0xFFE6)) return kFullWidth;
  if (In(u, 0xFF61, 0xFF9F)) return kHalfKana;
  if (In(u, 0x3400, 0x4DBF) || In(u, 0xF900, 0xFAFF)) return kRareIdeograph;
  if (In(u, 0xAC00, 0xD7AF) || In(u, 0x1100, 0x11FF) || In(u, 0x3130, 0x318F) ||
      In(u, 0xFFA0, 0xFFDC))
    return kHangul;
  if (In(u, 0xD800, 0xDBFF)) return kEmoji;      // refined by the pair in Cost
  if (u == 0xFFFD || u == 0xFDD0) return kLost;  // U+FDD0 marks an earlier step's loss
  if (In(u, 0xDC00, 0xDFFF)) return kJunk;
  if (In(u, 0xE000, 0xF8FF)) return kPrivate;
  if (In(u, 0x2000, 0x206F)) return kGeneralPunct;
  const int8_t type = u_charType(u);
  if (type == U_UNASSIGNED || type == U_CONTROL_CHAR || type == U_FORMAT_CHAR ||
      (u >= 0xFDD0 && u <= 0xFDEF) || u >= 0xFFFE)
    return kJunk;
  if (type >= U_UPPERCASE_LETTER && type <= U_OTHER_LETTER) return kOtherScript;
  if (type >= U_NON_SPACING_MARK && type <= U_COMBINING_SPACING_MARK) return kOtherScript;
  return kSymbol;
}

/// The JIS X 0208 level of a kanji: 1, 2, or 0 when outside JIS X 0208.
int JisLevel(char16_t u) {
  const uint16_t code = platform::detail::Euc().exact[u];
  if (code == 0 || (code & platform::detail::kJis0212) != 0) return 0;
  const unsigned row = code >> 8;
  return row >= 0x30 && row <= 0x4F ? 1 : row >= 0x50 && row <= 0x74 ? 2 : 0;
}

struct Tables {
  uint8_t cls[0x10000];
  uint8_t within[0x10000];  // quarter bits
  uint8_t flags[0x10000];
  int16_t transition[kClassCount][kClassCount];  // quarter bits
};

int QuarterBits(int bits) {
  return bits * kQuarterBits;
}

void FillClasses(Tables& t) {
  for (unsigned u = 0; u < 0x10000; ++u) {
    const auto unit = static_cast<char16_t>(u);
    const CharClass c = ClassOfUnassisted(unit);
    t.cls[u] = c;
    int within = kClassCosts[c].within;
    if (c == kRareKanji) {
      const int level = JisLevel(unit);
      within = level == 1   ? kUnseenLevel1Bits
               : level == 2 ? kUnseenLevel2Bits
                            : kUnseenOtherKanjiBits;
    }
    t.within[u] = static_cast<uint8_t>(QuarterBits(within));
  }
  for (const ClassFrequencies& f : kFrequencies) {
    for (unsigned u = 0; u < 0x10000; ++u)
      if (t.cls[u] == f.cls) t.within[u] = static_cast<uint8_t>(QuarterBits(f.unseenBits));
    for (const FrequencyRow& row : f.rows)
      for (const char16_t* p = row.chars; *p != 0; ++p) {
        t.cls[*p] = f.cls;
        t.within[*p] = static_cast<uint8_t>(QuarterBits(row.bits));
      }
  }
}

/// Half-width katakana cost what their full-width forms cost, and a bit for the rarer
/// form; their sound marks are common in such text, their punctuation (｡｢｣､･) is not.
void FillHalfWidthKana(Tables& t) {
  constexpr int kRarerForm = 1, kSoundMark = 3, kPunctuation = 9;
  for (unsigned u = 0xFF61; u <= 0xFF9F; ++u) {
    int quarterBits = QuarterBits(kPunctuation);
    if (u >= 0xFF9E) {
      quarterBits = QuarterBits(kSoundMark);
    } else if (u >= 0xFF66) {
      const char16_t half = static_cast<char16_t>(u);
      size_t used = 0;
      const char16_t full = platform::detail::FullWidthKana(WideView(&half, 1), 0, used);
      quarterBits = t.within[full] + QuarterBits(kRarerForm);
    }
    t.within[u] = static_cast<uint8_t>(quarterBits);
  }
}

void FillFlags(Tables& t) {
  for (unsigned u = 0; u < 0x10000; ++u) {
    const CharClass c = static_cast<CharClass>(t.cls[u]);
    uint8_t f = u >= 0x80 ? kNonAscii : 0;
    switch (c) {
      case kControl:
      case kHalfKana:
      case kLatinLetter:
      case kLatinSymbol:
      case kC1:
      case kGreekCyrillic:
      case kRareKanji:
      case kRareIdeograph:
      case kHangul:
      case kPrivate:
      case kJunk:
      case kLost: f |= kSuspect; break;
      default: break;
    }
    if (u >= 0x2500 && u <= 0x257F) f |= kSuspect;  // box drawing
    if (u == '\t' || (u >= 0xD800 && u <= 0xDBFF)) f &= static_cast<uint8_t>(~kSuspect);
    t.flags[u] = f;
  }
  for (char16_t u : kRareWindows1252) t.flags[u] |= kSuspect;
  for (char16_t u : u"%&\\=$xX") t.flags[u] |= kTrigger;
  t.flags[0] = 0;
}

void FillTransitions(Tables& t) {
  for (int prev = 0; prev < kClassCount; ++prev)
    for (int cur = 0; cur < kClassCount; ++cur) {
      const ClassCost& p = kClassCosts[prev];
      const ClassCost& c = kClassCosts[cur];
      int bits = c.enter;
      if (prev == cur) bits -= c.stay;
      if (p.group != c.group && !p.neutral && !c.neutral) bits += kGroupSwitchBits;
      t.transition[prev][cur] = static_cast<int16_t>(QuarterBits(bits));
    }
}

const Tables& Model() {
  static const std::unique_ptr<Tables> tables = [] {
    auto t = std::make_unique<Tables>();
    FillClasses(*t);
    FillHalfWidthKana(*t);
    FillFlags(*t);
    FillTransitions(*t);
    return t;
  }();
  return *tables;
}

/// The class of a supplementary character.
CharClass SupplementaryClass(char32_t c) {
  if (c >= 0x20000 && c <= 0x3FFFF) return kRareIdeograph;
  if (c >= 0x1F000 && c <= 0x1FAFF) return kEmoji;
  if (c >= 0xF0000) return kPrivate;
  return kOtherScript;
}

}  // namespace

const uint8_t* UnitFlags() {
  return Model().flags;
}

CharClass ClassOf(char16_t unit) {
  return static_cast<CharClass>(Model().cls[unit]);
}

bool IsJapanese(char16_t unit) {
  const CharClass c = ClassOf(unit);
  return c == kHiragana || c == kKatakana || c == kKanji || c == kRareKanji || c == kJaPunct ||
         c == kFullWidth;
}

namespace {

/// The cost of a run of text after a unit of class `prev`, which becomes the class of the
/// run's last unit.
int64_t RunCost(const Tables& t, WideView text, unsigned& prev) {
  int64_t sum = 0;
  const size_t n = text.size();
  for (size_t i = 0; i < n; ++i) {
    const char16_t u = text[i];
    unsigned c = t.cls[u];
    int within = t.within[u];
    if (u >= 0xD800 && u <= 0xDBFF) {
      if (i + 1 < n && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
        const char32_t cp = 0x10000 + ((char32_t(u) - 0xD800) << 10) + (text[i + 1] - 0xDC00);
        c = SupplementaryClass(cp);
        within = QuarterBits(kClassCosts[c].within);
        ++i;
      } else {
        c = kJunk;
        within = 0;
      }
    }
    sum += t.transition[prev][c] + within;
    prev = c;
  }
  return sum;
}

}  // namespace

int64_t Cost(WideView text, CharClass before, CharClass after) {
  const Tables& t = Model();
  unsigned prev = before;
  const int64_t sum = RunCost(t, text, prev);
  return sum + t.transition[prev][after];
}

int64_t CostWithout(WideView text, const std::vector<size_t>& skip, size_t base, CharClass before,
                    CharClass after) {
  const Tables& t = Model();
  unsigned prev = before;
  int64_t sum = 0;
  size_t from = 0;
  for (auto it = std::lower_bound(skip.begin(), skip.end(), base); it != skip.end(); ++it) {
    const size_t at = *it - base;
    if (at >= text.size()) break;
    sum += RunCost(t, text.substr(from, at - from), prev);
    from = at + 1;
  }
  sum += RunCost(t, text.substr(from), prev);
  return sum + t.transition[prev][after];
}

}  // namespace magna::repair
