#pragma once
// The help page that ships with the program: a short Japanese page on how to use
// Magna. It is looked for beside the program file ("help/index.html", where the
// build and a portable copy keep it), then where an installation puts it
// ("../share/magna/help/index.html" from the program's bin folder); otherwise
// the copy built into the program is written to the user's cache folder and that
// file is shown.

#include <QString>

namespace magna {

/// The help page's address as a file URL; empty when no copy could be made.
QString HelpPageAddress();

/// The first installed page for a program in programDir; empty when there is none.
QString InstalledHelpPage(const QString& programDir);

}  // namespace magna
