#pragma once
// The edit control's undo records and their bounded stack. Positions in a record are character
// indexes into the text (a paragraph break counting two), so they stay right when the text is
// re-wrapped for another width or font between the edit and its undo.

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>

#include "framework/Persistent.h"

namespace kestrel {

class TKsEditStrings;

enum TKsActionType {
  atInsert = 0,
  atDelete = 1,
  atLineBreak = 2,
  atGroupBreak = 3,
  atPaste = 4,
  atBackSpace = 5,
  atDeleteSel = 6,
  atInsertSel = 7,
};

class TKsAction : public TPersistent {
  KESTREL_CLASS(TKsAction)
  TKsAction() = default;
  TKsAction(TKsActionType action, int startPos, String str, int endPos)
      : action_(action), startPos_(startPos), endPos_(endPos), FStr(std::move(str)) {}

  TKsActionType Action() const { return action_; }
  int StartPos() const { return startPos_; }
  int EndPos() const { return endPos_; }
  const String& CString() const { return FStr; }
  // Copies all four values of another record.
  using TPersistent::Assign;
  void Assign(const TPersistent* source) override;

 private:
  TKsActionType action_ = atInsert;
  int startPos_ = 0;
  int endPos_ = 0;
  String FStr;
};

// Where an undo step leaves the selection: the anchor and the caret, as character indexes.
struct TKsUndoSelection {
  int Anchor = 0;
  int Caret = 0;
};

class TKsActionList : public TPersistent {
  KESTREL_CLASS(TKsActionList)
  TKsActionList() = default;

  // Records an action unless the list is locked. Record an edit after making it: the list then
  // knows which text its records belong to.
  void AddAction(TKsActionType action, int startPos, std::u16string_view str, int endPos);
  // Pushes, dropping the oldest record first when MaxUndo records are held already.
  void PushItem(std::unique_ptr<TKsAction> item);
  std::unique_ptr<TKsAction> PopItem();
  TKsAction* PeekItem() const;
  void Lock() { ++FLockCount; }
  void UnLock() {
    if (FLockCount > 0) --FLockCount;
  }
  int LockCount() const { return FLockCount; }
  void Clear();

  int MaxUndo() const { return FMaxUndo; }
  // 0: no limit. A positive limit below the number held drops the oldest records.
  void SetMaxUndo(int value);
  bool CanUndo() const { return !FAStack.empty(); }
  int Count() const { return static_cast<int>(FAStack.size()); }

  // The text the records belong to. Once attached, an edit of that text made without a record
  // empties the list at the next undo instead of letting it act at shifted positions.
  void Attach(const TKsEditStrings* text);
  // Undoes one step (a single record or a whole group) on Lines, most recent first. Answers
  // whether a record was undone; Selection receives where the caret and anchor go. Invalidate
  // runs after each record.
  bool Undo(TKsEditStrings& lines, TKsUndoSelection& selection, const std::function<void()>& invalidate = {});

 private:
  void Synchronize();
  bool InSync() const;
  void UndoRecord(const TKsAction& action, TKsEditStrings& lines, TKsUndoSelection& selection);

  std::deque<std::unique_ptr<TKsAction>> FAStack;  // newest at the back
  int FMaxUndo = 0;
  int FLockCount = 0;
  const TKsEditStrings* text_ = nullptr;
  std::uint64_t stamp_ = 0;
};

}  // namespace kestrel
