#pragma once
// Brushes: the base class and the solid brush. Every brush turns itself into a cairo source
// pattern in world coordinates when a fill needs it; a brush that cannot paint (a degenerate
// gradient rectangle, a missing image) yields no pattern and the fill fails with its status.

#include <cairo.h>

#include <memory>

#include "platform/core/OwnedHandles.h"

#include "platform/gdiplus/GdiPlusTypes.h"

namespace kestrel::platform {

// How the graphics object maps world coordinates to pixels, as far as patterns care.
struct PatternContext {
  // Pixel (i, j) covers world [i - offset, i + 1 - offset): 0.5 for GDI+'s default pixel offset,
  // 0 for PixelOffsetModeHalf. Hatches and textures use it to keep texels on pixels.
  double pixelOffset = 0.5;
  // The pixels the fill can touch, in world pixel units; brushes that render pixel by pixel
  // render only these. Empty when not known.
  cairo_rectangle_int_t area{};
  // Device pixels per world unit (at least 1): brushes that render images render this finely.
  int scale = 1;
};

class TGPBrush : public StatusKeeper {
 public:
  virtual ~TGPBrush() = default;
  virtual BrushType GetType() const = 0;
  virtual std::unique_ptr<TGPBrush> Clone() const = 0;

  // A new reference to the source pattern, or null when the brush cannot paint.
  virtual cairo_pattern_t* CreatePattern(const PatternContext& context) const = 0;
  // The brush's own state (construction failures); Ok when it can paint.
  TStatus State() const { return state_; }

 protected:
  void SetState(TStatus status) {
    state_ = status;
    Remember(status);
  }
  // A pattern tiling `tile` (whose pixels cover world units 1:1 from its origin) by `wrap`;
  // `toWorld` places the tile's origin. Flip modes mirror alternate tiles.
  static cairo_pattern_t* WrappedSurfacePattern(cairo_surface_t* tile, WrapMode wrap, const cairo_matrix_t& toWorld,
                                                cairo_filter_t filter);

 private:
  TStatus state_ = Ok;
};

class TGPSolidBrush : public TGPBrush {
 public:
  explicit TGPSolidBrush(ARGB color) : color_(color) {}
  BrushType GetType() const override { return BrushTypeSolidColor; }
  std::unique_ptr<TGPBrush> Clone() const override { return std::make_unique<TGPSolidBrush>(*this); }
  cairo_pattern_t* CreatePattern(const PatternContext& context) const override;

  TStatus GetColor(ARGB* color) const;
  ARGB Color() const { return color_; }
  TStatus SetColor(ARGB color);

 private:
  ARGB color_;
};

// Why `brush` gave no pattern (its last status), GenericError when it did not say.
TStatus CreationFailure(const TGPBrush& brush);
// A solid cairo pattern of `c`.
cairo_pattern_t* CreateSolidPattern(ARGB c);
bool ValidWrapMode(WrapMode mode);

}  // namespace kestrel::platform
