// File queries: existence, size and times, by name or by Windows wildcard pattern.

#include <functional>
#include <optional>

#include "platform/fileSystem.h"
#include "platform/nativeNames.h"
#include "text/myUtils.h"

namespace magna {

namespace {

bool IsDotEntry(WideView name) {
  return name == u"." || name == u"..";
}

// The first entry matching the pattern, other than "." and "..", that `wanted` accepts.
std::optional<platform::FindData> FindFirstEntry(
    const WideString& pattern, const std::function<bool(const platform::FindData&)>& wanted) {
  platform::FileFinder finder;
  platform::FindData data;
  for (bool found = finder.FindFirst(NativePath(pattern), data); found;
       found = finder.FindNext(data)) {
    if (!IsDotEntry(data.Name) && wanted(data)) return data;
  }
  return std::nullopt;
}

std::optional<platform::FindData> FindFirstFile(const WideString& pattern) {
  return FindFirstEntry(pattern, [](const platform::FindData& d) { return !d.IsDirectory; });
}

bool DirectoryExists(const WideString& name) {
  if (name.empty()) return false;
  if (!platform::HasWildcards(name)) {
    const auto status = platform::GetFileStatus(NativePath(name));
    return status && status->IsDirectory;
  }
  // A search for "dir*/" finds nothing: the trailing separator goes first.
  WideString pattern = name;
  if (pattern.ends_with(u'\\') || pattern.ends_with(u'/')) pattern.pop_back();
  return FindFirstEntry(pattern, [](const platform::FindData& d) { return d.IsDirectory; })
      .has_value();
}

// The status a query without wildcards asks of the opened file, or of the first
// matching file for a pattern.
std::optional<platform::FileStatus> QueryFile(const WideString& name) {
  if (name.empty()) return std::nullopt;
  if (platform::HasWildcards(name)) return FindFirstFile(name);
  return platform::GetOpenFileStatus(NativePath(name));
}

}  // namespace

std::string NativePath(const WideString& name) {
  return platform::WideToNativeName(name);
}

bool FileExists(const WideString& name) {
  if (name.empty()) return false;
  if (!platform::HasWildcards(name)) {
    const auto status = platform::GetFileStatus(NativePath(name));
    return status && !status->IsDirectory;
  }
  return DirectoryExists(ExtractDir(name)) && FindFirstFile(name).has_value();
}

uint64_t FileSizeOf(const WideString& name) {
  const auto status = QueryFile(name);
  return status ? status->Size : 0;
}

uint64_t FileWriteTime(const WideString& name) {
  const auto status = QueryFile(name);
  return status ? status->WriteTime : 0;
}

uint64_t FileCreationTime(const WideString& name) {
  const auto status = QueryFile(name);
  return status ? status->CreationTime : 0;
}

}  // namespace magna
