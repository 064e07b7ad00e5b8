#include "platform/gdiplus/TGPGraphics.h"

#include <algorithm>
#include <cmath>

#include "platform/core/OwnedHandles.h"
#include "platform/gdiplus/internal/StringLayout.h"

namespace kestrel::platform {

namespace {

// Draws straight into an image's surface, with one cairo context kept for all calls (each call
// saves and restores its state); a context that went into an error state is replaced.
class ImageTarget : public TGPGraphics::Target {
 public:
  explicit ImageTarget(cairo_surface_t* surface) : surface_(cairo_surface_reference(surface)) {}
  cairo_t* Begin() override {
    if (cr_ && cairo_status(cr_.get()) != CAIRO_STATUS_SUCCESS) cr_.reset();
    if (!cr_) cr_.reset(cairo_create(surface_.get()));
    return cr_.get();
  }
  void End(cairo_t*, const cairo_rectangle_int_t&) override {}
  bool WantsDamage() const override { return false; }

 private:
  // The context goes before the surface it draws on.
  CairoSurface surface_;
  CairoContext cr_;
};

cairo_rectangle_int_t DeviceBox(cairo_t* cr, double x1, double y1, double x2, double y2) {
  double xs[4] = {x1, x2, x1, x2}, ys[4] = {y1, y1, y2, y2};
  double minX = HUGE_VAL, minY = HUGE_VAL, maxX = -HUGE_VAL, maxY = -HUGE_VAL;
  for (int i = 0; i < 4; ++i) {
    cairo_user_to_device(cr, &xs[i], &ys[i]);
    minX = std::min(minX, xs[i]);
    maxX = std::max(maxX, xs[i]);
    minY = std::min(minY, ys[i]);
    maxY = std::max(maxY, ys[i]);
  }
  if (!(maxX > minX) || !(maxY > minY)) return {};
  const int left = static_cast<int>(std::floor(minX)), top = static_cast<int>(std::floor(minY));
  return {left, top, static_cast<int>(std::ceil(maxX)) - left, static_cast<int>(std::ceil(maxY)) - top};
}

// Where a fill or stroke of the current path can change pixels, in device pixels. Path bounds
// rather than exact extents: exact ones would tessellate the path a second time.
cairo_rectangle_int_t Damage(cairo_t* cr, bool fill) {
  double x1, y1, x2, y2;
  cairo_path_extents(cr, &x1, &y1, &x2, &y2);
  double grow = 1;
  if (!fill) {
    const double half = cairo_get_line_width(cr) / 2;
    grow += cairo_get_line_join(cr) == CAIRO_LINE_JOIN_MITER ? half * cairo_get_miter_limit(cr) : half;
  }
  return DeviceBox(cr, x1 - grow, y1 - grow, x2 + grow, y2 + grow);
}

void ApplyClip(cairo_t* cr, const TGPRegion& clip) {
  if (clip.IsInfinite()) return;
  const cairo_region_t* pixels = clip.Pixels();
  const int count = cairo_region_num_rectangles(pixels);
  for (int i = 0; i < count; ++i) {
    cairo_rectangle_int_t r;
    cairo_region_get_rectangle(pixels, i, &r);
    cairo_rectangle(cr, r.x, r.y, r.width, r.height);
  }
  cairo_clip(cr);
}

// Bounding box of `rect` mapped through `m`.
TGPRectF MappedBounds(const TGPMatrix& m, const TGPRectF& rect) {
  TGPPointF corners[4] = {
      {rect.X, rect.Y}, {rect.GetRight(), rect.Y}, {rect.X, rect.GetBottom()}, {rect.GetRight(), rect.GetBottom()}};
  m.TransformPoints(corners, 4);
  TGPGraphicsPath outline;
  outline.AddLines(corners, 4);
  TGPRectF bounds;
  outline.GetBounds(&bounds);
  return bounds;
}

bool Smooth(SmoothingMode mode) {
  return mode == SmoothingModeAntiAlias || mode == SmoothingModeAntiAlias8x8 || mode == SmoothingModeHighQuality;
}

}  // namespace

TGPGraphics::TGPGraphics(TGPImage* image) {
  if (!image || !image->Surface()) {
    Remember(InvalidParameter);
    return;
  }
  target_ = std::make_unique<ImageTarget>(image->Surface());
}

TGPGraphics::TGPGraphics(std::unique_ptr<Target> target) : target_(std::move(target)) {
  if (!target_) Remember(InvalidParameter);
}

TGPGraphics::~TGPGraphics() = default;

TStatus TGPGraphics::SetSmoothingMode(SmoothingMode mode) {
  if (mode < SmoothingModeDefault || mode > SmoothingModeAntiAlias8x8) return Remember(InvalidParameter);
  state_.smoothing = mode;
  return Ok;
}

TStatus TGPGraphics::SetPixelOffsetMode(PixelOffsetMode mode) {
  if (mode < PixelOffsetModeDefault || mode > PixelOffsetModeHalf) return Remember(InvalidParameter);
  state_.pixelOffset = mode;
  return Ok;
}

TStatus TGPGraphics::SetInterpolationMode(InterpolationMode mode) {
  if (mode < InterpolationModeDefault || mode > InterpolationModeHighQualityBicubic) return Remember(InvalidParameter);
  state_.interpolation = mode;
  return Ok;
}

TStatus TGPGraphics::SetCompositingMode(CompositingMode mode) {
  if (mode != CompositingModeSourceOver && mode != CompositingModeSourceCopy) return Remember(InvalidParameter);
  state_.compositing = mode;
  return Ok;
}

TStatus TGPGraphics::SetTextRenderingHint(TextRenderingHint hint) {
  if (hint < TextRenderingHintSystemDefault || hint > TextRenderingHintClearTypeGridFit)
    return Remember(InvalidParameter);
  state_.textHint = hint;
  return Ok;
}

double TGPGraphics::PixelOffset() const {
  const bool half = state_.pixelOffset == PixelOffsetModeHalf || state_.pixelOffset == PixelOffsetModeHighQuality;
  return half ? 0.0 : 0.5;
}

TStatus TGPGraphics::ChangeTransform(const std::function<TStatus(TGPMatrix&)>& change) {
  TGPMatrix changed = state_.world;
  if (TStatus status = change(changed); status != Ok) return Remember(status);
  if (!changed.IsInvertible()) return Remember(InvalidParameter);
  state_.world = changed;
  return Ok;
}

TStatus TGPGraphics::SetTransform(const TGPMatrix* matrix) {
  if (!matrix) return Remember(InvalidParameter);
  return ChangeTransform([&](TGPMatrix& m) { return m = *matrix, Ok; });
}

TStatus TGPGraphics::GetTransform(TGPMatrix* matrix) const {
  if (!matrix) return Remember(InvalidParameter);
  *matrix = state_.world;
  return Ok;
}

TStatus TGPGraphics::ResetTransform() { return state_.world.Reset(); }

TStatus TGPGraphics::MultiplyTransform(const TGPMatrix* matrix, MatrixOrder order) {
  if (!matrix) return Remember(InvalidParameter);
  return ChangeTransform([&](TGPMatrix& m) { return m.Multiply(matrix, order); });
}

TStatus TGPGraphics::TranslateTransform(REAL dx, REAL dy, MatrixOrder order) {
  return ChangeTransform([&](TGPMatrix& m) { return m.Translate(dx, dy, order); });
}

TStatus TGPGraphics::ScaleTransform(REAL sx, REAL sy, MatrixOrder order) {
  return ChangeTransform([&](TGPMatrix& m) { return m.Scale(sx, sy, order); });
}

TStatus TGPGraphics::RotateTransform(REAL angle, MatrixOrder order) {
  return ChangeTransform([&](TGPMatrix& m) { return m.Rotate(angle, order); });
}

TGPMatrix TGPGraphics::DeviceToWorld() const {
  TGPMatrix inverse = state_.world;
  inverse.Invert();
  return inverse;
}

TStatus TGPGraphics::TransformPoints(CoordinateSpace destSpace, CoordinateSpace srcSpace, TGPPointF* points,
                                     INT count) const {
  auto valid = [](CoordinateSpace space) { return space >= CoordinateSpaceWorld && space <= CoordinateSpaceDevice; };
  if (!points || count <= 0 || !valid(destSpace) || !valid(srcSpace)) return Remember(InvalidParameter);
  const bool fromWorld = srcSpace == CoordinateSpaceWorld, toWorld = destSpace == CoordinateSpaceWorld;
  if (fromWorld == toWorld) return Ok;  // page and device coincide
  return Remember(fromWorld ? state_.world.TransformPoints(points, count)
                            : DeviceToWorld().TransformPoints(points, count));
}

bool TGPGraphics::FitsDevice(const TGPRectF& world) const {
  if (state_.world.IsIdentity()) return true;
  const TGPRectF device = MappedBounds(state_.world, world);
  const REAL values[] = {device.X, device.Y, device.GetRight(), device.GetBottom()};
  return std::all_of(std::begin(values), std::end(values),
                     [](REAL v) { return std::isfinite(v) && std::fabs(v) <= kMaxCoordinate; });
}

TStatus TGPGraphics::Render(const std::function<TStatus(cairo_t*)>& draw, bool fill) {
  if (!target_) return Remember(InvalidParameter);
  if (state_.clip.IsEmpty()) return Ok;
  cairo_t* cr = target_->Begin();
  if (!cr) return Remember(WrongState);
  cairo_save(cr);
  ApplyClip(cr, state_.clip);
  cairo_set_antialias(cr, Smooth(state_.smoothing) ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
  cairo_set_operator(cr, state_.compositing == CompositingModeSourceCopy ? CAIRO_OPERATOR_SOURCE : CAIRO_OPERATOR_OVER);
  cairo_translate(cr, PixelOffset(), PixelOffset());
  cairo_transform(cr, &state_.world.Cairo());
  TStatus status = draw(cr);
  cairo_rectangle_int_t damage{};
  if (status == Ok) {
    if (target_->WantsDamage()) damage = Damage(cr, fill);
    if (fill) cairo_fill(cr);
    else cairo_stroke(cr);
    if (cairo_status(cr) != CAIRO_STATUS_SUCCESS) status = GenericError;
  }
  cairo_new_path(cr);
  cairo_restore(cr);
  target_->End(cr, damage);
  return Remember(status);
}

PatternContext TGPGraphics::PatternsFor(cairo_t* cr, double grow) const {
  PatternContext context{PixelOffset()};
  // The largest stretch of a world unit, in whole device pixels (bounded: images grow with it).
  const cairo_matrix_t& m = state_.world.Cairo();
  const double stretch = std::sqrt(std::max(m.xx * m.xx + m.yx * m.yx, m.xy * m.xy + m.yy * m.yy));
  context.scale = static_cast<int>(std::clamp(std::ceil(stretch - 1e-6), 1.0, 8.0));
  double x1, y1, x2, y2, cx1, cy1, cx2, cy2;
  cairo_path_extents(cr, &x1, &y1, &x2, &y2);
  cairo_clip_extents(cr, &cx1, &cy1, &cx2, &cy2);
  x1 = std::max(x1 - grow, cx1);
  y1 = std::max(y1 - grow, cy1);
  x2 = std::max(x1, std::min(x2 + grow, cx2));
  y2 = std::max(y1, std::min(y2 + grow, cy2));
  const int left = static_cast<int>(std::floor(x1)) - 1, top = static_cast<int>(std::floor(y1)) - 1;
  context.area = {left, top, static_cast<int>(std::ceil(x2)) + 1 - left, static_cast<int>(std::ceil(y2)) + 1 - top};
  return context;
}

bool TGPGraphics::PathFits(const TGPGraphicsPath& path) const {
  if (!path.CoordinatesValid()) return false;
  TGPRectF bounds;
  path.GetBounds(&bounds);
  return FitsDevice(bounds);
}

TStatus TGPGraphics::FillShape(const TGPBrush* brush, const TGPGraphicsPath& path) {
  if (!brush) return Remember(InvalidParameter);
  if (!PathFits(path)) return Remember(ValueOverflow);
  return FillWith(
      brush, [&](cairo_t* cr) { path.AppendTo(cr); }, path.CairoFillRule());
}

TStatus TGPGraphics::FillWith(const TGPBrush* brush, const std::function<void(cairo_t*)>& append,
                              cairo_fill_rule_t rule) {
  return Render(
      [&](cairo_t* cr) {
        append(cr);
        cairo_set_fill_rule(cr, rule);
        CairoPattern pattern(brush->CreatePattern(PatternsFor(cr, 1)));
        if (!pattern) return CreationFailure(*brush);
        cairo_set_source(cr, pattern.get());
        return Ok;
      },
      true);
}

TStatus TGPGraphics::StrokeShape(const TGPPen* pen, const TGPGraphicsPath& path) {
  if (!pen) return Remember(InvalidParameter);
  if (!PathFits(path)) return Remember(ValueOverflow);
  return Render(
      [&](cairo_t* cr) {
        path.AppendTo(cr);
        const double grow = std::max<double>(pen->GetWidth(), 1) / 2 * std::max<double>(pen->GetMiterLimit(), 1) + 1;
        const TStatus status = pen->Apply(cr, PatternsFor(cr, grow));
        // A pen of width 0 is one device pixel wide whatever the transform: stroke it without
        // the world transform (the path and the brush are already placed).
        if (status == Ok && pen->GetWidth() <= 0 && !state_.world.IsIdentity()) {
          cairo_matrix_t toDevice = DeviceToWorld().Cairo();
          cairo_transform(cr, &toDevice);
        }
        return status;
      },
      false);
}

TStatus TGPGraphics::Clear(ARGB color) {
  return Render(
      [&](cairo_t* cr) {
        CairoPattern pattern(CreateSolidPattern(color));
        cairo_set_source(cr, pattern.get());
        cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
        double x1, y1, x2, y2;
        cairo_clip_extents(cr, &x1, &y1, &x2, &y2);
        cairo_rectangle(cr, x1, y1, x2 - x1, y2 - y1);
        return Ok;
      },
      true);
}

TStatus TGPGraphics::FillRectangle(const TGPBrush* brush, const TGPRectF& rect) {
  TGPGraphicsPath path;
  path.AddRectangle(rect);
  return FillShape(brush, path);
}

TStatus TGPGraphics::FillRectangles(const TGPBrush* brush, const TGPRectF* rects, INT count) {
  TGPGraphicsPath path(FillModeWinding);
  if (path.AddRectangles(rects, count) != Ok) return Remember(InvalidParameter);
  return FillShape(brush, path);
}

TStatus TGPGraphics::FillEllipse(const TGPBrush* brush, const TGPRectF& rect) {
  TGPGraphicsPath path;
  if (path.AddEllipse(rect) != Ok) return brush ? Ok : Remember(InvalidParameter);  // nothing to fill
  return FillShape(brush, path);
}

TStatus TGPGraphics::FillPolygon(const TGPBrush* brush, const TGPPointF* points, INT count, FillMode fillMode) {
  TGPGraphicsPath path(fillMode);
  if (path.AddPolygon(points, count) != Ok) return Remember(InvalidParameter);
  return FillShape(brush, path);
}

TStatus TGPGraphics::FillPie(const TGPBrush* brush, const TGPRectF& rect, REAL startAngle, REAL sweepAngle) {
  TGPGraphicsPath path;
  if (path.AddPie(rect.X, rect.Y, rect.Width, rect.Height, startAngle, sweepAngle) != Ok)
    return Remember(InvalidParameter);
  return FillShape(brush, path);
}

TStatus TGPGraphics::FillPath(const TGPBrush* brush, const TGPGraphicsPath* path) {
  if (!path) return Remember(InvalidParameter);
  return FillShape(brush, *path);
}

TStatus TGPGraphics::FillRegion(const TGPBrush* brush, const TGPRegion* region) {
  if (!brush || !region) return Remember(InvalidParameter);
  TGPRegion area(*region);
  if (state_.world.IsIdentity()) {
    area.Intersect(&state_.clip);
  } else {
    // The region is in world pixels; keep only what can land within the rasteriser's range
    // (the device clip is applied when painting).
    const REAL limit = kMaxCoordinate / 4;
    area.Intersect(MappedBounds(DeviceToWorld(), {-limit, -limit, 2 * limit, 2 * limit}));
  }
  const cairo_region_t* pixels = area.Pixels();
  TGPGraphicsPath path(FillModeWinding);
  // Region pixel i spans world [i - offset, i + 1 - offset) while pixels stay whole; scaled or
  // turned, it is the world square [i, i + 1) it stands for.
  const REAL shift = state_.world.IsTranslation() ? static_cast<REAL>(PixelOffset()) : 0;
  for (int i = 0; i < cairo_region_num_rectangles(pixels); ++i) {
    cairo_rectangle_int_t r;
    cairo_region_get_rectangle(pixels, i, &r);
    path.AddRectangle({r.x - shift, r.y - shift, static_cast<REAL>(r.width), static_cast<REAL>(r.height)});
  }
  if (path.GetPointCount() == 0) return Ok;
  return FillShape(brush, path);
}

TStatus TGPGraphics::DrawLine(const TGPPen* pen, REAL x1, REAL y1, REAL x2, REAL y2) {
  TGPGraphicsPath path;
  path.AddLine(x1, y1, x2, y2);
  return StrokeShape(pen, path);
}

TStatus TGPGraphics::DrawLines(const TGPPen* pen, const TGPPointF* points, INT count) {
  TGPGraphicsPath path;
  if (count < 2 || path.AddLines(points, count) != Ok) return Remember(InvalidParameter);
  return StrokeShape(pen, path);
}

TStatus TGPGraphics::DrawRectangle(const TGPPen* pen, const TGPRectF& rect) {
  TGPGraphicsPath path;
  path.AddRectangle(rect);
  return StrokeShape(pen, path);
}

TStatus TGPGraphics::DrawEllipse(const TGPPen* pen, const TGPRectF& rect) {
  TGPGraphicsPath path;
  if (path.AddEllipse(rect) != Ok) return pen ? Ok : Remember(InvalidParameter);
  return StrokeShape(pen, path);
}

TStatus TGPGraphics::DrawArc(const TGPPen* pen, const TGPRectF& rect, REAL startAngle, REAL sweepAngle) {
  TGPGraphicsPath path;
  if (path.AddArc(rect, startAngle, sweepAngle) != Ok) return Remember(InvalidParameter);
  return StrokeShape(pen, path);
}

TStatus TGPGraphics::DrawPie(const TGPPen* pen, const TGPRectF& rect, REAL startAngle, REAL sweepAngle) {
  TGPGraphicsPath path;
  if (path.AddPie(rect.X, rect.Y, rect.Width, rect.Height, startAngle, sweepAngle) != Ok)
    return Remember(InvalidParameter);
  return StrokeShape(pen, path);
}

TStatus TGPGraphics::DrawBezier(const TGPPen* pen, const TGPPointF& p1, const TGPPointF& p2, const TGPPointF& p3,
                                const TGPPointF& p4) {
  TGPGraphicsPath path;
  path.AddBezier(p1, p2, p3, p4);
  return StrokeShape(pen, path);
}

TStatus TGPGraphics::DrawPolygon(const TGPPen* pen, const TGPPointF* points, INT count) {
  TGPGraphicsPath path;
  if (path.AddPolygon(points, count) != Ok) return Remember(InvalidParameter);
  return StrokeShape(pen, path);
}

TStatus TGPGraphics::DrawPath(const TGPPen* pen, const TGPGraphicsPath* path) {
  if (!path) return Remember(InvalidParameter);
  return StrokeShape(pen, *path);
}

TStatus TGPGraphics::DrawImage(const TGPImage* image, REAL x, REAL y) {
  if (!image) return Remember(InvalidParameter);
  return DrawImage(image, x, y, static_cast<REAL>(image->GetWidth()), static_cast<REAL>(image->GetHeight()));
}

TStatus TGPGraphics::DrawImage(const TGPImage* image, REAL x, REAL y, REAL width, REAL height) {
  if (!image) return Remember(InvalidParameter);
  return DrawImage(image, {x, y, width, height}, 0, 0, static_cast<REAL>(image->GetWidth()),
                   static_cast<REAL>(image->GetHeight()), UnitPixel);
}

TStatus TGPGraphics::DrawImage(const TGPImage* image, const TGPRectF& dest, REAL srcX, REAL srcY, REAL srcWidth,
                               REAL srcHeight, Unit srcUnit) {
  if (!image || !image->Surface() || srcUnit != UnitPixel) return Remember(InvalidParameter);
  const REAL values[] = {dest.X, dest.Y, dest.Width, dest.Height, srcX, srcY, srcWidth, srcHeight};
  for (REAL v : values)
    if (!std::isfinite(v) || std::fabs(v) > kMaxCoordinate) return Remember(ValueOverflow);
  if (!(srcWidth >= kMinExtent) || !(srcHeight >= kMinExtent)) return Remember(InvalidParameter);
  if (std::fabs(dest.Width) < kMinExtent || std::fabs(dest.Height) < kMinExtent) return Ok;  // nothing shows
  if (!FitsDevice(dest)) return Remember(ValueOverflow);
  // The destination's corners map to pixel corners: undo the pixel offset in world units.
  TGPPointF shift{static_cast<REAL>(PixelOffset()), static_cast<REAL>(PixelOffset())};
  DeviceToWorld().TransformVectors(&shift);
  const double left = dest.X - shift.X, top = dest.Y - shift.Y;
  const bool unscaled =
      std::fabs(dest.Width) == srcWidth && std::fabs(dest.Height) == srcHeight && state_.world.IsTranslation();
  const bool nearest = unscaled || state_.interpolation == InterpolationModeNearestNeighbor;
  return Render(
      [&](cairo_t* cr) {
        CairoPattern pattern(cairo_pattern_create_for_surface(image->Surface()));
        cairo_matrix_t m;
        const double sx = srcWidth / dest.Width, sy = srcHeight / dest.Height;
        cairo_matrix_init(&m, sx, 0, 0, sy, srcX - left * sx, srcY - top * sy);
        cairo_pattern_set_matrix(pattern.get(), &m);
        cairo_pattern_set_filter(pattern.get(), nearest ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_BILINEAR);
        cairo_pattern_set_extend(pattern.get(), CAIRO_EXTEND_PAD);
        cairo_set_source(cr, pattern.get());
        cairo_new_path(cr);
        cairo_rectangle(cr, left, top, dest.Width, dest.Height);
        return Ok;
      },
      true);
}

TStatus TGPGraphics::LayoutString(const WCHAR* string, INT length, const TGPFont* font, const TGPRectF& rect,
                                  bool fromPoint, const TGPStringFormat* format,
                                  std::unique_ptr<StringLayout>* layout) const {
  if (!string || length < -1 || !font || font->State() != Ok) return InvalidParameter;
  const REAL values[] = {rect.X, rect.Y, rect.Width, rect.Height};
  for (REAL v : values)
    if (!std::isfinite(v) || std::fabs(v) > kMaxCoordinate) return ValueOverflow;
  if (rect.Width < 0 || rect.Height < 0) return InvalidParameter;
  const size_t count = length == -1 ? std::char_traits<WCHAR>::length(string) : static_cast<size_t>(length);
  *layout = std::make_unique<StringLayout>(
      StringLayoutRequest{std::u16string_view(string, count), font, rect, fromPoint, format, state_.textHint});
  return FitsDevice((*layout)->Bounds()) ? Ok : ValueOverflow;
}

TStatus TGPGraphics::DrawLaidOut(const WCHAR* string, INT length, const TGPFont* font, const TGPRectF& rect,
                                 bool fromPoint, const TGPStringFormat* format, const TGPBrush* brush) {
  if (!brush) return Remember(InvalidParameter);
  std::unique_ptr<StringLayout> layout;
  if (TStatus s = LayoutString(string, length, font, rect, fromPoint, format, &layout); s != Ok) return Remember(s);
  if (layout->LinesFilled() == 0) return Ok;
  return FillWith(
      brush,
      [&](cairo_t* cr) {
        if (layout->Clipped()) {  // an aliased clip, like every other
          const TGPRectF& r = layout->ClipRect();
          cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
          cairo_rectangle(cr, r.X, r.Y, r.Width, r.Height);
          cairo_clip(cr);
        }
        cairo_set_antialias(cr, layout->Antialiased() ? CAIRO_ANTIALIAS_GRAY : CAIRO_ANTIALIAS_NONE);
        layout->AppendPath(cr);
      },
      CAIRO_FILL_RULE_WINDING);
}

TStatus TGPGraphics::DrawString(const WCHAR* string, INT length, const TGPFont* font, const TGPRectF& layoutRect,
                                const TGPStringFormat* format, const TGPBrush* brush) {
  return DrawLaidOut(string, length, font, layoutRect, false, format, brush);
}

TStatus TGPGraphics::DrawString(const WCHAR* string, INT length, const TGPFont* font, const TGPPointF& origin,
                                const TGPStringFormat* format, const TGPBrush* brush) {
  return DrawLaidOut(string, length, font, {origin.X, origin.Y, 0, 0}, true, format, brush);
}

TStatus TGPGraphics::MeasureString(const WCHAR* string, INT length, const TGPFont* font, const TGPRectF& layoutRect,
                                   const TGPStringFormat* format, TGPRectF* boundingBox, INT* codepointsFitted,
                                   INT* linesFilled) const {
  if (!boundingBox) return Remember(InvalidParameter);
  std::unique_ptr<StringLayout> layout;
  if (TStatus s = LayoutString(string, length, font, layoutRect, false, format, &layout); s != Ok) return Remember(s);
  *boundingBox = layout->Bounds();
  if (codepointsFitted) *codepointsFitted = layout->CharactersFitted();
  if (linesFilled) *linesFilled = layout->LinesFilled();
  return Ok;
}

TStatus TGPGraphics::MeasureString(const WCHAR* string, INT length, const TGPFont* font, const TGPPointF& origin,
                                   const TGPStringFormat* format, TGPRectF* boundingBox) const {
  if (!boundingBox) return Remember(InvalidParameter);
  std::unique_ptr<StringLayout> layout;
  if (TStatus s = LayoutString(string, length, font, {origin.X, origin.Y, 0, 0}, true, format, &layout); s != Ok)
    return Remember(s);
  *boundingBox = layout->Bounds();
  return Ok;
}

TStatus TGPGraphics::SetClip(const TGPRectF& rect, CombineMode mode) {
  if (state_.world.IsIdentity()) return Remember(state_.clip.Combine(TGPRegion(rect), mode));
  TGPGraphicsPath path;
  path.AddRectangle(rect);
  return SetClip(&path, mode);
}

TStatus TGPGraphics::SetClip(const TGPGraphicsPath* path, CombineMode mode) {
  if (!path) return Remember(InvalidParameter);
  TGPGraphicsPath device(*path);
  device.Transform(&state_.world);
  TGPRegion shape(&device);
  if (TStatus s = shape.GetLastStatus(); s != Ok) return Remember(s);
  return Remember(state_.clip.Combine(shape, mode));
}

TStatus TGPGraphics::SetClip(const TGPRegion* region, CombineMode mode) {
  if (!region) return Remember(InvalidParameter);
  TGPRegion device(*region);
  if (TStatus s = device.Transform(&state_.world); s != Ok) return Remember(s);
  return Remember(state_.clip.Combine(device, mode));
}

TStatus TGPGraphics::SetClip(const TGPGraphics* other, CombineMode mode) {
  if (!other) return Remember(InvalidParameter);
  return Remember(state_.clip.Combine(other->state_.clip, mode));
}

TStatus TGPGraphics::ResetClip() { return state_.clip.MakeInfinite(); }

TStatus TGPGraphics::GetClip(TGPRegion* region) const {
  if (!region) return Remember(InvalidParameter);
  TGPRegion world(state_.clip);
  const TGPMatrix toWorld = DeviceToWorld();
  if (TStatus s = world.Transform(&toWorld); s != Ok) return Remember(s);
  *region = world;
  return Ok;
}

TStatus TGPGraphics::GetClipBounds(TGPRectF* rect) const {
  if (!rect) return Remember(InvalidParameter);
  if (TStatus s = state_.clip.GetBounds(rect); s != Ok) return Remember(s);
  if (!state_.clip.IsInfinite() && !state_.clip.IsEmpty()) *rect = MappedBounds(DeviceToWorld(), *rect);
  return Ok;
}

BOOL TGPGraphics::IsVisible(REAL x, REAL y) const {
  TGPPointF device{x, y};
  state_.world.TransformPoints(&device);
  return state_.clip.IsVisible(device.X, device.Y);
}

GraphicsState TGPGraphics::Save() {
  GraphicsState id = nextState_++;
  saved_.emplace_back(id, state_);
  return id;
}

TStatus TGPGraphics::Restore(GraphicsState id) {
  for (size_t i = saved_.size(); i-- > 0;) {
    if (saved_[i].first == id) {
      state_ = saved_[i].second;
      saved_.resize(i);
      return Ok;
    }
  }
  return Remember(InvalidParameter);
}

}  // namespace kestrel::platform
