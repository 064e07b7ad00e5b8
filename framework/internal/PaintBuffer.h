#pragma once
// The off-screen picture a double-buffered control paints on before its pixels go to the window
// in one copy. A small one is kept for the next paint on the same thread, so that a control
// animating a little every few milliseconds does not make and free a bitmap each time; larger
// ones are made for the paint and freed after it. Either way the painting starts on opaque
// black, as on a new bitmap.

#include "platform/gdi/MemoryCanvas.h"

namespace kestrel {

class TPaintBuffer {
 public:
  // A buffer for `width` × `height` pixels (at least 1 × 1), in pixels like `target`'s.
  TPaintBuffer(platform::HDC target, int width, int height);
  ~TPaintBuffer();
  TPaintBuffer(const TPaintBuffer&) = delete;
  TPaintBuffer& operator=(const TPaintBuffer&) = delete;

  // Null when no bitmap could be made.
  platform::HDC Dc() const { return picture_.Valid() ? picture_.Dc() : nullptr; }

  // The largest buffer kept between paints, in pixels.
  static constexpr int kKeptPixels = 64 * 1024;

 private:
  static platform::MemoryCanvas& Kept();
  static int Area(const platform::MemoryCanvas& picture) { return picture.Width() * picture.Height(); }
  bool TakeKept(int width, int height);

  platform::MemoryCanvas picture_;
  int savedState_ = 0;
};

}  // namespace kestrel
