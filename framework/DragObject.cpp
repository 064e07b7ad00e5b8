#include "framework/DragObject.h"

#include "framework/Control.h"

namespace kestrel {

KESTREL_IMPLEMENT_CLASS(TDragObject, TObject)

int TDragObject::GetDragCursor(bool accepted, int, int) { return accepted ? crDrag : crNoDrop; }

}  // namespace kestrel
