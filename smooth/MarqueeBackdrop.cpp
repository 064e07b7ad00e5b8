#include "smooth/MarqueeBackdrop.h"

#include "platform/gdi/Gdi.h"

namespace kestrel {

namespace pf = platform;

bool MarqueeBackdrop::Holds(const void* parent, const TRect& bounds) const {
  return picture_.Valid() && parent == parent_ && bounds.left == bounds_.left && bounds.top == bounds_.top &&
         bounds.right == bounds_.right && bounds.bottom == bounds_.bottom;
}

pf::HDC MarqueeBackdrop::Restart(pf::HDC reference, const void* parent, const TRect& bounds) {
  const int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
  Clear();
  if (width <= 0 || height <= 0) return nullptr;
  pf::MemoryCanvas picture = pf::MemoryCanvas::Compatible(reference, width, height);
  if (!picture.Valid()) return nullptr;
  picture_ = std::move(picture);
  parent_ = parent;
  bounds_ = bounds;
  return picture_.Dc();
}

void MarqueeBackdrop::CopyTo(pf::HDC dc, const TRect& area) const {
  if (!picture_.Valid()) return;
  pf::BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, picture_.Dc(), area.left,
             area.top, pf::SRCCOPY);
}

void MarqueeBackdrop::Clear() {
  picture_.Reset();
  parent_ = nullptr;
  bounds_ = {};
}

}  // namespace kestrel
