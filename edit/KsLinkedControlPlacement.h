#pragma once
// Where a linked control (a caption, say) goes next to the edit it belongs to: on the side the
// position names, Spacing pixels away, lined up with the edge the position names or centred.

#include "edit/KsEditTypes.h"
#include "framework/Control.h"

namespace kestrel {

class TKsLinkedControlPlacement {
 public:
  // The linked control's new bounds (its size kept) for an edit at EditBounds.
  static TRect Place(const TRect& editBounds, int linkedWidth, int linkedHeight, TKsLinkCtlPos position, int spacing);

 private:
  enum class TSide { Left, Top, Right, Bottom };
  enum class TLineUp { Start, End, Center };
  static TSide SideOf(TKsLinkCtlPos position);
  static TLineUp LineUpOf(TKsLinkCtlPos position);
  // Start of a span of Size lined up with the span [From, To).
  static int LinedUp(TLineUp lineUp, int from, int to, int size);
};

}  // namespace kestrel
