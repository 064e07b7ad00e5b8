#pragma once
// An owned cairo region with value semantics: copying the holder copies the region. For state
// that is saved and restored whole, such as a DC's clip.

#include <utility>

#include "platform/core/OwnedHandles.h"

namespace kestrel::platform {

class CopyableRegion {
 public:
  CopyableRegion() = default;
  explicit CopyableRegion(cairo_region_t* adopted) : region_(adopted) {}
  CopyableRegion(const CopyableRegion& other) : region_(Copy(other.get())) {}
  CopyableRegion& operator=(const CopyableRegion& other) {
    if (this != &other) region_.reset(Copy(other.get()));
    return *this;
  }
  CopyableRegion(CopyableRegion&&) noexcept = default;
  CopyableRegion& operator=(CopyableRegion&&) noexcept = default;

  cairo_region_t* get() const { return region_.get(); }
  explicit operator bool() const { return region_ != nullptr; }
  void reset(cairo_region_t* adopted = nullptr) { region_.reset(adopted); }

 private:
  static cairo_region_t* Copy(const cairo_region_t* region) { return region ? cairo_region_copy(region) : nullptr; }
  CairoRegion region_;
};

}  // namespace kestrel::platform
