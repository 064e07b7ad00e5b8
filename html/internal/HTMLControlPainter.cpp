#include "html/internal/HTMLControlPainter.h"

namespace kestrel {

KESTREL_IMPLEMENT_CLASS(TVnHTMLControlPainter, TObject)

void TVnHTMLControlPainter::PaintTo(TCanvas*, const TRect&) {}

}  // namespace kestrel
