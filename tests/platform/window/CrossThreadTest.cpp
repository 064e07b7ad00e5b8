// Workers posting, reading window text and waking the GUI thread while that thread moves the
// mouse, renames its window and pumps: the values a worker sees are never torn, and the run is
// clean under ThreadSanitizer.

#include <atomic>
#include <thread>

#include "tests/platform/window/WindowTestSupport.h"

namespace kestrel::platform::testing {
namespace {

class CrossThreadTest : public WindowTest {};

constexpr int kRounds = 2000;

TEST_F(CrossThreadTest, WorkersPostReadTextAndWakeWhileTheGuiThreadChangesState) {
  HWND top = CreateTop();
  SetWindowTextW(top, u"aaaa");
  std::atomic<bool> stop{false};
  std::atomic<int> tornTexts{0};
  std::thread worker([&] {
    for (int i = 0; i < kRounds && !stop; ++i) {
      PostMessageW(top, WM_USER + 7, static_cast<WPARAM>(i), 0);
      WCHAR text[8] = {};
      int n = GetWindowTextW(top, text, 8);
      // Every text the GUI thread sets is four equal letters.
      if (n != 4 || text[1] != text[0] || text[3] != text[0]) ++tornTexts;
      if (GetWindowTextLengthW(top) != 4) ++tornTexts;
      WakeGuiThread();
    }
  });
  int received = 0;
  int tornPoints = 0;
  Log().handler = [&](HWND, UINT msg, WPARAM, LPARAM, LRESULT&) {
    if (msg != WM_USER + 7) return false;
    ++received;
    DWORD pos = GetMessagePos();
    if (LOWORD(pos) != HIWORD(pos)) ++tornPoints;  // the GUI thread only sets points with x == y
    return true;
  };
  const char16_t* names[] = {u"aaaa", u"bbbb", u"cccc"};
  for (int i = 0; received < kRounds && i < 200 * kRounds; ++i) {
    SetCursorPos(i % 500, i % 500);
    SetWindowTextW(top, names[i % 3]);
    Pump();
  }
  stop = true;
  worker.join();
  Pump();
  EXPECT_EQ(received, kRounds);
  EXPECT_EQ(tornTexts, 0);
  EXPECT_EQ(tornPoints, 0);
}

}  // namespace
}  // namespace kestrel::platform::testing
