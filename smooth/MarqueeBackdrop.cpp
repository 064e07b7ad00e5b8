#include "smooth/MarqueeBackdrop.h"

#include "platform/gdi/Gdi.h"

namespace kestrel {

namespace pf = platform;

bool MarqueeBackdrop::Holds(const void* parent, const TRect& bounds) const {
  return dc_ && parent == parent_ && bounds.left == bounds_.left && bounds.top == bounds_.top &&
         bounds.right == bounds_.right && bounds.bottom == bounds_.bottom;
}

pf::HDC MarqueeBackdrop::Restart(pf::HDC reference, const void* parent, const TRect& bounds) {
  const int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
  Clear();
  if (width <= 0 || height <= 0) return nullptr;
  pf::OwnedBitmap bitmap(pf::CreateCompatibleBitmap(reference, width, height));
  pf::OwnedMemoryDC dc(pf::CreateCompatibleDC(reference));
  if (!bitmap || !dc) return nullptr;
  pf::SelectObject(dc.get(), bitmap.get());
  bitmap_ = std::move(bitmap);
  dc_ = std::move(dc);
  parent_ = parent;
  bounds_ = bounds;
  return dc_.get();
}

void MarqueeBackdrop::CopyTo(pf::HDC dc, const TRect& area) const {
  if (!dc_) return;
  pf::BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, dc_.get(), area.left, area.top,
             pf::SRCCOPY);
}

void MarqueeBackdrop::Clear() {
  dc_.reset();
  bitmap_.reset();
  parent_ = nullptr;
  bounds_ = {};
}

}  // namespace kestrel
