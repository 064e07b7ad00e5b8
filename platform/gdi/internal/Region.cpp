#include "platform/gdi/internal/Region.h"
#include "platform/gdi/internal/GdiObject.h"

#include <algorithm>

namespace kestrel::platform {

Region::Region() : GdiObject(kKind), region_(cairo_region_create()) {}

Region::Region(cairo_region_t* takenOver) : GdiObject(kKind), region_(takenOver ? takenOver : cairo_region_create()) {}

Region::~Region() = default;

void Region::Replace(cairo_region_t* takenOver) {
  if (!takenOver || takenOver == region_.get()) return;
  region_.reset(takenOver);
}

int Region::Complexity() const { return ComplexityOf(region_.get()); }

int Region::ComplexityOf(const cairo_region_t* region) {
  if (!region) return ERROR;
  int count = cairo_region_num_rectangles(region);
  return count == 0 ? NULLREGION : count == 1 ? SIMPLEREGION : COMPLEXREGION;
}

int Region::GetObjectData(int, void*) const { return 0; }

cairo_region_t* Region::FromRect(const RECT& rect) {
  if (rect.right <= rect.left || rect.bottom <= rect.top) return cairo_region_create();
  // Regions hold coordinates within ±2^29 so that widths and later offsets stay in range.
  auto limit = [](LONG v) { return std::clamp<LONG>(v, -(1 << 29), 1 << 29); };
  LONG left = limit(rect.left), top = limit(rect.top), right = limit(rect.right), bottom = limit(rect.bottom);
  cairo_rectangle_int_t r{left, top, right - left, bottom - top};
  return cairo_region_create_rectangle(&r);
}

cairo_region_t* Region::Combine(const cairo_region_t* a, const cairo_region_t* b, int mode) {
  if (mode < RGN_AND || mode > RGN_COPY) return nullptr;
  cairo_region_t* result = cairo_region_copy(a);
  switch (mode) {
    case RGN_AND: cairo_region_intersect(result, b); break;
    case RGN_OR: cairo_region_union(result, b); break;
    case RGN_XOR: cairo_region_xor(result, b); break;
    case RGN_DIFF: cairo_region_subtract(result, b); break;
    default:  // RGN_COPY
      break;
  }
  return result;
}

}  // namespace kestrel::platform
