#pragma once
// DrawString's and MeasureString's layout: a string set with pango on the program's private font
// configuration, wrapped, aligned, trimmed and limited to a layout rectangle by a string format.
// Everything is in world units; the glyph outlines are handed to cairo as a path, so drawing
// follows the graphics' transform, clip and brush like any other fill.
//
// Rules:
// - From a point, or in a rectangle of width 0, text does not wrap and aligns on the x given
//   (centre: centred on it, far: ending there); a height of 0 leaves the height unbounded.
// - In a rectangle, lines wrap at word boundaries (long words between characters) unless
//   StringFormatFlagsNoWrap; with StringFormatFlagsLineLimit only whole lines show; the
//   ellipsis trimmings end the last shown line (or the only line, unwrapped) with "…".
// - The text ends at its first NUL, if the count reaches one.
// - The text is clipped to the rectangle unless StringFormatFlagsNoClip or laid out from a point.
// - Grid-fitting hints place glyphs on whole pixels; the anti-alias hints keep fractional
//   positions; single-bit hints paint without anti-aliasing.

#include <cairo.h>

#include <memory>
#include <mutex>
#include <string_view>

#include "platform/gdiplus/GdiPlusTypes.h"
#include "platform/gdiplus/TGPFont.h"
#include "platform/gdiplus/TGPStringFormat.h"

namespace kestrel::platform {

struct StringLayoutRequest {
  std::u16string_view text;
  const TGPFont* font = nullptr;
  TGPRectF rect;  // the layout rectangle, or the origin with width and height 0
  bool fromPoint = false;
  const TGPStringFormat* format = nullptr;  // null: the default format
  TextRenderingHint hint = TextRenderingHintSystemDefault;
};

class StringLayout {
 public:
  explicit StringLayout(const StringLayoutRequest& request);
  ~StringLayout();
  StringLayout(const StringLayout&) = delete;
  StringLayout& operator=(const StringLayout&) = delete;

  // The box the shown lines take, padding included.
  TGPRectF Bounds() const { return bounds_; }
  // UTF-16 units of the caller's string (prefix marks included) up to the end of the last
  // shown line.
  INT CharactersFitted() const { return fitted_; }
  INT LinesFilled() const { return lines_; }
  bool Antialiased() const;
  // Whether drawing is clipped to the layout rectangle.
  bool Clipped() const { return clipped_; }
  const TGPRectF& ClipRect() const { return clip_; }
  // Appends the outlines of the shown lines (underlines and strike-outs included).
  void AppendPath(cairo_t* cr) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  TGPRectF bounds_;
  INT fitted_ = 0;
  INT lines_ = 0;
  bool clipped_ = false;
  TGPRectF clip_;
};

}  // namespace kestrel::platform
