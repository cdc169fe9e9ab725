// The signals to end as calls from the event loop: each kind once, then its
// default again; one ignored from the start stays ignored; the end puts the
// former handling back.
#include "platform/qt/qtQuitSignals.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <vector>

namespace magna::platform::qt {
namespace {

void (*HandlerOf(int number))(int) {
  struct sigaction action {};
  sigaction(number, nullptr, &action);
  return action.sa_handler;
}

/// Lets the event loop run until `done` or five seconds have passed.
template <class Done>
bool ProcessEventsUntil(Done done) {
  QDeadlineTimer deadline(5000);
  while (!done() && !deadline.hasExpired())
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  return done();
}

/// Sets a handling for a signal for the test's length and puts the former one back.
class SignalHandling {
 public:
  SignalHandling(int number, void (*handler)(int)) : number_(number) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    sigaction(number, &action, &former_);
  }
  ~SignalHandling() { sigaction(number_, &former_, nullptr); }

 private:
  int number_;
  struct sigaction former_ {};
};

extern "C" void IgnoreQuietly(int) {}

TEST(QtQuitSignalsTest, EachSignalBecomesOneCallFromTheEventLoopThenHasItsDefaultAgain) {
  for (int number : {SIGTERM, SIGHUP, SIGINT}) {
    SCOPED_TRACE(number);
    SignalHandling before(number, IgnoreQuietly);
    std::vector<int> calls;
    {
      TQtQuitSignals quit([&](int received) { calls.push_back(received); });
      ASSERT_EQ(raise(number), 0);
      EXPECT_TRUE(calls.empty()) << "never from inside the handler";
      ASSERT_TRUE(ProcessEventsUntil([&] { return !calls.empty(); }));
      EXPECT_EQ(calls, std::vector<int>{number});
      EXPECT_EQ(HandlerOf(number), SIG_DFL) << "a second one ends the process at once";
    }
    EXPECT_EQ(HandlerOf(number), &IgnoreQuietly) << "the end puts the former handling back";
  }
}

TEST(QtQuitSignalsTest, ASignalIgnoredFromTheStartStaysIgnored) {
  SignalHandling nohup(SIGHUP, SIG_IGN);
  int calls = 0;
  TQtQuitSignals quit([&](int) { ++calls; });
  EXPECT_EQ(HandlerOf(SIGHUP), SIG_IGN);
  ASSERT_EQ(raise(SIGHUP), 0);
  QCoreApplication::processEvents();
  EXPECT_EQ(calls, 0);
}

}  // namespace
}  // namespace magna::platform::qt
