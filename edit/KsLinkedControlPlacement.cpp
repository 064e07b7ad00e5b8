#include "edit/KsLinkedControlPlacement.h"

namespace kestrel {

TKsLinkedControlPlacement::TSide TKsLinkedControlPlacement::SideOf(TKsLinkCtlPos position) {
  switch (position / 3) {
    case 0: return TSide::Left;
    case 1: return TSide::Top;
    case 2: return TSide::Right;
    default: return TSide::Bottom;
  }
}

// Within each side the three positions come as (top or left), (bottom or right), centre.
TKsLinkedControlPlacement::TLineUp TKsLinkedControlPlacement::LineUpOf(TKsLinkCtlPos position) {
  switch (position % 3) {
    case 0: return TLineUp::Start;
    case 1: return TLineUp::End;
    default: return TLineUp::Center;
  }
}

int TKsLinkedControlPlacement::LinedUp(TLineUp lineUp, int from, int to, int size) {
  switch (lineUp) {
    case TLineUp::Start: return from;
    case TLineUp::End: return to - size;
    default: return from + (to - from - size) / 2;
  }
}

TRect TKsLinkedControlPlacement::Place(const TRect& e, int w, int h, TKsLinkCtlPos position, int spacing) {
  const TLineUp lineUp = LineUpOf(position);
  int x = 0, y = 0;
  switch (SideOf(position)) {
    case TSide::Left:
      x = e.left - spacing - w;
      y = LinedUp(lineUp, e.top, e.bottom, h);
      break;
    case TSide::Right:
      x = e.right + spacing;
      y = LinedUp(lineUp, e.top, e.bottom, h);
      break;
    case TSide::Top:
      x = LinedUp(lineUp, e.left, e.right, w);
      y = e.top - spacing - h;
      break;
    case TSide::Bottom:
      x = LinedUp(lineUp, e.left, e.right, w);
      y = e.bottom + spacing;
      break;
  }
  return TRect{x, y, x + w, y + h};
}

}  // namespace kestrel
