#pragma once
// The file side of the character-code routines: whole-file reads with retries and
// whole-file replacement that never destroys the previous content. Names are the
// file system's bytes (UTF-8).

#include <cstdint>
#include <string>

namespace magna {

/// Size of the named entry when it is not a directory; 0 when there is none.
uint64_t NonDirectorySize(const std::string& name);

/// Reads up to `count` bytes in up to four attempts 200 ms apart, letting the user interface
/// process pending messages between them. buffer gets the bytes plus two zero bytes;
/// false when every attempt failed (read is 0 then).
bool ReadFileWithRetries(const std::string& name, uint64_t count, std::string& buffer,
                         size_t& read);

/// Writes `bytes` to a new file beside `name` and renames it over `name` only when all
/// was written and flushed; false (old content intact, no temporary file left) otherwise.
/// An existing file keeps its owner and permission bits; a new one gets 0666 less the
/// umask. A symbolic link stays a link: its target is written (made if missing). Where
/// the replacement can't keep what the file had (a folder we may not write in, an owner
/// we may not give, other hard links, no plain file), a writable file is written in place.
/// A read-only file or a directory is never written: false.
bool ReplaceFileContent(const std::string& name, const std::string& bytes);

}  // namespace magna
