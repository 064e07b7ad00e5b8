#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "controls/KsCtrlScrollBarStyles.h"
#include "controls/KsSBColors.h"
#include "controls/KsSBGeometry.h"
#include "platform/gdi/SystemColors.h"
#include "platform/window/ScrollThumbGeometry.h"

namespace kestrel {
namespace {

struct Span {
  int from, to;
  bool operator==(const Span&) const = default;
};

Span SpanOf(const TKsSBGeometry& g, TKsScrollBarPart part, int thumbStart) {
  Span s{};
  g.PartSpan(part, thumbStart, s.from, s.to);
  return s;
}

TKsSBGeometryInput Input(int length, int min, int max, int page, int pos) {
  TKsSBGeometryInput in;
  in.length = length;
  in.depth = 17;
  in.baseButton = 17;
  in.minThumb = 12;
  in.pageZeroThumb = 17;
  in.min = min;
  in.max = max;
  in.page = page;
  in.pos = pos;
  return in;
}

// Bar length, range, page, position -> button size, thumb length and start, and the track parts.
TEST(ScrollBarGeometry, PartsFollowLengthRangePageAndPosition) {
  struct Row {
    int length, min, max, page, pos;
    int button, thumb, thumbStart;
  };
  const std::vector<Row> rows = {
      {234, 0, 99, 10, 0, 17, 20, 17},      // proportional thumb at the start
      {234, 0, 99, 10, 90, 17, 20, 197},    // and at the last page: B*s + 180
      {234, 0, 99, 10, 99, 17, 20, 197},    // positions past the last page keep it at the end
      {234, 0, 999, 10, 500, 17, 12, 112},  // the minimum thumb
      {234, 0, 99, 0, 50, 17, 17, 109},     // page 0: the platform's thumb length
      {234, 0, 99, 100, 0, 17, 200, 17},    // page >= range: the thumb fills the track
      {234, 5, 4, 10, 5, 17, 200, 17},      // empty range
      {30, 0, 99, 10, 0, 15, 0, 15},        // too short: 30 div 2 buttons, no thumb
      {40, 0, 99, 50, 0, 17, 0, 17},        // the track is below the minimum thumb
  };
  for (const Row& r : rows) {
    TKsSBGeometry g(Input(r.length, r.min, r.max, r.page, r.pos));
    SCOPED_TRACE(::testing::Message() << "length " << r.length << " pos " << r.pos << " page " << r.page);
    EXPECT_EQ(g.ButtonSize(), r.button);
    EXPECT_EQ(g.ThumbLength(), r.thumb);
    EXPECT_EQ(g.ThumbPosFor(), r.thumbStart);
    EXPECT_EQ(SpanOf(g, sbpLeftArrow, r.thumbStart), (Span{0, r.button}));
    EXPECT_EQ(SpanOf(g, sbpRightArrow, r.thumbStart), (Span{r.length - r.button, r.length}));
    EXPECT_EQ(SpanOf(g, sbpLeftTop, r.thumbStart), (Span{r.button, r.thumbStart}));
    EXPECT_EQ(SpanOf(g, sbpThumb, r.thumbStart), (Span{r.thumbStart, r.thumbStart + r.thumb}));
    EXPECT_EQ(SpanOf(g, sbpRightBottom, r.thumbStart), (Span{r.thumbStart + r.thumb, r.length - r.button}));
  }
}

TEST(ScrollBarGeometry, SecondaryButtonsAndMissingArrows) {
  TKsSBGeometryInput in = Input(234, 0, 99, 10, 0);
  in.secondary = true;
  TKsSBGeometry both(in);
  EXPECT_EQ(both.Track(), 234 - 4 * 17);
  EXPECT_EQ(SpanOf(both, sbpLeftSndArrow, 0), (Span{17, 34}));
  EXPECT_EQ(SpanOf(both, sbpRightSndArrow, 0), (Span{200, 217}));
  EXPECT_EQ(both.ThumbPosFor(), 34);

  // Without any button the whole bar is track, and nothing divides by the button count.
  in.secondary = false;
  in.showStart = in.showEnd = false;
  TKsSBGeometry none(in);
  EXPECT_EQ(none.Track(), 234);
  EXPECT_EQ(none.ThumbPosFor(), 0);
  in.length = -5;
  TKsSBGeometry negative(in);
  EXPECT_EQ(negative.ThumbLength(), 0);

  in.showStart = true;
  in.length = 10;
  TKsSBGeometry tiny(in);
  EXPECT_EQ(tiny.ButtonSize(), 10);
  EXPECT_EQ(tiny.Track(), 0);
}

TEST(ScrollBarGeometry, ThumbDragMapsBackWithoutDividingByZero) {
  TKsSBGeometryInput in = Input(234, 0, 99, 10, 0);
  TKsSBGeometry g(in);
  EXPECT_EQ(g.PosFromThumb(17), 0);
  EXPECT_EQ(g.PosFromThumb(197), 90);
  EXPECT_EQ(g.PosFromThumb(107), 45);
  // A fixed thumb as long as the track leaves no room to move: the position is the minimum, not
  // min - 1 from a failed division.
  in.thumbMode = etmFixed;
  in.fixedThumb = 200;
  in.min = 3;
  EXPECT_EQ(TKsSBGeometry(in).PosFromThumb(17), 3);
  in.fixedThumb = 500;  // longer than the track: held to it
  EXPECT_EQ(TKsSBGeometry(in).ThumbLength(), 200);
  EXPECT_EQ(platform::RoundedMulDiv(7, 3, 0), 0);
  EXPECT_EQ(platform::RoundedMulDiv(3, 1, 2), 2);
  EXPECT_EQ(platform::RoundedMulDiv(-3, 1, 2), -2);
}

class ScrollBarHandler : public ::testing::Test {
 protected:
  void SetUp() override {
    bar.SetUseSystemMetrics(false);
    bar.SetButtonSize(17);
    bar.fWidth = 234;
    bar.fHeight = 17;
    bar.SetMax(99);
    bar.SetMin(0);
    bar.SetPage(10);
    bar.SetPosition(0);
  }
  TKsCtrlScrollBarStyles bar;
};

TEST_F(ScrollBarHandler, DefaultsAndSetterRules) {
  TKsCtrlScrollBarStyles fresh;
  EXPECT_EQ(fresh.Min(), 0);
  EXPECT_EQ(fresh.Max(), -1);
  EXPECT_EQ(fresh.Page(), 14);
  EXPECT_EQ(fresh.Position(), -1);
  EXPECT_EQ(fresh.fWidth, 121);
  EXPECT_EQ(fresh.fHeight, platform::GetSystemMetrics(platform::SM_CYHSCROLL));
  EXPECT_EQ(fresh.ThumbMode(), etmAuto);
  EXPECT_TRUE(fresh.Flat());

  bar.SetButtonSize(0);
  bar.SetMinThumbSize(-1);
  bar.SetThumbSize(0);
  bar.SetPage(-3);
  EXPECT_EQ(bar.ButtonSize(), 17);
  EXPECT_EQ(bar.MinThumbSize(), 12);
  EXPECT_EQ(bar.ThumbSize(), 0);
  EXPECT_EQ(bar.Page(), 10);
  bar.SetShowBorder(false);
  EXPECT_FALSE(bar.DrawArrowFrames());
  bar.SetPosition(500);
  EXPECT_EQ(bar.Position(), 99);
  bar.SetMax(50);
  EXPECT_EQ(bar.Position(), 50);
  bar.SetMin(60);  // min above max: the range collapses onto min
  EXPECT_EQ(bar.Max(), 60);
  EXPECT_EQ(bar.Position(), 60);
  bar.SetUseXPThemes(false);
  EXPECT_EQ(bar.ThemeMode(), ttmNone);
}

TEST_F(ScrollBarHandler, AssignCopiesTheLook) {
  TKsCtrlScrollBarStyles source;
  source.SetFlat(false);
  source.SetColor(clRed);
  source.SetSecondaryButtons(true);
  source.SetSecondBtnKind(sbkPage);
  source.SetThumbMode(etmFixed);
  source.SetShowTrackHint(true);
  source.SetScrollTracking(true);
  bar.Assign(source);
  EXPECT_FALSE(bar.Flat());
  EXPECT_EQ(bar.Color(), clRed);
  EXPECT_TRUE(bar.SecondaryButtons());
  EXPECT_EQ(bar.SecondBtnKind(), sbkPage);
  EXPECT_EQ(bar.ThumbMode(), etmFixed);
  EXPECT_TRUE(bar.ShowTrackHint());
  EXPECT_TRUE(bar.ScrollTracking());
  EXPECT_EQ(bar.Position(), 0);  // scroll information is not part of the look
}

TEST_F(ScrollBarHandler, HitTestGivesEachPixelToExactlyOnePart) {
  bar.SetPosition(45);
  bar.UpdateThumbPos();
  const int thumb = bar.ThumbStart();
  EXPECT_EQ(bar.GetHitTest(0, 5), sbpLeftArrow);
  EXPECT_EQ(bar.GetHitTest(16, 5), sbpLeftArrow);
  EXPECT_EQ(bar.GetHitTest(17, 5), sbpLeftTop);  // the first pixel after the start arrow
  EXPECT_EQ(bar.GetHitTest(234 - 17, 5), sbpRightArrow);
  EXPECT_EQ(bar.GetHitTest(234 - 18, 5), sbpRightBottom);
  EXPECT_EQ(bar.GetHitTest(thumb, 5), sbpThumb);
  EXPECT_EQ(bar.GetHitTest(thumb - 1, 5), sbpLeftTop);
  EXPECT_EQ(bar.GetHitTest(thumb + bar.ThumbLength(), 5), sbpRightBottom);
  EXPECT_EQ(bar.GetHitTest(50, -1), sbpNowhere);
  EXPECT_EQ(bar.GetHitTest(50, 17), sbpNowhere);
  bar.SetSecondaryButtons(true);
  EXPECT_EQ(bar.GetHitTest(17, 5), sbpLeftSndArrow);
  EXPECT_EQ(bar.GetHitTest(34, 5), sbpLeftTop);
  EXPECT_EQ(bar.GetHitTest(234 - 34, 5), sbpRightSndArrow);
  bar.OnHitTest = [](TObject*, int, int, TKsScrollBarPart& part, bool& defaultTest) {
    part = sbpThumb;
    defaultTest = false;
  };
  EXPECT_EQ(bar.GetHitTest(0, 5), sbpThumb);
}

TEST(ScrollBarColors, LightFacesKeepALightPattern) {
  // A light grey (not the button-face constant) must lighten, not wrap round to near black.
  const TColor grey = static_cast<TColor>(0xF0F0F0);
  const TColor light = LightenedColor(grey);
  EXPECT_GE(light & 0xFF, 0xF0);
  for (TColor tinted : {static_cast<TColor>(0xF0F0F8), static_cast<TColor>(0xF8F4F0)}) {
    const TColor lighter = LightenedColor(tinted);
    for (int shift : {0, 8, 16}) EXPECT_GE((lighter >> shift) & 0xFF, 0xE8) << std::hex << tinted;
  }
  EXPECT_GE(PressedTrackColor(grey) & 0xFF, 0xA0);
  EXPECT_LT(PressedTrackColor(grey) & 0xFF, 0xF0);
  EXPECT_EQ(LightenedColor(clBtnFace), clBtnHighlight);
  EXPECT_EQ(PressedTrackColor(clBtnFace), clBtnShadow);
  EXPECT_EQ(FrameColors(clBtnFace).dark, cl3DDkShadow);
}

}  // namespace
}  // namespace kestrel
