#pragma once
// Where the main window keeps its settings file. Beside the program (the
// program's path with ".ini"), which is what a portable copy in a folder of its
// own expects, when a settings file is already there or when the program's
// folder is writable by the user and is not a system folder (/usr, /opt and
// below). Otherwise in the user's configuration folder, <config>/magna/magna.ini,
// so that an installed copy can keep its settings at all. Same name and format
// either way.

#include "platform/myBase.h"

namespace magna {

/// What the choice rests on, gathered from the file system and the environment.
struct TSettingsFacts {
  WideString ProgramFile;       // the running program's full path
  bool FileBeside = false;      // a settings file exists beside the program
  bool FolderWritable = false;  // the user may create files in the program's folder
  WideString ConfigHome;        // the user's configuration folder; empty when unknown
};

/// Whether the folder is /usr, /opt or one of their subfolders (where the system's
/// package manager owns the files, whatever the user may write).
bool IsSystemFolder(const WideString& folder);

/// The settings file by the rule above. Without a known configuration folder the
/// file stays beside the program.
WideString ChooseSettingsFile(const TSettingsFacts& facts);

/// The facts for the running program; nothing is created.
TSettingsFacts ProgramSettingsFacts();

/// The running program's settings file; when that is in the configuration folder,
/// its folder is created with mode 0700 if missing.
WideString ProgramSettingsFile();

}  // namespace magna
