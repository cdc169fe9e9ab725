#pragma once
// The requests to end that come as signals, turned into a call on the GUI thread
// so that the program can close in order: SIGTERM (a logout, `kill`, a service
// manager stopping it), SIGHUP (its terminal went away) and SIGINT (Ctrl+C). The
// handler only writes the signal's number into a pipe, which is all a handler may
// safely do; the event loop reads the pipe and makes the call.
//  - A signal the process ignores from its start stays ignored (nohup's SIGHUP, a
//    background job's SIGINT): whoever started it asked for that.
//  - Each handler serves once: a second signal of that kind, while the close is
//    under way, has its default effect and ends the process at once.
//  - One object at a time; its end puts the former handling back.
// Typical use (in main, after the application object):
//   platform::qt::TQtQuitSignals quitSignals([](int) { CloseEverything(); });

#include <csignal>
#include <functional>
#include <memory>
#include <vector>

class QSocketNotifier;

namespace magna::platform::qt {

class TQtQuitSignals {
 public:
  /// `onSignal` gets the signal's number on the GUI thread, from the event loop.
  explicit TQtQuitSignals(std::function<void(int)> onSignal);
  ~TQtQuitSignals();
  TQtQuitSignals(const TQtQuitSignals&) = delete;
  TQtQuitSignals& operator=(const TQtQuitSignals&) = delete;

 private:
  struct Former {
    int number;
    struct sigaction action;
  };
  void Catch(int number);
  void Drain();

  std::function<void(int)> onSignal_;
  std::unique_ptr<QSocketNotifier> notifier_;
  std::vector<Former> former_;
};

}  // namespace magna::platform::qt
