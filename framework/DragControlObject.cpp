#include "framework/DragControlObject.h"

#include "framework/Control.h"

namespace kestrel {

KESTREL_IMPLEMENT_CLASS(TDragControlObject, TDragObject)

TObject* TDragControlObject::Source() { return control_; }

int TDragControlObject::GetDragCursor(bool accepted, int, int) { return accepted ? control_->DragCursor() : crNoDrop; }

}  // namespace kestrel
