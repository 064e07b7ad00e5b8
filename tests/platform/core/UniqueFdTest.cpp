#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "platform/core/UniqueFd.h"

namespace kestrel::platform {
namespace {

bool IsOpen(int fd) { return ::fcntl(fd, F_GETFD) != -1; }

struct Pipe {
  Pipe() { EXPECT_EQ(::pipe2(fds, O_CLOEXEC), 0); }
  int fds[2] = {-1, -1};
};

TEST(UniqueFd, OwnershipMovesAndTheDescriptorIsClosedOnce) {
  Pipe pipe;
  ::close(pipe.fds[1]);
  const int fd = pipe.fds[0];
  UniqueFd first(fd);
  UniqueFd second(std::move(first));
  EXPECT_FALSE(first);
  ASSERT_TRUE(second);
  UniqueFd third;
  third = std::move(second);
  EXPECT_EQ(third.get(), fd);
  third.reset();
  EXPECT_FALSE(IsOpen(fd));

  // The number comes back for the next descriptor: the moved-from owners must not close it.
  Pipe reused;
  ASSERT_EQ(reused.fds[0], fd);
  first.reset();
  second = UniqueFd();
  EXPECT_TRUE(IsOpen(fd));
  ::close(reused.fds[0]);
  ::close(reused.fds[1]);
}

TEST(UniqueFd, CloseReportsTheResultAndReleaseKeepsTheDescriptorOpen) {
  Pipe pipe;
  UniqueFd reader(pipe.fds[0]);
  {
    UniqueFd writer(pipe.fds[1]);
    EXPECT_TRUE(writer.Close());
    EXPECT_FALSE(writer.Close());
    EXPECT_EQ(errno, EBADF);
  }
  char byte = 0;
  EXPECT_EQ(::read(reader.get(), &byte, 1), 0) << "the write end is closed";

  const int raw = reader.release();
  EXPECT_FALSE(reader);
  EXPECT_TRUE(IsOpen(raw));
  UniqueFd again(raw);
  again.reset(raw);  // holding the same number again closes nothing
  EXPECT_TRUE(IsOpen(raw));
}

}  // namespace
}  // namespace kestrel::platform
