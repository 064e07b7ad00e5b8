#include <gtest/gtest.h>

#include <vector>

#include "controls/KsCtrlScrollBarStyles.h"
#include "controls/KsSBStandaloneLink.h"

namespace kestrel {
namespace {

// Stands in for the controller: each step is recorded and, like a control that scrolls and
// sets its scroll information, moved into the bar's mirror.
class RecordingController : public TKsSBStandaloneLink {
 public:
  struct Step {
    TKsScrollCode code;
    int position;
    bool operator==(const Step&) const = default;
  };
  std::vector<Step> steps;
  int captures = 0;
  int releases = 0;

  void CaptureMouse() override { ++captures; }
  void ReleaseMouse() override { ++releases; }
  void KsSBScrollEvent(int barFlag, TKsScrollCode code, bool& doChange, int& position) override {
    steps.push_back({code, position});
    TKsSBStandaloneLink::KsSBScrollEvent(barFlag, code, doChange, position);
  }
};

class ScrollBarMouse : public ::testing::Test {
 protected:
  void SetUp() override {
    controller.SetBar(&bar);
    bar.SetUseSystemMetrics(false);
    bar.fWidth = 234;  // track of 200 pixels
    bar.fHeight = 17;
    bar.SetMax(99);
    bar.SetPage(10);
    bar.SetPosition(50);
    bar.SetSBController(&controller);
    bar.CreateScrollTimer();
    bar.UpdateThumbPos();
  }
  using Step = RecordingController::Step;
  RecordingController controller;
  TKsCtrlScrollBarStyles bar;
};

TEST_F(ScrollBarMouse, ArrowPressRepeatsWhileHeldAndEndsOnRelease) {
  bar.MouseButton(true, mbLeft, 5, 5);
  EXPECT_TRUE(bar.Pressed());
  EXPECT_EQ(controller.captures, 1);
  ASSERT_TRUE(bar.ScrollTimer()->Enabled());
  EXPECT_EQ(bar.ScrollTimer()->Interval(), 500u);  // the keyboard delay before the first repeat
  bar.OnScrollTimer(nullptr);
  EXPECT_EQ(bar.ScrollTimer()->Interval(), 31u);  // then the keyboard repeat rate
  bar.OnScrollTimer(nullptr);
  EXPECT_EQ(bar.Position(), 47);
  bar.MouseButton(false, mbLeft, 5, 5);
  EXPECT_FALSE(bar.Pressed());
  EXPECT_FALSE(bar.ScrollTimer()->Enabled());
  EXPECT_EQ(bar.PressedIn(), sbpNowhere);
  EXPECT_EQ(controller.steps,
            (std::vector<Step>{{escLineUp, 49}, {escLineUp, 48}, {escLineUp, 47}, {escEndScroll, 47}}));
}

TEST_F(ScrollBarMouse, ArrowAtTheEndOfTheRangeDoesNothingUnlessButtonsStayEnabled) {
  bar.SetPosition(0);
  controller.steps.clear();
  bar.MouseButton(true, mbLeft, 5, 5);
  EXPECT_FALSE(bar.Pressed());
  EXPECT_TRUE(controller.steps.empty());
  bar.SetNoDisableButtons(true);
  bar.MouseButton(true, mbLeft, 5, 5);
  EXPECT_TRUE(bar.Pressed());
  EXPECT_EQ(controller.steps, (std::vector<Step>{{escLineUp, 0}}));
  EXPECT_EQ(bar.Position(), 0);
}

TEST_F(ScrollBarMouse, HeldTrackPagesUntilTheThumbPassesTheCursor) {
  bar.SetPosition(0);
  bar.UpdateThumbPos();
  controller.steps.clear();
  bar.MouseButton(true, mbLeft, 120, 5);  // after the thumb, about the middle
  for (int i = 0; i < 10; ++i) bar.OnScrollTimer(nullptr);
  EXPECT_TRUE(bar.Pressed());
  ASSERT_GE(controller.steps.size(), 2u);
  EXPECT_EQ(controller.steps[0], (Step{escPageDown, 10}));
  // The thumb now covers or has passed x = 120: the last page stopped there.
  EXPECT_LE(bar.ThumbStart(), 120);
  EXPECT_GT(bar.ThumbStart() + bar.ThumbLength(), 120 - 20);
  EXPECT_LT(bar.Position(), 90);
}

TEST_F(ScrollBarMouse, ThumbDragTracksAndReleaseReportsTheDraggedPosition) {
  const int start = bar.ThumbStart();
  bar.MouseButton(true, mbLeft, start + 3, 8);
  EXPECT_EQ(bar.PressedIn(), sbpThumb);
  EXPECT_TRUE(controller.steps.empty());
  bar.MouseMove(start + 3 + 45, 8);
  EXPECT_TRUE(bar.Tracking());
  ASSERT_EQ(controller.steps.size(), 1u);
  EXPECT_EQ(controller.steps[0].code, escTrack);
  const int tracked = controller.steps[0].position;
  EXPECT_GT(tracked, 50);
  bar.MouseButton(false, mbLeft, start + 3 + 45, 8);
  EXPECT_EQ(controller.steps.back(), (Step{escPosition, tracked}));
  EXPECT_EQ(bar.Position(), tracked);
  EXPECT_EQ(bar.TrackPos(), -1);
}

TEST_F(ScrollBarMouse, ThumbDraggedFarOffTheBarGoesBackToItsStart) {
  const int start = bar.ThumbStart();
  bar.MouseButton(true, mbLeft, start + 3, 8);
  bar.MouseMove(start + 40, 8);
  bar.MouseMove(234 + 200, 8);
  EXPECT_EQ(bar.ThumbStart(), start);
  bar.MouseButton(false, mbLeft, 234 + 200, 8);
  EXPECT_EQ(controller.steps.back(), (Step{escPosition, 50}));
}

TEST_F(ScrollBarMouse, ThumbClickWithoutMoveKeepsThePosition) {
  // Range 101, page 1, 30 pixels of thumb travel: position 5 maps to pixel 2, and pixel 2 back to 7.
  bar.fWidth = 34 + 42;
  bar.SetMax(100);
  bar.SetPage(1);
  bar.SetPosition(5);
  bar.UpdateThumbPos();
  controller.steps.clear();
  const int start = bar.ThumbStart();
  bar.MouseButton(true, mbLeft, start + 1, 8);
  bar.MouseButton(false, mbLeft, start + 1, 8);
  EXPECT_EQ(controller.steps, (std::vector<Step>{{escPosition, 5}}));
  EXPECT_EQ(bar.Position(), 5);
}

TEST_F(ScrollBarMouse, ShiftClickInTheTrackJumpsThereAndCanDragOn) {
  bar.SetPosition(0);
  bar.UpdateThumbPos();
  controller.steps.clear();
  bar.MouseButton(true, mbLeft, 117, 5, true);  // the track's middle
  ASSERT_EQ(controller.steps.size(), 1u);
  EXPECT_EQ(controller.steps[0].code, escPosition);
  EXPECT_NEAR(bar.Position(), 45, 1);
  EXPECT_EQ(bar.PressedIn(), sbpThumb);
  EXPECT_FALSE(bar.ScrollTimer()->Enabled());
  bar.MouseMove(137, 5);
  EXPECT_EQ(controller.steps.back().code, escTrack);
  EXPECT_GT(controller.steps.back().position, bar.Position());
  bar.MouseButton(false, mbLeft, 137, 5);
  EXPECT_NEAR(bar.Position(), 55, 1);
}

TEST_F(ScrollBarMouse, SecondaryButtonsStepByKind) {
  bar.SetSecondaryButtons(true);
  controller.steps.clear();
  bar.MouseButton(true, mbLeft, 20, 5);  // the start secondary button steps forward
  bar.MouseButton(false, mbLeft, 20, 5);
  bar.SetSecondBtnKind(sbkPage);
  bar.MouseButton(true, mbLeft, 234 - 20, 5);  // the end one pages forward
  bar.MouseButton(false, mbLeft, 234 - 20, 5);
  EXPECT_EQ(controller.steps,
            (std::vector<Step>{{escLineDown, 51}, {escEndScroll, 51}, {escPageDown, 61}, {escEndScroll, 61}}));

  // A custom button reports its own code once, through OnScroll, with the current position.
  bar.SetSecondBtnKind(sbkCustom);
  std::vector<Step> reported;
  bar.OnScroll = [&reported](TObject*, TKsScrollCode code, int& pos, bool&) { reported.push_back({code, pos}); };
  bar.MouseButton(true, mbLeft, 20, 5);
  bar.OnScrollTimer(nullptr);
  bar.OnScrollTimer(nullptr);
  EXPECT_EQ(reported, (std::vector<Step>{{escSndLineDown, 61}}));
}

TEST_F(ScrollBarMouse, HoverFollowsTheMouseAndLeaveClearsIt) {
  bar.MouseEnter();
  bar.MouseMove(5, 5);
  EXPECT_EQ(bar.MouseOver(), sbpLeftArrow);
  EXPECT_TRUE(bar.MouseInControl());
  bar.MouseLeave(true);
  EXPECT_EQ(bar.MouseOver(), sbpNowhere);
  EXPECT_FALSE(bar.MouseInControl());
}

}  // namespace
}  // namespace kestrel
