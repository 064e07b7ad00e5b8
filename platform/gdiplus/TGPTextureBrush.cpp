#include "platform/gdiplus/TGPTextureBrush.h"

#include <cmath>

namespace kestrel::platform {

namespace {

CairoSurface CopyPart(cairo_surface_t* source, int x, int y, int width, int height) {
  CairoSurface part(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
  CairoContext cr(cairo_create(part.get()));
  cairo_set_operator(cr.get(), CAIRO_OPERATOR_SOURCE);
  cairo_set_source_surface(cr.get(), source, -x, -y);
  cairo_paint(cr.get());
  return part;
}

}  // namespace

TGPTextureBrush::TGPTextureBrush(const TGPImage* image, WrapMode wrapMode)
    : wrap_(ValidWrapMode(wrapMode) ? wrapMode : WrapModeTile) {
  if (!image || !image->Surface()) {
    SetState(InvalidParameter);
    return;
  }
  tile_ = CopyPart(image->Surface(), 0, 0, static_cast<int>(image->GetWidth()), static_cast<int>(image->GetHeight()));
  if (!ValidWrapMode(wrapMode)) SetState(InvalidParameter);
}

TGPTextureBrush::TGPTextureBrush(const TGPImage* image, WrapMode wrapMode, REAL x, REAL y, REAL width, REAL height)
    : wrap_(ValidWrapMode(wrapMode) ? wrapMode : WrapModeTile) {
  const double w = image ? image->GetWidth() : 0, h = image ? image->GetHeight() : 0;
  const bool inside = x >= 0 && y >= 0 && width >= 1 && height >= 1 && x + width <= w && y + height <= h;
  if (!image || !image->Surface() || !inside || !ValidWrapMode(wrapMode)) {
    SetState(InvalidParameter);
    return;
  }
  tile_ = CopyPart(image->Surface(), static_cast<int>(x), static_cast<int>(y), static_cast<int>(width),
                   static_cast<int>(height));
}

TGPTextureBrush::TGPTextureBrush(const TGPTextureBrush& other)
    : TGPBrush(other), tile_(other.tile_ ? cairo_surface_reference(other.tile_.get()) : nullptr), wrap_(other.wrap_) {}

TGPTextureBrush::~TGPTextureBrush() = default;

cairo_pattern_t* TGPTextureBrush::CreatePattern(const PatternContext& context) const {
  if (State() != Ok || !tile_) {
    Remember(State() != Ok ? State() : InvalidParameter);
    return nullptr;
  }
  cairo_matrix_t toWorld;
  cairo_matrix_init_translate(&toWorld, -context.pixelOffset, -context.pixelOffset);
  return WrappedSurfacePattern(tile_.get(), wrap_, toWorld, CAIRO_FILTER_NEAREST);
}

TStatus TGPTextureBrush::SetWrapMode(WrapMode mode) {
  if (!ValidWrapMode(mode)) return Remember(InvalidParameter);
  wrap_ = mode;
  return Ok;
}

UINT TGPTextureBrush::ImageWidth() const {
  return tile_ ? static_cast<UINT>(cairo_image_surface_get_width(tile_.get())) : 0;
}

UINT TGPTextureBrush::ImageHeight() const {
  return tile_ ? static_cast<UINT>(cairo_image_surface_get_height(tile_.get())) : 0;
}

}  // namespace kestrel::platform
