// Context menus: where right clicks and the keyboard's menu requests go, and how a popup menu's
// own loop behaves when it is asked again, replaced or ended from outside.

#include <gtest/gtest.h>

#include "VisualTestSupport.h"
#include "framework/Edit.h"
#include "framework/GraphicControl.h"
#include "framework/PopupMenu.h"

namespace kestrel {
namespace {

using platform::InjectKey;
using platform::InjectKeyStroke;
using platform::MouseButton;
using testing::ClickAt;
using testing::Pump;
using testing::RunModal;
using testing::ShownForm;

class ContextMenuTest : public ::testing::Test {
 protected:
  ContextMenuTest() {
    shape = new TGraphicControl(form.form);
    shape->SetParent(form.form);
    shape->SetBounds(20, 20, 60, 40);
    edit = new TEdit(form.form);
    edit->SetParent(form.form);
    edit->SetBounds(120, 20, 100, 24);
    formMenu = MakeMenu();
    shapeMenu = MakeMenu();
    form->SetPopupMenu(formMenu);
    shape->SetPopupMenu(shapeMenu);
    Pump();
  }
  TPopupMenu* MakeMenu() {
    auto* menu = new TPopupMenu(form.form);
    auto* item = new TMenuItem(nullptr);
    item->SetCaption(u"Item");
    menu->Items()->Add(item);
    menu->OnPopup = [this](TObject* sender) { opened.push_back(static_cast<TPopupMenu*>(sender)); };
    return menu;
  }
  // Runs `request`, which must open exactly `expected` (or nothing), closes it and tells where
  // its first item lay.
  TRect Request(const std::function<void()>& request, TPopupMenu* expected) {
    opened.clear();
    TRect at{};
    std::vector<std::function<void()>> steps;
    if (expected)
      steps.push_back([&] {
        at = expected->ItemRect(expected->Items()->Items(0));
        InjectKeyStroke(platform::VK_ESCAPE);
      });
    RunModal(request, steps, [&] {
      for (TPopupMenu* m : opened) m->CloseMenu();
    });
    EXPECT_EQ(opened, expected ? std::vector<TPopupMenu*>{expected} : std::vector<TPopupMenu*>{});
    return at;
  }

  ShownForm form{300, 200};
  TGraphicControl* shape;
  TEdit* edit;
  TPopupMenu* formMenu;
  TPopupMenu* shapeMenu;
  std::vector<TPopupMenu*> opened;
};

TEST_F(ContextMenuTest, ARightClickAsksTheWindowlessControlFirstThenItsParent) {
  auto rightClick = [this](const TControl& c, int x, int y) { return [&c, x, y] { ClickAt(c, x, y, MouseButton::Right); }; };
  const TPoint shapeCorner = shape->ClientToScreen(Point(0, 0));
  TRect at = Request(rightClick(*shape, 10, 5), shapeMenu);
  EXPECT_EQ(at.left, shapeCorner.x + 10 + 2);  // at the mouse, inside the menu's border
  EXPECT_EQ(shapeMenu->PopupComponent(), shape);

  // OnContextPopup sees the client point first and may keep every menu away.
  TPoint seen{};
  bool handle = true;
  shape->OnContextPopup = [&](TObject*, TPoint p, bool& handled) {
    seen = p;
    handled = handle;
  };
  Request(rightClick(*shape, 10, 5), nullptr);
  EXPECT_EQ(seen, Point(10, 5));
  // Unhandled, without a menu of its own, the request goes on to the parent.
  handle = false;
  shape->SetPopupMenu(nullptr);
  Request(rightClick(*shape, 10, 5), formMenu);
  EXPECT_EQ(formMenu->PopupComponent(), form.form);
  Request(rightClick(*form.form, 200, 150), formMenu);
  // A disabled control is passed over, and a freed menu forgotten.
  shape->SetPopupMenu(shapeMenu);
  shape->SetEnabled(false);
  Request(rightClick(*shape, 10, 5), formMenu);
  delete shapeMenu;
  EXPECT_EQ(shape->PopupMenu(), nullptr);
}

TEST_F(ContextMenuTest, TheMenuKeyAndShiftF10AskTheFocusedControlAtItsCorner) {
  auto* editMenu = MakeMenu();
  edit->SetPopupMenu(editMenu);
  edit->SetFocus();
  Pump();
  const TPoint corner = edit->ClientToScreen(Point(0, 0));
  TRect at = Request([] { InjectKeyStroke(platform::VK_APPS); Pump(); }, editMenu);
  EXPECT_EQ(at.left, corner.x + 2);
  EXPECT_EQ(at.top, corner.y + 2);
  EXPECT_TRUE(edit->Focused());  // the menu took no focus
  auto shiftF10 = [] {
    InjectKey(platform::VK_SHIFT, true);
    InjectKeyStroke(platform::VK_F10);
    InjectKey(platform::VK_SHIFT, false);
    Pump();
  };
  Request(shiftF10, editMenu);
  // Without a menu of its own the edit's request goes to the form, at the form's corner.
  edit->SetPopupMenu(nullptr);
  at = Request(shiftF10, formMenu);
  EXPECT_EQ(at.left, form->ClientToScreen(Point(0, 0)).x + 2);
  Request([] { InjectKeyStroke(platform::VK_F10); Pump(); }, nullptr);  // F10 alone asks nothing
}

TEST_F(ContextMenuTest, PopupAgainMovesTheOpenMenuAndAnotherMenuReplacesIt) {
  int clicks = 0;
  shapeMenu->Items()->Items(0)->OnClick = [&](TObject*) { ++clicks; };
  formMenu->Items()->Items(0)->OnClick = [&](TObject*) { ++clicks; };
  std::vector<std::string> order;
  RunModal([&] {
             shapeMenu->Popup(100, 100);
             order.push_back("first returned");
           },
           {[&] {
              shapeMenu->Popup(300, 300);  // returns at once; the same loop goes on
              order.push_back("moved");
              EXPECT_EQ(shapeMenu->ItemRect(shapeMenu->Items()->Items(0)).left, 302);
            },
            [&] {
              formMenu->Popup(50, 50);  // closes the first menu, then runs its own loop
              order.push_back("second returned");
            },
            [&] {
              EXPECT_FALSE(shapeMenu->IsShown());
              EXPECT_TRUE(formMenu->IsShown());
              InjectKeyStroke(platform::VK_DOWN);
            },
            [] { InjectKeyStroke(platform::VK_RETURN); }},
           [&] {
             formMenu->CloseMenu();
             shapeMenu->CloseMenu();
           });
  EXPECT_EQ(order, (std::vector<std::string>{"moved", "second returned", "first returned"}));
  EXPECT_EQ(clicks, 1);  // only the second menu's choice
}

TEST_F(ContextMenuTest, TerminatingTheApplicationClosesTheMenu) {
  ::testing::FLAGS_gtest_death_test_style = "threadsafe";
  EXPECT_EXIT(
      {
        RunModal([&] { shapeMenu->Popup(100, 100); }, {[] { Application()->Terminate(); }},
                 [&] { shapeMenu->CloseMenu(); });
        std::_Exit(!shapeMenu->IsShown() && Application()->Terminated() ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace kestrel
