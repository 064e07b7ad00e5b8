#pragma once
// Open theme handles: each names the class it was opened for, in a checked handle table.

#include <memory>

#include "platform/core/WinTypes.h"
#include "platform/theme/ThemeClass.h"

namespace kestrel::platform {

struct ThemeData {
  ThemeClass themeClass;
  HWND window;
};

HTHEME InsertThemeData(ThemeData data);
// Null for a closed or foreign handle.
std::shared_ptr<ThemeData> LookupThemeData(HTHEME theme);
bool RemoveThemeData(HTHEME theme);
std::size_t OpenThemeHandleCount();

}  // namespace kestrel::platform
