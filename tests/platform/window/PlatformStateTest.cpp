// The platform state: a reset starts over as a program does, the input state stays with the GUI
// thread, and a worker reaching for it stops the program in checking builds.

#include <atomic>
#include <thread>

#include "platform/window/internal/WindowManager.h"
#include "tests/platform/window/WindowTestSupport.h"

namespace kestrel::platform::testing {
namespace {

class PlatformState : public WindowTest {};

TEST_F(PlatformState, ResetStartsOverAsAProgramDoes) {
  DWORD start = GetTickCount();
  HWND top = CreateTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  HWND child = CreateChild(top, {0, 0, 50, 50});
  SetFocus(child);
  SetCapture(child);
  InjectKey(VK_SHIFT, true);
  Pump();
  SetCursorPos(290, 228);
  SetTimer(top, 1, 10, nullptr);
  PostMessageW(top, WM_USER, 0, 0);
  Backend().Advance(500);
  std::atomic<HWND> left{nullptr};
  std::thread([&] {  // a worker that ends without destroying its window
    left = CreateWindowExW(0, RecorderClass(), u"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  })
      .join();
  ASSERT_TRUE(IsWindow(left));
  Log().Clear();

  ResetPlatformState();
  // The caller's windows were destroyed properly (they could free what they hold); the
  // worker's was dropped.
  for (HWND h : {top, child}) {
    auto heard = Log().Messages(h);
    EXPECT_TRUE(heard.size() >= 2 && heard.back() == WM_NCDESTROY) << Describe(heard);
  }
  EXPECT_FALSE(IsWindow(top) || IsWindow(child) || IsWindow(left));
  EXPECT_EQ(GetFocus(), nullptr);
  EXPECT_EQ(GetActiveWindow(), nullptr);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(GetKeyState(VK_SHIFT), 0);
  EXPECT_EQ(GetAsyncKeyState(VK_SHIFT), 0);
  POINT cursor;
  GetCursorPos(&cursor);
  EXPECT_EQ(cursor.x, 0);
  EXPECT_EQ(cursor.y, 0);
  EXPECT_EQ(GetTickCount(), start);
  MSG m;
  EXPECT_FALSE(PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE));
  // Handles of the old state mean nothing in the new one.
  HWND fresh = CreateTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  EXPECT_NE(fresh, top);
  EXPECT_EQ(GetFocus(), fresh);
}

std::atomic<int> callsOffOwner{0};

LRESULT OwnerCheckedProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (GetWindowThreadProcessId(hwnd, nullptr) != GetCurrentThreadId()) ++callsOffOwner;
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

TEST_F(PlatformState, OnlyTheGuiThreadsWindowsHoldInput) {
  HWND top = CreateTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  SetCapture(top);
  std::atomic<HWND> foreign{nullptr};
  std::atomic<bool> stop{false};
  HWND seenFocus = top, seenCapture = top, seenActive = top;
  WNDCLASSEXW wc;
  wc.lpfnWndProc = OwnerCheckedProc;
  wc.lpszClassName = u"KestrelOwnerChecked";
  RegisterClassExW(&wc);
  callsOffOwner = 0;
  std::thread worker([&] {
    HWND own = CreateWindowExW(0, u"KestrelOwnerChecked", u"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                               nullptr, nullptr, nullptr);
    // A worker sees none of the GUI thread's input state, and its own window took none.
    seenFocus = GetFocus();
    seenCapture = GetCapture();
    seenActive = GetActiveWindow();
    foreign = own;
    MSG m;
    while (!stop && GetMessageW(&m, nullptr, 0, 0)) DispatchMessageW(&m);
    DestroyWindow(own);
  });
  while (!foreign) std::this_thread::yield();
  EXPECT_EQ(seenFocus, nullptr);
  EXPECT_EQ(seenCapture, nullptr);
  EXPECT_EQ(seenActive, nullptr);
  EXPECT_EQ(GetActiveWindow(), top);
  // Nor can the GUI thread hand focus, activation or capture to the worker's window (its
  // procedure would run on the wrong thread).
  EXPECT_EQ(SetFocus(foreign), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  EXPECT_EQ(SetActiveWindow(foreign), nullptr);
  EXPECT_EQ(SetCapture(foreign), nullptr);
  EXPECT_EQ(GetFocus(), top);
  EXPECT_EQ(GetCapture(), top);
  stop = true;
  PostMessageW(foreign, WM_NULL, 0, 0);
  worker.join();
  EXPECT_EQ(callsOffOwner.load(), 0);
  EXPECT_EQ(GetActiveWindow(), top);
  UnregisterClassW(u"KestrelOwnerChecked", nullptr);
}

#if KESTREL_THREAD_CHECKS
TEST_F(PlatformState, AWorkerTouchingInputStateStopsTheProgram) {
  ::testing::FLAGS_gtest_death_test_style = "threadsafe";
  CreateTop(WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  auto onWorker = [](void (*call)()) { std::thread(call).join(); };
  EXPECT_DEATH(onWorker([] { GetKeyState(VK_SHIFT); }), "key state used off the GUI thread");
  EXPECT_DEATH(onWorker([] { SetFocus(nullptr); }), "focus used off the GUI thread");
  EXPECT_DEATH(onWorker([] { InjectMouseMove({5, 5}); }), "used off the GUI thread");
}
#endif

}  // namespace
}  // namespace kestrel::platform::testing
