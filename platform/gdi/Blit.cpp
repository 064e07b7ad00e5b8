#include "platform/gdi/Blit.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "platform/gdi/DcState.h"
#include "platform/gdi/OwnedGdi.h"
#include "platform/gdi/internal/Bitmap.h"
#include "platform/gdi/internal/DeviceContext.h"
#include "platform/gdi/internal/DibFormat.h"
#include "platform/gdi/internal/GdiObject.h"
#include "platform/gdi/internal/Raster.h"

namespace kestrel::platform {

namespace {
constexpr unsigned kSrcCopy = 0xCC;

bool ReadsSource(unsigned rop) { return ((rop >> 2) ^ rop) & 0x33; }
bool ReadsPattern(unsigned rop) { return ((rop >> 4) ^ rop) & 0x0F; }

using Coord = long long;  // blit arithmetic runs wide: extents may be anything an int holds

// How a shrinking stretch turns the source pixels one destination pixel covers into one.
enum class StretchMerge { Nearest, Average, And, Or };

// Whether two views share any pixel memory (window DCs of one top-level window share a surface).
bool Overlap(const PixelView& a, const PixelView& b) {
  const auto begin = [](const PixelView& v) { return reinterpret_cast<std::uintptr_t>(v.data); };
  const auto end = [&](const PixelView& v) { return begin(v) + sizeof(std::uint32_t) * v.height * v.stride; };
  return begin(a) < end(b) && begin(b) < end(a);
}

// The part of the source that a transfer reads, converted to the destination's depth. Pixels
// outside the source surface are absent. A source that shares its pixels with the destination
// is copied out first (so overlapping blits read unchanged pixels); another surface is read in
// place, unless its pixels need converting.
class SourceBlock {
 public:
  SourceBlock(DrawingScope& scope, Coord left, Coord top, Coord right, Coord bottom, bool copy) {
    PixelView view = scope.Pixels();
    rect_ = RECT{static_cast<LONG>(std::clamp<Coord>(left, 0, view.width)),
                 static_cast<LONG>(std::clamp<Coord>(top, 0, view.height)),
                 static_cast<LONG>(std::clamp<Coord>(right, 0, view.width)),
                 static_cast<LONG>(std::clamp<Coord>(bottom, 0, view.height))};
    int w = std::max<LONG>(rect_.right - rect_.left, 0), h = std::max<LONG>(rect_.bottom - rect_.top, 0);
    if (!copy) {
      data_ = view.Row(rect_.top) + rect_.left;
      stride_ = view.stride;
      return;
    }
    pixels_.reserve(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y) {
      const std::uint32_t* row = view.Row(rect_.top + y) + rect_.left;
      pixels_.insert(pixels_.end(), row, row + w);
    }
    data_ = pixels_.data();
    stride_ = w;
  }

  // Applies the depth conversion rules once for the whole block.
  void Convert(bool sourceMono, bool destMono, std::uint32_t sourceBk, std::uint32_t destText, std::uint32_t destBk) {
    if (sourceMono == destMono) return;
    for (auto& p : pixels_) {  // only copied blocks are converted
      if (sourceMono) p = (p & 0xFFFFFF) ? destBk : destText;
      else p = (p & 0xFFFFFF) == (sourceBk & 0xFFFFFF) ? 0xFFFFFFFFu : 0xFF000000u;
    }
  }

  // The present pixels in [x0, x1) × [y0, y1) merged into one: their per-channel mean, or all
  // of them ANDed or ORed together (the stretch modes' ways of dropping pixels). False if none.
  bool Merge(Coord x0, Coord x1, Coord y0, Coord y1, StretchMerge how, std::uint32_t& out) const {
    x0 = std::max<Coord>(x0, rect_.left);
    y0 = std::max<Coord>(y0, rect_.top);
    x1 = std::min<Coord>(x1, rect_.right);
    y1 = std::min<Coord>(y1, rect_.bottom);
    std::uint64_t sum[4] = {0, 0, 0, 0}, count = 0;
    std::uint32_t all = how == StretchMerge::And ? ~0u : 0u, pixel = 0;
    for (Coord y = y0; y < y1; ++y)
      for (Coord x = x0; x < x1; ++x) {
        At(x, y, pixel);
        for (int c = 0; c < 4; ++c) sum[c] += (pixel >> (8 * c)) & 0xFF;
        all = how == StretchMerge::And ? all & pixel : all | pixel;
        ++count;
      }
    if (count == 0) return false;
    if (how != StretchMerge::Average) {
      out = all;
      return true;
    }
    out = 0;
    for (int c = 0; c < 4; ++c) out |= static_cast<std::uint32_t>((sum[c] + count / 2) / count) << (8 * c);
    return true;
  }

  // Copies the block's pixels onto destination rectangle `r` of `view`, source = destination +
  // (dx, dy); destination pixels whose source is absent stay as they are.
  void CopyRows(const RECT& r, Coord dx, Coord dy, const PixelView& view) const {
    Coord left = std::max<Coord>(r.left, rect_.left - dx), right = std::min<Coord>(r.right, rect_.right - dx);
    if (left >= right) return;
    for (Coord y = r.top; y < r.bottom; ++y) {
      Coord sy = y + dy;
      if (sy < rect_.top || sy >= rect_.bottom) continue;
      const std::uint32_t* from = Row(sy) + (left + dx - rect_.left);
      std::copy_n(from, right - left, view.Row(static_cast<int>(y)) + left);
    }
  }

  bool At(Coord x, Coord y, std::uint32_t& out) const {
    if (x < rect_.left || x >= rect_.right || y < rect_.top || y >= rect_.bottom) return false;
    out = Row(y)[x - rect_.left];
    return true;
  }

 private:
  const std::uint32_t* Row(Coord y) const { return data_ + static_cast<std::ptrdiff_t>(y - rect_.top) * stride_; }

  RECT rect_;
  std::vector<std::uint32_t> pixels_;
  const std::uint32_t* data_ = nullptr;  // the block's top-left pixel, in pixels_ or the source
  std::ptrdiff_t stride_ = 0;            // in pixels
};

// Source pixel index along one axis for destination offset `i` of `count`, mirroring when the
// two extents have opposite signs.
Coord MapAxis(Coord i, Coord destCount, Coord sourceCount, bool mirror) {
  Coord s = i * sourceCount / destCount;
  return mirror ? sourceCount - 1 - s : s;
}

// The source pixels [first, second) that destination offset `i` covers when shrinking.
std::pair<Coord, Coord> AxisRange(Coord i, Coord destCount, Coord sourceCount, bool mirror) {
  Coord lo = i * sourceCount / destCount;
  Coord hi = std::max((i + 1) * sourceCount / destCount, lo + 1);
  return mirror ? std::pair{sourceCount - hi, sourceCount - lo} : std::pair{lo, hi};
}

struct Extent {
  Coord start;  // lowest surface coordinate
  Coord count;  // > 0
  bool flipped;
};

// A negative extent runs leftwards (upwards) from the start pixel, which stays included.
Extent Normalize(Coord start, Coord size) {
  return size < 0 ? Extent{start + size + 1, -size, true} : Extent{start, size, false};
}

// The surface pixels of a DC's logical span [start, start + size) along one axis. Without
// scaling the span moves by the mapped origin and a negative size runs back from `start`;
// scaled or mirrored, both ends are mapped and a reversed span reads its source mirrored.
Extent SurfaceExtent(const DeviceContext& dc, Coord start, Coord size, bool vertical) {
  const DeviceContextState& s = dc.State();
  const Coord origin = vertical ? dc.SurfaceOrigin().y : dc.SurfaceOrigin().x;
  if (!MappingScales(s) && !MappingMirrors(s, vertical))
    return Normalize(start + MapToDevice(s, 0, vertical) + origin, size);
  const Coord a = MapToDevice(s, start, vertical) + origin, b = MapToDevice(s, start + size, vertical) + origin;
  return b >= a ? Extent{a, b - a, false} : Extent{b, a - b, true};
}

// The source range [first, second) that destination offsets [i0, i1] read along one axis.
std::pair<Coord, Coord> SourceSpan(Coord i0, Coord i1, const Extent& d, const Extent& s, bool merging) {
  bool mirror = d.flipped != s.flipped;
  if (merging) {
    auto a = AxisRange(i0, d.count, s.count, mirror), b = AxisRange(i1, d.count, s.count, mirror);
    return {s.start + std::min(a.first, b.first), s.start + std::max(a.second, b.second)};
  }
  Coord a = MapAxis(i0, d.count, s.count, mirror), b = MapAxis(i1, d.count, s.count, mirror);
  return {s.start + std::min(a, b), s.start + std::max(a, b) + 1};
}

// A transfer request in logical coordinates of the two DCs.
struct BlitRequest {
  HDC dest;
  int x, y, w, h;
  HDC source;  // ignored unless needsSource
  int sx, sy, sw, sh;
  bool needsSource;
  bool convertDepth;                           // mono/colour conversion (raster operations only)
  StretchMerge merge = StretchMerge::Nearest;  // when shrinking, by the stretch mode
  bool plainCopy = false;                      // the operation is SRCCOPY: unscaled rows are copied whole
};

// Combines one destination pixel with its mapped source pixel.
using PixelOp = std::function<void(std::uint32_t& d, std::uint32_t s, int px, int py)>;
// Builds the operation once the destination scope exists (brushes need it).
using OpFactory = std::function<PixelOp(DrawingScope& scope, DeviceContext& dc)>;

BOOL Blit(const BlitRequest& q, const OpFactory& makeOp) {
  auto dc = DcOrFail(q.dest);
  if (!dc) return FALSE;
  std::shared_ptr<DeviceContext> src;
  if (q.needsSource) {
    src = DcOrFail(q.source);
    if (!src) return FALSE;
  }
  if (q.w == 0 || q.h == 0 || (q.needsSource && (q.sw == 0 || q.sh == 0))) return TRUE;
  DrawingScope scope(*dc);
  if (!scope.HasTarget()) return FALSE;

  // Extents are applied in wide arithmetic from the unclamped start (ToSurface saturates).
  Extent dx = SurfaceExtent(*dc, q.x, q.w, false), dy = SurfaceExtent(*dc, q.y, q.h, true);
  if (dx.count == 0 || dy.count == 0) return TRUE;  // scaled to nothing
  // Only the visible part of the destination is worked on.
  cairo_rectangle_int_t e;
  cairo_region_get_extents(scope.Clip(), &e);
  Coord vx0 = std::max<Coord>(dx.start, e.x), vx1 = std::min<Coord>(dx.start + dx.count, e.x + e.width);
  Coord vy0 = std::max<Coord>(dy.start, e.y), vy1 = std::min<Coord>(dy.start + dy.count, e.y + e.height);
  if (vx0 >= vx1 || vy0 >= vy1) return TRUE;

  Extent ex = dx, ey = dy;
  std::unique_ptr<SourceBlock> block;
  // A scope on the source DC only when it is another DC (a DC may blit onto itself); it lives as
  // long as the block, which may read the source in place.
  std::unique_ptr<DrawingScope> own;
  if (q.needsSource) {
    DrawingScope* sourceScope = &scope;
    if (src != dc) {
      own = std::make_unique<DrawingScope>(*src);
      sourceScope = own.get();
    }
    if (!sourceScope->HasTarget()) return FALSE;
    ex = SurfaceExtent(*src, q.sx, q.sw, false);
    ey = SurfaceExtent(*src, q.sy, q.sh, true);
    if (ex.count == 0 || ey.count == 0) return TRUE;
    bool merging = q.merge != StretchMerge::Nearest;
    auto [sx0, sx1] = SourceSpan(vx0 - dx.start, vx1 - 1 - dx.start, dx, ex, merging);
    auto [sy0, sy1] = SourceSpan(vy0 - dy.start, vy1 - 1 - dy.start, dy, ey, merging);
    const bool converts = q.convertDepth && sourceScope->IsMonochrome() != scope.IsMonochrome();
    const bool shared = Overlap(sourceScope->Pixels(), scope.Pixels());
    block = std::make_unique<SourceBlock>(*sourceScope, sx0, sy0, sx1, sy1, converts || shared);
    if (q.convertDepth)
      block->Convert(sourceScope->IsMonochrome(), scope.IsMonochrome(), sourceScope->DeviceColor(src->State().bkColor),
                     scope.DeviceColor(dc->State().textColor), scope.DeviceColor(dc->State().bkColor));
  }
  PixelOp op = makeOp(scope, *dc);

  PixelView view = scope.Pixels();
  const cairo_region_t* clip = scope.Clip();
  for (int i = 0; i < cairo_region_num_rectangles(clip); ++i) {
    cairo_rectangle_int_t c;
    cairo_region_get_rectangle(clip, i, &c);
    RECT r{static_cast<LONG>(std::max<Coord>(vx0, c.x)), static_cast<LONG>(std::max<Coord>(vy0, c.y)),
           static_cast<LONG>(std::min<Coord>(vx1, c.x + c.width)),
           static_cast<LONG>(std::min<Coord>(vy1, c.y + c.height))};
    if (r.left >= r.right || r.top >= r.bottom) continue;
    bool unscaled = block && dx.count == ex.count && dy.count == ey.count && !dx.flipped && !ex.flipped &&
                    !dy.flipped && !ey.flipped;
    if (unscaled && q.plainCopy) {
      block->CopyRows(r, ex.start - dx.start, ey.start - dy.start, view);
      scope.AddDamage(r);
      continue;
    }
    for (int py = r.top; py < r.bottom; ++py) {
      std::uint32_t* row = view.Row(py);
      Coord syy = ey.start + MapAxis(py - dy.start, dy.count, ey.count, dy.flipped != ey.flipped);
      for (int px = r.left; px < r.right; ++px) {
        std::uint32_t s = 0;
        if (block && q.merge != StretchMerge::Nearest) {
          auto [x0, x1] = AxisRange(px - dx.start, dx.count, ex.count, dx.flipped != ex.flipped);
          auto [y0, y1] = AxisRange(py - dy.start, dy.count, ey.count, dy.flipped != ey.flipped);
          if (!block->Merge(ex.start + x0, ex.start + x1, ey.start + y0, ey.start + y1, q.merge, s)) continue;
        } else if (block) {
          Coord sxx = ex.start + MapAxis(px - dx.start, dx.count, ex.count, dx.flipped != ex.flipped);
          if (!block->At(sxx, syy, s)) continue;
        }
        op(row[px], s, px, py);
      }
    }
    scope.AddDamage(r);
  }
  return TRUE;
}

// The operation of a ternary raster code, with the selected brush as pattern.
// Ternary operations with the DC's selected brush as pattern.
class RopApplier {
 public:
  RopApplier(DrawingScope& scope, DeviceContext& dc, bool needsPattern)
      : pattern_(std::make_shared<Raster>(scope, dc)), hasPattern_(needsPattern && pattern_->UseSelectedBrush()) {}
  void operator()(unsigned index, std::uint32_t& d, std::uint32_t s, int px, int py) const {
    if (index == kSrcCopy) {
      d = s;
      return;
    }
    std::uint32_t p = 0xFF000000u;
    if (hasPattern_ && !pattern_->SourceAt(px, py, p)) p = d;
    d = TernaryRop(index, p, s, d) | 0xFF000000u;
  }

 private:
  std::shared_ptr<Raster> pattern_;
  bool hasPattern_;
};

OpFactory RopOp(DWORD rop) {
  return [rop](DrawingScope& scope, DeviceContext& dc) -> PixelOp {
    unsigned index = (rop >> 16) & 0xFF;
    RopApplier apply(scope, dc, ReadsPattern(index));
    return [index, apply](std::uint32_t& d, std::uint32_t s, int px, int py) { apply(index, d, s, px, py); };
  };
}

BOOL Transfer(HDC dest, int x, int y, int w, int h, HDC source, int sx, int sy, int sw, int sh, DWORD rop) {
  bool needsSource = ReadsSource((rop >> 16) & 0xFF);
  if (!needsSource) {
    sw = w;
    sh = h;
  }
  BlitRequest request{dest, x, y, w, h, source, sx, sy, sw, sh, needsSource, true};
  auto dc = LookupDeviceContext(dest);
  bool shrinking = std::abs(Coord{sw}) > std::abs(Coord{w}) || std::abs(Coord{sh}) > std::abs(Coord{h});
  if (needsSource && dc && shrinking) {
    switch (dc->State().stretchBltMode) {
      case HALFTONE: request.merge = StretchMerge::Average; break;
      case BLACKONWHITE: request.merge = StretchMerge::And; break;
      case WHITEONBLACK: request.merge = StretchMerge::Or; break;
      default: break;
    }
  }
  request.plainCopy = ((rop >> 16) & 0xFF) == kSrcCopy;
  return Blit(request, RopOp(rop));
}

// 0..255 product with rounding.
std::uint32_t Mul255(std::uint32_t a, std::uint32_t b) {
  std::uint32_t t = a * b + 128;
  return (t + (t >> 8)) >> 8;
}

// Whether the source rectangle lies inside the source DC's surface, as AlphaBlend and
// TransparentBlt require.
bool SourceInside(HDC source, int sx, int sy, int sw, int sh) {
  auto src = DcOrFail(source);
  if (!src) return false;
  DrawingScope scope(*src);
  if (!scope.HasTarget()) return false;
  PixelView view = scope.Pixels();
  POINT p = scope.ToSurface(POINT{sx, sy});
  return p.x >= 0 && p.y >= 0 && static_cast<long long>(p.x) + sw <= view.width &&
         static_cast<long long>(p.y) + sh <= view.height;
}

// A DIB's pixels in a temporary memory DC, for StretchDIBits and SetDIBitsToDevice. Lines
// [firstScan, firstScan + lines) of the image (scan 0 = bottom row for bottom-up DIBs) are
// read from `bits`.
class DibSource {
 public:
  DibSource(const BITMAPINFO* info, const void* bits, int firstScan, int lines) : format_(info) {
    if (!format_.Valid() || !bits) return;
    bitmap_ = Bitmap::CreateDib(format_);
    if (!bitmap_) return;
    int height = format_.Height();
    for (int i = 0; i < lines; ++i) {
      int scan = firstScan + i;
      if (scan < 0 || scan >= height) continue;
      // Scans are numbered in memory order for both directions.
      std::memcpy(static_cast<std::uint8_t*>(bitmap_->Bits()) + static_cast<std::ptrdiff_t>(scan) * format_.Stride(),
                  static_cast<const std::uint8_t*>(bits) + static_cast<std::ptrdiff_t>(i) * format_.Stride(),
                  format_.Stride());
    }
    bitmap_->LoadFromBits();
    handle_.reset(RegisterGdiObject(bitmap_));
    dc_.reset(CreateCompatibleDC(nullptr));
    SelectObject(dc_.get(), handle_.get());
  }

  bool Valid() const { return dc_ != nullptr; }
  HDC Dc() const { return dc_.get(); }
  const DibFormat& Format() const { return format_; }
  // Top row (from the top of the image) of a source rectangle given as Windows does: from the
  // bottom-left corner for bottom-up DIBs.
  int TopRow(int y, int height) const { return format_.TopDown() ? y : format_.Height() - y - height; }

 private:
  DibFormat format_;
  std::shared_ptr<Bitmap> bitmap_;
  // The DC goes before the bitmap it has selected.
  OwnedGdiHandle handle_;
  OwnedMemoryDC dc_;
};
}  // namespace

std::uint32_t TernaryRop(unsigned rop, std::uint32_t p, std::uint32_t s, std::uint32_t d) {
  std::uint32_t result = 0;
  for (unsigned i = 0; i < 8; ++i) {
    if (!(rop & (1u << i))) continue;
    result |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
  }
  return result;
}

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY, DWORD rop) {
  return Transfer(dest, x, y, width, height, source, sourceX, sourceY, width, height, rop);
}

BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY, int sourceWidth,
                int sourceHeight, DWORD rop) {
  return Transfer(dest, x, y, width, height, source, sourceX, sourceY, sourceWidth, sourceHeight, rop);
}

BOOL PatBlt(HDC hdc, int x, int y, int width, int height, DWORD rop) {
  unsigned index = (rop >> 16) & 0xFF;
  if (ReadsSource(index)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  auto dc = DcOrFail(hdc);
  if (!dc) return FALSE;
  DrawingScope scope(*dc);
  Raster raster(scope, *dc);
  if (ReadsPattern(index) && !raster.UseSelectedBrush()) return TRUE;
  raster.SetPatternRop(rop);
  Extent ex = SurfaceExtent(*dc, x, width, false), ey = SurfaceExtent(*dc, y, height, true);
  auto fit = [](Coord v) { return static_cast<LONG>(std::clamp<Coord>(v, -(1LL << 30), 1LL << 30)); };
  raster.FillSurfaceRect(RECT{fit(ex.start), fit(ey.start), fit(ex.start + ex.count), fit(ey.start + ey.count)});
  return TRUE;
}

}  // namespace kestrel::platform

namespace kestrel::platform {

BOOL AlphaBlend(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY, int sourceWidth,
                int sourceHeight, BLENDFUNCTION blend) {
  if (!DcOrFail(dest) || !DcOrFail(source)) return FALSE;
  if (width < 0 || height < 0 || sourceWidth < 0 || sourceHeight < 0 || blend.BlendOp != AC_SRC_OVER ||
      blend.BlendFlags != 0 || !SourceInside(source, sourceX, sourceY, sourceWidth, sourceHeight)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  bool perPixel = blend.AlphaFormat & AC_SRC_ALPHA;
  std::uint32_t constant = blend.SourceConstantAlpha;
  auto make = [perPixel, constant](DrawingScope&, DeviceContext&) -> PixelOp {
    return [perPixel, constant](std::uint32_t& d, std::uint32_t s, int, int) {
      // Source channels are premultiplied by the constant alpha (and carry their own alpha,
      // already premultiplied, with AC_SRC_ALPHA).
      std::uint32_t alpha = perPixel ? Mul255(s >> 24, constant) : constant;
      std::uint32_t out = 0;
      for (int shift = 0; shift < 32; shift += 8) {
        std::uint32_t sc = shift == 24 ? (perPixel ? (s >> 24) : 255) : (s >> shift) & 0xFF;
        std::uint32_t dc = (d >> shift) & 0xFF;
        std::uint32_t value = Mul255(sc, constant) + Mul255(dc, 255 - alpha);
        out |= std::min<std::uint32_t>(value, 255) << shift;
      }
      d = out;
    };
  };
  return Blit(BlitRequest{dest, x, y, width, height, source, sourceX, sourceY, sourceWidth, sourceHeight, true, false},
              make);
}

BOOL TransparentBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                    int sourceWidth, int sourceHeight, UINT transparent) {
  if (!DcOrFail(dest) || !DcOrFail(source)) return FALSE;
  if (width < 0 || height < 0 || sourceWidth < 0 || sourceHeight < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::uint32_t key = ArgbFromColorRef(transparent) & 0xFFFFFF;
  auto make = [key](DrawingScope&, DeviceContext&) -> PixelOp {
    return [key](std::uint32_t& d, std::uint32_t s, int, int) {
      if ((s & 0xFFFFFF) != key) d = s | 0xFF000000u;
    };
  };
  return Blit(BlitRequest{dest, x, y, width, height, source, sourceX, sourceY, sourceWidth, sourceHeight, true, true},
              make);
}

int StretchDIBits(HDC hdc, int x, int y, int width, int height, int sourceX, int sourceY, int sourceWidth,
                  int sourceHeight, const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop) {
  if (!DcOrFail(hdc)) return 0;
  if (usage != DIB_RGB_COLORS) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  DibFormat format(info);
  DibSource dib(info, bits, 0, format.Valid() ? format.Height() : 0);
  if (!dib.Valid()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  int top = dib.TopRow(sourceY, sourceHeight);
  if (!StretchBlt(hdc, x, y, width, height, dib.Dc(), sourceX, top, sourceWidth, sourceHeight, rop)) return 0;
  return format.Height();
}

int SetDIBitsToDevice(HDC hdc, int x, int y, DWORD width, DWORD height, int sourceX, int sourceY, UINT startScan,
                      UINT lines, const void* bits, const BITMAPINFO* info, UINT usage) {
  if (!DcOrFail(hdc)) return 0;
  DibFormat format(info);
  if (usage != DIB_RGB_COLORS || !format.Valid() || width > 0x7FFFFFFF || height > 0x7FFFFFFF ||
      startScan > static_cast<UINT>(format.Height())) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  lines = std::min<UINT>(lines, static_cast<UINT>(format.Height()) - startScan);
  // Bottom-up scans count from the bottom row, which is also the first row in memory.
  DibSource dib(info, bits, static_cast<int>(startScan), static_cast<int>(lines));
  if (!dib.Valid()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  int w = static_cast<int>(width), h = static_cast<int>(height);
  if (!BitBlt(hdc, x, y, w, h, dib.Dc(), sourceX, dib.TopRow(sourceY, h), SRCCOPY)) return 0;
  return static_cast<int>(lines);
}

}  // namespace kestrel::platform

namespace kestrel::platform {

BOOL MaskBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY, HBITMAP mask,
             int maskX, int maskY, DWORD rop) {
  unsigned fore = (rop >> 16) & 0xFF, back = (rop >> 24) & 0xFF;
  if (!mask) return BitBlt(dest, x, y, width, height, source, sourceX, sourceY, fore << 16);
  auto bitmap = LookupGdi<Bitmap>(mask);
  if (!bitmap || !bitmap->IsMonochrome()) {
    SetLastError(bitmap ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (width < 0 || height < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  bool needsSource = ReadsSource(fore) || ReadsSource(back);
  auto make = [=](DrawingScope& scope, DeviceContext& dc) -> PixelOp {
    RopApplier apply(scope, dc, ReadsPattern(fore) || ReadsPattern(back));
    bitmap->LoadFromBits();
    cairo_surface_t* surface = bitmap->Surface();
    cairo_surface_flush(surface);
    POINT origin = scope.ToSurface(POINT{x, y});
    // Mask bit 1 (white) selects the foreground operation, 0 the background one.
    return [=](std::uint32_t& d, std::uint32_t s, int px, int py) {
      long long mx = 0LL + maskX + px - origin.x, my = 0LL + maskY + py - origin.y;
      bool foreground = false;
      if (mx >= 0 && my >= 0 && mx < bitmap->Width() && my < bitmap->Height()) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(surface) +
                                                                 my * cairo_image_surface_get_stride(surface));
        foreground = (row[mx] & 0xFFFFFF) != 0;
      }
      apply(foreground ? fore : back, d, s, px, py);
    };
  };
  return Blit(BlitRequest{dest, x, y, width, height, source, sourceX, sourceY, width, height, needsSource, true}, make);
}

}  // namespace kestrel::platform
