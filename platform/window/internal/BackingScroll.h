#pragma once
// Moving pixels inside a window's backing store, as scrolling does: in place, row by row in the
// order that reads every source row before it is written, so no copy of the area is needed.

#include <cairo.h>

namespace kestrel::platform::detail {

// Every pixel of `area` (store coordinates) takes the value of the pixel (-dx, -dy) away from it.
// Sources outside the store leave their destination as it was. `store` is an ARGB32 image.
void MoveStorePixels(cairo_surface_t* store, const cairo_region_t* area, int dx, int dy);

}  // namespace kestrel::platform::detail
