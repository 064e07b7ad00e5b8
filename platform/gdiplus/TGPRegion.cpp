#include "platform/gdiplus/TGPRegion.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace kestrel::platform {

namespace {

constexpr int kInfinite = 4194304;
// Paths are rasterised only inside this window (pixels), in bands to bound the memory used.
constexpr int kRasterLimit = 8192;
constexpr int kBandRows = 512;

cairo_region_t* InfinitePixels() {
  cairo_rectangle_int_t r{-kInfinite, -kInfinite, 2 * kInfinite, 2 * kInfinite};
  return cairo_region_create_rectangle(&r);
}

// Pixels whose centres (integers) lie in [x, x + width): ceil(x) .. ceil(x + width) - 1.
cairo_region_t* RectPixels(double x, double y, double width, double height) {
  if (!(width > 0) || !(height > 0) || !std::isfinite(x) || !std::isfinite(y) || !std::isfinite(width) ||
      !std::isfinite(height))
    return cairo_region_create();
  auto clampPixel = [](double v) { return std::clamp(std::ceil(v), -double(kInfinite), double(kInfinite)); };
  const double left = clampPixel(x), right = clampPixel(x + width);
  const double top = clampPixel(y), bottom = clampPixel(y + height);
  if (right <= left || bottom <= top) return cairo_region_create();
  cairo_rectangle_int_t r{static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
                          static_cast<int>(bottom - top)};
  return cairo_region_create_rectangle(&r);
}

// Appends the runs of covered pixels of one mask row as rectangles one pixel high; a row equal to
// the previous one instead makes the previous row's rectangles taller.
void CollectRow(const unsigned char* row, int width, int left, int y, std::vector<unsigned char>& previous,
                size_t& previousFirst, std::vector<cairo_rectangle_int_t>& spans) {
  if (!previous.empty() && std::equal(row, row + width, previous.begin())) {
    for (size_t i = previousFirst; i < spans.size(); ++i) ++spans[i].height;
    return;
  }
  previous.assign(row, row + width);
  previousFirst = spans.size();
  for (int x = 0; x < width;) {
    if (!row[x]) {
      ++x;
      continue;
    }
    const int start = x;
    while (x < width && row[x]) ++x;
    spans.push_back({left + start, y, x - start, 1});
  }
}

// Rasterises `path` without anti-aliasing and collects the covered pixels.
cairo_region_t* PathPixels(const TGPGraphicsPath& path) {
  TGPRectF bounds;
  path.GetBounds(&bounds);
  if (path.GetPointCount() == 0) return cairo_region_create();
  const int left = static_cast<int>(std::max<double>(std::floor(bounds.X) - 1, -kRasterLimit));
  const int top = static_cast<int>(std::max<double>(std::floor(bounds.Y) - 1, -kRasterLimit));
  const int right = static_cast<int>(std::min<double>(std::ceil(bounds.X + bounds.Width) + 2, kRasterLimit));
  const int bottom = static_cast<int>(std::min<double>(std::ceil(bounds.Y + bounds.Height) + 2, kRasterLimit));
  if (right <= left || bottom <= top) return cairo_region_create();
  const int width = right - left;
  std::vector<cairo_rectangle_int_t> spans;
  std::vector<unsigned char> previous;
  size_t previousFirst = 0;
  for (int bandTop = top; bandTop < bottom; bandTop += kBandRows) {
    const int rows = std::min(kBandRows, bottom - bandTop);
    CairoSurface mask(cairo_image_surface_create(CAIRO_FORMAT_A8, width, rows));
    CairoContext cr(cairo_create(mask.get()));
    cairo_set_antialias(cr.get(), CAIRO_ANTIALIAS_NONE);
    cairo_translate(cr.get(), 0.5 - left, 0.5 - bandTop);
    path.AppendTo(cr.get());
    cairo_set_fill_rule(cr.get(), path.CairoFillRule());
    cairo_fill(cr.get());
    cr.reset();  // the fill is finished before the mask is read
    cairo_surface_flush(mask.get());
    const unsigned char* data = cairo_image_surface_get_data(mask.get());
    const int stride = cairo_image_surface_get_stride(mask.get());
    for (int y = 0; y < rows; ++y)
      CollectRow(data + y * stride, width, left, bandTop + y, previous, previousFirst, spans);
  }
  return cairo_region_create_rectangles(spans.data(), static_cast<int>(spans.size()));
}

}  // namespace

TGPRegion::TGPRegion() : pixels_(InfinitePixels()) {}

TGPRegion::TGPRegion(const TGPRectF& rect) : pixels_(RectPixels(rect.X, rect.Y, rect.Width, rect.Height)) {}

TGPRegion::TGPRegion(const TGPRect& rect) : pixels_(RectPixels(rect.X, rect.Y, rect.Width, rect.Height)) {}

TGPRegion::TGPRegion(const TGPGraphicsPath* path) {
  if (!path || !path->CoordinatesValid()) {
    pixels_.reset(cairo_region_create());
    Remember(path ? ValueOverflow : InvalidParameter);
    return;
  }
  pixels_.reset(PathPixels(*path));
}

TStatus TGPRegion::MakeInfinite() {
  pixels_.reset(InfinitePixels());
  return Ok;
}

TStatus TGPRegion::MakeEmpty() {
  pixels_.reset(cairo_region_create());
  return Ok;
}

TStatus TGPRegion::Combine(const TGPRegion& other, CombineMode mode) {
  cairo_status_t status = CAIRO_STATUS_SUCCESS;
  switch (mode) {
    case CombineModeReplace: *this = other; break;
    case CombineModeIntersect: status = cairo_region_intersect(pixels_.get(), other.pixels_.get()); break;
    case CombineModeUnion: status = cairo_region_union(pixels_.get(), other.pixels_.get()); break;
    case CombineModeXor: status = cairo_region_xor(pixels_.get(), other.pixels_.get()); break;
    case CombineModeExclude: status = cairo_region_subtract(pixels_.get(), other.pixels_.get()); break;
    case CombineModeComplement: {
      CopyableRegion result(other.pixels_);
      status = cairo_region_subtract(result.get(), pixels_.get());
      pixels_ = std::move(result);
      break;
    }
    default: return Remember(InvalidParameter);
  }
  return status == CAIRO_STATUS_SUCCESS ? Ok : Remember(OutOfMemory);
}

TStatus TGPRegion::CombinePath(const TGPGraphicsPath* path, CombineMode mode) {
  if (!path) return Remember(InvalidParameter);
  TGPRegion shape(path);
  if (TStatus s = shape.GetLastStatus(); s != Ok) return Remember(s);
  return Combine(shape, mode);
}

TStatus TGPRegion::Intersect(const TGPGraphicsPath* path) { return CombinePath(path, CombineModeIntersect); }
TStatus TGPRegion::Union(const TGPGraphicsPath* path) { return CombinePath(path, CombineModeUnion); }
TStatus TGPRegion::Xor(const TGPGraphicsPath* path) { return CombinePath(path, CombineModeXor); }
TStatus TGPRegion::Exclude(const TGPGraphicsPath* path) { return CombinePath(path, CombineModeExclude); }
TStatus TGPRegion::Complement(const TGPGraphicsPath* path) { return CombinePath(path, CombineModeComplement); }

TStatus TGPRegion::Intersect(const TGPRegion* region) {
  return region ? Combine(*region, CombineModeIntersect) : Remember(InvalidParameter);
}
TStatus TGPRegion::Union(const TGPRegion* region) {
  return region ? Combine(*region, CombineModeUnion) : Remember(InvalidParameter);
}
TStatus TGPRegion::Xor(const TGPRegion* region) {
  return region ? Combine(*region, CombineModeXor) : Remember(InvalidParameter);
}
TStatus TGPRegion::Exclude(const TGPRegion* region) {
  return region ? Combine(*region, CombineModeExclude) : Remember(InvalidParameter);
}
TStatus TGPRegion::Complement(const TGPRegion* region) {
  return region ? Combine(*region, CombineModeComplement) : Remember(InvalidParameter);
}

TStatus TGPRegion::Translate(REAL dx, REAL dy) {
  if (!std::isfinite(dx) || !std::isfinite(dy) || std::fabs(dx) > kMaxCoordinate || std::fabs(dy) > kMaxCoordinate)
    return Remember(ValueOverflow);
  if (IsInfinite()) return Ok;
  cairo_region_translate(pixels_.get(), static_cast<int>(std::nearbyint(dx)), static_cast<int>(std::nearbyint(dy)));
  return Ok;
}

TStatus TGPRegion::Transform(const TGPMatrix* matrix) {
  if (!matrix) return Remember(InvalidParameter);
  if (!matrix->IsFinite()) return Remember(ValueOverflow);
  if (IsInfinite() || IsEmpty() || matrix->IsIdentity()) return Ok;
  const cairo_matrix_t& m = matrix->Cairo();
  if (matrix->IsTranslation() && m.x0 == std::nearbyint(m.x0) && m.y0 == std::nearbyint(m.y0))
    return Translate(static_cast<REAL>(m.x0), static_cast<REAL>(m.y0));
  TGPGraphicsPath squares(FillModeWinding);
  for (int i = 0; i < cairo_region_num_rectangles(pixels_.get()); ++i) {
    cairo_rectangle_int_t r;
    cairo_region_get_rectangle(pixels_.get(), i, &r);
    squares.AddRectangle(
        {static_cast<REAL>(r.x), static_cast<REAL>(r.y), static_cast<REAL>(r.width), static_cast<REAL>(r.height)});
  }
  squares.Transform(matrix);
  TGPRegion mapped(&squares);
  if (TStatus s = mapped.GetLastStatus(); s != Ok) return Remember(s);
  *this = mapped;
  return Ok;
}

BOOL TGPRegion::IsEmpty() const { return cairo_region_is_empty(pixels_.get()) ? TRUE : FALSE; }

BOOL TGPRegion::IsInfinite() const {
  cairo_rectangle_int_t r;
  cairo_region_get_extents(pixels_.get(), &r);
  return cairo_region_num_rectangles(pixels_.get()) == 1 && r.x == -kInfinite && r.y == -kInfinite &&
                 r.width == 2 * kInfinite && r.height == 2 * kInfinite
             ? TRUE
             : FALSE;
}

BOOL TGPRegion::IsVisible(REAL x, REAL y) const {
  if (!std::isfinite(x) || !std::isfinite(y) || std::fabs(x) > kMaxCoordinate || std::fabs(y) > kMaxCoordinate)
    return FALSE;
  return cairo_region_contains_point(pixels_.get(), static_cast<int>(std::floor(x)), static_cast<int>(std::floor(y)))
             ? TRUE
             : FALSE;
}

BOOL TGPRegion::IsVisible(const TGPRectF& rect) const {
  TGPRegion area(rect);
  if (area.IsEmpty()) return FALSE;
  cairo_rectangle_int_t r;
  cairo_region_get_extents(area.pixels_.get(), &r);
  return cairo_region_contains_rectangle(pixels_.get(), &r) != CAIRO_REGION_OVERLAP_OUT ? TRUE : FALSE;
}

BOOL TGPRegion::Equals(const TGPRegion* other) const {
  return other && cairo_region_equal(pixels_.get(), other->pixels_.get()) ? TRUE : FALSE;
}

TStatus TGPRegion::GetBounds(TGPRectF* rect) const {
  if (!rect) return Remember(InvalidParameter);
  cairo_rectangle_int_t r;
  cairo_region_get_extents(pixels_.get(), &r);
  *rect = {static_cast<REAL>(r.x), static_cast<REAL>(r.y), static_cast<REAL>(r.width), static_cast<REAL>(r.height)};
  return Ok;
}

}  // namespace kestrel::platform
