#pragma once
// The receiving end of one transfer through a pipe (how a Wayland program hands
// over what it offers): the bytes read as they come, without ever blocking, up
// to the end or the size limit. The caller polls the descriptor and calls Pump
// when it is readable; the transfer closes its end when destroyed.

#include <string>

namespace magna::platform {

class TPipeTransfer {
 public:
  enum class State { More, Done, TooBig, Failed };

  /// Takes the read end (made non-blocking here); `maxBytes` is the most it keeps.
  TPipeTransfer(int fd, size_t maxBytes);
  ~TPipeTransfer();
  TPipeTransfer(const TPipeTransfer&) = delete;
  TPipeTransfer& operator=(const TPipeTransfer&) = delete;

  int Fd() const { return fd_; }
  /// Reads what is there now. Done at the end of the data; past the limit TooBig
  /// (what was read is dropped); Failed on a read error.
  State Pump();
  /// The bytes read; empties the transfer.
  std::string Take() { return std::move(data_); }

 private:
  int fd_;
  size_t maxBytes_;
  std::string data_;
};

}  // namespace magna::platform
