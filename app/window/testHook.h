#pragma once
// A window onto the program for end-to-end tests, off unless the environment
// names a file in MAGNA_TEST_HOOK: after every status update the text area's
// text and the four status captions are written there in UTF-8, one per line
// ("text=", "char=", "ansi=", "unicode=", "utf8="), CR and LF in the text as \r, \n.

#include <QString>

#include "platform/myBase.h"

namespace magna {

struct TStatusCaptions;

/// The file named by MAGNA_TEST_HOOK, empty when the hook is off.
QString TestHookFile();
/// Writes the record when the hook is on; a failure is logged and the program goes on.
void WriteTestHook(const WideString& text, const TStatusCaptions& captions);

}  // namespace magna
