#include "controls/GradientPainter.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>

#include "controls/GdiScope.h"
#include "platform/gdi/MemoryCanvas.h"
#include "platform/gdi/OwnedGdi.h"
#include "platform/text/TextOut.h"

namespace kestrel {

using namespace platform;

namespace {

int Channel(COLORREF c, int shift) { return static_cast<int>((c >> shift) & 0xFF); }

int RoundEven(double v) { return static_cast<int>(std::nearbyint(v)); }

// Diagonal shapes reach twice the rectangle's size; keep huge ones inside the coordinate range.
POINT Pt(std::int64_t x, std::int64_t y) {
  auto clamp = [](std::int64_t v) { return static_cast<LONG>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX)); };
  return POINT{clamp(x), clamp(y)};
}

class ShapePainter {
 public:
  ShapePainter(HDC dc, const TGradientColors& colors, bool paletteRelative)
      : dc_(dc), colors_(colors), paletteRelative_(paletteRelative) {}

  void Paint(int shape, const TRect& r) {
    switch (shape) {
      case 0: HorizontalStripes(r); break;
      case 1: VerticalBands(r); break;
      case 2: Squares(r); break;
      case 3: Ellipses(r); break;
      case 4:
      case 5:
      case 6:
      case 7: CornerBlocks(r, shape - 4); break;
      case 8:
      case 9: Diagonals(r, shape == 9); break;
      default: break;
    }
  }

 private:
  int Count() const { return static_cast<int>(colors_.size()); }

  HBRUSH Brush(int i) const {
    COLORREF c = colors_[static_cast<std::size_t>(i)];
    return CreateSolidBrush(paletteRelative_ ? (0x02000000u | c) : c);
  }
  void Fill(int i, const TRect& r) const { FillRect(dc_, &r, OwnedBrush(Brush(i)).get()); }
  // The shape fills below draw with a null pen and so cover one pixel less to the right and
  // bottom than their coordinates.
  template <class Draw>
  void Shape(int i, Draw draw) const {
    const OwnedBrush brush(Brush(i));
    const SelectedObject selectBrush(dc_, brush.get());
    const SelectedObject selectPen(dc_, GetStockObject(NULL_PEN));
    draw();
  }

  void HorizontalStripes(const TRect& r) const {
    int w = r.right - r.left, n = Count();
    for (int i = 0; i < n; ++i) {
      Fill(i, TRect{r.left + MulDiv(i, w, n), r.top, r.left + MulDiv(i + 1, w, n), r.bottom});
    }
  }
  void VerticalBands(const TRect& r) const {
    int h = r.bottom - r.top, n = Count();
    for (int i = n - 1; i >= 0; --i) {
      Fill(i, TRect{r.left, r.top + MulDiv(i, h, n), r.right, r.top + MulDiv(i + 1, h, n)});
    }
  }
  void Squares(const TRect& r) const {
    int w = r.right - r.left, h = r.bottom - r.top, n = Count();
    int cx = r.left + w / 2, cy = r.top + h / 2;
    for (int i = n - 1; i >= 0; --i) {
      int a = MulDiv(i + 1, w, n) / 2, b = MulDiv(i + 1, h, n) / 2;
      Shape(i, [&] { Rectangle(dc_, cx - a, cy - b, cx + a + 2, cy + b + 2); });
    }
  }
  void Ellipses(const TRect& r) const {
    int w = r.right - r.left, h = r.bottom - r.top, n = Count();
    int cx = r.left + w / 2, cy = r.top + h / 2;
    for (int i = n - 1; i >= 0; --i) {
      int a = RoundEven(MulDiv(i + 1, w, n) / 1.4), b = RoundEven(MulDiv(i + 1, h, n) / 1.4);
      Shape(i, [&] { Ellipse(dc_, cx - a, cy - b, cx + a, cy + b); });
    }
  }
  // corner: 0 top-left, 1 top-right, 2 bottom-left, 3 bottom-right.
  void CornerBlocks(const TRect& r, int corner) const {
    int w = r.right - r.left, h = r.bottom - r.top, n = Count();
    bool right = corner & 1, bottom = corner & 2;
    for (int i = n - 1; i >= 0; --i) {
      int a = MulDiv(i + 1, w, n), b = MulDiv(i + 1, h, n);
      int left = right ? r.right - a : r.left;
      int top = bottom ? r.bottom - b : r.top;
      Shape(i, [&] { Rectangle(dc_, left, top, left + a + 1, top + b + 1); });
    }
  }
  void Diagonals(const TRect& r, bool fromRight) const {
    int w = r.right - r.left, h = r.bottom - r.top, n = Count();
    for (int i = n - 1; i >= 0; --i) {
      std::int64_t a = 2 * std::int64_t{MulDiv(i + 1, w, n)};
      std::int64_t b = 2 * std::int64_t{MulDiv(i + 1, h, n)};
      std::int64_t l = r.left, t = r.top, rt = r.right + std::int64_t{1};
      POINT leftPts[4] = {Pt(l, t), Pt(l + a, t), Pt(l, t + 1 + b), Pt(l - a, t + 1 + b)};
      POINT rightPts[4] = {Pt(rt, t), Pt(rt - a, t), Pt(rt, t + b), Pt(rt + a, t + b)};
      Shape(i, [&] { Polygon(dc_, fromRight ? rightPts : leftPts, 4); });
    }
  }

  HDC dc_;
  const TGradientColors& colors_;
  bool paletteRelative_;
};

constexpr BYTE kPaletteEntryFlags = 4;  // reserved for this palette, not mapped to others

HPALETTE CreateGradientPalette(const TGradientColors& colors) {
  std::size_t n = colors.size();  // at most 65535, the largest step count
  std::vector<unsigned char> storage(sizeof(LOGPALETTE) + n * sizeof(PALETTEENTRY));
  auto* palette = reinterpret_cast<LOGPALETTE*>(storage.data());
  palette->palVersion = 0x300;
  palette->palNumEntries = static_cast<WORD>(n);
  for (std::size_t i = 0; i < n; ++i) {
    palette->palPalEntry[i] =
        PALETTEENTRY{static_cast<BYTE>(colors[i] & 0xFF), static_cast<BYTE>((colors[i] >> 8) & 0xFF),
                     static_cast<BYTE>((colors[i] >> 16) & 0xFF), kPaletteEntryFlags};
  }
  return CreatePalette(palette);
}

// Paints the shapes into `target` (rectangle `r` in its coordinates), with the gradient palette
// selected there while painting when asked.
void PaintShapes(HDC target, const TRect& r, const TGradientColors& colors, int shape, bool usePalette) {
  const OwnedGdiObject<HPALETTE> palette(usePalette ? CreateGradientPalette(colors) : nullptr);
  HPALETTE previous = nullptr;
  if (palette) {
    previous = SelectPalette(target, palette.get(), FALSE);
    RealizePalette(target);
  }
  ShapePainter(target, colors, palette != nullptr).Paint(shape, r);
  if (palette) SelectPalette(target, previous, FALSE);
}

}  // namespace

void FillSolid(HDC dc, const TRect& rect, COLORREF rgb) {
  COLORREF previous = SetBkColor(dc, rgb);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
  if (previous != CLR_INVALID) SetBkColor(dc, previous);
}

void MakeGradientColors(TColor startColor, TColor endColor, std::uint16_t steps, TGradientColors* list,
                        bool clearFirst) {
  if (list == nullptr || steps == 0) return;
  if (clearFirst) list->clear();
  COLORREF start = ColorToRGB(startColor);
  COLORREF end = ColorToRGB(endColor);
  int d = steps - 1;
  for (int i = clearFirst ? 0 : 1; i <= d; ++i) {
    COLORREF c = 0;
    for (int shift : {0, 8, 16}) {
      int from = Channel(start, shift);
      int step = d == 0 ? 0 : MulDiv(i, Channel(end, shift) - from, d);
      c |= static_cast<COLORREF>((from + step) & 0xFF) << shift;
    }
    list->push_back(c);
  }
}

void PaintGradient(HDC dc, const TRect& rect, TColor startColor, TColor endColor, int steps, int shape,
                   unsigned options, std::uint32_t clipOffset) {
  TGradientColors colors;
  MakeGradientColors(startColor, endColor, static_cast<std::uint16_t>(std::clamp(steps, 0, 65535)), &colors, true);
  int w = 0, h = 0;
  if (colors.empty() || !RectSize(rect, w, h)) return;
  // The display reports 32 bits per pixel, so the palette is used whenever it is asked for: the
  // application's automatic palette realisation only skips it on displays below 9 bits.
  bool usePalette = (options & kGradientPalette) != 0;
  if (options & kGradientBuffered) {
    const MemoryCanvas buffer = MemoryCanvas::Dib(dc, w, h);
    if (!buffer.Valid()) return;
    PaintShapes(buffer.Dc(), TRect{0, 0, w, h}, colors, shape, usePalette);
    BitBlt(dc, rect.left, rect.top, w, h, buffer.Dc(), 0, 0, SRCCOPY);
    return;
  }
  int saved = 0;
  if (options & kGradientClip) {
    TRect clip = rect;
    if (clipOffset != 0) {
      OffsetRect(&clip, static_cast<int>(clipOffset & 0xFFFF), static_cast<int>(clipOffset >> 16));
    }
    // The caller's own clipping comes back afterwards.
    saved = SaveDC(dc);
    IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
  }
  PaintShapes(dc, rect, colors, shape, usePalette);
  if (saved != 0) RestoreDC(dc, saved);
}

void PaintGradient(TCanvas* canvas, const TRect& rect, TColor startColor, TColor endColor, int steps, int shape,
                   unsigned options, std::uint32_t clipOffset) {
  if (canvas != nullptr) {
    PaintGradient(canvas->Handle(), rect, startColor, endColor, steps, shape, options, clipOffset);
  }
}

}  // namespace kestrel
