#pragma once
// Names the system gives as bytes (file names, process arguments) as the
// program's text, and back. The bytes are read as UTF-8; a byte that is not part
// of a well-formed UTF-8 sequence becomes the lone low surrogate U+DC80..U+DCFF
// that carries it, and turns back into that very byte on the way out. So every
// name the file system reports reaches the program as text that opens the same
// file, whatever bytes it holds:
//   WideToNativeName(NativeNameToWide(bytes)) == bytes   for all bytes.
// Text that never came from such bytes is written by the UTF-8 code page (a lone
// surrogate outside U+DC80..U+DCFF becomes U+FFFD).

#include <string>
#include <string_view>

#include "platform/myBase.h"

namespace magna::platform {

/// The bytes as text; never fails, and a zero byte is kept as U+0000.
WideString NativeNameToWide(std::string_view bytes);
/// The text as bytes; never fails (see above for text that holds other surrogates).
std::string WideToNativeName(WideView text);

}  // namespace magna::platform
