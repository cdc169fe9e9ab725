#pragma once
// The help page that ships with the program: a short Japanese page on how to use
// Magna. It is looked for beside the program file ("help/index.html", where an
// installation puts it); otherwise the copy built into the program is written to
// the user's cache folder and that file is shown.

#include <QString>

namespace magna {

/// The help page's address as a file URL; empty when no copy could be made.
QString HelpPageAddress();

}  // namespace magna
