#include "edit/KsEditCore.h"

#include <gtest/gtest.h>

#include "platform/window/Clipboard.h"
#include "tests/edit/FixedMetricHost.h"

namespace kestrel {
namespace {

using testing::FixedMetricHost;

const String kPair = u"\U0001F600";

struct CountingEvents : IKsEditCoreEvents {
  int changes = 0;
  int selectionChanges = 0;
  std::function<void(String&)> onKeyPress;
  std::function<void(String&)> onPaste;
  void Change() override { ++changes; }
  void SelectionChange() override { ++selectionChanges; }
  void KeyPressEx(String& key) override {
    if (onKeyPress) onKeyPress(key);
  }
  void PasteClipboardText(String& text) override {
    if (onPaste) onPaste(text);
  }
};

struct Editor {
  FixedMetricHost host;
  CountingEvents events;
  TKsEditCore core{host, events};
  explicit Editor(int roomInChars = 20, const String& text = {}) {
    host.SetRoomInChars(roomInChars);
    core.SetLinesInRect(3);
    core.SetText(text);
  }
  void Run(TKsCommand command, const String& data = {}) { core.CommandCenter(command, 0, data); }
  void Type(const String& s) { Run(kscmd::Type, s); }
  void Select(int start, int length) {
    core.SetSelStart(start);
    core.SetSelLength(length);
  }
  TKsCaretPos Caret() const { return core.CaretXY(); }
};

// Restores the clipboard a test changes.
struct ClipboardGuard {
  String saved = platform::GetClipboardUnicodeText();
  ~ClipboardGuard() { platform::SetClipboardUnicodeText(saved); }
};

TEST(KsEditCore, CaretStepsAcrossWrappedLinesAndParagraphs) {
  Editor e(5, u"abcd efgh\r\nxy");  // lines: "abcd " "efgh" "xy"
  ASSERT_EQ(e.core.LinesCount(), 3);
  e.core.SetCaretXY({5, 0});
  e.Run(kscmd::Right);
  EXPECT_EQ(e.Caret(), (TKsCaretPos{1, 1})) << "one step right lands after the continuation's first character";
  e.core.SetCaretXY({0, 1});
  e.Run(kscmd::SelectLeft);
  EXPECT_EQ(e.Caret(), (TKsCaretPos{4, 0}));
  e.core.SetCaretXY({0, 2});
  e.Run(kscmd::Left);
  EXPECT_EQ(e.Caret(), (TKsCaretPos{0, 2})) << "Left stops at the start of a line";
  e.Run(kscmd::SelectLeft);
  EXPECT_EQ(e.Caret(), (TKsCaretPos{4, 1}));
  EXPECT_EQ(e.core.SelText(), u"\r\n");
  e.Run(kscmd::Deselect);
  e.Run(kscmd::TextEnd);
  EXPECT_EQ(e.core.CaretChar(), e.core.TextLength());
  e.Run(kscmd::Up);
  e.Run(kscmd::LineEnd);
  EXPECT_EQ(e.Caret(), (TKsCaretPos{4, 1})) << "End does not step onto the next line";
}

TEST(KsEditCore, NeverStepsOrDeletesInsideASurrogatePair) {
  Editor e(20, u"a" + kPair + u"b");
  e.core.SetCaretXY({1, 0});
  e.Run(kscmd::Right);
  EXPECT_EQ(e.core.CaretX(), 3);
  e.Run(kscmd::Left);
  EXPECT_EQ(e.core.CaretX(), 1);
  e.Run(kscmd::DeleteChar);
  EXPECT_EQ(e.core.Text(), u"ab");
  e.Run(kscmd::Undo);
  EXPECT_EQ(e.core.Text(), u"a" + kPair + u"b");
  e.core.SetCaretXY({3, 0});
  e.Run(kscmd::BackSpace);
  EXPECT_EQ(e.core.Text(), u"ab");
  e.core.SetMaxLength(2);
  EXPECT_EQ(e.core.Text(), u"ab");
  e.core.SetMaxLength(0);
  e.core.SetText(u"a" + kPair);
  e.core.SetMaxLength(2);
  EXPECT_EQ(e.core.Text(), u"a") << "a cut keeps no half pair";
}

TEST(KsEditCore, SelectionReadsFromItsFirstPositionAndClampsIndexes) {
  Editor e(20, u"abc\r\ndefgh");
  e.core.SetCaretXY({2, 1});
  e.core.SetAnchorToCaret();
  e.core.ExtendCaretTo({1, 0});  // backwards across the break
  EXPECT_EQ(e.core.SelStart(), 1);
  EXPECT_EQ(e.core.SelLength(), 6);
  EXPECT_EQ(e.core.SelText(), u"bc\r\nde");
  // EM_SETSEL (5, 2): start at the larger, a negative length selects back with the caret at 2.
  e.Select(5, -3);
  EXPECT_EQ(e.core.SelStart(), 2);
  EXPECT_EQ(e.core.SelLength(), 3);
  EXPECT_EQ(e.core.CaretChar(), 2);
  e.core.SetSelStart(100);
  EXPECT_EQ(e.core.CaretChar(), e.core.TextLength());
  e.Select(0, 1000);
  EXPECT_EQ(e.core.SelLength(), e.core.TextLength());
  e.core.SelectAll();
  EXPECT_EQ(e.core.SelText(), e.core.Text());
}

TEST(KsEditCore, TypingIsOneUndoStepPerKeyAndRestoresAReplacedSelection) {
  Editor e;
  e.Type(u"a");
  e.Type(u"b");
  e.Type(u"c");
  EXPECT_TRUE(e.core.Modified());
  e.Run(kscmd::Undo);
  EXPECT_EQ(e.core.Text(), u"ab");
  e.Run(kscmd::Undo);
  e.Run(kscmd::Undo);
  EXPECT_EQ(e.core.Text(), u"");
  EXPECT_FALSE(e.core.Modified()) << "nothing left to undo";
  e.core.SetText(u"one two");
  e.core.SetCaretChar(4);
  e.core.SetAnchorToCaret();
  e.core.ExtendCaretTo(e.core.CaretFromChar(7));
  e.Type(u"x");
  EXPECT_EQ(e.core.Text(), u"one x");
  e.Run(kscmd::Undo);
  EXPECT_EQ(e.core.Text(), u"one two");
  EXPECT_EQ(e.core.SelText(), u"two");
  EXPECT_EQ(e.core.CharFromCaret(e.core.Anchor().X, e.core.Anchor().Y), 4);
}

// Right-to-left text keeps logical positions: the caret ends after what was typed, so each key
// is an undo step that removes its own character, also across a wrap from the end.
TEST(KsEditCore, RightAlignedTypingMovesTheCaretAndUndoesKeyByKey) {
  Editor e(4);
  e.host.rightAligned = true;
  for (char16_t c : std::u16string_view(u"abc def")) e.Type(String(1, c));
  EXPECT_EQ(e.core.Text(), u"abc def");
  EXPECT_EQ(e.core.CaretChar(), 7);
  e.Run(kscmd::Undo);
  EXPECT_EQ(e.core.Text(), u"abc de");
  EXPECT_EQ(e.core.CaretChar(), 6);
  for (int i = 0; i < 6; ++i) e.Run(kscmd::Undo);
  EXPECT_EQ(e.core.Text(), u"");
}

TEST(KsEditCore, KeyPressHookCanRewriteOrSwallowTypedText) {
  Editor e;
  e.events.onKeyPress = [](String& key) { key = key == u"q" ? u"" : key + key; };
  e.Type(u"q");
  EXPECT_EQ(e.core.Text(), u"");
  EXPECT_FALSE(e.core.CanUndo());
  e.Type(u"z");
  EXPECT_EQ(e.core.Text(), u"zz");
  e.core.SetCharCase(eecUpperCase);
  e.events.onKeyPress = nullptr;
  e.Run(kscmd::TextEnd);
  e.Type(u"\u00e4b\u0436");
  EXPECT_EQ(e.core.Text(), u"ZZ\u00c4B\u0416") << "letters beyond Latin-1 too";
}

TEST(KsEditCore, EnterAtAContinuationStartLeavesAnEmptyLineAndUndoesWhole) {
  Editor e(6, u"aaaa bbbb");  // "aaaa " "bbbb"
  e.core.SetCaretXY({0, 1});
  e.Run(kscmd::NewLine);
  EXPECT_EQ(e.core.Text(), u"aaaa \r\n\r\nbbbb");
  EXPECT_EQ(e.Caret(), (TKsCaretPos{0, 2}));
  e.Run(kscmd::Undo);
  EXPECT_EQ(e.core.Text(), u"aaaa bbbb");
  e.host.multiline = false;
  e.Run(kscmd::NewLine);
  EXPECT_EQ(e.core.Text(), u"aaaa bbbb") << "single-line controls take no breaks";
}

TEST(KsEditCore, BackspaceJoinsParagraphsAndUndoSplitsThemAgain) {
  Editor e(20, u"ab\r\ncd");
  e.core.SetCaretXY({0, 1});
  e.Run(kscmd::BackSpace);
  EXPECT_EQ(e.core.Text(), u"abcd");
  EXPECT_EQ(e.Caret(), (TKsCaretPos{2, 0}));
  e.Run(kscmd::Undo);
  EXPECT_EQ(e.core.Text(), u"ab\r\ncd");
  EXPECT_EQ(e.Caret(), (TKsCaretPos{0, 1}));
  // At the very start only an empty first paragraph goes, and undo brings it back.
  e.core.SetText(u"\r\nx");
  e.Run(kscmd::BackSpace);
  EXPECT_EQ(e.core.Text(), u"x");
  e.Run(kscmd::Undo);
  EXPECT_EQ(e.core.Text(), u"\r\nx");
}

TEST(KsEditCore, ReadOnlyBlocksEveryEditButNotMovesOrSelection) {
  Editor e(20, u"abc");
  e.core.SetReadOnly(true);
  e.core.SetCaretXY({1, 0});
  for (TKsCommand c : {kscmd::Type, kscmd::TypeComposition, kscmd::BackSpace, kscmd::DeleteChar, kscmd::NewLine,
                       kscmd::SetStress, kscmd::DeletePrevWord, kscmd::Paste})
    e.Run(c, u"x");
  e.Run(kscmd::SelectAll);
  e.Run(kscmd::DeleteSelection);
  EXPECT_EQ(e.core.Text(), u"abc");
  EXPECT_EQ(e.core.SelLength(), 3);
  EXPECT_FALSE(e.core.Modified());
  e.core.SetReadOnly(false);
  e.Type(u"!");
  e.core.SetReadOnly(true);
  e.Run(kscmd::Undo);
  EXPECT_EQ(e.core.Text(), u"!") << "no undo changes a read-only text";
}

TEST(KsEditCore, MaxLengthLimitsTypingEnterAndPaste) {
  Editor e(20, u"abcdef");
  e.core.SetMaxLength(3);
  EXPECT_EQ(e.core.Text(), u"abc");
  EXPECT_FALSE(e.core.RoomToType());
  e.Select(0, 1);
  EXPECT_TRUE(e.core.RoomToType()) << "a selection makes room";
  e.core.SetMaxLength(4);
  e.core.SetSelStart(3);
  e.Run(kscmd::NewLine);
  EXPECT_EQ(e.core.Text(), u"abc") << "a break is two characters";
  e.core.SetMaxLength(8);
  e.core.SetText(u"12345");
  e.core.SetCaretChar(5);
  EXPECT_TRUE(e.core.PasteText(u"abcdefghij"));
  EXPECT_EQ(e.core.Text(), u"12345abc");
  EXPECT_FALSE(e.core.PasteText(u"z")) << "no room left";
  e.core.SetCaretChar(0);
  e.events.onPaste = [](String& t) { t += u"MORE"; };
  e.Select(0, 2);
  EXPECT_TRUE(e.core.PasteText(u"x"));
  EXPECT_EQ(e.core.TextLength(), 8) << "a paste handler cannot push past the limit";
}

TEST(KsEditCore, EditingKeysMarkAndAnnounceOnlyRealChanges) {
  Editor e(20, u"ab");
  e.core.SetWantTabs(true);
  e.core.SetMaxLength(3);
  e.Run(kscmd::TextEnd);
  e.Run(kscmd::Tab);
  EXPECT_EQ(e.core.Text(), u"ab\t");
  EXPECT_TRUE(e.core.Modified()) << "an edit that reaches the limit is still a change";
  EXPECT_EQ(e.events.changes, 1);
  e.core.SetModified(false);
  e.Run(kscmd::TextStart);
  e.Run(kscmd::BackSpace);
  e.Run(kscmd::Tab);  // no room
  EXPECT_FALSE(e.core.Modified());
  EXPECT_EQ(e.events.changes, 1);
}

TEST(KsEditCore, WordMovesFollowTheBlankRule) {
  Editor e(40, u"ab  cd,e\r\nxy");
  EXPECT_EQ(e.core.GetNextWord({0, 0}), (TKsCaretPos{4, 0}));
  EXPECT_EQ(e.core.GetNextWord({2, 0}), (TKsCaretPos{4, 0}));
  EXPECT_EQ(e.core.GetNextWord({4, 0}), (TKsCaretPos{8, 0})) << "punctuation is a word character";
  EXPECT_EQ(e.core.GetNextWord({8, 0}), (TKsCaretPos{0, 1}));
  EXPECT_EQ(e.core.GetPrevWord({5, 0}), (TKsCaretPos{4, 0}));
  EXPECT_EQ(e.core.GetPrevWord({3, 0}), (TKsCaretPos{0, 0})) << "from blanks back over the word before them";
  EXPECT_EQ(e.core.GetPrevWord({-1, 1}), (TKsCaretPos{8, 0}));
  e.core.SetCaretXY({1, 1});
  e.Run(kscmd::PrevWord);
  EXPECT_EQ(e.Caret(), (TKsCaretPos{0, 1}));
  e.core.SetCaretXY({6, 0});
  e.Run(kscmd::DeletePrevWord);
  EXPECT_EQ(e.core.Text(), u"ab  ,e\r\nxy");
  e.core.SetCaretXY({0, 0});
  e.Run(kscmd::DeleteNextWord);
  EXPECT_EQ(e.core.Text(), u",e\r\nxy");
  e.core.SetText(u"ab cdef gh");
  e.Select(5, -2);  // "cd", made backwards
  e.Run(kscmd::DeleteNextWord);
  EXPECT_EQ(e.core.Text(), u"ab gh") << "the selection and the rest of the word go";
}

// Every caret and selection command from the middle of a six-paragraph text with three lines in
// view: where the caret ends, and how much the anchor (which only moves commands follow) selects.
TEST(KsEditCore, MoveAndSelectCommandsFromTheMiddleOfTheText) {
  String text = u"ab cd  ef";
  for (int i = 1; i < 6; ++i) text += u"\r\nab cd  ef";
  struct Case {
    TKsCommand command;
    TKsCaretPos caret;
    int selLength;  // 0: a move, the anchor follows the caret
  };
  const Case cases[] = {
      {1, {4, 2}, 0},    {2, {6, 2}, 0},    {3, {5, 1}, 0},   {4, {5, 3}, 0},   {5, {0, 2}, 0},    {6, {9, 2}, 0},
      {7, {7, 2}, 0},    {8, {3, 2}, 0},    {9, {5, 0}, 0},   {10, {5, 5}, 0},  {11, {0, 0}, 0},   {12, {9, 5}, 0},
      {113, {5, 2}, 0},  {114, {5, 2}, 0},  {201, {4, 2}, 1}, {202, {6, 2}, 1}, {203, {0, 2}, 5},  {204, {9, 2}, 4},
      {205, {0, 0}, 27}, {206, {9, 5}, 37}, {207, {3, 2}, 2}, {208, {7, 2}, 2}, {209, {5, 1}, 11}, {210, {5, 3}, 11},
      {211, {5, 0}, 22}, {212, {5, 5}, 33},
  };
  for (const Case& c : cases) {
    Editor e(40, text);
    e.core.SetCaretXY({5, 2});
    e.core.SetAnchorToCaret();
    e.Run(c.command);
    EXPECT_EQ(e.Caret(), c.caret) << c.command;
    EXPECT_EQ(e.core.SelLength(), c.selLength) << c.command;
    EXPECT_EQ(e.core.Anchor(), c.selLength ? (TKsCaretPos{5, 2}) : c.caret) << c.command;
    EXPECT_EQ(e.core.Text(), text) << c.command;
  }
}

TEST(KsEditCore, WordStepsPassABreakInsideASingleLine) {
  Editor e(40);
  e.host.multiline = false;
  e.core.SetText(u"ab\r\ncd");
  ASSERT_EQ(e.core.LinesCount(), 1);
  e.Run(kscmd::TextEnd);
  const int back[] = {4, 2, 0};
  for (int x : back) {
    e.Run(kscmd::PrevWord);
    EXPECT_EQ(e.core.CaretX(), x);
  }
  const int forth[] = {2, 4, 6};
  for (int x : forth) {
    e.Run(kscmd::NextWord);
    EXPECT_EQ(e.core.CaretX(), x);
  }
}

TEST(KsEditCore, DeleteSelectionAndStressMarkTheTextOnlyWhenTheyChangeIt) {
  Editor e(20, u"abc");
  e.Run(kscmd::DeleteSelection);
  EXPECT_EQ(e.events.changes, 0) << "nothing selected, nothing deleted";
  EXPECT_FALSE(e.core.Modified());
  e.Select(0, 1);
  e.Run(kscmd::DeleteSelection);
  EXPECT_EQ(e.core.Text(), u"bc");
  EXPECT_EQ(e.events.changes, 1);
  EXPECT_TRUE(e.core.Modified());
  e.core.SetModified(false);
  e.core.SetCaretXY({1, 0});
  e.Run(kscmd::SetStress);
  EXPECT_EQ(e.core.Text(), u"b\u0301c");
  EXPECT_TRUE(e.core.Modified());
  EXPECT_EQ(e.events.changes, 1) << "the stress mark raises no change event";
  e.core.SetMaxLength(3);
  e.core.SetCaretXY({3, 0});
  e.Run(kscmd::SetStress);
  EXPECT_EQ(e.core.Text(), u"b\u0301c") << "no mark past MaxLength";
}

TEST(KsEditCore, BookmarksToggleAndReturn) {
  Editor e(20, u"abc\r\ndef");
  e.core.SetCaretXY({2, 1});
  e.Run(kscmd::SetBookmark0 + 3);
  e.Run(kscmd::TextStart);
  e.Run(kscmd::GotoBookmark0 + 3);
  EXPECT_EQ(e.Caret(), (TKsCaretPos{2, 1}));
  e.Run(kscmd::SetBookmark0 + 3);
  EXPECT_EQ(e.core.Bookmark(3), (TKsCaretPos{-1, -1})) << "setting it at the same place clears it";
  e.Run(kscmd::GotoBookmark0 + 3);
  EXPECT_EQ(e.Caret(), (TKsCaretPos{0, 0}));

  e.core.SetText(u"abcdefghij\r\nx");
  for (int i = 0; i < TKsEditCore::BookmarkCount; ++i) {
    e.core.SetCaretChar(i);
    e.Run(kscmd::SetBookmark0 + i);
  }
  for (int i = 0; i < TKsEditCore::BookmarkCount; ++i) {
    e.Run(kscmd::TextEnd);
    e.Run(kscmd::GotoBookmark0 + i);
    EXPECT_EQ(e.core.CaretChar(), i);
  }
}

TEST(KsEditCore, StressMarkAndSelTextStayUndoable) {
  Editor e(20, u"abc");
  e.core.SetCaretXY({1, 0});
  e.Run(kscmd::SetStress);
  e.Run(kscmd::SetStress);  // after a mark already: none added
  EXPECT_EQ(e.core.Text(), u"a\u0301bc");
  e.Select(2, 1);
  e.core.SetSelText(u"XYZ");
  EXPECT_EQ(e.core.Text(), u"a\u0301XYZc");
  e.Run(kscmd::Undo);
  EXPECT_EQ(e.core.Text(), u"a\u0301bc");
  e.Run(kscmd::Undo);
  EXPECT_EQ(e.core.Text(), u"abc");
}

TEST(KsEditCore, ClipboardCommandsAndPasswordBlock) {
  ClipboardGuard guard;
  Editor e(20, u"hello world");
  e.Select(0, 5);
  e.Run(kscmd::Copy);
  EXPECT_EQ(platform::GetClipboardUnicodeText(), u"hello");
  e.Run(kscmd::Cut);
  EXPECT_EQ(e.core.Text(), u" world");
  EXPECT_TRUE(e.core.Modified());
  e.core.SetModified(false);
  e.core.SetCaretChar(6);
  e.Run(kscmd::Paste);
  EXPECT_EQ(e.core.Text(), u" worldhello");
  e.Run(kscmd::Undo);
  EXPECT_EQ(e.core.Text(), u" world");
  e.core.SetModified(false);
  e.core.SetReadOnly(true);
  e.Run(kscmd::Paste);
  EXPECT_FALSE(e.core.Modified()) << "a paste that changed nothing does not mark the text";
  e.core.SetReadOnly(false);
  e.host.passwordChar = u'*';
  e.Select(0, 3);
  platform::SetClipboardUnicodeText(u"keep");
  e.Run(kscmd::Cut);
  EXPECT_EQ(platform::GetClipboardUnicodeText(), u"keep");
  EXPECT_EQ(e.core.Text(), u" world");
}

TEST(KsEditCore, DropMovesCopiesAndUndoesAsOneStep) {
  Editor e(20, u"abc def ghi");
  e.Select(0, 4);  // "abc "
  EXPECT_TRUE(e.core.DropText(e.core.SelText(), 8, true));
  EXPECT_EQ(e.core.Text(), u"def abc ghi") << "a drop after the selection lands where it was aimed";
  EXPECT_EQ(e.core.SelText(), u"abc ");
  e.Run(kscmd::Undo);
  EXPECT_EQ(e.core.Text(), u"abc def ghi");
  e.Select(4, 3);
  EXPECT_TRUE(e.core.DropText(u"XY", 5, true));
  EXPECT_EQ(e.core.Text(), u"abc dXYef ghi") << "onto the own selection: a copy";
  e.core.SetReadOnly(true);
  EXPECT_FALSE(e.core.DropText(u"Z", 0, false));
}

TEST(KsEditCore, ScrollRequestsAndWheel) {
  Editor e(20, u"1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8");
  e.core.SetTopLine(100);
  EXPECT_EQ(e.core.TopLine(), 5);
  e.core.SetTopLine(2);
  EXPECT_EQ(e.core.VertScrollTarget(ksrPageUp, 0), 0) << "paging up near the top reaches line 0";
  EXPECT_EQ(e.core.VertScrollTarget(ksrThumbTrack, 9), -1);
  e.core.Scroll(ksrLineDown);
  EXPECT_EQ(e.core.TopLine(), 3);
  EXPECT_EQ(e.core.HorzScrollTarget(ksrLineUp, 0, 4, 4), -1) << "already at the left";
  // Three lines per notch; touchpad deltas add up.
  EXPECT_EQ(e.core.WheelLines(120, 3), 3);
  EXPECT_EQ(e.core.WheelLines(30, 3), 0);
  EXPECT_EQ(e.core.WheelLines(20, 3), 1);
  EXPECT_EQ(e.core.WheelLines(-120, 1000), -1000);
  EXPECT_EQ(e.core.WheelLines(120, -1), 3) << "a page setting scrolls the lines in view";
  e.core.SetCaretY(7);
  e.core.SetCaretY(0);
  EXPECT_EQ(e.core.TopLine(), 0) << "the caret's line is scrolled into view";
}

TEST(KsEditCore, HorizontalScrollKeepsTheCaretInView) {
  Editor e(10, u"0123456789abcdefghijklmnopqrst");  // room: 10 characters
  e.host.multiline = false;
  e.host.wordWrap = false;
  e.core.Lines().WrapAll();
  e.core.SetCaretX(25);
  e.core.ScrollToCaret(taLeftJustify);
  EXPECT_EQ(e.core.LeftChar(), 18) << "the caret ends three quarters across";
  EXPECT_TRUE(e.core.ForceLeftAlignment());
  e.core.SetCaretX(20);
  e.core.ScrollToCaret(taLeftJustify);
  EXPECT_EQ(e.core.LeftChar(), 18) << "still in view: no scroll";
  e.core.SetCaretX(18);
  e.core.ScrollToCaret(taLeftJustify);
  EXPECT_EQ(e.core.LeftChar(), 11);
  e.core.SetCaretX(0);
  e.core.ScrollToCaret(taLeftJustify);
  EXPECT_EQ(e.core.LeftChar(), 0);
  e.core.SetText(u"short");
  e.core.ScrollToCaret(taCenter);
  EXPECT_FALSE(e.core.ForceLeftAlignment());
  EXPECT_EQ(e.core.LeftChar(), 0);
}

}  // namespace
}  // namespace kestrel
