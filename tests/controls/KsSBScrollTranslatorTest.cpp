// A bar's steps reaching a plain platform window as WM_VSCROLL, and the bar following what the
// window did with them.

#include <gtest/gtest.h>

#include <vector>

#include "controls/KsSBScrollTranslator.h"
#include "platform/window/ScrollBars.h"
#include "platform/window/WindowApi.h"

namespace kestrel {
namespace {

using namespace platform;

struct Request {
  WORD code;
  WORD high;
  int trackPos;
};
std::vector<Request> requests;
bool scrollsOnTrack = true;

// Scrolls by the 32-bit track position, as a window with a large range must.
LRESULT ScrolledProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m != WM_VSCROLL) return DefWindowProcW(h, m, w, l);
  SCROLLINFO si;
  si.fMask = SIF_ALL;
  GetScrollInfo(h, SB_VERT, &si);
  requests.push_back({LOWORD(w), HIWORD(w), si.nTrackPos});
  switch (LOWORD(w)) {
    case SB_THUMBTRACK:
      if (scrollsOnTrack) SetScrollPos(h, SB_VERT, si.nTrackPos, FALSE);
      break;
    case SB_THUMBPOSITION: SetScrollPos(h, SB_VERT, si.nTrackPos, FALSE); break;
    case SB_LINEDOWN: SetScrollPos(h, SB_VERT, si.nPos + 1, FALSE); break;
    case SB_TOP: SetScrollPos(h, SB_VERT, si.nMin, FALSE); break;
  }
  return 0;
}

// The bar's side as the owner-drawn bar keeps it: mirrored from the platform information.
class MirroringBar : public TKsSBScrollSide {
 public:
  explicit MirroringBar(HWND hwnd) : hwnd_(hwnd) { Reread(); }
  int Position() const override { return info_.nPos; }
  int Min() const override { return info_.nMin; }
  int Max() const override { return info_.nMax; }
  int TrackPos() const override { return info_.nTrackPos; }
  bool UseSystemStep() const override { return useSystemStep; }
  void Reread() override {
    info_.fMask = SIF_ALL;
    GetScrollInfo(hwnd_, SB_VERT, &info_);
  }
  bool useSystemStep = true;

 private:
  HWND hwnd_;
  SCROLLINFO info_;
};

class KsSBScrollTranslator : public ::testing::Test {
 protected:
  void SetUp() override {
    static bool registered = [] {
      WNDCLASSEXW wc;
      wc.lpfnWndProc = ScrolledProc;
      wc.lpszClassName = u"KsSBScrolled";
      return RegisterClassExW(&wc) != 0;
    }();
    ASSERT_TRUE(registered);
    hwnd_ = CreateWindowExW(0, u"KsSBScrolled", u"", WS_POPUP | WS_VSCROLL, 0, 0, 100, 100, nullptr, nullptr, nullptr,
                            nullptr);
    SetScrollRange(hwnd_, SB_VERT, 0, 100000, FALSE);
    requests.clear();
    scrollsOnTrack = true;
  }
  void TearDown() override { DestroyWindow(hwnd_); }
  std::vector<WORD> Codes() const {
    std::vector<WORD> codes;
    for (auto& r : requests) codes.push_back(r.code);
    return codes;
  }
  HWND hwnd_ = nullptr;
};

TEST_F(KsSBScrollTranslator, PositionsBeyondSixteenBitsReachTheWindowWhole) {
  MirroringBar bar(hwnd_);
  TKsSBScrollTranslator translator(hwnd_, true);
  bool doChange = false;
  int position = 70000;
  translator.Translate(bar, escPageDown, doChange, position);
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].code, SB_THUMBPOSITION);
  EXPECT_EQ(requests[0].high, static_cast<WORD>(70000));
  EXPECT_EQ(requests[0].trackPos, 70000);
  EXPECT_TRUE(doChange);
  EXPECT_EQ(position, 70000);
  // The track position is the platform's own again once the message was handled.
  EXPECT_EQ(bar.TrackPos(), 70000);
  SetScrollPos(hwnd_, SB_VERT, 5, FALSE);
  bar.Reread();
  EXPECT_EQ(bar.TrackPos(), 5);
}

TEST_F(KsSBScrollTranslator, LineTopAndEndStepsSendTheirCodesOnlyWhenTheyMove) {
  MirroringBar bar(hwnd_);
  TKsSBScrollTranslator translator(hwnd_, true);
  bool doChange = false;
  int position = 0;
  translator.Translate(bar, escTop, doChange, position);  // already at the top
  EXPECT_TRUE(requests.empty());
  EXPECT_FALSE(doChange);
  position = 1;
  translator.Translate(bar, escLineDown, doChange, position);
  EXPECT_TRUE(doChange);
  EXPECT_EQ(position, 1);
  bar.useSystemStep = false;
  position = 3;
  translator.Translate(bar, escLineDown, doChange, position);
  translator.Translate(bar, escTop, doChange, position);
  translator.Translate(bar, escEndScroll, doChange, position);
  translator.Translate(bar, escSndLineDown, doChange, position);  // nothing, still a change
  EXPECT_TRUE(doChange);
  EXPECT_EQ(Codes(), (std::vector<WORD>{SB_LINEDOWN, SB_THUMBPOSITION, SB_TOP, SB_ENDSCROLL}));
  EXPECT_EQ(bar.Position(), 0);
}

TEST_F(KsSBScrollTranslator, DragFallsBackToAPositionWhenTheWindowIgnoresTracking) {
  MirroringBar bar(hwnd_);
  TKsSBScrollTranslator translator(hwnd_, true);
  bool doChange = false;
  int position = 0;
  translator.Translate(bar, escTrack, doChange, position);  // no move: nothing at all
  EXPECT_TRUE(requests.empty());
  EXPECT_FALSE(doChange);
  position = 66000;
  translator.Translate(bar, escTrack, doChange, position);
  EXPECT_EQ(Codes(), std::vector<WORD>{SB_THUMBTRACK});
  EXPECT_EQ(requests[0].trackPos, 66000);
  EXPECT_TRUE(doChange);
  EXPECT_EQ(position, 66000);

  requests.clear();
  scrollsOnTrack = false;
  position = 80000;
  translator.Translate(bar, escTrack, doChange, position);
  EXPECT_EQ(Codes(), (std::vector<WORD>{SB_THUMBTRACK, SB_THUMBPOSITION}));
  EXPECT_EQ(position, 80000);
  EXPECT_TRUE(doChange);
}

}  // namespace
}  // namespace kestrel
