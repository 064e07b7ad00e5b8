#include "framework/CustomControl.h"

namespace kestrel {

KESTREL_IMPLEMENT_CLASS(TCustomControl, TWinControl)

TCustomControl::TCustomControl(TComponent* owner)
    : TWinControl(owner), canvas_(std::make_unique<TControlCanvas>(this)) {}

TCustomControl::~TCustomControl() = default;

void TCustomControl::PaintWindow(platform::HDC dc) {
  canvas_->PaintOn(dc, [this] { Paint(); });
}

}  // namespace kestrel
