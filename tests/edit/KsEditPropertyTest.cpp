// Random edit sequences against a plain reference string: after every step the store's text must
// equal the reference, its lines must still make up its paragraphs, and undoing must bring back
// every earlier text exactly, across re-wrapping at random widths.

#include <gtest/gtest.h>

#include <random>

#include "tests/edit/EditDriver.h"

namespace kestrel {
namespace {

using testing::EditDriver;

const String kPair = u"\U0001F600";

// Every paragraph's lines make up its text, no wrapped line is empty or ends inside a pair, and
// the line numbering is the running sum.
void CheckStructure(const TKsEditStrings& lines) {
  int y = 0;
  for (int p = 0; p < lines.Count(); ++p) {
    const TKsParagraph& para = *lines.Paragraphs().Get(p);
    ASSERT_EQ(lines.FirstLineOf(p), y);
    String joined;
    for (int i = 0; i < para.Count(); ++i, ++y) {
      const auto line = lines.GetLine(y);
      ASSERT_TRUE(para.Count() == 1 || !line.empty()) << "empty wrapped line";
      ASSERT_FALSE(i + 1 < para.Count() && IsHighSurrogate(line.back())) << "pair split";
      joined += line;
    }
    ASSERT_EQ(joined, para.ParaText());
  }
  ASSERT_EQ(lines.ParagraphCount(), y);
}

class Reference {
 public:
  explicit Reference(bool multiline) : FMultiline(multiline) {}
  String text;

  // What the store makes of inserted text: every break becomes CR LF on several lines.
  String Normalized(std::u16string_view s) const {
    if (!FMultiline) return String(s);
    String out;
    for (size_t i = 0; i < s.size(); ++i) {
      if (s[i] == u'\r' || s[i] == u'\n') {
        if (s[i] == u'\r' && i + 1 < s.size() && s[i + 1] == u'\n') ++i;
        out += u"\r\n";
      } else {
        out += s[i];
      }
    }
    return out;
  }
  int Insert(int at, std::u16string_view s) {
    const String n = Normalized(s);
    text.insert(static_cast<size_t>(at), n);
    return at + static_cast<int>(n.size());
  }
  void Erase(int a, int b) { text.erase(static_cast<size_t>(std::min(a, b)), static_cast<size_t>(std::abs(a - b))); }
  int CharSize(int at) const {  // size of the whole character that begins at At
    if (FMultiline && text.compare(static_cast<size_t>(at), 2, u"\r\n") == 0) return 2;
    return IsHighSurrogate(text[static_cast<size_t>(at)]) ? 2 : 1;
  }
  bool ValidPosition(int at) const {
    if (at <= 0 || at >= static_cast<int>(text.size())) return true;
    if (IsHighSurrogate(text[at - 1])) return false;
    return !(FMultiline && text[at - 1] == u'\r' && text[at] == u'\n');
  }

 private:
  bool FMultiline;
};

class EditSequence {
 public:
  EditSequence(unsigned seed, bool multiline) : FRandom(seed), ref(multiline), e(10) { e.host.multiline = multiline; }

  String RandomText(int maxPieces) {
    static const std::u16string_view pieces[] = {u"a",  u"b",    u"c",  u" ",  u" ",    u"\t",
                                                 kPair, u"\r\n", u"\r", u"\n", u"word "};
    String s;
    const int n = Pick(1, maxPieces);
    for (int i = 0; i < n; ++i) s += pieces[Pick(0, std::size(pieces) - 1)];
    // A lone break that ends inserted text is dropped by rule; keep that out of the comparison.
    if (s.back() == u'\n' ? (s.size() < 2 || s[s.size() - 2] != u'\r') : s.back() == u'\r') s += u'z';
    return s;
  }
  int RandomPosition() {
    for (;;) {
      const int at = Pick(0, static_cast<int>(ref.text.size()));
      if (ref.ValidPosition(at)) return at;
    }
  }

  void Start() {
    e.lines.SetText(RandomText(30));
    ref.text = e.lines.Text();
    e.undo.Clear();
  }

  void Step() {
    switch (Pick(0, 9)) {
      case 0:
      case 1: {  // type, maybe over a selection
        SelectSometimes();
        FStates.push_back(ref.text);
        ReplaceSelection(RandomText(4));
        break;
      }
      case 2: {  // paste: the selection and the insertion are separate steps
        SelectSometimes();
        DeleteSelectionStep();
        FStates.push_back(ref.text);
        const String s = RandomText(12);
        e.Paste(s);
        Check(ref.Insert(FCaretBefore, s));
        break;
      }
      case 3: {
        Caret(RandomPosition());
        if (e.caret == 0) break;
        FStates.push_back(ref.text);
        int before = e.caret - 1;
        while (!ref.ValidPosition(before)) --before;
        ref.Erase(before, e.caret);
        e.Backspace();
        Check(before);
        break;
      }
      case 4: {
        Caret(RandomPosition());
        if (e.caret == static_cast<int>(ref.text.size())) break;
        FStates.push_back(ref.text);
        ref.Erase(e.caret, e.caret + ref.CharSize(e.caret));
        e.Delete();
        Check(e.caret);
        break;
      }
      case 5: {
        Caret(RandomPosition());
        FStates.push_back(ref.text);
        const int at = e.caret;
        e.Enter();
        Check(ref.Insert(at, u"\r\n"));
        break;
      }
      case 6: e.Rewrap(Pick(0, 12)); break;
      case 7:
      case 8: UndoStep(); break;
      default: {  // delete a selection
        const int a = RandomPosition();
        const int b = RandomPosition();
        if (a == b) break;
        e.Select(a, b);
        FStates.push_back(ref.text);
        ref.Erase(a, b);
        e.DeleteSelection();
        Check(std::min(a, b));
        break;
      }
    }
    CheckStructure(e.lines);
  }

  void UndoStep() {
    const bool done = e.Undo();
    ASSERT_EQ(done, !FStates.empty());
    if (!done) return;
    ref.text = FStates.back();
    FStates.pop_back();
    ASSERT_EQ(e.lines.Text(), ref.text);
    ASSERT_TRUE(ref.ValidPosition(e.caret) && ref.ValidPosition(e.anchor));
  }
  void UndoAll(const String& initial) {
    while (!FStates.empty()) UndoStep();
    EXPECT_EQ(e.lines.Text(), initial);
  }

  std::mt19937 FRandom;
  Reference ref;
  EditDriver e;

 private:
  int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(FRandom); }
  void Caret(int at) { e.Select(at, at); }
  void SelectSometimes() {
    const int a = RandomPosition();
    e.Select(Pick(0, 2) == 0 ? RandomPosition() : a, a);
  }
  void DeleteSelectionStep() {
    FCaretBefore = std::min(e.anchor, e.caret);
    if (e.anchor == e.caret) return;
    FStates.push_back(ref.text);
    ref.Erase(e.anchor, e.caret);
    e.DeleteSelection();
    ASSERT_EQ(e.lines.Text(), ref.text);
  }
  void ReplaceSelection(const String& s) {
    FCaretBefore = std::min(e.anchor, e.caret);
    ref.Erase(e.anchor, e.caret);
    e.Type(s);
    Check(ref.Insert(FCaretBefore, s));
  }
  void Check(int expectedCaret) {
    ASSERT_EQ(e.lines.Text(), ref.text);
    ASSERT_EQ(e.caret, expectedCaret);
  }

  std::vector<String> FStates;  // the text each remaining undo step must bring back
  int FCaretBefore = 0;
};

void RunSequences(bool multiline) {
  for (unsigned seed = 1; seed <= 60; ++seed) {
    EditSequence s(seed, multiline);
    s.Start();
    const String initial = s.ref.text;
    for (int step = 0; step < 150; ++step) {
      s.Step();
      if (::testing::Test::HasFatalFailure()) {
        ADD_FAILURE() << "seed " << seed << " step " << step;
        return;
      }
    }
    s.UndoAll(initial);
  }
}

TEST(KsEditProperty, RandomEditsMatchAPlainStringAndUndoRestoresEveryState) { RunSequences(true); }

TEST(KsEditProperty, SingleLineEditsKeepBreaksAsCharacters) { RunSequences(false); }

// Right-aligned wrapping cuts from the end of each paragraph; whatever the edits and widths, the
// lines must still make up exactly the text that was typed.
TEST(KsEditProperty, RightAlignedWrappingKeepsTheTypedText) {
  std::mt19937 random(5);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
  const String pieces[] = {u"word ", u"x", u" ", kPair, u"\r\n", u"\t", u"longerword"};
  testing::EditDriver e(6);
  e.host.rightAligned = true;
  String reference;
  for (int step = 0; step < 1500; ++step) {
    const int at = pick(0, static_cast<int>(reference.size()));
    if (pick(0, 2) > 0) {
      const String& piece = pieces[pick(0, static_cast<int>(std::size(pieces)) - 1)];
      const int snapped = at == 0 ? 0 : e.lines.NextCharPos(e.lines.PrevCharPos(at));  // a whole character
      const int end = e.lines.InsertTextAt(snapped, piece);
      reference.insert(static_cast<size_t>(snapped), piece);
      ASSERT_EQ(end, snapped + static_cast<int>(piece.size()));
    } else {
      const int to = e.lines.NextCharPos(e.lines.NextCharPos(at));
      const int from = e.lines.PrevCharPos(e.lines.NextCharPos(at));
      reference.erase(static_cast<size_t>(from), static_cast<size_t>(to - from));
      e.lines.DeleteText(from, to);
    }
    if (step % 50 == 0) e.Rewrap(pick(0, 12));
    ASSERT_EQ(e.lines.Text(), reference) << step;
    if (step % 10 == 0) CheckStructure(e.lines);
  }
}

}  // namespace
}  // namespace kestrel

namespace kestrel {
namespace {

// Positions from outside (stale carets, messages with any numbers) never break the store: every
// call either works on the nearest valid place or raises the documented error.
TEST(KsEditProperty, PositionsOutOfRangeAreHarmless) {
  std::mt19937 random(3);
  for (const bool multiline : {true, false}) {
    testing::EditDriver e(4);
    e.host.multiline = multiline;
    e.lines.SetText(u"ab\r\ncd" + kPair + u"ef gh\r\n\r\nij");
    auto any = [&] { return std::uniform_int_distribution<int>(-6, e.lines.TextLength() + 6)(random); };
    for (int i = 0; i < 2000; ++i) {
      int x = any(), y = any(), p = 0, o = 0;
      e.lines.CaretToParagraph(x, y, o, p);
      e.lines.CaretFromParagraph(any(), any(), y, x);
      e.lines.CaretFromChar(any(), x, y);
      ASSERT_TRUE(y >= 0 && y < e.lines.ParagraphCount());
      ASSERT_TRUE(x >= 0 && x <= static_cast<int>(e.lines.GetLine(y).size()));
      (void)e.lines.CharFromCaret(any(), any());
      (void)e.lines.GetLine(any());
      (void)e.lines.TextRange(any(), any());
      (void)e.lines.NextCharPos(any());
      (void)e.lines.PrevCharPos(any());
      switch (i % 4) {
        case 0: x = any(), y = any(), e.lines.InsertText(x, y, u"x\r\ny"); break;
        case 1: e.lines.DeleteText(any(), any()); break;
        case 2:
          e.Rewrap(std::uniform_int_distribution<int>(-2, 6)(random));
          CheckStructure(e.lines);
          break;
        default: try { e.lines.PutLine(any(), u"z");
          } catch (const EKsEditorError&) {
          }
      }
    }
    CheckStructure(e.lines);
    EXPECT_EQ(e.lines.TextLength(), static_cast<int>(e.lines.Text().size()));
  }
}

}  // namespace
}  // namespace kestrel
