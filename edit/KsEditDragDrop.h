#pragma once
// The edit control's side of dragging text inside the process (the drag itself is run by the
// framework's drag tracker, framework/DragTracker.h). A pending drag that left the drag rectangle
// drags the selection — never a password edit's, whose text must not leave it. As a target an
// edit accepts only another edit's text (or its own), and only when it is not read-only; while
// the text hangs over it the caret shows where it would go. A drop from another edit, or with
// Ctrl held, copies; a drag inside one edit moves. Dropping selects the dropped text; one undo
// step takes the whole drop back.

#include "framework/Control.h"

namespace kestrel {

class TCustomKsEdit;

class TKsEditDragDrop {
 public:
  // The pending drag of `edit` starts (the mouse left the drag rectangle).
  static void Start(TCustomKsEdit& edit);
  // `edit` as a target: whether it takes what `source` drags to (x, y).
  static void Over(TCustomKsEdit& edit, TObject* source, int x, int y, TDragState state, bool& accept);
  static void Drop(TCustomKsEdit& edit, TObject* source, int x, int y);
  // `edit`'s own drag ended on `target` (null: cancelled); unless the text moved inside the edit,
  // its caret goes back to the press.
  static void Ended(TCustomKsEdit& edit, TObject* target);

  // The edit whose text `source` carries, when it may be given away (null otherwise).
  static TCustomKsEdit* DraggedEdit(TObject* source);
};

}  // namespace kestrel
