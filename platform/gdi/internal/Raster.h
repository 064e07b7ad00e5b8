#pragma once
// Pixel-exact filling of surface spans with GDI's mix rules: a source colour per pixel (a solid
// colour or a brush, hatch and pattern aligned at the brush origin) combined with the
// destination by a binary raster operation (R2_* or the pattern/destination half of a ROP3).

#include <cstdint>
#include <memory>

#include "platform/gdi/internal/Brush.h"
#include "platform/gdi/internal/DeviceContext.h"

namespace kestrel::platform {

class Raster {
 public:
  Raster(DrawingScope& scope, const DeviceContext& dc);

  // Source = a solid colour.
  void UseColor(COLORREF color);
  // Source = the brush behind `handle` (DC_BRUSH resolves to the DC brush colour). False when the
  // brush paints nothing (null brush or invalid handle).
  bool UseBrush(HGDIOBJ handle);
  // Source = the DC's selected brush.
  bool UseSelectedBrush() { return UseBrush(dc_.State().brush); }
  // Mix by an R2_* mode (R2_COPYPEN by default).
  void SetRop2(int rop2);
  // Mix by a ternary ROP that does not read the source (PatBlt).
  void SetPatternRop(DWORD rop3);

  // Fills [x0, x1) × [y0, y1) in surface pixels, clipped. Damage is recorded on the scope.
  void FillSurfaceRect(RECT rect);
  // Fills one logical rectangle (right/bottom exclusive).
  void FillLogicalRect(const RECT& logical) { FillSurfaceRect(scope_.ToSurface(logical)); }
  // Sets single surface pixel (x, y) if inside the clip.
  void Plot(int x, int y);

  // The brush/colour source at surface pixel (x, y); false when the pixel is left untouched.
  bool SourceAt(int x, int y, std::uint32_t& out) const;
  static std::uint32_t Mix(unsigned table4, std::uint32_t pattern, std::uint32_t destination);

 private:
  void FillClipped(const RECT& r);
  void FillSolid(const RECT& r);

  DrawingScope& scope_;
  const DeviceContext& dc_;
  PixelView pixels_;
  std::shared_ptr<Brush> brush_;
  std::uint32_t color_ = 0xFF000000u;
  std::uint32_t textColor_ = 0;
  std::uint32_t bkColor_ = 0;
  bool opaque_ = true;
  unsigned mix_ = 0xC;  // truth table over (pattern << 1 | destination)
  POINT patternOrigin_{};
};

}  // namespace kestrel::platform
