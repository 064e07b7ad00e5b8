#include "platform/gdiplus/internal/DcTarget.h"
#include "platform/gdi/internal/DeviceContext.h"

namespace kestrel::platform {

cairo_t* DcTarget::Begin() {
  dc_ = LookupDeviceContext(hdc_);
  if (!dc_) return nullptr;
  scope_.emplace(*dc_);
  cairo_t* cr = scope_->Cairo();
  if (!cr) {
    scope_.reset();
    dc_.reset();
  }
  return cr;
}

void DcTarget::End(cairo_t*, const cairo_rectangle_int_t& damage) {
  if (!scope_) return;
  if (damage.width > 0 && damage.height > 0)
    scope_->AddDamage(RECT{damage.x, damage.y, damage.x + damage.width, damage.y + damage.height});
  scope_.reset();  // the scope owns its cairo context
  dc_.reset();
}

TGPGraphics::TGPGraphics(HDC hdc) {
  if (!LookupDeviceContext(hdc)) {
    Remember(InvalidParameter);
    return;
  }
  target_ = std::make_unique<DcTarget>(hdc);
}

}  // namespace kestrel::platform
