#include "controls/KsSBTrackHint.h"

#include "controls/KsSBHandlerCustom.h"

namespace kestrel {

TKsSBTrackHint::TKsSBTrackHint() = default;
TKsSBTrackHint::~TKsSBTrackHint() = default;

void TKsSBTrackHint::Show(const TKsSBHandlerCustom&, const String& text) { text_ = text; }

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
