#include "platform/theme/internal/ThemeSwitch.h"

#include <cstdlib>
#include <string_view>
#include <vector>

#include "platform/core/ProcessWide.h"
#include "platform/gdi/SystemColors.h"
#include "platform/theme/UxTheme.h"
#include "platform/window/WindowApi.h"
#include "platform/window/WindowDefs.h"

namespace kestrel::platform {

namespace {

BOOL Collect(HWND hwnd, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
  return TRUE;
}

std::vector<HWND> EveryWindow() {
  std::vector<HWND> tops, all;
  EnumWindows(Collect, reinterpret_cast<LPARAM>(&tops));
  EnumThreadWindows(GetCurrentThreadId(), Collect, reinterpret_cast<LPARAM>(&tops));
  for (HWND top : tops) {
    bool seen = false;
    for (HWND known : all) seen = seen || known == top;
    if (seen) continue;
    all.push_back(top);
    EnumChildWindows(top, Collect, reinterpret_cast<LPARAM>(&all));
  }
  return all;
}
}  // namespace

void RepaintEveryWindow() {
  std::vector<HWND> tops;
  EnumWindows(Collect, reinterpret_cast<LPARAM>(&tops));
  for (HWND top : tops) RedrawWindow(top, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

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

void ThemeSwitch::SetActive(bool active) {
  {
    std::lock_guard lock(mutex_);
    if (active_ == active) return;
    active_ = active;
  }
  UseThemedSystemColors(active);
  SendToEveryWindow(WM_SYSCOLORCHANGE, 0, 0);
  SendToEveryWindow(WM_THEMECHANGED, 0, 0);
  RepaintEveryWindow();
}

DWORD ThemeSwitch::AppProperties() const {
  std::lock_guard lock(mutex_);
  return appProperties_;
}

void ThemeSwitch::SetAppProperties(DWORD flags) {
  std::lock_guard lock(mutex_);
  appProperties_ = flags;
}

void ThemeSwitch::SetWindowOptedOut(HWND hwnd, bool optedOut) {
  // Windows destroyed since are forgotten; asked outside the lock, which painting takes.
  std::set<HWND> known;
  {
    std::lock_guard lock(mutex_);
    known = optedOut_;
  }
  std::erase_if(known, [](HWND window) { return IsWindow(window); });
  std::lock_guard lock(mutex_);
  for (HWND gone : known) optedOut_.erase(gone);
  if (optedOut) optedOut_.insert(hwnd);
  else optedOut_.erase(hwnd);
}

bool ThemeSwitch::WindowOptedOut(HWND hwnd) const {
  std::lock_guard lock(mutex_);
  return optedOut_.count(hwnd) != 0;
}

void SendToEveryWindow(UINT msg, WPARAM wParam, LPARAM lParam) {
  for (HWND hwnd : EveryWindow())
    if (IsWindow(hwnd)) SendMessageW(hwnd, msg, wParam, lParam);
}

}  // namespace kestrel::platform
