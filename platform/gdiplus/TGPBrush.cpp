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

cairo_pattern_t* TGPBrush::WrappedSurfacePattern(cairo_surface_t* tile, WrapMode wrap, const cairo_matrix_t& toWorld,
                                                 cairo_filter_t filter) {
  if (cairo_surface_status(tile) != CAIRO_STATUS_SUCCESS) return nullptr;
  const int w = cairo_image_surface_get_width(tile);
  const int h = cairo_image_surface_get_height(tile);
  CairoSurface source(cairo_surface_reference(tile));
  const bool flipX = wrap == WrapModeTileFlipX || wrap == WrapModeTileFlipXY;
  const bool flipY = wrap == WrapModeTileFlipY || wrap == WrapModeTileFlipXY;
  if (flipX || flipY) {
    // One period of a flipped tiling: the tile beside its mirror images.
    source.reset(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, flipX ? 2 * w : w, flipY ? 2 * h : h));
    if (cairo_surface_status(source.get()) != CAIRO_STATUS_SUCCESS) return nullptr;
    CairoContext cr(cairo_create(source.get()));
    for (int fy = 0; fy <= (flipY ? 1 : 0); ++fy) {
      for (int fx = 0; fx <= (flipX ? 1 : 0); ++fx) {
        cairo_save(cr.get());
        cairo_translate(cr.get(), fx ? 2.0 * w : 0.0, fy ? 2.0 * h : 0.0);
        cairo_scale(cr.get(), fx ? -1 : 1, fy ? -1 : 1);
        cairo_set_source_surface(cr.get(), tile, 0, 0);
        cairo_paint(cr.get());
        cairo_restore(cr.get());
      }
    }
  }
  CairoPattern pattern(cairo_pattern_create_for_surface(source.get()));
  cairo_pattern_set_extend(pattern.get(), wrap == WrapModeClamp ? CAIRO_EXTEND_NONE : CAIRO_EXTEND_REPEAT);
  cairo_pattern_set_filter(pattern.get(), filter);
  cairo_matrix_t toPattern = toWorld;
  if (cairo_matrix_invert(&toPattern) != CAIRO_STATUS_SUCCESS) return nullptr;
  cairo_pattern_set_matrix(pattern.get(), &toPattern);
  return pattern.release();
}

cairo_pattern_t* TGPSolidBrush::CreatePattern(const PatternContext&) const { return CreateSolidPattern(color_); }

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
