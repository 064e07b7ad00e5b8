// The redraw switch around a control's scroll handling, with a "control" whose WM_SETREDRAW
// passes through the switch's filter as the hook sends it.

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "controls/KsSBRedrawSwitch.h"

namespace kestrel {
namespace {

class KsSBRedrawSwitch : public ::testing::Test {
 protected:
  // What reached the control after the filter.
  std::vector<bool> delivered_;
  TKsSBRedrawSwitch switch_{[this](bool on) { Send(on); }};
  void Send(bool on) {
    if (!switch_.FilterSetRedraw(on ? 1 : 0)) delivered_.push_back(on);
  }
};

TEST_F(KsSBRedrawSwitch, ControlsOwnRedrawOnIsHeldUntilTheScrollIsHandled) {
  switch_.SuspendForScroll();
  EXPECT_EQ(switch_.State(), TSaveWMSetRedraw::wmsrFalseNeddRestore);
  Send(true);  // the control's handler switches redraw back on too early
  EXPECT_EQ(delivered_, std::vector<bool>{false});
  EXPECT_TRUE(switch_.RestoreAfterScroll());
  EXPECT_EQ(delivered_, (std::vector<bool>{false, true}));
  EXPECT_EQ(switch_.State(), TSaveWMSetRedraw::wmsrTrue);
  EXPECT_FALSE(switch_.RestoreAfterScroll());
}

TEST_F(KsSBRedrawSwitch, RedrawSwitchedOffByOthersIsLeftOff) {
  Send(false);
  EXPECT_EQ(switch_.State(), TSaveWMSetRedraw::wmsrFalse);
  switch_.SuspendForScroll();
  EXPECT_FALSE(switch_.RestoreAfterScroll());
  EXPECT_EQ(delivered_, (std::vector<bool>{false, false}));
}

TEST_F(KsSBRedrawSwitch, FailingScrollHandlerStillGetsRedrawBack) {
  auto failingScroll = [this] {
    switch_.SuspendForScroll();
    auto restore = switch_.RestoreGuard();
    throw std::runtime_error("handler failed");
  };
  EXPECT_THROW(failingScroll(), std::runtime_error);
  EXPECT_EQ(switch_.State(), TSaveWMSetRedraw::wmsrTrue);
  EXPECT_EQ(delivered_, (std::vector<bool>{false, true}));
}

}  // namespace
}  // namespace kestrel
