// The dialog as shown, headless: its pixels against the design, the overlay while a transfer
// would run (what it covers, where clicks go, its look with themes on), and goldens of the
// whole window in both languages, idle and busy.

#include <gtest/gtest.h>

#include <algorithm>

#include "app/UnitKestrel.h"
#include "foundation/VnApplication.h"
#include "tests/app/ScopedEnv.h"
#include "tests/controls/ControlTestSupport.h"
#include "tests/support/GoldenImage.h"

namespace kestrel::testing {
namespace {

using platform::COLORREF;
using platform::RGB;

constexpr COLORREF kBand = RGB(0x00, 0x7B, 0xCE);
constexpr COLORREF kWhite = RGB(0xFF, 0xFF, 0xFF);
// Anti-aliased text and bullets differ slightly between runs of the rasteriser only.
constexpr GoldenTolerance kTolerance{16, 0.002};

struct Box {
  int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1;  // inclusive
  void Add(int x, int y) {
    left = std::min(left, x), top = std::min(top, y), right = std::max(right, x), bottom = std::max(bottom, y);
  }
  bool operator==(const Box&) const = default;
};

void PrintTo(const Box& b, std::ostream* os) { *os << b.left << "," << b.top << " .. " << b.right << "," << b.bottom; }

class DialogWindow : public ::testing::Test {
 protected:
  // The dialog in `locale`'s language, shown and painted.
  TForm1* Show(const char* locale) {
    ScopedEnv language("LANGUAGE", locale);
    form_ = Form1 = TCustomForm::Create<TForm1>(nullptr);
    form_->Show();
    Pump();
    return form_;
  }
  void ShowOverlay() {
    form_->KsPanel2->Show();
    Pump();
  }
  void TearDown() override {
    Form1 = nullptr;
    if (!form_) return;
    form_->BeforeDestruction();
    delete form_;
    Pump();
  }
  COLORREF Pixel(int x, int y) { return ClientPixel(*form_, x, y); }
  // Where the client area differs from white inside rows [top, bottom).
  Box NonWhite(int top, int bottom) {
    Box box;
    for (int y = top; y < bottom; ++y)
      for (int x = 0; x < form_->ClientWidth(); ++x)
        if (Pixel(x, y) != kWhite) box.Add(x, y);
    return box;
  }
  ::testing::AssertionResult MatchesGolden(const char* name) {
    cairo_surface_t* shot = CaptureClient(*form_);
    auto result = testing::MatchesGolden(shot, name, kTolerance);
    cairo_surface_destroy(shot);
    return result;
  }

  TForm1* form_ = nullptr;
};

TEST_F(DialogWindow, BandHeaderAndButtonSitWhereDesigned) {
  TForm1* form = Show("en_US");
  EXPECT_NE(VnApplication(), nullptr);  // test programs of the dialog install the services object
  EXPECT_EQ(form->ClientWidth(), 445);
  EXPECT_EQ(form->ClientHeight(), 592);
  // The band: every row 0..64 starts and ends in its colour, row 65 is the form's white.
  for (int y = 0; y < 65; ++y) {
    EXPECT_EQ(Pixel(0, y), kBand) << y;
    EXPECT_EQ(Pixel(444, y), kBand) << y;
  }
  EXPECT_EQ(Pixel(0, 65), kWhite);
  // The header text is drawn on the band's own colour: around its glyphs the label's area
  // shows nothing else, and the text itself is there.
  int band = 0, text = 0;
  for (int y = 3; y < 62; ++y)
    for (int x = 16; x < 427; ++x) {
      const COLORREF c = Pixel(x, y);
      if (c == kBand) ++band;
      else if (c == RGB(0xFC, 0xF2, 0xAD)) ++text;
    }
  EXPECT_GT(text, 100);
  EXPECT_GT(band, 411 * 59 / 2);
  EXPECT_EQ(NonWhite(0, 65), (Box{0, 0, 444, 64}));
  // Below the step text only the button is drawn, exactly in its rectangle.
  EXPECT_EQ(NonWhite(452, 592), (Box{126, 461, 318, 498}));
  // The step text lies inside its label.
  const Box step = NonWhite(66, 452);
  EXPECT_GE(step.left, 16);
  EXPECT_GE(step.top, 375);
  EXPECT_LE(step.right, 426);
  EXPECT_LE(step.bottom, 448);
  EXPECT_TRUE(MatchesGolden("app_dialog_english"));
  // Tabbing goes band, button, overlay.
  std::vector<TWinControl*> order;
  form->GetTabOrderList(order);
  const std::vector<TWinControl*> expected{form->KsPanel1, form->Button1, form->KsPanel2};
  std::erase_if(order,
                [&](TWinControl* c) { return std::find(expected.begin(), expected.end(), c) == expected.end(); });
  EXPECT_EQ(order, expected);
}

TEST_F(DialogWindow, GermanDialog) {
  Show("de_DE");
  EXPECT_TRUE(MatchesGolden("app_dialog_german"));
}

// Shown, the overlay hides the step text and the button, rows 82 to 498, and nothing else; its
// bullets move with the clock.
TEST_F(DialogWindow, OverlayCoversTextAndButtonWhileTheDotsMove) {
  TForm1* form = Show("en_US");
  ShowOverlay();
  const Box dots = NonWhite(66, 592);
  EXPECT_GE(dots.top, 82);
  EXPECT_LE(dots.bottom, 498);
  EXPECT_EQ(NonWhite(0, 66), (Box{0, 0, 444, 64}));  // the band stays
  TRect overlay = form->KsPanel2->BoundsRect();
  EXPECT_EQ(overlay, Rect(0, 82, 445, 499));
  EXPECT_EQ(form->SmoothWin8MarqueeUserSynchronization->BoundsRect(), Rect(0, 0, 445, 417));
  EXPECT_TRUE(form->SmoothWin8MarqueeUserSynchronization->TimerRunning());
  platform::HeadlessBackend::Current()->Advance(400);
  EXPECT_TRUE(MatchesGolden("app_dialog_busy"));
  const Box earlier = NonWhite(82, 499);
  platform::HeadlessBackend::Current()->Advance(300);
  const Box later = NonWhite(82, 499);
  EXPECT_NE(later, Box{});
  EXPECT_GT(later.left, earlier.left);  // the row sweeps from left to right
  // Hidden again, the dialog is as before and the animation costs no timer.
  form->KsPanel2->Hide();
  Pump();
  EXPECT_EQ(NonWhite(452, 592), (Box{126, 461, 318, 498}));
  EXPECT_FALSE(form->SmoothWin8MarqueeUserSynchronization->TimerRunning());
}

TEST_F(DialogWindow, ClicksOnTheCoveredButtonReachTheMarquee) {
  TForm1* form = Show("en_US");
  int buttonClicks = 0;
  std::vector<TPoint> marqueePresses;
  form->Button1->OnClick = [&](TObject*) { ++buttonClicks; };
  form->SmoothWin8MarqueeUserSynchronization->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int x, int y) {
    marqueePresses.push_back(Point(x, y));
  };
  ShowOverlay();
  ClickAt(*form, 126 + 96, 461 + 19);
  ClickAt(*form, 318, 498);  // the button's last pixel is covered too
  EXPECT_EQ(buttonClicks, 0);
  EXPECT_EQ(marqueePresses, (std::vector<TPoint>{Point(222, 480 - 82), Point(318, 498 - 82)}));
  form->SmoothWin8MarqueeUserSynchronization->OnMouseDown = nullptr;
  form->KsPanel2->Hide();
  Pump();
  ClickAt(*form, 126 + 96, 461 + 19);
  EXPECT_EQ(buttonClicks, 1);
}

// Themed, the overlay keeps its own white: no themed background shows through around the dots.
TEST_F(DialogWindow, ThemedOverlayStaysPlainWhite) {
  ThemeScope themed(true);
  TForm1* form = Show("en_US");
  ShowOverlay();
  EXPECT_TRUE(form->KsPanel2->IsThemed());
  EXPECT_FALSE(form->KsPanel1->IsThemed());
  // Only white and the black bullets' grey edges; most of it white.
  int white = 0, other = 0;
  for (int y = 82; y < 499; ++y)
    for (int x = 0; x < 445; ++x) {
      const COLORREF c = Pixel(x, y);
      if (c == kWhite) ++white;
      else if (platform::GetRValue(c) != platform::GetGValue(c) || platform::GetGValue(c) != platform::GetBValue(c))
        ++other;
    }
  EXPECT_EQ(other, 0);
  EXPECT_GT(white, 445 * 417 * 9 / 10);
  // The panel under the marquee paints white as well, themed or not.
  form->SmoothWin8MarqueeUserSynchronization->Hide();
  Pump();
  EXPECT_EQ(NonWhite(82, 499), Box{});
}

}  // namespace
}  // namespace kestrel::testing
