#include "platform/gdiplus/TGPMatrix.h"

#include <cmath>
#include <type_traits>

namespace kestrel::platform {

namespace {

// Sine and cosine of `degrees`, exact at multiples of 90 so quarter turns keep whole pixels.
void SinCos(double degrees, double* sine, double* cosine) {
  const double turns = std::fmod(degrees, 360.0);
  const double quarter = turns / 90.0;
  if (quarter == std::floor(quarter)) {
    static constexpr double kSin[] = {0, 1, 0, -1}, kCos[] = {1, 0, -1, 0};
    const int index = (static_cast<int>(quarter) % 4 + 4) % 4;
    *sine = kSin[index];
    *cosine = kCos[index];
    return;
  }
  const double radians = turns * M_PI / 180.0;
  *sine = std::sin(radians);
  *cosine = std::cos(radians);
}

bool ValidOrder(MatrixOrder order) { return order == MatrixOrderPrepend || order == MatrixOrderAppend; }

}  // namespace

TGPMatrix::TGPMatrix(REAL m11, REAL m12, REAL m21, REAL m22, REAL dx, REAL dy) : m_{m11, m12, m21, m22, dx, dy} {}

TStatus TGPMatrix::GetElements(REAL* elements) const {
  if (!elements) return Remember(InvalidParameter);
  const double values[] = {m_.xx, m_.yx, m_.xy, m_.yy, m_.x0, m_.y0};
  for (int i = 0; i < 6; ++i) elements[i] = static_cast<REAL>(values[i]);
  return Ok;
}

TStatus TGPMatrix::SetElements(REAL m11, REAL m12, REAL m21, REAL m22, REAL dx, REAL dy) {
  m_ = {m11, m12, m21, m22, dx, dy};
  return Ok;
}

TStatus TGPMatrix::Reset() {
  cairo_matrix_init_identity(&m_);
  return Ok;
}

TStatus TGPMatrix::Combine(const cairo_matrix_t& op, MatrixOrder order) {
  if (!ValidOrder(order)) return Remember(InvalidParameter);
  const cairo_matrix_t current = m_;
  // cairo_matrix_multiply(r, a, b) applies a first, then b.
  if (order == MatrixOrderPrepend) cairo_matrix_multiply(&m_, &op, &current);
  else cairo_matrix_multiply(&m_, &current, &op);
  return Ok;
}

TStatus TGPMatrix::Multiply(const TGPMatrix* matrix, MatrixOrder order) {
  if (!matrix) return Remember(InvalidParameter);
  return Combine(matrix->m_, order);
}

TStatus TGPMatrix::Translate(REAL offsetX, REAL offsetY, MatrixOrder order) {
  return Combine({1, 0, 0, 1, offsetX, offsetY}, order);
}

TStatus TGPMatrix::Scale(REAL scaleX, REAL scaleY, MatrixOrder order) {
  return Combine({scaleX, 0, 0, scaleY, 0, 0}, order);
}

TStatus TGPMatrix::Rotate(REAL angle, MatrixOrder order) {
  double sine, cosine;
  SinCos(angle, &sine, &cosine);
  return Combine({cosine, sine, -sine, cosine, 0, 0}, order);
}

TStatus TGPMatrix::RotateAt(REAL angle, const TGPPointF& center, MatrixOrder order) {
  if (!ValidOrder(order)) return Remember(InvalidParameter);
  // Move the centre to the origin, turn, move back; as one operation in `order`.
  TGPMatrix op;
  op.Translate(center.X, center.Y);
  op.Rotate(angle);
  op.Translate(-center.X, -center.Y);
  return Combine(op.m_, order);
}

TStatus TGPMatrix::Shear(REAL shearX, REAL shearY, MatrixOrder order) {
  return Combine({1, shearY, shearX, 1, 0, 0}, order);
}

TStatus TGPMatrix::Invert() {
  if (!IsInvertible()) return Remember(InvalidParameter);
  cairo_matrix_t inverse = m_;
  if (cairo_matrix_invert(&inverse) != CAIRO_STATUS_SUCCESS) return Remember(InvalidParameter);
  m_ = inverse;
  return Ok;
}

template <class Point, class Map>
TStatus TGPMatrix::MapEach(Point* points, INT count, Map map) const {
  if (!points || count <= 0) return Remember(InvalidParameter);
  for (INT i = 0; i < count; ++i) {
    double x = points[i].X, y = points[i].Y;
    map(&m_, &x, &y);
    if constexpr (std::is_same_v<Point, TGPPoint>)  // integer points round to nearest
      points[i] = {static_cast<INT>(std::lround(x)), static_cast<INT>(std::lround(y))};
    else points[i] = {static_cast<REAL>(x), static_cast<REAL>(y)};
  }
  return Ok;
}

TStatus TGPMatrix::TransformPoints(TGPPointF* points, INT count) const {
  return MapEach(points, count, cairo_matrix_transform_point);
}

TStatus TGPMatrix::TransformPoints(TGPPoint* points, INT count) const {
  return MapEach(points, count, cairo_matrix_transform_point);
}

TStatus TGPMatrix::TransformVectors(TGPPointF* points, INT count) const {
  return MapEach(points, count, cairo_matrix_transform_distance);
}

BOOL TGPMatrix::IsInvertible() const {
  const double determinant = m_.xx * m_.yy - m_.yx * m_.xy;
  return IsFinite() && std::isnormal(determinant) ? TRUE : FALSE;
}

BOOL TGPMatrix::IsIdentity() const { return IsTranslation() && m_.x0 == 0 && m_.y0 == 0 ? TRUE : FALSE; }

BOOL TGPMatrix::Equals(const TGPMatrix* matrix) const {
  if (!matrix) return FALSE;
  const cairo_matrix_t& o = matrix->m_;
  return m_.xx == o.xx && m_.yx == o.yx && m_.xy == o.xy && m_.yy == o.yy && m_.x0 == o.x0 && m_.y0 == o.y0 ? TRUE
                                                                                                            : FALSE;
}

bool TGPMatrix::IsFinite() const {
  return std::isfinite(m_.xx) && std::isfinite(m_.yx) && std::isfinite(m_.xy) && std::isfinite(m_.yy) &&
         std::isfinite(m_.x0) && std::isfinite(m_.y0);
}

}  // namespace kestrel::platform
