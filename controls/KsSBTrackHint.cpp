#include "controls/KsSBTrackHint.h"

#include <algorithm>

#include "controls/KsHintWindow.h"
#include "controls/KsSBHandlerCustom.h"
#include "framework/WinControl.h"
#include "platform/gdi/SystemColors.h"

namespace kestrel {

TKsSBTrackHint::TKsSBTrackHint() = default;
TKsSBTrackHint::~TKsSBTrackHint() = default;

bool TKsSBTrackHint::CanShow(const TKsSBHandlerCustom& bar) {
  TKsSBControllerLink* link = bar.SBController();
  TWinControl* control = link ? link->AttachedControl() : nullptr;
  return control && control->Parent() && !control->ComponentState().Contains(csDesigning);
}

void TKsSBTrackHint::Show(const TKsSBHandlerCustom& bar, const String& text) {
  text_ = text;
  if (text.empty() || !CanShow(bar)) {
    Hide();
    return;
  }
  const TRect desktop =
      Rect(0, 0, platform::GetSystemMetrics(platform::SM_CXSCREEN), platform::GetSystemMetrics(platform::SM_CYSCREEN));
  if (!window_ || window_->IsMarkup() != bar.IsHTML()) window_ = std::make_unique<TKsHintWindow>(bar.IsHTML());
  const TRect size = window_->CalcHintRect(desktop.right, text);
  bounds_ = Place(Anchor(bar), size.right - size.left, size.bottom - size.top, desktop);
  window_->ActivateHint(bounds_, text);
}

void TKsSBTrackHint::Hide() {
  bounds_ = TRect{0, 0, 0, 0};
  if (window_) window_->HideHint();
}

// The corner near the thumb, in screen coordinates: beside a vertical bar's thumb, above a
// horizontal bar's, shifted from the client area to where the bar stands in the frame.
TPoint TKsSBTrackHint::Anchor(const TKsSBHandlerCustom& bar) {
  TKsSBControllerLink* link = bar.SBController();
  const TKsSBEdges edges = link->Edges();
  const TKsSBHandlerCustom* other = link->OtherBar(bar);
  const bool vertical = bar.Kind() == sbVertical;
  TPoint p = vertical ? TPoint{-2, bar.ThumbStart() - 2} : TPoint{bar.ThumbStart() - 2, -5};
  p = link->AttachedControl()->ClientToScreen(p);
  if (vertical) {
    if (link->VerticalBarOnLeft()) p.x -= bar.Depth() + edges.left;
    else if (other) p.x += other->ScrollBarRect().right - edges.left;
    p.y -= edges.top;
  } else {
    p.x -= edges.left;
    p.y += bar.Depth() + bar.ScrollBarRect().bottom + edges.bottom;
  }
  return p;
}

TRect TKsSBTrackHint::Place(TPoint anchor, int width, int height, const TRect& desktop) {
  TRect r = Rect(anchor.x - 1 - width, anchor.y - 1 - height, anchor.x - 1, anchor.y - 1);
  auto shift = [&r](int dx, int dy) { r = Rect(r.left + dx, r.top + dy, r.right + dx, r.bottom + dy); };
  if (r.left < desktop.left) shift(desktop.left - r.left, 0);
  if (r.top < desktop.top) shift(0, desktop.top - r.top);
  if (r.right > desktop.right) shift(desktop.right - r.right, 0);
  if (r.bottom > desktop.bottom) shift(0, desktop.bottom - r.bottom);
  return r;
}

}  // namespace kestrel
