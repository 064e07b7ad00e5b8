#pragma once
// A region as the set of pixels it covers, as GDI+ applies regions for clipping: aliased, a pixel
// belonging to a shape when the shape contains its centre (pixel centres on integer world
// coordinates, GDI+'s default pixel offset). Pixel i is reported as the world span [i, i + 1).
// The infinite region spans ±4194304, like GDI+'s. Paths are resolved to pixels within ±8192 of
// the origin, which covers any drawing surface.

#include <cairo.h>

#include <memory>

#include "platform/core/CopyableRegion.h"
#include "platform/gdiplus/GdiPlusTypes.h"
#include "platform/gdiplus/TGPGraphicsPath.h"

namespace kestrel::platform {

class TGPRegion : public StatusKeeper {
 public:
  TGPRegion();  // infinite
  explicit TGPRegion(const TGPRectF& rect);
  explicit TGPRegion(const TGPRect& rect);
  explicit TGPRegion(const TGPGraphicsPath* path);
  // Copies the pixels only: the last status stays the region's own.
  TGPRegion(const TGPRegion& other) : StatusKeeper(), pixels_(other.pixels_) {}
  TGPRegion& operator=(const TGPRegion& other) {
    pixels_ = other.pixels_;
    return *this;
  }

  std::unique_ptr<TGPRegion> Clone() const { return std::make_unique<TGPRegion>(*this); }

  TStatus MakeInfinite();
  TStatus MakeEmpty();

  TStatus Intersect(const TGPRectF& rect) { return Combine(TGPRegion(rect), CombineModeIntersect); }
  TStatus Intersect(const TGPGraphicsPath* path);
  TStatus Intersect(const TGPRegion* region);
  TStatus Union(const TGPRectF& rect) { return Combine(TGPRegion(rect), CombineModeUnion); }
  TStatus Union(const TGPGraphicsPath* path);
  TStatus Union(const TGPRegion* region);
  TStatus Xor(const TGPRectF& rect) { return Combine(TGPRegion(rect), CombineModeXor); }
  TStatus Xor(const TGPGraphicsPath* path);
  TStatus Xor(const TGPRegion* region);
  TStatus Exclude(const TGPRectF& rect) { return Combine(TGPRegion(rect), CombineModeExclude); }
  TStatus Exclude(const TGPGraphicsPath* path);
  TStatus Exclude(const TGPRegion* region);
  TStatus Complement(const TGPRectF& rect) { return Combine(TGPRegion(rect), CombineModeComplement); }
  TStatus Complement(const TGPGraphicsPath* path);
  TStatus Complement(const TGPRegion* region);
  // Any combine mode, Replace included.
  TStatus Combine(const TGPRegion& other, CombineMode mode);

  // Moves by whole pixels (offsets are rounded).
  TStatus Translate(REAL dx, REAL dy);
  // Maps the region through `matrix`: each pixel's square is mapped and the pixels whose centres
  // it then covers form the result. The infinite region stays infinite.
  TStatus Transform(const TGPMatrix* matrix);

  BOOL IsEmpty() const;
  BOOL IsInfinite() const;
  BOOL IsVisible(REAL x, REAL y) const;
  BOOL IsVisible(const TGPRectF& rect) const;
  BOOL Equals(const TGPRegion* other) const;
  TStatus GetBounds(TGPRectF* rect) const;

  // The pixels (owned by the region).
  const cairo_region_t* Pixels() const { return pixels_.get(); }

 private:
  TStatus CombinePath(const TGPGraphicsPath* path, CombineMode mode);

  CopyableRegion pixels_;
};

}  // namespace kestrel::platform
