#pragma once
// Drives the store and the undo list the way the edit control's commands do: each operation
// edits the text, then records what it did. The caret and the anchor are character indexes.

#include <algorithm>

#include "edit/KsActionList.h"
#include "edit/KsEditStrings.h"
#include "tests/edit/FixedMetricHost.h"

namespace kestrel::testing {

struct EditDriver {
  FixedMetricHost host;
  TKsEditStrings lines{host};
  TKsActionList undo;
  int anchor = 0;
  int caret = 0;

  explicit EditDriver(int roomInChars = 20) {
    host.SetRoomInChars(roomInChars);
    undo.Attach(&lines);
  }

  void Select(int a, int c) {
    anchor = a;
    caret = c;
  }
  bool HasSelection() const { return anchor != caret; }

  void DeleteSelection() {
    if (!HasSelection()) return;
    const int first = std::min(anchor, caret);
    const String removed = lines.DeleteText(anchor, caret);
    undo.AddAction(atDeleteSel, anchor, removed, first);
    anchor = caret = first;
  }
  int InsertAtCaret(std::u16string_view s) {
    const int start = caret;
    caret = anchor = lines.InsertTextAt(start, s);
    return start;
  }
  void Type(std::u16string_view s) {
    undo.AddAction(atGroupBreak, 0, u"", 0);
    DeleteSelection();
    const int start = InsertAtCaret(s);
    undo.AddAction(atInsert, start, s, caret);
    undo.AddAction(atGroupBreak, 0, u"", 0);
  }
  void Paste(std::u16string_view s) {
    DeleteSelection();
    const int start = InsertAtCaret(s);
    undo.AddAction(atInsert, start, s, caret);
  }
  // Enter; AtContinuationStart: the caret stands at column 0 of a wrapped continuation line,
  // where Enter leaves an empty line between the two halves of the paragraph.
  void Enter(bool atContinuationStart = false) {
    DeleteSelection();
    if (atContinuationStart) undo.AddAction(atLineBreak, caret, u"", caret);
    const int start = InsertAtCaret(atContinuationStart ? u"\r\n\r\n" : u"\r\n");
    undo.AddAction(atInsert, start, u"", caret);
  }
  void Backspace() {
    if (HasSelection()) return DeleteSelection();
    const int before = lines.PrevCharPos(caret);
    if (before == caret) return;
    const int old = caret;
    const String removed = lines.DeleteText(before, old);
    caret = anchor = before;
    undo.AddAction(atBackSpace, old, removed, caret);
  }
  void Delete() {
    if (HasSelection()) return DeleteSelection();
    const int after = lines.NextCharPos(caret);
    if (after == caret) return;
    const String removed = lines.DeleteText(caret, after);
    undo.AddAction(atDelete, caret, removed, caret);
  }
  bool Undo() {
    TKsUndoSelection sel{anchor, caret};
    const bool done = undo.Undo(lines, sel);
    anchor = sel.Anchor;
    caret = sel.Caret;
    return done;
  }
  void Rewrap(int roomInChars) {
    host.SetRoomInChars(roomInChars);
    lines.WrapAll();
  }
};

}  // namespace kestrel::testing
