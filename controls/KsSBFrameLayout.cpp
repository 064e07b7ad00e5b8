#include "controls/KsSBFrameLayout.h"

namespace kestrel {

using platform::LRESULT;
using platform::POINT;
using platform::RECT;

namespace {

bool InsideInclusive(const RECT& r, POINT p) {
  return p.x >= r.left && p.x <= r.right && p.y >= r.top && p.y <= r.bottom;
}

}  // namespace

void TKsSBFrameLayout::Clear() {
  horzRect_ = vertRect_ = RECT{-1, -1, -1, -1};
  hasHorz_ = hasVert_ = leftBar_ = false;
}

RECT TKsSBFrameLayout::Calculate(const TKsSBFrameInput& in) {
  hasHorz_ = in.hasHorz;
  hasVert_ = in.hasVert;
  leftBar_ = in.hasVert && in.leftScrollBar;
  vertDepth_ = in.vertDepth;
  cxLeftEdge = in.defaultClient.left - in.proposed.left;
  cxRightEdge = in.proposed.right - in.defaultClient.right;
  cyTopEdge = in.defaultClient.top - in.proposed.top;
  cyBottomEdge = in.proposed.bottom - in.defaultClient.bottom;

  RECT client = in.defaultClient;
  if (hasHorz_) client.bottom = client.bottom - client.top < in.horzDepth ? client.top : client.bottom - in.horzDepth;
  if (hasVert_) {
    bool narrow = client.right - client.left < in.vertDepth;
    if (leftBar_) client.left = narrow ? client.right : client.left + in.vertDepth;
    else client.right = narrow ? client.left : client.right - in.vertDepth;
  }
  int width = client.right - client.left;
  int height = client.bottom - client.top;
  int shift = leftBar_ ? in.vertDepth : 0;
  horzRect_ = hasHorz_ ? RECT{cxLeftEdge + shift, cyTopEdge + height, cxLeftEdge + shift + width - 1,
                              cyTopEdge + height + in.horzDepth - 1}
                       : RECT{-1, -1, -1, -1};
  int vertLeft = leftBar_ ? cxLeftEdge : cxLeftEdge + width;
  vertRect_ =
      hasVert_ ? RECT{vertLeft, cyTopEdge, vertLeft + in.vertDepth - 1, cyTopEdge + height - 1} : RECT{-1, -1, -1, -1};
  return client;
}

POINT TKsSBFrameLayout::ClientToFrame(POINT client) const {
  return POINT{client.x + cxLeftEdge + (leftBar_ ? vertDepth_ : 0), client.y + cyTopEdge};
}

int TKsSBFrameLayout::PaintHeightGrowth(int height) const {
  if (height + 1 - cyBottomEdge >= horzRect_.bottom) return 0;
  return (height + 1) - horzRect_.bottom - 2 * cyBottomEdge + 2;
}

RECT TKsSBFrameLayout::CrossRect(int height) const {
  if (!hasHorz_ || !hasVert_) return RECT{-1, -1, -1, -1};
  return RECT{vertRect_.left, horzRect_.top, vertRect_.right + 1, horzRect_.bottom + 1 + PaintHeightGrowth(height)};
}

bool TKsSBFrameLayout::OverHorz(POINT frame, int height) const {
  return hasHorz_ && InsideInclusive(horzRect_, frame) && frame.y < height + 1 - cyBottomEdge;
}

bool TKsSBFrameLayout::OverVert(POINT frame) const { return hasVert_ && InsideInclusive(vertRect_, frame); }

LRESULT TKsSBFrameLayout::HitTest(POINT frame, int height, bool sizeableForm) const {
  if (OverHorz(frame, height)) return platform::HTHSCROLL;
  if (OverVert(frame)) return platform::HTVSCROLL;
  if (sizeableForm && hasHorz_ && hasVert_) {
    RECT grip = CrossRect(height);
    grip.top += 1;
    if (leftBar_) grip.left += 1;
    else grip.right -= 1;
    if (frame.x >= grip.left && frame.x < grip.right && frame.y >= grip.top && frame.y < grip.bottom)
      return leftBar_ ? platform::HTBOTTOMLEFT : platform::HTBOTTOMRIGHT;
  }
  return platform::HTNOWHERE;
}

TKsSBMouseRoute TKsSBFrameLayout::Route(POINT frame, int height, bool horzBusy, bool vertBusy) const {
  TKsSBMouseRoute route;
  route.overHorz = OverHorz(frame, height);
  route.overVert = !route.overHorz && OverVert(frame);
  route.handled = (hasVert_ && (route.overVert || vertBusy)) || (hasHorz_ && (route.overHorz || horzBusy));
  // A pressed or tracking bar keeps the mouse from the other one.
  if (vertBusy) route.overHorz = false;
  if (horzBusy) route.overVert = false;
  return route;
}

}  // namespace kestrel
