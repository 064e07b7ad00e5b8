#include "framework/GraphicControl.h"

namespace kestrel {

KESTREL_IMPLEMENT_CLASS(TGraphicControl, TControl)

TGraphicControl::TGraphicControl(TComponent* owner)
    : TControl(owner), canvas_(std::make_unique<TControlCanvas>(this)) {}

TGraphicControl::~TGraphicControl() = default;

void TGraphicControl::WndProc(TMessage& m) {
  if (m.Msg == platform::WM_PAINT && m.WParam) {
    // The parent's DC, already moved and clipped to this control.
    canvas_->PaintOn(reinterpret_cast<platform::HDC>(m.WParam), [this] { Paint(); });
    return;
  }
  TControl::WndProc(m);
}

}  // namespace kestrel
