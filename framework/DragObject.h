#pragma once
// TDragObject: what is being dragged inside the process. The drag tracker hands its Source to
// the targets' DragOver and DragDrop and asks it for the cursor to show. A control that is
// dragged without a drag object of its own is carried by a TDragControlObject.

#include "framework/Object.h"

namespace kestrel {

class TDragObject : public TObject {
  KESTREL_CLASS(TDragObject)
  TDragObject() = default;
  ~TDragObject() override = default;

  // What the targets receive as the source of the drag (the object itself here).
  virtual TObject* Source() { return this; }
  // The cursor over a target that accepts the drop (or refuses it: crNoDrop).
  virtual int GetDragCursor(bool accepted, int x, int y);
  // The drag ended on `target` (null: cancelled or refused), at (x, y) in the target's client
  // coordinates (the source's when there is no target).
  virtual void Finished(TObject* /*target*/, int /*x*/, int /*y*/) {}
};

}  // namespace kestrel
