#pragma once
// TMyWStrings: the list of wide strings (items kept in escaped ANSI form in a
// byte-string store). This header also carries the character-code types.

#include <cstdint>
#include <functional>

#include "platform/myBase.h"
#include "text/myCharCode.h"

namespace magna {

/// Progress of AddText: the list, the index Add returned, the line's length + 1.
using TMyWStringsOnAdd = std::function<void(TObject* Sender, int32_t iCount, int64_t iLength)>;

}  // namespace magna
