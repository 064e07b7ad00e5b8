#pragma once
// Owning wrappers for GDI handles: a pen, brush, font, bitmap or region deleted with DeleteObject,
// a memory DC deleted with DeleteDC, and a selection that puts the DC's previous object back.

#include <memory>
#include <type_traits>

#include "platform/gdi/DcState.h"

namespace kestrel::platform {

struct DeleteGdiObject {
  void operator()(void* object) const noexcept {
    if (object) DeleteObject(object);
  }
};

struct DeleteMemoryDC {
  void operator()(HDC hdc) const noexcept {
    if (hdc) DeleteDC(hdc);
  }
};

template <class Handle>
using OwnedGdiObject = std::unique_ptr<std::remove_pointer_t<Handle>, DeleteGdiObject>;
using OwnedPen = OwnedGdiObject<HPEN>;
using OwnedBrush = OwnedGdiObject<HBRUSH>;
using OwnedFont = OwnedGdiObject<HFONT>;
using OwnedBitmap = OwnedGdiObject<HBITMAP>;
using OwnedRegion = OwnedGdiObject<HRGN>;
using OwnedGdiHandle = std::unique_ptr<void, DeleteGdiObject>;  // an HGDIOBJ of any kind
using OwnedMemoryDC = std::unique_ptr<std::remove_pointer_t<HDC>, DeleteMemoryDC>;

// Selects an object into a DC for the length of a scope, then selects the previous one again.
class SelectedObject {
 public:
  SelectedObject(HDC hdc, HGDIOBJ object) : hdc_(hdc), previous_(SelectObject(hdc, object)) {}
  ~SelectedObject() {
    if (previous_ && previous_ != HGDI_ERROR) SelectObject(hdc_, previous_);
  }
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;

 private:
  HDC hdc_;
  HGDIOBJ previous_;
};

}  // namespace kestrel::platform
