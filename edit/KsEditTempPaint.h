#pragma once
// The edit control's simple paint pass: the background (its colour, or the tiled background
// bitmap), the visible lines (masked, tabs expanded) with the selection in its colours (opaque,
// or laid over translucently below alpha 255), and the cue banner. Painting only what changed,
// image-form and see-through backgrounds and themed backgrounds are the full painter's work,
// which replaces this pass.

#include <string_view>

#include "framework/Canvas.h"

namespace kestrel {

class TCustomKsEdit;

class TKsEditTempPaint {
 public:
  explicit TKsEditTempPaint(TCustomKsEdit& edit) : edit_(edit) {}

  // The background of the client area; sets the clip rectangle of the lines.
  void PaintBackground(TCanvas& canvas);
  void PaintLine(TCanvas& canvas, int y);
  // While the edit is unfocused and empty.
  bool CueBannerShown() const;
  void PaintCueBanner(TCanvas& canvas);

 private:
  // The selected columns of line Y ([First, Last) in the line's units); false when none.
  bool SelectedColumns(int y, int& first, int& last) const;
  // Draws the units [From, To) of Line at X; answers the X after them.
  int PaintRun(TCanvas& canvas, int x, int top, std::u16string_view run, bool selected);

  TCustomKsEdit& edit_;
  TRect clip_{};
};

}  // namespace kestrel
