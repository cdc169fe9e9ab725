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
/// was written and flushed; false (old content intact) otherwise. An existing file keeps
/// its permission bits; a new one gets 0666 less the umask.
bool ReplaceFileContent(const std::string& name, const std::string& bytes);

}  // namespace magna
