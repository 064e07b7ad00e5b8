#pragma once
// What lies under a marquee's bullets: the parent's image where the control lies with the fill
// painted over it, kept as a picture while the bullets move. A tick puts back the pixels where
// the bullets were by copying them from here instead of painting the parent and the fill again.
// The picture holds only for the parent and the rectangle it was painted for; a transparent
// marquee keeps none (its parent may paint anything under it at any time).

#include "framework/Canvas.h"
#include "platform/gdi/MemoryCanvas.h"

namespace kestrel {

class MarqueeBackdrop {
 public:
  // Whether there is a picture, painted for `bounds` (the control's rectangle) in `parent`.
  bool Holds(const void* parent, const TRect& bounds) const;
  // A DC on an empty picture for `bounds` in `parent`, in pixels like `reference`'s; what is
  // painted there (in control coordinates) becomes the backdrop. Null when none can be made.
  platform::HDC Restart(platform::HDC reference, const void* parent, const TRect& bounds);
  // Copies `area` (control coordinates) of the picture to the same place on `dc`.
  void CopyTo(platform::HDC dc, const TRect& area) const;
  // Lets the picture go (a hidden marquee need not keep it).
  void Clear();

 private:
  platform::MemoryCanvas picture_;
  const void* parent_ = nullptr;
  TRect bounds_{};
};

}  // namespace kestrel
