#include "platform/theme/internal/ThemeSwitch.h"

#include <cstdlib>
#include <string_view>

#include "platform/core/ProcessWide.h"
#include "platform/gdi/SystemColors.h"
#include "platform/theme/UxTheme.h"

namespace kestrel::platform {

bool ThemesOnFor(const char* environmentValue) {
  return !(environmentValue && std::string_view(environmentValue) == "classic");
}

ThemeSwitch::ThemeSwitch()
    : active_(ThemesOnFor(std::getenv("KESTREL_THEME"))), appProperties_(STAP_ALLOW_NONCLIENT | STAP_ALLOW_CONTROLS) {
  UseThemedSystemColors(active_);
}

std::unique_ptr<ThemeSwitch> MakeThemeSwitch() { return std::unique_ptr<ThemeSwitch>(new ThemeSwitch()); }

namespace {
// Lives for the process, used by every thread.
constinit ProcessWide<ThemeSwitch> gSwitch(ProcessWideOptions<ThemeSwitch>{.make = &MakeThemeSwitch,
                                                                           .remakeAfterReset = true});
}  // namespace

ThemeSwitch& ThemeSwitch::Get() { return *gSwitch; }

namespace {
// The mode and its system colours hold from the start of every program that draws windows, not
// from the first themed drawing: colours asked for earlier would be those of the other mode.
[[maybe_unused]] const bool modeSetAtStart = (ThemeSwitch::Get(), true);
}  // namespace

bool ThemeSwitch::Active() const {
  std::lock_guard lock(mutex_);
  return active_;
}

bool ThemeSwitch::SetActive(bool active) {
  {
    std::lock_guard lock(mutex_);
    if (active_ == active) return false;
    active_ = active;
  }
  UseThemedSystemColors(active);
  return true;
}

DWORD ThemeSwitch::AppProperties() const {
  std::lock_guard lock(mutex_);
  return appProperties_;
}

void ThemeSwitch::SetAppProperties(DWORD flags) {
  std::lock_guard lock(mutex_);
  appProperties_ = flags;
}

void ThemeSwitch::SetWindowOptedOut(HWND hwnd, bool optedOut, BOOL (*exists)(HWND)) {
  // Windows destroyed since are forgotten; asked outside the lock, which painting takes.
  std::set<HWND> known;
  {
    std::lock_guard lock(mutex_);
    known = optedOut_;
  }
  std::erase_if(known, [exists](HWND window) { return exists(window) != FALSE; });
  std::lock_guard lock(mutex_);
  for (HWND gone : known) optedOut_.erase(gone);
  if (optedOut) optedOut_.insert(hwnd);
  else optedOut_.erase(hwnd);
}

bool ThemeSwitch::WindowOptedOut(HWND hwnd) const {
  std::lock_guard lock(mutex_);
  return optedOut_.count(hwnd) != 0;
}

}  // namespace kestrel::platform
