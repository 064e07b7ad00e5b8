#pragma once
// Frames and edges: bevel rings, 3-D edges in custom colours, the fifteen flat border kinds and
// multi-pixel 3-D frames. Every routine paints with its own pens and brushes and leaves the DC
// as it found it; empty or inverted rectangles paint nothing.

#include "controls/DrawingTypes.h"
#include "framework/Canvas.h"
#include "framework/Colors.h"
#include "platform/gdi/Gdi.h"

namespace kestrel {

// The five colours a bordered control holds (BorderColorFace … BorderColorWindow).
struct TKsBorderColors {
  TColor Face = clBtnFace;
  TColor DkShadow = cl3DDkShadow;
  TColor Shadow = clBtnShadow;
  TColor Highlight = clBtnHighlight;
  TColor Window = clWindow;
};

// One-pixel lines on the chosen sides: left and top in `topLeftColor`, right and bottom in
// `bottomRightColor`, which owns the top-right and bottom-left corners. Returns the rectangle
// moved in by one pixel on each chosen side.
TRect PaintBevelRing(platform::HDC dc, const TRect& rect, TColor topLeftColor, TColor bottomRightColor,
                     TVnBorderSides sides);

// A 3-D edge (BDR_* bits) on the sides in `flags` (BF_LEFT/TOP/RIGHT/BOTTOM) in custom colours;
// BF_ADJUST shrinks `rect` to what is left inside, BF_MIDDLE fills that with `face`. Diagonal
// edges (BF_DIAGONAL) are the platform's own DrawEdge.
void PaintEdge3D(platform::HDC dc, TRect& rect, unsigned edgeKind, unsigned flags, TColor face, TColor dkShadow,
                 TColor highlight, TColor shadow);

// The border of a flat-styled control, two or more pixels wide. `lineColor` is used by
// fbtColorLineBorder only; `active` and `enabled` do not change the result.
void PaintFlatBorder(platform::HDC dc, const TRect& rect, TColor lineColor, TColor backColor, bool active, bool enabled,
                     TVnBorderSides sides, TKsFlatBorderType borderType, const TKsBorderColors& colors = {});

// `width` rings, each one pixel inside the previous; `rect` ends up moved in by `width`.
void PaintFrame3D(TCanvas* canvas, TRect& rect, TColor topColor, TColor bottomColor, int width);
void PaintFrame3D(platform::HDC dc, TRect& rect, TColor topColor, TColor bottomColor, int width);

}  // namespace kestrel
