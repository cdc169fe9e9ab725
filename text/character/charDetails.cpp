#include "text/character/charDetails.h"

#include <unicode/utf16.h>

#include "platform/codepage/codePage.h"
#include "text/character/graphemeCluster.h"
#include "text/character/unicodeProperties.h"
#include "text/myCharCode.h"

namespace magna {

namespace {

using platform::CP_EUCJP;
using platform::CP_ISO2022JP;

constexpr std::string_view kToJisX0208 = "\x1B$B";
constexpr std::string_view kToAscii = "\x1B(B";

/// The conversions end at a terminator; a NUL is still the byte 0x00 in every code.
bool IsNul(WideView cluster) {
  return cluster.size() == 1 && cluster[0] == 0;
}

/// By the status line's rule: bytes where every code unit maps exactly.
TBytes ShiftJisOf(WideView cluster) {
  if (NeedsUnicode(cluster)) return std::nullopt;
  return WideToAnsi(cluster);
}

TBytes EucJpOf(WideView cluster) {
  bool usedDefault = false;
  AnsiString bytes =
      platform::WideToMultiByte(CP_EUCJP, cluster, platform::WC_NO_BEST_FIT_CHARS, &usedDefault);
  if (usedDefault || platform::MultiByteToWide(CP_EUCJP, bytes) != cluster) return std::nullopt;
  return bytes;
}

/// The code page writes a best fit or "?" where it has no code: only bytes that read
/// back as the character count.
TBytes Iso2022JpOf(WideView cluster) {
  AnsiString bytes = platform::WideToMultiByte(CP_ISO2022JP, cluster);
  if (platform::MultiByteToWide(CP_ISO2022JP, bytes) != cluster) return std::nullopt;
  return bytes;
}

/// Row and cell of a character written as one JIS X 0208 pair between its escapes.
std::optional<TRowCell> RowCellOf(const TBytes& jis) {
  const size_t pair = kToJisX0208.size();
  if (!jis || jis->size() != pair + 2 + kToAscii.size()) return std::nullopt;
  const std::string_view bytes = *jis;
  if (!bytes.starts_with(kToJisX0208) || !bytes.ends_with(kToAscii)) return std::nullopt;
  return TRowCell{uint8_t(bytes[pair]) - 0x20, uint8_t(bytes[pair + 1]) - 0x20};
}

TCodePointDetails CodePointDetails(char32_t code, bool atCaret) {
  TCodePointDetails d;
  d.Code = code;
  d.AtCaret = atCaret;
  d.Name = UnicodeName(code);
  d.Category = UnicodeCategory(code);
  d.Block = UnicodeBlock(code);
  d.Script = UnicodeScript(code);
  return d;
}

/// `caret`: the offset in the cluster of the code unit at the caret.
TCharDetails Describe(WideView cluster, size_t caret) {
  TCharDetails d;
  d.Cluster = WideString(cluster);
  for (size_t i = 0; i < cluster.size();) {
    const size_t start = i;
    UChar32 c;
    U16_NEXT(cluster.data(), i, cluster.size(), c);
    d.CodePoints.push_back(CodePointDetails(char32_t(c), caret >= start && caret < i));
  }
  if (IsNul(cluster)) {
    d.ShiftJis = d.EucJp = d.Iso2022Jp = AnsiString(1, '\0');
  } else {
    d.ShiftJis = ShiftJisOf(cluster);
    d.EucJp = EucJpOf(cluster);
    d.Iso2022Jp = Iso2022JpOf(cluster);
  }
  d.RowCell = RowCellOf(d.Iso2022Jp);
  d.OtherWidth = OtherWidthForm(cluster);
  return d;
}

}  // namespace

TCharDetails DescribeCharAtCaret(const TTextAroundCaret& around) {
  if (around.After.empty()) return {};
  const WideString text = around.Before + around.After;
  const size_t caret = around.Before.size();
  const TClusterSpan span =
      GraphemeClusterAt(text, caret, around.BeforeIsWhole, around.AfterIsWhole);
  TCharDetails d =
      Describe(WideView(text).substr(span.Start, span.End - span.Start), caret - span.Start);
  d.CutAtStart = span.CutAtStart;
  d.CutAtEnd = span.CutAtEnd;
  return d;
}

TCharDetails DescribeCluster(WideView cluster) {
  if (cluster.empty()) return {};
  return Describe(cluster, 0);
}

}  // namespace magna
