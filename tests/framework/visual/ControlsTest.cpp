#include <gtest/gtest.h>

#include <vector>

#include "VisualTestSupport.h"
#include "framework/Button.h"
#include "framework/CustomControl.h"
#include "framework/Exceptions.h"
#include "framework/GraphicControl.h"
#include "framework/Label.h"

namespace kestrel {
namespace {

using testing::ClickAt;
using testing::ClientPixel;
using testing::Pump;
using testing::ShownForm;

// A windowless control that paints itself in one colour and counts its clicks.
class TSwatch : public TGraphicControl {
 public:
  TSwatch(TComponent* owner, TColor colour) : TGraphicControl(owner) { SetColor(colour); }
  std::vector<TPoint> downs;
  int paints = 0;

 protected:
  void Paint() override {
    ++paints;
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(ClientRect());
  }
  void MouseDown(TMouseButton b, TShiftState s, int x, int y) override {
    downs.push_back(Point(x, y));
    TGraphicControl::MouseDown(b, s, x, y);
  }
};

class TPanelLike : public TCustomControl {
 public:
  explicit TPanelLike(TComponent* owner) : TCustomControl(owner) { SetColor(clWhite); }
};

TEST(Controls, WindowProcHooksSeePerformedAndWindowMessages) {
  ShownForm f;
  auto* button = new TButton(f.form);
  button->SetParent(f.form);
  std::vector<platform::UINT> seen;
  TWndMethod old = button->WindowProc;
  button->WindowProc = [&](TMessage& m) {
    seen.push_back(m.Msg);
    if (m.Msg == platform::WM_USER + 7) {
      m.Result = 42;  // answered by the hook, the control never sees it
      return;
    }
    old(m);
  };
  EXPECT_EQ(button->Perform(platform::WM_USER + 7), 42);
  platform::SendMessageW(button->Handle(), platform::WM_USER + 8, 0, 0);
  EXPECT_NE(std::find(seen.begin(), seen.end(), platform::WM_USER + 7), seen.end());
  EXPECT_NE(std::find(seen.begin(), seen.end(), platform::WM_USER + 8), seen.end());
  button->SetCaption(u"changed");  // a CM_ message performed by a setter passes the hook too
  EXPECT_NE(std::find(seen.begin(), seen.end(), CM_TEXTCHANGED), seen.end());
  button->WindowProc = old;
}

TEST(Controls, AChildFreedWhileItsParentNotifiesIsSkipped) {
  ShownForm f;
  auto* first = new TButton(f.form);
  first->SetParent(f.form);
  auto* second = new TButton(f.form);
  second->SetParent(f.form);
  int heardAfter = 0;
  const TWndMethod firstOld = first->WindowProc;
  first->WindowProc = [&](TMessage& m) {
    // Freeing a later sibling from a handler, as a markup label re-making its controls does.
    if (m.Msg == CM_PARENTFONTCHANGED && second) {
      delete second;
      second = nullptr;
    }
    firstOld(m);
  };
  auto* third = new TButton(f.form);
  third->SetParent(f.form);
  const TWndMethod thirdOld = third->WindowProc;
  third->WindowProc = [&](TMessage& m) {
    heardAfter += m.Msg == CM_PARENTFONTCHANGED;
    thirdOld(m);
  };
  f.form->Font()->SetSize(f.form->Font()->Size() + 3);
  EXPECT_EQ(second, nullptr);
  EXPECT_EQ(heardAfter, 1);
  first->WindowProc = firstOld;
}

TEST(Controls, HandleIsBoundToTheControlAndSurvivesRecreation) {
  ShownForm f;
  auto* panel = new TPanelLike(f.form);
  panel->SetParent(f.form);
  panel->SetBounds(10, 10, 100, 50);
  auto* button = new TButton(f.form);
  button->SetParent(panel);
  button->SetCaption(u"Go");
  platform::HWND oldPanel = panel->Handle();
  platform::HWND oldButton = button->Handle();
  EXPECT_EQ(TWinControl::FindControl(oldPanel), panel);
  EXPECT_EQ(platform::GetParent(oldButton), oldPanel);
  panel->RecreateWnd();
  EXPECT_FALSE(platform::IsWindow(oldPanel));
  EXPECT_FALSE(platform::IsWindow(oldButton));
  ASSERT_TRUE(button->HandleAllocated());
  EXPECT_EQ(platform::GetParent(button->Handle()), panel->Handle());
  EXPECT_EQ(TWinControl::FindControl(button->Handle()), button);
  platform::WCHAR text[16] = {};
  platform::GetWindowTextW(button->Handle(), text, 16);
  EXPECT_EQ(String(text), u"Go");
  EXPECT_EQ(TWinControl::FindControl(oldPanel), nullptr);
}

TEST(Controls, AlignPlacesControlsAroundTheClientArea) {
  ShownForm f(400, 300);
  f->SetClientWidth(300);
  f->SetClientHeight(200);
  EXPECT_EQ(f->ClientWidth(), 300);
  EXPECT_EQ(f->ClientHeight(), 200);
  auto* top = new TPanelLike(f.form);
  top->SetParent(f.form);
  top->SetHeight(30);
  top->SetAlign(alTop);
  auto* bottom = new TPanelLike(f.form);
  bottom->SetParent(f.form);
  bottom->SetHeight(20);
  bottom->SetAlign(alBottom);
  auto* left = new TSwatch(f.form, clRed);
  left->SetParent(f.form);
  left->SetWidth(40);
  left->SetAlign(alLeft);
  auto* client = new TPanelLike(f.form);
  client->SetParent(f.form);
  client->SetAlign(alClient);
  EXPECT_EQ(top->BoundsRect(), Rect(0, 0, 300, 30));
  EXPECT_EQ(bottom->BoundsRect(), Rect(0, 180, 300, 200));
  EXPECT_EQ(left->BoundsRect(), Rect(0, 30, 40, 180));
  EXPECT_EQ(client->BoundsRect(), Rect(40, 30, 300, 180));
  // A resize of the form re-aligns; a hidden control gives its room away.
  f->SetClientWidth(400);
  Pump();
  EXPECT_EQ(client->BoundsRect(), Rect(40, 30, 400, 180));
  top->Hide();
  EXPECT_EQ(left->BoundsRect(), Rect(0, 0, 40, 180));
  EXPECT_EQ(client->BoundsRect(), Rect(40, 0, 400, 180));
}

TEST(Controls, AnchorsFollowTheParentsSize) {
  ShownForm f;
  f->SetClientWidth(300);
  f->SetClientHeight(200);
  auto* right = new TButton(f.form);
  right->SetParent(f.form);
  right->SetBounds(200, 150, 80, 25);
  right->SetAnchors({akRight, akBottom});
  auto* stretch = new TPanelLike(f.form);
  stretch->SetParent(f.form);
  stretch->SetBounds(10, 10, 280, 50);
  stretch->SetAnchors({akLeft, akTop, akRight});
  auto* fixed = new TButton(f.form);
  fixed->SetParent(f.form);
  fixed->SetBounds(10, 100, 50, 20);
  f->SetClientWidth(400);
  f->SetClientHeight(260);
  Pump();
  EXPECT_EQ(right->BoundsRect(), Rect(300, 210, 380, 235));
  EXPECT_EQ(stretch->BoundsRect(), Rect(10, 10, 390, 60));
  EXPECT_EQ(fixed->BoundsRect(), Rect(10, 100, 60, 120));
  f->SetClientWidth(300);
  f->SetClientHeight(200);
  EXPECT_EQ(right->BoundsRect(), Rect(200, 150, 280, 175));
}

TEST(Controls, ParentColorAndFontFollowTheParentUntilSetOwnValues) {
  ShownForm f;
  auto* label = new TLabel(f.form);
  label->SetParent(f.form);
  EXPECT_TRUE(label->ParentColor());
  EXPECT_EQ(label->Color(), f->Color());
  f->SetColor(clYellow);
  EXPECT_EQ(label->Color(), clYellow);
  f->Font()->SetSize(14);
  EXPECT_EQ(label->Font()->Size(), 14);
  EXPECT_TRUE(label->ParentFont());
  label->Font()->SetStyle({fsBold});
  EXPECT_FALSE(label->ParentFont());
  f->Font()->SetSize(20);
  EXPECT_EQ(label->Font()->Size(), 14);
  label->SetColor(clRed);
  EXPECT_FALSE(label->ParentColor());
  f->SetColor(clBlue);
  EXPECT_EQ(label->Color(), clRed);
  label->SetParentColor(true);
  EXPECT_EQ(label->Color(), clBlue);
}

TEST(Controls, WindowlessControlsArePaintedByTheParentInZOrder) {
  ShownForm f;
  auto* below = new TSwatch(f.form, clRed);
  below->SetParent(f.form);
  below->SetBounds(10, 10, 60, 40);
  auto* above = new TSwatch(f.form, clLime);
  above->SetParent(f.form);
  above->SetBounds(40, 20, 60, 40);
  f->Update();
  Pump();
  EXPECT_GT(below->paints, 0);
  EXPECT_EQ(ClientPixel(*f.form, 15, 15), platform::RGB(255, 0, 0));
  EXPECT_EQ(ClientPixel(*f.form, 50, 30), platform::RGB(0, 255, 0));  // overlap: the later one
  EXPECT_EQ(ClientPixel(*f.form, 150, 150), ColorToRGB(clBtnFace));
  below->BringToFront();
  Pump();
  EXPECT_EQ(ClientPixel(*f.form, 50, 30), platform::RGB(255, 0, 0));
  below->Hide();
  Pump();
  EXPECT_EQ(ClientPixel(*f.form, 15, 15), ColorToRGB(clBtnFace));
}

TEST(Controls, ParentRoutesMouseToTheTopmostWindowlessControl) {
  ShownForm f;
  auto* below = new TSwatch(f.form, clRed);
  below->SetParent(f.form);
  below->SetBounds(10, 10, 60, 40);
  auto* above = new TSwatch(f.form, clLime);
  above->SetParent(f.form);
  above->SetBounds(40, 20, 60, 40);
  int clicks = 0;
  above->OnClick = [&](TObject* sender) {
    EXPECT_EQ(sender, above);
    ++clicks;
  };
  ClickAt(*f.form, 50, 30);
  ASSERT_EQ(above->downs.size(), 1u);
  EXPECT_EQ(above->downs[0], Point(10, 10));  // the control's own coordinates
  EXPECT_TRUE(below->downs.empty());
  EXPECT_EQ(clicks, 1);
  ClickAt(*f.form, 15, 15);
  EXPECT_EQ(below->downs.size(), 1u);
  // Disabled windowless controls let the click through to what lies below.
  above->SetEnabled(false);
  ClickAt(*f.form, 50, 30);
  EXPECT_EQ(below->downs.size(), 2u);
  EXPECT_EQ(clicks, 1);
}

TEST(Controls, ShownWindowedOverlayTakesClicksMeantForTheButtonBeneath) {
  ShownForm f;
  auto* button = new TButton(f.form);
  button->SetParent(f.form);
  button->SetBounds(20, 20, 100, 30);
  int buttonClicks = 0;
  button->OnClick = [&](TObject*) { ++buttonClicks; };
  auto* overlay = new TPanelLike(f.form);
  overlay->SetParent(f.form);
  overlay->SetBounds(0, 0, 200, 100);
  int overlayDowns = 0;
  overlay->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { ++overlayDowns; };
  Pump();
  ClickAt(*f.form, 50, 30);
  EXPECT_EQ(buttonClicks, 0);
  EXPECT_EQ(overlayDowns, 1);
  overlay->Hide();
  Pump();
  ClickAt(*f.form, 50, 30);
  EXPECT_EQ(buttonClicks, 1);
  EXPECT_EQ(overlayDowns, 1);
}

TEST(Controls, TabOrderMovesFocusAndSkipsUnfocusableControls) {
  ShownForm f;
  TButton* b[3];
  for (int i = 0; i < 3; ++i) {
    b[i] = new TButton(f.form);
    b[i]->SetParent(f.form);
    b[i]->SetBounds(10, 10 + 30 * i, 75, 25);
  }
  b[2]->SetTabOrder(0);
  EXPECT_EQ(b[2]->TabOrder(), 0);
  EXPECT_EQ(b[0]->TabOrder(), 1);
  b[2]->SetFocus();
  EXPECT_TRUE(b[2]->Focused());
  EXPECT_EQ(f->ActiveControl(), b[2]);
  platform::InjectKeyStroke(platform::VK_TAB);
  Pump();
  EXPECT_TRUE(b[0]->Focused());
  b[1]->SetEnabled(false);
  platform::InjectKeyStroke(platform::VK_TAB);
  Pump();
  EXPECT_TRUE(b[2]->Focused());
  EXPECT_THROW(b[1]->SetFocus(), EInvalidOperation);
  // The active control forgets a freed control.
  delete b[2];
  EXPECT_EQ(f->ActiveControl(), nullptr);
  std::vector<TWinControl*> tabList;
  f->GetTabOrderList(tabList);
  EXPECT_EQ(tabList, (std::vector<TWinControl*>{b[0], b[1]}));
}

TEST(Controls, AHandlerThatMovesAControlAwayWhileItIsRemovedLeavesItWithTheNewParent) {
  ShownForm f;
  auto* first = new TPanelLike(f.form);
  first->SetParent(f.form);
  auto* second = new TPanelLike(f.form);
  second->SetParent(f.form);
  auto* label = new TLabel(f.form);
  label->SetParent(first);
  bool moved = false;
  TWndMethod old = first->WindowProc;
  first->WindowProc = [&](TMessage& m) {
    if (m.Msg == CM_CONTROLCHANGE && m.LParam == 0 && !moved) {
      moved = true;
      label->SetParent(second);
    }
    old(m);
  };
  label->SetParent(nullptr);
  first->WindowProc = old;
  EXPECT_EQ(first->ControlCount(), 0);
  EXPECT_EQ(second->ControlCount(), 1);
  EXPECT_EQ(label->Parent(), second);
}

}  // namespace
}  // namespace kestrel
