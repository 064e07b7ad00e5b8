#pragma once
// TDragControlObject: a control being dragged. Targets see the control itself as the source,
// and an accepting target shows the control's DragCursor.

#include "framework/DragObject.h"

namespace kestrel {

class TControl;

class TDragControlObject : public TDragObject {
  KESTREL_CLASS(TDragControlObject)
  explicit TDragControlObject(TControl* control) : control_(control) {}

  TControl* Control() const { return control_; }
  TObject* Source() override;
  int GetDragCursor(bool accepted, int x, int y) override;

 private:
  TControl* control_;
};

}  // namespace kestrel
