#pragma once
// The platform state: the handle table, the roots of the window tree, the backend in use, and
// the input state (focus, activation, capture, cursor, mouse tracking, key states).
//
// Threads. The GUI thread is the thread that installed the backend (SetBackend) or first asked
// for it (GetBackend; creating the first window does). It alone reads and changes the input
// state; the accessors below check so in debug and sanitizer builds and abort the program when
// another thread calls them. Only the GUI thread's windows hold focus, activation or capture:
// GetFocus, GetActiveWindow and GetCapture answer null on any other thread, and SetFocus,
// SetActiveWindow and SetCapture refuse another thread's window.
//
// A window belongs to the thread that created it, which alone changes it (destroys, moves,
// shows, paints it). A worker may own windows of its own (message-only ones, typically); doing
// so touches no input state.
//
// What any thread may call, each locked where it meets the owner's data:
//   - PostMessage to a window and PostThreadMessage (the receiving queue's lock; the message is
//     stamped with the clock and MousePosition, both safe from any thread); broadcasts walk the
//     window tree and are the GUI thread's;
//   - SendMessage and SendMessageTimeout to another thread's window (served by the owner's
//     queue; the caller waits under the queues' locks);
//   - WakeGuiThread and MessageQueue's look-ups and Wake/SignalCalls (the queue directory's lock);
//   - handle look-ups: IsWindow, Lookup, ValidWindow (the handle table's lock);
//   - GetWindowText and GetWindowTextLength of another thread's window (the window's text lock);
//   - HasBackend, BackendThread, Now, OnGuiThread, MousePosition (the backend lock, atomics).
// Everything else belongs to the GUI thread or to the owner of the windows involved.

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>

#include "platform/core/HandleTable.h"
#include "platform/window/internal/Window.h"

// Whether the owning-thread checks are compiled in: in debug builds and in every sanitizer build
// (the thread-sanitizer one is optimised but must still catch a misplaced call).
#if !defined(NDEBUG) || defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define KESTREL_THREAD_CHECKS 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define KESTREL_THREAD_CHECKS 1
#endif
#endif
#ifndef KESTREL_THREAD_CHECKS
#define KESTREL_THREAD_CHECKS 0
#endif

namespace kestrel::platform {

class Backend;

struct MouseState {
  WPARAM buttons = 0;  // MK_LBUTTON | MK_RBUTTON | MK_MBUTTON
  // Double-click detection: the last button press.
  HWND lastClickWindow = nullptr;
  UINT lastClickMessage = 0;
  DWORD lastClickTime = 0;
  POINT lastClickPoint{};
  bool lastWasDouble = false;
  // TrackMouseEvent.
  HWND trackWindow = nullptr;
  DWORD trackFlags = 0;
  DWORD trackHoverTime = 0;
  DWORD hoverStart = 0;
  POINT hoverPoint{};
};

using KeyStates = std::array<BYTE, 256>;

class WindowManager {
 public:
  // The installed state, created on first use (programs never need more).
  static WindowManager& Get();

  // A fresh state; it uses `table` (emptied) when given, a new handle table otherwise.
  explicit WindowManager(std::unique_ptr<HandleTable<Window>> table = nullptr);
  ~WindowManager();
  WindowManager(const WindowManager&) = delete;
  WindowManager& operator=(const WindowManager&) = delete;

  std::shared_ptr<Window> Lookup(HWND hwnd) const;
  HWND Insert(const std::shared_ptr<Window>& window);
  void Remove(HWND hwnd);
  std::vector<std::shared_ptr<Window>> AllWindows() const;

  Window& Desktop() { return *desktop_; }
  Window& MessageRoot() { return *messageRoot_; }

  // The backend: installed once at start-up; a headless one is created on first use otherwise.
  // Either makes the calling thread the GUI thread.
  Backend& GetBackend();
  void SetBackend(std::unique_ptr<Backend> backend);
  // Both may be asked from any thread (a worker waking the GUI thread).
  bool HasBackend() const;
  std::thread::id BackendThread() const;
  DWORD Now();

  // Whether the calling thread is the GUI thread; true for every thread while no backend
  // exists yet (nothing pumps input then). Any thread may ask.
  bool OnGuiThread() const;
  // Whether `window` can hold focus, activation or capture: it belongs to the GUI thread and
  // the caller is that thread.
  bool HoldsInput(const Window& window) const;
  // Aborts with a message naming `what` when the caller is not the GUI thread (in checking
  // builds; nothing otherwise).
  void CheckGuiThread(const char* what) const;

  // The cursor position as the GUI thread last saw it; any thread may read it (posted
  // messages are stamped with it), only the GUI thread sets it.
  POINT MousePosition() const;
  void SetMousePosition(POINT position);

  // The input state: the GUI thread only (checked).
  HWND Focus() const;
  void AssignFocus(HWND hwnd);
  HWND Active() const;
  void AssignActive(HWND hwnd);
  // The thread whose windows are active (WM_ACTIVATEAPP goes out when this changes).
  std::optional<std::thread::id> ActiveApp() const;
  void AssignActiveApp(std::optional<std::thread::id> thread);
  HWND Capture() const;
  void AssignCapture(HWND hwnd);
  HCURSOR Cursor() const;
  void AssignCursor(HCURSOR cursor);
  MouseState& Mouse();
  // Key states: bit 0x80 down, bit 0x01 toggled. Keys() follows retrieved messages
  // (GetKeyState), AsyncKeys() follows the input as it arrives (GetAsyncKeyState).
  KeyStates& Keys();
  KeyStates& AsyncKeys();

 private:
  friend void ResetPlatformState(std::unique_ptr<Backend> backend);
  // Empties the handle table of the roots (the windows went before) and hands it over.
  std::unique_ptr<HandleTable<Window>> TakeHandleTable();
  void BindGuiThread();

  std::unique_ptr<HandleTable<Window>> table_;
  std::shared_ptr<Window> desktop_;
  std::shared_ptr<Window> messageRoot_;
  std::unique_ptr<Backend> backend_;
  std::thread::id backendThread_;
  mutable std::mutex backendMutex_;
  // The same thread as backendThread_, readable without the lock: the checks must not order
  // the threads they check, or the thread sanitizer would no longer see real races.
  std::atomic<std::thread::id> guiThread_{};
  std::atomic<std::uint64_t> mousePosition_{0};

  HWND focus_ = nullptr;
  HWND active_ = nullptr;
  std::optional<std::thread::id> activeApp_;
  HWND capture_ = nullptr;
  HCURSOR cursor_ = nullptr;
  MouseState mouse_;
  KeyStates keys_{};
  KeyStates asyncKeys_{};
};

// Tests: replaces the platform state by a fresh one, as at start-up. The calling thread's
// windows are destroyed as DestroyWindow does (their procedures free what they hold); windows
// other threads left behind are dropped without messages. The calling thread's queue loses its
// posted messages and timers, the caret goes, and the old backend with the old state. `backend`,
// when given, is installed instead and binds the calling thread as the GUI thread; without one
// a headless backend comes on first use, as at start-up. No other thread may use windows
// meanwhile.
void ResetPlatformState(std::unique_ptr<Backend> backend = nullptr);

inline WindowManager& Wm() { return WindowManager::Get(); }

// The live window behind `hwnd`, or null with ERROR_INVALID_WINDOW_HANDLE as the last error.
std::shared_ptr<Window> ValidWindow(HWND hwnd);
// Calls the window's procedure on the current thread.
LRESULT CallWindow(Window& window, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace kestrel::platform
