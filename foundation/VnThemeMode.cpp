#include "foundation/VnThemeMode.h"

#include "framework/TypeInfo.h"

namespace kestrel {

const TEnumInfo& VnThemeModeInfo() {
  static const TEnumInfo info(u"TVnThemeMode", {u"ttmNone", u"ttmPlatform", u"ttmNative"});
  return info;
}

}  // namespace kestrel
