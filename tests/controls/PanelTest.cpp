#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <vector>

#include "controls/KsHook.h"
#include "controls/KsPanel.h"
#include "controls/KsStyleManager.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/OwnedGdi.h"
#include "platform/gdi/Regions.h"
#include "tests/controls/ControlTestSupport.h"
#include "tests/support/GoldenImage.h"

namespace kestrel {
namespace {

using namespace platform;
using testing::ClientPixel;
using testing::Pump;
using testing::ShownForm;

TKsPanel* AddPanel(TWinControl* parent, int x, int y, int w, int h) {
  auto* panel = new TKsPanel(parent);
  panel->SetParent(parent);
  panel->SetBounds(x, y, w, h);
  return panel;
}

int CountColor(TWinControl& control, COLORREF color) {
  int n = 0;
  for (int y = 0; y < control.ClientHeight(); ++y)
    for (int x = 0; x < control.ClientWidth(); ++x) n += ClientPixel(control, x, y) == color;
  return n;
}

TEST(KsPanel, TheDialogsBandAndOverlayFillWithTheirColourOnly) {
  ShownForm f(460, 560);
  f->SetClientWidth(445);
  f->SetClientHeight(520);
  auto* band = AddPanel(f.form, 0, 0, 445, 65);
  band->SetBorderType(fbtNone);
  band->SetBevelOuter(bvNone);
  band->SetTransparentXPThemes(false);
  band->SetThemeMode(ttmNone);
  band->SetColor(static_cast<TColor>(13531904));
  auto* overlay = AddPanel(f.form, 0, 82, 445, 417);
  overlay->SetColor(clWhite);
  overlay->SetBevelOuter(bvNone);
  overlay->SetBorderType(fbtNone);
  overlay->SetTransparentXPThemes(false);
  testing::ThemeScope themed(true);
  Pump();
  EXPECT_FALSE(band->IsThemed());
  EXPECT_TRUE(overlay->IsThemed());
  EXPECT_EQ(CountColor(*band, RGB(0x00, 0x7B, 0xCE)), 445 * 65);
  EXPECT_EQ(CountColor(*overlay, RGB(0xFF, 0xFF, 0xFF)), 445 * 417);
  cairo_surface_t* shot = testing::CaptureClient(*f.form);
  EXPECT_TRUE(testing::MatchesGolden(shot, "controls_panel_dialog"));
  cairo_surface_destroy(shot);
}

// One sheet per look: the fifteen flat borders, every outer × inner bevel style, grab handles
// of each bevel kind on every side with a size grip, and captions in each layout.
void PaintSheet(bool themed, const char* golden) {
  testing::ThemeScope look(themed);
  ShownForm f(600, 520);
  f->SetColor(clWhite);
  for (int kind = 0; kind < 15; ++kind) {
    auto* p = AddPanel(f.form, 6 + (kind % 8) * 74, 6 + (kind / 8) * 40, 68, 34);
    p->SetBorderStyle(bsSingle);
    p->SetBorderType(static_cast<TKsFlatBorderType>(kind));
    p->SetBevelOuter(bvNone);
    p->SetColor(static_cast<TColor>(0xE0F0F0));
  }
  for (int outer = 0; outer < 9; ++outer) {
    for (int inner = 0; inner < 9; ++inner) {
      auto* p = AddPanel(f.form, 6 + inner * 40, 90 + outer * 30, 36, 26);
      p->SetBevelOuter(static_cast<TVnBevelStyle>(outer));
      p->SetBevelInner(static_cast<TVnBevelStyle>(inner));
      p->SetBevelWidth(2);
      p->SetBevelSpaceColor(clYellow);
    }
  }
  const TVnBevelStyle kinds[4] = {bvLowered, bvRaised, bvSpace, bvFlat};
  for (int k = 0; k < 4; ++k) {
    auto* p = AddPanel(f.form, 380 + (k % 2) * 106, 90 + (k / 2) * 70, 100, 64);
    p->SetBevelOuter(bvNone);
    for (TKsPanelGrabHandle* h :
         {p->LeftGrabHandle(), p->TopGrabHandle(), p->RightGrabHandle(), p->BottomGrabHandle()}) {
      h->SetSize(8);
      h->SetEnabled(true);
      h->SetVisible(true);
      h->SetBevelKind(kinds[k]);
    }
    p->SetResizable(k == 3);
    p->SetSizeGrip(k == 3);
  }
  const TTextLayout layouts[3] = {tlTop, tlCenter, tlBottom};
  const TAlignment alignments[3] = {taLeftJustify, taCenter, taRightJustify};
  for (int i = 0; i < 3; ++i) {
    auto* p = AddPanel(f.form, 380, 240 + i * 62, 206, 56);
    p->SetCaption(u"&Caption text");
    p->SetLayout(layouts[i]);
    p->SetAlignment(alignments[i]);
    p->SetBevelInner(bvLowered);
  }
  Pump();
  cairo_surface_t* shot = testing::CaptureClient(*f.form);
  EXPECT_TRUE(testing::MatchesGolden(shot, golden));
  cairo_surface_destroy(shot);
}

TEST(KsPanel, ClassicSheet) { PaintSheet(false, "controls_panel_classic"); }
TEST(KsPanel, ThemedSheet) { PaintSheet(true, "controls_panel_themed"); }

TEST(KsPanel, PaintingRulesThatKeepOddSettings) {
  testing::ThemeScope classic(false);
  ShownForm f;
  auto* p = AddPanel(f.form, 10, 10, 60, 40);
  p->SetColor(clYellow);
  p->SetBevelOuter(bvNone);
  // A single border of kind fbtNone is two rings in Color, not nothing.
  p->SetBorderStyle(bsSingle);
  p->SetBorderType(fbtNone);
  p->SetBorderColorFace(clRed);
  Pump();
  EXPECT_EQ(CountColor(*p, ColorToRGB(clYellow)), 60 * 40);

  // A style outside the framework's four neither repaints nor changes the child area, and paints
  // as raised.
  p->SetBorderStyle(bsNone);
  Pump();
  TRect area = p->ClientRect();
  p->AdjustClientRect(area);
  p->SetBevelOuter(bvFrameLowered);
  TRect same = p->ClientRect();
  p->AdjustClientRect(same);
  EXPECT_EQ(area, same);
  p->Invalidate();
  Pump();
  EXPECT_EQ(ClientPixel(*p, 0, 20), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(ClientPixel(*p, 59, 20), ColorToRGB(clBtnShadow));

  // A huge bevel width paints without hanging and leaves no inverted child area.
  p->SetBevelWidth(INT_MAX);
  p->Invalidate();
  Pump();
  TRect huge = p->ClientRect();
  p->AdjustClientRect(huge);
  EXPECT_GE(huge.right, huge.left);
  EXPECT_GE(huge.bottom, huge.top);
  EXPECT_TRUE(huge.left >= 0 && huge.top >= 0 && huge.right <= p->ClientWidth() && huge.bottom <= p->ClientHeight())
      << huge.left << "," << huge.top << "," << huge.right << "," << huge.bottom;

  // A top-left picture takes Color from its bottom-right pixel; an empty picture turns any kind
  // into a colour fill.
  TBitmap picture(4, 4);
  picture.Canvas()->Brush()->SetColor(clBlue);
  picture.Canvas()->FillRect(Rect(0, 0, 4, 4));
  picture.Canvas()->SetPixels(3, 3, clRed);
  p->SetBevelWidth(1);
  p->SetBackground(&picture);
  p->SetBackgroundType(bgtTopLeftBitmap);
  p->Invalidate();
  Pump();
  EXPECT_EQ(ColorToRGB(p->Color()), ColorToRGB(clRed));
  p->SetBackgroundType(bgtVertGradient);
  const TBitmap empty;
  p->SetBackground(&empty);
  EXPECT_EQ(p->BackgroundType(), bgtColorFill);
}

TEST(KsPanel, GrabHandlesAndResizeStrips) {
  testing::ThemeScope classic(false);
  ShownForm f;
  auto* p = AddPanel(f.form, 20, 20, 160, 80);
  p->SetBevelOuter(bvNone);
  auto* child = AddPanel(p, 0, 0, 10, 10);
  child->SetAlign(alClient);
  TKsPanelGrabHandle* left = p->LeftGrabHandle();
  left->SetSize(10);
  left->SetKind(ghkMove);
  left->SetEnabled(true);  // enabled but not visible: answers hit tests, takes no child area
  Pump();
  EXPECT_EQ(child->BoundsRect(), Rect(0, 0, 160, 80));
  auto hit = [&](int x, int y) {
    const TPoint s = p->ClientToScreen(Point(x, y));
    return SendMessageW(p->Handle(), WM_NCHITTEST, 0, MAKELPARAM(s.x, s.y));
  };
  child->SetVisible(false);
  EXPECT_EQ(hit(4, 40), HTCAPTION);
  EXPECT_EQ(hit(40, 40), HTCLIENT);
  left->SetVisible(true);
  child->SetVisible(true);
  EXPECT_EQ(child->BoundsRect(), Rect(10, 0, 160, 80));
  child->SetVisible(false);
  left->SetKind(ghkResize);
  EXPECT_EQ(hit(4, 40), HTLEFT);

  // Resizable with BevelWidth 1: one pixel on the left and top, two on the right and bottom.
  p->SetResizable(true);
  EXPECT_EQ(hit(0, 40), HTLEFT);
  EXPECT_EQ(hit(1, 40), HTCLIENT);
  EXPECT_EQ(hit(158, 40), HTRIGHT);
  EXPECT_EQ(hit(157, 40), HTCLIENT);
  EXPECT_EQ(hit(80, 78), HTBOTTOM);
  EXPECT_EQ(hit(0, 0), HTTOPLEFT);
  EXPECT_EQ(hit(159, 79), HTBOTTOMRIGHT);
}

// Growing moves the right grab handle: the panel repaints where it was and where it is now itself.
// Sized without the platform's redraw, only what the panel invalidates is repainted.
TEST(KsPanel, GrowingRepaintsTheMovedGrabHandle) {
  testing::ThemeScope classic(false);
  ShownForm f;
  auto* p = AddPanel(f.form, 20, 20, 160, 80);
  p->SetBevelOuter(bvNone);
  p->SetTransparentXPThemes(false);  // a see-through panel repaints wholly when it moves or sizes
  TKsPanelGrabHandle* right = p->RightGrabHandle();
  right->SetSize(8);
  right->SetBevelKind(bvRaised);
  right->SetEnabled(true);
  right->SetVisible(true);
  Pump();
  auto column = [&](int x) {
    std::vector<COLORREF> pixels;
    for (int y = 0; y < 80; ++y) pixels.push_back(ClientPixel(*p, x, y));
    return pixels;
  };
  const std::vector<COLORREF> inside = column(100), gripLine = column(156);
  ASSERT_NE(gripLine, inside);

  SetWindowPos(p->Handle(), nullptr, 0, 0, 200, 80, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
  const OwnedRegion update(CreateRectRgn(0, 0, 0, 0));
  GetUpdateRgn(p->Handle(), update.get(), FALSE);
  EXPECT_TRUE(PtInRegion(update.get(), 155, 40));  // where it was
  EXPECT_TRUE(PtInRegion(update.get(), 195, 40));  // where it is
  Pump();
  EXPECT_EQ(column(156), inside);
  EXPECT_EQ(column(196), gripLine);
}

TEST(KsPanel, MovedAndResizedWithTheMouse) {
  testing::ThemeScope classic(false);
  ShownForm f(400, 300);
  auto* p = AddPanel(f.form, 40, 40, 120, 80);
  p->SetMovable(true);
  int moves = 0;
  p->OnMove = [&](TObject*) { ++moves; };
  int spaces = 0;
  // The rest of the drag arrives while the move loop runs, as a user's would.
  TKsHook driver(nullptr);
  driver.SetControl(p);
  POINT end{};
  driver.OnAfterProcess = [&](TObject*, TMessage& m, bool&) {
    if (m.Msg == WM_ENTERSIZEMOVE) {
      InjectMouseMove(end);
      InjectMouseButton(MouseButton::Left, false, end);
    }
    if (m.Msg == WM_KEYDOWN && m.WParam == VK_SPACE) ++spaces;
  };
  driver.SetActive(true);
  const TPoint start = p->ClientToScreen(Point(60, 40));
  end = {start.x + 31, start.y + 17};
  InjectMouseMove(start);
  InjectMouseButton(MouseButton::Left, true, start);
  InjectMouseMove({start.x + 1, start.y});
  Pump();
  EXPECT_EQ(p->BoundsRect(), Rect(70, 57, 190, 137));
  EXPECT_GE(moves, 1);
  EXPECT_EQ(spaces, 0) << "the move loop took the posted key";

  // A press released before the move loop could start: the key posted for the loop reaches
  // nobody as a key press.
  int keyPresses = 0;
  p->OnKeyDown = [&](TObject*, WORD& key, TShiftState) { keyPresses += key == VK_SPACE; };
  driver.OnAfterProcess = nullptr;
  const TPoint again = p->ClientToScreen(Point(60, 40));
  InjectMouseMove(again);
  InjectMouseButton(MouseButton::Left, true, again);
  InjectMouseMove({again.x + 1, again.y});
  InjectMouseButton(MouseButton::Left, false, {again.x + 1, again.y});
  Pump();
  EXPECT_EQ(keyPresses, 0);

  // Resizable: dragging the right edge widens the panel.
  p->SetMovable(false);
  p->SetResizable(true);
  const TPoint edge = p->ClientToScreen(Point(119, 40));
  InjectMouseMove(edge);
  InjectMouseButton(MouseButton::Left, true, edge);
  InjectMouseMove({edge.x + 25, edge.y + 5});
  InjectMouseButton(MouseButton::Left, false, {edge.x + 25, edge.y + 5});
  Pump();
  EXPECT_EQ(p->BoundsRect(), Rect(70, 57, 215, 137));
}

// A themed see-through panel shows its parent's picture: what the parent paints (through
// WM_PRINTCLIENT), and the erase of a double-buffered parent (asked with the DC twice).
TEST(KsPanel, ThemedSeeThroughPanelsGetTheirParentsPicture) {
  testing::ThemeScope themed(true);
  ShownForm f;
  f.form->OnPaint = [&](TObject*) {
    f.form->Canvas()->Brush()->SetColor(clBlue);
    f.form->Canvas()->FillRect(Rect(0, 0, 300, 300));
  };
  auto* buffered = AddPanel(f.form, 100, 10, 80, 60);
  buffered->SetTransparentXPThemes(false);
  buffered->SetColor(clRed);
  buffered->SetDoubleBuffered(true);
  const auto centreOf = [](TKsPanel* see) {
    see->SetBevelOuter(bvNone);
    see->SetBorderType(fbtNone);
    TBitmap picture(see->Width(), see->Height());
    see->Perform(WM_PAINT, reinterpret_cast<WPARAM>(picture.Canvas()->Handle()), 0);
    return picture.Canvas()->Pixels(see->Width() / 2, see->Height() / 2);
  };
  EXPECT_EQ(centreOf(AddPanel(f.form, 10, 10, 40, 30)), clBlue);
  EXPECT_EQ(centreOf(AddPanel(buffered, 10, 10, 40, 30)), clRed);
}

TEST(KsPanel, TransparencyNoticeFromItselfIsIgnored) {
  testing::ThemeScope classic(false);
  ShownForm f;
  auto* outer = AddPanel(f.form, 10, 10, 150, 100);
  auto* inner = AddPanel(outer, 10, 10, 60, 40);
  outer->SetTransparent(true);
  Pump();
  int paints = 0;
  TKsHook spy(nullptr);
  spy.SetControl(inner);
  spy.OnBeforeProcess = [&](TObject*, TMessage& m, bool&) { paints += m.Msg == WM_PAINT; };
  spy.SetActive(true);
  PostMessageW(inner->Handle(), KSM_PANEL_TRANSPARENCY, 0, reinterpret_cast<LPARAM>(inner));
  Pump();
  EXPECT_EQ(paints, 0);
  outer->UpdateChildren(true);
  Pump();
  EXPECT_EQ(paints, 1);
}

// A manager whose one style, "Warm", colours a control orange.
class TWarmStyles : public TKsStyleManager {
 public:
  using TKsStyleManager::TKsStyleManager;
  int calls = 0;
  void ApplyStyle(TComponent* component, const String& styleName) override {
    ++calls;
    if (auto* control = dynamic_cast<TControl*>(component); control && styleName == u"Warm")
      control->SetColor(static_cast<TColor>(0x0080FF));
  }
};

TEST(KsPanel, StylesComeFromTheManagerWhileItLives) {
  ShownForm f;
  auto* p = AddPanel(f.form, 10, 10, 60, 40);
  ASSERT_EQ(p->StyleManager(), DefaultStyleManager());
  TWarmStyles* styles = new TWarmStyles(nullptr);
  p->SetStyleName(u"Warm");
  p->SetStyleManager(styles);
  EXPECT_EQ(p->Color(), static_cast<TColor>(0x0080FF));
  p->SetColor(clBtnFace);
  styles->BeginUpdate();  // a reported change applies the style again
  styles->EndUpdate();
  EXPECT_EQ(p->Color(), static_cast<TColor>(0x0080FF));
  EXPECT_EQ(styles->calls, 2);
  delete styles;
  EXPECT_EQ(p->StyleManager(), nullptr);
}

}  // namespace
}  // namespace kestrel
