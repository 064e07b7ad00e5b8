#include "framework/Panel.h"

#include <algorithm>

#include "framework/PropInfo.h"
#include "framework/TypeInfo.h"
#include "platform/gdi/Gdi.h"
#include "platform/text/Text.h"
#include "platform/theme/UxTheme.h"
#include "platform/theme/VsStyle.h"

namespace kestrel {

namespace pf = platform;

const TEnumInfo& BevelCutTypeInfo() {
  static const TEnumInfo info(u"TBevelCut", {u"bvNone", u"bvLowered", u"bvRaised", u"bvSpace"});
  return info;
}

namespace {

// One ring `width` pixels wide along the inside of `r`, light on the top and left edges and dark
// on the bottom and right ones; `r` shrinks by the ring.
void Frame3D(TCanvas& canvas, TRect& r, TColor topLeft, TColor bottomRight, int width) {
  canvas.Brush()->SetStyle(bsSolid);
  for (int i = 0; i < width && r.right > r.left && r.bottom > r.top; ++i) {
    canvas.Brush()->SetColor(topLeft);
    canvas.FillRect(Rect(r.left, r.top, r.right, r.top + 1));
    canvas.FillRect(Rect(r.left, r.top, r.left + 1, r.bottom));
    canvas.Brush()->SetColor(bottomRight);
    canvas.FillRect(Rect(r.left, r.bottom - 1, r.right, r.bottom));
    canvas.FillRect(Rect(r.right - 1, r.top, r.right, r.bottom));
    r = Rect(r.left + 1, r.top + 1, r.right - 1, r.bottom - 1);
  }
}

// A raised or lowered ring through the theme engine; false while themes are off.
bool DrawThemedBevel(TCanvas& canvas, TRect& r, bool raised, int width) {
  pf::HTHEME theme = pf::OpenThemeData(nullptr, u"WINDOW");
  if (!theme) return false;
  for (int i = 0; i < width && r.right > r.left && r.bottom > r.top; ++i) {
    const pf::RECT ring{r.left, r.top, r.right, r.bottom};
    pf::RECT inside{};
    pf::DrawThemeEdge(theme, canvas.Handle(), pf::WP_DIALOG, 0, &ring,
                      raised ? pf::BDR_RAISEDOUTER : pf::BDR_SUNKENOUTER, pf::BF_RECT, &inside);
    r = Rect(inside.left, inside.top, inside.right, inside.bottom);
  }
  pf::CloseThemeData(theme);
  return true;
}

// Draws one bevel ring of kind `cut` (bvSpace keeps the fill colour).
void DrawBevel(TCanvas& canvas, TRect& r, TBevelCut cut, int width, TColor fill) {
  if ((cut == bvLowered || cut == bvRaised) && DrawThemedBevel(canvas, r, cut == bvRaised, width)) return;
  switch (cut) {
    case bvNone: return;
    case bvLowered: Frame3D(canvas, r, clBtnShadow, clBtnHighlight, width); return;
    case bvRaised: Frame3D(canvas, r, clBtnHighlight, clBtnShadow, width); return;
    case bvSpace: Frame3D(canvas, r, fill, fill, width); return;
  }
}

}  // namespace

KESTREL_IMPLEMENT_PUBLISHED_CLASS(TCustomPanel, TCustomControl)

void TCustomPanel::PublishProperties(TClassBuilder<TCustomPanel>& b) {
  b.Enum(u"Alignment", &TCustomPanel::Alignment, &TCustomPanel::SetAlignment, AlignmentTypeInfo()).Default(taCenter);
  b.Enum(u"BevelInner", &TCustomPanel::BevelInner, &TCustomPanel::SetBevelInner, BevelCutTypeInfo()).Default(bvNone);
  b.Enum(u"BevelOuter", &TCustomPanel::BevelOuter, &TCustomPanel::SetBevelOuter, BevelCutTypeInfo()).Default(bvRaised);
  b.Property(u"BevelWidth", &TCustomPanel::BevelWidth, &TCustomPanel::SetBevelWidth).Default(1);
  b.Property(u"BorderWidth", &TCustomPanel::BorderWidth, &TCustomPanel::SetBorderWidth).Default(0);
  b.Property(u"ShowCaption", &TCustomPanel::ShowCaption, &TCustomPanel::SetShowCaption).Default(true);
}

KESTREL_IMPLEMENT_CLASS(TPanel, TCustomPanel)

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) {
  SetControlStyle(ControlStyle() + TControlStyle{csAcceptsControls, csOpaque});
  SetBounds(0, 0, 185, 41);
  SetColor(clBtnFace);
}

int TCustomPanel::Inset() const {
  int inset = borderWidth_;
  if (bevelOuter_ != bvNone) inset += bevelWidth_;
  if (bevelInner_ != bvNone) inset += bevelWidth_;
  return inset;
}

void TCustomPanel::AdjustClientRect(TRect& rect) const {
  TCustomControl::AdjustClientRect(rect);
  const int inset = Inset();
  rect.left += inset;
  rect.top += inset;
  rect.right = std::max(rect.left, rect.right - inset);
  rect.bottom = std::max(rect.top, rect.bottom - inset);
}

void TCustomPanel::FrameChanged() {
  Realign();
  Invalidate();
}

void TCustomPanel::SetAlignment(TAlignment value) {
  if (value == alignment_) return;
  alignment_ = value;
  Invalidate();
}

void TCustomPanel::SetBevelOuter(TBevelCut value) {
  if (value == bevelOuter_) return;
  bevelOuter_ = value;
  FrameChanged();
}

void TCustomPanel::SetBevelInner(TBevelCut value) {
  if (value == bevelInner_) return;
  bevelInner_ = value;
  FrameChanged();
}

void TCustomPanel::SetBevelWidth(TBevelWidth value) {
  value = std::max(1, value);
  if (value == bevelWidth_) return;
  bevelWidth_ = value;
  FrameChanged();
}

void TCustomPanel::SetBorderWidth(TBorderWidth value) {
  value = std::max(0, value);
  if (value == borderWidth_) return;
  borderWidth_ = value;
  FrameChanged();
}

void TCustomPanel::SetShowCaption(bool value) {
  if (value == showCaption_) return;
  showCaption_ = value;
  Invalidate();
}

void TCustomPanel::Paint() {
  TCanvas& canvas = *Canvas();
  TRect r = ClientRect();
  const TColor fill = Color();
  DrawBevel(canvas, r, bevelOuter_, bevelWidth_, fill);
  if (fill != clNone) {
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(fill);
    canvas.FillRect(r);
  }
  r = Rect(r.left + borderWidth_, r.top + borderWidth_, r.right - borderWidth_, r.bottom - borderWidth_);
  DrawBevel(canvas, r, bevelInner_, bevelWidth_, fill);
  if (!showCaption_ || Caption().empty()) return;
  unsigned flags = pf::DT_SINGLELINE | pf::DT_VCENTER | pf::DT_NOPREFIX;
  if (alignment_ == taCenter) flags |= pf::DT_CENTER;
  if (alignment_ == taRightJustify) flags |= pf::DT_RIGHT;
  canvas.Brush()->SetStyle(bsClear);
  canvas.SetFont(Font());
  canvas.DrawText(Caption(), r, flags);
}

}  // namespace kestrel
