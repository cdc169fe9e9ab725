#pragma once
// The file system as the program sees it: entry status with Windows-style file
// times, and directory searches with Windows' wildcard rules (the stand-in for
// find-first/find-next). Names are the file system's bytes, read as text by
// NativeNameToWide (platform/nativeNames.h: UTF-8, other bytes kept as escapes);
// "/" is the only real separator, a backslash is an ordinary character of a name.
// Typical use:
//   FileFinder finder;
//   FindData data;
//   for (bool found = finder.FindFirst("/tmp/*.txt", data); found; found = finder.FindNext(data))
//     Use(data.Name);

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/myBase.h"

namespace magna::platform {

/// 100-ns intervals between 1601-01-01 and 1970-01-01 (UTC).
constexpr uint64_t kUnixEpochAsFileTime = 116444736000000000ULL;

/// A POSIX time as a Windows file time; 0 for times before 1601.
constexpr uint64_t FileTimeOfUnixTime(int64_t seconds, uint32_t nanoseconds) {
  constexpr int64_t kSecondsBefore1970 = static_cast<int64_t>(kUnixEpochAsFileTime / 10000000);
  if (seconds < -kSecondsBefore1970) return 0;
  return static_cast<uint64_t>(seconds + kSecondsBefore1970) * 10000000ULL + nanoseconds / 100;
}

/// What the file system tells about one entry; a time is 0 when not available.
struct FileStatus {
  bool IsDirectory = false;
  uint64_t Size = 0;
  uint64_t WriteTime = 0;
  uint64_t CreationTime = 0;  // the birth time, where the file system keeps one
};

/// Which directory of which file system: the same for every path that reaches it.
struct FileId {
  uint64_t Device = 0;
  uint64_t Inode = 0;
  friend auto operator<=>(const FileId&, const FileId&) = default;
};

/// One entry found by a directory search (the find record).
struct FindData : FileStatus {
  WideString Name;         // the entry's name as text
  std::string NativeName;  // the entry's name as the file system spells it
};

/// Whether a name holds "*" or "?".
bool HasWildcards(WideView name);

/// Windows' match of one entry name against a pattern: "*" any run, "?" one
/// character or none before a full stop or the end, "*.*" every name, "*." names
/// without extension; case is ignored (simple upper-casing).
bool MatchesWildcard(WideView name, WideView pattern);

/// The status of a named entry (links followed); nullopt when it does not exist.
std::optional<FileStatus> GetFileStatus(const std::string& nativeName);

/// The status of a file opened for reading; nullopt when it can't be opened or is
/// a directory (a directory is not a file that can be opened).
std::optional<FileStatus> GetOpenFileStatus(const std::string& nativeName);

/// The entries of one directory matching a pattern, in the directory's order.
/// The pattern's last component (after the last "/") is matched, the text before
/// it names the directory (the current one when there is no "/"). "." and ".."
/// are found like any other entry when they match.
class FileFinder {
 public:
  FileFinder() = default;
  FileFinder(const FileFinder&) = delete;
  FileFinder& operator=(const FileFinder&) = delete;
  ~FileFinder();

  /// Starts a search; false when the directory can't be read or nothing matches.
  bool FindFirst(const std::string& nativePattern, FindData& data);
  /// The next matching entry; false at the end.
  bool FindNext(FindData& data);
  /// Ends the search (also done by the destructor and by a new FindFirst).
  void Close();
  /// The directory the search reads, links followed; valid once FindFirst found an entry.
  FileId DirectoryId() const { return dirId_; }

 private:
  void* dir_ = nullptr;  // the open DIR
  WideString pattern_;
  FileId dirId_;
};

/// The running program's file as the kernel names it; empty when unknown.
std::string ProcessImagePath();
/// The process's command-line arguments as they were given, the program first;
/// empty when unknown.
std::vector<std::string> ProcessArguments();
/// The process's first command-line argument as it was given; empty when unknown.
std::string ProcessFirstArgument();

}  // namespace magna::platform
