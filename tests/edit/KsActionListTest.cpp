#include <gtest/gtest.h>

#include "edit/KsActionList.h"
#include "tests/edit/EditDriver.h"

namespace kestrel {
namespace {

using testing::EditDriver;

std::vector<int> StartPositions(TKsActionList& list) {
  std::vector<int> out;
  while (auto item = list.PopItem()) out.insert(out.begin(), item->StartPos());
  return out;
}

TEST(KsActionList, StackIsBoundedByMaxUndoAndDropsTheOldest) {
  TKsActionList list;
  list.SetMaxUndo(2);
  for (int i = 0; i < 5; ++i) list.AddAction(atInsert, i, u"x", i + 1);
  EXPECT_EQ(StartPositions(list), (std::vector<int>{3, 4}));

  TKsActionList ten;
  for (int i = 0; i < 10; ++i) ten.AddAction(atDelete, i, u"x", i);
  ten.SetMaxUndo(0);  // no limit: nothing removed
  EXPECT_EQ(ten.Count(), 10);
  ten.SetMaxUndo(-1);  // ignored
  EXPECT_EQ(ten.MaxUndo(), 0);
  ten.SetMaxUndo(3);
  EXPECT_EQ(StartPositions(ten), (std::vector<int>{7, 8, 9}));
  EXPECT_FALSE(ten.CanUndo());
  EXPECT_EQ(ten.PopItem(), nullptr);
  EXPECT_EQ(ten.PeekItem(), nullptr);
}

TEST(KsActionList, NothingIsRecordedWhileLocked) {
  TKsActionList list;
  list.UnLock();  // never below zero
  EXPECT_EQ(list.LockCount(), 0);
  list.Lock();
  list.Lock();
  list.AddAction(atInsert, 0, u"a", 1);
  list.UnLock();
  list.AddAction(atInsert, 0, u"a", 1);
  EXPECT_FALSE(list.CanUndo());
  list.UnLock();
  list.AddAction(atDeleteSel, 4, u"abc", 1);
  ASSERT_TRUE(list.CanUndo());
  TKsAction copy;
  copy.Assign(*list.PeekItem());
  EXPECT_EQ(copy.Action(), atDeleteSel);
  EXPECT_EQ(copy.StartPos(), 4);
  EXPECT_EQ(copy.CString(), u"abc");
  EXPECT_EQ(copy.EndPos(), 1);
  list.Clear();
  EXPECT_FALSE(list.CanUndo());
}

TEST(KsUndo, EachKeyPressIsAStepAndAGroupUndoesWhole) {
  EditDriver e;
  e.Type(u"a");
  e.Type(u"b");
  e.Type(u"c");
  EXPECT_EQ(e.lines.Text(), u"abc");
  EXPECT_TRUE(e.Undo());
  EXPECT_EQ(e.lines.Text(), u"ab");
  EXPECT_EQ(e.caret, 2);
  EXPECT_TRUE(e.Undo());
  EXPECT_TRUE(e.Undo());
  EXPECT_EQ(e.lines.Text(), u"");
  EXPECT_FALSE(e.Undo());  // empty stack: nothing changes

  // Typing over a selected word: one undo removes the x and selects the word again.
  e.lines.SetText(u"one two");
  e.undo.Clear();
  e.Select(7, 4);
  e.Type(u"x");
  EXPECT_EQ(e.lines.Text(), u"one x");
  EXPECT_TRUE(e.Undo());
  EXPECT_EQ(e.lines.Text(), u"one two");
  EXPECT_EQ(std::make_pair(e.anchor, e.caret), std::make_pair(7, 4));
  EXPECT_FALSE(e.undo.CanUndo());
}

TEST(KsUndo, PasteOverASelectionNeedsTwoSteps) {
  EditDriver e;
  e.lines.SetText(u"hello world");
  e.Select(0, 5);
  e.Paste(u"bye\r\nall");
  EXPECT_EQ(e.lines.Text(), u"bye\r\nall world");
  e.Undo();
  EXPECT_EQ(e.lines.Text(), u" world");
  e.Undo();
  EXPECT_EQ(e.lines.Text(), u"hello world");
  EXPECT_EQ(std::make_pair(e.anchor, e.caret), std::make_pair(0, 5));
}

TEST(KsUndo, BackspaceAndDeleteComeBackWhereTheyWere) {
  EditDriver e(6);
  e.lines.SetText(u"first\r\nsecond");
  e.Select(7, 7);  // start of the second paragraph
  e.Backspace();
  EXPECT_EQ(e.lines.Text(), u"firstsecond");
  e.Undo();
  EXPECT_EQ(e.lines.Text(), u"first\r\nsecond");
  EXPECT_EQ(e.caret, 7);
  int x = 0, y = 0;
  e.lines.CaretFromChar(e.caret, x, y);
  EXPECT_EQ(std::make_pair(x, y), std::make_pair(0, 1));

  // The last character of a wrapped continuation line.
  e.lines.SetText(u"aaaa bbbb cc");
  ASSERT_EQ(e.lines.GetLine(1), u"bbbb ");
  const int at = e.lines.CharFromCaret(4, 1);
  e.Select(at, at);
  e.Delete();
  EXPECT_EQ(e.lines.Text(), u"aaaa bbbbcc");
  e.Undo();
  EXPECT_EQ(e.lines.Text(), u"aaaa bbbb cc");
  EXPECT_EQ(e.lines.GetLine(1), u"bbbb ");
}

TEST(KsUndo, UndoAfterRewrappingRestoresExactly) {
  EditDriver e(8);
  e.lines.SetText(u"alpha beta gamma delta epsilon");
  e.Select(17, 17);
  e.Type(u"XYZ ");
  e.Select(2, 9);
  e.Backspace();
  const String typed = e.lines.Text();
  e.Rewrap(13);
  e.Undo();
  e.Rewrap(5);
  e.Undo();
  EXPECT_EQ(e.lines.Text(), u"alpha beta gamma delta epsilon");
  EXPECT_NE(typed, e.lines.Text());
}

TEST(KsUndo, EnterAtAContinuationLineUndoesBothBreaks) {
  EditDriver e(6);
  e.lines.SetText(u"aaaa bbbb");
  ASSERT_EQ(e.lines.ParagraphCount(), 2);
  e.Select(5, 5);
  e.Enter(true);
  EXPECT_EQ(e.lines.Text(), u"aaaa \r\n\r\nbbbb");
  e.Undo();
  EXPECT_EQ(e.lines.Text(), u"aaaa bbbb");
  EXPECT_TRUE(e.undo.CanUndo());  // the break record: it changes nothing
  e.Undo();
  EXPECT_EQ(e.lines.Text(), u"aaaa bbbb");
  EXPECT_FALSE(e.undo.CanUndo());
}

TEST(KsUndo, AnEditWithoutARecordNeverShiftsLaterUndos) {
  EditDriver e;
  e.lines.SetText(u"abc");
  e.Select(3, 3);
  e.Type(u"d");
  e.lines.SetStrings(0, u"zzabcd");  // program code edits the text; nothing recorded
  EXPECT_FALSE(e.Undo());
  EXPECT_EQ(e.lines.Text(), u"zzabcd");
  EXPECT_FALSE(e.undo.CanUndo());
  // Re-wrapping is no edit: records stay valid.
  e.Select(6, 6);
  e.Type(u"e");
  e.Rewrap(2);
  EXPECT_TRUE(e.Undo());
  EXPECT_EQ(e.lines.Text(), u"zzabcd");
  // Nor does an undo act after the whole text was written.
  e.Type(u"!");
  e.lines.SetText(u"new");
  EXPECT_FALSE(e.Undo());
  EXPECT_EQ(e.lines.Text(), u"new");
}

TEST(KsUndo, AGroupCutShortByTheLimitStopsAtTheStackEnd) {
  EditDriver e;
  e.undo.SetMaxUndo(2);
  e.Type(u"a");
  e.Type(u"b");  // the limit leaves only: insert b, closing marker
  EXPECT_EQ(e.undo.Count(), 2);
  EXPECT_EQ(e.undo.PeekItem()->Action(), atGroupBreak);
  EXPECT_TRUE(e.Undo());
  EXPECT_EQ(e.lines.Text(), u"a");
  EXPECT_FALSE(e.undo.CanUndo());
}

}  // namespace
}  // namespace kestrel
