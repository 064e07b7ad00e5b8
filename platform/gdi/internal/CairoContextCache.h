#pragma once
// The cairo context a device context draws through, kept from one drawing call to the next.
//
// Creating a context and applying the clip costs more than many GDI calls draw (a run of text
// is a few glyphs), so the context stays while the target surface and the clip in surface
// pixels stay the same; the font cairo resolved for the last run stays with it too. Each use
// starts with no path, the OVER operator, no antialiasing and the caller's transform. Users set
// their own source, font and line style, and clip only inside a cairo_save/cairo_restore pair,
// so that the clip the next use finds is the cached one. A context that ends up in an error
// state is dropped rather than reused.

#include <cairo.h>

#include "platform/core/OwnedHandles.h"

namespace kestrel::platform {

class CairoContextCache {
 public:
  // A context on `surface` clipped to `clip` (surface pixels; null for none) with `transform` set; every
  // Acquire() needs one Release(). While the cached context is in use (nested scopes on one
  // DC), a separate one is made and returned instead.
  cairo_t* Acquire(cairo_surface_t* surface, const cairo_region_t* clip, const cairo_matrix_t& transform);
  void Release(cairo_t* cr);
  // Drops the context (the DC's target changed): it holds a reference to the surface.
  void Clear();

 private:
  CairoContext cached_;
  cairo_surface_t* surface_ = nullptr;
  CairoRegion clip_;
  bool inUse_ = false;
};

// A new context on `surface` clipped to `clip` (null: not clipped), antialiasing off.
CairoContext CreateClippedContext(cairo_surface_t* surface, const cairo_region_t* clip);

}  // namespace kestrel::platform
