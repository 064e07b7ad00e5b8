#include "platform/gdi/internal/CairoContextCache.h"

namespace kestrel::platform {

namespace {

bool CoversSurface(cairo_surface_t* surface, const cairo_region_t* clip) {
  if (!clip) return true;
  if (cairo_region_num_rectangles(clip) != 1) return false;
  cairo_rectangle_int_t r;
  cairo_region_get_rectangle(clip, 0, &r);
  return r.x == 0 && r.y == 0 && r.width == cairo_image_surface_get_width(surface) &&
         r.height == cairo_image_surface_get_height(surface);
}

bool SameClip(const cairo_region_t* a, const cairo_region_t* b) {
  return a == b || (a && b && cairo_region_equal(a, b));
}

}  // namespace

CairoContext CreateClippedContext(cairo_surface_t* surface, const cairo_region_t* clip) {
  CairoContext context(cairo_create(surface));
  cairo_t* cr = context.get();
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  // A clip that is the whole surface clips nothing; cairo would still carry it along.
  if (CoversSurface(surface, clip)) return context;
  const int count = cairo_region_num_rectangles(clip);
  for (int i = 0; i < count; ++i) {
    cairo_rectangle_int_t r;
    cairo_region_get_rectangle(clip, i, &r);
    cairo_rectangle(cr, r.x, r.y, r.width, r.height);
  }
  cairo_clip(cr);
  return context;
}

cairo_t* CairoContextCache::Acquire(cairo_surface_t* surface, const cairo_region_t* clip,
                                    const cairo_matrix_t& transform) {
  if (inUse_) {
    cairo_t* separate = CreateClippedContext(surface, clip).release();
    cairo_set_matrix(separate, &transform);
    return separate;
  }
  if (!cached_ || surface_ != surface || !SameClip(clip_.get(), clip)) {
    cached_ = CreateClippedContext(surface, clip);
    surface_ = surface;
    clip_.reset(clip ? cairo_region_copy(clip) : nullptr);
  }
  inUse_ = true;
  cairo_t* cr = cached_.get();
  cairo_new_path(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  cairo_set_matrix(cr, &transform);  // unchanged matrices keep the font cairo resolved
  return cr;
}

void CairoContextCache::Release(cairo_t* cr) {
  if (!cr) return;
  if (cr != cached_.get()) {
    cairo_destroy(cr);
    return;
  }
  inUse_ = false;
  if (!surface_ || cairo_status(cr) != CAIRO_STATUS_SUCCESS) Clear();
}

void CairoContextCache::Clear() {
  surface_ = nullptr;
  clip_.reset();
  if (!inUse_) cached_.reset();  // else when its user releases it
}

}  // namespace kestrel::platform
