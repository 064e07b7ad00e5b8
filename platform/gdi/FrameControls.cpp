// DrawFrameControl: the classic buttons, scroll parts, caption buttons and menu glyphs.
#include <algorithm>
#include <iterator>

#include "platform/core/OwnedHandles.h"
#include "platform/gdi/DcState.h"
#include "platform/gdi/Frames.h"
#include "platform/gdi/SystemColors.h"
#include "platform/gdi/internal/DeviceContext.h"
#include "platform/gdi/internal/FramePainter.h"
#include "platform/gdi/internal/Shapes.h"

namespace kestrel::platform {

namespace {
const char* const kCheck[] = {"......#", ".....##", "#...###", "##.###.", "#####..", ".###...", "..#...."};
const char* const kClose[] = {"##....##", ".##..##.", "..####..", "...##...", "..####..", ".##..##.", "##....##"};
const char* const kMinimize[] = {"........", "........", "........", "........", "........", "######..", "######.."};
const char* const kMaximize[] = {"#########", "#########", "#.......#", "#.......#",
                                 "#.......#", "#.......#", "#########"};
const char* const kRestore[] = {"..######", "..######", "..#....#", "######.#",
                                "######.#", "#....###", "#....#..", "######.."};
const char* const kHelp[] = {"..###..", ".##.##.", ".....##", "....##.", "...##..", ".......", "...##.."};
const char* const kBullet[] = {".##.", "####", "####", ".##."};

struct GlyphData {
  const char* const* rows;
  int width;
  int height;
};

template <std::size_t N>
GlyphData Data(const char* const (&rows)[N]) {
  return GlyphData{rows, static_cast<int>(std::char_traits<char>::length(rows[0])), static_cast<int>(N)};
}

RECT Square(const RECT& r) {
  int side = std::min(r.right - r.left, r.bottom - r.top);
  POINT origin = FramePainter::Centre(r, side, side);
  return RECT{origin.x, origin.y, origin.x + side, origin.y + side};
}

RECT Deflate(RECT r, int by) { return RECT{r.left + by, r.top + by, r.right - by, r.bottom - by}; }

// A glyph scaled to fit `area`, centred; inactive glyphs are embossed (highlight copy one pixel
// down and right, then the shadow colour).
void DrawGlyph(FramePainter& paint, const GlyphData& glyph, const RECT& area, COLORREF color, bool inactive,
               bool pushed) {
  int scale = FramePainter::FitScale(area, glyph.width, glyph.height);
  POINT origin = FramePainter::Centre(area, glyph.width * scale, glyph.height * scale);
  if (pushed) {
    ++origin.x;
    ++origin.y;
  }
  if (inactive) {
    paint.Glyph(glyph.rows, glyph.height, POINT{origin.x + 1, origin.y + 1}, scale, GetSysColor(COLOR_3DHILIGHT));
    color = GetSysColor(COLOR_3DSHADOW);
  }
  paint.Glyph(glyph.rows, glyph.height, origin, scale, color);
}

// The edge flag for DFCS_MONO or DFCS_FLAT (mono wins).
UINT BorderStyle(UINT state) {
  if (state & DFCS_MONO) return BF_MONO;
  return (state & DFCS_FLAT) ? BF_FLAT : 0;
}

// The frame of a push-like part; returns the content rectangle.
RECT PushFrame(FramePainter& paint, RECT r, UINT state) {
  UINT flags = BF_RECT | BF_ADJUST | BF_MIDDLE | BorderStyle(state);
  if (state & DFCS_TRANSPARENT) flags &= ~BF_MIDDLE;
  if (state & (DFCS_PUSHED | DFCS_CHECKED)) {
    // Pressed: a flat dark frame; checked: sunken with a dithered face.
    if (state & DFCS_CHECKED) {
      paint.Edge(&r, EDGE_SUNKEN, (flags | BF_SOFT) & ~BF_MIDDLE);
      if (!(state & DFCS_TRANSPARENT)) paint.Dither(r, GetSysColor(COLOR_3DHILIGHT), GetSysColor(COLOR_3DFACE));
    } else {
      paint.Edge(&r, BDR_SUNKENOUTER | BDR_SUNKENINNER, flags | BF_FLAT);
    }
    return r;
  }
  paint.Edge(&r, EDGE_RAISED, flags | BF_SOFT);
  return r;
}

void CheckBox(FramePainter& paint, const RECT& rect, UINT state) {
  RECT box = Square(rect);
  UINT flags = BF_RECT | BF_ADJUST | BorderStyle(state);
  paint.Edge(&box, EDGE_SUNKEN, flags);
  bool grey = (state & (DFCS_PUSHED | DFCS_INACTIVE));
  bool indeterminate = (state & DFCS_BUTTON3STATE) && (state & DFCS_CHECKED);
  if (indeterminate && !grey) paint.Dither(box, GetSysColor(COLOR_3DHILIGHT), GetSysColor(COLOR_3DFACE));
  else paint.FillSys(box, grey ? COLOR_3DFACE : COLOR_WINDOW);
  if (!(state & DFCS_CHECKED)) return;
  COLORREF mark = GetSysColor(indeterminate || (state & DFCS_INACTIVE) ? COLOR_3DSHADOW : COLOR_WINDOWTEXT);
  GlyphData check = Data(kCheck);
  // The classic 7×7 tick leaves a one-pixel margin inside a 9×9 field.
  int scale = std::max(1, std::min(box.right - box.left, box.bottom - box.top) / 9);
  POINT origin = FramePainter::Centre(box, 7 * scale, 7 * scale);
  paint.Glyph(check.rows, check.height, origin, scale, mark);
}

// Pixels of `ring` split by the diagonal through the centre: upper left gets `lit`.
void PaintRing(FramePainter& paint, const cairo_region_t* ring, const RECT& box, COLORREF lit, COLORREF shaded) {
  double cx = (box.left + box.right) / 2.0, cy = (box.top + box.bottom) / 2.0;
  for (int i = 0; i < cairo_region_num_rectangles(ring); ++i) {
    cairo_rectangle_int_t r;
    cairo_region_get_rectangle(ring, i, &r);
    for (int y = r.y; y < r.y + r.height; ++y)
      for (int x = r.x; x < r.x + r.width; ++x) {
        bool upperLeft = (x + 0.5 - cx) + (y + 0.5 - cy) < 0;
        paint.Fill(RECT{x, y, x + 1, y + 1}, upperLeft ? lit : shaded);
      }
  }
}

void RadioButton(FramePainter& paint, const RECT& rect, UINT type, UINT state) {
  RECT box = Square(rect);
  int side = box.right - box.left;
  if (side <= 0) return;
  CairoRegion outer(Shapes::RoundRect(box, side, side));
  if (type == DFCS_BUTTONRADIOMASK) {
    paint.FillSys(rect, COLOR_WINDOW);
    paint.FillRegion(outer.get(), RGB(0, 0, 0));
    return;
  }
  CairoRegion ring1(Shapes::Frame(outer.get(), 1, 1));
  CairoRegion inner(cairo_region_copy(outer.get()));
  cairo_region_subtract(inner.get(), ring1.get());
  CairoRegion ring2(Shapes::Frame(inner.get(), 1, 1));
  CairoRegion middle(cairo_region_copy(inner.get()));
  cairo_region_subtract(middle.get(), ring2.get());
  bool flat = state & (DFCS_FLAT | DFCS_MONO);
  if (flat) {
    COLORREF frame = GetSysColor((state & DFCS_MONO) ? COLOR_WINDOWFRAME : COLOR_3DSHADOW);
    paint.FillRegion(ring1.get(), frame);
    paint.FillRegion(ring2.get(), GetSysColor((state & DFCS_MONO) ? COLOR_WINDOW : COLOR_3DFACE));
  } else {
    PaintRing(paint, ring1.get(), box, GetSysColor(COLOR_3DSHADOW), GetSysColor(COLOR_3DHILIGHT));
    PaintRing(paint, ring2.get(), box, GetSysColor(COLOR_3DDKSHADOW), GetSysColor(COLOR_3DLIGHT));
  }
  bool grey = state & (DFCS_PUSHED | DFCS_INACTIVE);
  paint.FillRegion(middle.get(), GetSysColor(grey ? COLOR_3DFACE : COLOR_WINDOW));
  if (state & DFCS_CHECKED) {
    int dot = std::max(2, side / 3 + (side / 3 % 2 != side % 2 ? 1 : 0));
    POINT o = FramePainter::Centre(box, dot, dot);
    CairoRegion spot(Shapes::RoundRect(RECT{o.x, o.y, o.x + dot, o.y + dot}, dot, dot));
    paint.FillRegion(spot.get(), GetSysColor((state & DFCS_INACTIVE) ? COLOR_3DSHADOW : COLOR_WINDOWTEXT));
  }
}

BOOL Button(FramePainter& paint, RECT* rect, UINT state) {
  UINT type = state & 0x1F;
  switch (type) {
    case DFCS_BUTTONCHECK:
    case DFCS_BUTTON3STATE:
      CheckBox(paint, *rect, state | (type == DFCS_BUTTON3STATE ? DFCS_BUTTON3STATE : 0));
      return TRUE;
    case DFCS_BUTTONRADIO:
    case DFCS_BUTTONRADIOIMAGE:
    case DFCS_BUTTONRADIOMASK: RadioButton(paint, *rect, type, state); return TRUE;
    case DFCS_BUTTONPUSH: {
      RECT content = PushFrame(paint, *rect, state);
      if (state & DFCS_ADJUSTRECT) *rect = content;
      return TRUE;
    }
    default: return FALSE;
  }
}

// A filled triangle pointing in `direction` (0 up, 1 down, 2 left, 3 right), centred in `area`.
void Arrow(FramePainter& paint, const RECT& area, int direction, COLORREF color, POINT shift) {
  int extent = std::min(area.right - area.left, area.bottom - area.top);
  int rows = std::max(1, (extent + 1) / 4);  // a 16-pixel box gets the classic 4-row arrow
  bool vertical = direction <= 1;
  int w = vertical ? 2 * rows - 1 : rows, h = vertical ? rows : 2 * rows - 1;
  POINT o = FramePainter::Centre(area, w, h);
  o.x += shift.x;
  o.y += shift.y;
  for (int k = 0; k < rows; ++k) {
    int length = 2 * k + 1;  // row k from the tip
    switch (direction) {
      case 0: paint.Fill(RECT{o.x + rows - 1 - k, o.y + k, o.x + rows + k, o.y + k + 1}, color); break;
      case 1: paint.Fill(RECT{o.x + rows - 1 - k, o.y + rows - 1 - k, o.x + rows + k, o.y + rows - k}, color); break;
      case 2: paint.Fill(RECT{o.x + k, o.y + rows - 1 - k, o.x + k + 1, o.y + rows - 1 - k + length}, color); break;
      default:
        paint.Fill(RECT{o.x + rows - 1 - k, o.y + rows - 1 - k, o.x + rows - k, o.y + rows - 1 - k + length}, color);
        break;
    }
  }
}

void SizeGrip(FramePainter& paint, const RECT& rect, UINT state) {
  if (!(state & DFCS_TRANSPARENT)) paint.FillSys(rect, COLOR_3DFACE);
  int size = std::min(rect.right - rect.left, rect.bottom - rect.top);
  bool right = !(state & DFCS_SCROLLSIZEGRIPRIGHT);  // SIZEGRIPRIGHT puts the grip bottom left
  COLORREF colors[4] = {0, GetSysColor(COLOR_3DHILIGHT), GetSysColor(COLOR_3DSHADOW), GetSysColor(COLOR_3DSHADOW)};
  // Diagonal lines repeating highlight, shadow, shadow, gap, from the corner outwards.
  for (int d = 1; d < size; ++d) {
    int phase = (d - 1) % 4 + 1;
    if (phase == 4) continue;
    for (int k = 0; k <= d - 1; ++k) {
      LONG x = right ? rect.right - d + k : rect.left + d - 1 - k;
      LONG y = rect.bottom - 1 - k;
      paint.Fill(RECT{x, y, x + 1, y + 1}, colors[phase]);
    }
  }
}

BOOL Scroll(FramePainter& paint, RECT* rect, UINT state) {
  UINT part = state & 0x1F;
  if (part == DFCS_SCROLLSIZEGRIP || part == DFCS_SCROLLSIZEGRIPRIGHT) {
    SizeGrip(paint, *rect, state | (part == DFCS_SCROLLSIZEGRIPRIGHT ? DFCS_SCROLLSIZEGRIPRIGHT : 0));
    return TRUE;
  }
  int direction;
  switch (part) {
    case DFCS_SCROLLUP: direction = 0; break;
    case DFCS_SCROLLDOWN:
    case DFCS_SCROLLCOMBOBOX: direction = 1; break;
    case DFCS_SCROLLLEFT: direction = 2; break;
    case DFCS_SCROLLRIGHT: direction = 3; break;
    default: return FALSE;
  }
  // A pressed scroll arrow has a flat shadow frame and its arrow moves one pixel.
  bool pushed = state & DFCS_PUSHED;
  RECT content = *rect;
  if (pushed) {
    paint.Edge(&content, BDR_SUNKENOUTER, BF_RECT | BF_FLAT | BF_ADJUST | BF_MIDDLE);
    content = Deflate(content, 1);
  } else {
    content = PushFrame(paint, content, state & ~DFCS_CHECKED);
  }
  POINT shift{pushed ? 1 : 0, pushed ? 1 : 0};
  if (state & DFCS_INACTIVE) {
    Arrow(paint, content, direction, GetSysColor(COLOR_3DHILIGHT), POINT{shift.x + 1, shift.y + 1});
    Arrow(paint, content, direction, GetSysColor(COLOR_3DSHADOW), shift);
  } else {
    Arrow(paint, content, direction, GetSysColor(COLOR_BTNTEXT), shift);
  }
  return TRUE;
}

BOOL Caption(FramePainter& paint, RECT* rect, UINT state) {
  GlyphData glyph;
  switch (state & 0x1F) {
    case DFCS_CAPTIONCLOSE: glyph = Data(kClose); break;
    case DFCS_CAPTIONMIN: glyph = Data(kMinimize); break;
    case DFCS_CAPTIONMAX: glyph = Data(kMaximize); break;
    case DFCS_CAPTIONRESTORE: glyph = Data(kRestore); break;
    case DFCS_CAPTIONHELP: glyph = Data(kHelp); break;
    default: return FALSE;
  }
  RECT content = PushFrame(paint, *rect, state & ~DFCS_CHECKED);
  RECT area = Deflate(content, 2);
  DrawGlyph(paint, glyph, area, GetSysColor(COLOR_BTNTEXT), state & DFCS_INACTIVE, state & DFCS_PUSHED);
  return TRUE;
}

// Menu glyphs are masks: black on white.
BOOL Menu(FramePainter& paint, RECT* rect, UINT state) {
  paint.Fill(*rect, RGB(255, 255, 255));
  COLORREF black = RGB(0, 0, 0);
  switch (state & 0x1F) {
    case DFCS_MENUARROW: Arrow(paint, *rect, 3, black, POINT{}); return TRUE;
    case DFCS_MENUARROWRIGHT: Arrow(paint, *rect, 2, black, POINT{}); return TRUE;
    case DFCS_MENUCHECK: DrawGlyph(paint, Data(kCheck), *rect, black, false, false); return TRUE;
    case DFCS_MENUBULLET: {
      RECT area = Deflate(Square(*rect), std::min(rect->right - rect->left, rect->bottom - rect->top) / 3);
      DrawGlyph(paint, Data(kBullet), area, black, false, false);
      return TRUE;
    }
    default: return FALSE;
  }
}
}  // namespace

BOOL DrawFrameControl(HDC hdc, RECT* rect, UINT type, UINT state) {
  auto dc = DcOrFail(hdc, rect);
  if (!dc) return FALSE;
  RECT r = *rect;
  if (r.right - r.left > 32767 || r.bottom - r.top > 32767) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (r.right <= r.left || r.bottom <= r.top) return TRUE;
  DrawingScope scope(*dc);
  FramePainter paint(scope, *dc);
  switch (type) {
    case DFC_BUTTON: return Button(paint, rect, state);
    case DFC_SCROLL: return Scroll(paint, rect, state);
    case DFC_CAPTION: return Caption(paint, rect, state);
    case DFC_MENU:
    case DFC_POPUPMENU: return Menu(paint, rect, state);
    default: SetLastError(ERROR_INVALID_PARAMETER); return FALSE;
  }
}

}  // namespace kestrel::platform
