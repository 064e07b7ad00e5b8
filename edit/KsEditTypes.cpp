#include "edit/KsEditTypes.h"

namespace kestrel {

const TEnumInfo& KsLinkCtlPosInfo() {
  static const TEnumInfo info(
      u"TKsLinkCtlPos",
      {u"lcpLeftTop", u"lcpLeftBottom", u"lcpLeftCenter", u"lcpTopLeft", u"lcpTopRight", u"lcpTopCenter",
       u"lcpRightTop", u"lcpRightBottom", u"lcpRightCenter", u"lcpBottomLeft", u"lcpBottomRight", u"lcpBottomCenter"});
  return info;
}

const TEnumInfo& KsEditCharCaseInfo() {
  static const TEnumInfo info(u"TKsEditCharCase", {u"eecNormal", u"eecUpperCase", u"eecLowerCase"});
  return info;
}

const TEnumInfo& ScrollStyleInfo() {
  static const TEnumInfo info(u"TScrollStyle", {u"ssNone", u"ssHorizontal", u"ssVertical", u"ssBoth"});
  return info;
}

}  // namespace kestrel
