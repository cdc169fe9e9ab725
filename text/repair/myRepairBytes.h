#pragma once
// Bytes in the codes a repair names, both ways, through the program's own code pages
// (platform/codepage), so that what the repair undoes is exactly what they do.

#include "platform/myBase.h"
#include "text/repair/myRepair.h"

namespace magna::repair {

/// The name of a code as captions and MIME labels write it ("Shift_JIS", "EUC-JP",
/// "Windows-1252"); empty for None.
const char* CodeLabel(TRepairCode code);

/// Bytes read in `code`; `errors` counts the U+FFFD the reading made (bytes it could not
/// read). UTF-16 with an odd last byte counts that byte as an error. None reads nothing.
WideString DecodeIn(TRepairCode code, std::string_view bytes, size_t& errors);
/// DecodeIn of bytes that may be cut in the middle of a character at their start
/// (`cutStart`) or end (`cutEnd`), as a sample of a long text is: up to six bytes at a cut
/// edge (a character and what is left of a cut escape) are left out (`head`, `tail`) when
/// that makes the rest read without error.
/// False when no such choice does.
bool DecodeCut(TRepairCode code, std::string_view bytes, bool cutStart, bool cutEnd,
               WideString& out, size_t& head, size_t& tail);
/// Text written in `code` with exact mappings only; false when a character has none in
/// it. Windows1252 writes a C1 control as the byte of its value, as Windows reads it.
bool EncodeIn(TRepairCode code, WideView text, AnsiString& bytes);

}  // namespace magna::repair
