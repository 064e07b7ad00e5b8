#include "framework/Canvas.h"

#include "framework/Graphic.h"
#include "platform/gdi/Gdi.h"
#include "platform/text/Text.h"

namespace kestrel {

namespace pf = platform;

KESTREL_IMPLEMENT_CLASS(TCanvas, TPersistent)

TCanvas::TCanvas()
    : font_(std::make_unique<TFont>()), pen_(std::make_unique<TPen>()), brush_(std::make_unique<TBrush>()) {
  font_->OnChange = [this](TObject* s) { ObjectChanged(s); };
  pen_->OnChange = [this](TObject* s) { ObjectChanged(s); };
  brush_->OnChange = [this](TObject* s) { ObjectChanged(s); };
}

TCanvas::~TCanvas() { DeselectHandles(); }

void TCanvas::ObjectChanged(TObject* sender) {
  if (sender == font_.get()) valid_ &= ~kFont;
  if (sender == pen_.get()) valid_ &= ~kPen;
  if (sender == brush_.get()) valid_ &= ~kBrush;
}

pf::HDC TCanvas::Handle() {
  if (!handle_) CreateHandle();
  return handle_;
}

void TCanvas::SetHandle(pf::HDC value) {
  if (value == handle_) return;
  DeselectHandles();
  handle_ = value;
  valid_ = 0;
}

void TCanvas::DeselectHandles() {
  if (handle_ && pf::GetObjectType(handle_) != 0) {
    if (oldPen_) pf::SelectObject(handle_, oldPen_);
    if (oldBrush_) pf::SelectObject(handle_, oldBrush_);
    if (oldFont_) pf::SelectObject(handle_, oldFont_);
  }
  oldPen_ = oldBrush_ = oldFont_ = nullptr;
  handle_ = nullptr;
  valid_ = 0;
}

bool TCanvas::RequireState(int needs) {
  pf::HDC dc = Handle();
  if (!dc) return false;
  const int missing = needs & ~valid_;
  if (missing & kPen) {
    pf::HGDIOBJ old = pf::SelectObject(dc, pen_->Handle());
    if (!oldPen_) oldPen_ = old;
  }
  if (missing & kBrush) {
    pf::HGDIOBJ old = pf::SelectObject(dc, brush_->Handle());
    if (!oldBrush_) oldBrush_ = old;
    pf::SetBkColor(dc, ColorToRGB(brush_->Color()));
    pf::SetBkMode(dc, brush_->Style() == bsSolid ? pf::OPAQUE : pf::TRANSPARENT);
  }
  if (missing & kFont) {
    pf::HGDIOBJ old = pf::SelectObject(dc, font_->Handle());
    if (!oldFont_) oldFont_ = old;
    pf::SetTextColor(dc, ColorToRGB(font_->Color()));
  }
  valid_ |= missing;
  return true;
}

void TCanvas::Changing() {
  if (OnChanging) OnChanging(this);
}

void TCanvas::Changed() {
  if (OnChange) OnChange(this);
}

TPoint TCanvas::PenPos() {
  TPoint p{};
  if (RequireState(0)) pf::GetCurrentPositionEx(handle_, &p);
  return p;
}

void TCanvas::MoveTo(int x, int y) {
  if (RequireState(0)) pf::MoveToEx(handle_, x, y, nullptr);
}

void TCanvas::LineTo(int x, int y) {
  Changing();
  if (RequireState(kPen | kBrush)) pf::LineTo(handle_, x, y);
  Changed();
}

void TCanvas::Polyline(const std::vector<TPoint>& points) {
  Changing();
  if (RequireState(kPen | kBrush)) pf::Polyline(handle_, points.data(), static_cast<int>(points.size()));
  Changed();
}

void TCanvas::Polygon(const std::vector<TPoint>& points) {
  Changing();
  if (RequireState(kPen | kBrush)) pf::Polygon(handle_, points.data(), static_cast<int>(points.size()));
  Changed();
}

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
  Changing();
  if (RequireState(kPen | kBrush)) pf::Rectangle(handle_, left, top, right, bottom);
  Changed();
}

void TCanvas::RoundRect(int left, int top, int right, int bottom, int ew, int eh) {
  Changing();
  if (RequireState(kPen | kBrush)) pf::RoundRect(handle_, left, top, right, bottom, ew, eh);
  Changed();
}

void TCanvas::Ellipse(int left, int top, int right, int bottom) {
  Changing();
  if (RequireState(kPen | kBrush)) pf::Ellipse(handle_, left, top, right, bottom);
  Changed();
}

void TCanvas::FillRect(const TRect& r) {
  Changing();
  if (RequireState(kBrush) && brush_->Style() != bsClear) pf::FillRect(handle_, &r, brush_->Handle());
  Changed();
}

void TCanvas::FrameRect(const TRect& r) {
  Changing();
  if (RequireState(kBrush) && brush_->Style() != bsClear) pf::FrameRect(handle_, &r, brush_->Handle());
  Changed();
}

void TCanvas::DrawFocusRect(const TRect& r) {
  Changing();
  if (RequireState(kBrush)) pf::DrawFocusRect(handle_, &r);
  Changed();
}

void TCanvas::TextOut(int x, int y, const String& text) {
  Changing();
  if (RequireState(kFont | kBrush))
    pf::ExtTextOutW(handle_, x, y, 0, nullptr, text.data(), static_cast<pf::UINT>(text.size()), nullptr);
  Changed();
}

void TCanvas::TextRect(const TRect& r, int x, int y, const String& text) {
  Changing();
  if (RequireState(kFont | kBrush)) {
    const pf::UINT options = pf::ETO_CLIPPED | (brush_->Style() == bsSolid ? pf::ETO_OPAQUE : 0);
    pf::ExtTextOutW(handle_, x, y, options, &r, text.data(), static_cast<pf::UINT>(text.size()), nullptr);
  }
  Changed();
}

int TCanvas::DrawText(const String& text, TRect& r, unsigned flags) {
  int height = 0;
  Changing();
  if (RequireState(kFont | kBrush))
    height = pf::DrawTextW(handle_, text.data(), static_cast<int>(text.size()), &r, flags);
  Changed();
  return height;
}

pf::SIZE TCanvas::TextExtent(const String& text) {
  pf::SIZE size{};
  if (RequireState(kFont)) pf::GetTextExtentPoint32W(handle_, text.data(), static_cast<int>(text.size()), &size);
  return size;
}

TColor TCanvas::Pixels(int x, int y) {
  if (!RequireState(0)) return clNone;
  const pf::COLORREF c = pf::GetPixel(handle_, x, y);
  return c == pf::CLR_INVALID ? clNone : static_cast<TColor>(c);
}

void TCanvas::SetPixels(int x, int y, TColor color) {
  Changing();
  if (RequireState(0)) pf::SetPixelV(handle_, x, y, ColorToRGB(color));
  Changed();
}

void TCanvas::Draw(int x, int y, TGraphic* graphic) {
  if (!graphic || graphic->Empty()) return;
  StretchDraw(Bounds(x, y, graphic->Width(), graphic->Height()), graphic);
}

void TCanvas::StretchDraw(const TRect& r, TGraphic* graphic) {
  if (!graphic || graphic->Empty() || !RequireState(0)) return;
  Changing();
  graphic->Draw(this, r);
  Changed();
}

void TCanvas::CopyRect(const TRect& dest, TCanvas* canvas, const TRect& source) {
  if (!canvas || !RequireState(kBrush) || !canvas->Handle()) return;
  Changing();
  pf::StretchBlt(handle_, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, canvas->Handle(),
                 source.left, source.top, source.right - source.left, source.bottom - source.top, pf::SRCCOPY);
  Changed();
}

TRect TCanvas::ClipRect() {
  TRect r{};
  if (RequireState(0)) pf::GetClipBox(handle_, &r);
  return r;
}

}  // namespace kestrel
