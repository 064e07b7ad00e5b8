#pragma once
// Process-wide state of the window manager: the handle table, the roots of the window tree,
// focus, activation, capture, mouse and keyboard state, and the backend in use.
//
// The window tree is changed only on the thread that owns the windows involved (as on Windows,
// where a window belongs to its creating thread). The calls other threads may make are few and
// locked: PostMessage, PostThreadMessage, SendMessage/SendMessageTimeout to a foreign window
// (served by the owner's queue), WakeGuiThread, GetWindowText/GetWindowTextLength of a foreign
// window, handle look-ups (IsWindow), and the backend's clock. Everything else belongs to the
// GUI thread.

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <mutex>

#include "platform/core/HandleTable.h"
#include "platform/window/Window.h"

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
  // Window under the mouse last time (for leave tracking) and its hit-test code.
  HWND hoverWindow = nullptr;
  LRESULT hoverHit = HTNOWHERE;
  // TrackMouseEvent.
  HWND trackWindow = nullptr;
  DWORD trackFlags = 0;
  DWORD trackHoverTime = 0;
  DWORD hoverStart = 0;
  POINT hoverPoint{};
};

class WindowManager {
 public:
  static WindowManager& Get();

  std::shared_ptr<Window> Lookup(HWND hwnd) const;
  HWND Insert(const std::shared_ptr<Window>& window);
  void Remove(HWND hwnd);
  std::vector<std::shared_ptr<Window>> AllWindows() const;

  Window& Desktop() { return *desktop_; }
  Window& MessageRoot() { return *messageRoot_; }

  // The backend: installed once at start-up; a headless one is created on first use otherwise.
  Backend& GetBackend();
  void SetBackend(std::unique_ptr<Backend> backend);
  // Both may be asked from any thread (a worker waking the GUI thread).
  bool HasBackend() const;
  // The thread that pumps the backend's events (the first to ask for the backend).
  std::thread::id BackendThread() const;
  DWORD Now();

  // The cursor position as the GUI thread last saw it; any thread may read it (posted
  // messages are stamped with it), only the GUI thread sets it.
  POINT MousePosition() const;
  void SetMousePosition(POINT position);

  HWND focus = nullptr;
  HWND active = nullptr;
  // The thread whose windows are active (WM_ACTIVATEAPP goes out when this changes).
  std::optional<std::thread::id> activeApp;
  HWND capture = nullptr;
  HCURSOR cursor = nullptr;
  MouseState mouse;
  // Key states: bit 0x80 down, bit 0x01 toggled. `keys` follows retrieved messages (GetKeyState),
  // `asyncKeys` follows the input as it arrives (GetAsyncKeyState).
  std::array<BYTE, 256> keys{};
  std::array<BYTE, 256> asyncKeys{};

 private:
  WindowManager();
  ~WindowManager();

  HandleTable<Window> table_;
  std::shared_ptr<Window> desktop_;
  std::shared_ptr<Window> messageRoot_;
  std::unique_ptr<Backend> backend_;
  std::thread::id backendThread_;
  mutable std::mutex backendMutex_;
  std::atomic<std::uint64_t> mousePosition_{0};
};

inline WindowManager& Wm() { return WindowManager::Get(); }

// The live window behind `hwnd`, or null with ERROR_INVALID_WINDOW_HANDLE as the last error.
std::shared_ptr<Window> ValidWindow(HWND hwnd);
// Calls the window's procedure on the current thread.
LRESULT CallWindow(Window& window, UINT msg, WPARAM wParam, LPARAM lParam);

}  // namespace kestrel::platform
