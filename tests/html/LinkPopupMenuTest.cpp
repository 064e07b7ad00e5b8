// The label's link menu and its style manager, on a shown form of the headless backend driven by
// injected input (fixed-metric test font: 7 px a character, 14 px lines).

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/KsStyleManager.h"
#include "framework/Exceptions.h"
#include "framework/PopupMenu.h"
#include "html/KsHTMLLabel.h"
#include "tests/framework/visual/VisualTestSupport.h"

namespace kestrel::testing {
namespace {

using platform::InjectClick;
using platform::InjectKeyStroke;
using platform::MouseButton;

class LinkPopupMenuTest : public ::testing::Test {
 protected:
  LinkPopupMenuTest() {
    // "go " 0..22, link "here" 22..51, " now" 51..80.
    label = new TKsHTMLLabel(form.form);
    label->SetParent(form.form);
    label->SetParentFont(false);
    label->Font()->SetName(u"Kestrel Fixed");
    label->Font()->SetHeight(-14);
    label->SetBounds(10, 10, 0, 0);
    label->SetCaption(u"go <a href=\"x\">here</a> now");
    menu = new TPopupMenu(form.form);
    for (const char16_t* caption : {u"Open", u"-", u"Disabled", u"Copy"}) {
      auto* item = new TMenuItem(nullptr);
      item->SetCaption(caption);
      item->SetEnabled(std::u16string_view(caption) != u"Disabled");
      item->OnClick = [this](TObject* sender) { chosen.push_back(static_cast<TMenuItem*>(sender)->Caption()); };
      menu->Items()->Add(item);
    }
    label->SetLinkPopupMenu(menu);
    label->OnMouseUp = [this](TObject*, TMouseButton button, TShiftState, int, int) {
      if (button == mbRight) ++rightReleases;
    };
    Pump();
  }
  void RightClick(int x, int y) {
    InjectClick(ScreenPointOf(*label, x, y), MouseButton::Right);
    Pump();
  }
  void Key(int vk) {
    InjectKeyStroke(vk);
    Pump();
  }

  ShownForm form{400, 300};
  TKsHTMLLabel* label;
  TPopupMenu* menu;
  std::vector<String> chosen;
  int rightReleases = 0;
};

TEST_F(LinkPopupMenuTest, ARightClickOnALinkShowsTheMenuThere) {
  RightClick(5, 5);  // not on the link
  EXPECT_FALSE(menu->IsShown());
  RightClick(30, 5);
  EXPECT_EQ(rightReleases, 2);  // OnMouseUp first, in both cases
  ASSERT_TRUE(menu->IsShown());
  EXPECT_EQ(menu->PopupComponent(), label);

  // Keyboard: Down lands on "Open", Up wraps to "Copy" over the disabled item and the line.
  Key(platform::VK_DOWN);
  Key(platform::VK_UP);
  Key(platform::VK_RETURN);
  EXPECT_FALSE(menu->IsShown());
  EXPECT_EQ(chosen, std::vector<String>{u"Copy"});

  // Escape closes without a choice; so does a press outside the menu.
  RightClick(30, 5);
  Key(platform::VK_ESCAPE);
  EXPECT_FALSE(menu->IsShown());
  RightClick(30, 5);
  InjectClick(ScreenPointOf(*form.form, 350, 250));
  Pump();
  EXPECT_FALSE(menu->IsShown());
  EXPECT_EQ(chosen.size(), 1u);

  // A context-menu request over the link is offered to OnContextPopup first.
  bool handle = true;
  label->OnContextPopup = [&](TObject*, TPoint, bool& handled) { handled = handle; };
  const platform::POINT onLink = ScreenPointOf(*label, 30, 5);
  const platform::LPARAM at =
      platform::MAKELPARAM(static_cast<platform::WORD>(onLink.x), static_cast<platform::WORD>(onLink.y));
  EXPECT_EQ(label->Perform(platform::WM_CONTEXTMENU, 0, at), 1);
  EXPECT_FALSE(menu->IsShown());
  handle = false;
  EXPECT_EQ(label->Perform(platform::WM_CONTEXTMENU, 0, at), 1);
  EXPECT_TRUE(menu->IsShown());
  menu->CloseMenu();

  // Without automatic popup, or in plain mode, a right click on a link shows nothing.
  menu->SetAutoPopup(false);
  RightClick(30, 5);
  EXPECT_FALSE(menu->IsShown());
  menu->SetAutoPopup(true);
  label->SetIsHTML(false);
  RightClick(30, 5);
  EXPECT_FALSE(menu->IsShown());
}

TEST_F(LinkPopupMenuTest, TheMouseChoosesOnlyEnabledItems) {
  RightClick(30, 5);
  ASSERT_TRUE(menu->IsShown());
  // The menu's top-left corner is where the mouse was (inside its border).
  const platform::POINT corner = ScreenPointOf(*label, 30, 5);
  const TRect open = menu->ItemRect(menu->Items()->Items(0));
  EXPECT_EQ(open.left, corner.x + 2);
  EXPECT_EQ(open.top, corner.y + 2);
  auto clickEntry = [&](int index) {
    const TRect r = menu->ItemRect(menu->Items()->Items(index));
    InjectClick(platform::POINT{r.left + 10, (r.top + r.bottom) / 2});
    Pump();
  };
  clickEntry(2);  // "Disabled": nothing happens, the menu stays
  EXPECT_TRUE(menu->IsShown());
  clickEntry(1);  // the separator line
  EXPECT_TRUE(menu->IsShown());
  clickEntry(0);
  EXPECT_FALSE(menu->IsShown());
  EXPECT_EQ(chosen, std::vector<String>{u"Open"});

  // A menu that goes away is forgotten by the label.
  delete menu;
  EXPECT_EQ(label->LinkPopupMenu(), nullptr);
  RightClick(30, 5);
}

TEST(MenuItem, AnItemBelongsToOneMenuOnly) {
  // An item an owner component frees, or one already in a menu, would be freed twice.
  TComponent owner(nullptr);
  TMenuItem root(nullptr);
  EXPECT_THROW(root.Add(new TMenuItem(&owner)), EInvalidOperation);
  auto* item = new TMenuItem(nullptr);
  root.Add(item);
  TMenuItem other(nullptr);
  EXPECT_THROW(other.Add(item), EInvalidOperation);
  EXPECT_EQ(root.Count(), 1);
  EXPECT_EQ(item->Parent(), &root);
  EXPECT_EQ(other.Count(), 0);
}

// A manager that records what it is asked to apply.
class RecordingStyleManager : public TKsStyleManager {
 public:
  using TKsStyleManager::TKsStyleManager;
  void ApplyStyle(TComponent* component, const String& styleName) override {
    applied.emplace_back(component, styleName);
  }
  std::vector<std::pair<TComponent*, String>> applied;
};

TEST(KsLabelStyleManager, StylesAreAppliedWhenManagerNameOrSheetChange) {
  ShownForm form;
  auto* label = new TKsHTMLLabel(form.form);
  EXPECT_EQ(label->StyleManager(), DefaultStyleManager());  // outside design mode
  auto* manager = new RecordingStyleManager(form.form);
  label->SetStyleManager(manager);
  label->SetStyleName(u".Header");
  label->SetStyleName(u".Header");  // unchanged: not applied again
  manager->Change();
  using Applied = std::vector<std::pair<TComponent*, String>>;
  EXPECT_EQ(manager->applied, (Applied{{label, u""}, {label, u".Header"}, {label, u".Header"}}));
  // A freed manager is dropped, and its successor hears nothing from the label's old link.
  delete manager;
  EXPECT_EQ(label->StyleManager(), nullptr);
  label->SetStyleName(u".Other");
}

}  // namespace
}  // namespace kestrel::testing
