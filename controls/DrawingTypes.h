#pragma once
// Types shared by the drawing helpers and the controls that hold their settings.

#include <cstdint>

#include "framework/EnumSet.h"

namespace kestrel {

enum TKsFlatBorderType : std::uint8_t {
  fbtFlat,
  fbtSunken,
  fbtSunkenInner,
  fbtSunkenOuter,
  fbtRaised,
  fbtRaisedInner,
  fbtRaisedOuter,
  fbtBump,
  fbtBigBump,
  fbtEtched,
  fbtFramed,
  fbtLine,
  fbtLineBorder,
  fbtNone,
  fbtColorLineBorder
};

// Stored as one byte: ebsLeft 1, ebsRight 2, ebsTop 4, ebsBottom 8.
enum TVnBorderSide : std::uint8_t { ebsLeft, ebsRight, ebsTop, ebsBottom };
using TVnBorderSides = TEnumSet<TVnBorderSide>;
inline constexpr TVnBorderSides AllBorderSides{ebsLeft, ebsRight, ebsTop, ebsBottom};

enum TVnBevelStyle : std::uint8_t {
  bvNone,
  bvLowered,
  bvRaised,
  bvFrameLowered,
  bvFrameRaised,
  bvNormal,
  bvShadow,
  bvSpace,
  bvFlat
};

// The gradient kinds (bgtHorzGradient and later) map to PaintGradient's shapes 0..9 by
// subtracting bgtHorzGradient.
enum TVnBackgroundType : std::uint8_t {
  bgtTileBitmap,
  bgtStretchBitmap,
  bgtColorFill,
  bgtCenterBitmap,
  bgtTopLeftBitmap,
  bgtHorzGradient,
  bgtVertGradient,
  bgtSquareGradient,
  bgtEllipticGradient,
  bgtTopLeftGradient,
  bgtTopRightGradient,
  bgtBottomLeftGradient,
  bgtBottomRightGradient,
  bgtTopLeftDiagonalGradient,
  bgtTopRightDiagonalGradient
};

// Scroll bar choice of a control, as PaintFlatScrollBars receives it.
enum TScrollStyle : std::uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };

// PaintGradient options.
inline constexpr unsigned kGradientClip = 0x1;
inline constexpr unsigned kGradientBuffered = 0x4;
inline constexpr unsigned kGradientPalette = 0x1000;

}  // namespace kestrel
