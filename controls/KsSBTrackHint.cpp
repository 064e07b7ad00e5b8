#include "controls/KsSBTrackHint.h"

#include <memory>

#include "controls/KsHintWindow.h"
#include "controls/KsSBHandlerCustom.h"
#include "framework/WinControl.h"
#include "platform/gdi/SystemColors.h"
#include "platform/window/WindowApi.h"

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

// The corner near the thumb, in screen coordinates: just left of a vertical bar's thumb, just
// above a horizontal bar's, taken from the bar's own place in the window's frame.
TPoint TKsSBTrackHint::Anchor(const TKsSBHandlerCustom& bar) {
  TKsSBControllerLink* link = bar.SBController();
  const TPoint inBar = bar.Kind() == sbVertical ? TPoint{-2, bar.ThumbStart() - 2} : TPoint{bar.ThumbStart() - 2, -5};
  platform::RECT window{};
  if (link->ControlHandleAllocated()) platform::GetWindowRect(link->ControlHandle(), &window);
  const TRect& place = bar.ScrollBarRect();
  return TPoint{window.left + place.left + inBar.x, window.top + place.top + inBar.y};
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
