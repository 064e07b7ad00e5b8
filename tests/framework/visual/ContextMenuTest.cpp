// Context menus: where right clicks and the keyboard's menu requests go, and how a popup menu's
// own loop behaves when it is asked again, replaced or ended from outside.

#include <gtest/gtest.h>

#include <string>

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

TEST_F(ContextMenuTest, RightClicksAskTheWindowlessControlFirstKeysTheFocusedOne) {
  auto rightClick = [this] { ClickAt(*shape, 10, 5, MouseButton::Right); };
  TRect at = Request(rightClick, shapeMenu);
  EXPECT_EQ(at.left, shape->ClientToScreen(Point(10, 0)).x + 2);  // at the mouse, inside the border
  EXPECT_EQ(shapeMenu->PopupComponent(), shape);
  // OnContextPopup sees the client point first and may keep every menu away; unhandled, without
  // a menu of its own, the control leaves the request to its parent.
  TPoint seen{};
  bool handle = true;
  shape->OnContextPopup = [&](TObject*, TPoint p, bool& handled) {
    seen = p;
    handled = handle;
  };
  Request(rightClick, nullptr);
  EXPECT_EQ(seen, Point(10, 5));
  handle = false;
  shape->SetPopupMenu(nullptr);
  Request(rightClick, formMenu);

  // The menu key asks the focused control, whose menu opens at its corner; Shift+F10 without a
  // menu of the edit's own goes on to the form.
  edit->SetPopupMenu(shapeMenu);
  edit->SetFocus();
  at = Request(
      [] {
        InjectKeyStroke(platform::VK_APPS);
        Pump();
      },
      shapeMenu);
  EXPECT_EQ(at.left, edit->ClientToScreen(Point(0, 0)).x + 2);
  EXPECT_TRUE(edit->Focused());  // the menu took no focus
  edit->SetPopupMenu(nullptr);
  Request(
      [] {
        InjectKey(platform::VK_SHIFT, true);
        InjectKeyStroke(platform::VK_F10);
        InjectKey(platform::VK_SHIFT, false);
        Pump();
      },
      formMenu);
}

TEST_F(ContextMenuTest, PopupAgainMovesTheOpenMenuAndAnotherMenuReplacesIt) {
  int clicks = 0;
  formMenu->Items()->Items(0)->OnClick = [&](TObject*) { ++clicks; };
  std::vector<std::string> order;
  auto closeBoth = [&] {
    formMenu->CloseMenu();
    shapeMenu->CloseMenu();
  };
  RunModal([&] { shapeMenu->Popup(100, 100), order.push_back("first returned"); },
           {[&] {
              shapeMenu->Popup(300, 300);  // returns at once; the same loop goes on
              EXPECT_EQ(shapeMenu->ItemRect(shapeMenu->Items()->Items(0)).left, 302);
              formMenu->Popup(50, 50);  // closes the first menu, then runs a loop of its own
              order.push_back("second returned");
            },
            [] { InjectKeyStroke(platform::VK_DOWN); }, [] { InjectKeyStroke(platform::VK_RETURN); }},
           closeBoth);
  EXPECT_EQ(order, (std::vector<std::string>{"second returned", "first returned"}));
  EXPECT_EQ(clicks, 1);
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
