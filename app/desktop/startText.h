#pragma once
// The text the command line asks to show at start: the text arguments, standard
// input or a file, the last two read as any text file is (byte order mark, then
// the detected character code). One line break at the very end is dropped: it
// ends the last line rather than adding an empty one (as `echo` writes it).

#include <QString>
#include <optional>

#include "app/desktop/commandLine.h"
#include "platform/myBase.h"

namespace magna {

struct TStartText {
  std::optional<WideString> Text;  // nothing when the command line gives no text
  QString Error;                   // why the text could not be read; empty when it was
};

/// Reads the text from the source the command line names, without its final line break.
TStartText ReadStartText(const TCommandLine& line);
/// The same, the final line break kept as the source gives it.
TStartText ReadSourceText(const TCommandLine& line);

/// The text without one final CR LF, LF or CR.
WideString WithoutFinalLineBreak(WideString text);

}  // namespace magna
