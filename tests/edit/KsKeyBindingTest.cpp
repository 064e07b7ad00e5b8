#include <gtest/gtest.h>

#include <tuple>

#include "edit/KsKeyCommandList.h"
#include "edit/KsKeyDispatch.h"
#include "platform/window/WindowDefs.h"

namespace kestrel {
namespace {

using namespace platform;

const TShiftState kNone{};
const TShiftState kShift{ssShift};
const TShiftState kCtrl{ssCtrl};

TKsKeyCommandList Defaults() {
  TKsKeyCommandList list;
  list.DefaultKeyBind();
  return list;
}

TEST(KsKeyCommandList, DefaultTableBindsEveryKeyToItsOwnCommand) {
  TKsKeyCommandList list = Defaults();
  ASSERT_EQ(list.Count(), 37 + 22 + 5);
  for (int i = 0; i < list.Count(); ++i) {
    const TKsKeyCommand& item = list.Item(i);
    TKsCommand found = item.IsChord() ? list.Find(item.Key2(), item.ShiftState2(), item.ShiftState(), item.Key())
                                      : list.Find(item.Key(), item.ShiftState());
    EXPECT_EQ(found, item.Command()) << i;
  }
  EXPECT_EQ(list.Item(0).Description(), u"Move cursor left");
  EXPECT_EQ(list.Item(3).Description(), u"Select previous char");
  EXPECT_EQ(list.Item(27).Description(), u"Select all before cursor");
  EXPECT_EQ(list.Item(list.Count() - 1).Command(), 101);  // Ctrl+Z closes the table

  struct Expect {
    int key;
    TShiftState shift;
    TKsCommand command;
  };
  const Expect samples[] = {{VK_LEFT, TShiftState{ssShift, ssCtrl}, 207},
                            {VK_NEXT, kShift, 212},
                            {VK_RETURN, kCtrl, 111},
                            {VK_TAB, kNone, 112},
                            {VK_END, TShiftState{ssShift, ssCtrl}, 206},
                            {VK_BACK, TShiftState{ssAlt}, 101},
                            {VK_DELETE, kShift, 103},
                            {VK_INSERT, kShift, 105},
                            {'A', kCtrl, 215},
                            {'V', kCtrl, 105},
                            {VK_TAB, kShift, 0},
                            {'A', kNone, 0}};
  for (const auto& s : samples) EXPECT_EQ(list.Find(s.key, s.shift), s.command) << s.key;
}

TEST(KsKeyCommandList, DefaultTableKeepsItsKeysCommandsAndTextsInOrder) {
  const TShiftState kAlt{ssAlt};
  const TShiftState kBoth{ssShift, ssCtrl};
  struct Row {
    int key;
    TShiftState shift;
    TKsCommand command;
    const char16_t* description;
  };
  const Row singles[] = {
      {VK_LEFT, kNone, 1, u"Move cursor left"},
      {VK_LEFT, kShift, 201, u"Select previous char"},
      {VK_LEFT, kCtrl, 8, u"Move to previous word"},
      {VK_LEFT, kBoth, 207, u"Select previous char"},
      {VK_RIGHT, kNone, 2, u"Move cursor right"},
      {VK_RIGHT, kShift, 202, u"Select next char"},
      {VK_RIGHT, kCtrl, 7, u"Move to next word"},
      {VK_RIGHT, kBoth, 208, u"Select next word"},
      {VK_UP, kNone, 3, u"Move cursor up"},
      {VK_UP, kShift, 209, u"Select text up"},
      {VK_DOWN, kNone, 4, u"Move cursor down"},
      {VK_DOWN, kShift, 210, u"Select text down"},
      {VK_NEXT, kNone, 10, u"Page down"},
      {VK_NEXT, kShift, 212, u"Select page down"},
      {VK_PRIOR, kNone, 9, u"Page up"},
      {VK_PRIOR, kShift, 211, u"Select page up"},
      {VK_RETURN, kNone, 111, u"New line"},
      {VK_RETURN, kCtrl, 111, u"New line"},
      {VK_RETURN, kShift, 111, u"New line"},
      {VK_TAB, kNone, 112, u"Insert Tab symbol"},
      {VK_HOME, kNone, 5, u"Move cursor to begin of line"},
      {VK_HOME, kShift, 203, u"Select line before cursor"},
      {VK_HOME, kCtrl, 11, u"Move cursor to begin of text"},
      {VK_HOME, kBoth, 205, u"Select all before cursor"},
      {VK_END, kNone, 6, u"Move cursor to end of line"},
      {VK_END, kShift, 204, u"Select line after cursor"},
      {VK_END, kCtrl, 12, u"Move cursor to end of text"},
      {VK_END, kBoth, 206, u"Select all before cursor"},
      {VK_BACK, kNone, 106, u"Delete char before cursor"},
      {VK_BACK, kShift, 106, u"Delete char before cursor"},
      {VK_BACK, kCtrl, 108, u"Delete word before cursor"},
      {VK_BACK, kAlt, 101, u"Undo"},
      {VK_DELETE, kNone, 107, u"Delete char under cursor"},
      {VK_DELETE, kShift, 103, u"Cut to clipboard"},
      {VK_DELETE, kCtrl, 109, u"Delete selection"},
      {VK_INSERT, kCtrl, 104, u"Copy to clipboard"},
      {VK_INSERT, kShift, 105, u"Paste from clipboard"},
  };
  const Row last[] = {{'A', kCtrl, 215, u"Select all"},
                      {'C', kCtrl, 104, u"Copy to clipboard"},
                      {'X', kCtrl, 103, u"Cut to clipboard"},
                      {'V', kCtrl, 105, u"Paste from clipboard"},
                      {'Z', kCtrl, 101, u"Undo"}};
  const TKsKeyCommandList list = Defaults();
  int i = 0;
  const auto expectRow = [&](const Row& row, int key2) {
    const TKsKeyCommand& item = list.Item(i);
    EXPECT_EQ(item.Key(), row.key) << i;
    EXPECT_EQ(item.ShiftState(), row.shift) << i;
    EXPECT_EQ(item.Key2(), key2) << i;
    EXPECT_EQ(item.ShiftState2(), kNone) << i;
    EXPECT_EQ(item.Command(), row.command) << i;
    EXPECT_EQ(item.Description(), row.description) << i;
    ++i;
  };
  for (const Row& row : singles) expectRow(row, 0);
  expectRow({'K', kCtrl, 113, u"Indent selected text"}, 'I');
  expectRow({'K', kCtrl, 114, u"Unindent selected text"}, 'U');
  for (const auto& [first, command, text] :
       {std::tuple{'K', 118, u"Set bookmark "}, std::tuple{'Q', 131, u"Goto bookmark to "}})
    for (int d = 0; d <= 9; ++d)
      expectRow({first, kCtrl, command + d, (String(text) + char16_t(u'0' + d)).c_str()}, '0' + d);
  for (const Row& row : last) expectRow(row, 0);
  EXPECT_EQ(i, list.Count());
}

TEST(KsKeyCommandList, ChordsWaitForTheirSecondKey) {
  TKsKeyCommandList list = Defaults();
  EXPECT_EQ(list.Find('K', kCtrl), kKsChordFirstKey);
  EXPECT_EQ(list.Find('Q', kCtrl), kKsChordFirstKey);
  EXPECT_EQ(list.Find('K', kNone), 0);
  for (int d = 0; d <= 9; ++d) {
    EXPECT_EQ(list.Find('0' + d, kNone, kCtrl, 'K'), 118 + d);
    EXPECT_EQ(list.Find('0' + d, kNone, kCtrl, 'Q'), 131 + d);
  }
  EXPECT_EQ(list.Find('I', kNone, kCtrl, 'K'), 113);
  EXPECT_EQ(list.Find('U', kNone, kCtrl, 'K'), 114);
  EXPECT_EQ(list.Find('I', kCtrl, kCtrl, 'K'), 0);  // second key is taken without shift keys
  EXPECT_EQ(list.Find('I', kNone, kCtrl, 'Q'), 0);
  EXPECT_EQ(list.Item(37 + 2).Description(), u"Set bookmark 0");
  EXPECT_EQ(list.Item(37 + 12 + 9).Description(), u"Goto bookmark to 9");

  // A single-key binding wins over a chord on the same key, wherever it stands.
  list.Add('K', kCtrl, u"kill line", 500);
  EXPECT_EQ(list.Find('K', kCtrl), 500);
}

TEST(KsKeyCommandList, DeleteAndStressShortCutEditOnlyTheirBinding) {
  TKsKeyCommandList list = Defaults();
  list.Delete(105);  // the first of the two paste bindings
  EXPECT_EQ(list.Find(VK_INSERT, kShift), 0);
  EXPECT_EQ(list.Find('V', kCtrl), 105);

  const int before = list.Count();
  list.SetStressShortCut(0x4000 | 0x2000 | 'S');
  list.SetStressShortCut(0x8000 | 'S');  // replaces, does not pile up
  EXPECT_EQ(list.Count(), before + 1);
  EXPECT_EQ(list.Find('S', TShiftState{ssShift, ssCtrl}), 0);
  EXPECT_EQ(list.Find('S', TShiftState{ssAlt}), kscmd::SetStress);
  const TKsKeyCommand& stress = list.Item(list.Count() - 1);
  EXPECT_EQ(stress.Description(), u"Set stress sign");
  EXPECT_EQ(stress.ShortCut(), 0x8000 | 'S');
}

TEST(KsKeyCommand, ShortCutNeedsAnEightBitKey) {
  EXPECT_EQ(TKsKeyCommand(VK_HOME, TShiftState{ssShift, ssCtrl}, 0, {}, 11, u"").ShortCut(), 0x6000 | VK_HOME);
  EXPECT_EQ(TKsKeyCommand(0x100, kCtrl, 0, {}, 11, u"").ShortCut(), 0);
}

TEST(KsKeyDispatch, RemapsForSingleLineAndRightAlignedText) {
  TKsKeyCommandList list = Defaults();
  TKsKeyDispatch dispatch;
  const TKsKeyDispatch::TLayout singleLine{false, false};
  const TKsKeyDispatch::TLayout multiLine{true, false};
  EXPECT_EQ(dispatch.KeyDown(list, VK_UP, kNone, singleLine), 1);
  EXPECT_EQ(dispatch.KeyDown(list, VK_DOWN, kShift, singleLine), 202);
  EXPECT_EQ(dispatch.KeyDown(list, VK_NEXT, kNone, singleLine), 6);
  EXPECT_EQ(dispatch.KeyDown(list, VK_PRIOR, kCtrl, singleLine), 11);
  EXPECT_EQ(dispatch.KeyDown(list, VK_UP, kNone, multiLine), 3);

  // Right-aligned swaps apply after the single-line remap: Up -> Left -> Right.
  EXPECT_EQ(dispatch.KeyDown(list, VK_HOME, kNone, {true, true}), 6);
  EXPECT_EQ(dispatch.KeyDown(list, VK_UP, kNone, {false, true}), 2);
  EXPECT_EQ(dispatch.KeyDown(list, VK_PRIOR, kNone, {false, true}), 6);
  // Mouse buttons held in the shift state do not hide a binding.
  EXPECT_EQ(dispatch.KeyDown(list, VK_LEFT, TShiftState{ssShift, ssLeft}, multiLine), 201);
}

TEST(KsKeyDispatch, ChordIsCompletedOrDroppedByTheNextKey) {
  TKsKeyCommandList list = Defaults();
  TKsKeyDispatch dispatch;
  const TKsKeyDispatch::TLayout layout{true, false};
  EXPECT_EQ(dispatch.KeyDown(list, 'K', kCtrl, layout), 0);
  EXPECT_TRUE(dispatch.ChordPending());
  EXPECT_EQ(dispatch.KeyDown(list, VK_CONTROL, kCtrl, layout), 0);  // modifier repeat keeps it
  EXPECT_EQ(dispatch.KeyDown(list, '3', kNone, layout), 121);
  EXPECT_FALSE(dispatch.ChordPending());

  EXPECT_EQ(dispatch.KeyDown(list, 'Q', kCtrl, layout), 0);
  EXPECT_EQ(dispatch.KeyDown(list, '3', kNone, layout), 134);

  // An unbound second key only clears the pending chord; the key after it acts normally.
  dispatch.KeyDown(list, 'K', kCtrl, layout);
  EXPECT_EQ(dispatch.KeyDown(list, VK_LEFT, kNone, layout), 0);
  EXPECT_FALSE(dispatch.ChordPending());
  EXPECT_EQ(dispatch.KeyDown(list, VK_LEFT, kNone, layout), 1);
}

}  // namespace
}  // namespace kestrel
