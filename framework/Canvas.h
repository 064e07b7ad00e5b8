#pragma once
// TCanvas: drawing on a device context with a font, a pen and a brush that are selected into it
// on demand (after any change to them). Descendants supply the DC lazily (CreateHandle).

#include <memory>
#include <vector>

#include "framework/Brush.h"
#include "framework/Font.h"
#include "framework/Pen.h"
#include "platform/core/WinTypes.h"

namespace kestrel {

class TGraphic;

using TPoint = platform::POINT;
using TRect = platform::RECT;
inline TRect Rect(int left, int top, int right, int bottom) { return TRect{left, top, right, bottom}; }
inline TRect Bounds(int left, int top, int width, int height) { return TRect{left, top, left + width, top + height}; }
inline TPoint Point(int x, int y) { return TPoint{x, y}; }

enum TCanvasStateItem { csHandleValid, csFontValid, csPenValid, csBrushValid };

class TCanvas : public TPersistent {
  KESTREL_CLASS(TCanvas)
  TCanvas();
  ~TCanvas() override;

  // The DC; asks CreateHandle for one when none is set. Setting one selects nothing of the old.
  platform::HDC Handle();
  void SetHandle(platform::HDC value);
  bool HandleAllocated() const { return handle_ != nullptr; }

  TFont* Font() const { return font_.get(); }
  void SetFont(const TFont* value) { font_->Assign(value); }
  TPen* Pen() const { return pen_.get(); }
  void SetPen(const TPen* value) { pen_->Assign(value); }
  TBrush* Brush() const { return brush_.get(); }
  void SetBrush(const TBrush* value) { brush_->Assign(value); }

  TPoint PenPos();
  void SetPenPos(TPoint value) { MoveTo(value.x, value.y); }

  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  void Polyline(const std::vector<TPoint>& points);
  void Polygon(const std::vector<TPoint>& points);
  void Rectangle(int left, int top, int right, int bottom);
  void Rectangle(const TRect& r) { Rectangle(r.left, r.top, r.right, r.bottom); }
  void RoundRect(int left, int top, int right, int bottom, int ellipseWidth, int ellipseHeight);
  void Ellipse(int left, int top, int right, int bottom);
  void Ellipse(const TRect& r) { Ellipse(r.left, r.top, r.right, r.bottom); }
  void FillRect(const TRect& r);
  void FrameRect(const TRect& r);
  void DrawFocusRect(const TRect& r);

  // Text in the font's colour; the brush's background unless the brush is clear.
  void TextOut(int x, int y, const String& text);
  // Clipped to `r`.
  void TextRect(const TRect& r, int x, int y, const String& text);
  // DrawText with the given DT_ flags; returns the text height.
  int DrawText(const String& text, TRect& r, unsigned flags);
  platform::SIZE TextExtent(const String& text);
  int TextWidth(const String& text) { return TextExtent(text).cx; }
  int TextHeight(const String& text) { return TextExtent(text).cy; }

  TColor Pixels(int x, int y);
  void SetPixels(int x, int y, TColor color);

  void Draw(int x, int y, TGraphic* graphic);
  void StretchDraw(const TRect& r, TGraphic* graphic);
  // Copies `source` of `canvas` into `dest` of this canvas (stretching when sizes differ).
  void CopyRect(const TRect& dest, TCanvas* canvas, const TRect& source);

  // The clip box in logical coordinates (empty when there is no DC).
  TRect ClipRect();

  // Lock/Unlock bracket paints from several threads; here they only count.
  void Lock() { ++lockCount_; }
  void Unlock() { --lockCount_; }
  int LockCount() const { return lockCount_; }

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  // Called when a DC is needed and none is set; descendants call SetHandle.
  virtual void CreateHandle() {}
  // Restores the DC's original objects and forgets it.
  void DeselectHandles();
  void Changing();
  void Changed();

 private:
  enum Need { kPen = 1, kBrush = 2, kFont = 4 };
  // Makes sure the DC exists and the needed objects are selected; false when there is no DC.
  bool RequireState(int needs);
  void ObjectChanged(TObject* sender);

  platform::HDC handle_ = nullptr;
  std::unique_ptr<TFont> font_;
  std::unique_ptr<TPen> pen_;
  std::unique_ptr<TBrush> brush_;
  int valid_ = 0;
  platform::HGDIOBJ oldPen_ = nullptr;
  platform::HGDIOBJ oldBrush_ = nullptr;
  platform::HGDIOBJ oldFont_ = nullptr;
  int lockCount_ = 0;
};

}  // namespace kestrel
