#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "platform/window/WaitSource.h"
#include "platform/window/WindowApi.h"

// After the platform's headers (GLib defines TRUE and FALSE as macros).
#include "accessibility/GlibMainContextSource.h"

// Last: GLib defines TRUE and FALSE as macros, which the platform's constants must precede.
#include <glib-unix.h>

namespace kestrel {
namespace {

// GLib's sources run from the message loop's own waiting (GetMessage here), whether their
// descriptor becomes ready or their time comes, and nothing else runs them.
TEST(GlibMainContextSource, DescriptorsAndTimeoutsAreServedByTheMessageLoop) {
  GlibMainContextSource source;
  platform::SetWaitSource(&source);
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  struct Seen {
    bool read = false;
    bool timedOut = false;
  } seen;
  const guint watch = g_unix_fd_add(
      fds[0], G_IO_IN,
      +[](gint fd, GIOCondition, gpointer data) {
        char c;
        EXPECT_EQ(read(fd, &c, 1), 1);
        static_cast<Seen*>(data)->read = true;
        platform::PostQuitMessage(0);
        return G_SOURCE_REMOVE;
      },
      &seen);
  const guint timeout = g_timeout_add(
      20,
      +[](gpointer data) {
        static_cast<Seen*>(data)->timedOut = true;
        return G_SOURCE_REMOVE;
      },
      &seen);
  std::thread writer([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(80));
    EXPECT_EQ(write(fds[1], "x", 1), 1);
  });
  platform::MSG m;
  while (platform::GetMessageW(&m, nullptr, 0, 0)) platform::DispatchMessageW(&m);
  writer.join();
  EXPECT_TRUE(seen.read);
  EXPECT_TRUE(seen.timedOut);
  platform::SetWaitSource(nullptr);
  g_source_remove_by_user_data(&seen);
  (void)watch, (void)timeout;
  close(fds[0]);
  close(fds[1]);
}

}  // namespace
}  // namespace kestrel
