#include "controls/KsSBPainter.h"

#include "controls/KsSBHandlerCustom.h"

namespace kestrel {

TKsSBPainter::TKsSBPainter(const TKsSBHandlerCustom& bar, TCanvas& canvas)
    : bar_(bar), canvas_(canvas), geometry_(bar.Geometry()) {}

void TKsSBPainter::PaintAll() {
  canvas_.Brush()->SetColor(bar_.Color());
  canvas_.FillRect(Rect(0, 0, bar_.fWidth, bar_.fHeight));
}

}  // namespace kestrel
