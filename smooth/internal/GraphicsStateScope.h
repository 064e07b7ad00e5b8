#pragma once
// Keeps a drawing surface's clip, transform and modes for the length of a scope: whatever is
// changed inside (a clip to a rounded outline, a smoothing mode) is undone on leaving it.

#include "platform/gdiplus/TGPGraphics.h"

namespace kestrel {

class TGraphicsStateScope {
 public:
  explicit TGraphicsStateScope(platform::TGPGraphics& graphics) : graphics_(graphics), state_(graphics.Save()) {}
  ~TGraphicsStateScope() { graphics_.Restore(state_); }
  TGraphicsStateScope(const TGraphicsStateScope&) = delete;
  TGraphicsStateScope& operator=(const TGraphicsStateScope&) = delete;

 private:
  platform::TGPGraphics& graphics_;
  platform::GraphicsState state_;
};

}  // namespace kestrel
