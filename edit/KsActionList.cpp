#include "edit/KsActionList.h"

#include "edit/KsEditStrings.h"

namespace kestrel {

KESTREL_IMPLEMENT_CLASS(TKsAction, TPersistent)
KESTREL_IMPLEMENT_CLASS(TKsActionList, TPersistent)

void TKsAction::Assign(const TPersistent* source) {
  const auto* action = dynamic_cast<const TKsAction*>(source);
  if (!action) return TPersistent::Assign(source);
  action_ = action->action_;
  startPos_ = action->startPos_;
  endPos_ = action->endPos_;
  FStr = action->FStr;
}

void TKsActionList::Attach(const TKsEditStrings* text) {
  text_ = text;
  Synchronize();
}

void TKsActionList::Synchronize() {
  if (text_) stamp_ = text_->ChangeStamp();
}

bool TKsActionList::InSync() const { return !text_ || stamp_ == text_->ChangeStamp(); }

void TKsActionList::AddAction(TKsActionType action, int startPos, std::u16string_view str, int endPos) {
  if (FLockCount > 0) return;
  PushItem(std::make_unique<TKsAction>(action, startPos, String(str), endPos));
  Synchronize();
}

void TKsActionList::PushItem(std::unique_ptr<TKsAction> item) {
  if (!item) return;
  if (FMaxUndo > 0 && static_cast<int>(FAStack.size()) >= FMaxUndo) FAStack.pop_front();
  FAStack.push_back(std::move(item));
}

std::unique_ptr<TKsAction> TKsActionList::PopItem() {
  if (FAStack.empty()) return nullptr;
  auto item = std::move(FAStack.back());
  FAStack.pop_back();
  return item;
}

TKsAction* TKsActionList::PeekItem() const { return FAStack.empty() ? nullptr : FAStack.back().get(); }

void TKsActionList::Clear() { FAStack.clear(); }

void TKsActionList::SetMaxUndo(int value) {
  if (value < 0 || value == FMaxUndo) return;
  FMaxUndo = value;
  while (FMaxUndo > 0 && static_cast<int>(FAStack.size()) > FMaxUndo) FAStack.pop_front();
}

void TKsActionList::UndoRecord(const TKsAction& action, TKsEditStrings& lines, TKsUndoSelection& selection) {
  switch (action.Action()) {
    case atInsert: {
      // The inserted text is removed again; the list is locked so that this makes no record.
      Lock();
      lines.DeleteText(action.StartPos(), action.EndPos());
      UnLock();
      selection.Anchor = selection.Caret = std::min(action.StartPos(), action.EndPos());
      break;
    }
    case atDelete:
    case atBackSpace:
    case atDeleteSel: {
      const int after = lines.InsertTextAt(action.EndPos(), action.CString());
      selection.Anchor = action.StartPos();
      selection.Caret = action.StartPos();
      if (action.Action() == atDeleteSel) selection.Caret = action.StartPos() >= after ? action.EndPos() : after;
      break;
    }
    default: break;
  }
}

bool TKsActionList::Undo(TKsEditStrings& lines, TKsUndoSelection& selection, const std::function<void()>& invalidate) {
  if (!InSync()) {
    // The text changed without a record: the records no longer describe it.
    Clear();
    Synchronize();
    return false;
  }
  bool grouped = false;
  bool undone = false;
  do {
    auto action = PopItem();
    if (!action) break;
    if (action->Action() == atGroupBreak) {
      grouped = !grouped;
    } else {
      UndoRecord(*action, lines, selection);
      undone = true;
    }
    if (invalidate) invalidate();
  } while (grouped);
  Synchronize();
  return undone;
}

}  // namespace kestrel
