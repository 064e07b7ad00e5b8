#pragma once
// The one question a control asks before it paints: classic, platform-themed or natively themed?
// It combines the control's own mode, the application-wide settings and whether the platform
// currently uses visual styles.

#include "foundation/VnThemeMode.h"

namespace kestrel {

// The mode a control asks for: the application-wide ThemeGlobalMode when the control follows it
// (its own ThemeGlobalMode is true), otherwise its own ThemeMode.
TVnThemeMode RequestedThemeMode(TVnThemeMode ownMode, bool themeGlobalMode);

// What a requested mode resolves to: ttmNative only with a selected, enabled native renderer;
// any other themed request becomes ttmPlatform when the application uses visual styles, else
// ttmNone; ttmNone stays ttmNone.
TVnThemeMode ResolveThemeMode(TVnThemeMode requested, bool nativeRendererEnabled, bool applicationUsesThemes);

// The effective mode of a control with these two properties, as of now.
TVnThemeMode EffectiveThemeMode(TVnThemeMode ownMode, bool themeGlobalMode);

}  // namespace kestrel
