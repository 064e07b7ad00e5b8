#pragma once
// Paints one owner-drawn scroll bar into a canvas whose origin is the bar's top-left corner.

#include "controls/KsSBGeometry.h"
#include "controls/KsSBTypes.h"
#include "framework/Canvas.h"

namespace kestrel {

class TKsSBHandlerCustom;

class TKsSBPainter {
 public:
  TKsSBPainter(const TKsSBHandlerCustom& bar, TCanvas& canvas);
  void PaintAll();

 private:
  const TKsSBHandlerCustom& bar_;
  TCanvas& canvas_;
  TKsSBGeometry geometry_;
};

}  // namespace kestrel
