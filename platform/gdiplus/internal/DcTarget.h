#pragma once
// Drawing on a device context: each call opens a drawing scope, so the DC's origins and clip
// apply, and ends it, which publishes the change (DIB bits, window damage). The handle is looked
// up on every call: once the DC is deleted, drawing fails as GDI+ does. DcTarget.cpp also holds
// the TGPGraphics(HDC) constructor.

#include <optional>

#include "platform/gdi/internal/DeviceContext.h"
#include "platform/gdiplus/TGPGraphics.h"

namespace kestrel::platform {

class DcTarget : public TGPGraphics::Target {
 public:
  explicit DcTarget(HDC hdc) : hdc_(hdc) {}
  cairo_t* Begin() override;
  void End(cairo_t* cr, const cairo_rectangle_int_t& damage) override;

 private:
  HDC hdc_;
  std::shared_ptr<DeviceContext> dc_;
  std::optional<DrawingScope> scope_;
};

}  // namespace kestrel::platform
