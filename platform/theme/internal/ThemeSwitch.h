#pragma once
// The process's theme switch: whether the themed look is on, what the application allows, and
// which windows opted out of theming. Telling the windows of a change is the window manager's
// (platform/window/WindowThemes.h).

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
  // Changes the mode and, on a change, sets the system colours of the new one; true when the mode
  // changed.
  bool SetActive(bool active);

  DWORD AppProperties() const;
  void SetAppProperties(DWORD flags);

  // Also forgets the opted-out windows for which `exists` says they are gone.
  void SetWindowOptedOut(HWND hwnd, bool optedOut, BOOL (*exists)(HWND));
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

}  // namespace kestrel::platform
