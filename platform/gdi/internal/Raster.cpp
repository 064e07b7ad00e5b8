#include "platform/gdi/internal/Raster.h"

#include <algorithm>
#include <cstring>

#include "platform/gdi/StockObjects.h"
#include "platform/gdi/internal/DeviceContext.h"
#include "platform/gdi/internal/DibFormat.h"
#include "platform/gdi/internal/GdiObject.h"

namespace kestrel::platform {

Raster::Raster(DrawingScope& scope, const DeviceContext& dc) : scope_(scope), dc_(dc) {
  pixels_ = scope.Pixels();
  const DeviceContextState& s = dc.State();
  textColor_ = scope.DeviceColor(s.textColor);
  bkColor_ = scope.DeviceColor(s.bkColor);
  opaque_ = s.bkMode == OPAQUE;
  // Patterns are anchored at the brush origin in device space.
  patternOrigin_ = POINT{dc.SurfaceOrigin().x + s.brushOrg.x, dc.SurfaceOrigin().y + s.brushOrg.y};
}

void Raster::UseColor(COLORREF color) {
  brush_.reset();
  color_ = scope_.DeviceColor(color);
}

bool Raster::UseBrush(HGDIOBJ handle) {
  auto brush = LookupGdi<Brush>(handle);
  if (!brush || brush->IsNull()) return false;
  if (handle == GetStockObject(DC_BRUSH)) {
    UseColor(dc_.State().dcBrushColor);
    return true;
  }
  if (brush->Style() == BS_SOLID) {
    UseColor(brush->Color());
    return true;
  }
  color_ = scope_.DeviceColor(brush->Color());
  brush_ = std::move(brush);
  return true;
}

void Raster::SetRop2(int rop2) {
  if (rop2 >= R2_BLACK && rop2 <= R2_WHITE) mix_ = static_cast<unsigned>(rop2 - 1);
}

void Raster::SetPatternRop(DWORD rop3) {
  unsigned index = (rop3 >> 16) & 0xFF;
  mix_ = 0;
  for (unsigned p = 0; p < 2; ++p)
    for (unsigned d = 0; d < 2; ++d)
      if (index & (1u << ((p << 2) | d))) mix_ |= 1u << ((p << 1) | d);
}

std::uint32_t Raster::Mix(unsigned table, std::uint32_t p, std::uint32_t d) {
  std::uint32_t result;
  switch (table) {
    case 0xC: result = p; break;
    case 0xA: result = d; break;
    case 0x0: result = 0; break;
    case 0xF: result = ~0u; break;
    default: {
      result = 0;
      for (unsigned i = 0; i < 4; ++i) {
        if (!(table & (1u << i))) continue;
        result |= ((i & 2) ? p : ~p) & ((i & 1) ? d : ~d);
      }
    }
  }
  return result | 0xFF000000u;
}

bool Raster::SourceAt(int x, int y, std::uint32_t& out) const {
  if (!brush_) {
    out = color_;
    return true;
  }
  int px = x - patternOrigin_.x, py = y - patternOrigin_.y;
  if (brush_->Style() == BS_HATCHED) {
    if (brush_->HatchBit(px, py)) {
      out = color_;
      return true;
    }
    out = bkColor_;
    return opaque_;
  }
  std::uint32_t pixel = brush_->PatternPixel(px, py);
  if (brush_->IsMonochromePattern()) out = (pixel & 0xFFFFFF) ? bkColor_ : textColor_;
  else out = scope_.DeviceColor(ColorRefFromArgb(pixel));
  return true;
}

void Raster::FillSurfaceRect(RECT rect) {
  if (!pixels_.data || rect.left >= rect.right || rect.top >= rect.bottom) return;
  const cairo_region_t* clip = scope_.Clip();
  int count = cairo_region_num_rectangles(clip);
  for (int i = 0; i < count; ++i) {
    cairo_rectangle_int_t c;
    cairo_region_get_rectangle(clip, i, &c);
    RECT r{std::max<LONG>(rect.left, c.x), std::max<LONG>(rect.top, c.y), std::min<LONG>(rect.right, c.x + c.width),
           std::min<LONG>(rect.bottom, c.y + c.height)};
    if (r.left < r.right && r.top < r.bottom) FillClipped(r);
  }
}

void Raster::FillClipped(const RECT& r) {
  if (!brush_ && mix_ == 0xC) {  // a solid colour copied: the common case, done by rows
    FillSolid(r);
    scope_.AddDamage(r);
    return;
  }
  for (int y = r.top; y < r.bottom; ++y) {
    std::uint32_t* row = pixels_.Row(y);
    for (int x = r.left; x < r.right; ++x) {
      std::uint32_t source;
      if (SourceAt(x, y, source)) row[x] = Mix(mix_, source, row[x]);
    }
  }
  scope_.AddDamage(r);
}

void Raster::FillSolid(const RECT& r) {
  std::size_t width = static_cast<std::size_t>(r.right - r.left);
  int rows = r.bottom - r.top;
  if (r.left == 0 && static_cast<int>(width) == pixels_.width && pixels_.stride == pixels_.width) {
    width *= static_cast<std::size_t>(rows);  // whole rows lie one after another: one run
    rows = 1;
  }
  std::uint32_t* first = pixels_.Row(r.top) + r.left;
  const std::uint32_t byte = color_ & 0xFF;
  if (color_ == byte * 0x01010101u) {  // white, black: the library's byte fill is the fastest store
    for (int y = 0; y < rows; ++y)
      std::memset(first + static_cast<std::ptrdiff_t>(y) * pixels_.stride, static_cast<int>(byte), width * 4);
    return;
  }
  // The first row is filled once; the others copy it (the library's block copy is much faster
  // than storing one pixel at a time).
  std::fill_n(first, width, color_);
  for (int y = 1; y < rows; ++y)
    std::memcpy(first + static_cast<std::ptrdiff_t>(y) * pixels_.stride, first, width * sizeof *first);
}

void Raster::Plot(int x, int y) {
  if (!pixels_.data || !cairo_region_contains_point(scope_.Clip(), x, y)) return;
  std::uint32_t source;
  if (SourceAt(x, y, source)) pixels_.Row(y)[x] = Mix(mix_, source, pixels_.Row(y)[x]);
  scope_.AddDamage(RECT{x, y, x + 1, y + 1});
}

}  // namespace kestrel::platform
