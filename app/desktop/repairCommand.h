#pragma once
// `magna --repair`: the text of the command line's source with its mojibake or
// encoded form undone (text/repair/myRepair.h), for scripts and pipes. The repaired text
// goes to standard output as UTF-8, the text as it came when there is nothing to
// repair; the chain in words goes to standard error. The final line break is
// written as the source gave it (text arguments carry none: one LF ends the line,
// as `echo` would). Nothing here needs a display.
// Typical use (from AnswerWithoutWindow):
//   case TRequest::Repair: return AnswerRepair(line, japanese);

#include <QByteArray>
#include <QString>

#include "app/desktop/commandLine.h"
#include "platform/myBase.h"

namespace magna {

struct TRepairAnswer {
  QByteArray Output;  // standard output: the text, UTF-8
  QString Words;      // standard error: the chain in words, empty when nothing was repaired
};

/// The answer for a text as read, its final line break included.
TRepairAnswer RepairForOutput(const WideString& text, bool japanese);

/// Reads the source, writes the answer; the exit status (1: the source can't be read).
int AnswerRepair(const TCommandLine& line, bool japanese);

}  // namespace magna
