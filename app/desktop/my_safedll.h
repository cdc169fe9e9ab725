#pragma once
// Keeps the current directory out of every library and plugin search path the
// program controls. On this platform that means:
//   LD_LIBRARY_PATH             relative and empty entries (an empty one means the
//                               current directory) are removed. The dynamic loader
//                               reads this variable once, at exec, for the libraries
//                               loaded at start and for the dependencies of every later
//                               dlopen; so when it held such entries the program starts
//                               itself again with the cleaned value (once, before any
//                               library of its own is loaded by name). Child processes
//                               (the document opener) inherit the cleaned value.
//   QT_PLUGIN_PATH              relative and empty entries removed: Qt turns "." into
//                               the absolute current directory.
//   QT_QPA_PLATFORM_PLUGIN_PATH removed unless it is an absolute path.
//   Qt's library paths          once the application object exists, entries naming the
//                               current directory are dropped (unless it is the program's
//                               own folder or Qt's plugin folder) and only absolute
//                               entries are kept.
// Every step is skipped on its own when it can't be done; nothing is reported.

#include <string>
#include <string_view>

namespace magna {

/// Call first thing in main(), before the QApplication is made; argv may be null
/// (then the program is never started again).
void RestrictLibrarySearchPath(char** argv);

/// Qt's plugin search paths without the current directory; runs by itself when
/// the application object is made, and may be called again at any time.
void RestrictQtLibraryPaths();

/// The absolute entries of a colon-separated search path, in order.
std::string AbsoluteSearchPath(std::string_view list);

}  // namespace magna
