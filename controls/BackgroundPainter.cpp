#include "controls/BackgroundPainter.h"

#include <algorithm>
#include <limits>

#include "controls/GdiScope.h"
#include "controls/GradientPainter.h"
#include "platform/gdi/MemoryCanvas.h"

namespace kestrel {

using namespace platform;

namespace {

bool IsEmpty(const TRect& r) { return r.right <= r.left || r.bottom <= r.top; }

// Rounds towards minus infinity, so that tiles left of or above the origin line up too.
int FloorDiv(int a, int b) {
  int q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

TRect Offset(TRect r, int dx, int dy) {
  OffsetRect(&r, dx, dy);
  return r;
}

// A bitmap selected for painting from, with something to paint.
bool Usable(const MemoryCanvas& bmp) { return bmp.Valid() && bmp.Width() > 0 && bmp.Height() > 0; }

void Tile(HDC dc, const TRect& area, const MemoryCanvas& bmp, POINT origin) {
  TRect b = Offset(area, origin.x, origin.y);
  int w = bmp.Width(), h = bmp.Height();
  for (int ty = FloorDiv(b.top, h) * h; ty < b.bottom; ty += h) {
    for (int tx = FloorDiv(b.left, w) * w; tx < b.right; tx += w) {
      TRect tile{tx, ty, tx + w, ty + h}, part{};
      if (!IntersectRect(&part, &tile, &b)) continue;
      BitBlt(dc, part.left - origin.x, part.top - origin.y, part.right - part.left, part.bottom - part.top, bmp.Dc(),
             part.left - tx, part.top - ty, SRCCOPY);
    }
  }
}

void Stretch(HDC dc, const TRect& area, const TRect& reference, const MemoryCanvas& bmp, POINT origin) {
  int rw = reference.right - reference.left, rh = reference.bottom - reference.top;
  TRect part{};
  TRect b = Offset(area, origin.x, origin.y);
  if (!IntersectRect(&part, &b, &reference)) return;
  const MemoryCanvas stretched = MemoryCanvas::Dib(dc, rw, rh);
  if (!stretched.Valid()) return;
  SetStretchBltMode(stretched.Dc(), COLORONCOLOR);
  StretchBlt(stretched.Dc(), 0, 0, rw, rh, bmp.Dc(), 0, 0, bmp.Width(), bmp.Height(), SRCCOPY);
  BitBlt(dc, part.left - origin.x, part.top - origin.y, part.right - part.left, part.bottom - part.top, stretched.Dc(),
         part.left - reference.left, part.top - reference.top, SRCCOPY);
}

void Place(HDC dc, const TRect& area, const TRect& reference, TVnBackgroundType type, const MemoryCanvas& bmp,
           TColor color, POINT origin) {
  TRect placed = type == bgtCenterBitmap ? CenterRect(bmp.Width(), reference.right - reference.left, bmp.Height(),
                                                      reference.bottom - reference.top)
                                         : TRect{0, 0, bmp.Width(), bmp.Height()};
  OffsetRect(&placed, reference.left, reference.top);
  TRect b = Offset(area, origin.x, origin.y);
  TRect part{};
  if (IntersectRect(&part, &placed, &b)) {
    BitBlt(dc, part.left - origin.x, part.top - origin.y, part.right - part.left, part.bottom - part.top, bmp.Dc(),
           part.left - placed.left, part.top - placed.top, SRCCOPY);
  }
  int saved = SaveDC(dc);
  TRect painted = Offset(placed, -origin.x, -origin.y);
  if (!IsEmpty(painted)) {
    ExcludeClipRect(dc, painted.left, painted.top, painted.right, painted.bottom);
  }
  FillSolid(dc, area, ColorToRGB(color));
  RestoreDC(dc, saved);
}

bool Inside(const TRect& inner, const TRect& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

}  // namespace

TRect CenterRect(int innerWidth, int outerWidth, int innerHeight, int outerHeight) {
  TRect r;
  r.left = std::max(outerWidth / 2 - innerWidth / 2, 0);
  r.right = r.left + std::min(innerWidth, outerWidth);
  r.top = std::max(outerHeight / 2 - innerHeight / 2, 0);
  r.bottom = r.top + std::min(innerHeight, outerHeight);
  return r;
}

void PaintBitmapBackground(HDC dc, const TRect& area, const TRect& reference, TVnBackgroundType backgroundType,
                           HBITMAP bitmap, TColor color, POINT origin) {
  if (IsEmpty(area)) return;
  if (backgroundType == bgtColorFill) {
    FillSolid(dc, area, ColorToRGB(color));
    return;
  }
  bool bitmapType = backgroundType == bgtTileBitmap || backgroundType == bgtStretchBitmap ||
                    backgroundType == bgtCenterBitmap || backgroundType == bgtTopLeftBitmap;
  const MemoryCanvas bmp = MemoryCanvas::Borrowing(dc, bitmapType ? bitmap : nullptr);
  // Without a usable bitmap the colour stands in for it rather than leaving stale pixels.
  if (!Inside(Offset(area, origin.x, origin.y), reference) || (bitmapType && !Usable(bmp))) {
    FillSolid(dc, area, ColorToRGB(color));
  }
  if (!bitmapType || !Usable(bmp)) return;
  switch (backgroundType) {
    case bgtTileBitmap: Tile(dc, area, bmp, origin); break;
    case bgtStretchBitmap:
      if (!IsEmpty(reference)) Stretch(dc, area, reference, bmp, origin);
      break;
    default: Place(dc, area, reference, backgroundType, bmp, color, origin); break;
  }
}

void AlphaBlendRect(HDC dc, const TRect& destRect, HDC sourceDc, const TRect& sourceRect, bool constantAlpha,
                    std::uint8_t alpha) {
  int w = 0, h = 0, sw = 0, sh = 0;
  if (!RectSize(destRect, w, h) || !RectSize(sourceRect, sw, sh)) return;
  const MemoryCanvas source = MemoryCanvas::Dib(dc, w, h);
  const MemoryCanvas dest = MemoryCanvas::Dib(dc, w, h);
  if (!source.Valid() || !dest.Valid()) return;
  if (sw == w && sh == h) {
    BitBlt(source.Dc(), 0, 0, w, h, sourceDc, sourceRect.left, sourceRect.top, SRCCOPY);
  } else {
    SetStretchBltMode(source.Dc(), COLORONCOLOR);
    StretchBlt(source.Dc(), 0, 0, w, h, sourceDc, sourceRect.left, sourceRect.top, sw, sh, SRCCOPY);
  }
  BitBlt(dest.Dc(), 0, 0, w, h, dc, destRect.left, destRect.top, SRCCOPY);
  const std::uint32_t* s = source.Pixels();
  std::uint32_t* d = dest.Pixels();
  std::size_t count = static_cast<std::size_t>(w) * static_cast<std::size_t>(h);
  for (std::size_t i = 0; i < count; ++i) {
    std::uint32_t a = constantAlpha ? alpha : s[i] >> 24;
    // Opaque, as every other drawing on these surfaces leaves its pixels; the source's alpha
    // only weighs the blend.
    std::uint32_t out = 0xFF000000u;
    for (int shift : {0, 8, 16}) {
      std::uint32_t sc = (s[i] >> shift) & 0xFF, dc8 = (d[i] >> shift) & 0xFF;
      out |= ((sc * a + dc8 * (256 - a)) >> 8) << shift;
    }
    d[i] = out;
  }
  BitBlt(dc, destRect.left, destRect.top, w, h, dest.Dc(), 0, 0, SRCCOPY);
}

void AlphaFillRect(HDC dc, const TRect& rect, TColor color, std::uint8_t alpha) {
  int w = 0, h = 0;
  if (!RectSize(rect, w, h) || w == std::numeric_limits<int>::max() || h == std::numeric_limits<int>::max()) {
    return;
  }
  const MemoryCanvas fill = MemoryCanvas::Dib(dc, w + 1, h + 1);
  if (!fill.Valid()) return;
  FillSolid(fill.Dc(), TRect{0, 0, w + 1, h + 1}, ColorToRGB(color));
  AlphaBlendRect(dc, rect, fill.Dc(), TRect{0, 0, w, h}, true, alpha);
}

void AlphaFillRect(TCanvas* canvas, const TRect& rect, TColor color, std::uint8_t alpha) {
  if (canvas != nullptr) AlphaFillRect(canvas->Handle(), rect, color, alpha);
}

}  // namespace kestrel
