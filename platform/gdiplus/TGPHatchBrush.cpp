#include "platform/gdiplus/TGPHatchBrush.h"

#include <iterator>

#include "platform/gdiplus/ColorRamp.h"

namespace kestrel::platform {

namespace {

using Rows = std::array<BYTE, 8>;

// Ordered-dither thresholds: the percentage styles switch on the cells below their share, which
// spreads the foreground evenly (50 % becomes a one-pixel checkerboard).
constexpr BYTE kBayer[8][8] = {{0, 32, 8, 40, 2, 34, 10, 42},  {48, 16, 56, 24, 50, 18, 58, 26},
                               {12, 44, 4, 36, 14, 46, 6, 38}, {60, 28, 52, 20, 62, 30, 54, 22},
                               {3, 35, 11, 43, 1, 33, 9, 41},  {51, 19, 59, 27, 49, 17, 57, 25},
                               {15, 47, 7, 39, 13, 45, 5, 37}, {63, 31, 55, 23, 61, 29, 53, 21}};

Rows Percent(int percent) {
  const int cells = (percent * 64 + 50) / 100;
  Rows rows{};
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      if (kBayer[y][x] < cells) rows[y] |= static_cast<BYTE>(0x80 >> x);
  return rows;
}

// The drawn styles, indexed by HatchStyle; the percentage styles (6..17) come from Percent().
constexpr Rows kDrawn[] = {
    {0xFF, 0, 0, 0, 0, 0, 0, 0},                       // Horizontal
    {0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80},  // Vertical
    {0x80, 0x40, 0x20, 0x10, 0x08, 0x04, 0x02, 0x01},  // ForwardDiagonal: \ lines
    {0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x80},  // BackwardDiagonal: / lines
    {0xFF, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80},  // Cross
    {0x81, 0x42, 0x24, 0x18, 0x18, 0x24, 0x42, 0x81},  // DiagonalCross
};

constexpr Rows kFigured[] = {
    {0x88, 0x44, 0x22, 0x11, 0x88, 0x44, 0x22, 0x11},  // 18 LightDownwardDiagonal
    {0x11, 0x22, 0x44, 0x88, 0x11, 0x22, 0x44, 0x88},  // 19 LightUpwardDiagonal
    {0xCC, 0x66, 0x33, 0x99, 0xCC, 0x66, 0x33, 0x99},  // 20 DarkDownwardDiagonal
    {0x33, 0x66, 0xCC, 0x99, 0x33, 0x66, 0xCC, 0x99},  // 21 DarkUpwardDiagonal
    {0xE0, 0x70, 0x38, 0x1C, 0x0E, 0x07, 0x83, 0xC1},  // 22 WideDownwardDiagonal
    {0x07, 0x0E, 0x1C, 0x38, 0x70, 0xE0, 0xC1, 0x83},  // 23 WideUpwardDiagonal
    {0x88, 0x88, 0x88, 0x88, 0x88, 0x88, 0x88, 0x88},  // 24 LightVertical
    {0xFF, 0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00},  // 25 LightHorizontal
    {0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA},  // 26 NarrowVertical
    {0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFF, 0x00},  // 27 NarrowHorizontal
    {0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC},  // 28 DarkVertical
    {0xFF, 0xFF, 0x00, 0x00, 0xFF, 0xFF, 0x00, 0x00},  // 29 DarkHorizontal
    {0x88, 0x44, 0x22, 0x11, 0x00, 0x00, 0x00, 0x00},  // 30 DashedDownwardDiagonal
    {0x11, 0x22, 0x44, 0x88, 0x00, 0x00, 0x00, 0x00},  // 31 DashedUpwardDiagonal
    {0xF0, 0x00, 0x00, 0x00, 0x0F, 0x00, 0x00, 0x00},  // 32 DashedHorizontal
    {0x80, 0x80, 0x80, 0x80, 0x08, 0x08, 0x08, 0x08},  // 33 DashedVertical
    {0x80, 0x04, 0x20, 0x01, 0x08, 0x40, 0x02, 0x10},  // 34 SmallConfetti
    {0xC0, 0xC6, 0x06, 0x30, 0x30, 0x03, 0x1B, 0x18},  // 35 LargeConfetti
    {0x81, 0x42, 0x24, 0x18, 0x81, 0x42, 0x24, 0x18},  // 36 ZigZag
    {0x06, 0x09, 0x90, 0x60, 0x00, 0x00, 0x00, 0x00},  // 37 Wave
    {0x01, 0x02, 0x04, 0x08, 0x18, 0x24, 0x42, 0x81},  // 38 DiagonalBrick
    {0xFF, 0x80, 0x80, 0x80, 0xFF, 0x08, 0x08, 0x08},  // 39 HorizontalBrick
    {0x88, 0x54, 0x22, 0x45, 0x88, 0x14, 0x22, 0x51},  // 40 Weave
    {0xAA, 0x55, 0xAA, 0x55, 0xF0, 0xF0, 0xF0, 0xF0},  // 41 Plaid
    {0x00, 0x08, 0x04, 0x08, 0x00, 0x80, 0x01, 0x80},  // 42 Divot
    {0xAA, 0x00, 0x80, 0x00, 0x80, 0x00, 0x80, 0x00},  // 43 DottedGrid
    {0x80, 0x00, 0x22, 0x00, 0x08, 0x00, 0x22, 0x00},  // 44 DottedDiamond
    {0x03, 0x84, 0x48, 0x30, 0x0C, 0x02, 0x01, 0x01},  // 45 Shingle
    {0xFF, 0x66, 0xFF, 0x99, 0xFF, 0x66, 0xFF, 0x99},  // 46 Trellis
    {0x3C, 0x7E, 0xCF, 0xCF, 0xFF, 0xFF, 0x7E, 0x3C},  // 47 Sphere
    {0xFF, 0x88, 0x88, 0x88, 0xFF, 0x88, 0x88, 0x88},  // 48 SmallGrid
    {0xCC, 0xCC, 0x33, 0x33, 0xCC, 0xCC, 0x33, 0x33},  // 49 SmallCheckerBoard
    {0xF0, 0xF0, 0xF0, 0xF0, 0x0F, 0x0F, 0x0F, 0x0F},  // 50 LargeCheckerBoard
    {0x41, 0x22, 0x14, 0x08, 0x14, 0x22, 0x41, 0x80},  // 51 OutlinedDiamond
    {0x10, 0x38, 0x7C, 0xFE, 0x7C, 0x38, 0x10, 0x00},  // 52 SolidDiamond
};

constexpr int kPercents[] = {5, 10, 20, 25, 30, 40, 50, 60, 70, 75, 80, 90};

static_assert(std::size(kDrawn) == HatchStyle05Percent);
static_assert(HatchStyle05Percent + std::size(kPercents) == HatchStyleLightDownwardDiagonal);
static_assert(HatchStyleLightDownwardDiagonal + std::size(kFigured) == HatchStyleTotal);

}  // namespace

std::array<BYTE, 8> TGPHatchBrush::Pattern(HatchStyle style) {
  if (style < HatchStyleMin || style > HatchStyleMax) return {};
  if (style < HatchStyle05Percent) return kDrawn[style];
  if (style < HatchStyleLightDownwardDiagonal) return Percent(kPercents[style - HatchStyle05Percent]);
  return kFigured[style - HatchStyleLightDownwardDiagonal];
}

TGPHatchBrush::TGPHatchBrush(HatchStyle hatchStyle, ARGB foreColor, ARGB backColor)
    : style_(hatchStyle), fore_(foreColor), back_(backColor) {
  if (hatchStyle < HatchStyleMin || hatchStyle > HatchStyleMax) SetState(InvalidParameter);
}

cairo_pattern_t* TGPHatchBrush::CreatePattern(const PatternContext& context) const {
  if (State() != Ok) {
    Remember(State());
    return nullptr;
  }
  CairoSurface tile(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 8, 8));
  cairo_surface_flush(tile.get());
  unsigned char* data = cairo_image_surface_get_data(tile.get());
  const int stride = cairo_image_surface_get_stride(tile.get());
  const auto rows = Pattern(style_);
  const std::uint32_t fore = ColorRamp::Premultiply(fore_), back = ColorRamp::Premultiply(back_);
  for (int y = 0; y < 8; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(data + y * stride);
    for (int x = 0; x < 8; ++x) row[x] = (rows[y] & (0x80 >> x)) ? fore : back;
  }
  cairo_surface_mark_dirty(tile.get());
  cairo_matrix_t toWorld;
  cairo_matrix_init_translate(&toWorld, -context.pixelOffset, -context.pixelOffset);
  cairo_pattern_t* pattern = WrappedSurfacePattern(tile.get(), WrapModeTile, toWorld, CAIRO_FILTER_NEAREST);
  return pattern;
}

TStatus TGPHatchBrush::GetForegroundColor(ARGB* color) const {
  if (!color) return Remember(InvalidParameter);
  *color = fore_;
  return Ok;
}

TStatus TGPHatchBrush::GetBackgroundColor(ARGB* color) const {
  if (!color) return Remember(InvalidParameter);
  *color = back_;
  return Ok;
}

}  // namespace kestrel::platform
