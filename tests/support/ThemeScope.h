#pragma once
// The process's theme state as tests change it: the platform's switch (whether the themed look is
// on, what the application allows) and the switches a layer above keeps (the services object's).
// A ThemeScope saves all of it and puts it back when it ends; the test programs check after every
// test that it is what the test started with (ThemeWatch.h).

#include <functional>
#include <vector>

#include "platform/theme/UxTheme.h"

namespace kestrel::testing {

struct ThemeState {
  bool active = true;
  platform::DWORD appProperties = 0;
  std::vector<int> above;  // the upper layer's switches, in its own order
  bool operator==(const ThemeState&) const = default;
};

// The upper layer's part: how to read its switches and how to put them back. Its test main sets
// this once; restore runs while the themed look is on, so that switches it refuses in the classic
// look are restored too.
struct UpperThemeState {
  std::function<std::vector<int>()> capture;
  std::function<void(const std::vector<int>&)> restore;
};

inline UpperThemeState& UpperThemeStateHooks() {
  static UpperThemeState hooks;
  return hooks;
}

inline ThemeState CaptureThemeState() {
  ThemeState state;
  state.active = platform::IsThemeActive() != 0;
  state.appProperties = platform::GetThemeAppProperties();
  if (UpperThemeStateHooks().capture) state.above = UpperThemeStateHooks().capture();
  return state;
}

inline void RestoreThemeState(const ThemeState& state) {
  const UpperThemeState& upper = UpperThemeStateHooks();
  if (upper.restore && upper.capture() != state.above) {
    platform::SetThemeActive(true);
    upper.restore(state.above);
  }
  platform::SetThemeActive(state.active);
  // Last: the upper layer's switches set the application's properties as a side effect.
  platform::SetThemeAppProperties(state.appProperties);
}

// Saves the theme state and restores it at the end of the scope; optionally switches the look.
class ThemeScope {
 public:
  ThemeScope() : saved_(CaptureThemeState()) {}
  explicit ThemeScope(bool themed) : ThemeScope() { platform::SetThemeActive(themed); }
  ~ThemeScope() { RestoreThemeState(saved_); }
  ThemeScope(const ThemeScope&) = delete;
  ThemeScope& operator=(const ThemeScope&) = delete;

  const ThemeState& Saved() const { return saved_; }

 private:
  ThemeState saved_;
};

}  // namespace kestrel::testing
