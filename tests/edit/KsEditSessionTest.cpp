// Scripted sessions with one edit on a shown form of the headless backend: dead keys and input
// method compositions typed through the message queue, and long random sequences of keys
// checked step by step against a plain string with a caret and an anchor.

#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <set>

#include "edit/KsEdit.h"
#include "platform/window/Clipboard.h"
#include "platform/window/Ime.h"
#include "platform/window/KeyboardLayout.h"
#include "tests/edit/EditOnForm.h"

namespace kestrel {
namespace {

namespace pf = platform;
using testing::EditOnForm;
using testing::Pump;

// Keys pressed with modifiers held; the modifiers are released afterwards.
void Chord(std::initializer_list<int> held, int key) {
  for (int k : held) pf::InjectKey(k, true);
  pf::InjectKeyStroke(key);
  for (int k : held) pf::InjectKey(k, false);
}

struct GermanLayout {
  GermanLayout() { pf::LoadKeyboardLayoutW(u"00000407", pf::KLF_ACTIVATE); }
  ~GermanLayout() { pf::ActivateKeyboardLayout(pf::LoadKeyboardLayoutW(u"00000409", 0), 0); }
};

TEST(KsEditSession, ChordsKeepBookmarksAndAltBackspaceUndoes) {
  EditOnForm e(true);
  e.edit->SetText(u"abc\r\ndef");
  e.edit->SetSelStart(7);
  Chord({pf::VK_CONTROL}, 'K');
  pf::InjectKeyStroke('3');
  Chord({pf::VK_CONTROL}, pf::VK_HOME);
  Chord({pf::VK_CONTROL}, 'Q');
  pf::InjectKeyStroke('3');
  Pump();
  EXPECT_EQ(e.edit->Text(), u"abc\r\ndef") << "a chord's second key types nothing";
  EXPECT_EQ(e.edit->SelStart(), 7);
  pf::InjectText(u"x");
  Chord({pf::VK_MENU}, pf::VK_BACK);
  Pump();
  EXPECT_EQ(e.edit->Text(), u"abc\r\ndef");
}

TEST(KsEditSession, DeadKeysAccentTheNextCharacterOrTypeBoth) {
  EditOnForm e;
  GermanLayout german;
  pf::InjectKeyStroke(pf::VK_OEM_5);  // ^
  pf::InjectKeyStroke('E');
  pf::InjectKeyStroke(pf::VK_OEM_6);  // ´
  Chord({pf::VK_SHIFT}, 'A');
  pf::InjectKeyStroke(pf::VK_OEM_5);
  pf::InjectKeyStroke('X');  // no x with a circumflex: both are typed
  Pump();
  EXPECT_EQ(e.edit->Text(), u"\u00EA\u00C1^x");
  EXPECT_EQ(e.edit->SelStart(), 4);
  while (e.edit->CanUndo()) e.edit->Undo();
  EXPECT_EQ(e.edit->Text(), u"");
}

TEST(KsEditSession, CompositionsTypeTheirResultOnceAtTheCaret) {
  EditOnForm e;
  e.edit->SetText(u"ab");
  e.edit->SetSelStart(1);
  pf::InjectComposition(u"ni");
  Pump();
  EXPECT_EQ(e.edit->Text(), u"ab") << "the text being composed is not typed yet";
  // The input method shows its candidates at the caret.
  const TPoint caret = e.edit->ClientToScreen(e.edit->PosFromCaret(1, 0));
  EXPECT_EQ(pf::HeadlessBackend::Current()->TextInputRect().left, caret.x);
  EXPECT_TRUE(pf::HeadlessBackend::Current()->TextInputEnabled());
  pf::InjectCompositionResult(u"\u4F60\u597D");
  Pump();
  EXPECT_EQ(e.edit->Text(), u"a\u4F60\u597Db") << "typed once, not again as characters";
  EXPECT_EQ(e.edit->SelStart(), 3);
  e.edit->Undo();
  EXPECT_EQ(e.edit->Text(), u"ab");
  e.edit->SetReadOnly(true);
  pf::InjectCompositionResult(u"x");
  Pump();
  EXPECT_EQ(e.edit->Text(), u"ab");
}

// The reference: a string, a caret and an anchor (UTF-16 indexes), edited as the commands do.
struct Model {
  String text;
  int anchor = 0;
  int caret = 0;
  String clipboard;

  int First() const { return std::min(anchor, caret); }
  int Length() const { return std::abs(anchor - caret); }
  // A surrogate pair is one step.
  int Prev(int i) const {
    return i >= 2 && IsLowSurrogate(text[i - 1]) && IsHighSurrogate(text[i - 2]) ? i - 2 : std::max(i - 1, 0);
  }
  int Next(int i) const {
    const int n = static_cast<int>(text.size());
    return i + 1 < n && IsHighSurrogate(text[i]) && IsLowSurrogate(text[i + 1]) ? i + 2 : std::min(i + 1, n);
  }
  void Collapse(int at) { anchor = caret = at; }
  bool RemoveSelection() {
    if (!Length()) return false;
    text.erase(First(), Length());
    Collapse(First());
    return true;
  }
  void Insert(const String& s) {
    RemoveSelection();
    text.insert(caret, s);
    Collapse(caret + static_cast<int>(s.size()));
  }
  void Backspace() {
    if (!RemoveSelection() && caret > 0) {
      const int from = Prev(caret);
      text.erase(from, caret - from);
      Collapse(from);
    }
  }
  void Delete() {
    if (!RemoveSelection() && caret < static_cast<int>(text.size())) text.erase(caret, Next(caret) - caret);
  }
};

class RandomSession {
 public:
  explicit RandomSession(unsigned seed) : random_(seed) {}

  void Run(int steps) {
    for (int i = 0; i < steps; ++i) {
      const std::string step = Step();
      Pump();
      Remember(step);
      ASSERT_EQ(e_.edit->Text(), model_.text) << "step " << i << ": " << step;
      ASSERT_EQ(e_.edit->SelStart(), model_.First()) << "step " << i << ": " << step;
      ASSERT_EQ(e_.edit->SelLength(), model_.Length()) << "step " << i << ": " << step;
      states_.insert(model_.text);
    }
    // Undoing everything walks back to the empty start.
    for (int guard = 0; e_.edit->CanUndo() && guard < 10000; ++guard) {
      Chord({pf::VK_CONTROL}, 'Z');
      Pump();
      ASSERT_TRUE(states_.count(e_.edit->Text())) << "undo made a text never seen: " << Utf16ToUtf8(e_.edit->Text());
    }
    EXPECT_EQ(e_.edit->Text(), u"");
  }

 private:
  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

  std::string Step() {
    static const String kTyped[] = {u"a", u"b", u" ", u"\u00E9", u"\U0001F600", u"xyz"};
    switch (Pick(14)) {
      case 0:
      case 1:
      case 2: {
        const String& s = kTyped[Pick(6)];
        pf::InjectText(s);
        // Each character is a command of its own, which an undo may take back alone.
        for (size_t i = 0; i < s.size(); i += IsHighSurrogate(s[i]) ? 2 : 1) {
          model_.Insert(s.substr(i, IsHighSurrogate(s[i]) ? 2 : 1));
          states_.insert(model_.text);
        }
        return "type " + Utf16ToUtf8(s);
      }
      case 3:
        pf::InjectKeyStroke(pf::VK_BACK);
        model_.Backspace();
        return "backspace";
      case 4:
        pf::InjectKeyStroke(pf::VK_DELETE);
        model_.Delete();
        return "delete";
      case 5:
        pf::InjectKeyStroke(pf::VK_LEFT);
        model_.Collapse(model_.Prev(model_.caret));
        return "left";
      case 6:
        pf::InjectKeyStroke(pf::VK_RIGHT);
        model_.Collapse(model_.Next(model_.caret));
        return "right";
      case 7:
        pf::InjectKeyStroke(pf::VK_HOME);
        model_.Collapse(0);
        return "home";
      case 8:
        pf::InjectKeyStroke(pf::VK_END);
        model_.Collapse(static_cast<int>(model_.text.size()));
        return "end";
      case 9:
        Chord({pf::VK_SHIFT}, pf::VK_LEFT);
        model_.caret = model_.Prev(model_.caret);
        return "shift+left";
      case 10:
        Chord({pf::VK_SHIFT}, pf::VK_RIGHT);
        model_.caret = model_.Next(model_.caret);
        return "shift+right";
      case 11:
        Chord({pf::VK_CONTROL}, 'A');
        model_.anchor = 0;
        model_.caret = static_cast<int>(model_.text.size());
        return "select all";
      case 12: return CutCopyOrPaste();
      default: return UndoOnce();
    }
  }

  std::string CutCopyOrPaste() {
    switch (Pick(3)) {
      case 0:
        Chord({pf::VK_CONTROL}, 'C');
        if (model_.Length()) model_.clipboard = model_.text.substr(model_.First(), model_.Length());
        return "copy";
      case 1:
        Chord({pf::VK_CONTROL}, 'X');
        if (model_.Length()) model_.clipboard = model_.text.substr(model_.First(), model_.Length());
        model_.RemoveSelection();
        return "cut";
      default:
        if (model_.clipboard.empty()) return "paste nothing";
        Chord({pf::VK_CONTROL}, 'V');
        // Removing the selection and inserting are two undo steps.
        if (model_.RemoveSelection()) states_.insert(model_.text);
        model_.Insert(model_.clipboard);
        return "paste";
    }
  }

  // Undo steps group edits as the commands decide; what it brings back must be a text seen
  // before, and the reference takes the control's state from there.
  std::string UndoOnce() {
    Chord({pf::VK_CONTROL}, 'Z');
    Pump();
    EXPECT_TRUE(states_.count(e_.edit->Text()))
        << "undo made the unseen text " << Utf16ToUtf8(e_.edit->Text()) << " after" << Recent();
    model_.text = e_.edit->Text();
    const int start = e_.edit->SelStart(), length = e_.edit->SelLength();
    const int caret = e_.edit->Core().CaretChar();
    model_.caret = caret;
    model_.anchor = caret == start ? start + length : start;
    return "undo";
  }

  // The last steps with the texts they left, for failure messages.
  void Remember(const std::string& step) {
    recent_.push_back(step + " -> '" + Utf16ToUtf8(model_.text) + "'");
    if (recent_.size() > 6) recent_.pop_front();
  }
  std::string Recent() const {
    std::string out;
    for (const std::string& r : recent_) out += "\n  " + r;
    return out;
  }

  EditOnForm e_;
  Model model_;
  std::deque<std::string> recent_;
  std::mt19937 random_;
  std::set<String> states_{u""};
};

TEST(KsEditSession, RandomKeySequencesMatchAStringModelAndUndoToTheStart) {
  const String saved = pf::GetClipboardUnicodeText();
  for (unsigned seed : {1u, 7u, 2024u}) {
    SCOPED_TRACE(seed);
    RandomSession(seed).Run(1000);
  }
  pf::SetClipboardUnicodeText(saved);
}

}  // namespace
}  // namespace kestrel
