#pragma once
// The vocabulary of fills: gradient kinds, rounding, shadows, glow and picture placement, with
// their stored ordinals, and the names the streaming system writes them by.

#include "framework/PropInfo.h"
#include "platform/gdiplus/GdiPlusTypes.h"

namespace kestrel {

using platform::HatchStyle;

enum TGradientType {
  gtSolid,
  gtRadial,
  gtVertical,
  gtHorizontal,
  gtForwardDiagonal,
  gtBackwardDiagonal,
  gtAngle,
  gtHatch,
  gtPath,
  gtTexture,
  gtNone,
};

enum TGlowMode { gmNone, gmGradient, gmRadial, gmRadialGradient };

enum TFillPicturePosition {
  ppTopLeft,
  ppTopCenter,
  ppTopRight,
  ppBottomLeft,
  ppBottomCenter,
  ppBottomRight,
  ppTiled,
  ppStretched,
  ppCenterLeft,
  ppCenterCenter,
  ppCenterRight,
  ppCustom,
};

enum TFillRoundingType { rtNone, rtTop, rtBottom, rtBoth, rtLeft, rtRight };

enum TFillPictureSize { psOriginal, psCustom };

enum TFillPictureMode { pmInsideFill, pmOutsideFill };

enum TPictureMode { pmStretch, pmNormal };

enum TShadowType { stRightBottom, stBottom, stSurround };

const TEnumInfo& GradientTypeInfo();
const TEnumInfo& GlowModeInfo();
const TEnumInfo& FillPicturePositionInfo();
const TEnumInfo& FillRoundingTypeInfo();
const TEnumInfo& FillPictureSizeInfo();
const TEnumInfo& FillPictureModeInfo();
const TEnumInfo& PictureModeInfo();
const TEnumInfo& ShadowTypeInfo();
// HatchStyleHorizontal … HatchStyleSolidDiamond (HatchStyleTotal is not a pattern).
const TEnumInfo& HatchStyleInfo();

}  // namespace kestrel
