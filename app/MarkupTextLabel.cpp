#include "app/MarkupTextLabel.h"

#include "html/HTMLRender.h"
#include "platform/text/Text.h"

namespace kestrel {

namespace pf = platform;

TMarkupTextLabel::TMarkupTextLabel(TComponent* owner) : TGraphicControl(owner) {
  SetControlStyle(ControlStyle() + TControlStyle{csOpaque});
  SetParentColor(true);
}

void TMarkupTextLabel::SetLayout(TTextLayout value) {
  if (value == layout_) return;
  layout_ = value;
  Invalidate();
}

void TMarkupTextLabel::SetTransparent(bool value) {
  if (value == transparent_) return;
  transparent_ = value;
  TControlStyle style = ControlStyle();
  if (value) style.Exclude(csOpaque);
  else style.Include(csOpaque);
  SetControlStyle(style);
  Invalidate();
}

void TMarkupTextLabel::Changed() {
  // The caption is parsed once per change, not on every paint.
  TVnHTMLRender render;
  render.PrepareText(Caption(), 0, false);
  plainText_ = render.AsText();
  TGraphicControl::Changed();
}

void TMarkupTextLabel::Paint() {
  TCanvas& canvas = *Canvas();
  const TRect area = ClientRect();
  if (!transparent_ && Color() != clNone) {
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(Color());
    canvas.FillRect(area);
  }
  const unsigned flags = pf::DT_WORDBREAK | pf::DT_NOPREFIX;
  TRect textRect = area;
  if (layout_ != tlTop) {
    TRect measured = area;
    canvas.DrawText(plainText_, measured, flags | pf::DT_CALCRECT);
    const int spare = (area.bottom - area.top) - (measured.bottom - measured.top);
    textRect.top += layout_ == tlCenter ? spare / 2 : spare;
  }
  canvas.Brush()->SetStyle(bsClear);
  canvas.SetFont(Font());
  canvas.DrawText(plainText_, textRect, flags);
}

}  // namespace kestrel
