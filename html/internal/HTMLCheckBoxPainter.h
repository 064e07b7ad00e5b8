#pragma once
// Draws a check box or radio button input: the themed button part when themes are in use,
// otherwise the classic frame control; a focus rectangle marks the selected input.

#include "html/internal/HTMLControlPainter.h"

namespace kestrel {

class TVnHTMLCheckBoxPainter : public TVnHTMLControlPainter {
  KESTREL_CLASS(TVnHTMLCheckBoxPainter)
  explicit TVnHTMLCheckBoxPainter(TVnHTMLInputItem* AInputItem) : TVnHTMLControlPainter(AInputItem) {}

  void PaintTo(TCanvas* Canvas, const TRect& ARect) override;

 private:
  bool Hot() const;
  void PaintThemed(platform::HDC dc, const TRect& r) const;
  void PaintClassic(platform::HDC dc, const TRect& r) const;
};

}  // namespace kestrel
