#pragma once
// Standard input as a file: everything the process's standard input holds, read
// to its end and kept in a memory-only file (memfd) that the file functions can
// open by name while the object lives. A pipe can be read once only and has no
// size; the text-file reader wants both.

#include <string>

namespace magna::platform {

class TStandardInputFile {
 public:
  /// Reads standard input to its end (blocks until the writer closes it).
  TStandardInputFile();
  ~TStandardInputFile();
  TStandardInputFile(const TStandardInputFile&) = delete;
  TStandardInputFile& operator=(const TStandardInputFile&) = delete;

  /// Whether everything was read and kept.
  bool IsOpen() const { return fd_ >= 0; }
  /// A name that opens the kept bytes ("/proc/self/fd/N"); empty when not open.
  std::string Path() const;

 private:
  int fd_ = -1;
};

}  // namespace magna::platform
