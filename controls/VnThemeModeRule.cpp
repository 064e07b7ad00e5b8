#include "controls/VnThemeModeRule.h"

#include "foundation/VnApplication.h"

namespace kestrel {

TVnThemeMode RequestedThemeMode(TVnThemeMode ownMode, bool themeGlobalMode) {
  if (!themeGlobalMode) return ownMode;
  const TVnApplication* services = VnApplication();
  return services ? services->ThemeGlobalMode() : ttmPlatform;
}

TVnThemeMode ResolveThemeMode(TVnThemeMode requested, bool nativeRendererEnabled, bool applicationUsesThemes) {
  if (requested == ttmNative && nativeRendererEnabled) return ttmNative;
  if (requested != ttmNone) return applicationUsesThemes ? ttmPlatform : ttmNone;
  return ttmNone;
}

TVnThemeMode EffectiveThemeMode(TVnThemeMode ownMode, bool themeGlobalMode) {
  const TVnApplication* services = VnApplication();
  // No renderer of the library's own is registered yet, so native requests fall back.
  return ResolveThemeMode(RequestedThemeMode(ownMode, themeGlobalMode), false, services && services->UseXPThemes());
}

}  // namespace kestrel
