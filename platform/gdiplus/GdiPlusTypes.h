#pragma once
// Shared vocabulary of the TGP… drawing classes: status codes, enumerations with GDI+'s names and
// values, float points and rectangles, and ARGB colours (0xAARRGGBB, not premultiplied).

#include <cstdint>

#include "platform/core/WinTypes.h"

namespace kestrel::platform {

using REAL = float;
using UINT16 = std::uint16_t;
using ARGB = std::uint32_t;
using TGPColor = ARGB;

// Result of every TGP… call. Named TStatus because X11 headers define a `Status` macro.
enum TStatus : int {
  Ok = 0,
  GenericError = 1,
  InvalidParameter = 2,
  OutOfMemory = 3,
  ObjectBusy = 4,
  InsufficientBuffer = 5,
  NotImplemented = 6,
  Win32Error = 7,
  WrongState = 8,
  Aborted = 9,
  FileNotFound = 10,
  ValueOverflow = 11,
  AccessDenied = 12,
  UnknownImageFormat = 13,
  FontFamilyNotFound = 14,
  FontStyleNotFound = 15,
  NotTrueTypeFont = 16,
  UnsupportedGdiplusVersion = 17,
  GdiplusNotInitialized = 18,
  PropertyNotFound = 19,
  PropertyNotSupported = 20,
};

enum SmoothingMode : int {
  SmoothingModeInvalid = -1,
  SmoothingModeDefault = 0,
  SmoothingModeHighSpeed = 1,
  SmoothingModeHighQuality = 2,
  SmoothingModeNone = 3,
  SmoothingModeAntiAlias = 4,
  SmoothingModeAntiAlias8x4 = 4,
  SmoothingModeAntiAlias8x8 = 5,
};

enum PixelOffsetMode : int {
  PixelOffsetModeInvalid = -1,
  PixelOffsetModeDefault = 0,
  PixelOffsetModeHighSpeed = 1,
  PixelOffsetModeHighQuality = 2,
  PixelOffsetModeNone = 3,
  PixelOffsetModeHalf = 4,
};

enum InterpolationMode : int {
  InterpolationModeInvalid = -1,
  InterpolationModeDefault = 0,
  InterpolationModeLowQuality = 1,
  InterpolationModeHighQuality = 2,
  InterpolationModeBilinear = 3,
  InterpolationModeBicubic = 4,
  InterpolationModeNearestNeighbor = 5,
  InterpolationModeHighQualityBilinear = 6,
  InterpolationModeHighQualityBicubic = 7,
};

enum CompositingMode : int {
  CompositingModeSourceOver = 0,
  CompositingModeSourceCopy = 1,
};

enum LinearGradientMode : int {
  LinearGradientModeHorizontal = 0,
  LinearGradientModeVertical = 1,
  LinearGradientModeForwardDiagonal = 2,
  LinearGradientModeBackwardDiagonal = 3,
};

enum WrapMode : int {
  WrapModeTile = 0,
  WrapModeTileFlipX = 1,
  WrapModeTileFlipY = 2,
  WrapModeTileFlipXY = 3,
  WrapModeClamp = 4,
};

enum MatrixOrder : int {
  MatrixOrderPrepend = 0,
  MatrixOrderAppend = 1,
};

enum CoordinateSpace : int {
  CoordinateSpaceWorld = 0,
  CoordinateSpacePage = 1,
  CoordinateSpaceDevice = 2,
};

enum FontStyle : int {
  FontStyleRegular = 0,
  FontStyleBold = 1,
  FontStyleItalic = 2,
  FontStyleBoldItalic = 3,
  FontStyleUnderline = 4,
  FontStyleStrikeout = 8,
};

enum StringAlignment : int {
  StringAlignmentNear = 0,
  StringAlignmentCenter = 1,
  StringAlignmentFar = 2,
};

enum StringFormatFlags : int {
  StringFormatFlagsDirectionRightToLeft = 0x0001,
  StringFormatFlagsDirectionVertical = 0x0002,
  StringFormatFlagsNoFitBlackBox = 0x0004,
  StringFormatFlagsDisplayFormatControl = 0x0020,
  StringFormatFlagsNoFontFallback = 0x0400,
  StringFormatFlagsMeasureTrailingSpaces = 0x0800,
  StringFormatFlagsNoWrap = 0x1000,
  StringFormatFlagsLineLimit = 0x2000,
  StringFormatFlagsNoClip = 0x4000,
};

enum StringTrimming : int {
  StringTrimmingNone = 0,
  StringTrimmingCharacter = 1,
  StringTrimmingWord = 2,
  StringTrimmingEllipsisCharacter = 3,
  StringTrimmingEllipsisWord = 4,
  StringTrimmingEllipsisPath = 5,
};

enum HotkeyPrefix : int {
  HotkeyPrefixNone = 0,
  HotkeyPrefixShow = 1,
  HotkeyPrefixHide = 2,
};

enum TextRenderingHint : int {
  TextRenderingHintSystemDefault = 0,
  TextRenderingHintSingleBitPerPixelGridFit = 1,
  TextRenderingHintSingleBitPerPixel = 2,
  TextRenderingHintAntiAliasGridFit = 3,
  TextRenderingHintAntiAlias = 4,
  TextRenderingHintClearTypeGridFit = 5,
};

enum FillMode : int {
  FillModeAlternate = 0,
  FillModeWinding = 1,
};

enum CombineMode : int {
  CombineModeReplace = 0,
  CombineModeIntersect = 1,
  CombineModeUnion = 2,
  CombineModeXor = 3,
  CombineModeExclude = 4,
  CombineModeComplement = 5,
};

enum DashStyle : int {
  DashStyleSolid = 0,
  DashStyleDash = 1,
  DashStyleDot = 2,
  DashStyleDashDot = 3,
  DashStyleDashDotDot = 4,
  DashStyleCustom = 5,
};

enum LineCap : int {
  LineCapFlat = 0,
  LineCapSquare = 1,
  LineCapRound = 2,
  LineCapTriangle = 3,
};

enum LineJoin : int {
  LineJoinMiter = 0,
  LineJoinBevel = 1,
  LineJoinRound = 2,
  LineJoinMiterClipped = 3,
};

enum PenAlignment : int {
  PenAlignmentCenter = 0,
  PenAlignmentInset = 1,
};

enum BrushType : int {
  BrushTypeSolidColor = 0,
  BrushTypeHatchFill = 1,
  BrushTypeTextureFill = 2,
  BrushTypePathGradient = 3,
  BrushTypeLinearGradient = 4,
};

enum Unit : int {
  UnitWorld = 0,
  UnitDisplay = 1,
  UnitPixel = 2,
  UnitPoint = 3,
  UnitInch = 4,
  UnitDocument = 5,
  UnitMillimeter = 6,
};

enum PathPointType : BYTE {
  PathPointTypeStart = 0,
  PathPointTypeLine = 1,
  PathPointTypeBezier = 3,
  PathPointTypePathTypeMask = 0x07,
  PathPointTypeDashMode = 0x10,
  PathPointTypePathMarker = 0x20,
  PathPointTypeCloseSubpath = 0x80,
};

enum HatchStyle : int {
  HatchStyleHorizontal = 0,
  HatchStyleVertical = 1,
  HatchStyleForwardDiagonal = 2,
  HatchStyleBackwardDiagonal = 3,
  HatchStyleCross = 4,
  HatchStyleDiagonalCross = 5,
  HatchStyle05Percent = 6,
  HatchStyle10Percent = 7,
  HatchStyle20Percent = 8,
  HatchStyle25Percent = 9,
  HatchStyle30Percent = 10,
  HatchStyle40Percent = 11,
  HatchStyle50Percent = 12,
  HatchStyle60Percent = 13,
  HatchStyle70Percent = 14,
  HatchStyle75Percent = 15,
  HatchStyle80Percent = 16,
  HatchStyle90Percent = 17,
  HatchStyleLightDownwardDiagonal = 18,
  HatchStyleLightUpwardDiagonal = 19,
  HatchStyleDarkDownwardDiagonal = 20,
  HatchStyleDarkUpwardDiagonal = 21,
  HatchStyleWideDownwardDiagonal = 22,
  HatchStyleWideUpwardDiagonal = 23,
  HatchStyleLightVertical = 24,
  HatchStyleLightHorizontal = 25,
  HatchStyleNarrowVertical = 26,
  HatchStyleNarrowHorizontal = 27,
  HatchStyleDarkVertical = 28,
  HatchStyleDarkHorizontal = 29,
  HatchStyleDashedDownwardDiagonal = 30,
  HatchStyleDashedUpwardDiagonal = 31,
  HatchStyleDashedHorizontal = 32,
  HatchStyleDashedVertical = 33,
  HatchStyleSmallConfetti = 34,
  HatchStyleLargeConfetti = 35,
  HatchStyleZigZag = 36,
  HatchStyleWave = 37,
  HatchStyleDiagonalBrick = 38,
  HatchStyleHorizontalBrick = 39,
  HatchStyleWeave = 40,
  HatchStylePlaid = 41,
  HatchStyleDivot = 42,
  HatchStyleDottedGrid = 43,
  HatchStyleDottedDiamond = 44,
  HatchStyleShingle = 45,
  HatchStyleTrellis = 46,
  HatchStyleSphere = 47,
  HatchStyleSmallGrid = 48,
  HatchStyleSmallCheckerBoard = 49,
  HatchStyleLargeCheckerBoard = 50,
  HatchStyleOutlinedDiamond = 51,
  HatchStyleSolidDiamond = 52,
  HatchStyleTotal = 53,
  HatchStyleLargeGrid = HatchStyleCross,
  HatchStyleMin = HatchStyleHorizontal,
  HatchStyleMax = HatchStyleSolidDiamond,
};

struct TGPPointF {
  REAL X = 0;
  REAL Y = 0;
};

struct TGPPoint {
  INT X = 0;
  INT Y = 0;
};

struct TGPSizeF {
  REAL Width = 0;
  REAL Height = 0;
};

struct TGPRectF {
  REAL X = 0;
  REAL Y = 0;
  REAL Width = 0;
  REAL Height = 0;
  REAL GetLeft() const { return X; }
  REAL GetTop() const { return Y; }
  REAL GetRight() const { return X + Width; }
  REAL GetBottom() const { return Y + Height; }
  bool IsEmptyArea() const { return Width <= 0 || Height <= 0; }
};

struct TGPRect {
  INT X = 0;
  INT Y = 0;
  INT Width = 0;
  INT Height = 0;
};

inline bool operator==(const TGPPointF& a, const TGPPointF& b) { return a.X == b.X && a.Y == b.Y; }
inline bool operator==(const TGPRectF& a, const TGPRectF& b) {
  return a.X == b.X && a.Y == b.Y && a.Width == b.Width && a.Height == b.Height;
}
inline bool operator==(const TGPRect& a, const TGPRect& b) {
  return a.X == b.X && a.Y == b.Y && a.Width == b.Width && a.Height == b.Height;
}

inline TGPPointF MakePoint(REAL x, REAL y) { return {x, y}; }
inline TGPRectF MakeRect(REAL x, REAL y, REAL width, REAL height) { return {x, y, width, height}; }
inline TGPRectF MakeRect(const TGPRect& r) {
  return {static_cast<REAL>(r.X), static_cast<REAL>(r.Y), static_cast<REAL>(r.Width), static_cast<REAL>(r.Height)};
}

// ARGB helpers.
constexpr ARGB MakeColor(BYTE r, BYTE g, BYTE b) { return 0xFF000000u | (ARGB{r} << 16) | (ARGB{g} << 8) | ARGB{b}; }
constexpr ARGB MakeColor(BYTE a, BYTE r, BYTE g, BYTE b) {
  return (ARGB{a} << 24) | (ARGB{r} << 16) | (ARGB{g} << 8) | ARGB{b};
}
constexpr BYTE GetAlpha(ARGB c) { return static_cast<BYTE>(c >> 24); }
constexpr BYTE GetRed(ARGB c) { return static_cast<BYTE>(c >> 16); }
constexpr BYTE GetGreen(ARGB c) { return static_cast<BYTE>(c >> 8); }
constexpr BYTE GetBlue(ARGB c) { return static_cast<BYTE>(c); }

// A platform colour (0x00BBGGRR, or a system colour: 0xFF000000 plus the index) resolved to RGB
// and combined with `alpha` into ARGB.
ARGB MakeColor(BYTE alpha, std::int32_t colour);
// The same for a COLORREF-typed value (the bits are read as a platform colour).
inline ARGB MakeColor(BYTE alpha, COLORREF colour) { return MakeColor(alpha, static_cast<std::int32_t>(colour)); }

// The last-status bookkeeping every TGP… object has: the most recent failure, cleared by reading.
class StatusKeeper {
 public:
  TStatus GetLastStatus() const {
    const TStatus status = lastStatus_;
    lastStatus_ = Ok;
    return status;
  }

 protected:
  TStatus Remember(TStatus status) const {
    if (status != Ok) lastStatus_ = status;
    return status;
  }

 private:
  mutable TStatus lastStatus_ = Ok;
};

// Coordinates beyond this magnitude cannot be rasterised; calls given them fail with
// ValueOverflow. It is also the half-size of the infinite region.
constexpr REAL kMaxCoordinate = 4194304.0f;
// Brush and image rectangles thinner than this are refused: stretching them over pixels would
// overflow the rasteriser's fixed-point transforms (which fails the whole target surface).
constexpr REAL kMinExtent = 1.0f / 1024;

}  // namespace kestrel::platform
