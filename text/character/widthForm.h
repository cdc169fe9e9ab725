#pragma once
// The other width of a character that comes in a half-width and a full-width
// form: ｱ ↔ ア, Ａ ↔ A, ｶﾞ ↔ ガ, the ideographic space ↔ the space. The pairs are
// the Unicode <wide> and <narrow> compatibility mappings; a voiced kana goes
// through its decomposition, so that ガ finds ｶﾞ and back.

#include "platform/myBase.h"

namespace magna {

enum class TWidth { Half, Full };

struct TOtherWidth {
  WideString Text;              // empty when the text has no other form
  TWidth Width = TWidth::Full;  // the width of Text
  friend bool operator==(const TOtherWidth&, const TOtherWidth&) = default;
};

/// The other form of a whole character (one grapheme cluster); empty where any of
/// its parts has none.
TOtherWidth OtherWidthForm(WideView cluster);

}  // namespace magna
