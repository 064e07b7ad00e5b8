// The message queue: posting and peeking with filters, quitting, messages between threads,
// waking the GUI thread, timers on the virtual clock, and idle waits that cost no CPU.

#include <time.h>
#include <cstdio>

#include <atomic>
#include <chrono>
#include <thread>

#include "tests/platform/window/WindowTestSupport.h"

namespace kestrel::platform::testing {
namespace {

class MessageQueueTest : public WindowTest {};

TEST_F(MessageQueueTest, PostedMessagesComeInOrderAndHonourFilters) {
  HWND top = CreateTop();
  HWND child = CreateChild(top, {0, 0, 10, 10});
  HWND other = CreateTop();
  PostMessageW(top, WM_USER + 1, 0, 0);
  PostMessageW(child, WM_USER + 2, 0, 0);
  PostMessageW(other, WM_USER + 3, 0, 0);
  PostMessageW(top, WM_APP, 0, 0);
  MSG m;
  // Without removal the same message is seen again.
  ASSERT_TRUE(PeekMessageW(&m, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(m.message, WM_USER + 1u);
  ASSERT_TRUE(PeekMessageW(&m, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(m.message, WM_USER + 1u);
  // A range filter skips what lies outside it.
  ASSERT_TRUE(PeekMessageW(&m, nullptr, WM_APP, WM_APP, PM_REMOVE));
  EXPECT_EQ(m.message, WM_APP);
  // A window filter takes the window and its children.
  ASSERT_TRUE(PeekMessageW(&m, top, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, WM_USER + 1u);
  ASSERT_TRUE(PeekMessageW(&m, top, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.message, WM_USER + 2u);
  EXPECT_EQ(m.hwnd, child);
  EXPECT_FALSE(PeekMessageW(&m, top, WM_USER, WM_USER + 10, PM_REMOVE));
  ASSERT_TRUE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.hwnd, other);
  // Posting to a dead window fails.
  DestroyWindow(other);
  EXPECT_FALSE(PostMessageW(other, WM_USER, 0, 0));
}

TEST_F(MessageQueueTest, QuitComesAfterPostedMessages) {
  HWND top = CreateTop();
  PostQuitMessage(42);
  PostMessageW(top, WM_USER, 0, 0);
  MSG m;
  EXPECT_TRUE(GetMessageW(&m, nullptr, 0, 0));
  EXPECT_EQ(m.message, WM_USER);
  EXPECT_FALSE(GetMessageW(&m, nullptr, 0, 0));
  EXPECT_EQ(m.message, WM_QUIT);
  EXPECT_EQ(m.wParam, 42u);
  EXPECT_FALSE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageQueueTest, ThreadMessagesHaveNoWindow) {
  PostThreadMessageW(GetCurrentThreadId(), WM_USER + 5, 1, 2);
  MSG m;
  ASSERT_TRUE(PeekMessageW(&m, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE));
  EXPECT_EQ(m.hwnd, nullptr);
  EXPECT_EQ(m.message, WM_USER + 5u);
  EXPECT_EQ(DispatchMessageW(&m), 0);
  EXPECT_FALSE(PostThreadMessageW(0xFFFFFF, WM_USER, 0, 0));
}

TEST_F(MessageQueueTest, SendFromAnotherThreadRunsOnTheOwnerAndReturnsTheResult) {
  HWND top = CreateTop();
  std::thread::id ranOn;
  Log().handler = [&](HWND, UINT msg, WPARAM wParam, LPARAM, LRESULT& r) {
    if (msg != WM_USER) return false;
    ranOn = std::this_thread::get_id();
    r = static_cast<LRESULT>(wParam * 2);
    return true;
  };
  std::atomic<LRESULT> result{0};
  std::thread worker([&] {
    result = SendMessageW(top, WM_USER, 21, 0);
    PostMessageW(top, WM_USER + 1, 0, 0);  // tells the loop below to stop
  });
  MSG m;
  while (GetMessageW(&m, nullptr, 0, 0)) {
    if (m.message == WM_USER + 1) break;
    DispatchMessageW(&m);
  }
  worker.join();
  EXPECT_EQ(result.load(), 42);
  EXPECT_EQ(ranOn, std::this_thread::get_id());
}

LRESULT EchoProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  // The worker's window asks the main window back while the main thread waits for it.
  if (msg == WM_USER) return SendMessageW(reinterpret_cast<HWND>(lParam), WM_USER + 7, wParam, 0) + 1;
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

TEST_F(MessageQueueTest, NestedSendsBetweenThreadsDoNotDeadlock) {
  HWND top = CreateTop();
  Log().handler = [](HWND, UINT msg, WPARAM wParam, LPARAM, LRESULT& r) {
    if (msg != WM_USER + 7) return false;
    r = static_cast<LRESULT>(wParam) * 10;
    return true;
  };
  WNDCLASSEXW wc;
  wc.lpfnWndProc = EchoProc;
  wc.lpszClassName = u"KestrelEcho";
  RegisterClassExW(&wc);
  std::atomic<HWND> echo{nullptr};
  std::atomic<bool> stop{false};
  std::thread worker([&] {
    echo = CreateWindowExW(0, u"KestrelEcho", u"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    MSG m;
    while (!stop && GetMessageW(&m, nullptr, 0, 0)) DispatchMessageW(&m);
    DestroyWindow(echo);
  });
  while (!echo) std::this_thread::yield();
  EXPECT_EQ(SendMessageW(echo, WM_USER, 4, reinterpret_cast<LPARAM>(top)), 41);
  // Reading another thread's window text needs no message.
  EXPECT_EQ(GetWindowTextLengthW(echo), 0);
  stop = true;
  PostMessageW(echo, WM_NULL, 0, 0);
  worker.join();
  UnregisterClassW(u"KestrelEcho", nullptr);
}

// A window owned by a worker thread that pumps only while `pumping` is set; WM_USER returns
// wParam + 1 and counts, WM_USER + 1 asks the main thread's window (lParam) back first.
class ForeignWindow {
 public:
  ForeignWindow() {
    WNDCLASSEXW wc;
    wc.lpfnWndProc = Proc;
    wc.lpszClassName = u"KestrelForeign";
    RegisterClassExW(&wc);
    worker_ = std::thread([this] {
      hwnd_ = CreateWindowExW(0, u"KestrelForeign", u"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
      MSG m;
      PeekMessageW(&m, nullptr, 0, 0, PM_NOREMOVE);
      ready_ = true;
      while (!stop_) {
        stalled_ = !pumping;
        if (!pumping) {
          std::this_thread::sleep_for(std::chrono::milliseconds(1));  // busy elsewhere
          continue;
        }
        if (GetMessageW(&m, nullptr, 0, 0)) DispatchMessageW(&m);
      }
      DestroyWindow(hwnd_);
    });
    while (!ready_) std::this_thread::yield();
  }
  ~ForeignWindow() {
    stop_ = true;
    pumping = true;
    PostMessageW(hwnd_, WM_NULL, 0, 0);
    worker_.join();
    UnregisterClassW(u"KestrelForeign", nullptr);
  }
  HWND Handle() const { return hwnd_; }
  // Makes the worker busy elsewhere: it stops looking at its messages.
  void Stall() {
    pumping = false;
    PostMessageW(hwnd_, WM_NULL, 0, 0);
    while (!stalled_) std::this_thread::yield();
  }
  static inline std::atomic<int> handled{0};
  std::atomic<bool> pumping{false};

 private:
  static LRESULT Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_USER) return ++handled, static_cast<LRESULT>(wParam) + 1;
    if (msg == WM_USER + 1) return SendMessageW(reinterpret_cast<HWND>(lParam), WM_USER + 2, wParam, 0) + 1;
    return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
  std::thread worker_;
  std::atomic<HWND> hwnd_{nullptr};
  std::atomic<bool> ready_{false}, stop_{false}, stalled_{false};
};

TEST_F(MessageQueueTest, SendMessageTimeoutGivesUpWithdrawsAndSpotsHungThreads) {
  ForeignWindow foreign;
  ForeignWindow::handled = 0;
  foreign.pumping = true;
  std::this_thread::sleep_for(std::chrono::milliseconds(20));  // idle in GetMessage
  Backend().Advance(6000);
  DWORD_PTR result = 0;
  // Waiting for messages is not hanging, however long.
  EXPECT_TRUE(SendMessageTimeoutW(foreign.Handle(), WM_USER, 41, 0, SMTO_ABORTIFHUNG, 5000, &result));
  EXPECT_EQ(result, 42u);
  // Busy for 4999 ms is not hung yet: the time runs out instead.
  foreign.Stall();
  Backend().Advance(4999);
  auto start = std::chrono::steady_clock::now();
  result = 7;
  SetLastError(0);
  EXPECT_FALSE(SendMessageTimeoutW(foreign.Handle(), WM_USER, 1, 0, SMTO_ABORTIFHUNG, 60, &result));
  auto waited = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(GetLastError(), ERROR_TIMEOUT);
  EXPECT_EQ(result, 7u);  // untouched
  EXPECT_GE(waited, std::chrono::milliseconds(60));
  EXPECT_LT(waited, std::chrono::seconds(3));
  // Busy for 5 s is hung: no wait at all.
  Backend().Advance(1);
  start = std::chrono::steady_clock::now();
  EXPECT_FALSE(SendMessageTimeoutW(foreign.Handle(), WM_USER, 1, 0, SMTO_ABORTIFHUNG, 5000, &result));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  EXPECT_EQ(GetLastError(), ERROR_TIMEOUT);
  // Once the receiver pumps again, neither abandoned message runs after all.
  foreign.pumping = true;
  EXPECT_TRUE(SendMessageTimeoutW(foreign.Handle(), WM_USER, 1, 0, SMTO_NORMAL, 5000, &result));
  EXPECT_EQ(ForeignWindow::handled.load(), 2);
}

TEST_F(MessageQueueTest, SendMessageTimeoutBlockServesNothingWhileWaiting) {
  HWND top = CreateTop();
  int answered = 0;
  Log().handler = [&](HWND, UINT msg, WPARAM wParam, LPARAM, LRESULT& r) {
    if (msg != WM_USER + 2) return false;
    ++answered;
    r = static_cast<LRESULT>(wParam) * 10;
    return true;
  };
  DWORD_PTR result = 0;
  // On the window's own thread the procedure is called directly, whatever the timeout.
  EXPECT_TRUE(SendMessageTimeoutW(top, WM_USER + 2, 5, 0, SMTO_BLOCK | SMTO_ABORTIFHUNG, 0, &result));
  EXPECT_EQ(result, 50u);
  EXPECT_FALSE(SendMessageTimeoutW(reinterpret_cast<HWND>(0x1234), WM_USER, 5, 0, SMTO_NORMAL, 10, &result));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
  ForeignWindow foreign;
  foreign.pumping = true;
  // The receiver asks back; a normal wait answers it.
  EXPECT_TRUE(
      SendMessageTimeoutW(foreign.Handle(), WM_USER + 1, 4, reinterpret_cast<LPARAM>(top), SMTO_NORMAL, 5000, &result));
  EXPECT_EQ(result, 41u);
  // A blocking wait does not, so the time runs out; the question is answered at the next pump.
  EXPECT_FALSE(
      SendMessageTimeoutW(foreign.Handle(), WM_USER + 1, 4, reinterpret_cast<LPARAM>(top), SMTO_BLOCK, 100, &result));
  EXPECT_EQ(GetLastError(), ERROR_TIMEOUT);
  EXPECT_EQ(answered, 2);
  auto start = std::chrono::steady_clock::now();
  while (answered < 3 && std::chrono::steady_clock::now() - start < std::chrono::seconds(5)) Pump();
  EXPECT_EQ(answered, 3);
}

TEST_F(MessageQueueTest, AnotherThreadWakesTheWaitingGuiThread) {
  CreateTop();
  std::thread worker([] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    WakeGuiThread();
  });
  auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(WaitMessage());
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  worker.join();
}

TEST_F(MessageQueueTest, TimersTickOnTheVirtualClock) {
  HWND top = CreateTop();
  int ticks = 0;
  Log().handler = [&](HWND, UINT msg, WPARAM wParam, LPARAM, LRESULT&) {
    if (msg == WM_TIMER && wParam == 5) ++ticks;
    return false;
  };
  EXPECT_EQ(SetTimer(top, 5, 10, nullptr), 5u);
  Backend().Advance(9);
  EXPECT_EQ(ticks, 0);
  Backend().Advance(1);
  EXPECT_EQ(ticks, 1);
  Backend().Advance(100);
  EXPECT_EQ(ticks, 11);
  // Setting the same timer again restarts it with the new period.
  SetTimer(top, 5, 50, nullptr);
  Backend().Advance(49);
  EXPECT_EQ(ticks, 11);
  Backend().Advance(1);
  EXPECT_EQ(ticks, 12);
  EXPECT_TRUE(KillTimer(top, 5));
  Backend().Advance(500);
  EXPECT_EQ(ticks, 12);
  EXPECT_FALSE(KillTimer(top, 5));
  // Periods below the minimum are raised to 10 ms.
  SetTimer(top, 5, 1, nullptr);
  Backend().Advance(10);
  EXPECT_EQ(ticks, 13);
  // A destroyed window's timers stop.
  DestroyWindow(top);
  Backend().Advance(100);
  EXPECT_EQ(ticks, 13);
}

int procTicks = 0;
void CountTick(HWND, UINT msg, UINT_PTR, DWORD) {
  if (msg == WM_TIMER) ++procTicks;
}

TEST_F(MessageQueueTest, TimerProceduresAndThreadTimers) {
  procTicks = 0;
  UINT_PTR a = SetTimer(nullptr, 0, 20, CountTick);
  UINT_PTR b = SetTimer(nullptr, 0, 20, CountTick);
  ASSERT_NE(a, 0u);
  EXPECT_NE(a, b);
  Backend().Advance(20);
  EXPECT_EQ(procTicks, 2);
  EXPECT_TRUE(KillTimer(nullptr, a));
  EXPECT_TRUE(KillTimer(nullptr, b));
  Backend().Advance(100);
  EXPECT_EQ(procTicks, 2);
  // A WM_TIMER whose lParam names no live timer procedure is not called.
  MSG forged{};
  forged.message = WM_TIMER;
  forged.wParam = a;
  forged.lParam = reinterpret_cast<LPARAM>(&CountTick);
  DispatchMessageW(&forged);
  EXPECT_EQ(procTicks, 2);
}

double ProcessCpuSeconds() {
  timespec ts;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

// Five seconds of waiting: named Slow… so that it carries the `slow` label.
TEST_F(MessageQueueTest, SlowIdleGetMessageUsesNoCpu) {
  HWND top = CreateTop();
  SetTimer(top, 1, 10, nullptr);  // a virtual-clock timer must not turn the wait into polling
  DWORD mainThread = GetCurrentThreadId();
  std::thread worker([&] {
    std::this_thread::sleep_for(std::chrono::seconds(5));
    PostThreadMessageW(mainThread, WM_QUIT, 0, 0);
  });
  double cpuBefore = ProcessCpuSeconds();
  auto wallBefore = std::chrono::steady_clock::now();
  MSG m;
  int dispatched = 0;
  while (GetMessageW(&m, nullptr, 0, 0)) ++dispatched;
  double cpu = ProcessCpuSeconds() - cpuBefore;
  double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallBefore).count();
  worker.join();
  EXPECT_GE(wall, 4.9);
  EXPECT_LT(cpu / wall, 0.01) << "cpu " << cpu << " s over " << wall << " s";
  RecordProperty("idle_cpu_share_percent", std::to_string(100.0 * cpu / wall));
  std::printf("idle GetMessage: %.4f s CPU over %.2f s wall (%.3f%%)\n", cpu, wall, 100.0 * cpu / wall);
  EXPECT_EQ(dispatched, 0);
}

}  // namespace
}  // namespace kestrel::platform::testing
