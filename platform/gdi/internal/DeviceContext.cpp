#include "platform/gdi/internal/DeviceContext.h"

#include <algorithm>

#include "platform/core/HandleTable.h"
#include "platform/gdi/GdiTypes.h"
#include "platform/gdi/StockObjects.h"
#include "platform/gdi/internal/Bitmap.h"
#include "platform/gdi/internal/DibFormat.h"
#include "platform/gdi/internal/GdiObject.h"
#include "platform/gdi/internal/Palette.h"
#include "platform/gdi/internal/RecentGdiObjects.h"

namespace kestrel::platform {

// ---- DeviceContext ------------------------------------------------------------------------

DeviceContext::DeviceContext(Kind kind) : kind_(kind) {
  state_.pen = GetStockObject(BLACK_PEN);
  state_.brush = GetStockObject(WHITE_BRUSH);
  state_.font = GetStockObject(SYSTEM_FONT);
  state_.palette = GetStockObject(DEFAULT_PALETTE);
  if (kind == Kind::Memory) state_.bitmap = DefaultBitmap();
}

DeviceContext::~DeviceContext() {
  for (HGDIOBJ selected : {state_.pen, state_.brush, state_.font}) ReleaseSelection(selected);
}

cairo_surface_t* DeviceContext::Surface() const {
  if (kind_ == Kind::Window) return windowSurface_;
  if (kind_ != Kind::Memory) return nullptr;
  auto bitmap = LookupGdi<Bitmap>(state_.bitmap);
  return bitmap ? bitmap->Surface() : nullptr;
}

void DeviceContext::SetWindowSurface(cairo_surface_t* surface, POINT surfaceOrigin, cairo_region_t* systemClip) {
  if (surface != windowSurface_) cairoCache_.Clear();
  windowSurface_ = surface;
  surfaceOrigin_ = surfaceOrigin;
  SetSystemClip(systemClip);
}

void DeviceContext::SetSystemClip(cairo_region_t* regionTakenOver) {
  if (systemClip_.get() == regionTakenOver) return;
  systemClip_.reset(regionTakenOver);
}

// ---- DrawingScope -------------------------------------------------------------------------

DrawingScope::DrawingScope(DeviceContext& dc) : dc_(dc) {
  if (dc.kind_ == DeviceContext::Kind::Memory) {
    static thread_local RecentGdiObjects<Bitmap> recent;
    auto bitmap = recent.Find(dc.state_.bitmap);
    if (bitmap) {
      surface_ = bitmap->Surface();
      bitmap_ = std::move(bitmap);
    }
  } else if (dc.kind_ == DeviceContext::Kind::Window) {
    surface_ = dc.windowSurface_;
  }
}

DrawingScope::~DrawingScope() {
  if (cairo_) {
    dc_.cairoCache_.Release(cairo_);
    // Cairo drawing does not report what it touched: take the whole clip as changed.
    const cairo_rectangle_int_t extents = ClipExtents();
    AddDamage(RECT{extents.x, extents.y, extents.x + extents.width, extents.y + extents.height});
  }
  if (damaged_ && surface_) ReportDamage();
}

void DrawingScope::ReportDamage() {
  // Drawing stays inside the clip, so only the damage within its rectangles changed. A clip of a
  // few rectangles (a border ring around an excluded client area) is reported piece by piece;
  // one of many, by its extents.
  constexpr int kMostPieces = 8;
  const int pieces = Unclipped() ? 1 : cairo_region_num_rectangles(Clip());
  if (pieces < 2 || pieces > kMostPieces) {
    ReportDamageWithin(ClipExtents());
    return;
  }
  for (int i = 0; i < pieces; ++i) {
    cairo_rectangle_int_t piece;
    cairo_region_get_rectangle(Clip(), i, &piece);
    ReportDamageWithin(piece);
  }
}

void DrawingScope::ReportDamageWithin(const cairo_rectangle_int_t& area) {
  const RECT r{std::max<LONG>(damage_.left, area.x), std::max<LONG>(damage_.top, area.y),
               std::min<LONG>(damage_.right, area.x + area.width),
               std::min<LONG>(damage_.bottom, area.y + area.height)};
  if (r.left >= r.right || r.top >= r.bottom) return;
  cairo_surface_mark_dirty_rectangle(surface_, r.left, r.top, r.right - r.left, r.bottom - r.top);
  if (bitmap_ && loaded_) std::static_pointer_cast<Bitmap>(bitmap_)->Publish(r);
  if (dc_.onDamage) dc_.onDamage(r);
}

bool DrawingScope::HasTarget() const { return surface_ != nullptr; }

cairo_format_t DrawingScope::Format() const {
  return surface_ ? cairo_image_surface_get_format(surface_) : CAIRO_FORMAT_INVALID;
}

void DrawingScope::EnsureLoaded() {
  // DIB bits are read into the surface only when pixels are actually used: clip and coordinate
  // queries, and direct DIB pixel access, stay cheap.
  if (loaded_ || !bitmap_) return;
  std::static_pointer_cast<Bitmap>(bitmap_)->LoadFromBits();
  loaded_ = true;
}

cairo_t* DrawingScope::Cairo() {
  if (!surface_) return nullptr;
  if (cairo_) return cairo_;
  EnsureLoaded();
  cairo_surface_flush(surface_);
  cairo_matrix_t transform;
  const DeviceContextState& s = dc_.state_;
  if (!MappingOnlyTranslates(s)) {
    // device = (logical - windowOrg) * viewportExt / windowExt + viewportOrg
    cairo_matrix_init_translate(&transform, 0.0 + s.viewportOrg.x + dc_.surfaceOrigin_.x,
                                0.0 + s.viewportOrg.y + dc_.surfaceOrigin_.y);
    cairo_matrix_scale(&transform, double(s.viewportExt.cx) / s.windowExt.cx,
                       double(s.viewportExt.cy) / s.windowExt.cy);
    cairo_matrix_translate(&transform, -s.windowOrg.x, -s.windowOrg.y);
  } else {
    const POINT origin = ToSurface(POINT{0, 0});
    cairo_matrix_init_translate(&transform, origin.x, origin.y);
  }
  cairo_ = dc_.cairoCache_.Acquire(surface_, Unclipped() ? nullptr : Clip(), transform);
  return cairo_;
}

PixelView DrawingScope::Pixels() {
  PixelView view;
  if (!surface_) return view;
  EnsureLoaded();
  cairo_surface_flush(surface_);
  view.data = reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(surface_));
  view.width = cairo_image_surface_get_width(surface_);
  view.height = cairo_image_surface_get_height(surface_);
  view.stride = cairo_image_surface_get_stride(surface_) / 4;
  return view;
}

bool DrawingScope::Unclipped() const { return !dc_.systemClip_ && !dc_.state_.clip; }

cairo_rectangle_int_t DrawingScope::ClipExtents() {
  cairo_rectangle_int_t extents{0, 0, 0, 0};
  if (Unclipped()) {
    if (surface_) {
      extents.width = cairo_image_surface_get_width(surface_);
      extents.height = cairo_image_surface_get_height(surface_);
    }
    return extents;
  }
  cairo_region_get_extents(Clip(), &extents);
  return extents;
}

const cairo_region_t* DrawingScope::Clip() {
  if (clip_) return clip_.get();
  cairo_rectangle_int_t bounds{0, 0, 0, 0};
  if (surface_) {
    bounds.width = cairo_image_surface_get_width(surface_);
    bounds.height = cairo_image_surface_get_height(surface_);
  }
  clip_.reset(cairo_region_create_rectangle(&bounds));
  if (dc_.systemClip_) cairo_region_intersect(clip_.get(), dc_.systemClip_.get());
  if (dc_.state_.clip) {
    CairoRegion own(cairo_region_copy(dc_.state_.clip.get()));
    cairo_region_translate(own.get(), dc_.surfaceOrigin_.x, dc_.surfaceOrigin_.y);
    cairo_region_intersect(clip_.get(), own.get());
  }
  return clip_.get();
}

namespace {

constexpr long long kMappedLimit = 1LL << 40;

bool ExtentsApply(const DeviceContextState& s) { return s.mapMode == MM_ISOTROPIC || s.mapMode == MM_ANISOTROPIC; }

// numerator / denominator rounded to nearest (halves away from zero), saturated.
long long RoundedQuotient(__int128 numerator, long long denominator) {
  if (denominator < 0) {
    numerator = -numerator;
    denominator = -denominator;
  }
  const __int128 half = denominator / 2;
  __int128 q = numerator >= 0 ? (numerator + half) / denominator : -((-numerator + half) / denominator);
  if (q > kMappedLimit) q = kMappedLimit;
  if (q < -kMappedLimit) q = -kMappedLimit;
  return static_cast<long long>(q);
}

}  // namespace

namespace {

// Maps one coordinate from logical to device units (`toDevice`) or back.
long long MapAxis(const DeviceContextState& s, long long v, bool vertical, bool toDevice) {
  const long long windowOrg = vertical ? s.windowOrg.y : s.windowOrg.x;
  const long long viewportOrg = vertical ? s.viewportOrg.y : s.viewportOrg.x;
  const long long fromOrg = toDevice ? windowOrg : viewportOrg, toOrg = toDevice ? viewportOrg : windowOrg;
  if (!ExtentsApply(s)) return v - fromOrg + toOrg;
  const long long windowExt = vertical ? s.windowExt.cy : s.windowExt.cx;
  const long long viewportExt = vertical ? s.viewportExt.cy : s.viewportExt.cx;
  const long long fromExt = toDevice ? windowExt : viewportExt, toExt = toDevice ? viewportExt : windowExt;
  return RoundedQuotient(static_cast<__int128>(v - fromOrg) * toExt, fromExt) + toOrg;
}

}  // namespace

long long MapToDevice(const DeviceContextState& s, long long logical, bool vertical) {
  return MapAxis(s, logical, vertical, true);
}

long long MapToLogical(const DeviceContextState& s, long long device, bool vertical) {
  return MapAxis(s, device, vertical, false);
}

bool MappingScales(const DeviceContextState& s) {
  return ExtentsApply(s) && (s.windowExt.cx != s.viewportExt.cx || s.windowExt.cy != s.viewportExt.cy);
}

bool MappingMirrors(const DeviceContextState& s, bool vertical) {
  if (!ExtentsApply(s)) return false;
  return vertical ? (s.windowExt.cy < 0) != (s.viewportExt.cy < 0) : (s.windowExt.cx < 0) != (s.viewportExt.cx < 0);
}

bool MappingOnlyTranslates(const DeviceContextState& s) {
  return !MappingScales(s) && !MappingMirrors(s, false) && !MappingMirrors(s, true);
}

POINT DrawingScope::ToSurface(POINT logical) const {
  const DeviceContextState& s = dc_.state_;
  // Computed wide and saturated: huge coordinates must clip, not wrap around.
  auto map = [](long long v) { return static_cast<LONG>(std::clamp<long long>(v, -(1LL << 29), 1LL << 29)); };
  return POINT{map(MapToDevice(s, logical.x, false) + dc_.surfaceOrigin_.x),
               map(MapToDevice(s, logical.y, true) + dc_.surfaceOrigin_.y)};
}

RECT DrawingScope::ToSurface(const RECT& logical) const {
  POINT topLeft = ToSurface(POINT{logical.left, logical.top});
  POINT bottomRight = ToSurface(POINT{logical.right, logical.bottom});
  if (MappingMirrors(dc_.state_, false)) std::swap(topLeft.x, bottomRight.x);
  if (MappingMirrors(dc_.state_, true)) std::swap(topLeft.y, bottomRight.y);
  return RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

RECT DrawingScope::ToLogical(const RECT& surface) const {
  const DeviceContextState& s = dc_.state_;
  auto map = [](long long v) { return static_cast<LONG>(std::clamp<long long>(v, -(1LL << 29), 1LL << 29)); };
  const long long x1 = MapToLogical(s, 0LL + surface.left - dc_.surfaceOrigin_.x, false);
  const long long x2 = MapToLogical(s, 0LL + surface.right - dc_.surfaceOrigin_.x, false);
  const long long y1 = MapToLogical(s, 0LL + surface.top - dc_.surfaceOrigin_.y, true);
  const long long y2 = MapToLogical(s, 0LL + surface.bottom - dc_.surfaceOrigin_.y, true);
  return RECT{map(std::min(x1, x2)), map(std::min(y1, y2)), map(std::max(x1, x2)), map(std::max(y1, y2))};
}

void DrawingScope::AddDamage(const RECT& r) {
  if (r.left >= r.right || r.top >= r.bottom) return;
  if (!damaged_) {
    damage_ = r;
    damaged_ = true;
    return;
  }
  damage_.left = std::min(damage_.left, r.left);
  damage_.top = std::min(damage_.top, r.top);
  damage_.right = std::max(damage_.right, r.right);
  damage_.bottom = std::max(damage_.bottom, r.bottom);
}

std::uint32_t DrawingScope::DeviceColor(COLORREF color) const {
  // PALETTEINDEX(i): entry i of the DC's palette (black when there is none).
  if ((color >> 24) == 0x01) {
    auto palette = LookupGdi<Palette>(dc_.state_.palette);
    WORD index = LOWORD(color);
    color = 0;
    if (palette && index < palette->Entries().size()) {
      const PALETTEENTRY& e = palette->Entries()[index];
      color = RGB(e.peRed, e.peGreen, e.peBlue);
    }
  }
  std::uint32_t argb = ArgbFromColorRef(color);
  if (bitmap_) return std::static_pointer_cast<Bitmap>(bitmap_)->Quantize(argb);
  return argb;
}

bool DrawingScope::IsMonochrome() const {
  // Only device-dependent monochrome bitmaps: a 1-bit DIB section shows its colour table.
  if (!bitmap_) return false;
  auto bitmap = std::static_pointer_cast<Bitmap>(bitmap_);
  return bitmap->IsMonochrome() && !bitmap->IsDib();
}

// ---- handle table -------------------------------------------------------------------------

namespace {
HandleTable<DeviceContext>& DcTable() {
  static HandleTable<DeviceContext> table(static_cast<std::uint8_t>(HandleTag::DeviceContext));
  return table;
}
}  // namespace

HDC RegisterDeviceContext(std::shared_ptr<DeviceContext> dc) {
  if (!dc) return nullptr;
  return reinterpret_cast<HDC>(DcTable().Insert(std::move(dc)));
}

std::shared_ptr<DeviceContext> LookupDeviceContext(HDC hdc) {
  return DcTable().Lookup(reinterpret_cast<std::uintptr_t>(hdc));
}

std::shared_ptr<DeviceContext> UnregisterDeviceContext(HDC hdc) {
  return DcTable().Remove(reinterpret_cast<std::uintptr_t>(hdc));
}

}  // namespace kestrel::platform
