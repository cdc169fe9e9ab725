// The character details of any text around any caret. The input is UTF-16LE code
// units (lone surrogates, NUL, combining runs, joiners and all) after two bytes
// that place the caret. Besides not failing, the details must hold the caret's
// code unit, stay within the stretch they were given, say "cut" only at a cut
// edge, and show for every code only bytes that read back as the character.
#include <cstdint>
#include <cstdlib>

#include "platform/codepage/codePage.h"
#include "text/character/charDetails.h"
#include "text/character/charDetailsRows.h"
#include "text/myCharCode.h"

using namespace magna;

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

WideString Units(const uint8_t* data, size_t size) {
  WideString text;
  for (size_t i = 0; i + 1 < size; i += 2) text.push_back(char16_t(data[i] | data[i + 1] << 8));
  return text;
}

/// The stretch the panel would get for a caret in a text of one line.
TTextAroundCaret Around(const WideString& text, size_t caret) {
  TTextAroundCaret a;
  const size_t start = caret > size_t(kDetailsUnitsBefore) ? caret - kDetailsUnitsBefore : 0;
  a.Before = text.substr(start, caret - start);
  a.BeforeIsWhole = start == 0;
  a.After = text.substr(caret, size_t(kDetailsUnitsAfter));
  a.AfterIsWhole = a.After.size() < size_t(kDetailsUnitsAfter);
  return a;
}

void CheckReadsBack(const TBytes& bytes, unsigned codePage, const WideString& cluster) {
  if (!bytes || cluster == WideString(1, u'\0')) return;
  Check(platform::MultiByteToWide(codePage, *bytes) == cluster);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  const WideString text = Units(data + 2, size - 2);
  const size_t caret = text.empty() ? 0 : (data[0] | data[1] << 8) % (text.size() + 1);
  const TTextAroundCaret around = Around(text, caret);
  const TCharDetails d = DescribeCharAtCaret(around);
  const std::vector<TDetailRow> rows = CharDetailRows(d);
  if (around.After.empty()) {
    Check(d.Cluster.empty() && rows.empty());
    return 0;
  }
  const WideString stretch = around.Before + around.After;
  const size_t at = stretch.find(d.Cluster, around.Before.size() + 1 > d.Cluster.size()
                                                ? around.Before.size() + 1 - d.Cluster.size()
                                                : 0);
  Check(at != WideString::npos && at <= around.Before.size() &&
        at + d.Cluster.size() > around.Before.size());
  Check(!d.CutAtStart || (at == 0 && !around.BeforeIsWhole));
  Check(!d.CutAtEnd || (at + d.Cluster.size() == stretch.size() && !around.AfterIsWhole));
  int atCaret = 0;
  for (const TCodePointDetails& c : d.CodePoints) atCaret += c.AtCaret;
  Check(atCaret == 1 && !rows.empty());
  CheckReadsBack(d.ShiftJis, platform::CP_ANSI, d.Cluster);
  CheckReadsBack(d.EucJp, platform::CP_EUCJP, d.Cluster);
  CheckReadsBack(d.Iso2022Jp, platform::CP_ISO2022JP, d.Cluster);
  Check(!d.RowCell || (d.RowCell->Row >= 1 && d.RowCell->Row <= 94 && d.RowCell->Cell >= 1 &&
                       d.RowCell->Cell <= 94));
  return 0;
}
