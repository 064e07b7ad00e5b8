#pragma once
// The theme mode every themable component publishes, and its names for streaming.

#include <cstdint>

namespace kestrel {

class TEnumInfo;

// How a control paints: classic, through the platform's visual styles, or through a theme
// renderer of the library's own. The numbers are stored in forms: keep them.
enum TVnThemeMode : std::uint8_t { ttmNone = 0, ttmPlatform = 1, ttmNative = 2 };

// "ttmNone", "ttmPlatform", "ttmNative", for published ThemeMode properties.
const TEnumInfo& VnThemeModeInfo();

// Whether the framework paints with visual styles right now: the platform has an active style
// and lets this application use it.
bool VnFrameworkUsesThemes();

}  // namespace kestrel
