#include "app/desktop/settingsLocation.h"

#include <cerrno>

#include "platform/log.h"
#include "platform/userFolders.h"
#include "settings/myIniFile.h"
#include "text/myCharCode.h"
#include "text/myUtils.h"

namespace magna {

namespace {

const WideString kConfigFile = u"/magna/magna.ini";

/// The text before the last "/" (the program builds its own paths with "/" only).
WideString FolderOf(const WideString& path) {
  const size_t slash = path.rfind(u'/');
  if (slash == WideString::npos) return u".";
  return slash == 0 ? WideString(u"/") : path.substr(0, slash);
}

bool IsSameOrBelow(const WideString& folder, const WideString& root) {
  return folder.compare(0, root.size(), root) == 0 &&
         (folder.size() == root.size() || folder[root.size()] == u'/');
}

}  // namespace

bool IsSystemFolder(const WideString& folder) {
  // /usr/local is below /usr.
  return IsSameOrBelow(folder, u"/usr") || IsSameOrBelow(folder, u"/opt");
}

WideString ChooseSettingsFile(const TSettingsFacts& facts) {
  const WideString beside = SettingsFileNameOf(facts.ProgramFile);
  if (facts.FileBeside) return beside;
  if (facts.FolderWritable && !IsSystemFolder(FolderOf(facts.ProgramFile))) return beside;
  if (facts.ConfigHome.empty()) return beside;
  return facts.ConfigHome + kConfigFile;
}

TSettingsFacts ProgramSettingsFacts() {
  TSettingsFacts facts;
  facts.ProgramFile = ApplicationFileName();
  facts.FileBeside = FileExists(SettingsFileNameOf(facts.ProgramFile));
  facts.FolderWritable = platform::IsWritableFolder(NativePath(FolderOf(facts.ProgramFile)));
  facts.ConfigHome = Utf8ToWide(platform::UserConfigHome());
  return facts;
}

WideString ProgramSettingsFile() {
  const TSettingsFacts facts = ProgramSettingsFacts();
  const WideString file = ChooseSettingsFile(facts);
  // A folder that can't be made shows up as settings that are not saved, as any
  // other unwritable settings file does; only the log says which folder and why.
  if (file != SettingsFileNameOf(facts.ProgramFile)) {
    errno = 0;
    if (!platform::MakePrivateFolder(NativePath(FolderOf(file))))
      platform::LogNamedWarning(platform::kLogSettings, "making the settings folder",
                                FolderOf(file), platform::ErrorNumberReason(errno));
  }
  return file;
}

}  // namespace magna
