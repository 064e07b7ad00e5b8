// The scroll-bar controller on a plain windowed control that scrolls itself through the
// platform scroll information: what the window sets reaches the bars, what the mouse does on
// the bars reaches the window as its own WM_VSCROLL.

#include <gtest/gtest.h>

#include <cairo.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "controls/KsHintWindow.h"
#include "controls/KsSBController.h"
#include "framework/Exceptions.h"
#include "framework/Panel.h"
#include "framework/SysUtils.h"
#include "platform/gdi/MemoryCanvas.h"
#include "platform/window/HeadlessBackend.h"
#include "platform/window/InputInjection.h"
#include "platform/window/ScrollInfoInterception.h"
#include "platform/window/WindowApi.h"
#include "tests/framework/visual/VisualTestSupport.h"
#include "tests/support/ThemeScope.h"

namespace kestrel {
namespace {

using namespace platform;
using testing::ShownForm;

// Scrolls on every request by moving its own platform scroll position.
class TScrolledPanel : public TPanel {
 public:
  explicit TScrolledPanel(TComponent* owner) : TPanel(owner) {}
  std::vector<WORD> codes;
  std::vector<WPARAM> redraws;
  bool failNextScroll = false;

 protected:
  void CreateParams(TCreateParams& params) override {
    TPanel::CreateParams(params);
    params.Style |= WS_VSCROLL;
  }
  void WndProc(TMessage& m) override {
    if (m.Msg == WM_SETREDRAW) redraws.push_back(m.WParam);
    if (m.Msg != WM_VSCROLL) return TPanel::WndProc(m);
    codes.push_back(LOWORD(m.WParam));
    if (std::exchange(failNextScroll, false)) throw Exception(u"scroll handler failed");
    SCROLLINFO si;
    si.fMask = SIF_ALL;
    GetScrollInfo(Handle(), SB_VERT, &si);
    int pos = si.nPos;
    switch (LOWORD(m.WParam)) {
      case SB_LINEDOWN: pos += 1; break;
      case SB_LINEUP: pos -= 1; break;
      case SB_THUMBTRACK:
      case SB_THUMBPOSITION: pos = si.nTrackPos; break;
    }
    SetScrollPos(Handle(), SB_VERT, pos, TRUE);
  }
};

class KsSBController : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(InstallScrollInfoInterception());
    panel_ = new TScrolledPanel(form_.form);
    panel_->SetParent(form_.form);
    panel_->SetBounds(10, 10, 200, 150);
    controller_.SetControl(panel_);
    SCROLLINFO si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMax = 99;
    si.nPage = 10;
    SetScrollInfo(panel_->Handle(), SB_VERT, &si, TRUE);
    testing::Pump();
  }
  // A point of the vertical bar, `fromBottom` pixels above its end, in screen coordinates.
  POINT OnVerticalBar(int fromBottom) const {
    RECT window{};
    GetWindowRect(panel_->Handle(), &window);
    const TRect& bar = controller_.VertScrollBarStyles()->ScrollBarRect();
    return POINT{window.left + (bar.left + bar.right) / 2, window.top + bar.bottom - fromBottom};
  }
  // Presses the middle of the vertical bar's thumb and answers that screen point.
  POINT PressThumb() {
    TKsCtrlScrollBarStyles* bar = controller_.VertScrollBarStyles();
    RECT window{};
    GetWindowRect(panel_->Handle(), &window);
    const TRect& r = bar->ScrollBarRect();
    POINT thumb{window.left + (r.left + r.right) / 2, window.top + r.top + bar->ThumbStart() + bar->ThumbLength() / 2};
    InjectMouseMove(thumb);
    InjectMouseButton(MouseButton::Left, true, thumb);
    testing::Pump();
    return thumb;
  }
  void Click(POINT p, DWORD holdMs = 0) {
    InjectMouseMove(p);
    InjectMouseButton(MouseButton::Left, true, p);
    testing::Pump();
    if (holdMs) HeadlessBackend::Current()->Advance(holdMs);
    testing::Pump();
    InjectMouseButton(MouseButton::Left, false, p);
    testing::Pump();
  }

  ShownForm form_{400, 300};
  TScrolledPanel* panel_ = nullptr;
  TKsSBController controller_{nullptr};
};

TEST_F(KsSBController, WindowsOwnScrollInformationReachesTheBar) {
  ASSERT_TRUE(controller_.Active());
  TKsCtrlScrollBarStyles* bar = controller_.VertScrollBarStyles();
  EXPECT_EQ(bar->Max(), 99);
  EXPECT_EQ(bar->Page(), 10);
  SetScrollPos(panel_->Handle(), SB_VERT, 42, TRUE);
  EXPECT_EQ(bar->Position(), 42);
  // The bar lives in the non-client area on the right.
  const TRect& r = bar->ScrollBarRect();
  EXPECT_GT(r.right, r.left);
  EXPECT_GT(r.left, 150);
  EXPECT_LT(panel_->ClientWidth(), 200 - bar->Depth() + 1);
}

TEST_F(KsSBController, ArrowClickAndAutoRepeatReachTheWindowAsLineSteps) {
  Click(OnVerticalBar(2));
  EXPECT_EQ(panel_->codes, (std::vector<WORD>{SB_LINEDOWN, SB_ENDSCROLL}));
  EXPECT_EQ(controller_.VertScrollBarStyles()->Position(), 1);
  panel_->codes.clear();
  Click(OnVerticalBar(2), 2000);  // held: the repeat timer steps on the virtual clock
  ASSERT_GT(panel_->codes.size(), 3u);
  EXPECT_EQ(panel_->codes.back(), SB_ENDSCROLL);
  EXPECT_GT(controller_.VertScrollBarStyles()->Position(), 2);
}

TEST_F(KsSBController, ThumbDragTracksTheWindowAndReleasesTheCapture) {
  TKsCtrlScrollBarStyles* bar = controller_.VertScrollBarStyles();
  const POINT thumb = PressThumb();
  POINT lower{thumb.x, thumb.y + 40};
  InjectMouseMove(lower);
  testing::Pump();
  InjectMouseButton(MouseButton::Left, false, lower);
  testing::Pump();
  // The window followed the drag; the release at the tracked place has nothing left to send.
  ASSERT_FALSE(panel_->codes.empty());
  for (WORD code : panel_->codes) EXPECT_EQ(code, SB_THUMBTRACK);
  EXPECT_GT(bar->Position(), 0);
  EXPECT_EQ(GetScrollPos(panel_->Handle(), SB_VERT), bar->Position());
  EXPECT_EQ(GetCapture(), nullptr);
}

// The window's pixel at window coordinates (x, y), as BGRx.
std::uint32_t WindowPixel(HWND hwnd, int x, int y) {
  POINT origin{};
  cairo_surface_t* store = GetWindowBackingStore(hwnd, &origin);
  if (!store) return 0;
  cairo_surface_flush(store);
  auto* row = cairo_image_surface_get_data(store) + (origin.y + y) * cairo_image_surface_get_stride(store);
  return reinterpret_cast<std::uint32_t*>(row)[origin.x + x] & 0xFFFFFF;
}

TEST_F(KsSBController, BarsArePaintedOverTheNonClientAreaAndGoAwayOnDetach) {
  TKsCtrlScrollBarStyles* bar = controller_.VertScrollBarStyles();
  RedrawWindow(panel_->Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  testing::Pump();
  const TRect r = bar->ScrollBarRect();
  // What the bar paints by itself is what the window shows at the bar's place.
  MemoryCanvas own = MemoryCanvas::Dib(nullptr, r.right - r.left + 1, r.bottom - r.top + 1);
  TCanvas canvas;
  canvas.SetHandle(own.Dc());
  bar->Paint(canvas);
  canvas.SetHandle(nullptr);
  auto differing = [&] {
    int count = 0;
    for (int y = 0; y < own.Height(); ++y)
      for (int x = 0; x < own.Width(); ++x)
        count += WindowPixel(panel_->Handle(), r.left + x, r.top + y) != (own.Pixels()[y * own.Width() + x] & 0xFFFFFF);
    return count;
  };
  EXPECT_EQ(differing(), 0);
  controller_.SetControl(nullptr);
  testing::Pump();
  SetScrollPos(panel_->Handle(), SB_VERT, 77, TRUE);  // no longer reaches the bar
  EXPECT_NE(bar->Position(), 77);
  // The platform's own bar is back where the owner-drawn one was.
  EXPECT_GT(differing(), 0);
}

TEST_F(KsSBController, RedrawComesBackWhenTheScrollHandlerFails) {
  panel_->failNextScroll = true;
  Click(OnVerticalBar(2));
  ASSERT_FALSE(panel_->codes.empty());
  EXPECT_EQ(panel_->codes.front(), SB_LINEDOWN);
  ASSERT_GE(panel_->redraws.size(), 2u);
  EXPECT_EQ(panel_->redraws[0], 0u);
  EXPECT_EQ(panel_->redraws[1], 1u);
  EXPECT_EQ(panel_->codes.size(), 2u);  // the failed request was not handed over again
}

TEST_F(KsSBController, CancelModeReleasesAPressedBar) {
  POINT arrow = OnVerticalBar(2);
  InjectMouseMove(arrow);
  InjectMouseButton(MouseButton::Left, true, arrow);
  testing::Pump();
  ASSERT_TRUE(controller_.VertScrollBarStyles()->Pressed());
  EXPECT_EQ(GetCapture(), panel_->Handle());
  SendMessageW(panel_->Handle(), WM_CANCELMODE, 0, 0);
  EXPECT_FALSE(controller_.VertScrollBarStyles()->Pressed());
  EXPECT_EQ(GetCapture(), nullptr);
  InjectMouseButton(MouseButton::Left, false, arrow);
  testing::Pump();
}

// The shown top-level hint windows of the process.
std::vector<TKsHintWindow*> ShownHints() {
  std::vector<TKsHintWindow*> hints;
  EnumWindows(
      [](HWND hwnd, LPARAM list) -> BOOL {
        auto* hint = dynamic_cast<TKsHintWindow*>(TWinControl::FindControl(hwnd));
        if (hint && IsWindowVisible(hwnd)) reinterpret_cast<std::vector<TKsHintWindow*>*>(list)->push_back(hint);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&hints));
  return hints;
}

TEST_F(KsSBController, TrackHintWindowFollowsTheThumbDragAndGoesAtReleaseOrWithTheControl) {
  TKsCtrlScrollBarStyles* bar = controller_.VertScrollBarStyles();
  bar->SetShowTrackHint(true);
  bar->OnScrollHintNeeded = [](TObject*, int position, String& hint) { hint = u"Line " + IntToStr(position); };
  const POINT thumb = PressThumb();
  std::vector<TKsHintWindow*> hints = ShownHints();
  ASSERT_EQ(hints.size(), 1u);
  EXPECT_EQ(hints[0]->Text(), u"Line 0");
  const DWORD ex = GetWindowLongW(hints[0]->Handle(), GWL_EXSTYLE);
  EXPECT_EQ(ex & (WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW),
            static_cast<DWORD>(WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW));
  EXPECT_NE(GetActiveWindow(), hints[0]->Handle());
  // Left of the vertical bar, its bottom just above the thumb; it moves down with the thumb.
  RECT window{}, first{}, moved{};
  GetWindowRect(panel_->Handle(), &window);
  GetWindowRect(hints[0]->Handle(), &first);
  EXPECT_EQ(first.right, window.left + bar->ScrollBarRect().left - 3);
  EXPECT_EQ(first.bottom, window.top + bar->ScrollBarRect().top + bar->ThumbStart() - 3);
  const POINT lower{thumb.x, thumb.y + 40};
  InjectMouseMove(lower);
  testing::Pump();
  ASSERT_EQ(ShownHints().size(), 1u);
  EXPECT_EQ(hints[0]->Text(), u"Line " + IntToStr(bar->Position()));
  GetWindowRect(hints[0]->Handle(), &moved);
  EXPECT_GT(moved.top, first.top);
  InjectMouseButton(MouseButton::Left, false, lower);
  testing::Pump();
  EXPECT_TRUE(ShownHints().empty());

  // Freed during a drag, the control takes the press and the hint with it.
  PressThumb();
  ASSERT_EQ(ShownHints().size(), 1u);
  delete panel_;
  EXPECT_TRUE(ShownHints().empty());
  EXPECT_FALSE(bar->Pressed());
  EXPECT_EQ(bar->PressedIn(), sbpNowhere);
  InjectMouseButton(MouseButton::Left, false, lower);
  testing::Pump();
}

TEST_F(KsSBController, UpdatesNestAndTheOutermostEndShowsWhatTheWindowSetMeanwhile) {
  TKsCtrlScrollBarStyles* bar = controller_.VertScrollBarStyles();
  int paints = 0;
  bar->SetOwnerDraw(true);
  bar->OnDrawPart = [&paints](TObject*, TCanvas*, const TRect&, TKsScrollBarPart part, bool, bool, bool, bool&) {
    paints += part == sbpThumb;
  };
  controller_.BeginUpdate();
  controller_.BeginUpdate();
  SetScrollPos(panel_->Handle(), SB_VERT, 42, TRUE);
  controller_.PaintScrollBar(SB_VERT);
  controller_.EndUpdate();
  testing::Pump();
  EXPECT_EQ(paints, 0);
  EXPECT_EQ(bar->Position(), 0);
  controller_.EndUpdate();
  EXPECT_EQ(bar->Position(), 42);
  EXPECT_GT(paints, 0);
  controller_.EndUpdate();  // unbalanced: stays at 0
  paints = 0;
  SetScrollPos(panel_->Handle(), SB_VERT, 50, TRUE);
  EXPECT_EQ(bar->Position(), 50);
  EXPECT_GT(paints, 0);
}

// In both looks: the size grip (classic) or the theme's size box in a sizeable form's corner, unless
// the corner's handler paints it.
class KsSBControllerOnAForm : public ::testing::TestWithParam<bool> {};

TEST_P(KsSBControllerOnAForm, SizeableFormCornerShowsTheSizeGripOrWhatItsHandlerPaints) {
  const testing::ThemeScope look(GetParam());
  ShownForm form(300, 200);
  TKsSBController controller(nullptr);
  controller.SetControl(form.form);
  HWND hwnd = form->Handle();
  SetWindowLongW(hwnd, GWL_STYLE, GetWindowLongW(hwnd, GWL_STYLE) | WS_HSCROLL | WS_VSCROLL);
  SetScrollRange(hwnd, SB_HORZ, 0, 50, TRUE);
  SetScrollRange(hwnd, SB_VERT, 0, 50, TRUE);
  controller.RecomputeFrame();
  RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  testing::Pump();
  const TRect corner = controller.GetCrossScrollBarsRect();
  ASSERT_GT(corner.right, corner.left);
  const std::uint32_t face = WindowPixel(hwnd, corner.left + 1, corner.top + 1);
  // The grip's lines or dots sit in the corner's bottom right, on the face.
  int grip = 0;
  for (int y = corner.bottom - 8; y < corner.bottom; ++y)
    for (int x = corner.right - 8; x < corner.right; ++x) grip += WindowPixel(hwnd, x, y) != face;
  EXPECT_GT(grip, 0);
  RECT window{};
  GetWindowRect(hwnd, &window);
  EXPECT_EQ(controller.InternalHitTest(window.left + corner.left + 3, window.top + corner.top + 3), HTBOTTOMRIGHT);
  // A handler that keeps the default drawing off has the corner to itself.
  TObject* sender = nullptr;
  controller.OnPaintCrossScrollBarsArea = [&sender](TObject* s, TCanvas& canvas, const TRect& r, bool& defaultDraw) {
    sender = s, defaultDraw = false;
    canvas.Brush()->SetColor(clRed);
    canvas.FillRect(r);
  };
  RedrawWindow(hwnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  testing::Pump();
  EXPECT_EQ(sender, form.form);
  EXPECT_EQ(WindowPixel(hwnd, corner.right - 2, corner.bottom - 2), 0xFF0000u);
  controller.SetControl(nullptr);
}

INSTANTIATE_TEST_SUITE_P(Looks, KsSBControllerOnAForm, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Themed" : "Classic"; });

// A controller whose bars are of a class of its own.
class TTaggedBar : public TKsCtrlScrollBarStyles {
  KESTREL_CLASS(TTaggedBar)
  TTaggedBar() = default;
};
KESTREL_IMPLEMENT_CLASS(TTaggedBar, TKsCtrlScrollBarStyles)

class TTaggedController : public TKsSBController {
 public:
  explicit TTaggedController(const TMetaClass& barClass) : TKsSBController(nullptr, barClass) {}
};

TEST(KsSBControllerBars, AreMadeFromTheScrollBarClass) {
  TKsSBController plain(nullptr);
  EXPECT_EQ(&plain.GetScrollBarClass(), &TKsCtrlScrollBarStyles::StaticClass());
  TTaggedController tagged(TTaggedBar::StaticClass());
  EXPECT_EQ(&tagged.GetScrollBarClass(), &TTaggedBar::StaticClass());
  EXPECT_NE(dynamic_cast<TTaggedBar*>(tagged.VertScrollBarStyles()), nullptr);
  EXPECT_EQ(tagged.VertScrollBarStyles()->SBController(), &tagged);
  TTaggedController unfit(TPanel::StaticClass());  // not a bar class: plain bars
  EXPECT_EQ(&unfit.GetScrollBarClass(), &TKsCtrlScrollBarStyles::StaticClass());
}

TEST_F(KsSBController, DetachesWhenItsControlIsFreedByAnyone) {
  delete panel_;
  EXPECT_EQ(controller_.Control(), nullptr);
  EXPECT_FALSE(controller_.Active());
}

}  // namespace
}  // namespace kestrel
