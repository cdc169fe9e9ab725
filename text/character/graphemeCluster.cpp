#include "text/character/graphemeCluster.h"

#include <unicode/localpointer.h>
#include <unicode/ubrk.h>

namespace magna {

namespace {

/// One character break iterator for the process: opening one reads ICU's rule data
/// and costs far more than a whole lookup (GUI thread only).
UBreakIterator* CharacterBreaks() {
  static icu::LocalUBreakIteratorPointer iterator([] {
    UErrorCode status = U_ZERO_ERROR;
    UBreakIterator* it = ubrk_open(UBRK_CHARACTER, "", nullptr, 0, &status);
    return U_SUCCESS(status) ? it : nullptr;
  }());
  return iterator.getAlias();
}

/// Without break data every code point stands alone (a surrogate pair stays whole).
TClusterSpan CodePointAt(WideView text, size_t index) {
  auto high = [](char16_t u) { return u >= 0xD800 && u <= 0xDBFF; };
  auto low = [](char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; };
  size_t start = index;
  if (low(text[index]) && index > 0 && high(text[index - 1])) --start;
  size_t end = start + 1;
  if (high(text[start]) && end < text.size() && low(text[end])) ++end;
  return {start, end};
}

}  // namespace

TClusterSpan GraphemeClusterAt(WideView text, size_t index, bool startIsText, bool endIsText) {
  TClusterSpan span = CodePointAt(text, index);
  UBreakIterator* breaks = CharacterBreaks();
  UErrorCode status = U_ZERO_ERROR;
  if (breaks) ubrk_setText(breaks, text.data(), int32_t(text.size()), &status);
  if (breaks && U_SUCCESS(status)) {
    // The next boundary after the index, then the one before that. Asking for the one
    // before index + 1 instead fails where index + 1 falls inside a surrogate pair:
    // ICU then steps back past the whole pair.
    const int32_t end = ubrk_following(breaks, int32_t(index));
    const int32_t start = end == UBRK_DONE ? UBRK_DONE : ubrk_preceding(breaks, end);
    if (start != UBRK_DONE && size_t(start) <= index && size_t(end) > index) {
      span.Start = size_t(start);
      span.End = size_t(end);
    }
    static const UChar kEmpty[1] = {0};
    ubrk_setText(breaks, kEmpty, 0, &status);  // the text's memory is the caller's
  }
  span.CutAtStart = span.Start == 0 && !startIsText;
  span.CutAtEnd = span.End == text.size() && !endIsText;
  return span;
}

}  // namespace magna
