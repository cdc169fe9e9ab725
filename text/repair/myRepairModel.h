#pragma once
// How plausible a text is as something a person wrote: the cost in bits of each
// character given the class of the character before it, from character classes and
// the frequencies of Japanese characters in real text (myRepairFrequencies.inc, made
// by scripts/makeRepairFrequencies.py). The repair compares a text with what undoing a
// chain of wrong decodings makes of it: the cheaper one is the likelier writing.
//
// Costs are integers in quarter bits, so that sums over long texts do not drift.

#include <cstdint>
#include <vector>

#include "platform/myBase.h"

namespace magna::repair {

enum CharClass : uint8_t {
  kLower,
  kUpper,
  kDigit,
  kSpace,
  kPunct,
  kBreak,
  kControl,
  kHiragana,
  kKatakana,
  kKanji,      // kanji the frequency table holds
  kRareKanji,  // kanji it lacks: wrong decodings make runs of them
  kJaPunct,
  kFullWidth,
  kHalfKana,
  kLatinLetter,
  kLatinSymbol,
  kC1,
  kGeneralPunct,
  kGreekCyrillic,
  kSymbol,
  kRareIdeograph,
  kHangul,
  kOtherScript,
  kEmoji,
  kPrivate,
  kJunk,
  kLost,  // U+FFFD: costs nothing, so that undoing a step never gains by what was lost
  kClassCount
};

constexpr int kQuarterBits = 4;

/// Flags of a code unit for the survey that lets clean text through in one pass.
enum UnitFlag : uint8_t {
  kSuspect = 1,   // what wrong decodings make and writers seldom use
  kTrigger = 2,   // may begin an encoded form: % & \ = $ x X
  kNonAscii = 4,  // 0x80 and up
};

/// The flags of every BMP code unit (a table of 65,536 entries, built once).
const uint8_t* UnitFlags();

/// The class of a code unit; a high surrogate stands for its pair (see Cost).
CharClass ClassOf(char16_t unit);

/// The cost of `text` in quarter bits, given the class of the unit before it and the
/// class of the unit after it (kBreak at the edges of a whole text). A surrogate pair
/// costs as one character; a lone surrogate as junk.
int64_t Cost(WideView text, CharClass before = kBreak, CharClass after = kBreak);
/// The cost of `text` without the units at the sorted offsets `skip` less `base` (the
/// units left out are as if they were not there).
int64_t CostWithout(WideView text, const std::vector<size_t>& skip, size_t base, CharClass before,
                    CharClass after);

/// Whether a code unit is a character Japanese writing uses (kana, kanji, Japanese
/// punctuation, full-width forms).
bool IsJapanese(char16_t unit);

}  // namespace magna::repair
