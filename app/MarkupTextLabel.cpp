#include "app/MarkupTextLabel.h"

#include "html/HTMLRender.h"
#include "platform/text/Text.h"

namespace kestrel {

namespace pf = platform;

TMarkupTextLabel::TMarkupTextLabel(TComponent* owner) : TLabel(owner) {
  SetAutoSize(false);
  SetWordWrap(true);
  SetShowAccelChar(false);
}

void TMarkupTextLabel::Changed() {
  // The caption is parsed once per change, not on every paint.
  TVnHTMLRender render;
  render.PrepareText(Caption(), 0, false);
  plainText_ = render.AsText();
  TLabel::Changed();
}

void TMarkupTextLabel::Paint() {
  TCanvas& canvas = *Canvas();
  const TRect area = ClientRect();
  if (!Transparent() && Color() != clNone) {
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(Color());
    canvas.FillRect(area);
  }
  canvas.SetFont(Font());
  canvas.Brush()->SetStyle(bsClear);
  const unsigned flags = pf::DT_WORDBREAK | pf::DT_NOPREFIX |
                         (Alignment() == taCenter ? pf::DT_CENTER : Alignment() == taRightJustify ? pf::DT_RIGHT : 0);
  TRect measured = area;
  const int textHeight = canvas.DrawText(plainText_, measured, flags | pf::DT_CALCRECT);
  const int spare = (area.bottom - area.top) - textHeight;
  const int offset = Layout() == tlCenter ? spare / 2 : Layout() == tlBottom ? spare : 0;
  TRect textRect = Rect(area.left, area.top + offset, area.right, area.bottom);
  canvas.DrawText(plainText_, textRect, flags);
}

}  // namespace kestrel
