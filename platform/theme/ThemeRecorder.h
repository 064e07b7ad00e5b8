#pragma once
// A hook that sees every background the theme draws (class, part, state, rectangle), so that
// tests of themed controls can check which element was drawn in which state.

#include <functional>

#include "platform/core/WinTypes.h"
#include "platform/theme/ThemeClass.h"

namespace kestrel::platform {

struct ThemeDrawRecord {
  ThemeClass themeClass;
  int partId;
  int stateId;
  RECT rect;
};

using ThemeDrawObserver = std::function<void(const ThemeDrawRecord&)>;

// Installs the observer (an empty one removes it); returns the previous one.
ThemeDrawObserver SetThemeDrawObserver(ThemeDrawObserver observer);
void NotifyThemeDraw(const ThemeDrawRecord& record);

}  // namespace kestrel::platform
