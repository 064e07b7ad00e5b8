#pragma once
// Antialiased flat shapes on a device context for the theme's drawings: whole-pixel rectangles
// fill exactly their pixels, one-pixel outlines sit on the rectangle's outermost pixels.

#include <initializer_list>
#include <optional>

#include "platform/core/WinTypes.h"
#include "platform/gdiplus/TGPGraphics.h"

namespace kestrel::platform {

class ThemeCanvas {
 public:
  // A null `hdc` gives a canvas that draws nothing (for asking whether a part is defined).
  explicit ThemeCanvas(HDC hdc);

  void Fill(const RECT& r, COLORREF color);
  void RoundFill(const RECT& r, int radius, COLORREF color);
  // A `width`-pixel outline inside `r`.
  void RoundFrame(const RECT& r, int radius, COLORREF color, float width = 1.0f);
  void Frame(const RECT& r, COLORREF color);
  void Ellipse(const RECT& r, COLORREF color);
  void EllipseFrame(const RECT& r, COLORREF color, float width = 1.0f);
  // An open polyline through pixel centres (x + 0.5, y + 0.5), round caps and joins.
  void Polyline(std::initializer_list<TGPPointF> points, COLORREF color, float width);

 private:
  std::optional<TGPGraphics> graphics_;
};

RECT Inset(const RECT& r, int by);
RECT Inset(const RECT& r, int dx, int dy);
int Width(const RECT& r);
int Height(const RECT& r);
// A w × h rectangle centred in `r`.
RECT Centred(const RECT& r, int w, int h);

}  // namespace kestrel::platform
