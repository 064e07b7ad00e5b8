#pragma once
// Paints the visible lines of an edit control into a canvas: each line masked, cut to the columns
// in view, placed by the control's alignment, and split into the runs before, inside and after
// the selection, the selected run in the focused or hidden selection colours (opaque, or laid
// over translucently below alpha 255). The caret is hidden while the lines paint.

#include <string_view>

#include "framework/Canvas.h"
#include "platform/gdi/GdiTypes.h"

namespace kestrel {

class TCustomKsEdit;

class TKsEditLinePainter {
 public:
  explicit TKsEditLinePainter(TCustomKsEdit& edit) : edit_(edit) {}

  // The lines in view that reach into the part of Shown (the control's DC) being painted, each
  // through the control's PaintLine slot.
  void PaintLines(platform::HDC shown);
  void PaintLine(TCanvas& canvas, int y);

 private:
  // The selected columns of line Y ([First, Last) in the line's units); false when none shows.
  bool SelectedColumns(int y, int& first, int& last) const;
  // Draws Run at X on the line whose baseline is Baseline; answers the X after it.
  int PaintRun(TCanvas& canvas, int x, int baseline, std::u16string_view run, bool selected);
  void SetRunColours(bool selected);
  TRect LineClip() const;

  TCustomKsEdit& edit_;
};

}  // namespace kestrel
