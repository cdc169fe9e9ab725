#pragma once
// The user-perceived character (extended grapheme cluster, by ICU's rules) that
// holds a given code unit of a stretch of text: a base with its combining marks,
// a flag, an emoji with its modifiers and joined parts, CR LF. The stretch may be
// a window cut out of a longer text; a cluster that reaches a cut edge is
// reported as cut there, since it may go on beyond it.

#include <cstddef>

#include "platform/myBase.h"

namespace magna {

struct TClusterSpan {
  size_t Start = 0;  // first code unit of the cluster
  size_t End = 0;    // one past its last code unit
  bool CutAtStart = false;
  bool CutAtEnd = false;
  friend bool operator==(const TClusterSpan&, const TClusterSpan&) = default;
};

/// The cluster holding text[index]; index < text.size(). `startIsText` and
/// `endIsText` say whether the stretch's ends are the text's own ends (or a line's,
/// where no cluster crosses) rather than cuts.
TClusterSpan GraphemeClusterAt(WideView text, size_t index, bool startIsText, bool endIsText);

}  // namespace magna
