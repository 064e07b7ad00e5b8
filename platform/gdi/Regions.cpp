#include "platform/gdi/Regions.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/gdi/DcState.h"
#include "platform/gdi/OwnedGdi.h"
#include "platform/gdi/internal/DeviceContext.h"
#include "platform/gdi/internal/GdiObject.h"
#include "platform/gdi/internal/Raster.h"
#include "platform/gdi/internal/Region.h"
#include "platform/gdi/internal/Shapes.h"

namespace kestrel::platform {

namespace {
// Rectangle in order, coordinates limited to ±2^29 so that later arithmetic cannot overflow.
RECT Ordered(int left, int top, int right, int bottom) {
  auto limit = [](int v) { return std::clamp(v, -(1 << 29), 1 << 29); };
  return RECT{limit(std::min(left, right)), limit(std::min(top, bottom)), limit(std::max(left, right)),
              limit(std::max(top, bottom))};
}

// Curved regions are built row by row; refuse sizes no screen needs.
bool FigureSizeOk(const RECT& r) {
  if (static_cast<long long>(r.right) - r.left > 65536 || static_cast<long long>(r.bottom) - r.top > 65536) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  return true;
}

HRGN Register(cairo_region_t* region) {
  if (!region) return nullptr;
  return static_cast<HRGN>(RegisterGdiObject(std::make_shared<Region>(region)));
}

std::shared_ptr<Region> RegionOrFail(HRGN handle) {
  auto region = LookupGdi<Region>(handle);
  if (!region) SetLastError(ERROR_INVALID_HANDLE);
  return region;
}

// Everything the DC can address, in device coordinates: the base for clip operations when the
// DC has no clip region of its own.
cairo_region_t* DeviceArea(const DeviceContext& dc) {
  cairo_rectangle_int_t all{-(1 << 27), -(1 << 27), 1 << 28, 1 << 28};
  if (cairo_surface_t* surface = dc.Surface()) {
    all = cairo_rectangle_int_t{-dc.SurfaceOrigin().x, -dc.SurfaceOrigin().y, cairo_image_surface_get_width(surface),
                                cairo_image_surface_get_height(surface)};
  }
  return cairo_region_create_rectangle(&all);
}

RECT LogicalToDevice(const DeviceContext& dc, RECT r) {
  const DeviceContextState& s = dc.State();
  auto map = [](long long v) { return static_cast<LONG>(std::clamp(v, -(1LL << 29), 1LL << 29)); };
  const long long x1 = MapToDevice(s, r.left, false), x2 = MapToDevice(s, r.right, false);
  const long long y1 = MapToDevice(s, r.top, true), y2 = MapToDevice(s, r.bottom, true);
  return RECT{map(std::min(x1, x2)), map(std::min(y1, y2)), map(std::max(x1, x2)), map(std::max(y1, y2))};
}

// Complexity of the clip the DC now draws with.
int EffectiveComplexity(DeviceContext& dc) {
  DrawingScope scope(dc);
  return Region::ComplexityOf(scope.Clip());
}

// Combines the DC clip with `region` (device coordinates, may be null for RGN_COPY).
int CombineClip(DeviceContext& dc, const cairo_region_t* region, int mode) {
  DeviceContextState& s = dc.State();
  if (mode == RGN_COPY) {
    s.clip.reset(region ? cairo_region_copy(region) : nullptr);
    return EffectiveComplexity(dc);
  }
  if (!region || mode < RGN_AND || mode > RGN_DIFF) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return ERROR;
  }
  CairoRegion base(s.clip ? cairo_region_copy(s.clip.get()) : DeviceArea(dc));
  s.clip.reset(Region::Combine(base.get(), region, mode));
  return EffectiveComplexity(dc);
}

int ClipWithRect(HDC hdc, int left, int top, int right, int bottom, int mode) {
  auto dc = DcOrFail(hdc);
  if (!dc) return ERROR;
  CairoRegion rect(Region::FromRect(LogicalToDevice(*dc, Ordered(left, top, right, bottom))));
  return CombineClip(*dc, rect.get(), mode);
}

// Paints each rectangle of a logical-coordinate region with the prepared raster.
void PaintRegion(Raster& raster, const cairo_region_t* region) {
  for (int i = 0; i < cairo_region_num_rectangles(region); ++i) {
    cairo_rectangle_int_t r;
    cairo_region_get_rectangle(region, i, &r);
    raster.FillLogicalRect(RECT{r.x, r.y, r.x + r.width, r.y + r.height});
  }
}

BOOL PaintRegionWith(HDC hdc, HRGN handle, HGDIOBJ brush, int rop2) {
  auto dc = DcOrFail(hdc);
  auto region = RegionOrFail(handle);
  if (!dc || !region) return FALSE;
  DrawingScope scope(*dc);
  Raster raster(scope, *dc);
  if (rop2 == R2_NOT) {
    raster.UseColor(0);
  } else if (!raster.UseBrush(brush)) {
    return LookupGdiObject(brush) != nullptr;
  }
  raster.SetRop2(rop2);
  PaintRegion(raster, region->Get());
  return TRUE;
}
}  // namespace

HRGN CreateRectRgn(int left, int top, int right, int bottom) {
  return Register(Region::FromRect(Ordered(left, top, right, bottom)));
}

HRGN CreateRectRgnIndirect(const RECT* rect) {
  if (!rect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return CreateRectRgn(rect->left, rect->top, rect->right, rect->bottom);
}

HRGN CreateEllipticRgn(int left, int top, int right, int bottom) {
  RECT r = Ordered(left, top, right, bottom);
  if (!FigureSizeOk(r)) return nullptr;
  return Register(Shapes::RoundRect(r, r.right - r.left, r.bottom - r.top));
}

HRGN CreateEllipticRgnIndirect(const RECT* rect) {
  if (!rect) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return CreateEllipticRgn(rect->left, rect->top, rect->right, rect->bottom);
}

HRGN CreateRoundRectRgn(int left, int top, int right, int bottom, int ew, int eh) {
  RECT r = Ordered(left, top, right, bottom);
  if (!FigureSizeOk(r)) return nullptr;
  return Register(Shapes::RoundRect(r, std::abs(ew), std::abs(eh)));
}

HRGN CreatePolygonRgn(const POINT* points, int count, int fillMode) {
  if (!points || count < 0 || (fillMode != ALTERNATE && fillMode != WINDING)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return Register(Shapes::Polygons(points, &count, 1, fillMode));
}

BOOL SetRectRgn(HRGN handle, int left, int top, int right, int bottom) {
  auto region = RegionOrFail(handle);
  if (!region) return FALSE;
  region->Replace(Region::FromRect(Ordered(left, top, right, bottom)));
  return TRUE;
}

int CombineRgn(HRGN dest, HRGN a, HRGN b, int mode) {
  auto target = RegionOrFail(dest);
  auto first = RegionOrFail(a);
  auto second = mode == RGN_COPY ? first : RegionOrFail(b);
  if (!target || !first || !second) return ERROR;
  cairo_region_t* result = Region::Combine(first->Get(), second->Get(), mode);
  if (!result) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return ERROR;
  }
  target->Replace(result);
  return target->Complexity();
}

int OffsetRgn(HRGN handle, int dx, int dy) {
  auto region = RegionOrFail(handle);
  if (!region) return ERROR;
  cairo_region_translate(region->Get(), dx, dy);
  return region->Complexity();
}

BOOL PtInRegion(HRGN handle, int x, int y) {
  auto region = RegionOrFail(handle);
  return region && cairo_region_contains_point(region->Get(), x, y);
}

BOOL RectInRegion(HRGN handle, const RECT* rect) {
  auto region = RegionOrFail(handle);
  if (!region || !rect) return FALSE;
  RECT r = Ordered(rect->left, rect->top, rect->right, rect->bottom);
  if (r.left == r.right || r.top == r.bottom) return FALSE;
  cairo_rectangle_int_t c{r.left, r.top, r.right - r.left, r.bottom - r.top};
  return cairo_region_contains_rectangle(region->Get(), &c) != CAIRO_REGION_OVERLAP_OUT;
}

int GetRgnBox(HRGN handle, RECT* box) {
  auto region = RegionOrFail(handle);
  if (!region || !box) return ERROR;
  cairo_rectangle_int_t e;
  cairo_region_get_extents(region->Get(), &e);
  *box = RECT{e.x, e.y, e.x + e.width, e.y + e.height};
  return region->Complexity();
}

BOOL EqualRgn(HRGN a, HRGN b) {
  auto first = RegionOrFail(a);
  auto second = RegionOrFail(b);
  return first && second && cairo_region_equal(first->Get(), second->Get());
}

DWORD GetRegionData(HRGN handle, DWORD size, RGNDATA* data) {
  auto region = RegionOrFail(handle);
  if (!region) return 0;
  int count = cairo_region_num_rectangles(region->Get());
  DWORD needed = static_cast<DWORD>(sizeof(RGNDATAHEADER) + sizeof(RECT) * count);
  if (!data || size < needed) return needed;
  RGNDATAHEADER header;
  header.nCount = static_cast<DWORD>(count);
  header.nRgnSize = static_cast<DWORD>(sizeof(RECT) * count);
  cairo_rectangle_int_t e;
  cairo_region_get_extents(region->Get(), &e);
  header.rcBound = RECT{e.x, e.y, e.x + e.width, e.y + e.height};
  std::memcpy(&data->rdh, &header, sizeof header);
  auto* out = reinterpret_cast<std::uint8_t*>(data) + sizeof(RGNDATAHEADER);
  for (int i = 0; i < count; ++i) {
    cairo_rectangle_int_t r;
    cairo_region_get_rectangle(region->Get(), i, &r);
    RECT rect{r.x, r.y, r.x + r.width, r.y + r.height};
    std::memcpy(out + sizeof(RECT) * i, &rect, sizeof rect);
  }
  return needed;
}

HRGN ExtCreateRegion(const void* transform, DWORD size, const RGNDATA* data) {
  if (transform || !data || size < sizeof(RGNDATAHEADER) || data->rdh.iType != RDH_RECTANGLES ||
      data->rdh.nCount > (size - sizeof(RGNDATAHEADER)) / sizeof(RECT)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  CairoRegion result(cairo_region_create());
  const auto* in = reinterpret_cast<const std::uint8_t*>(data) + sizeof(RGNDATAHEADER);
  for (DWORD i = 0; i < data->rdh.nCount; ++i) {
    RECT r;
    std::memcpy(&r, in + sizeof(RECT) * i, sizeof r);
    CairoRegion piece(Region::FromRect(Ordered(r.left, r.top, r.right, r.bottom)));
    cairo_region_union(result.get(), piece.get());
  }
  return Register(result.release());
}

BOOL FillRgn(HDC hdc, HRGN region, HBRUSH brush) { return PaintRegionWith(hdc, region, brush, R2_COPYPEN); }

BOOL PaintRgn(HDC hdc, HRGN region) {
  auto dc = DcOrFail(hdc);
  return dc && PaintRegionWith(hdc, region, dc->State().brush, dc->State().rop2);
}

BOOL InvertRgn(HDC hdc, HRGN region) { return PaintRegionWith(hdc, region, nullptr, R2_NOT); }

BOOL FrameRgn(HDC hdc, HRGN handle, HBRUSH brush, int width, int height) {
  auto region = RegionOrFail(handle);
  if (!region) return FALSE;
  if (width <= 0 || height <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  // A frame as wide as the region is the whole region; larger values change nothing.
  OwnedRegion temporary(Register(Shapes::Frame(region->Get(), std::min(width, 1 << 30), std::min(height, 1 << 30))));
  return FillRgn(hdc, temporary.get(), brush);
}

int SelectClipRgn(HDC hdc, HRGN region) { return ExtSelectClipRgn(hdc, region, RGN_COPY); }

int ExtSelectClipRgn(HDC hdc, HRGN handle, int mode) {
  auto dc = DcOrFail(hdc);
  if (!dc) return ERROR;
  std::shared_ptr<Region> region;
  if (handle) {
    region = RegionOrFail(handle);
    if (!region) return ERROR;
  }
  return CombineClip(*dc, region ? region->Get() : nullptr, mode);
}

int ExcludeClipRect(HDC hdc, int left, int top, int right, int bottom) {
  return ClipWithRect(hdc, left, top, right, bottom, RGN_DIFF);
}

int IntersectClipRect(HDC hdc, int left, int top, int right, int bottom) {
  return ClipWithRect(hdc, left, top, right, bottom, RGN_AND);
}

int OffsetClipRgn(HDC hdc, int dx, int dy) {
  auto dc = DcOrFail(hdc);
  if (!dc) return ERROR;
  if (dc->State().clip) cairo_region_translate(dc->State().clip.get(), dx, dy);
  return EffectiveComplexity(*dc);
}

int GetClipBox(HDC hdc, RECT* box) {
  auto dc = DcOrFail(hdc);
  if (!dc || !box) return ERROR;
  DrawingScope scope(*dc);
  const cairo_region_t* clip = scope.Clip();
  cairo_rectangle_int_t e;
  cairo_region_get_extents(clip, &e);
  *box = scope.ToLogical(RECT{e.x, e.y, e.x + e.width, e.y + e.height});
  if (e.width == 0 || e.height == 0) *box = RECT{};
  return Region::ComplexityOf(clip);
}

int GetClipRgn(HDC hdc, HRGN handle) {
  auto dc = DcOrFail(hdc);
  auto region = RegionOrFail(handle);
  if (!dc || !region) return -1;
  if (!dc->State().clip) return 0;
  region->Replace(cairo_region_copy(dc->State().clip.get()));
  return 1;
}

BOOL RectVisible(HDC hdc, const RECT* rect) {
  auto dc = DcOrFail(hdc);
  if (!dc || !rect) return FALSE;
  DrawingScope scope(*dc);
  RECT r = scope.ToSurface(Ordered(rect->left, rect->top, rect->right, rect->bottom));
  if (r.left == r.right || r.top == r.bottom) return FALSE;
  cairo_rectangle_int_t c{r.left, r.top, r.right - r.left, r.bottom - r.top};
  return cairo_region_contains_rectangle(scope.Clip(), &c) != CAIRO_REGION_OVERLAP_OUT;
}

BOOL PtVisible(HDC hdc, int x, int y) {
  auto dc = DcOrFail(hdc);
  if (!dc) return FALSE;
  DrawingScope scope(*dc);
  POINT p = scope.ToSurface(POINT{x, y});
  return cairo_region_contains_point(scope.Clip(), p.x, p.y);
}

}  // namespace kestrel::platform
