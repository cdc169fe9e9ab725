#pragma once
// A flag one thread raises and another thread's poll() sees: a reader that waits
// for a display connection and a pipe waits for this descriptor too, so that
// stopping it never waits for another program.

namespace magna::platform {

class TStopSignal {
 public:
  TStopSignal();  // raises std::system_error when no descriptor can be had
  ~TStopSignal();
  TStopSignal(const TStopSignal&) = delete;
  TStopSignal& operator=(const TStopSignal&) = delete;

  /// Raises the flag; the descriptor stays readable from now on. Any thread.
  void Raise();
  bool Raised() const;
  /// For poll(): readable once raised.
  int Fd() const { return fd_; }

 private:
  int fd_;
};

}  // namespace magna::platform
