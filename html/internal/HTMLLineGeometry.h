#pragma once
// Where things sit on a laid-out line, shared by painting and hit testing so that both agree to
// the pixel: the line's start by its alignment, how far each item moves the pen, the text of a
// list number, and the item under a point.

#include "html/HTMLData.h"

namespace kestrel {

class THTMLLineGeometry {
 public:
  // x of a line's first item: the indent for left-aligned lines, otherwise centred or
  // right-aligned in `available` pixels (the width of the target rectangle, right − left + 1).
  static int LineStart(const TVnHTMLBreakItem& line, int available);
  // The pen position after a non-break item drawn at `x`.
  static int Advance(TVnHTMLItem& item, int x);
  // "N." of a numbered list item (empty for a bullet) and its width in the item's font.
  static String ListNumberText(const TVnHTMLBreakItem& item);
  static int ListNumberWidth(TVnHTMLBreakItem& item);
  // Vertical shift of a run's baseline: superscript up by half its height, subscript down by a
  // quarter (positive = down).
  static int BaselineShift(TVnHTMLItem& item);
  // The item under (px, py) in text coordinates; only the line whose bottom first lies below
  // py is searched; break items are never hit.
  static TVnHTMLItem* ItemAt(TVnHTMLData& data, int px, int py, int available);
};

}  // namespace kestrel
