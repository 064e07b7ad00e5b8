#include "controls/VnThemeModeRule.h"

#include "controls/VnThemeServices.h"
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
  const TVnThemeMode requested = RequestedThemeMode(ownMode, themeGlobalMode);
  if (const TVnThemeServices* themes = GlobalThemeServices()) return themes->UseTheme(requested);
  // After the program's end only: no renderer is left, so the application's settings decide.
  const TVnApplication* app = VnApplication();
  return ResolveThemeMode(requested, false, app && app->UseXPThemes());
}

}  // namespace kestrel
