#include "platform/gdi/Primitives.h"

#include "platform/gdi/DcState.h"
#include "platform/gdi/SystemColors.h"
#include "platform/gdi/internal/Bitmap.h"
#include "platform/gdi/internal/DeviceContext.h"
#include "platform/gdi/internal/DibFormat.h"
#include "platform/gdi/internal/GdiObject.h"
#include "platform/gdi/internal/Raster.h"

namespace kestrel::platform {

namespace {
HGDIOBJ ResolveBrush(HBRUSH brush) {
  auto value = reinterpret_cast<std::uintptr_t>(brush);
  if (value >= 1 && value <= COLOR_COUNT) return GetSysColorBrush(static_cast<int>(value) - 1);
  return brush;
}
}  // namespace

int FillRect(HDC hdc, const RECT* rect, HBRUSH brush) {
  auto dc = DcOrFail(hdc, rect);
  if (!dc) return FALSE;
  DrawingScope scope(*dc);
  Raster raster(scope, *dc);
  if (!raster.UseBrush(ResolveBrush(brush))) {
    if (!LookupGdiObject(ResolveBrush(brush))) {
      SetLastError(ERROR_INVALID_HANDLE);
      return FALSE;
    }
    return TRUE;  // a null brush paints nothing
  }
  raster.FillLogicalRect(*rect);
  return TRUE;
}

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color) {
  auto dc = DcOrFail(hdc);
  if (!dc) return CLR_INVALID;
  DrawingScope scope(*dc);
  POINT p = scope.ToSurface(POINT{x, y});
  if (!scope.HasTarget() || !cairo_region_contains_point(scope.Clip(), p.x, p.y)) return CLR_INVALID;
  std::uint32_t value = scope.DeviceColor(color);
  auto bitmap = std::static_pointer_cast<Bitmap>(scope.TargetBitmap());
  if (bitmap && bitmap->Dib()) {
    // Written in place; the surface is refreshed from the bits before its next use.
    cairo_surface_flush(bitmap->Surface());
    bitmap->Dib()->Write(bitmap->Dib()->Row(bitmap->Bits(), p.y), p.x, value);
    scope.AddDamage(RECT{p.x, p.y, p.x + 1, p.y + 1});
  } else {
    Raster raster(scope, *dc);
    raster.UseColor(color);
    raster.Plot(p.x, p.y);
  }
  return ColorRefFromArgb(value);
}

BOOL SetPixelV(HDC hdc, int x, int y, COLORREF color) { return SetPixel(hdc, x, y, color) != CLR_INVALID; }

COLORREF GetPixel(HDC hdc, int x, int y) {
  auto dc = DcOrFail(hdc);
  if (!dc) return CLR_INVALID;
  DrawingScope scope(*dc);
  POINT p = scope.ToSurface(POINT{x, y});
  if (!scope.HasTarget() || !cairo_region_contains_point(scope.Clip(), p.x, p.y)) return CLR_INVALID;
  // DIB sections are read in place: pixel loops must not convert the whole image per call.
  auto bitmap = std::static_pointer_cast<Bitmap>(scope.TargetBitmap());
  if (bitmap && bitmap->Dib())
    return ColorRefFromArgb(bitmap->Dib()->Read(bitmap->Dib()->Row(bitmap->Bits(), p.y), p.x));
  return ColorRefFromArgb(scope.Pixels().Row(p.y)[p.x]);
}

}  // namespace kestrel::platform
