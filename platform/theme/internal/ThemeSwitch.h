#pragma once
// The process's theme switch: whether the themed look is on, what the application allows, and
// which windows opted out of theming.

#include <memory>
#include <mutex>
#include <set>

#include "platform/core/WinTypes.h"

namespace kestrel::platform {

class ThemeSwitch {
 public:
  // The first use reads KESTREL_THEME ("classic" turns themes off) and sets the system colours
  // of the mode. A test reset makes it again at once, as at the program's start.
  static ThemeSwitch& Get();

  bool Active() const;
  // Changes the mode; on a change sets the system colours and broadcasts WM_SYSCOLORCHANGE, then
  // WM_THEMECHANGED, to every window.
  void SetActive(bool active);

  DWORD AppProperties() const;
  void SetAppProperties(DWORD flags);

  void SetWindowOptedOut(HWND hwnd, bool optedOut);
  bool WindowOptedOut(HWND hwnd) const;

 private:
  friend std::unique_ptr<ThemeSwitch> MakeThemeSwitch();
  ThemeSwitch();

  mutable std::mutex mutex_;
  bool active_ = true;
  DWORD appProperties_;
  std::set<HWND> optedOut_;
};

// Whether a KESTREL_THEME value (null when unset) leaves themes on: all but "classic" do.
bool ThemesOnFor(const char* environmentValue);

// Sends `msg` to every window of the process: the top-level windows with all their descendants,
// and the calling thread's message-only windows.
void SendToEveryWindow(UINT msg, WPARAM wParam, LPARAM lParam);
// Invalidates every top-level window with its frame and children, to be painted in a new look.
void RepaintEveryWindow();

}  // namespace kestrel::platform
