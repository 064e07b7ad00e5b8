// The windowed edit control on a shown form of the headless backend: input through the message
// queue, the window messages it answers, the mouse, focus and the context menu.

#include <gtest/gtest.h>

#include <limits>

#include "controls/KsSBController.h"
#include "edit/KsEdit.h"
#include "edit/KsEditContextMenu.h"
#include "edit/KsEditMessages.h"
#include "edit/KsLinkedControlPlacement.h"
#include "framework/Accessible.h"
#include "framework/Label.h"
#include "platform/core/ScopeGuard.h"
#include "platform/window/Caret.h"
#include "platform/window/Clipboard.h"
#include "platform/window/HeadlessBackend.h"
#include "platform/window/Ime.h"
#include "platform/window/KeyboardLayout.h"
#include "platform/window/ScrollBars.h"
#include "platform/window/SystemParameters.h"
#include "tests/edit/EditOnForm.h"
#include "tests/framework/visual/VisualTestSupport.h"

namespace kestrel {
namespace {

namespace pf = platform;
using testing::EditOnForm;
using testing::Pump;
using testing::ShownForm;

TKsEdit* AddEdit(TForm* form, int x, int y, int width, int height) {
  auto* edit = new TKsEdit(form);
  edit->SetParent(form);
  edit->SetBounds(x, y, width, height);
  return edit;
}

struct WheelLinesGuard {
  pf::UINT saved = 0;
  WheelLinesGuard() { pf::SystemParametersInfoW(pf::SPI_GETWHEELSCROLLLINES, 0, &saved, 0); }
  ~WheelLinesGuard() { pf::SystemParametersInfoW(pf::SPI_SETWHEELSCROLLLINES, saved, nullptr, 0); }
};

struct ClipboardGuard {
  String saved = pf::GetClipboardUnicodeText();
  ~ClipboardGuard() { pf::SetClipboardUnicodeText(saved); }
};

TEST(KsEditControl, KeysAndCharactersFromTheQueueEditTheText) {
  EditOnForm e;
  pf::InjectText(u"hello");
  pf::InjectKeyStroke(pf::VK_BACK);
  pf::InjectKeyStroke(pf::VK_LEFT);
  pf::InjectText(u"X\U0001F600");
  Pump();
  EXPECT_EQ(e.edit->Text(), u"helX\U0001F600l");
  EXPECT_EQ(e.edit->SelStart(), 6) << "the caret follows the typed text, a surrogate pair counting two";
  EXPECT_TRUE(e.edit->Modified());
  TAccessibleInfo info;
  e.edit->GetAccessibleInfo(info);
  EXPECT_EQ(info.Text, e.edit->Text()) << "a screen reader reads the store's text";

  // Read-only blocks typing but not moving.
  e.edit->SetReadOnly(true);
  pf::InjectText(u"zz");
  pf::InjectKeyStroke(pf::VK_HOME);
  Pump();
  EXPECT_EQ(e.edit->Text(), u"helX\U0001F600l");
  EXPECT_EQ(e.edit->SelStart(), 0);
}

TEST(KsEditControl, UnicodeCharacterMessagesAnswerTheProbeAndHonourReadOnly) {
  EditOnForm e;
  EXPECT_EQ(e.Send(pf::WM_UNICHAR, pf::UNICODE_NOCHAR), pf::TRUE);
  EXPECT_EQ(e.edit->Text(), u"") << "the probe types nothing";
  e.Send(pf::WM_UNICHAR, 0x1F600);
  EXPECT_EQ(e.edit->Text(), u"\U0001F600") << "a code point beyond 16 bits becomes a surrogate pair";
  e.edit->SetReadOnly(true);
  e.Send(pf::WM_UNICHAR, u'a');
  EXPECT_EQ(e.edit->Text(), u"\U0001F600");
}

TEST(KsEditControl, SelectionMessagesOrderTheRangeAndPutTheCaretAtTheFirstArgument) {
  EditOnForm e;
  e.edit->SetText(u"0123456789");
  e.Send(ksem::EM_SETSEL, 5, 2);
  EXPECT_EQ(e.edit->SelStart(), 2);
  EXPECT_EQ(e.edit->SelLength(), 3);
  EXPECT_EQ(e.edit->Core().CaretChar(), 2);
  pf::DWORD start = 0, end = 0;
  EXPECT_EQ(e.Send(ksem::EM_GETSEL, reinterpret_cast<pf::WPARAM>(&start), reinterpret_cast<pf::LPARAM>(&end)),
            pf::MAKELONG(2, 5));
  EXPECT_EQ(start, 2u);
  EXPECT_EQ(end, 5u);

  e.Send(ksem::EM_SETSEL, 2, 5);
  EXPECT_EQ(e.edit->Core().CaretChar(), 2) << "also in order the caret is at the start";
  EXPECT_EQ(e.edit->SelText(), u"234");
  e.Send(ksem::EM_SETSEL, 0, static_cast<pf::LPARAM>(-1));
  EXPECT_EQ(e.edit->SelLength(), 10);
  e.Send(ksem::EM_SETSEL, static_cast<pf::WPARAM>(-1), 0);
  EXPECT_EQ(e.edit->SelLength(), 0);
  e.Send(ksem::EM_SETSEL, 7, static_cast<pf::LPARAM>(-1));
  EXPECT_EQ(e.edit->SelText(), u"789") << "any negative end is the end of the text";
  e.Send(ksem::EM_SETSEL, 8, 1000);
  EXPECT_EQ(e.edit->SelText(), u"89") << "an end past the text is clamped to it";
  e.edit->SetSelStart(7);
  e.edit->SetSelLength(std::numeric_limits<int>::max());
  EXPECT_EQ(e.edit->SelText(), u"789") << "the longest length reaches the end, not past the int range";
}

TEST(KsEditControl, TextMessagesKeepAPasswordInsideTheControl) {
  EditOnForm e;
  e.edit->SetText(u"secret");
  pf::WCHAR buffer[16] = {u'#', u'#', 0};
  EXPECT_EQ(e.Send(pf::WM_GETTEXT, 4, reinterpret_cast<pf::LPARAM>(buffer)), 3);
  EXPECT_EQ(String(buffer), u"sec") << "at most buffer size - 1 characters, terminated";
  EXPECT_EQ(e.Send(pf::WM_GETTEXT, 0, reinterpret_cast<pf::LPARAM>(buffer)), 0);

  e.edit->SetPasswordChar(u"*");
  buffer[0] = u'#';
  buffer[1] = 0;
  EXPECT_EQ(e.Send(pf::WM_GETTEXT, 16, reinterpret_cast<pf::LPARAM>(buffer)), 0);
  EXPECT_EQ(String(buffer), u"#") << "the buffer stays untouched";
  EXPECT_EQ(e.Send(pf::WM_GETTEXTLENGTH), 6);
  buffer[0] = 16;
  EXPECT_EQ(e.Send(ksem::EM_GETLINE, 0, reinterpret_cast<pf::LPARAM>(buffer)), 0);

  ClipboardGuard clipboard;
  pf::SetClipboardUnicodeText(u"before");
  e.edit->SelectAll();
  e.Send(pf::WM_COPY);
  EXPECT_EQ(pf::GetClipboardUnicodeText(), u"before");
  e.Send(pf::WM_SETTEXT, 0, 0);
  EXPECT_EQ(e.edit->Text(), u"") << "a missing text is an empty one";
}

TEST(KsEditControl, LineMessagesCountParagraphs) {
  EditOnForm e(true);
  e.edit->SetText(u"ab\r\ncd\r\nef");
  EXPECT_EQ(e.Send(ksem::EM_GETLINECOUNT), 3);
  EXPECT_EQ(e.Send(ksem::EM_LINEINDEX, 2), 8);
  EXPECT_EQ(e.Send(ksem::EM_LINEINDEX, 3), -1);
  EXPECT_EQ(e.Send(ksem::EM_LINEFROMCHAR, 5), 1);
  e.edit->SetSelStart(5);
  EXPECT_EQ(e.Send(ksem::EM_LINEINDEX, static_cast<pf::WPARAM>(-1)), 4);
  EXPECT_EQ(e.Send(ksem::EM_LINEFROMCHAR, static_cast<pf::WPARAM>(-1)), 1) << "the caret's line";
  pf::WCHAR buffer[8] = {1};
  EXPECT_EQ(e.Send(ksem::EM_GETLINE, 1, reinterpret_cast<pf::LPARAM>(buffer)), 1);
  EXPECT_EQ(buffer[0], u'c') << "no more than the buffer's first word announces";
  e.Send(ksem::EM_SETSEL, 4, 5);
  e.Send(ksem::EM_REPLACESEL, 0, reinterpret_cast<pf::LPARAM>(u"XY"));
  EXPECT_EQ(e.edit->Text(), u"ab\r\nXYd\r\nef");
  e.Send(ksem::EM_UNDO);
  EXPECT_EQ(e.edit->Text(), u"ab\r\ncd\r\nef") << "a replaced selection is undone";

  e.edit->SetWordWrap(true);
  e.edit->SetText(u"one two three four five six seven eight");
  const int lines = e.edit->LinesCount();
  pf::RECT narrow = e.edit->EditRect();
  narrow.right /= 2;
  e.Send(ksem::EM_SETRECT, 0, reinterpret_cast<pf::LPARAM>(&narrow));
  EXPECT_GT(e.edit->LinesCount(), lines) << "a narrower rectangle wraps the text anew";
}

TEST(KsEditControl, LinesTheProgramDeletesTakeNoCaretOrSelectionWithThem) {
  EditOnForm e(true);
  e.edit->SetText(u"a\r\nb\r\nc\r\nd\r\ne");
  e.edit->SetSelStart(6);
  e.edit->SetSelLength(5);  // "c" .. "d"
  for (int i = 0; i < 3; ++i) e.edit->Lines()->Delete(2);
  EXPECT_NO_THROW(e.edit->ScrollCaret());
  EXPECT_EQ(e.edit->Core().CaretXY(), (TKsCaretPos{1, 1})) << "at the end of what is left";
  EXPECT_EQ(e.edit->SelLength(), 0);
  pf::InjectText(u"x");
  Pump();
  EXPECT_EQ(e.edit->Text(), u"a\r\nbx");
}

TEST(KsEditControl, DialogCodeAsksForTheKeysTheSettingsName) {
  EditOnForm e;
  const pf::LRESULT always = pf::DLGC_WANTARROWS | pf::DLGC_HASSETSEL | pf::DLGC_WANTCHARS;
  struct Row {
    bool multiline, wantReturns, handleDialogKeys, wantTabs;
    pf::LRESULT expected;
  };
  const Row rows[] = {{false, false, false, false, always},
                      {true, false, false, false, always},
                      {false, true, false, false, always},
                      {true, true, false, false, always | pf::DLGC_WANTALLKEYS},
                      {false, false, true, false, always | pf::DLGC_WANTALLKEYS},
                      {false, false, false, true, always | pf::DLGC_WANTTAB}};
  for (const Row& row : rows) {
    e.edit->SetMultiline(row.multiline);
    e.edit->SetWantReturns(row.wantReturns);
    e.edit->SetHandleDialogKeys(row.handleDialogKeys);
    e.edit->SetWantTabs(row.wantTabs);
    EXPECT_EQ(e.Send(pf::WM_GETDLGCODE), row.expected)
        << row.multiline << row.wantReturns << row.handleDialogKeys << row.wantTabs;
  }
}

TEST(KsEditControl, ClicksCountInSeriesWordThenEverythingThenAnew) {
  EditOnForm e;
  e.edit->SetText(u"one two three");
  e.ClickAt(5);
  EXPECT_EQ(e.edit->SelLength(), 0);
  EXPECT_EQ(e.edit->SelStart(), 5);
  e.ClickAt(5);
  EXPECT_EQ(e.edit->SelText(), u"two ") << "a double click selects the word and the blanks after it";
  e.ClickAt(5);
  EXPECT_EQ(e.edit->SelText(), u"one two three") << "the third click selects everything";
  e.ClickAt(5);
  EXPECT_EQ(e.edit->SelLength(), 0) << "a fourth click starts a new series";
  e.ClickAt(5);
  pf::POINT p = e.ScreenPointOf(5);
  pf::InjectMouseButton(pf::MouseButton::Left, true, p);
  p.x += 2;
  pf::InjectMouseMove(p);
  pf::InjectMouseButton(pf::MouseButton::Left, false, p);
  Pump();
  EXPECT_EQ(e.edit->SelLength(), 13) << "a third click that trembles still selects everything";
}

TEST(KsEditControl, DraggingTheMouseSelectsAndShiftClickExtends) {
  EditOnForm e;
  e.edit->SetText(u"abcdefgh");
  pf::InjectMouseButton(pf::MouseButton::Left, true, e.ScreenPointOf(1));
  pf::InjectMouseMove(e.ScreenPointOf(4));
  pf::InjectMouseButton(pf::MouseButton::Left, false, e.ScreenPointOf(4));
  Pump();
  EXPECT_EQ(e.edit->SelText(), u"bcd");
  e.edit->SetSelStart(2);
  pf::InjectKey(pf::VK_SHIFT, true);
  e.ClickAt(6);
  pf::InjectKey(pf::VK_SHIFT, false);
  Pump();
  EXPECT_EQ(e.edit->SelText(), u"cdef");
}

TEST(KsEditControl, AutoSelectTheFocusingClickSelectsAllWithTheCaretAtTheEnd) {
  ShownForm form;
  auto* other = AddEdit(form.form, 10, 60, 100, 24);
  auto* edit = AddEdit(form.form, 10, 10, 200, 24);
  edit->SetText(u"all of it");
  edit->SetAutoSelect(true);
  other->SetFocus();
  Pump();
  testing::ClickAt(*edit, 20, 10);
  EXPECT_TRUE(edit->Focused());
  EXPECT_EQ(edit->SelLength(), 9);
  EXPECT_EQ(edit->Core().CaretChar(), 9);
}

TEST(KsEditControl, WheelScrollsByThePlatformsLinesPerNotch) {
  WheelLinesGuard guard;
  EditOnForm e(true);
  String text;
  for (int i = 0; i < 40; ++i) text += u"line\r\n";
  e.edit->SetText(text);
  const pf::POINT inside = e.edit->ClientToScreen(Point(20, 20));
  pf::SystemParametersInfoW(pf::SPI_SETWHEELSCROLLLINES, 3, nullptr, 0);
  pf::InjectMouseWheel(-pf::WHEEL_DELTA, inside);
  Pump();
  EXPECT_EQ(e.edit->TopLine(), 3);
  pf::SystemParametersInfoW(pf::SPI_SETWHEELSCROLLLINES, 1, nullptr, 0);
  pf::InjectMouseWheel(-pf::WHEEL_DELTA, inside);
  Pump();
  EXPECT_EQ(e.edit->TopLine(), 4);
  pf::SystemParametersInfoW(pf::SPI_SETWHEELSCROLLLINES, pf::WHEEL_PAGESCROLL, nullptr, 0);
  pf::InjectMouseWheel(-pf::WHEEL_DELTA, inside);
  Pump();
  EXPECT_EQ(e.edit->TopLine(), 4 + e.edit->LinesInRect()) << "the page setting scrolls a page";
  pf::InjectMouseWheel(10 * pf::WHEEL_DELTA, inside);
  Pump();
  EXPECT_EQ(e.edit->TopLine(), 0) << "clamped to the text";
}

TEST(KsEditControl, ContextMenuGreysWhatCannotBeDone) {
  ClipboardGuard clipboard;
  EditOnForm e;
  const auto greyed = [&](UINT id) {
    const TKsEditContextMenu::TMenus menus = TKsEditContextMenu::Build(*e.edit);
    EXPECT_NE(menus.items, nullptr);
    const bool result = (GetMenuState(menus.items, id, MF_BYCOMMAND) & MF_GRAYED) != 0;
    DestroyMenu(menus.resource);
    return result;
  };
  pf::SetClipboardUnicodeText(u"x");
  e.edit->SetText(u"text");
  EXPECT_TRUE(greyed(ksmenu::Undo));
  EXPECT_TRUE(greyed(ksmenu::Cut));
  EXPECT_TRUE(greyed(ksmenu::Copy));
  EXPECT_TRUE(greyed(ksmenu::Delete));
  EXPECT_FALSE(greyed(ksmenu::Paste));
  EXPECT_FALSE(greyed(ksmenu::SelectAll));
  e.edit->SetSelStart(1);
  e.edit->SetSelLength(2);
  EXPECT_FALSE(greyed(ksmenu::Copy));
  EXPECT_FALSE(greyed(ksmenu::Delete));
  e.Send(pf::WM_COMMAND, ksmenu::Delete);
  EXPECT_EQ(e.edit->Text(), u"tt") << "the menu's Delete removes the selection";
  EXPECT_FALSE(greyed(ksmenu::Undo));
  e.Send(pf::WM_COMMAND, ksmenu::SelectAll);
  EXPECT_TRUE(greyed(ksmenu::SelectAll)) << "everything is selected already";
  e.edit->SetReadOnly(true);
  EXPECT_TRUE(greyed(ksmenu::Paste));
  EXPECT_TRUE(greyed(ksmenu::Undo));
  EXPECT_TRUE(greyed(ksmenu::Delete));
  e.Send(ksem::EM_UNDO);
  EXPECT_EQ(e.edit->Text(), u"tt") << "a read-only edit is not changed by undo";
  EXPECT_TRUE(e.edit->CanUndo());

  const TKsEditContextMenu::TMenus menus = TKsEditContextMenu::Build(*e.edit);
  EXPECT_EQ(GetMenuItemCount(menus.items), 8) << "undo, line, four edits, line, select all";
  EXPECT_EQ(GetMenuState(menus.items, 0x8000, MF_BYCOMMAND), static_cast<UINT>(-1));
  DestroyMenu(menus.resource);
}

TEST(KsEditLinkedControl, SitsOnTheNamedSideLinedUpWithTheNamedEdge) {
  const TRect edit{100, 100, 200, 120};  // 100 x 20
  const int w = 30, h = 10, s = 4;
  struct Row {
    TKsLinkCtlPos position;
    int x, y;
  };
  const Row rows[] = {{lcpLeftTop, 66, 100},     {lcpLeftBottom, 66, 110},   {lcpLeftCenter, 66, 105},
                      {lcpTopLeft, 100, 86},     {lcpTopRight, 170, 86},     {lcpTopCenter, 135, 86},
                      {lcpRightTop, 204, 100},   {lcpRightBottom, 204, 110}, {lcpRightCenter, 204, 105},
                      {lcpBottomLeft, 100, 124}, {lcpBottomRight, 170, 124}, {lcpBottomCenter, 135, 124}};
  for (const Row& row : rows) {
    const TRect r = TKsLinkedControlPlacement::Place(edit, w, h, row.position, s);
    EXPECT_EQ(r.left, row.x) << int(row.position);
    EXPECT_EQ(r.top, row.y) << int(row.position);
    EXPECT_EQ(r.right - r.left, w);
    EXPECT_EQ(r.bottom - r.top, h);
  }
}

TEST(KsEditLinkedControl, FollowsTheEditAndTwoEditsLinkedToEachOtherSettle) {
  ShownForm form;
  auto* a = AddEdit(form.form, 100, 50, 80, 24);
  auto* label = new TLabel(form.form);
  label->SetParent(form.form);
  label->SetBounds(0, 0, 40, 12);
  a->SetLinkedControl(label);
  a->SetLinkedControlSpacing(2);
  EXPECT_EQ(label->Left(), 100);
  EXPECT_EQ(label->Top(), 50 - 2 - 12);
  a->SetBounds(120, 90, 80, 24);
  EXPECT_EQ(label->Top(), 90 - 2 - 12);
  a->SetLinkedControl(a);
  EXPECT_EQ(a->LinkedControl(), label) << "an edit is never linked to itself";
  delete label;
  EXPECT_EQ(a->LinkedControl(), nullptr) << "a freed control is dropped";

  auto* b = AddEdit(form.form, 10, 10, 60, 24);
  a->SetLinkedControl(b);
  b->SetLinkedControl(a);
  // Without a guard each would move the other for ever (a stack overflow).
  a->SetBounds(150, 100, 80, 24);
  EXPECT_EQ(a->LinkedControl(), b);
  EXPECT_EQ(b->LinkedControl(), a);
}

}  // namespace
}  // namespace kestrel

namespace kestrel {
namespace {

TEST(KsEditInput, CompositionResultsAreTypedAndReadOnlyLetsThemPass) {
  EditOnForm e;
  pf::InjectComposition(u"ni");
  pf::InjectCompositionResult(u"\u4F60\u597D");
  Pump();
  EXPECT_EQ(e.edit->Text(), u"\u4F60\u597D");
  e.edit->Undo();
  EXPECT_EQ(e.edit->Text(), u"") << "a composition result is one undo step";
  e.edit->SetReadOnly(true);
  pf::InjectCompositionResult(u"x");
  Pump();
  EXPECT_EQ(e.edit->Text(), u"");
}

TEST(KsEditInput, CtrlEnterInAMultiLineEditRaisesTheKeyPressAndTypesNothing) {
  EditOnForm e(true);
  e.edit->SetText(u"ab");
  e.edit->SetSelStart(1);
  std::vector<char16_t> pressed;
  e.edit->OnKeyPress = [&](TObject*, char16_t& key) { pressed.push_back(key); };
  pf::InjectKey(pf::VK_CONTROL, true);
  pf::InjectKeyStroke(pf::VK_RETURN);
  pf::InjectKey(pf::VK_CONTROL, false);
  Pump();
  EXPECT_EQ(e.edit->Text(), u"ab");
  ASSERT_FALSE(pressed.empty());
  EXPECT_EQ(pressed.front(), u'\r');
  pf::InjectKeyStroke(pf::VK_RETURN);
  Pump();
  EXPECT_EQ(e.edit->Text(), u"a\r\nb") << "Enter alone breaks the line";
}

TEST(KsEditInput, SelectingOffersThePrimarySelectionAndAMiddleClickPastesIt) {
  EditOnForm e;
  e.edit->SetText(u"primary text");
  e.edit->SetSelStart(0);
  e.edit->SetSelLength(7);
  EXPECT_EQ(pf::GetPrimarySelectionText(), u"primary");
  e.edit->SetSelStart(12);
  pf::InjectClick(e.ScreenPointOf(8), pf::MouseButton::Middle);
  Pump();
  EXPECT_EQ(e.edit->Text(), u"primary primarytext");
  e.edit->SetPasswordChar(u"*");
  e.edit->SelectAll();
  EXPECT_EQ(pf::GetPrimarySelectionText(), u"primary") << "a password is never offered";
}

TEST(KsEditWindow, TheCaretLivesWhileTheEditHasTheFocus) {
  ShownForm form;
  auto* a = AddEdit(form.form, 10, 10, 100, 24);
  auto* b = AddEdit(form.form, 10, 50, 100, 24);
  a->SetFocus();
  Pump();
  EXPECT_EQ(pf::GetCaretState().hwnd, a->Handle());
  b->SetFocus();
  Pump();
  EXPECT_EQ(pf::GetCaretState().hwnd, b->Handle());
  b->SetText(u"abc");
  b->SetSelStart(3);
  EXPECT_EQ(pf::GetCaretState().rect.left, b->PosFromCaret(3, 0).x);
  EXPECT_THROW(b->PosFromCaret(0, 5), EKsEditorError);
}

TEST(KsEditWindow, BorderSidesAndFlatDecideTheFrame) {
  ShownForm form;
  auto* edit = new TKsEdit(form.form);
  edit->SetParent(form.form);
  edit->SetAutoSize(false);
  edit->SetBounds(10, 10, 100, 40);
  edit->SetThemeMode(ttmNone);
  Pump();
  const int edge = pf::GetSystemMetrics(pf::SM_CXEDGE);
  EXPECT_EQ(edit->ClientWidth(), 100 - 2 * edge);
  edit->SetBorderSides({ebsLeft, ebsTop, ebsBottom});
  EXPECT_EQ(edit->ClientWidth(), 100 - edge) << "a side not listed gives its room back";
  edit->SetFlat(true);
  EXPECT_EQ(edit->ClientWidth(), 100 - edge) << "flat: only the listed sides hold the flat border";
  EXPECT_EQ(edit->ClientHeight(), 40 - 2 * edge);
  EXPECT_EQ(pf::GetWindowLongW(edit->Handle(), pf::GWL_EXSTYLE) & pf::WS_EX_CLIENTEDGE, 0);
  EXPECT_EQ(edit->EditRect().right, edit->ClientWidth());
}

TEST(KsEditWindow, ScrollRequestsMoveTheTopLineAndPagingReachesTheStart) {
  EditOnForm e(true);
  e.edit->SetScrollBars(ssVertical);
  String text;
  for (int i = 0; i < 30; ++i) text += u"line\r\n";
  e.edit->SetText(text);
  const int page = e.edit->LinesInRect();
  e.Send(pf::WM_VSCROLL, pf::SB_LINEDOWN);
  e.Send(pf::WM_VSCROLL, pf::SB_PAGEDOWN);
  EXPECT_EQ(e.edit->TopLine(), 1 + page);
  EXPECT_EQ(e.Send(ksem::EM_GETFIRSTVISIBLELINE), 1 + page);
  pf::SCROLLINFO info{};
  info.fMask = pf::SIF_ALL;
  pf::GetScrollInfo(e.edit->Handle(), pf::SB_VERT, &info);
  EXPECT_EQ(info.nPos, 1 + page);
  EXPECT_EQ(static_cast<int>(info.nPage), page);
  e.Send(pf::WM_VSCROLL, pf::SB_PAGEUP);
  e.Send(pf::WM_VSCROLL, pf::SB_PAGEUP);
  EXPECT_EQ(e.edit->TopLine(), 0) << "a page up near the start still reaches line 0";
  e.Send(pf::WM_VSCROLL, pf::SB_BOTTOM);
  EXPECT_EQ(e.edit->TopLine(), e.edit->LinesCount() - page);
  e.Send(ksem::EM_LINESCROLL, 0, -2);
  EXPECT_EQ(e.edit->TopLine(), e.edit->LinesCount() - page - 2);
  e.Send(ksem::EM_LINESCROLL, 0, std::numeric_limits<pf::LONG>::max());
  EXPECT_EQ(e.edit->TopLine(), e.edit->LinesCount() - page) << "any count stops at the end";
  EXPECT_TRUE(e.edit->UseCustomScrollBars());
  EXPECT_TRUE(e.edit->ScrollBarController()->Active()) << "a multi-line edit with bars wears the owner-drawn ones";
}

TEST(KsEditWindow, ThumbPositionsReachBeyondSixteenBits) {
  EditOnForm e(true);
  e.edit->SetScrollBars(ssVertical);
  String text;
  for (int i = 0; i < 70000; ++i) text += u"x\r\n";
  e.edit->SetText(text);
  e.edit->SetTopLine(68000);
  e.Send(pf::WM_VSCROLL, pf::MAKEWPARAM(pf::SB_THUMBPOSITION, static_cast<pf::WORD>(69000)));
  EXPECT_EQ(e.edit->TopLine(), 69000) << "the message's 16 bits are completed from the bar's position";
  e.edit->SetTopLine(1000);
  pf::SetScrollTrackPos(e.edit->Handle(), pf::SB_VERT, 67000);
  e.Send(pf::WM_VSCROLL, pf::MAKEWPARAM(pf::SB_THUMBTRACK, static_cast<pf::WORD>(67000)));
  pf::EndScrollTrack(e.edit->Handle(), pf::SB_VERT);
  EXPECT_EQ(e.edit->TopLine(), 67000) << "a thumb dragged far is followed to where it is";
}

TEST(KsEditWindow, OwnerDrawnBarsFollowTheViewAndScrollIt) {
  EditOnForm e(true);
  e.edit->SetScrollBars(ssBoth);
  String text;
  for (int i = 0; i < 30; ++i) text += u"line\r\n";
  e.edit->SetText(text);
  Pump();
  TKsCtrlScrollBarStyles& vert = *e.edit->VertScrollBarStyles();
  EXPECT_TRUE(vert.Enabled()) << "a bar with a range is enabled, so it draws a thumb";
  EXPECT_GT(vert.ThumbLength(), 0);
  EXPECT_FALSE(e.edit->HorzScrollBarStyles()->Enabled()) << "short lines: nothing to scroll sideways";
  e.Send(pf::WM_VSCROLL, pf::SB_PAGEDOWN);
  EXPECT_EQ(vert.Position(), e.edit->TopLine());
  const int thumbAfterPage = vert.ThumbStart();
  e.Send(pf::WM_VSCROLL, pf::SB_TOP);
  EXPECT_LT(vert.ThumbStart(), thumbAfterPage) << "the thumb moves with the top line";
  // The bar's down arrow, pressed and released, scrolls one line.
  pf::RECT wr{};
  pf::GetWindowRect(e.edit->Handle(), &wr);
  const TRect bar = vert.ScrollBarRect();
  pf::InjectClick(pf::POINT{wr.left + bar.left + vert.Depth() / 2, wr.top + bar.bottom - 3});
  Pump();
  EXPECT_EQ(e.edit->TopLine(), 1);
  EXPECT_EQ(vert.Position(), 1);
  // Dragging the thumb to the bar's end shows the last page.
  const int x = wr.left + bar.left + vert.Depth() / 2;
  const pf::POINT thumb{x, wr.top + bar.top + vert.ThumbStart() + vert.ThumbLength() / 2};
  pf::InjectMouseButton(pf::MouseButton::Left, true, thumb);
  pf::InjectMouseMove(pf::POINT{x, thumb.y + 20});
  pf::InjectMouseMove(pf::POINT{x, wr.top + bar.bottom});
  pf::InjectMouseButton(pf::MouseButton::Left, false, pf::POINT{x, wr.top + bar.bottom});
  Pump();
  EXPECT_EQ(e.edit->TopLine(), e.edit->LinesCount() - e.edit->LinesInRect());
  EXPECT_EQ(vert.Position(), e.edit->TopLine());
}

TEST(KsEditWindow, HidingAnOwnerDrawnBarRecomputesScrollBars) {
  EditOnForm e(true);
  e.edit->SetScrollBars(ssBoth);
  String text;
  for (int i = 0; i < 30; ++i) text += u"a line long enough to need the horizontal bar in this edit\r\n";
  e.edit->SetText(text);
  int reports = 0;
  TNotifyEvent editsHandler = e.edit->VertScrollBarStyles()->OnVisibleChange;
  e.edit->VertScrollBarStyles()->OnVisibleChange = [&](TObject* bar) {
    ++reports;
    editsHandler(bar);
  };
  e.edit->VertScrollBarStyles()->SetVisible(false);
  EXPECT_EQ(reports, 1);
  EXPECT_EQ(e.edit->ScrollBars(), ssHorizontal) << "only the horizontal bar is left";
  EXPECT_FALSE(e.edit->VertScrollBarStyles()->Visible());
}

// Switches the interception of the scroll setters off for one test.
struct NoScrollInterception {
  pf::ScrollSetters saved = pf::InstalledScrollSetters();
  NoScrollInterception() {
    pf::RemoveScrollInterception();
    pf::AllowScrollInterception(false);
  }
  ~NoScrollInterception() {
    pf::AllowScrollInterception(true);
    if (saved.setScrollInfo) pf::InstallScrollInterception(saved);
  }
};

TEST(KsEditWindow, WithoutTheInterceptionThePlatformsBarsServe) {
  NoScrollInterception off;
  EditOnForm e(true);
  e.edit->SetScrollBars(ssVertical);
  EXPECT_FALSE(e.edit->UseCustomScrollBars()) << "the controller cannot attach";
  EXPECT_EQ(e.edit->ScrollBarController()->Control(), nullptr);
  String text;
  for (int i = 0; i < 30; ++i) text += u"line\r\n";
  e.edit->SetText(text);
  e.Send(pf::WM_VSCROLL, pf::SB_PAGEDOWN);
  pf::SCROLLINFO info{};
  info.fMask = pf::SIF_POS;
  pf::GetScrollInfo(e.edit->Handle(), pf::SB_VERT, &info);
  EXPECT_EQ(info.nPos, e.edit->LinesInRect());
}

}  // namespace
}  // namespace kestrel

namespace kestrel {
namespace {

TEST(KsEditWindow, AFontChangeSetsTheLineHeightAndASingleLineHeightFollows) {
  EditOnForm e;
  e.edit->Font()->SetHeight(-20);
  Pump();
  EXPECT_EQ(e.edit->LineHeight(), 22);
  EXPECT_EQ(e.edit->Height(), e.edit->TextPainter().TextSize(u"Ag").cy + 4 * pf::GetSystemMetrics(pf::SM_CYEDGE));
  e.edit->SetAutoSize(false);
  e.edit->SetBounds(10, 10, 200, 60);
  e.edit->Font()->SetHeight(-10);
  EXPECT_EQ(e.edit->Height(), 60) << "without AutoSize the height stays";
}

TEST(KsEditControl, ChangeEventsFollowNotifyUserChangeOnly) {
  EditOnForm e;
  int changes = 0, selectionChanges = 0;
  e.edit->OnChange = [&](TObject*) { ++changes; };
  e.edit->OnSelectionChange = [&](TObject*) { ++selectionChanges; };
  e.edit->SetText(u"from code");
  EXPECT_EQ(changes, 0) << "changes made by program code are quiet";
  EXPECT_GT(selectionChanges, 0);
  pf::InjectText(u"!");
  Pump();
  EXPECT_EQ(changes, 1);
  e.edit->SetNotifyUserChangeOnly(false);
  e.edit->SetText(u"again");
  EXPECT_EQ(changes, 2);
  String typed;
  e.edit->OnKeyPressEx = [&](TObject*, String& key) {
    typed += key;
    key = u"<" + key + u">";
  };
  e.edit->SetSelStart(5);
  pf::InjectText(u"k");
  Pump();
  EXPECT_EQ(typed, u"k");
  EXPECT_EQ(e.edit->Text(), u"again<k>") << "the key-press handler may rewrite what is typed";
}

}  // namespace
}  // namespace kestrel

namespace kestrel {
namespace {

void CtrlKey(int key) {
  pf::InjectKey(pf::VK_CONTROL, true);
  pf::InjectKeyStroke(key);
  pf::InjectKey(pf::VK_CONTROL, false);
  Pump();
}

TEST(KsEditInput, ClipboardKeysCopyCutAndPasteWithinMaxLength) {
  ClipboardGuard clipboard;
  EditOnForm e;
  e.edit->SetText(u"hello world");
  e.edit->SetSelStart(0);
  e.edit->SetSelLength(5);
  CtrlKey('C');
  EXPECT_EQ(pf::GetClipboardUnicodeText(), u"hello");
  CtrlKey('X');
  EXPECT_EQ(e.edit->Text(), u" world");
  EXPECT_TRUE(e.edit->Modified());
  e.edit->SetMaxLength(9);
  e.edit->SetSelStart(6);
  CtrlKey('V');
  EXPECT_EQ(e.edit->Text(), u" worldhel") << "a paste is cut to the room MaxLength leaves";
  CtrlKey('Z');
  EXPECT_EQ(e.edit->Text(), u" world");
}

TEST(KsEditControl, SettersCarryTheirSideEffects) {
  EditOnForm e;
  e.edit->SetMultiline(true);
  EXPECT_FALSE(e.edit->AlignBottom()) << "a multi-line edit lets TopMargin work";
  e.edit->SetTopMargin(3);
  EXPECT_EQ(e.edit->TopMargin(), 3);
  e.edit->SetScrollBars(ssBoth);
  e.edit->SetMultiline(false);
  EXPECT_EQ(e.edit->ScrollBars(), ssNone);
  e.edit->SetScrollBars(ssVertical);
  EXPECT_EQ(e.edit->ScrollBars(), ssNone) << "kept ssNone while single-line";
  e.edit->SetAlignBottom(true);
  EXPECT_EQ(e.edit->TopMargin(), 0);
  e.edit->SetAlignment(taCenter);
  EXPECT_TRUE(e.edit->WordWrap()) << "a non-left alignment switches word wrap on";

  e.edit->SetText(u"Mixed Case");
  e.edit->SetCharCase(eecUpperCase);
  EXPECT_EQ(e.edit->Text(), u"MIXED CASE");
  pf::InjectText(u"x");
  Pump();
  EXPECT_EQ(e.edit->Text(), u"XMIXED CASE") << "later input is converted as it arrives";
  e.edit->SetMaxLength(4);
  EXPECT_EQ(e.edit->Text(), u"XMIX");
  e.edit->SetMaxLength(-1);
  EXPECT_EQ(e.edit->MaxLength(), 4) << "a negative limit is ignored";
  pf::InjectText(u"y");
  Pump();
  EXPECT_EQ(e.edit->Text(), u"XMIX") << "a full edit takes no more";
  e.edit->SetTabSpaces(0);
  EXPECT_EQ(e.edit->TabSpaces(), 4) << "a tab stands for at least one space";
  e.edit->SetReadOnly(true);
  e.edit->SelectAll();
  e.Send(pf::WM_CLEAR);
  EXPECT_EQ(e.edit->Text(), u"XMIX") << "clearing deletes, which read-only forbids";
}

TEST(KsEditInput, ImeModeReachesTheInputMethodAtOnceAndDisablingItKeepsTyping) {
  EditOnForm e;
  pf::HIMC context = pf::ImmGetContext(e.edit->Handle());
  const pf::HKL layout = pf::GetKeyboardLayout(0);
  platform::ScopeGuard restore([&] {
    pf::ImmSetOpenStatus(context, pf::TRUE);
    pf::ImmSetConversionStatus(context, pf::IME_CMODE_ALPHANUMERIC, pf::IME_SMODE_NONE);
    pf::ActivateKeyboardLayout(layout, 0);
  });
  auto* backend = pf::HeadlessBackend::Current();
  ASSERT_TRUE(backend->TextInputEnabled());
  pf::SetFocus(e.form.form->Handle());
  e.edit->SetImeMode(imDisable);
  e.edit->SetFocus();
  Pump();
  EXPECT_FALSE(backend->TextInputEnabled()) << "the mode is put into effect when the edit gets the focus";
  EXPECT_EQ(pf::ImmGetContext(e.edit->Handle()), nullptr);
  pf::InjectComposition(u"ni");
  pf::InjectCompositionResult(u"\u4F60");
  pf::InjectKeyStroke('A');
  Pump();
  EXPECT_EQ(e.edit->Text(), u"a") << "keys type through the layout; nothing composes";
  // Leaving imDisable gives the context back; closing and converting modes act on it.
  e.edit->SetImeMode(imClose);
  EXPECT_EQ(pf::ImmGetContext(e.edit->Handle()), context);
  EXPECT_FALSE(pf::ImmGetOpenStatus(context));
  EXPECT_FALSE(backend->TextInputEnabled());
  e.edit->SetImeMode(imKata);
  EXPECT_TRUE(backend->TextInputEnabled());
  pf::DWORD conversion = 0;
  pf::ImmGetConversionStatus(context, &conversion, nullptr);
  EXPECT_EQ(conversion, pf::IME_CMODE_NATIVE | pf::IME_CMODE_KATAKANA | pf::IME_CMODE_FULLSHAPE);
  // A known layout name is activated, an unknown one ignored.
  e.edit->SetImeName(u"00000407");
  e.edit->SetImeName(u"Nonesuch");
  EXPECT_EQ(pf::GetKeyboardLayout(0), pf::LoadKeyboardLayoutW(u"00000407", 0));
}

TEST(KsEditInput, ACompositionStartsAtTheCaret) {
  EditOnForm e;
  e.edit->SetText(u"abc");
  e.edit->SetSelStart(2);
  e.Send(pf::WM_IME_STARTCOMPOSITION);
  pf::HIMC context = pf::ImmGetContext(e.edit->Handle());
  pf::COMPOSITIONFORM form;
  pf::ImmGetCompositionWindow(context, &form);
  pf::ImmReleaseContext(e.edit->Handle(), context);
  const TPoint caret = e.edit->PosFromCaret(2, 0);
  EXPECT_EQ(form.ptCurrentPos.x, caret.x);
  EXPECT_EQ(form.ptCurrentPos.y, caret.y);
  EXPECT_EQ(form.rcArea.left, e.edit->EditRect().left + e.edit->LeftMargin());
}

}  // namespace
}  // namespace kestrel

namespace kestrel {
namespace {

TEST(KsClickCounter, ASeriesNeedsTimeAndPlaceAndEndsAtTheThirdPress) {
  TKsClickCounter clicks(4, 4, 500);
  EXPECT_EQ(clicks.Press(10, 10, 1000), 1);
  EXPECT_EQ(clicks.Press(14, 6, 1500), 2) << "at the edges of time and rectangle";
  EXPECT_EQ(clicks.Press(10, 10, 1600), 3);
  EXPECT_EQ(clicks.Press(10, 10, 1700), 1) << "the press after a third starts anew";
  EXPECT_EQ(clicks.Press(15, 10, 1800), 1) << "too far from the series' first press";
  EXPECT_EQ(clicks.Press(15, 10, 2301), 1) << "too late";
  // The millisecond clock wraps around after 49.7 days; a series may straddle that.
  EXPECT_EQ(clicks.Press(0, 0, 0xFFFFFF00u), 1);
  EXPECT_EQ(clicks.Press(0, 0, 0x00000010u), 2);
}

}  // namespace
}  // namespace kestrel

namespace kestrel {
namespace {

TEST(KsEditPaint, TheSelectionShowsInItsColoursOnlyWhileFocusedUnlessKeptVisible) {
  ShownForm form;
  auto* edit = AddEdit(form.form, 10, 10, 200, 24);
  auto* other = AddEdit(form.form, 10, 60, 100, 24);
  edit->SetText(u"MMMMMMMM");
  edit->SetFocus();
  Pump();
  edit->SetSelStart(2);
  edit->SetSelLength(4);
  Pump();
  // Below the glyphs' tops, left of their middle: the run's background.
  const TPoint inside = edit->PosFromCaret(3, 0);
  const pf::COLORREF highlight = ColorToRGB(clHighlight);
  EXPECT_EQ(testing::ClientPixel(*edit, inside.x + 1, inside.y + 1), highlight);
  EXPECT_NE(testing::ClientPixel(*edit, edit->PosFromCaret(1, 0).x + 1, inside.y + 1), highlight);
  other->SetFocus();
  Pump();
  EXPECT_EQ(testing::ClientPixel(*edit, inside.x + 1, inside.y + 1), ColorToRGB(clWindow)) << "hidden when unfocused";
  edit->SetHideSelection(false);
  Pump();
  EXPECT_EQ(testing::ClientPixel(*edit, inside.x + 1, inside.y + 1), ColorToRGB(clBtnFace));
  edit->SetHideSelectColor(0x000000FF);
  edit->SetHighlightAlphaLevel(128);
  Pump();
  const pf::COLORREF blended = testing::ClientPixel(*edit, inside.x + 1, inside.y + 1);
  EXPECT_NEAR(pf::GetRValue(blended), (255 * 128 + 255 * 128) >> 8, 2) << "red over white, half and half";
  EXPECT_NEAR(pf::GetGValue(blended), (255 * 128) >> 8, 2);
}

}  // namespace
}  // namespace kestrel

namespace kestrel {
namespace {

// A validator that finds fault with texts shorter than three characters.
class TMinLengthValidator : public TComponent, public IKsValidator {
 public:
  explicit TMinLengthValidator(TComponent* owner) : TComponent(owner) {}
  void Validate(IKsValidatedControl& control) override {
    ++checks;
    if (control.ValidationValue().size() < 3) control.RespondToError(2);
  }
  int checks = 0;
};

TEST(KsEditControl, UserChangesAreValidatedAndAFreedValidatorIsDropped) {
  EditOnForm e;
  auto* validator = new TMinLengthValidator(nullptr);
  e.edit->SetValidator(validator);
  std::vector<int> errors;
  e.edit->OnValidationError = [&](TObject*, int level) { errors.push_back(level); };
  pf::InjectText(u"ab");
  Pump();
  EXPECT_EQ(validator->checks, 2);
  EXPECT_EQ(errors, (std::vector<int>{2, 2}));
  EXPECT_EQ(e.edit->ErrorLevel(), 2);
  delete validator;
  EXPECT_EQ(e.edit->Validator(), nullptr);
  pf::InjectText(u"c");
  Pump();
  EXPECT_EQ(errors.size(), 2u);
}

TEST(KsEditControl, ModifiedOnlyWhenACutOrPasteChangedSomething) {
  ClipboardGuard clipboard;
  EditOnForm e;
  e.edit->SetText(u"abc");
  pf::SetClipboardUnicodeText(u"");
  e.Send(pf::WM_PASTE);
  EXPECT_FALSE(e.edit->Modified()) << "an empty clipboard pastes nothing";
  e.edit->SetPasswordChar(u"*");
  e.edit->SelectAll();
  e.Send(pf::WM_CUT);
  EXPECT_FALSE(e.edit->Modified()) << "a password is not cut";
  EXPECT_EQ(e.edit->Text(), u"abc");
  e.edit->SetPasswordChar(u"");
  e.Send(pf::WM_CUT);
  EXPECT_TRUE(e.edit->Modified());
  EXPECT_EQ(pf::GetClipboardUnicodeText(), u"abc");
}

}  // namespace
}  // namespace kestrel

namespace kestrel {
namespace {

TEST(KsEditInput, TabMovesTheFocusUnlessTheEditWantsTabs) {
  ShownForm form;
  auto* first = AddEdit(form.form, 10, 10, 100, 24);
  auto* second = AddEdit(form.form, 10, 50, 100, 24);
  first->SetFocus();
  Pump();
  pf::InjectKeyStroke(pf::VK_TAB);
  Pump();
  EXPECT_TRUE(second->Focused());
  EXPECT_EQ(first->Text(), u"");
  second->SetWantTabs(true);
  pf::InjectKeyStroke(pf::VK_TAB);
  Pump();
  EXPECT_TRUE(second->Focused());
  EXPECT_EQ(second->Text(), u"\t");
}

}  // namespace
}  // namespace kestrel

namespace kestrel {
namespace {

TEST(KsEditControl, EnterAndLeaveFireOncePerVisit) {
  EditOnForm e;
  int enters = 0, leaves = 0;
  e.edit->OnMouseEnter = [&](TObject*) { ++enters; };
  e.edit->OnMouseLeave = [&](TObject*) { ++leaves; };
  pf::InjectMouseMove(e.form->ClientToScreen(Point(300, 250)));
  Pump();
  for (int x = 20; x < 60; x += 10) pf::InjectMouseMove(e.edit->ClientToScreen(Point(x, 5)));
  Pump();
  EXPECT_EQ(enters, 1);
  EXPECT_TRUE(e.edit->MouseOver());
  pf::InjectMouseMove(e.form->ClientToScreen(Point(300, 250)));
  Pump();
  EXPECT_EQ(leaves, 1);
  EXPECT_FALSE(e.edit->MouseOver());
}

}  // namespace
}  // namespace kestrel

namespace kestrel {
namespace {

TEST(KsEditInput, KeysRunNoCommandsWhileTheMouseSelects) {
  EditOnForm e;
  e.edit->SetText(u"abcdefgh");
  pf::InjectMouseButton(pf::MouseButton::Left, true, e.ScreenPointOf(1));
  pf::InjectMouseMove(e.ScreenPointOf(4));
  pf::InjectKeyStroke(pf::VK_DELETE);
  pf::InjectMouseButton(pf::MouseButton::Left, false, e.ScreenPointOf(4));
  Pump();
  EXPECT_EQ(e.edit->Text(), u"abcdefgh");
  EXPECT_EQ(e.edit->SelText(), u"bcd");
}

TEST(KsEditInput, TheStressShortCutMarksTheCharacterBeforeTheCaret) {
  EditOnForm e;
  e.edit->SetText(u"moka");
  e.edit->SetSelStart(2);
  e.edit->SetStressShortCut(0x4000 | 'Q');
  CtrlKey('Q');
  EXPECT_EQ(e.edit->Text(), u"mo\u0301ka");
}

}  // namespace
}  // namespace kestrel

namespace kestrel {
namespace {

// Counts the text messages its window receives.
class TTextSpyEdit : public TKsEdit {
 public:
  explicit TTextSpyEdit(TComponent* owner) : TKsEdit(owner) {}
  int setTexts = 0;

 protected:
  void WndProc(TMessage& message) override {
    if (message.Msg == pf::WM_SETTEXT) ++setTexts;
    TKsEdit::WndProc(message);
  }
};

TEST(KsEditControl, ATextWriteWithAWindowGoesThroughTheWindowsMessage) {
  ShownForm form;
  auto* edit = new TTextSpyEdit(form.form);
  edit->SetText(u"before the window");
  EXPECT_EQ(edit->setTexts, 0);
  edit->SetParent(form.form);
  edit->SetCharCase(eecLowerCase);
  edit->SetText(u"ABC");
  EXPECT_EQ(edit->setTexts, 1);
  EXPECT_EQ(edit->Text(), u"abc");
  edit->SetText(u"abc");
  EXPECT_EQ(edit->setTexts, 1) << "an unchanged text writes nothing";
  EXPECT_FALSE(edit->CanUndo());
}

}  // namespace
}  // namespace kestrel

namespace kestrel {
namespace {

TEST(KsEditWindow, WindowStylesFollowTheProperties) {
  EditOnForm e;
  const auto style = [&] { return static_cast<pf::DWORD>(pf::GetWindowLongW(e.edit->Handle(), pf::GWL_STYLE)); };
  const auto exStyle = [&] { return static_cast<pf::DWORD>(pf::GetWindowLongW(e.edit->Handle(), pf::GWL_EXSTYLE)); };
  EXPECT_NE(exStyle() & pf::WS_EX_CLIENTEDGE, 0u) << "a single border with Ctl3D is the sunken client edge";
  EXPECT_EQ(style() & ksem::ES_MULTILINE, 0u);
  e.edit->SetMultiline(true);
  e.edit->SetScrollBars(ssBoth);
  EXPECT_NE(style() & ksem::ES_MULTILINE, 0u);
  EXPECT_EQ(style() & (pf::WS_HSCROLL | pf::WS_VSCROLL), pf::WS_HSCROLL | pf::WS_VSCROLL);
  e.edit->SetRightAlignedView(true);
  e.edit->SetRightAlignedText(true);
  e.edit->SetTransparent(true);
  EXPECT_EQ(exStyle() & (pf::WS_EX_LEFTSCROLLBAR | pf::WS_EX_TRANSPARENT),
            pf::WS_EX_LEFTSCROLLBAR | pf::WS_EX_TRANSPARENT);
  e.edit->SetBorderStyle(bsNone);
  EXPECT_EQ(exStyle() & pf::WS_EX_CLIENTEDGE, 0u);
  EXPECT_EQ(style() & pf::WS_BORDER, 0u);
  e.edit->SetText(u"abc");
  EXPECT_EQ(e.edit->Text(), u"abc") << "the text survives the window's re-creations";
}

TEST(KsEditInput, UnicodeCharactersRespectMaxLength) {
  EditOnForm e;
  e.edit->SetMaxLength(2);
  e.Send(pf::WM_UNICHAR, u'a');
  e.Send(pf::WM_UNICHAR, u'b');
  e.Send(pf::WM_UNICHAR, u'c');
  EXPECT_EQ(e.edit->Text(), u"ab");
  // A run of characters typed at once takes only the room left.
  e.edit->SetMaxLength(4);
  pf::InjectCompositionResult(u"\u4F60\u597D\u4F60");
  Pump();
  EXPECT_EQ(e.edit->Text(), u"ab\u4F60\u597D");
}

TEST(KsEditControl, TheSelectionStaysWholeThroughAResizeAndGoesWithAFocusingClick) {
  ShownForm form;
  auto* other = AddEdit(form.form, 10, 200, 100, 24);
  auto* edit = AddEdit(form.form, 10, 10, 300, 120);
  edit->SetMultiline(true);
  edit->SetWordWrap(true);
  edit->SetText(u"one two three four five six seven eight nine ten eleven twelve");
  pf::SendMessageW(edit->Handle(), ksem::EM_SETSEL, 20, 5);
  edit->SetBounds(10, 10, 120, 120);
  Pump();
  const TKsCaretPos anchor = edit->Core().Anchor();
  EXPECT_EQ(edit->CharFromCaret(anchor.X, anchor.Y), 20) << "the re-wrap keeps the anchor where it was";
  EXPECT_EQ(edit->SelStart(), 5);
  EXPECT_EQ(edit->SelLength(), 15);

  other->SetFocus();
  Pump();
  testing::ClickAt(*edit, 60, 5);
  EXPECT_TRUE(edit->Focused());
  EXPECT_EQ(edit->SelLength(), 0) << "the click that focuses the edit puts the caret elsewhere";
  EXPECT_EQ(edit->SelStart(), edit->Core().CaretChar());
}

}  // namespace
}  // namespace kestrel
