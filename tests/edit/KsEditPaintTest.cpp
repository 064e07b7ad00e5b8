#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <vector>

#include "edit/KsEdit.h"
#include "framework/Colors.h"
#include "framework/Label.h"
#include "tests/framework/visual/VisualTestSupport.h"
#include "tests/support/GoldenImage.h"
#include "tests/support/ThemeScope.h"

namespace kestrel {
namespace {

namespace pf = platform;
using testing::ClientPixel;
using testing::Pump;
using testing::ShownForm;

TKsEdit* AddEdit(TForm* form, int x, int y, int width, int height, bool multiline = false) {
  auto* edit = new TKsEdit(form);
  edit->SetParent(form);
  edit->SetMultiline(multiline);
  edit->SetBounds(x, y, width, height);
  return edit;
}

// A copy of the form's client area as it shows.
cairo_surface_t* FormPicture(TForm& form) {
  pf::POINT origin{};
  cairo_surface_t* store = pf::GetWindowBackingStore(form.Handle(), &origin);
  pf::RECT window{};
  pf::GetWindowRect(form.Handle(), &window);
  pf::POINT client{0, 0};
  pf::ClientToScreen(form.Handle(), &client);
  const int x0 = origin.x + client.x - window.left, y0 = origin.y + client.y - window.top;
  const TRect r = form.ClientRect();
  cairo_surface_t* copy = cairo_image_surface_create(CAIRO_FORMAT_RGB24, r.right, r.bottom);
  cairo_surface_flush(store);
  const int from = cairo_image_surface_get_stride(store), to = cairo_image_surface_get_stride(copy);
  for (int y = 0; y < r.bottom; ++y)
    std::memcpy(cairo_image_surface_get_data(copy) + y * to,
                cairo_image_surface_get_data(store) + (y0 + y) * from + 4 * x0, 4 * static_cast<size_t>(r.right));
  cairo_surface_mark_dirty(copy);
  return copy;
}

// One edit per painted state, top to bottom; the focused one with its selection last.
cairo_surface_t* RenderStates() {
  ShownForm form(220, 400);
  std::vector<std::function<void(TKsEdit&)>> states = {
      [](TKsEdit& e) { e.SetText(u"Plain text"); },
      [](TKsEdit& e) {
        e.SetText(u"Hidden selection"), e.SetHideSelection(false), e.SetSelStart(7), e.SetSelLength(9);
      },
      [](TKsEdit& e) {
        e.SetText(u"Read-only"), e.SetReadOnly(true);
        e.DisplayReadOnlyOptions()->SetBkColor(static_cast<TColor>(0xE0F0FF));
        e.DisplayReadOnlyOptions()->SetTextColor(static_cast<TColor>(0x804000));
        e.DisplayReadOnlyOptions()->SetEnabled(true);
      },
      [](TKsEdit& e) { e.SetText(u"Disabled"), e.SetEnabled(false); },
      [](TKsEdit& e) { e.SetCueBanner(u"Search"); },
      [](TKsEdit& e) { e.SetText(u"secret\tword"), e.SetPasswordChar(u"*"); },
      [](TKsEdit& e) { e.SetText(u"Right aligned"), e.SetAlignment(taRightJustify); },
      [](TKsEdit& e) {
        e.SetText(u"Translucent selection"), e.SetHideSelection(false), e.SetHighlightAlphaLevel(128);
        e.SetHideSelectColor(static_cast<TColor>(0x0000FF)), e.SetSelStart(0), e.SetSelLength(11);
      },
  };
  int y = 4;
  for (const auto& state : states) {
    state(*AddEdit(form.form, 10, y, 200, 24));
    y += 30;
  }
  TKsEdit* wrapped = AddEdit(form.form, 10, y, 200, 56, true);
  wrapped->SetWordWrap(true);
  wrapped->SetText(u"A multi-line edit wraps its long paragraphs at word boundaries.");
  TKsEdit* focused = AddEdit(form.form, 10, y + 62, 200, 24);
  focused->SetText(u"Focused selection");
  focused->SetFocus();
  focused->SetSelStart(8);
  focused->SetSelLength(9);
  Pump();
  return FormPicture(*form.form);
}

TEST(KsEditPaint, GoldenStatesClassic) {
  const testing::ThemeScope classic(false);
  cairo_surface_t* picture = RenderStates();
  EXPECT_TRUE(testing::MatchesGolden(picture, "edit_states_classic"));
  cairo_surface_destroy(picture);
}

TEST(KsEditPaint, GoldenStatesThemed) {
  const testing::ThemeScope themed(true);
  cairo_surface_t* picture = RenderStates();
  EXPECT_TRUE(testing::MatchesGolden(picture, "edit_states_themed"));
  cairo_surface_destroy(picture);
}

// Records which lines it was asked to paint.
class TLineCountingEdit : public TKsEdit {
 public:
  using TKsEdit::TKsEdit;
  std::vector<int> painted;

 protected:
  void PaintLine(int y) override {
    painted.push_back(y);
    TKsEdit::PaintLine(y);
  }
};

int CountPixels(TKsEdit& edit, pf::COLORREF colour) {
  int count = 0;
  const TRect r = edit.ClientRect();
  for (int y = 0; y < r.bottom; ++y)
    for (int x = 0; x < r.right; ++x) count += ClientPixel(edit, x, y) == colour;
  return count;
}

std::vector<pf::COLORREF> ClientPixels(TKsEdit& edit) {
  std::vector<pf::COLORREF> pixels;
  const TRect r = edit.EditRect();
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) pixels.push_back(ClientPixel(edit, x, y));
  return pixels;
}

TEST(KsEditPaint, ScrollingMovesThePictureAndPaintsOnlyTheExposedLines) {
  ShownForm form(300, 300);
  auto* edit = new TLineCountingEdit(form.form);
  edit->SetParent(form.form);
  edit->SetMultiline(true);
  edit->SetBounds(10, 10, 200, 150);
  String text;
  for (int i = 0; i < 40; ++i) text += u"line " + String(1, static_cast<char16_t>(u'A' + i % 26)) + u"gjpq\r\n";
  edit->SetText(text);
  Pump();
  edit->SetTopLine(3);
  edit->painted.clear();
  Pump();
  ASSERT_FALSE(edit->painted.empty());
  EXPECT_LE(edit->painted.size(), 6u) << "the top line and the exposed ones with their neighbours, not the page";
  EXPECT_EQ(edit->painted.back(), 3 + edit->LinesInRect()) << "the newly exposed partial line";
  const std::vector<pf::COLORREF> scrolled = ClientPixels(*edit);
  edit->Invalidate();
  Pump();
  EXPECT_EQ(ClientPixels(*edit), scrolled) << "the scrolled picture equals a full repaint";
  edit->painted.clear();
  edit->SetTopLine(30);
  Pump();
  EXPECT_GE(edit->painted.size(), static_cast<size_t>(edit->LinesInRect())) << "a jump repaints the page";
  edit->SetTopLine(28);
  Pump();
  const std::vector<pf::COLORREF> down = ClientPixels(*edit);
  edit->Invalidate();
  Pump();
  EXPECT_EQ(ClientPixels(*edit), down) << "scrolled down: the descenders above the old top line are painted too";
}

TEST(KsEditPaint, AKeystrokeRepaintsTheCaretsParagraphOnly) {
  ShownForm form(300, 300);
  auto* edit = new TLineCountingEdit(form.form);
  edit->SetParent(form.form);
  edit->SetMultiline(true);
  edit->SetWordWrap(true);
  edit->SetBounds(10, 10, 200, 200);
  // Paragraph 1 wraps over several lines; typing at its start pushes words down the lines.
  edit->SetText(u"first\r\nsome words that wrap over more than one line here\r\nlast\r\nmore\r\nand more\r\nend");
  edit->SetFocus();
  edit->SetCaretXY(TKsCaretPos{0, 1});
  Pump();
  const int lines = edit->LinesCount();
  edit->painted.clear();
  pf::InjectText(u"WWW ");
  Pump();
  ASSERT_EQ(edit->LinesCount(), lines) << "the test needs a re-wrap that keeps the line count";
  ASSERT_FALSE(edit->painted.empty());
  // The paragraph's lines, and the lines whose descenders reach into them, not the page.
  EXPECT_LE(edit->painted.size(), static_cast<size_t>(lines - 3));
  EXPECT_LE(*std::max_element(edit->painted.begin(), edit->painted.end()), lines - 4);
  const std::vector<pf::COLORREF> typed = ClientPixels(*edit);
  edit->Invalidate();
  Pump();
  EXPECT_EQ(ClientPixels(*edit), typed) << "the re-wrapped lines equal a full repaint";
}

// The border ring painted after the text must not widen the screen update to the whole window:
// what reaches the screen is the typed line and thin strips of the ring, in either look.
TEST(KsEditPaint, AKeystrokePresentsItsLineAndTheThinRingOnly) {
  for (const bool themed : {false, true}) {
    const testing::ThemeScope look(themed);
    ShownForm form(400, 300);
    TKsEdit* edit = AddEdit(form.form, 0, 0, 380, 260, true);
    edit->SetText(u"one\r\ntwo\r\nthree");
    edit->SetFocus();
    Pump();
    auto* backend = pf::HeadlessBackend::Current();
    backend->ForgetPresented();
    pf::InjectText(u"x");
    Pump();
    const std::vector<pf::RECT>& presented = backend->NativeWindows().at(form->Handle()).presented;
    ASSERT_FALSE(presented.empty());
    long long area = 0;
    for (const pf::RECT& r : presented) {
      const int width = r.right - r.left, height = r.bottom - r.top;
      area += 1LL * width * height;
      EXPECT_TRUE(std::min(width, height) <= 4 || height <= 3 * edit->LineHeight())
          << "themed " << themed << ": a present of " << width << "x" << height << " is neither ring nor line";
    }
    EXPECT_LT(area, 400LL * 300 / 5) << "themed " << themed;
    const std::vector<pf::COLORREF> typed = ClientPixels(*edit);
    edit->Invalidate();
    Pump();
    EXPECT_EQ(ClientPixels(*edit), typed) << "themed " << themed << ": the typed line equals a full repaint";
  }
}

TEST(KsEditPaint, ASelectionOverThreeLinesCoversItsColumnsOnly) {
  ShownForm form;
  TKsEdit* edit = AddEdit(form.form, 10, 10, 200, 100, true);
  edit->SetText(u"MMMMMM\r\nMMMMMM\r\nMMMMMM");
  edit->SetFocus();
  edit->SetSelStart(2);
  edit->SetSelLength(4 + 2 + 6 + 2 + 3);  // (2, 0) to (3, 2)
  Pump();
  const pf::COLORREF highlight = ColorToRGB(clHighlight);
  const auto selectedAt = [&](int x, int y) {
    const TPoint p = edit->PosFromCaret(x, y);
    return ClientPixel(*edit, p.x + 1, p.y + 1) == highlight;
  };
  EXPECT_FALSE(selectedAt(1, 0));
  EXPECT_TRUE(selectedAt(2, 0));
  EXPECT_TRUE(selectedAt(5, 0));
  EXPECT_TRUE(selectedAt(0, 1));
  EXPECT_TRUE(selectedAt(5, 1));
  EXPECT_TRUE(selectedAt(2, 2));
  EXPECT_FALSE(selectedAt(3, 2));
}

TEST(KsEditPaint, ATransparentEditShowsItsParentAndLeavesNoStaleText) {
  ShownForm form;
  form.form->SetColor(static_cast<TColor>(0x40C0FF));
  TKsEdit* edit = AddEdit(form.form, 10, 10, 200, 24);
  edit->SetTransparent(true);
  edit->SetText(u"MMMMMMMM");
  Pump();
  const pf::COLORREF parent = ColorToRGB(form.form->Color());
  const int withText = CountPixels(*edit, parent);
  EXPECT_GT(withText, 0) << "the parent's colour shows behind the text";
  edit->SetText(u"");
  Pump();
  EXPECT_GT(CountPixels(*edit, parent), withText) << "the old text is gone";
}

TEST(KsEditPaint, ATransparentEditShowsWhatLiesBehindItsClientAreaInPlace) {
  ShownForm form;
  TKsEdit* edit = AddEdit(form.form, 10, 10, 200, 24);
  edit->SetTransparent(true);
  auto* behind = new TLabel(form.form);
  behind->SetParent(form.form);
  behind->SetTransparent(false);
  behind->SetColor(static_cast<TColor>(0x0000FF));
  behind->SetBounds(60, 10, 20, 24);
  Pump();
  const TPoint client = form.form->ScreenToClient(edit->ClientOrigin());
  const pf::COLORREF red = ColorToRGB(static_cast<TColor>(0x0000FF));
  const int y = edit->ClientHeight() / 2;
  EXPECT_EQ(ClientPixel(*edit, 60 - client.x, y), red);
  EXPECT_EQ(ClientPixel(*edit, 79 - client.x, y), red);
  EXPECT_NE(ClientPixel(*edit, 80 - client.x, y), red);
  EXPECT_NE(ClientPixel(*edit, 59 - client.x, y), red);
}

TEST(KsEditPaint, TheCueBannerShowsOnlyWhileUnfocusedAndEmpty) {
  ShownForm form;
  TKsEdit* edit = AddEdit(form.form, 10, 10, 200, 24);
  TKsEdit* other = AddEdit(form.form, 10, 50, 200, 24);
  edit->SetDisabledFontColor(static_cast<TColor>(0x0000FF));
  edit->SetCueBanner(u"Search here");
  other->SetFocus();
  Pump();
  const pf::COLORREF red = ColorToRGB(static_cast<TColor>(0x0000FF));
  EXPECT_GT(CountPixels(*edit, red), 0);
  edit->SetFocus();
  Pump();
  EXPECT_EQ(CountPixels(*edit, red), 0) << "focused";
  edit->SetText(u"x");
  other->SetFocus();
  Pump();
  EXPECT_EQ(CountPixels(*edit, red), 0) << "not empty";
}

}  // namespace
}  // namespace kestrel
