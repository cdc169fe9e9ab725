// The receiving end of a transfer through a pipe: what is there is read without
// waiting, the end is seen, and the limit holds.
#include "platform/pipeTransfer.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>

namespace magna::platform {
namespace {

using State = TPipeTransfer::State;

struct Pipe {
  Pipe() { EXPECT_EQ(pipe(fds), 0); }
  ~Pipe() { CloseWriter(); }
  void Write(const std::string& bytes) {
    EXPECT_EQ(write(fds[1], bytes.data(), bytes.size()), ssize_t(bytes.size()));
  }
  void CloseWriter() {
    if (fds[1] >= 0) close(fds[1]);
    fds[1] = -1;
  }
  int fds[2] = {-1, -1};
};

TEST(PipeTransfer, ReadsWhatComesWithoutWaitingUntilTheWriterCloses) {
  Pipe pipe;
  TPipeTransfer transfer(pipe.fds[0], 1 << 20);
  EXPECT_EQ(transfer.Pump(), State::More) << "nothing written yet: no wait";
  pipe.Write("日本");
  EXPECT_EQ(transfer.Pump(), State::More);
  for (int part = 0; part < 3; ++part) {  // more than the pipe holds at once
    pipe.Write(std::string(40000, char('x' + part)));
    EXPECT_EQ(transfer.Pump(), State::More);
  }
  pipe.CloseWriter();
  EXPECT_EQ(transfer.Pump(), State::Done);
  EXPECT_EQ(transfer.Take(),
            "日本" + std::string(40000, 'x') + std::string(40000, 'y') + std::string(40000, 'z'));
}

TEST(PipeTransfer, ALargerTextThanTheLimitIsDropped) {
  Pipe pipe;
  TPipeTransfer transfer(pipe.fds[0], 10);
  pipe.Write("0123456789");
  EXPECT_EQ(transfer.Pump(), State::More) << "exactly the limit is taken";
  pipe.Write("x");
  EXPECT_EQ(transfer.Pump(), State::TooBig);
  EXPECT_TRUE(transfer.Take().empty());
}

TEST(PipeTransfer, AnEmptyTransferIsDone) {
  Pipe pipe;
  TPipeTransfer transfer(pipe.fds[0], 10);
  pipe.CloseWriter();
  EXPECT_EQ(transfer.Pump(), State::Done);
  EXPECT_EQ(transfer.Take(), "");
}

}  // namespace
}  // namespace magna::platform
