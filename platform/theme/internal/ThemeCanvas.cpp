#include "platform/theme/internal/ThemeCanvas.h"

#include <algorithm>
#include <vector>

#include "platform/gdiplus/GdiPlus.h"

namespace kestrel::platform {

namespace {
ARGB ToArgb(COLORREF c) { return MakeColor(GetRValue(c), GetGValue(c), GetBValue(c)); }

TGPRectF ToRectF(const RECT& r, float inset = 0) {
  return {r.left + inset, r.top + inset, Width(r) - 2 * inset, Height(r) - 2 * inset};
}

void AddRoundRect(TGPGraphicsPath& path, const TGPRectF& r, float radius) {
  const float d = std::min({2 * radius, r.Width, r.Height});
  if (d <= 0) {
    path.AddRectangle(r);
    return;
  }
  path.AddArc(r.X, r.Y, d, d, 180, 90);
  path.AddArc(r.X + r.Width - d, r.Y, d, d, 270, 90);
  path.AddArc(r.X + r.Width - d, r.Y + r.Height - d, d, d, 0, 90);
  path.AddArc(r.X, r.Y + r.Height - d, d, d, 90, 90);
  path.CloseFigure();
}
}  // namespace

ThemeCanvas::ThemeCanvas(HDC hdc) {
  if (!hdc) return;
  graphics_.emplace(hdc);
  graphics_->SetSmoothingMode(SmoothingModeAntiAlias);
  graphics_->SetPixelOffsetMode(PixelOffsetModeHalf);
}

void ThemeCanvas::Fill(const RECT& r, COLORREF color) {
  if (!graphics_ || Width(r) <= 0 || Height(r) <= 0) return;
  TGPSolidBrush brush(ToArgb(color));
  graphics_->FillRectangle(&brush, ToRectF(r));
}

void ThemeCanvas::RoundFill(const RECT& r, int radius, COLORREF color) {
  if (!graphics_ || Width(r) <= 0 || Height(r) <= 0) return;
  TGPGraphicsPath path;
  AddRoundRect(path, ToRectF(r), static_cast<float>(radius));
  TGPSolidBrush brush(ToArgb(color));
  graphics_->FillPath(&brush, &path);
}

void ThemeCanvas::RoundFrame(const RECT& r, int radius, COLORREF color, float width) {
  if (!graphics_ || Width(r) <= 0 || Height(r) <= 0) return;
  TGPGraphicsPath path;
  AddRoundRect(path, ToRectF(r, width / 2), std::max(0.0f, radius - width / 2));
  TGPPen pen(ToArgb(color), width);
  graphics_->DrawPath(&pen, &path);
}

void ThemeCanvas::Frame(const RECT& r, COLORREF color) {
  Fill({r.left, r.top, r.right, r.top + 1}, color);
  Fill({r.left, r.bottom - 1, r.right, r.bottom}, color);
  Fill({r.left, r.top + 1, r.left + 1, r.bottom - 1}, color);
  Fill({r.right - 1, r.top + 1, r.right, r.bottom - 1}, color);
}

void ThemeCanvas::Ellipse(const RECT& r, COLORREF color) {
  if (!graphics_) return;
  TGPSolidBrush brush(ToArgb(color));
  graphics_->FillEllipse(&brush, ToRectF(r));
}

void ThemeCanvas::EllipseFrame(const RECT& r, COLORREF color, float width) {
  if (!graphics_) return;
  TGPPen pen(ToArgb(color), width);
  graphics_->DrawEllipse(&pen, ToRectF(r, width / 2));
}

void ThemeCanvas::Polyline(std::initializer_list<TGPPointF> points, COLORREF color, float width) {
  if (!graphics_) return;
  std::vector<TGPPointF> centred;
  for (const TGPPointF& p : points) centred.push_back({p.X + 0.5f, p.Y + 0.5f});
  TGPPen pen(ToArgb(color), width);
  pen.SetLineCap(LineCapRound, LineCapRound, DashCapFlat);
  pen.SetLineJoin(LineJoinRound);
  graphics_->DrawLines(&pen, centred.data(), static_cast<INT>(centred.size()));
}

RECT Inset(const RECT& r, int by) { return Inset(r, by, by); }
RECT Inset(const RECT& r, int dx, int dy) { return {r.left + dx, r.top + dy, r.right - dx, r.bottom - dy}; }
int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }

RECT Centred(const RECT& r, int w, int h) {
  const LONG left = r.left + (Width(r) - w) / 2, top = r.top + (Height(r) - h) / 2;
  return {left, top, left + w, top + h};
}

}  // namespace kestrel::platform
