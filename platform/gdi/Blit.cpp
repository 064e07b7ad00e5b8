#include "platform/gdi/Blit.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/gdi/DcState.h"
#include "platform/gdi/DibFormat.h"
#include "platform/gdi/Raster.h"

namespace kestrel::platform {

namespace {
constexpr unsigned kSrcCopy = 0xCC;

bool ReadsSource(unsigned rop) { return ((rop >> 2) ^ rop) & 0x33; }
bool ReadsPattern(unsigned rop) { return ((rop >> 4) ^ rop) & 0x0F; }

// The source rectangle copied out of its surface (so overlapping blits read unchanged pixels),
// converted to the destination's depth.
class SourceBlock {
 public:
  SourceBlock(DrawingScope& scope, const RECT& r) : rect_(r) {
    PixelView view = scope.Pixels();
    int w = r.right - r.left, h = r.bottom - r.top;
    pixels_.assign(static_cast<std::size_t>(w) * h, 0);
    present_.assign(pixels_.size(), false);
    for (int y = r.top; y < r.bottom; ++y) {
      if (y < 0 || y >= view.height) continue;
      for (int x = std::max<LONG>(r.left, 0); x < std::min<LONG>(r.right, view.width); ++x) {
        std::size_t i = static_cast<std::size_t>(y - r.top) * w + (x - r.left);
        pixels_[i] = view.Row(y)[x];
        present_[i] = true;
      }
    }
  }

  // Applies the depth conversion rules once for the whole block.
  void Convert(bool sourceMono, bool destMono, std::uint32_t sourceBk, std::uint32_t destText,
               std::uint32_t destBk) {
    if (sourceMono == destMono) return;
    for (auto& p : pixels_) {
      if (sourceMono)
        p = (p & 0xFFFFFF) ? destBk : destText;
      else
        p = (p & 0xFFFFFF) == (sourceBk & 0xFFFFFF) ? 0xFFFFFFFFu : 0xFF000000u;
    }
  }

  bool At(int x, int y, std::uint32_t& out) const {
    if (x < rect_.left || x >= rect_.right || y < rect_.top || y >= rect_.bottom) return false;
    std::size_t i = static_cast<std::size_t>(y - rect_.top) * (rect_.right - rect_.left) + (x - rect_.left);
    if (!present_[i]) return false;
    out = pixels_[i];
    return true;
  }

 private:
  RECT rect_;
  std::vector<std::uint32_t> pixels_;
  std::vector<bool> present_;
};

// Source pixel index along one axis for destination offset `i` of `count`, mirroring when the
// two extents have opposite signs.
int MapAxis(int i, int destCount, int sourceCount, bool mirror) {
  long long s = static_cast<long long>(i) * sourceCount / destCount;
  return mirror ? sourceCount - 1 - static_cast<int>(s) : static_cast<int>(s);
}

struct Extent {
  int start;   // lowest surface coordinate
  int count;   // > 0
  bool flipped;
};

Extent Normalize(int start, int size) {
  return size < 0 ? Extent{start + size, -size, true} : Extent{start, size, false};
}

BOOL Transfer(HDC dest, int x, int y, int w, int h, HDC source, int sx, int sy, int sw, int sh,
              DWORD rop) {
  auto dc = DcOrFail(dest);
  if (!dc) return FALSE;
  unsigned index = (rop >> 16) & 0xFF;
  bool needsSource = ReadsSource(index);
  std::shared_ptr<DeviceContext> src;
  if (needsSource) {
    src = DcOrFail(source);
    if (!src) return FALSE;
  }
  if (w == 0 || h == 0 || (needsSource && (sw == 0 || sh == 0))) return TRUE;
  if (!needsSource) {
    sw = w;
    sh = h;
  }
  DrawingScope scope(*dc);
  if (!scope.HasTarget()) return FALSE;
  Raster pattern(scope, *dc);
  bool hasPattern = ReadsPattern(index) && pattern.UseSelectedBrush();

  POINT d0 = scope.ToSurface(POINT{x, y});
  Extent dx = Normalize(d0.x, w), dy = Normalize(d0.y, h);
  std::unique_ptr<SourceBlock> block;
  Extent ex{0, 1, false}, ey{0, 1, false};
  if (needsSource) {
    // A scope on the source DC only when it is another DC (a DC may blit onto itself).
    std::unique_ptr<DrawingScope> own;
    DrawingScope* sourceScope = &scope;
    if (src != dc) {
      own = std::make_unique<DrawingScope>(*src);
      sourceScope = own.get();
    }
    if (!sourceScope->HasTarget()) return FALSE;
    POINT s0 = sourceScope->ToSurface(POINT{sx, sy});
    ex = Normalize(s0.x, sw);
    ey = Normalize(s0.y, sh);
    block = std::make_unique<SourceBlock>(
        *sourceScope, RECT{ex.start, ey.start, ex.start + ex.count, ey.start + ey.count});
    block->Convert(sourceScope->IsMonochrome(), scope.IsMonochrome(),
                   sourceScope->DeviceColor(src->State().bkColor),
                   scope.DeviceColor(dc->State().textColor), scope.DeviceColor(dc->State().bkColor));
  }

  PixelView view = scope.Pixels();
  RECT target{dx.start, dy.start, dx.start + dx.count, dy.start + dy.count};
  const cairo_region_t* clip = scope.Clip();
  for (int i = 0; i < cairo_region_num_rectangles(clip); ++i) {
    cairo_rectangle_int_t c;
    cairo_region_get_rectangle(clip, i, &c);
    RECT r{std::max<LONG>(target.left, c.x), std::max<LONG>(target.top, c.y),
           std::min<LONG>(target.right, c.x + c.width), std::min<LONG>(target.bottom, c.y + c.height)};
    if (r.left >= r.right || r.top >= r.bottom) continue;
    for (int py = r.top; py < r.bottom; ++py) {
      std::uint32_t* row = view.Row(py);
      int syy = ey.start + MapAxis(py - dy.start, dy.count, ey.count, dy.flipped != ey.flipped);
      for (int px = r.left; px < r.right; ++px) {
        std::uint32_t s = 0, p = 0xFF000000u;
        if (block) {
          int sxx = ex.start + MapAxis(px - dx.start, dx.count, ex.count, dx.flipped != ex.flipped);
          if (!block->At(sxx, syy, s)) continue;
        }
        if (hasPattern && !pattern.SourceAt(px, py, p)) p = row[px];
        row[px] = index == kSrcCopy ? s : (TernaryRop(index, p, s, row[px]) | 0xFF000000u);
      }
    }
    scope.AddDamage(r);
  }
  return TRUE;
}
}  // namespace

std::uint32_t TernaryRop(unsigned rop, std::uint32_t p, std::uint32_t s, std::uint32_t d) {
  std::uint32_t result = 0;
  for (unsigned i = 0; i < 8; ++i) {
    if (!(rop & (1u << i))) continue;
    result |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
  }
  return result;
}

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
            DWORD rop) {
  return Transfer(dest, x, y, width, height, source, sourceX, sourceY, width, height, rop);
}

BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC source, int sourceX,
                int sourceY, int sourceWidth, int sourceHeight, DWORD rop) {
  return Transfer(dest, x, y, width, height, source, sourceX, sourceY, sourceWidth, sourceHeight,
                  rop);
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
  POINT p = scope.ToSurface(POINT{x, y});
  Extent ex = Normalize(p.x, width), ey = Normalize(p.y, height);
  raster.FillSurfaceRect(RECT{ex.start, ey.start, ex.start + ex.count, ey.start + ey.count});
  return TRUE;
}

}  // namespace kestrel::platform
