#pragma once
// Repair of text that was decoded in the wrong character code (mojibake, 文字化け) or
// that arrived in an encoded form (MIME encoded-words, percent-encoding, character
// references, backslash escapes, Punycode). FindRepair looks for the chain of at most
// two such steps whose undoing makes the text more plausible as writing (the model of
// myRepairModel.h) and returns the repaired text with the chain, its score and the
// places where a step had lost bytes. Clean text (Japanese in any mix of scripts,
// English, code, readable URLs) comes back with nothing to repair.
//
// CheckRepair is meant to run on every text shown, and costs about the same for a text
// of any length: a survey of one pass (of windows spread over a long text) lets clean
// text through, and the search for a chain looks at a sample of a few thousand code
// units around the suspect part. ApplyRepair applies what it found to the whole text,
// when the user takes the repair; FindRepair does both.
//
// Typical use:
//   TRepairFinding finding = CheckRepair(text);      // on every text shown
//   if (finding.Found()) OfferBar(ChainWords(finding.chain, TRepairLanguage::Japanese));
//   ...
//   TRepair repair = ApplyRepair(text, finding);     // when the user takes it
//   if (repair.Found()) ReplaceText(repair.text);

#include <cstdint>
#include <vector>

#include "platform/myBase.h"

namespace magna {

/// The character codes a chain names.
enum class TRepairCode : uint8_t {
  None,
  UTF8,
  ShiftJIS,  // code page 932
  EUCJP,
  ISO2022JP,
  UTF7,
  UTF16LE,
  UTF16BE,
  Latin1,       // ISO-8859-1
  Windows1252,  // its undefined bytes read as C1 controls or lost
  ASCII,
};

/// What one step of a chain did to the text.
enum class TRepairForm : uint8_t {
  Misread,              // bytes in `code` were decoded as `readAs`
  JisEscapesLost,       // ISO-2022-JP whose escape bytes (ESC) were dropped
  MimeB,                // MIME encoded-words, base64, charset `code`
  MimeQ,                // MIME encoded-words, quoted-printable, charset `code`
  Percent,              // %XX bytes in `code`
  CharacterReferences,  // &#x3053; &#12435; &amp;
  Escapes,              // \uXXXX \UXXXXXXXX, and \xHH bytes in `code` (None when absent)
  Punycode,             // xn-- host labels
};

struct TRepairStep {
  TRepairForm form = TRepairForm::Misread;
  TRepairCode code = TRepairCode::None;
  TRepairCode readAs = TRepairCode::None;  // Misread only
  friend bool operator==(const TRepairStep&, const TRepairStep&) = default;
};

/// What CheckRepair found in a sample of a text: the chain, without the repaired text.
struct TRepairFinding {
  /// The steps in the order the text went through them; empty: nothing to repair.
  std::vector<TRepairStep> chain;
  /// Bits of plausibility the sample gained (log2 of the likelihood ratio, less `prior`).
  double score = 0;
  /// Bits the chain's steps cost before any gain (their prior).
  double prior = 0;
  /// The sample's repair had lost places.
  bool lostBytes = false;

  bool Found() const { return !chain.empty(); }
};

/// A stretch of the original text and what replaced it in the repaired text.
struct TRepairSpan {
  size_t from = 0, length = 0;                  // in the original text
  size_t repairedFrom = 0, repairedLength = 0;  // in TRepair::text
};

/// What FindRepair found. Nothing to repair: an empty chain, `text` empty.
struct TRepair {
  /// The steps in the order the text went through them (the first wrong decoding first).
  std::vector<TRepairStep> chain;
  /// The repaired text; a lost place is one U+FFFD.
  WideString text;
  /// Bits of plausibility gained (log2 of the likelihood ratio, less the chain's prior).
  double score = 0;
  /// Offsets in `text` of the lost places: where a step had lost bytes, the character
  /// they belonged to is marked rather than guessed.
  std::vector<size_t> lost;
  /// The stretches replaced, in order, not overlapping.
  std::vector<TRepairSpan> spans;

  bool Found() const { return !chain.empty(); }
  bool LostBytes() const { return !lost.empty(); }
  /// The replaced stretch holding `offset` of the original text, or null.
  const TRepairSpan* SpanAt(size_t offset) const;
};

/// Finds the likeliest chain for `text` on a sample of it; nothing when no chain gains
/// enough. Never throws for any input (lone surrogates, U+0000, any length).
TRepairFinding CheckRepair(WideView text);
/// Applies a finding of CheckRepair to the whole of `text` (the same text); nothing when
/// the finding is nothing or the chain changes nothing. Its score is the whole text's.
TRepair ApplyRepair(WideView text, const TRepairFinding& finding);
/// CheckRepair and ApplyRepair, and nothing unless the whole text gains enough too.
TRepair FindRepair(WideView text);

enum class TRepairLanguage : uint8_t { Japanese, English };

/// The chain in words, for a caption: "UTF-8 を Shift_JIS として読んだ文字化け",
/// "UTF-8 read as Shift_JIS"; lost places are counted at the end. Empty for nothing.
WideString RepairWords(const TRepair& repair, TRepairLanguage language);
/// The words of the chain alone.
WideString ChainWords(const std::vector<TRepairStep>& chain, TRepairLanguage language);
/// The name of a code as captions write it ("Shift_JIS", "EUC-JP", "Windows-1252").
WideString RepairCodeName(TRepairCode code);

}  // namespace magna
