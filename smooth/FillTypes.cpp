#include "smooth/FillTypes.h"

namespace kestrel {

const TEnumInfo& GradientTypeInfo() {
  static const TEnumInfo info(u"TGradientType",
                              {u"gtSolid", u"gtRadial", u"gtVertical", u"gtHorizontal", u"gtForwardDiagonal",
                               u"gtBackwardDiagonal", u"gtAngle", u"gtHatch", u"gtPath", u"gtTexture", u"gtNone"});
  return info;
}

const TEnumInfo& GlowModeInfo() {
  static const TEnumInfo info(u"TGlowMode", {u"gmNone", u"gmGradient", u"gmRadial", u"gmRadialGradient"});
  return info;
}

const TEnumInfo& FillPicturePositionInfo() {
  static const TEnumInfo info(
      u"TFillPicturePosition",
      {u"ppTopLeft", u"ppTopCenter", u"ppTopRight", u"ppBottomLeft", u"ppBottomCenter", u"ppBottomRight", u"ppTiled",
       u"ppStretched", u"ppCenterLeft", u"ppCenterCenter", u"ppCenterRight", u"ppCustom"});
  return info;
}

const TEnumInfo& FillRoundingTypeInfo() {
  static const TEnumInfo info(u"TFillRoundingType",
                              {u"rtNone", u"rtTop", u"rtBottom", u"rtBoth", u"rtLeft", u"rtRight"});
  return info;
}

const TEnumInfo& FillPictureSizeInfo() {
  static const TEnumInfo info(u"TFillPictureSize", {u"psOriginal", u"psCustom"});
  return info;
}

const TEnumInfo& FillPictureModeInfo() {
  static const TEnumInfo info(u"TFillPictureMode", {u"pmInsideFill", u"pmOutsideFill"});
  return info;
}

const TEnumInfo& PictureModeInfo() {
  static const TEnumInfo info(u"TPictureMode", {u"pmStretch", u"pmNormal"});
  return info;
}

const TEnumInfo& ShadowTypeInfo() {
  static const TEnumInfo info(u"TShadowType", {u"stRightBottom", u"stBottom", u"stSurround"});
  return info;
}

const TEnumInfo& HatchStyleInfo() {
  static const TEnumInfo info(u"HatchStyle", {u"HatchStyleHorizontal",
                                              u"HatchStyleVertical",
                                              u"HatchStyleForwardDiagonal",
                                              u"HatchStyleBackwardDiagonal",
                                              u"HatchStyleCross",
                                              u"HatchStyleDiagonalCross",
                                              u"HatchStyle05Percent",
                                              u"HatchStyle10Percent",
                                              u"HatchStyle20Percent",
                                              u"HatchStyle25Percent",
                                              u"HatchStyle30Percent",
                                              u"HatchStyle40Percent",
                                              u"HatchStyle50Percent",
                                              u"HatchStyle60Percent",
                                              u"HatchStyle70Percent",
                                              u"HatchStyle75Percent",
                                              u"HatchStyle80Percent",
                                              u"HatchStyle90Percent",
                                              u"HatchStyleLightDownwardDiagonal",
                                              u"HatchStyleLightUpwardDiagonal",
                                              u"HatchStyleDarkDownwardDiagonal",
                                              u"HatchStyleDarkUpwardDiagonal",
                                              u"HatchStyleWideDownwardDiagonal",
                                              u"HatchStyleWideUpwardDiagonal",
                                              u"HatchStyleLightVertical",
                                              u"HatchStyleLightHorizontal",
                                              u"HatchStyleNarrowVertical",
                                              u"HatchStyleNarrowHorizontal",
                                              u"HatchStyleDarkVertical",
                                              u"HatchStyleDarkHorizontal",
                                              u"HatchStyleDashedDownwardDiagonal",
                                              u"HatchStyleDashedUpwardDiagonal",
                                              u"HatchStyleDashedHorizontal",
                                              u"HatchStyleDashedVertical",
                                              u"HatchStyleSmallConfetti",
                                              u"HatchStyleLargeConfetti",
                                              u"HatchStyleZigZag",
                                              u"HatchStyleWave",
                                              u"HatchStyleDiagonalBrick",
                                              u"HatchStyleHorizontalBrick",
                                              u"HatchStyleWeave",
                                              u"HatchStylePlaid",
                                              u"HatchStyleDivot",
                                              u"HatchStyleDottedGrid",
                                              u"HatchStyleDottedDiamond",
                                              u"HatchStyleShingle",
                                              u"HatchStyleTrellis",
                                              u"HatchStyleSphere",
                                              u"HatchStyleSmallGrid",
                                              u"HatchStyleSmallCheckerBoard",
                                              u"HatchStyleLargeCheckerBoard",
                                              u"HatchStyleOutlinedDiamond",
                                              u"HatchStyleSolidDiamond"});
  return info;
}

}  // namespace kestrel
