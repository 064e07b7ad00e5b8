#pragma once
// A region: a set of pixels held as banded integer rectangles (cairo_region_t).

#include <cairo.h>

#include "platform/core/OwnedHandles.h"
#include "platform/gdi/GdiTypes.h"
#include "platform/gdi/internal/GdiObject.h"

namespace kestrel::platform {

class Region : public GdiObject {
 public:
  static constexpr GdiObjectKind kKind = GdiObjectKind::Region;
  Region();  // empty
  explicit Region(cairo_region_t* takenOver);
  ~Region() override;
  Region(const Region&) = delete;
  Region& operator=(const Region&) = delete;

  cairo_region_t* Get() const { return region_.get(); }
  void Replace(cairo_region_t* takenOver);
  // NULLREGION, SIMPLEREGION or COMPLEXREGION.
  int Complexity() const;
  int GetObjectData(int size, void* buffer) const override;

  static int ComplexityOf(const cairo_region_t* region);
  // Rectangle with left <= right and top <= bottom; an empty or inverted one gives an empty region.
  static cairo_region_t* FromRect(const RECT& rect);
  // Combines a and b with an RGN_* mode into a new region (null for an unknown mode).
  static cairo_region_t* Combine(const cairo_region_t* a, const cairo_region_t* b, int mode);

 private:
  CairoRegion region_;
};

}  // namespace kestrel::platform
