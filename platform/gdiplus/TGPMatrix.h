#pragma once
// A 3×2 affine matrix as GDI+ keeps it: a point (x, y) maps to
// (m11·x + m21·y + dx, m12·x + m22·y + dy). Operations combine in MatrixOrder: Prepend (the
// default) applies the new operation before the matrix, Append after it. Angles are in degrees,
// growing clockwise on screen (y grows downwards).

#include <cairo.h>

#include <memory>

#include "platform/gdiplus/GdiPlusTypes.h"

namespace kestrel::platform {

class TGPMatrix : public StatusKeeper {
 public:
  TGPMatrix() = default;  // identity
  TGPMatrix(REAL m11, REAL m12, REAL m21, REAL m22, REAL dx, REAL dy);

  std::unique_ptr<TGPMatrix> Clone() const { return std::make_unique<TGPMatrix>(*this); }

  // m11, m12, m21, m22, dx, dy.
  TStatus GetElements(REAL* elements) const;
  TStatus SetElements(REAL m11, REAL m12, REAL m21, REAL m22, REAL dx, REAL dy);
  REAL OffsetX() const { return static_cast<REAL>(m_.x0); }
  REAL OffsetY() const { return static_cast<REAL>(m_.y0); }

  TStatus Reset();
  TStatus Multiply(const TGPMatrix* matrix, MatrixOrder order = MatrixOrderPrepend);
  TStatus Translate(REAL offsetX, REAL offsetY, MatrixOrder order = MatrixOrderPrepend);
  TStatus Scale(REAL scaleX, REAL scaleY, MatrixOrder order = MatrixOrderPrepend);
  TStatus Rotate(REAL angle, MatrixOrder order = MatrixOrderPrepend);
  TStatus RotateAt(REAL angle, const TGPPointF& center, MatrixOrder order = MatrixOrderPrepend);
  TStatus Shear(REAL shearX, REAL shearY, MatrixOrder order = MatrixOrderPrepend);
  // Fails with InvalidParameter, leaving the matrix as it was, when it has no inverse.
  TStatus Invert();

  TStatus TransformPoints(TGPPointF* points, INT count = 1) const;
  TStatus TransformPoints(TGPPoint* points, INT count = 1) const;
  // Maps directions: the offsets are not added.
  TStatus TransformVectors(TGPPointF* points, INT count = 1) const;

  BOOL IsInvertible() const;
  BOOL IsIdentity() const;
  BOOL Equals(const TGPMatrix* matrix) const;

  // True when the matrix only moves (no scale, rotation or shear).
  bool IsTranslation() const { return m_.xx == 1 && m_.yx == 0 && m_.xy == 0 && m_.yy == 1; }
  // True when every element is finite.
  bool IsFinite() const;
  const cairo_matrix_t& Cairo() const { return m_; }
  void SetCairo(const cairo_matrix_t& m) { m_ = m; }

 private:
  // Combines `op` with this matrix in `order`.
  TStatus Combine(const cairo_matrix_t& op, MatrixOrder order);
  // Replaces each point by `map` (a cairo point or distance transform) of it.
  template <class Point, class Map>
  TStatus MapEach(Point* points, INT count, Map map) const;

  cairo_matrix_t m_{1, 0, 0, 1, 0, 0};
};

}  // namespace kestrel::platform
