// Path strings. These are string rules, not file system calls: backslash, slash
// and colon separate, and each function honours the ones its contract names.

#include "text/myUtils.h"

namespace magna {

namespace {
constexpr char16_t kAllSeparators[] = u"\\/:";
}  // namespace

WideString ExtractDir(const WideString& path) {
  const size_t at = path.find_last_of(kAllSeparators);
  if (at == WideString::npos) return {};
  // A drive prefix ("C:name") names the drive's current folder: "C:\".
  if (path[at] == u':') return path.substr(0, at + 1) + u'\\';
  return path.substr(0, at + 1);
}

WideString ExtractName(const WideString& path) {
  const size_t at = path.find_last_of(kAllSeparators);
  return at == WideString::npos ? path : path.substr(at + 1);
}

WideString ExtractBaseName(const WideString& path) {
  WideString name = ExtractName(path);
  const size_t dot = name.rfind(u'.');
  if (dot != WideString::npos) name.resize(dot);
  return name;
}

WideString ExtractExt(const WideString& path) {
  const size_t at = path.find_last_of(u".\\/:");
  if (at == WideString::npos || path[at] != u'.') return {};
  return path.substr(at);
}

void SplitPath(const WideString& path, WideString& dir, WideString& name) {
  const size_t at = path.find_last_of(kAllSeparators);
  // The colon stays with the drive; a backslash or slash belongs to neither part.
  WideString before =
      at == WideString::npos ? WideString() : path.substr(0, path[at] == u':' ? at + 1 : at);
  WideString after = at == WideString::npos ? path : path.substr(at + 1);
  dir = std::move(before);  // path may be one of the outputs
  name = std::move(after);
}

WideString ChangeExt(const WideString& path, const WideString& ext) {
  const WideString extension = (ext.empty() || ext.front() == u'.') ? ext : u'.' + ext;
  // Only backslash and colon end the search for the full stop, not slash.
  const size_t at = path.find_last_of(u".\\:");
  if (at == WideString::npos || path[at] != u'.') return path + extension;
  if (at == 0) return extension;
  return path.substr(0, at) + extension;
}

}  // namespace magna
