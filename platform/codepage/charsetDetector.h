#pragma once
// The code page detector: given the first bytes of a file, its best guess as a Windows
// code page number. Japanese codes and the Unicode forms are recognised by the program's
// own measurements (see charsetDetector.cpp); other eight-bit text is left to uchardet.

#include <optional>
#include <string_view>

namespace magna::platform {

/// 932, 20932, 50220, 65000, 65001, 1200, 1201, 20127 (ASCII) or another code page
/// uchardet names; nullopt when there is no guess. `wholeFile`: the sample is all of
/// the text, so a sequence cut by its end was cut with the file (head -c, a partial
/// download): weak evidence against the code, where in a sample it is none.
std::optional<unsigned> DetectInputCodepage(std::string_view sample, bool wholeFile = false);

/// The code page of a charset name as ICU, uchardet or nkf spell it (case ignored).
std::optional<unsigned> CodePageOfCharsetName(std::string_view name);

}  // namespace magna::platform
