#pragma once
// A path as GDI+ keeps it: points with type bytes (start, line, bézier, close flag), figures
// joined by straight lines when a segment does not start where the previous one ended. Arcs and
// ellipses are stored as béziers. Angles are in degrees, 0 along +x, growing clockwise on screen.

#include <cairo.h>

#include <memory>
#include <vector>

#include "platform/gdiplus/GdiPlusTypes.h"
#include "platform/gdiplus/TGPMatrix.h"

namespace kestrel::platform {

class TGPGraphicsPath : public StatusKeeper {
 public:
  explicit TGPGraphicsPath(FillMode fillMode = FillModeAlternate);

  std::unique_ptr<TGPGraphicsPath> Clone() const;

  TStatus Reset();
  TStatus SetFillMode(FillMode mode);
  FillMode GetFillMode() const { return fillMode_; }

  TStatus StartFigure();
  TStatus CloseFigure();
  TStatus CloseAllFigures();

  TStatus AddLine(REAL x1, REAL y1, REAL x2, REAL y2);
  TStatus AddLine(const TGPPointF& a, const TGPPointF& b) { return AddLine(a.X, a.Y, b.X, b.Y); }
  TStatus AddLines(const TGPPointF* points, INT count);
  TStatus AddArc(REAL x, REAL y, REAL width, REAL height, REAL startAngle, REAL sweepAngle);
  TStatus AddArc(const TGPRectF& r, REAL startAngle, REAL sweepAngle) {
    return AddArc(r.X, r.Y, r.Width, r.Height, startAngle, sweepAngle);
  }
  TStatus AddBezier(const TGPPointF& p1, const TGPPointF& p2, const TGPPointF& p3, const TGPPointF& p4);
  // 3n + 1 points.
  TStatus AddBeziers(const TGPPointF* points, INT count);
  // These start and close a figure of their own.
  TStatus AddRectangle(const TGPRectF& rect);
  TStatus AddRectangles(const TGPRectF* rects, INT count);
  TStatus AddEllipse(REAL x, REAL y, REAL width, REAL height);
  TStatus AddEllipse(const TGPRectF& r) { return AddEllipse(r.X, r.Y, r.Width, r.Height); }
  TStatus AddPolygon(const TGPPointF* points, INT count);
  TStatus AddPie(REAL x, REAL y, REAL width, REAL height, REAL startAngle, REAL sweepAngle);
  TStatus AddPath(const TGPGraphicsPath* other, BOOL connect);

  // Maps every point through `matrix`.
  TStatus Transform(const TGPMatrix* matrix);

  INT GetPointCount() const { return static_cast<INT>(points_.size()); }
  TStatus GetPathPoints(TGPPointF* points, INT count) const;
  TStatus GetPathTypes(BYTE* types, INT count) const;
  const std::vector<TGPPointF>& Points() const { return points_; }
  const std::vector<BYTE>& Types() const { return types_; }
  TStatus GetLastPoint(TGPPointF* point) const;
  // Bounds of all points (control points included); empty rectangle for an empty path.
  TStatus GetBounds(TGPRectF* bounds) const;

  // Replays the path into `cr` as its current path.
  void AppendTo(cairo_t* cr) const;
  cairo_fill_rule_t CairoFillRule() const {
    return fillMode_ == FillModeWinding ? CAIRO_FILL_RULE_WINDING : CAIRO_FILL_RULE_EVEN_ODD;
  }
  // True when every coordinate is finite and within kMaxCoordinate.
  bool CoordinatesValid() const;

 private:
  void AddPoint(const TGPPointF& p, BYTE type);
  // Starts a new figure at `p`, or joins it to the open one with a line.
  void Connect(const TGPPointF& p);
  void AppendArcBeziers(REAL x, REAL y, REAL width, REAL height, REAL startAngle, REAL sweepAngle, bool connect);

  std::vector<TGPPointF> points_;
  std::vector<BYTE> types_;
  FillMode fillMode_;
  bool figureOpen_ = false;  // the next segment continues the current figure
};

}  // namespace kestrel::platform
