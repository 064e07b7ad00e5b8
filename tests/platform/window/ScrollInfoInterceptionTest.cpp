// The interception of the scroll setters: the query through the registered message, the
// redraw-off call for controlled windows, and the sync request they receive.

#include "platform/window/ScrollInfoInterception.h"

#include <algorithm>

#include "tests/platform/window/WindowTestSupport.h"

namespace kestrel::platform::testing {
namespace {

struct SyncSeen {
  int bar;
  UINT mask;
  int pos;
  int max;
  BOOL redraw;
};

class ScrollInfoInterception : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    ASSERT_TRUE(InstallScrollInfoInterception());
    Log().handler = [this](HWND, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
      if (msg != ScrollBarMessage()) return false;
      result = 0;
      if (wParam == kScrollBarQuery && lParam) {
        // A pointer-sized answer: the whole slot must carry it back.
        *reinterpret_cast<LPARAM*>(lParam) = answer_;
        result = answerMatches_ ? answer_ : answer_ + 1;
      } else if (wParam == kScrollBarSync) {
        auto* record = reinterpret_cast<const ScrollSyncRecord*>(lParam);
        syncs_.push_back({record->bar, record->info->fMask, record->info->nPos, record->info->nMax, record->redraw});
      }
      return true;
    };
  }
  void TearDown() override {
    Log().handler = nullptr;
    RemoveScrollInterception();
    WindowTest::TearDown();
  }
  LPARAM answer_ = static_cast<LPARAM>(0x7FEDCBA987654321LL);
  bool answerMatches_ = true;
  std::vector<SyncSeen> syncs_;
};

TEST_F(ScrollInfoInterception, InstallsOnceAndCanBeSwitchedOff) {
  UINT message = ScrollBarMessage();
  EXPECT_GE(message, 0xC000u);
  EXPECT_EQ(message, RegisterWindowMessageW(u"{7DDF4ADB-4A01-4F4B-83AA-8D91C21E99D2}"));
  EXPECT_TRUE(IsScrollInfoInterceptionInstalled());
  ScrollSetters before = InstalledScrollSetters();
  EXPECT_TRUE(InstallScrollInfoInterception());
  EXPECT_EQ(InstalledScrollSetters().setScrollPos, before.setScrollPos);
  AllowScrollInterception(false);
  EXPECT_FALSE(InstallScrollInfoInterception());
  EXPECT_FALSE(IsScrollInfoInterceptionInstalled());
  AllowScrollInterception(true);
}

TEST_F(ScrollInfoInterception, ControlledWindowLearnsEverySetterWithThePointerSizedAnswer) {
  HWND top = CreateTop(WS_POPUP | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL, {0, 0, 200, 200});
  EXPECT_EQ(QueryScrollController(top), answer_);
  SCROLLINFO si;
  si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  si.nMax = 99;
  si.nPage = 10;
  si.nPos = 5;
  SetScrollInfo(top, SB_VERT, &si, TRUE);
  SetScrollRange(top, SB_HORZ, 0, 70000, FALSE);
  EXPECT_EQ(SetScrollPos(top, SB_HORZ, 66000, TRUE), 0);  // the previous position
  ASSERT_EQ(syncs_.size(), 3u);
  EXPECT_EQ(syncs_[0].bar, SB_VERT);
  EXPECT_EQ(syncs_[0].mask, SIF_RANGE | SIF_PAGE | SIF_POS);
  EXPECT_TRUE(syncs_[0].redraw);
  EXPECT_EQ(syncs_[1].bar, SB_HORZ);
  EXPECT_EQ(syncs_[1].mask, SIF_RANGE);
  EXPECT_EQ(syncs_[1].max, 70000);
  EXPECT_FALSE(syncs_[1].redraw);
  EXPECT_EQ(syncs_[2].mask, SIF_POS);
  EXPECT_EQ(syncs_[2].pos, 66000);
  // The real setters ran: the platform information holds what was set.
  EXPECT_EQ(GetScrollPos(top, SB_HORZ), 66000);
  EXPECT_EQ(GetScrollPos(top, SB_VERT), 5);
}

TEST_F(ScrollInfoInterception, ControlledWindowsAreNotRedrawnByThePlatform) {
  HWND top = CreateTop(WS_POPUP | WS_VISIBLE | WS_VSCROLL, {0, 0, 200, 200});
  SetScrollRange(top, SB_VERT, 0, 100, FALSE);
  Pump();
  Log().Clear();
  SetScrollPos(top, SB_VERT, 30, TRUE);
  Pump();
  auto quiet = Log().Messages(top);
  EXPECT_EQ(std::count(quiet.begin(), quiet.end(), WM_NCPAINT), 0);
  answerMatches_ = false;
  SetScrollPos(top, SB_VERT, 40, TRUE);
  Pump();
  auto messages = Log().Messages(top);
  EXPECT_GT(std::count(messages.begin(), messages.end(), WM_NCPAINT), 0);
}

TEST_F(ScrollInfoInterception, AnswerThatDiffersFromTheSlotIsNotControlled) {
  HWND top = CreateTop(WS_POPUP | WS_VISIBLE | WS_VSCROLL, {0, 0, 200, 200});
  answerMatches_ = false;
  EXPECT_EQ(QueryScrollController(top), 0);
  SetScrollRange(top, SB_VERT, 0, 10, FALSE);
  EXPECT_TRUE(syncs_.empty());
  EXPECT_EQ(QueryScrollController(nullptr), 0);
}

}  // namespace
}  // namespace kestrel::platform::testing
