#include "foundation/VnThemeMode.h"

#include "framework/TypeInfo.h"
#include "platform/theme/UxTheme.h"

namespace kestrel {

const TEnumInfo& VnThemeModeInfo() {
  static const TEnumInfo info(u"TVnThemeMode", {u"ttmNone", u"ttmPlatform", u"ttmNative"});
  return info;
}

bool VnFrameworkUsesThemes() { return platform::IsThemeActive() && platform::IsAppThemed(); }

}  // namespace kestrel
