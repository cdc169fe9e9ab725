#include "platform/userFolders.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace magna::platform {

namespace {

bool IsAbsolute(const std::optional<std::string>& path) {
  return path && !path->empty() && path->front() == '/';
}

std::string AccountHome() {
  const passwd* entry = getpwuid(getuid());
  return entry && entry->pw_dir ? std::string(entry->pw_dir) : std::string();
}

bool IsFolder(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

std::optional<std::string> ProcessEnvironment(const char* name) {
  const char* value = std::getenv(name);
  return value ? std::optional<std::string>(value) : std::nullopt;
}

std::string UserConfigHome(const EnvironmentLookup& env) {
  if (auto xdg = env("XDG_CONFIG_HOME"); IsAbsolute(xdg)) return *xdg;
  std::optional<std::string> home = env("HOME");
  if (!IsAbsolute(home)) home = AccountHome();
  if (!IsAbsolute(home)) return {};
  if (home->size() > 1 && home->back() == '/') home->pop_back();
  return (*home == "/" ? std::string() : *home) + "/.config";
}

bool IsWritableFolder(const std::string& folder) {
  // Creating a file needs the right to write and to search the folder.
  return IsFolder(folder) && access(folder.c_str(), W_OK | X_OK) == 0;
}

bool MakePrivateFolder(const std::string& folder) {
  if (folder.empty()) return false;
  if (IsFolder(folder)) return true;
  const size_t slash = folder.find_last_of('/');
  if (slash != std::string::npos && slash > 0 && !MakePrivateFolder(folder.substr(0, slash)))
    return false;
  // Another process may have made it meanwhile: that counts as made.
  if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return false;
  return IsFolder(folder);
}

}  // namespace magna::platform
