#include <gtest/gtest.h>

#include "edit/KsEditStrings.h"
#include "framework/StringList.h"
#include "tests/edit/FixedMetricHost.h"

namespace kestrel {
namespace {

using testing::FixedMetricHost;

const String kPair = u"\U0001F600";

std::vector<String> Paragraphs(const TKsEditStrings& s) {
  std::vector<String> out;
  for (int i = 0; i < s.Count(); ++i) out.push_back(s.Strings(i));
  return out;
}

std::vector<String> Lines(const TKsEditStrings& s) {
  std::vector<String> out;
  for (int y = 0; y < s.ParagraphCount(); ++y) out.push_back(s.GetLine(y));
  return out;
}

struct Store {
  FixedMetricHost host;
  TKsEditStrings lines{host};
  explicit Store(int roomInChars = 20) { host.SetRoomInChars(roomInChars); }
};

TEST(KsEditStrings, TextWriteSplitsAtEveryKindOfBreak) {
  Store s;
  s.lines.SetText(u"a\r\nb\r\n");
  EXPECT_EQ(Paragraphs(s.lines), (std::vector<String>{u"a", u"b", u""}));
  s.lines.SetText(u"a\rb\n");
  EXPECT_EQ(Paragraphs(s.lines), (std::vector<String>{u"a", u"b"}));
  s.lines.SetText(u"\n\r");
  EXPECT_EQ(Paragraphs(s.lines), (std::vector<String>{u"", u""}));
  s.lines.SetText(u"a\r\n\r\nb");
  EXPECT_EQ(s.lines.Text(), u"a\r\n\r\nb");
  EXPECT_EQ(s.lines.Count(), 3);
  s.lines.SetText(u"");
  EXPECT_EQ(s.lines.Count(), 0);
  EXPECT_EQ(s.lines.ParagraphCount(), 0);
  EXPECT_EQ(s.lines.GetLine(0), u"");
}

TEST(KsEditStrings, EqualTextKeepsParagraphsButStillResetsTheView) {
  Store s;
  s.lines.SetText(u"abc\r\ndef");
  int changes = 0;
  s.lines.SetOnChange([&](TObject*) { ++changes; });
  const int resets = s.host.textResets;
  s.lines.SetText(u"abc\r\ndef");
  EXPECT_EQ(changes, 0);
  EXPECT_EQ(s.host.textResets, resets + 1);
  s.lines.SetText(u"x");
  EXPECT_EQ(changes, 1);
}

TEST(KsEditStrings, SingleLineKeepsBreaksAsCharactersAndLosesNothingOnInsert) {
  Store s;
  s.host.multiline = false;
  s.lines.SetText(u"a\r\nb");
  EXPECT_EQ(s.lines.Count(), 1);
  EXPECT_EQ(s.lines.ParagraphCount(), 1);
  EXPECT_EQ(s.lines.GetLine(0), u"a\r\nb");
  EXPECT_EQ(s.lines.Text(), u"a\r\nb");

  s.lines.SetText(u"abc");
  int x = 1, y = 0;
  s.lines.InsertText(x, y, u"x\ny\n");
  EXPECT_EQ(s.lines.Text(), u"ax\ny\nbc");
  EXPECT_EQ(x, 5);
  EXPECT_EQ(y, 0);
  // The list's Insert adds no paragraphs on a single line.
  s.lines.Insert(0, u"zz");
  EXPECT_EQ(s.lines.Count(), 1);
}

TEST(KsEditStrings, WrapsAtBlanksAndCutsHardWithoutThem) {
  Store s(6);
  s.lines.SetText(u"aaaa bbbb");
  EXPECT_EQ(Lines(s.lines), (std::vector<String>{u"aaaa ", u"bbbb"}));
  EXPECT_EQ(s.lines.Strings(0), u"aaaa bbbb");

  s.lines.SetText(u"abcdefghijklm");
  EXPECT_EQ(Lines(s.lines), (std::vector<String>{u"abcdef", u"ghijkl", u"m"}));

  s.lines.SetText(u" bcdefghij");  // a blank at position 1 is no break
  EXPECT_EQ(s.lines.GetLine(0), u" bcdef");

  s.lines.SetText(u"ab\tcd");  // the tab is four wide once expanded
  EXPECT_EQ(Lines(s.lines), (std::vector<String>{u"ab\t", u"cd"}));

  // Each paragraph numbers its lines after the earlier ones.
  s.lines.SetText(u"aaaa bbbb\r\nc\r\naaaa bbbb cccc");
  EXPECT_EQ(s.lines.ParagraphCount(), 6);
  EXPECT_EQ(s.lines.FirstLineOf(1), 2);
  EXPECT_EQ(s.lines.FirstLineOf(2), 3);
  EXPECT_EQ(s.lines.GetLine(5), u"cccc");
}

// Right-aligned text is cut from its end, but its lines stay in text order: the paragraph's text
// is still exactly what was typed, and typing at its start leaves the last lines alone.
TEST(KsEditStrings, RightAlignedTextWrapsFromItsEndKeepingTheText) {
  Store s(6);
  s.host.rightAligned = true;
  s.lines.SetText(u"aa bb cc dd");
  EXPECT_EQ(Lines(s.lines), (std::vector<String>{u"aa ", u"bb ", u"cc dd"}));
  EXPECT_EQ(s.lines.Strings(0), u"aa bb cc dd");
  int x = 0, y = 0;
  s.lines.CaretFromChar(3, x, y);  // a soft boundary ends the earlier line
  EXPECT_EQ(std::make_pair(x, y), std::make_pair(3, 0));
  EXPECT_EQ(s.lines.CharFromCaret(0, 2), 6);
  x = 0, y = 0;
  s.lines.InsertText(x, y, u"x");
  EXPECT_EQ(Lines(s.lines), (std::vector<String>{u"xaa ", u"bb ", u"cc dd"}));
  EXPECT_EQ(std::make_pair(x, y), std::make_pair(1, 0));
}

TEST(KsEditStrings, WrappingAlwaysTerminatesWithNonEmptyLines) {
  for (int room = 0; room <= 3; ++room) {
    for (int slack = -12; slack <= 12; ++slack) {
      Store s(room);
      s.host.editRect.right += slack;
      s.lines.SetText(u"WW W\tW" + kPair + u"WW");
      const auto lines = Lines(s.lines);
      String joined;
      for (const auto& l : lines) {
        EXPECT_FALSE(l.empty()) << room << " " << slack;
        EXPECT_FALSE(!l.empty() && IsHighSurrogate(l.back())) << "pair split";
        joined += l;
      }
      EXPECT_EQ(joined, s.lines.Strings(0));
    }
  }
  Store none(0);
  none.host.editRect.right = 0;  // not even one character fits: one line
  none.lines.SetText(u"abc");
  EXPECT_EQ(none.lines.ParagraphCount(), 1);
}

TEST(KsEditStrings, WithoutWordWrapTheLongestParagraphIsRecorded) {
  Store s(3);
  s.host.wordWrap = false;
  s.lines.SetText(u"ab\r\nabcdefgh\r\nabc");
  EXPECT_EQ(s.lines.ParagraphCount(), 3);
  EXPECT_EQ(s.lines.MaxLen(), 8);
  EXPECT_EQ(s.lines.IdxMaxLen(), 1);
  EXPECT_EQ(s.lines.MaxStr(), u"abcdefgh");
  s.lines.SetStrings(1, u"a");  // the record follows its paragraph down (an approximation)
  EXPECT_EQ(s.lines.MaxLen(), 1);
  s.lines.WrapAll();
  EXPECT_EQ(s.lines.MaxLen(), 3);
  EXPECT_EQ(s.lines.IdxMaxLen(), 2);
  // The record follows its paragraph when others come and go before it.
  s.lines.Insert(0, u"x\r\ny");
  EXPECT_EQ(s.lines.IdxMaxLen(), 4);
  s.lines.Delete(1);
  EXPECT_EQ(s.lines.IdxMaxLen(), 3);
  EXPECT_EQ(s.lines.Strings(s.lines.IdxMaxLen()), s.lines.MaxStr());
  s.lines.Delete(3);
  EXPECT_EQ(s.lines.MaxLen(), 0);
}

TEST(KsEditStrings, AssigningAListCopiesItsTextInEitherMode) {
  TStringList source;
  source.Add(u"one");
  source.Add(u"two");
  Store multi;
  multi.lines.Assign(source);
  EXPECT_EQ(multi.lines.Text(), u"one\r\ntwo");
  Store single;
  single.host.multiline = false;
  single.lines.Assign(source);
  EXPECT_EQ(single.lines.Text(), u"one\r\ntwo");
  EXPECT_EQ(single.lines.Count(), 1);
}

TEST(KsEditStrings, PositionConversionsAreInverse) {
  Store s(6);
  s.lines.SetText(u"aaaa bbbb\r\nbc\r\n\r\nd" + kPair + u"efghijk");
  // The soft boundary after 'aaaa ' belongs to the end of the first line.
  int x = 0, y = 0;
  s.lines.CaretFromParagraph(0, 5, y, x);
  EXPECT_EQ(y, 0);
  EXPECT_EQ(x, 5);
  s.lines.CaretFromParagraph(0, 6, y, x);
  EXPECT_EQ(y, 1);
  EXPECT_EQ(x, 1);

  const String text = s.lines.Text();
  for (int c = 0; c <= static_cast<int>(text.size()); ++c) {
    const bool insideBreak = c > 0 && text[c - 1] == u'\r';
    const bool insidePair = c > 0 && IsHighSurrogate(text[c - 1]);
    if (insideBreak || insidePair) continue;
    s.lines.CaretFromChar(c, x, y);
    EXPECT_EQ(s.lines.CharFromCaret(x, y), c) << c;
  }
  for (int line = 0; line < s.lines.ParagraphCount(); ++line)
    for (int col = 0; col <= static_cast<int>(s.lines.GetLine(line).size()); ++col) {
      if (col > 0 && IsHighSurrogate(s.lines.GetLine(line)[col - 1])) continue;
      s.lines.CaretFromChar(s.lines.CharFromCaret(col, line), x, y);
      // The start of a continuation line is the end of the line before it.
      const int before = line > 0 ? static_cast<int>(s.lines.GetLine(line - 1).size()) : 0;
      const bool softEnd =
          col == 0 && line > 0 && s.lines.CharFromCaret(0, line) == s.lines.CharFromCaret(before, line - 1);
      const auto expected = softEnd ? std::make_pair(before, line - 1) : std::make_pair(col, line);
      EXPECT_EQ(std::make_pair(x, y), expected);
    }
}

TEST(KsEditStrings, CharacterIndexesCountTwoPerBreakAndClampOutOfRange) {
  Store s;
  s.lines.SetText(u"a\r\nbc\r\nd");
  EXPECT_EQ(s.lines.CharFromCaret(0, 2), 7);
  int x = -1, y = -1;
  s.lines.CaretFromChar(7, x, y);
  EXPECT_EQ(std::make_pair(x, y), std::make_pair(0, 2));
  s.lines.CaretFromChar(5, x, y);  // inside the break after 'bc': its end
  EXPECT_EQ(std::make_pair(x, y), std::make_pair(2, 1));
  s.lines.CaretFromChar(1000, x, y);  // past the end: the end
  EXPECT_EQ(std::make_pair(x, y), std::make_pair(1, 2));
  s.lines.CaretFromChar(-3, x, y);
  EXPECT_EQ(std::make_pair(x, y), std::make_pair(0, 0));
  // A column past its line clamps to the paragraph; a line past the text to its end.
  EXPECT_EQ(s.lines.CharFromCaret(50, 1), 5);
  EXPECT_EQ(s.lines.CharFromCaret(0, 50), 8);
  // A position inside a pair moves before it.
  s.lines.SetText(u"a" + kPair);
  EXPECT_EQ(s.lines.CharFromCaret(2, 0), 1);
  s.lines.CaretFromChar(2, x, y);
  EXPECT_EQ(x, 1);
}

TEST(KsEditStrings, LinesOutsideTheTextNeverAliasTheFirst) {
  Store s;
  try {
    s.lines.PutLine(1, u"x");
    FAIL() << "no exception";
  } catch (const EKsEditorError& e) {
    EXPECT_STREQ(e.what(), "List index outbound (1)");
  }
  s.lines.PutLine(0, u"first");
  EXPECT_EQ(s.lines.Text(), u"first");
  s.lines.SetText(u"one\r\ntwo");
  EXPECT_EQ(s.lines.GetLine(2), u"");
  EXPECT_EQ(s.lines.GetLine(-1), u"");
  EXPECT_THROW(s.lines.PutLine(2, u"x"), EKsEditorError);
  EXPECT_THROW(s.lines.PutLine(-1, u"x"), EKsEditorError);
  EXPECT_EQ(s.lines.Text(), u"one\r\ntwo");
  // Breaks written into a line are left out, like Put does.
  s.lines.PutLine(1, u"t\r\nw");
  EXPECT_EQ(s.lines.Text(), u"one\r\ntw");
  int p = -1, i = -1;
  EXPECT_FALSE(s.lines.IndexToParagraph(7, p, i));
  EXPECT_EQ(std::make_pair(p, i), std::make_pair(0, 0));
}

TEST(KsEditStrings, InsertTextSplitsAtBreaksAndAnswersThePositionAfter) {
  Store s;
  s.lines.SetText(u"abc");
  int x = 3, y = 0;
  s.lines.InsertText(x, y, u"x\r\n");
  EXPECT_EQ(Paragraphs(s.lines), (std::vector<String>{u"abcx", u""}));
  EXPECT_EQ(std::make_pair(x, y), std::make_pair(0, 1));

  s.lines.SetText(u"abc");
  x = 3, y = 0;
  s.lines.InsertText(x, y, u"x\n");  // a lone break at the end is dropped
  EXPECT_EQ(Paragraphs(s.lines), (std::vector<String>{u"abcx"}));
  EXPECT_EQ(std::make_pair(x, y), std::make_pair(4, 0));

  s.lines.SetText(u"HEAD|TAIL\r\nnext");
  x = 5, y = 0;
  s.lines.InsertText(x, y, u"1\r2\n3\r\n4");
  EXPECT_EQ(Paragraphs(s.lines), (std::vector<String>{u"HEAD|1", u"2", u"3", u"4TAIL", u"next"}));
  EXPECT_EQ(std::make_pair(x, y), std::make_pair(1, 3));

  Store empty;
  x = 0, y = 0;
  empty.lines.InsertText(x, y, u"a\r\nb");
  EXPECT_EQ(Paragraphs(empty.lines), (std::vector<String>{u"a", u"b"}));
  EXPECT_EQ(std::make_pair(x, y), std::make_pair(1, 1));
}

TEST(KsEditStrings, ListFaceEditsParagraphs) {
  Store s(6);
  int changes = 0;
  s.lines.SetOnChange([&](TObject*) { ++changes; });
  EXPECT_EQ(s.lines.Add(u"zeta"), 0);
  EXPECT_EQ(s.lines.Add(u"alpha\r\nbeta"), 1);
  EXPECT_EQ(Paragraphs(s.lines), (std::vector<String>{u"zeta", u"alpha", u"beta"}));
  s.lines.SetStrings(0, u"ga\r\nmma delta");  // breaks left out, re-wrapped
  EXPECT_EQ(s.lines.Strings(0), u"gamma delta");
  EXPECT_EQ(s.lines.ParagraphCount(), 4);
  s.lines.Exchange(0, 2);
  EXPECT_EQ(Paragraphs(s.lines), (std::vector<String>{u"beta", u"alpha", u"gamma delta"}));
  EXPECT_EQ(s.lines.FirstLineOf(2), 2);
  s.lines.Delete(1);
  EXPECT_EQ(Paragraphs(s.lines), (std::vector<String>{u"beta", u"gamma delta"}));
  EXPECT_EQ(s.lines.Objects(0), nullptr);
  EXPECT_THROW(s.lines.Strings(2), EStringListError);
  EXPECT_THROW(s.lines.Delete(-1), EStringListError);
  TStringList more;
  more.Add(u"x");
  more.Add(u"y");
  s.lines.AddStrings(more);
  EXPECT_EQ(changes, 8);  // inside the bracket too, and once more at its end
  s.lines.Clear();
  EXPECT_EQ(s.lines.Count(), 0);

  s.lines.SetText(u"apple\r\ncherry\r\nfig");
  int index = -1;
  EXPECT_TRUE(s.lines.Find(u"cherry", index));
  EXPECT_EQ(index, 1);
  EXPECT_FALSE(s.lines.Find(u"date", index));
  EXPECT_EQ(index, 2);
}

TEST(KsEditStrings, DeleteTextJoinsParagraphsAndAnswersWhatWent) {
  Store s;
  s.lines.SetText(u"one\r\ntwo\r\nthree");
  EXPECT_EQ(s.lines.TextLength(), 15);
  EXPECT_EQ(s.lines.DeleteText(4, 4), u"");       // an empty range inside a break removes nothing
  EXPECT_EQ(s.lines.DeleteText(2, 4), u"e\r\n");  // an end inside a break takes all of it
  EXPECT_EQ(Paragraphs(s.lines), (std::vector<String>{u"ontwo", u"three"}));
  EXPECT_EQ(s.lines.DeleteText(7, 4), u"o\r\n");  // either order
  EXPECT_EQ(s.lines.Text(), u"ontwthree");
  // Steps go over whole characters: a break and a pair are one step each.
  s.lines.SetText(u"a\r\n" + kPair);
  EXPECT_EQ(s.lines.NextCharPos(1), 3);
  EXPECT_EQ(s.lines.NextCharPos(3), 5);
  EXPECT_EQ(s.lines.NextCharPos(5), 5);
  EXPECT_EQ(s.lines.PrevCharPos(5), 3);
  EXPECT_EQ(s.lines.PrevCharPos(3), 1);
  EXPECT_EQ(s.lines.PrevCharPos(0), 0);
  s.lines.SetText(u"a" + kPair + u"b");
  EXPECT_EQ(s.lines.DeleteText(2, 3), kPair);  // both ends snap out of the pair
  EXPECT_EQ(s.lines.Text(), u"ab");
}

}  // namespace
}  // namespace kestrel

namespace kestrel {
namespace {

// Counts what an edit costs in measuring: on a large text an edit re-wraps only its own
// paragraph, however many there are. (Speed itself is measured by the edit benchmark.)
class CountingHost : public testing::FixedMetricHost {
 public:
  mutable int fits = 0;
  int TextFit(std::u16string_view s, int width) const override {
    ++fits;
    return FixedMetricHost::TextFit(s, width);
  }
};

TEST(KsEditStrings, AnEditOnALargeTextMeasuresOnlyItsParagraph) {
  CountingHost host;
  host.SetRoomInChars(12);
  TKsEditStrings lines(host);
  String text;
  for (int i = 0; i < 100'000; ++i) text += u"line of some words\r\n";
  lines.SetText(text);
  ASSERT_EQ(lines.Count(), 100'001);
  ASSERT_EQ(lines.ParagraphCount(), 200'001);
  host.fits = 0;
  for (int i = 0; i < 100; ++i) {
    const int at = lines.CharFromCaret(3, (i * 7919) % lines.ParagraphCount());
    lines.DeleteText(lines.InsertTextAt(at, u"x\r\ny"), at);
  }
  EXPECT_LE(host.fits, 100 * 2 * 8);  // a handful of measurements per re-wrapped paragraph
  EXPECT_EQ(lines.Text(), text);
}

}  // namespace
}  // namespace kestrel
