#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "framework/Panel.h"
#include "framework/Reader.h"
#include "framework/Writer.h"
#include "platform/gdi/Rectangles.h"
#include "smooth/SmoothWin8Marquee.h"
#include "tests/framework/visual/VisualTestSupport.h"
#include "tests/support/AllocationWatch.h"

namespace kestrel {
namespace {

namespace pf = platform;

void Advance(pf::DWORD ms) { pf::HeadlessBackend::Current()->Advance(ms); }

// The dialog's arrangement: a form, a white panel and a marquee filling it.
struct MarqueeOnPanel {
  testing::ShownForm form{445, 417};
  TPanel* panel = new TPanel(form.form);
  TSmoothWin8Marquee* marquee = new TSmoothWin8Marquee(form.form);
  MarqueeOnPanel() {
    form->SetBorderStyle(bsNone);
    form->SetBounds(50, 50, 445, 417);
    panel->SetParent(form.form);
    panel->SetBounds(0, 0, 445, 417);
    panel->SetBevelOuter(bvNone);
    panel->SetColor(clWhite);
    marquee->SetParent(panel);
    marquee->SetAlign(alClient);
    marquee->Fill()->SetColor(clWhite);
    marquee->Fill()->SetGradientType(gtSolid);
    marquee->Fill()->SetBorderColor(clWhite);
    marquee->Bullets()->SetColor(clBlack);
    testing::Pump();
  }
  int Presents() const { return pf::HeadlessBackend::Current()->NativeWindows().at(form->Handle()).presents; }
};

// The form's image as the backing store holds it.
std::vector<std::uint32_t> FormPixels(TForm* form) {
  cairo_surface_t* image = pf::CaptureWindowImage(form->Handle());
  if (!image) return {};
  cairo_surface_flush(image);
  const int width = cairo_image_surface_get_width(image), height = cairo_image_surface_get_height(image);
  std::vector<std::uint32_t> pixels;
  for (int y = 0; y < height; ++y) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(image) +
                                                             y * cairo_image_surface_get_stride(image));
    pixels.insert(pixels.end(), row, row + width);
  }
  cairo_surface_destroy(image);
  return pixels;
}

TEST(Marquee, DialogGeometry) {
  MarqueeOnPanel m;
  ASSERT_EQ(m.marquee->Width(), 445);
  EXPECT_EQ(m.marquee->Bullets()->RowWidth(), 77);  // 6 bullets and 6 gaps less one
  const auto rects = m.marquee->BulletRects();
  ASSERT_EQ(rects.size(), 6u);
  for (int n = 0; n < 6; ++n) {
    EXPECT_NEAR(rects[n].X, 156.55f + 13 * n, 1e-3);
    EXPECT_EQ(rects[n].Y, 203);
  }
  m.marquee->SetPosition(261);
  EXPECT_EQ(m.marquee->Position(), 261);
  m.marquee->SetPosition(261.5f);
  EXPECT_EQ(m.marquee->Position(), -261);
}

TEST(Marquee, BulletPositionsOverVirtualTime) {
  struct Case {
    float factor, step, stretch;
    int ticks;
    float position, firstX, lastX;
  };
  const Case cases[] = {
      {3, 10, 1.7f, 3, 10, 166.55f, 231.55f},         // 10/3 a tick, all inside the zone
      {1, 10, 1.7f, 10, 100, 256.55f, 367.527f},      // the right-hand bullets spread out
      {1, -10, 1.7f, 10, -100, -78.28f, 113.685f},    // and the left-hand ones to the left
      {1, 10, 1.0f, 0, 0, 183.5f, 248.5f},            // a narrower zone
      {1, 10, 1.7f, 27, -261, -1022.93f, -154.41f},   // past 261 the row re-enters at -261
      {1, -10, 1.7f, 40, -400, -2400.75f, -479.57f},  // leftwards it never wraps
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.factor << " " << c.step << " " << c.stretch << " " << c.ticks);
    MarqueeOnPanel m;
    m.marquee->SetAnimationFactor(c.factor);
    m.marquee->SetAnimationStep(c.step);
    m.marquee->SetAnimationStretchFactor(c.stretch);
    Advance(10 * c.ticks);
    EXPECT_NEAR(m.marquee->Position(), c.position, 1e-3);
    const auto rects = m.marquee->BulletRects();
    EXPECT_NEAR(rects.front().X, c.firstX, 0.01);
    EXPECT_NEAR(rects.back().X, c.lastX, 0.01);
  }
}

TEST(Marquee, StepsTooSmallOrDivisorsOfZeroDoNotMoveOrBreakTheRow) {
  MarqueeOnPanel m;
  m.marquee->SetAnimationStep(0.005f);
  const int presents = m.Presents();
  Advance(100);
  EXPECT_EQ(m.marquee->Position(), 0);
  EXPECT_EQ(m.Presents(), presents);  // no repaint either

  m.marquee->SetAnimationStep(10);
  m.marquee->SetAnimationFactor(0);
  EXPECT_EQ(m.marquee->AnimationFactor(), 3);
  Advance(30);
  EXPECT_NEAR(m.marquee->Position(), 10, 1e-3);

  // Not a number freezes nothing: a step is ignored, a position starts the row again.
  m.marquee->SetAnimationStep(std::nanf(""));
  EXPECT_EQ(m.marquee->AnimationStep(), 10);
  m.marquee->SetPosition(std::nanf(""));
  const float restart = m.marquee->Position();
  EXPECT_LT(restart, 0);
  Advance(30);
  EXPECT_GT(m.marquee->Position(), restart);

  m.marquee->Bullets()->SetCount(0);
  EXPECT_TRUE(m.marquee->BulletRects().empty());
  m.marquee->Bullets()->SetCount(6);
  m.panel->SetWidth(0);
  testing::Pump();
  EXPECT_EQ(m.marquee->Width(), 0);
  EXPECT_TRUE(m.marquee->BulletRects().empty());
}

TEST(Marquee, HiddenCostsNothingAndResumesWhereTheRunningAnimationWouldBe) {
  MarqueeOnPanel m, reference;
  EXPECT_TRUE(m.marquee->TimerRunning());
  Advance(30);
  const float before = m.marquee->Position();
  EXPECT_NEAR(before, 10, 1e-3);

  for (int way = 0; way < 3; ++way) {
    SCOPED_TRACE(way);
    auto hide = [&](bool hidden) {
      if (way == 0) m.panel->SetVisible(!hidden);
      else if (way == 1) m.marquee->SetVisible(!hidden);
      else m.form->SetVisible(!hidden);
      testing::Pump();
    };
    hide(true);
    EXPECT_FALSE(m.marquee->TimerRunning());
    const int presents = m.Presents();
    const float frozen = m.marquee->Position();
    Advance(1000);
    EXPECT_EQ(m.marquee->Position(), frozen);
    EXPECT_EQ(m.Presents(), presents);
    hide(false);
    EXPECT_TRUE(m.marquee->TimerRunning());
    Advance(30);
    // The marquee that never hid has wrapped round more than once by now.
    EXPECT_NEAR(m.marquee->Position(), reference.marquee->Position(), 0.5);
  }
  m.marquee->SetAnimate(false);
  EXPECT_FALSE(m.marquee->TimerRunning());
}

TEST(Marquee, StylesAndTonesColourFillAndBullets) {
  TSmoothWin8Marquee marquee(nullptr);
  marquee.SetComponentStyle(tsOffice2007Luna);
  EXPECT_EQ(marquee.GetComponentStyle(), tsOffice2007Luna);
  EXPECT_EQ(marquee.Fill()->Color(), 0xFAF1E9);
  EXPECT_EQ(marquee.Fill()->ColorMirrorTo(), 0xFFF2E7);
  EXPECT_EQ(marquee.Fill()->GradientMirrorType(), gtVertical);
  EXPECT_EQ(marquee.Bullets()->Color(), 0xAAD9FF);
  marquee.SetComponentStyle(tsWindowsXP);
  EXPECT_EQ(marquee.Fill()->Color(), clBtnFace);
  EXPECT_EQ(marquee.Bullets()->Color(), clInactiveCaption);
  EXPECT_EQ(marquee.Fill()->ColorMirror(), clNone);
  marquee.SetComponentStyle(tsCustom);
  EXPECT_EQ(marquee.GetComponentStyle(), tsCustom);
  EXPECT_EQ(marquee.Fill()->Color(), clBtnFace);

  TColorTones tones;
  tones.Background = {0x111111, 0x222222, 0};
  tones.Selected.BrushColor = 0x333333;
  marquee.SetColorTones(tones);
  EXPECT_EQ(marquee.Fill()->ColorMirrorTo(), 0x111111);
  EXPECT_EQ(marquee.Fill()->BorderColor(), 0x222222);
  EXPECT_EQ(marquee.Bullets()->BorderColor(), 0x222222);
  EXPECT_EQ(marquee.Bullets()->Color(), 0x333333);
}

TEST(Marquee, StoredStyleIsRestoredWithoutApplyingColours) {
  TSmoothWin8Marquee stored(nullptr);
  stored.SetName(u"Busy");
  stored.Bullets()->SetColor(clBlack);
  stored.SetAnimationStretchFactor(1.7f);
  const String text = ComponentToString(&stored);
  EXPECT_NE(text.find(u"SmoothStyle = 0"), String::npos) << Utf16ToUtf8(text);
  EXPECT_NE(text.find(u"Bullets.Color = 0\n"), String::npos) << Utf16ToUtf8(text);

  TSmoothWin8Marquee read(nullptr);
  read.SetComponentStyle(tsWindows7);
  StringToComponent(text, &read);
  EXPECT_EQ(read.GetComponentStyle(), tsOffice2003Blue);
  EXPECT_EQ(read.Bullets()->Color(), clBlack);  // not the style's bullet colour
  EXPECT_EQ(read.AnimationStretchFactor(), 1.7f);
}

TEST(Marquee, CustomShapesAreLeftToTheHandlerAndTransparentShowsTheParent) {
  MarqueeOnPanel m;
  m.panel->SetColor(clRed);
  std::vector<int> painted;
  m.marquee->Bullets()->SetShape(bsCustom);
  m.marquee->OnCustomBulletShape = [&](TObject* sender, pf::TGPGraphics* g, int index, pf::TGPRectF& r) {
    EXPECT_EQ(sender, m.marquee);
    EXPECT_NE(g, nullptr);
    EXPECT_EQ(r.Width, 10);
    painted.push_back(index);
  };
  m.marquee->Invalidate();
  testing::Pump();
  EXPECT_EQ(painted, (std::vector<int>{0, 1, 2, 3, 4, 5}));
  EXPECT_EQ(testing::ClientPixel(*m.marquee, 10, 10), pf::RGB(255, 255, 255));
  EXPECT_EQ(testing::ClientPixel(*m.marquee, 160, 208), pf::RGB(255, 255, 255));  // no bullet drawn

  m.marquee->SetTransparent(true);
  m.marquee->Bullets()->SetShape(bsRectangle);
  testing::Pump();
  EXPECT_EQ(testing::ClientPixel(*m.marquee, 10, 10), pf::RGB(255, 0, 0));
  EXPECT_EQ(testing::ClientPixel(*m.marquee, 160, 208), pf::RGB(0, 0, 0));
}

// Ticks put back where the bullets were from a kept picture of the parent and the fill; what
// they leave must be what a whole repaint paints, also after the look changed meanwhile.
TEST(Marquee, TicksLeaveWhatAWholeRepaintPaints) {
  MarqueeOnPanel m;
  m.panel->SetColor(clRed);
  m.marquee->Fill()->SetBorderColor(clBlue);
  auto tickThenCompare = [&](const char* stage) {
    SCOPED_TRACE(stage);
    for (int i = 0; i < 40; ++i) {
      Advance(10);
      testing::Pump();
    }
    const std::vector<std::uint32_t> ticked = FormPixels(m.form.form);
    // Two failed captures would compare equal.
    ASSERT_EQ(ticked.size(), static_cast<std::size_t>(m.form.form->Width()) * m.form.form->Height());
    m.marquee->Invalidate();
    testing::Pump();
    EXPECT_TRUE(ticked == FormPixels(m.form.form));
  };
  tickThenCompare("opaque fill");
  m.marquee->Fill()->SetColor(clYellow);
  tickThenCompare("fill changed while moving");
  EXPECT_EQ(testing::ClientPixel(*m.marquee, 10, 10), pf::RGB(255, 255, 0));
  m.marquee->SetTransparent(true);
  tickThenCompare("transparent");
  EXPECT_EQ(testing::ClientPixel(*m.marquee, 10, 10), pf::RGB(255, 0, 0));
}

// A transparent marquee shows the parent as it is now: a new colour (which the parent announces)
// at once, and what the parent paints later without a word where the bullets pass.
TEST(Marquee, ATransparentMarqueeShowsTheParentsPresentImage) {
  MarqueeOnPanel m;
  m.panel->SetColor(clRed);
  m.marquee->SetTransparent(true);
  testing::Pump();
  m.panel->SetColor(clLime);
  testing::Pump();
  EXPECT_EQ(testing::ClientPixel(*m.marquee, 10, 10), pf::RGB(0, 255, 0));

  TRect swept{};
  for (const pf::TGPRectF& r : m.marquee->BulletRects()) {
    const TRect box{static_cast<int>(r.X), static_cast<int>(r.Y), static_cast<int>(r.X + r.Width) + 1,
                    static_cast<int>(r.Y + r.Height) + 1};
    pf::UnionRect(&swept, &swept, &box);
  }
  m.panel->SetCaption(u"MMMMMMMMMMMMMMMM");
  m.panel->Invalidate();  // under the marquee only its ticks repaint now
  testing::Pump();
  for (int i = 0; i < 40; ++i) {
    Advance(10);
    testing::Pump();
  }
  ASSERT_GT(m.marquee->BulletRects().front().X, swept.right);  // the row has left the place
  const auto sweptPixels = [&] {
    const std::vector<std::uint32_t> all = FormPixels(m.form.form);
    std::vector<std::uint32_t> out;
    for (int y = swept.top; y < swept.bottom; ++y)
      for (int x = swept.left; x < swept.right; ++x)
        out.push_back(all.at(static_cast<std::size_t>(y * m.form.form->Width() + x)));
    return out;
  };
  const std::vector<std::uint32_t> ticked = sweptPixels();
  m.marquee->Invalidate();
  testing::Pump();
  const std::vector<std::uint32_t> whole = sweptPixels();
  EXPECT_NE(std::count(whole.begin(), whole.end(), whole.front()), static_cast<long>(whole.size()));  // text
  EXPECT_TRUE(ticked == whole);
}

// Each tick walks the bullets to find where they were and are; with a huge Count that must not
// mean a list of them on every tick.
TEST(Marquee, ATickAllocatesNothingTheSizeOfAHugeCount) {
  if (!testing::AllocationWatch::Available()) GTEST_SKIP() << "no allocation hooks in this build";
  MarqueeOnPanel m;
  constexpr int kCount = 1000000;
  m.marquee->Bullets()->SetCount(kCount);
  testing::Pump();
  const float before = m.marquee->Position();
  std::size_t largest = 0;
  {
    const testing::AllocationWatch watch;
    Advance(10);
    largest = watch.Largest();
  }
  EXPECT_NE(m.marquee->Position(), before);  // the tick ran
  EXPECT_LT(largest, kCount * sizeof(pf::TGPRectF));
}

}  // namespace
}  // namespace kestrel
