#include "platform/gdiplus/TGPBrush.h"

#include "platform/gdiplus/ColorRamp.h"

namespace kestrel::platform {

TStatus CreationFailure(const TGPBrush& brush) {
  const TStatus status = brush.GetLastStatus();
  return status != Ok ? status : GenericError;
}

bool ValidWrapMode(WrapMode mode) { return mode >= WrapModeTile && mode <= WrapModeClamp; }

cairo_pattern_t* CreateSolidPattern(ARGB c) {
  double v[4];
  ColorRamp::ToDoubles(c, v);
  return cairo_pattern_create_rgba(v[0], v[1], v[2], v[3]);
}

cairo_pattern_t* TGPBrush::WrappedSurfacePattern(cairo_surface_t* tile, WrapMode wrap,
                                                 const cairo_matrix_t& toWorld, cairo_filter_t filter) {
  if (cairo_surface_status(tile) != CAIRO_STATUS_SUCCESS) return nullptr;
  const int w = cairo_image_surface_get_width(tile);
  const int h = cairo_image_surface_get_height(tile);
  cairo_surface_t* source = cairo_surface_reference(tile);
  const bool flipX = wrap == WrapModeTileFlipX || wrap == WrapModeTileFlipXY;
  const bool flipY = wrap == WrapModeTileFlipY || wrap == WrapModeTileFlipXY;
  if (flipX || flipY) {
    // One period of a flipped tiling: the tile beside its mirror images.
    cairo_surface_destroy(source);
    source = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, flipX ? 2 * w : w, flipY ? 2 * h : h);
    if (cairo_surface_status(source) != CAIRO_STATUS_SUCCESS) {
      cairo_surface_destroy(source);
      return nullptr;
    }
    cairo_t* cr = cairo_create(source);
    for (int fy = 0; fy <= (flipY ? 1 : 0); ++fy) {
      for (int fx = 0; fx <= (flipX ? 1 : 0); ++fx) {
        cairo_save(cr);
        cairo_translate(cr, fx ? 2.0 * w : 0.0, fy ? 2.0 * h : 0.0);
        cairo_scale(cr, fx ? -1 : 1, fy ? -1 : 1);
        cairo_set_source_surface(cr, tile, 0, 0);
        cairo_paint(cr);
        cairo_restore(cr);
      }
    }
    cairo_destroy(cr);
  }
  cairo_pattern_t* pattern = cairo_pattern_create_for_surface(source);
  cairo_surface_destroy(source);
  cairo_pattern_set_extend(pattern, wrap == WrapModeClamp ? CAIRO_EXTEND_NONE : CAIRO_EXTEND_REPEAT);
  cairo_pattern_set_filter(pattern, filter);
  cairo_matrix_t toPattern = toWorld;
  if (cairo_matrix_invert(&toPattern) != CAIRO_STATUS_SUCCESS) {
    cairo_pattern_destroy(pattern);
    return nullptr;
  }
  cairo_pattern_set_matrix(pattern, &toPattern);
  return pattern;
}

cairo_pattern_t* TGPSolidBrush::CreatePattern(const PatternContext&) const {
  return CreateSolidPattern(color_);
}

TStatus TGPSolidBrush::GetColor(ARGB* color) const {
  if (!color) return Remember(InvalidParameter);
  *color = color_;
  return Ok;
}

TStatus TGPSolidBrush::SetColor(ARGB color) {
  color_ = color;
  return Ok;
}

}  // namespace kestrel::platform
