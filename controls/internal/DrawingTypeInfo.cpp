#include "controls/DrawingTypeInfo.h"

namespace kestrel {

const TEnumInfo& FlatBorderTypeInfo() {
  static const TEnumInfo info(u"TKsFlatBorderType",
                              {u"fbtFlat", u"fbtSunken", u"fbtSunkenInner", u"fbtSunkenOuter", u"fbtRaised",
                               u"fbtRaisedInner", u"fbtRaisedOuter", u"fbtBump", u"fbtBigBump", u"fbtEtched",
                               u"fbtFramed", u"fbtLine", u"fbtLineBorder", u"fbtNone", u"fbtColorLineBorder"});
  return info;
}

const TEnumInfo& BevelStyleInfo() {
  static const TEnumInfo info(u"TVnBevelStyle", {u"bvNone", u"bvLowered", u"bvRaised", u"bvFrameLowered",
                                                 u"bvFrameRaised", u"bvNormal", u"bvShadow", u"bvSpace", u"bvFlat"});
  return info;
}

const TEnumInfo& BackgroundTypeInfo() {
  static const TEnumInfo info(
      u"TVnBackgroundType",
      {u"bgtTileBitmap", u"bgtStretchBitmap", u"bgtColorFill", u"bgtCenterBitmap", u"bgtTopLeftBitmap",
       u"bgtHorzGradient", u"bgtVertGradient", u"bgtSquareGradient", u"bgtEllipticGradient", u"bgtTopLeftGradient",
       u"bgtTopRightGradient", u"bgtBottomLeftGradient", u"bgtBottomRightGradient", u"bgtTopLeftDiagonalGradient",
       u"bgtTopRightDiagonalGradient"});
  return info;
}

const TEnumInfo& BorderSideInfo() {
  static const TEnumInfo info(u"TVnBorderSide", {u"ebsLeft", u"ebsRight", u"ebsTop", u"ebsBottom"});
  return info;
}

}  // namespace kestrel
