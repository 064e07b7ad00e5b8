// Random edit sequences run through the editing core's commands and, side by side, on a plain
// string with a caret and an anchor. After every step the text and the selection must agree; at
// the end undoing everything must walk back through earlier states to the start text.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "edit/KsEditCore.h"
#include "tests/edit/FixedMetricHost.h"

namespace kestrel {
namespace {

using testing::FixedMetricHost;

bool Inside(const String& t, int i) {
  if (i <= 0 || i >= static_cast<int>(t.size())) return false;
  return (t[i - 1] == u'\r' && t[i] == u'\n') || (IsHighSurrogate(t[i - 1]) && IsLowSurrogate(t[i]));
}

// Units of the whole character before / after I: a pair and a CR LF are one step.
int StepBack(const String& t, int i) { return i >= 2 && Inside(t, i - 1) ? 2 : 1; }
int StepForward(const String& t, int i) { return Inside(t, i + 1) ? 2 : 1; }

struct Model {
  String text;
  int anchor = 0;
  int caret = 0;
  int First() const { return std::min(anchor, caret); }
  int Length() const { return std::abs(anchor - caret); }
  void Erase(int from, int count) {
    text.erase(static_cast<size_t>(from), static_cast<size_t>(count));
    anchor = caret = from;
  }
  void DeleteSelection() {
    if (Length() > 0) Erase(First(), Length());
  }
  void Insert(const String& s) {
    DeleteSelection();
    text.insert(static_cast<size_t>(caret), s);
    anchor = caret = caret + static_cast<int>(s.size());
  }
};

class Session {
 public:
  Session(unsigned seed, bool multiline) : random_(seed), multiline_(multiline) {
    host_.multiline = multiline;
    host_.SetRoomInChars(8);
    core_.SetLinesInRect(4);
    model_.text = multiline ? u"start text\r\nsecond" : u"start text";
    core_.SetText(model_.text);
    history_.push_back(model_.text);
  }

  void Step() {
    const int length = static_cast<int>(model_.text.size());
    // Keep the text short: deletions win once it grows.
    const int op = Pick(0, length > 60 ? 14 : 11);
    switch (op) {
      case 0:
      case 1: Type(); break;
      case 2: Paste(); break;
      case 3: Enter(); break;
      case 4: Place(); break;
      case 5: SelectRange(); break;
      case 6: MoveToAnEnd(Pick(0, 1) ? kscmd::TextStart : kscmd::TextEnd); break;
      case 7: SelectAll(); break;
      case 8: MoveByLines(); break;
      case 9:
        // Undo records must stay right when the text is wrapped for another width.
        host_.SetRoomInChars(Pick(3, 12));
        core_.Rewrap();
        break;
      default: Pick(0, 1) ? BackSpace() : Delete(); break;
    }
    Check();
  }

  void UndoAll(const String& start) {
    // Undo walks back through states seen on the way, in reverse order.
    size_t at = history_.size();
    while (core_.CanUndo()) {
      core_.ExecuteCommand(kscmd::Undo, 0, {});
      const String now = core_.Text();
      while (at > 0 && history_[at - 1] != now) --at;
      ASSERT_GT(at, 0u) << "undo produced a text never seen: " << Utf16ToUtf8(now);
    }
    EXPECT_EQ(core_.Text(), start);
  }

 private:
  int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random_); }

  int Boundary() {
    int i = Pick(0, static_cast<int>(model_.text.size()));
    while (Inside(model_.text, i)) --i;
    return i;
  }

  String RandomText(bool breaks) {
    static const String pieces[] = {u"a", u"b", u" ", u"\U0001F600", u"xyz", u"\u00e9"};
    String out;
    for (int n = Pick(1, 3); n > 0; --n) out += pieces[Pick(0, 5)];
    if (breaks && Pick(0, 2) == 0) out.insert(static_cast<size_t>(Pick(0, static_cast<int>(out.size()))), u"\r\n");
    return out;
  }

  // TextStart / TextEnd: the selection collapses, caret and anchor go to the start or the end.
  void MoveToAnEnd(TKsCommand command) {
    core_.CommandCenter(command, 0, {});
    model_.anchor = model_.caret = command == kscmd::TextStart ? 0 : static_cast<int>(model_.text.size());
  }

  void Type() {
    const String s = RandomText(false);
    core_.CommandCenter(kscmd::Type, 0, s);
    model_.Insert(s);
    Record();
  }
  void Paste() {
    const String s = RandomText(multiline_);
    if (model_.Length() > 0) {
      model_.DeleteSelection();
      Record();
    }
    core_.PasteText(s);
    model_.Insert(s);
    Record();
  }
  void Enter() {
    if (!multiline_ || model_.Length() > 0) return;
    const int c = model_.caret;
    const bool continuation = core_.CaretX() == 0 && c > 0 && model_.text[static_cast<size_t>(c - 1)] != u'\n';
    core_.CommandCenter(kscmd::NewLine, 0, {});
    model_.text.insert(static_cast<size_t>(c), continuation ? u"\r\n\r\n" : u"\r\n");
    model_.anchor = model_.caret = c + (continuation ? 4 : 2);
    Record();
  }
  void BackSpace() {
    core_.CommandCenter(kscmd::BackSpace, 0, {});
    if (model_.Length() > 0) {
      model_.DeleteSelection();
    } else if (model_.caret > 0) {
      const int n = StepBack(model_.text, model_.caret);
      model_.Erase(model_.caret - n, n);
    } else if (multiline_ && model_.text.starts_with(u"\r\n")) {
      model_.Erase(0, 2);
    }
    Record();
  }
  void Delete() {
    core_.CommandCenter(kscmd::DeleteChar, 0, {});
    if (model_.Length() > 0) {
      model_.DeleteSelection();
    } else if (model_.caret < static_cast<int>(model_.text.size())) {
      model_.Erase(model_.caret, StepForward(model_.text, model_.caret));
    }
    Record();
  }
  void Place() {
    const int at = Boundary();
    core_.SetSelStart(at);
    model_.anchor = model_.caret = at;
  }
  void SelectRange() {
    const int a = Boundary();
    const int b = Boundary();
    core_.SetSelStart(a);
    core_.SetSelLength(b - a);
    model_.anchor = a;
    model_.caret = b;
  }
  // Visual moves: the model takes the caret's character index from the core. Column 0 of a
  // line also reaches the start of wrapped continuation lines, where Enter splits twice.
  void MoveByLines() {
    static const TKsCommand moves[] = {kscmd::Up, kscmd::Down, kscmd::Left, kscmd::Right, kscmd::LineStart};
    if (Pick(0, 1) == 0) {
      core_.Deselect();
      core_.SetCaretXY({0, Pick(0, core_.LinesCount() - 1)});
      core_.SetAnchorToCaret();
    } else {
      core_.CommandCenter(moves[Pick(0, 4)], 0, {});
    }
    model_.anchor = model_.caret = core_.CaretChar();
  }
  void SelectAll() {
    core_.CommandCenter(kscmd::SelectAll, 0, {});
    model_.anchor = 0;
    model_.caret = static_cast<int>(model_.text.size());
  }

  void Record() {
    if (history_.back() != model_.text) history_.push_back(model_.text);
  }

  void Check() {
    ASSERT_EQ(Utf16ToUtf8(core_.Text()), Utf16ToUtf8(model_.text));
    ASSERT_EQ(core_.SelStart(), model_.Length() > 0 ? model_.First() : model_.caret);
    ASSERT_EQ(core_.SelLength(), model_.Length());
  }

  std::mt19937 random_;
  bool multiline_;
  FixedMetricHost host_;
  IKsEditCoreEvents events_;
  TKsEditCore core_{host_, events_};
  Model model_;
  std::vector<String> history_;
};

void RunSessions(bool multiline) {
  for (unsigned seed : {1u, 7u, 2024u}) {
    SCOPED_TRACE(seed);
    Session session(seed, multiline);
    const String start = multiline ? u"start text\r\nsecond" : u"start text";
    for (int i = 0; i < 3000; ++i) {
      session.Step();
      if (::testing::Test::HasFatalFailure()) return;
    }
    session.UndoAll(start);
  }
}

TEST(KsEditCoreProperty, RandomMultiLineEditsMatchAStringAndUndoToTheStart) { RunSessions(true); }
TEST(KsEditCoreProperty, RandomSingleLineEditsMatchAStringAndUndoToTheStart) { RunSessions(false); }

}  // namespace
}  // namespace kestrel
