#include "html/internal/HTMLPainter.h"

#include <algorithm>
#include <exception>
#include <limits>

#include "controls/ColorMath.h"
#include "controls/GdiScope.h"
#include "framework/Bitmap.h"
#include "framework/Control.h"
#include "framework/Picture.h"
#include "framework/WinControl.h"
#include "html/HTMLRender.h"
#include "html/internal/HTMLControlPainter.h"
#include "html/internal/HTMLLineGeometry.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/OwnedGdi.h"
#include "platform/text/Text.h"

namespace kestrel {

namespace pf = platform;

namespace {

// Lightness (0..252) above which text is darkened rather than lightened.
constexpr int kAdjustLightness = 160;

}  // namespace

THTMLPainter::THTMLPainter(TVnHTMLRender& render, TVnHTMLData& data, TCanvas& canvas, TPoint origin, TPoint srcPoint,
                           const TRect& rect, TPoint canvasOffset, const THTMLPaintColors& colors)
    : render_(render),
      data_(data),
      canvas_(canvas),
      dc_(canvas.Handle()),
      origin_(origin),
      src_(srcPoint),
      rect_(rect),
      canvasOffset_(canvasOffset),
      colors_(colors) {
  if (colors_.adjustFromColor != clNone) {
    const int lightness = (ColorToHLS(colors_.adjustFromColor) >> 8) & 0xFF;
    adjustDarker_ = lightness > kAdjustLightness;
  }
}

void THTMLPainter::Paint() {
  if (!dc_) return;
  brushColor_ = canvas_.Brush()->Color();
  brushClear_ = canvas_.Brush()->Style() == bsClear;
  const pf::UINT savedAlign = pf::SetTextAlign(dc_, pf::TA_BASELINE);
  const pf::COLORREF savedText = pf::GetTextColor(dc_);
  const pf::COLORREF savedBk = pf::GetBkColor(dc_);
  const int savedMode = pf::GetBkMode(dc_);
  data_.SetRect(rect_);

  const int available = rect_.right - rect_.left + 1;
  const int lastVisible = rect_.bottom + src_.y - rect_.top + 1;
  // Text of lines above the clip is not painted (a repaint of a band of a long text); everything
  // else still is, so that images are asked for and controls placed as on a whole paint.
  const int clipTop = ClipTop();
  bool textHidden = false;
  bool firstLine = true;
  int x = 0;
  for (int i = 0; i < data_.ItemCount(); ++i) {
    TVnHTMLItem& item = *data_.Item(i);
    if (item.IsBreakItem()) {
      auto& line = static_cast<TVnHTMLBreakItem&>(item);
      if (!firstLine) line_.top += line_.height;
      firstLine = false;
      if (lastVisible < line_.top) break;
      line_.height = line.FHeight;
      line_.descent = line.Descent();
      line_.width = line.FWidth;
      x = THTMLLineGeometry::LineStart(line, available);
      textHidden = LineAbove(clipTop);
      if (line.ItemType() == hitLI) {
        if (!textHidden) PaintListMarker(line, x);
        x = THTMLLineGeometry::Advance(line, x);
      }
      continue;
    }
    switch (item.ItemType()) {
      case hitChar:
      case hitVar:
        if (!textHidden) PaintRun(item, x);
        break;
      case hitHR: PaintRule(item, x); break;
      case hitBitmap:
        PaintImage(item, x);
        ForgetDcState();
        break;
      case hitInput:
        PaintInput(static_cast<TVnHTMLInputItem&>(item), x);
        ForgetDcState();
        break;
      case hitControl: PlaceControl(static_cast<TVnHTMLControlItem&>(item), x); break;
      default: break;
    }
    x = THTMLLineGeometry::Advance(item, x);
  }

  if (savedFont_) pf::SelectObject(dc_, savedFont_);
  pf::SetTextAlign(dc_, savedAlign);
  pf::SetTextColor(dc_, savedText);
  pf::SetBkColor(dc_, savedBk);
  pf::SetBkMode(dc_, savedMode);
}

int THTMLPainter::ClipTop() const {
  pf::RECT clip{};
  const int kind = pf::GetClipBox(dc_, &clip);
  if (kind == pf::ERROR) return std::numeric_limits<int>::min();
  if (kind == pf::NULLREGION) return std::numeric_limits<int>::max();
  return clip.top - origin_.y + src_.y;
}

TRect THTMLPainter::BoxOnLine(int x, const TVnHTMLItem& item) const {
  // Resting on the line's bottom, as images do.
  const int bottom = line_.top + line_.height + data_.LineGap();
  return Rect(X(x), Y(bottom - item.FHeight), X(x + item.FWidth), Y(bottom));
}

TColor THTMLPainter::Adjusted(TColor color) const {
  if (colors_.adjustFromColor == clNone) return color;
  return adjustDarker_ ? DarkenColor(color, 50) : LightenColor(color, 50);
}

void THTMLPainter::ForgetDcState() {
  selected_.reset();
  fonts_.clear();
  textColour_.reset();
  background_.reset();
}

pf::HGDIOBJ THTMLPainter::FontHandle(const TVnHTMLItem& item, int height, unsigned style) {
  for (const KnownFont& known : fonts_)
    if (known.font.height == height && known.font.style == style && *known.font.face == item.FFontRef)
      return known.handle;
  pf::HGDIOBJ handle = render_.Measurer().Font(item.FFontRef, height, style, data_.Charset()).Handle();
  fonts_.push_back({SelectedFont{&item.FFontRef, height, style}, handle});
  return handle;
}

void THTMLPainter::SelectFont(const TVnHTMLItem& item, unsigned style) {
  if (!render_.Measurer().Valid()) return;
  const int height = item.EffectiveFontHeight();
  // Neighbouring runs mostly share their font: it stays selected.
  if (selected_ && selected_->height == height && selected_->style == style && *selected_->face == item.FFontRef)
    return;
  pf::HGDIOBJ previous = pf::SelectObject(dc_, FontHandle(item, height, style));
  if (!savedFont_) savedFont_ = previous;
  selected_ = SelectedFont{&item.FFontRef, height, style};
}

void THTMLPainter::SetTextColour(TColor color) {
  if (textColour_ == color) return;
  pf::SetTextColor(dc_, ColorToRGB(color));
  textColour_ = color;
}

void THTMLPainter::SetBackground(TColor color) {
  if (background_ == color) return;
  background_ = color;
  if (color == clNone) {
    pf::SetBkMode(dc_, pf::TRANSPARENT);
    return;
  }
  pf::SetBkMode(dc_, pf::OPAQUE);
  pf::SetBkColor(dc_, ColorToRGB(color));
}

void THTMLPainter::PaintRun(TVnHTMLItem& item, int x) {
  const bool own = item.FFntCnt != 0 || !colors_.useOverColors;
  TColor background, text;
  unsigned style = item.FontStyle;
  if (&item == data_.SelectedItem()) {
    background = colors_.useOverColors ? colors_.selBkColor : data_.HighlightBgColor();
    text = colors_.useOverColors ? colors_.selColor : data_.HighlightColor();
  } else {
    background = own ? item.FontBgColor : colors_.bkColor;
    text = item.IsLink() ? data_.LinkColor() : own ? item.FontColor : colors_.color;
    if (item.IsLink()) style = data_.LinkStyle();
  }
  SelectFont(item, style);
  SetTextColour(Adjusted(text));
  SetBackground(background);
  const String& run = item.Text();
  pf::TextOutW(dc_, X(x), Y(Baseline() + THTMLLineGeometry::BaselineShift(item)), run.data(),
               static_cast<int>(run.size()));
}

void THTMLPainter::PaintListMarker(TVnHTMLBreakItem& item, int x) {
  const int m = item.GetWidth();
  const int top = line_.top + (line_.height - line_.descent - m) / 2 + line_.descent;
  const TColor marker = colors_.useOverColors && item.FFntCnt == 0 ? colors_.color : item.FontColor;
  if (item.FListItemN < 1) {
    // The bullet sits in the indent, left of the text.
    const pf::OwnedBrush brush(pf::CreateSolidBrush(ColorToRGB(marker)));
    const pf::SelectedObject selected(dc_, brush.get());
    pf::Ellipse(dc_, X(x - m - 6), Y(top), X(x - 6), Y(top + m));
    return;
  }
  SelectFont(item, item.FontStyle);
  SetTextColour(item.FontColor);
  SetBackground(brushClear_ ? clNone : brushColor_);
  const String number = THTMLLineGeometry::ListNumberText(item);
  pf::TextOutW(dc_, X(x), Y(Baseline() + THTMLLineGeometry::BaselineShift(item)), number.data(),
               static_cast<int>(number.size()));
}

void THTMLPainter::PaintRule(const TVnHTMLItem& item, int x) {
  const int top = line_.top + line_.height / 2;
  const int right = item.FWidth ? x + item.FWidth : std::max(line_.width, rect_.right - rect_.left + 1);
  if (right <= x) return;
  // A sunken edge two pixels high.
  const pf::COLORREF shadow = pf::GetSysColor(pf::COLOR_BTNSHADOW), face = pf::GetSysColor(pf::COLOR_BTNFACE);
  DrawLine(dc_, shadow, X(x), Y(top), X(right - 1), Y(top));
  DrawLine(dc_, shadow, X(x), Y(top + 1), X(x + 1), Y(top + 1));
  DrawLine(dc_, face, X(x + 1), Y(top + 1), X(right), Y(top + 1));
  DrawLine(dc_, face, X(right - 1), Y(top), X(right), Y(top));
}

void THTMLPainter::PaintImage(TVnHTMLItem& item, int x) {
  TPicture picture;
  // A failing OnImageNeeded handler reaches the caller of the paint (OnImageNeededEx is quiet).
  if (!render_.RequestImage(item.Text(), picture)) return;
  TGraphic* graphic = picture.Graphic();
  if (!graphic) return;
  auto* bitmap = dynamic_cast<TBitmap*>(graphic);
  if (bitmap && item.Transparent()) {
    const int width = std::min<int>(item.FWidth, bitmap->Width());
    const int height = std::min(item.FHeight - data_.LineGap(), bitmap->Height());
    if (width <= 0 || height <= 0) return;
    TCanvas* source = bitmap->Canvas();
    const TColor key = source->Pixels(0, bitmap->Height() - 1);
    pf::TransparentBlt(dc_, X(x), Y(line_.top + data_.LineGap()), width, height, source->Handle(), 0, 0, width, height,
                       ColorToRGB(key));
    return;
  }
  canvas_.StretchDraw(BoxOnLine(x, item), graphic);
}

void THTMLPainter::PaintInput(TVnHTMLInputItem& item, int x) {
  if (TVnHTMLControlPainter* painter = item.ControlPainter()) painter->PaintTo(&canvas_, BoxOnLine(x, item));
}

void THTMLPainter::PlaceControl(TVnHTMLControlItem& item, int x) {
  auto* control = dynamic_cast<TControl*>(item.FControl.get());
  if (!control || control->Visible()) return;
  const TRect box = BoxOnLine(x, item);
  const TPoint offset = render_.ControlOffset();
  const int left = box.left + canvasOffset_.x + offset.x, top = box.top + canvasOffset_.y + offset.y;
  if (auto* owner = dynamic_cast<TWinControl*>(control->Owner())) {
    control->SetParent(owner);
    control->SetBounds(left, top, control->Width(), control->Height());
  } else if (TControl* host = render_.Control(); host && host->Parent()) {
    control->SetParent(host->Parent());
    control->SetBounds(host->Left() + left, host->Top() + top, control->Width(), control->Height());
  } else {
    return;
  }
  control->SetVisible(true);
}

}  // namespace kestrel
