#include "edit/KsEditDragDrop.h"

#include "edit/KsCustomEdit.h"

namespace kestrel {

namespace {

bool CtrlHeld() { return KeyboardShiftState().Contains(ssCtrl); }

// Where an entered edit's caret was before the dragged text showed its place there.
struct EnteredTarget {
  const TCustomKsEdit* edit = nullptr;
  TKsCaretPos caret;
};
EnteredTarget gEntered;
// The dragging edit's own drag cursor: the drag shows a move or a copy, then this comes back.
int gSourceCursor = crDrag;

}  // namespace

TCustomKsEdit* TKsEditDragDrop::DraggedEdit(TObject* source) {
  auto* edit = dynamic_cast<TCustomKsEdit*>(source);
  return edit && edit->PasswordMask() == 0 && edit->Core().Selected() ? edit : nullptr;
}

void TKsEditDragDrop::Start(TCustomKsEdit& edit) {
  if (!DraggedEdit(&edit)) return;  // a password stays where it is
  edit.SetDragging(true);
  gSourceCursor = edit.DragCursor();
  edit.BeginDrag(true);
}

void TKsEditDragDrop::Over(TCustomKsEdit& edit, TObject* source, int x, int y, TDragState state, bool& accept) {
  TCustomKsEdit* from = DraggedEdit(source);
  accept = from && !edit.ReadOnly();
  if (state == dsDragLeave) {
    if (gEntered.edit == &edit) edit.Core().SetCaretXY(gEntered.caret);
    gEntered = {};
    return;
  }
  if (!accept) return;
  if (from != &edit && gEntered.edit != &edit) gEntered = {&edit, edit.Core().CaretXY()};
  from->SetDragCursor(CtrlHeld() ? crMultiDrag : crDrag);
  edit.Core().SetCaretXY(edit.CaretFromPos(Point(x, y)));
}

void TKsEditDragDrop::Drop(TCustomKsEdit& edit, TObject* source, int x, int y) {
  gEntered = {};
  TCustomKsEdit* from = DraggedEdit(source);
  if (!from || edit.ReadOnly()) return;
  const TKsCaretPos at = edit.CaretFromPos(Point(x, y));
  const bool move = from == &edit && !CtrlHeld();
  edit.Core().DropText(from->Core().SelText(), edit.Core().CharFromCaret(at.X, at.Y), move);
}

void TKsEditDragDrop::Ended(TCustomKsEdit& edit, TObject* target) {
  edit.SetDragCursor(gSourceCursor);
  // Text moved inside the edit placed the caret; anywhere else it goes back to the press.
  if (target == &edit) edit.SetDragging(false);
  else edit.DragCancelled();
}

}  // namespace kestrel
