#pragma once
// The user's own folders on this desktop (the XDG base directory rules) and the
// two questions the settings location asks of a folder: may this user write
// there, and can a private folder be made there. Names are the file system's
// bytes (UTF-8).

#include <functional>
#include <optional>
#include <string>

namespace magna::platform {

/// Looks up an environment variable: nullopt when it is not set.
using EnvironmentLookup = std::function<std::optional<std::string>(const char* name)>;

/// The process's own environment.
std::optional<std::string> ProcessEnvironment(const char* name);

/// The user's configuration folder: $XDG_CONFIG_HOME when it is an absolute path
/// (a relative one is invalid and ignored), else $HOME/.config, else the account's
/// home folder + "/.config"; empty when no home is known.
std::string UserConfigHome(const EnvironmentLookup& env = ProcessEnvironment);

/// Whether this process may create and replace files in the folder.
bool IsWritableFolder(const std::string& folder);

/// Creates the folder, and any missing parent, with mode 0700 (a folder that is
/// already there keeps its mode); true when it is a folder afterwards.
bool MakePrivateFolder(const std::string& folder);

}  // namespace magna::platform
