#pragma once
// The drawing surface: fills and outlines with brushes and pens, images, clipping, smoothing.
// A graphics object draws on an image (TGPBitmap) or on a device context; on a DC each call
// draws through a drawing scope, so the DC's origin and clip apply and changes are published as
// GDI drawing is. The world transform maps world coordinates to device pixels, with GDI+'s
// default pixel offset: device pixel (i, j) is centred on the integer point (i, j). Shapes, pen
// widths, brushes, images and clips given in world coordinates all go through the transform.

#include <cairo.h>

#include <functional>
#include <memory>
#include <vector>

#include "platform/gdiplus/GdiPlusTypes.h"
#include "platform/gdiplus/TGPBrush.h"
#include "platform/gdiplus/TGPFont.h"
#include "platform/gdiplus/TGPGraphicsPath.h"
#include "platform/gdiplus/TGPImage.h"
#include "platform/gdiplus/TGPMatrix.h"
#include "platform/gdiplus/TGPPen.h"
#include "platform/gdiplus/TGPRegion.h"
#include "platform/gdiplus/TGPStringFormat.h"

namespace kestrel::platform {

using GraphicsState = UINT;

class TGPGraphics : public StatusKeeper {
 public:
  // Where the pixels go; implemented for images and device contexts.
  class Target {
   public:
    virtual ~Target() = default;
    // A cairo context on the target (with the target's own transform and clip), or null.
    virtual cairo_t* Begin() = 0;
    // Ends the call; `damage` is the changed area in cairo device pixels.
    virtual void End(cairo_t* cr, const cairo_rectangle_int_t& damage) = 0;
    // Whether End needs the damaged area (working it out costs time).
    virtual bool WantsDamage() const { return true; }
  };

  explicit TGPGraphics(HDC hdc);
  explicit TGPGraphics(TGPImage* image);
  explicit TGPGraphics(std::unique_ptr<Target> target);
  TGPGraphics(const TGPGraphics&) = delete;
  TGPGraphics& operator=(const TGPGraphics&) = delete;
  ~TGPGraphics();

  static std::unique_ptr<TGPGraphics> FromHDC(HDC hdc) { return std::make_unique<TGPGraphics>(hdc); }
  static std::unique_ptr<TGPGraphics> FromImage(TGPImage* image) { return std::make_unique<TGPGraphics>(image); }

  TStatus Flush() { return Ok; }

  TStatus SetSmoothingMode(SmoothingMode mode);
  SmoothingMode GetSmoothingMode() const { return state_.smoothing; }
  TStatus SetPixelOffsetMode(PixelOffsetMode mode);
  PixelOffsetMode GetPixelOffsetMode() const { return state_.pixelOffset; }
  TStatus SetInterpolationMode(InterpolationMode mode);
  InterpolationMode GetInterpolationMode() const { return state_.interpolation; }
  TStatus SetCompositingMode(CompositingMode mode);
  CompositingMode GetCompositingMode() const { return state_.compositing; }
  TStatus SetTextRenderingHint(TextRenderingHint hint);
  TextRenderingHint GetTextRenderingHint() const { return state_.textHint; }

  // The world transform. A transform without an inverse (or with non-finite elements) is refused
  // with InvalidParameter and the previous one kept: it would collapse every drawing and clip.
  TStatus SetTransform(const TGPMatrix* matrix);
  TStatus GetTransform(TGPMatrix* matrix) const;
  TStatus ResetTransform();
  TStatus MultiplyTransform(const TGPMatrix* matrix, MatrixOrder order = MatrixOrderPrepend);
  TStatus TranslateTransform(REAL dx, REAL dy, MatrixOrder order = MatrixOrderPrepend);
  TStatus ScaleTransform(REAL sx, REAL sy, MatrixOrder order = MatrixOrderPrepend);
  TStatus RotateTransform(REAL angle, MatrixOrder order = MatrixOrderPrepend);
  // Converts points between world and device coordinates (page coordinates are device pixels).
  TStatus TransformPoints(CoordinateSpace destSpace, CoordinateSpace srcSpace, TGPPointF* points, INT count) const;

  TStatus Clear(ARGB color);

  TStatus FillRectangle(const TGPBrush* brush, const TGPRectF& rect);
  TStatus FillRectangle(const TGPBrush* brush, REAL x, REAL y, REAL width, REAL height) {
    return FillRectangle(brush, TGPRectF{x, y, width, height});
  }
  TStatus FillRectangles(const TGPBrush* brush, const TGPRectF* rects, INT count);
  TStatus FillEllipse(const TGPBrush* brush, const TGPRectF& rect);
  TStatus FillEllipse(const TGPBrush* brush, REAL x, REAL y, REAL width, REAL height) {
    return FillEllipse(brush, TGPRectF{x, y, width, height});
  }
  TStatus FillPolygon(const TGPBrush* brush, const TGPPointF* points, INT count, FillMode fillMode = FillModeAlternate);
  TStatus FillPie(const TGPBrush* brush, const TGPRectF& rect, REAL startAngle, REAL sweepAngle);
  TStatus FillPath(const TGPBrush* brush, const TGPGraphicsPath* path);
  TStatus FillRegion(const TGPBrush* brush, const TGPRegion* region);

  TStatus DrawLine(const TGPPen* pen, REAL x1, REAL y1, REAL x2, REAL y2);
  TStatus DrawLine(const TGPPen* pen, const TGPPointF& a, const TGPPointF& b) {
    return DrawLine(pen, a.X, a.Y, b.X, b.Y);
  }
  TStatus DrawLines(const TGPPen* pen, const TGPPointF* points, INT count);
  TStatus DrawRectangle(const TGPPen* pen, const TGPRectF& rect);
  TStatus DrawRectangle(const TGPPen* pen, REAL x, REAL y, REAL width, REAL height) {
    return DrawRectangle(pen, TGPRectF{x, y, width, height});
  }
  TStatus DrawEllipse(const TGPPen* pen, const TGPRectF& rect);
  TStatus DrawEllipse(const TGPPen* pen, REAL x, REAL y, REAL width, REAL height) {
    return DrawEllipse(pen, TGPRectF{x, y, width, height});
  }
  TStatus DrawArc(const TGPPen* pen, const TGPRectF& rect, REAL startAngle, REAL sweepAngle);
  TStatus DrawPie(const TGPPen* pen, const TGPRectF& rect, REAL startAngle, REAL sweepAngle);
  TStatus DrawBezier(const TGPPen* pen, const TGPPointF& p1, const TGPPointF& p2, const TGPPointF& p3,
                     const TGPPointF& p4);
  TStatus DrawPolygon(const TGPPen* pen, const TGPPointF* points, INT count);
  TStatus DrawPath(const TGPPen* pen, const TGPGraphicsPath* path);

  // The image's pixels land on pixels [x, x + width) × [y, y + height); negative sizes mirror.
  TStatus DrawImage(const TGPImage* image, REAL x, REAL y);
  TStatus DrawImage(const TGPImage* image, REAL x, REAL y, REAL width, REAL height);
  TStatus DrawImage(const TGPImage* image, const TGPRectF& dest) {
    return DrawImage(image, dest.X, dest.Y, dest.Width, dest.Height);
  }
  // The part (srcX, srcY, srcWidth, srcHeight) of the image, in pixels, scaled into `dest`.
  TStatus DrawImage(const TGPImage* image, const TGPRectF& dest, REAL srcX, REAL srcY, REAL srcWidth, REAL srcHeight,
                    Unit srcUnit);

  // Text, laid out as the format says (null: the default format) in `layoutRect` or from
  // `origin`, and filled with `brush`. `length` -1 means up to the terminating NUL.
  TStatus DrawString(const WCHAR* string, INT length, const TGPFont* font, const TGPRectF& layoutRect,
                     const TGPStringFormat* format, const TGPBrush* brush);
  TStatus DrawString(const WCHAR* string, INT length, const TGPFont* font, const TGPPointF& origin,
                     const TGPBrush* brush) {
    return DrawString(string, length, font, origin, nullptr, brush);
  }
  TStatus DrawString(const WCHAR* string, INT length, const TGPFont* font, const TGPPointF& origin,
                     const TGPStringFormat* format, const TGPBrush* brush);
  // The box the text takes (world units), how many UTF-16 units and lines of it fit.
  TStatus MeasureString(const WCHAR* string, INT length, const TGPFont* font, const TGPRectF& layoutRect,
                        const TGPStringFormat* format, TGPRectF* boundingBox, INT* codepointsFitted = nullptr,
                        INT* linesFilled = nullptr) const;
  TStatus MeasureString(const WCHAR* string, INT length, const TGPFont* font, const TGPRectF& layoutRect,
                        TGPRectF* boundingBox) const {
    return MeasureString(string, length, font, layoutRect, nullptr, boundingBox);
  }
  TStatus MeasureString(const WCHAR* string, INT length, const TGPFont* font, const TGPPointF& origin,
                        const TGPStringFormat* format, TGPRectF* boundingBox) const;
  TStatus MeasureString(const WCHAR* string, INT length, const TGPFont* font, const TGPPointF& origin,
                        TGPRectF* boundingBox) const {
    return MeasureString(string, length, font, origin, nullptr, boundingBox);
  }

  // Clipping. The clip is kept in device pixels: shapes given in world coordinates are mapped
  // through the world transform when set, and mapped back when read (GetClip, GetClipBounds and
  // IsVisible answer in world coordinates). On a DC it also stays inside the DC's clip.
  TStatus SetClip(const TGPRectF& rect, CombineMode mode = CombineModeReplace);
  TStatus SetClip(const TGPGraphicsPath* path, CombineMode mode = CombineModeReplace);
  TStatus SetClip(const TGPRegion* region, CombineMode mode = CombineModeReplace);
  TStatus SetClip(const TGPGraphics* other, CombineMode mode = CombineModeReplace);
  TStatus IntersectClip(const TGPRectF& rect) { return SetClip(rect, CombineModeIntersect); }
  TStatus ExcludeClip(const TGPRectF& rect) { return SetClip(rect, CombineModeExclude); }
  TStatus ResetClip();
  TStatus GetClip(TGPRegion* region) const;
  TStatus GetClipBounds(TGPRectF* rect) const;
  BOOL IsClipEmpty() const { return state_.clip.IsEmpty(); }
  BOOL IsVisible(REAL x, REAL y) const;

  // Saves clip, transform and modes; Restore returns to that state, dropping later saves.
  GraphicsState Save();
  TStatus Restore(GraphicsState state);

 private:
  struct State {
    TGPRegion clip;  // device pixels
    TGPMatrix world;
    SmoothingMode smoothing = SmoothingModeDefault;
    PixelOffsetMode pixelOffset = PixelOffsetModeDefault;
    InterpolationMode interpolation = InterpolationModeDefault;
    CompositingMode compositing = CompositingModeSourceOver;
    TextRenderingHint textHint = TextRenderingHintSystemDefault;
  };

  double PixelOffset() const;
  // Applies `change` to a copy of the world transform and keeps it when it is still invertible.
  TStatus ChangeTransform(const std::function<TStatus(TGPMatrix&)>& change);
  // Whether the world rectangle lands within the coordinates the rasteriser can take.
  bool FitsDevice(const TGPRectF& world) const;
  bool PathFits(const TGPGraphicsPath& path) const;
  // The world transform's inverse (the identity when there is none).
  TGPMatrix DeviceToWorld() const;
  // The pattern context for the current path of `cr`, its area grown by `grow` world units.
  PatternContext PatternsFor(cairo_t* cr, double grow) const;
  // Runs `draw` on a prepared context (state applied, world translated for the pixel offset);
  // `draw` leaves the shape to paint as the current path and returns Ok to have it filled
  // (fill = true) or stroked.
  TStatus Render(const std::function<TStatus(cairo_t*)>& draw, bool fill);
  TStatus FillShape(const TGPBrush* brush, const TGPGraphicsPath& path);
  // Fills what `append` adds to the path, with `rule`.
  TStatus FillWith(const TGPBrush* brush, const std::function<void(cairo_t*)>& append, cairo_fill_rule_t rule);
  // Checks a text call's arguments and works out its layout; Ok or why not.
  TStatus LayoutString(const WCHAR* string, INT length, const TGPFont* font, const TGPRectF& rect, bool fromPoint,
                       const TGPStringFormat* format, std::unique_ptr<class StringLayout>* layout) const;
  TStatus DrawLaidOut(const WCHAR* string, INT length, const TGPFont* font, const TGPRectF& rect, bool fromPoint,
                      const TGPStringFormat* format, const TGPBrush* brush);
  TStatus StrokeShape(const TGPPen* pen, const TGPGraphicsPath& path);

  std::unique_ptr<Target> target_;
  State state_;
  std::vector<std::pair<GraphicsState, State>> saved_;
  GraphicsState nextState_ = 1;
};

}  // namespace kestrel::platform
