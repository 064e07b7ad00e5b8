// Dragging text with the mouse between two edits on a shown form of the headless backend, and
// inside one: what each text, selection and undo list holds afterwards.

#include <gtest/gtest.h>

#include "edit/KsEdit.h"
#include "edit/KsEditMessages.h"
#include "framework/DragTracker.h"
#include "tests/framework/visual/VisualTestSupport.h"

namespace kestrel {
namespace {

namespace pf = platform;
using testing::Pump;
using testing::ShownForm;

struct TwoEdits {
  ShownForm form{460, 200};
  TKsEdit* source = Make(10, u"hello world");
  TKsEdit* target = Make(240, u"abcdef");

  TKsEdit* Make(int left, const String& text) {
    auto* e = new TKsEdit(form.form);
    e->SetParent(form.form);
    e->SetBounds(left, 10, 200, 24);
    e->SetText(text);
    e->SetDragAllowed(true);
    return e;
  }
  // Screen point of the caret place before character `index` of `edit` (exactly on the boundary,
  // which even a narrow character's middle lies right of).
  static pf::POINT At(const TKsEdit& edit, int index) {
    const TKsCaretPos pos = edit.CaretFromChar(index);
    const TPoint p = edit.PosFromCaret(pos.X, pos.Y);
    return edit.ClientToScreen(Point(p.x, p.y + 2));
  }
  static void Select(TKsEdit& edit, int first, int last) {
    pf::SendMessageW(edit.Handle(), ksem::EM_SETSEL, first, last);
  }
  // Presses inside `from`'s selection at index `grab`, leaves the drag rectangle, and carries the
  // text to index `drop` of `to`; `release` drops it there.
  static void Drag(TKsEdit& from, int grab, TKsEdit& to, int drop, bool release = true) {
    pf::HeadlessBackend::Current()->Advance(1000);  // a press of its own, not a double click
    pf::InjectMouseMove(At(from, grab));
    pf::InjectMouseButton(pf::MouseButton::Left, true, At(from, grab));
    Pump();
    pf::POINT away = At(from, grab);
    away.x += pf::GetSystemMetrics(pf::SM_CXDRAG);
    pf::InjectMouseMove(away);
    pf::InjectMouseMove(At(to, drop));
    Pump();
    if (!release) return;
    pf::InjectMouseButton(pf::MouseButton::Left, false, At(to, drop));
    Pump();
  }
  static void Release(const TKsEdit& at, int index) {
    pf::InjectMouseButton(pf::MouseButton::Left, false, At(at, index));
    Pump();
  }
  static pf::WORD Cursor() { return pf::HeadlessBackend::Current()->CursorShape(); }
};

TEST(KsEditDragDrop, DroppingOnAnotherEditCopiesAndSelectsTheDroppedText) {
  TwoEdits s;
  s.Select(*s.source, 6, 11);  // "world"
  s.Drag(*s.source, 8, *s.target, 2, false);
  EXPECT_EQ(s.Cursor(), CursorResource(crDrag));
  EXPECT_EQ(s.target->Core().CaretChar(), 2) << "the caret shows where the text would go";
  s.Release(*s.target, 2);
  EXPECT_EQ(s.target->Text(), u"abworldcdef");
  EXPECT_EQ(s.target->SelStart(), 2);
  EXPECT_EQ(s.target->SelLength(), 5);
  EXPECT_EQ(s.source->Text(), u"hello world") << "from another edit the text is copied";
  EXPECT_EQ(s.source->SelText(), u"world");
  EXPECT_EQ(s.source->Core().CaretChar(), 8) << "the source's caret is back at the press";
  s.target->Undo();
  EXPECT_EQ(s.target->Text(), u"abcdef") << "one undo takes the whole drop back";
  EXPECT_FALSE(s.target->CanUndo());
}

TEST(KsEditDragDrop, InsideOneEditTheTextMovesUnlessCtrlIsHeld) {
  TwoEdits s;
  s.Select(*s.source, 0, 6);  // "hello "
  s.Drag(*s.source, 2, *s.source, 11);
  EXPECT_EQ(s.source->Text(), u"worldhello ");
  EXPECT_EQ(s.source->SelText(), u"hello ") << "dropped after the selection, at the place meant";
  s.source->Undo();
  EXPECT_EQ(s.source->Text(), u"hello world");

  // With Ctrl held it is a copy, shown with the copy cursor.
  s.Select(*s.source, 6, 11);
  pf::InjectKey(pf::VK_CONTROL, true);
  s.Drag(*s.source, 7, *s.source, 0, false);
  EXPECT_EQ(s.Cursor(), CursorResource(crMultiDrag));
  s.Release(*s.source, 0);
  pf::InjectKey(pf::VK_CONTROL, false);
  Pump();
  EXPECT_EQ(s.source->Text(), u"worldhello world");
  EXPECT_EQ(s.source->DragCursor(), crDrag) << "the edit's own setting is back";

  // Dropped onto its own selection nothing is removed: a copy lands there.
  s.Select(*s.source, 0, 5);
  s.Drag(*s.source, 1, *s.source, 3);
  EXPECT_EQ(s.source->Text(), u"worworldldhello world");
}

TEST(KsEditDragDrop, EscapeCancelsAndPutsTheCaretBackAtThePress) {
  TwoEdits s;
  s.source->SetFocus();
  s.Select(*s.source, 6, 11);
  s.Drag(*s.source, 8, *s.target, 3, false);
  pf::InjectKeyStroke(pf::VK_ESCAPE);
  Pump();
  EXPECT_FALSE(TDragTracker::Instance().Active());
  s.Release(*s.target, 3);
  EXPECT_EQ(s.target->Text(), u"abcdef");
  EXPECT_EQ(s.target->Core().CaretChar(), 0) << "the target's caret goes back where it was";
  EXPECT_EQ(s.source->Text(), u"hello world");
  EXPECT_EQ(s.source->Core().CaretChar(), 8);
}

TEST(KsEditDragDrop, PasswordsStayAndReadOnlyEditsRefuse) {
  TwoEdits s;
  s.source->SetPasswordChar(u"*");
  s.Select(*s.source, 0, 5);
  s.Drag(*s.source, 2, *s.target, 1, false);
  EXPECT_FALSE(TDragTracker::Instance().Active()) << "a password's text is never dragged out";
  s.Release(*s.target, 1);
  EXPECT_EQ(s.target->Text(), u"abcdef");

  s.source->SetPasswordChar(u"");
  s.target->SetReadOnly(true);
  s.Select(*s.source, 0, 5);
  s.Drag(*s.source, 2, *s.target, 1, false);
  EXPECT_TRUE(TDragTracker::Instance().Started());
  EXPECT_EQ(s.Cursor(), CursorResource(crNoDrop));
  s.Release(*s.target, 1);
  EXPECT_EQ(s.target->Text(), u"abcdef");
  EXPECT_EQ(s.source->Text(), u"hello world");
}

}  // namespace
}  // namespace kestrel
