// The label's link menu and its style manager, on a shown form of the headless backend driven by
// injected input (fixed-metric test font: 7 px a character, 14 px lines).

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
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
    for (const char16_t* caption : {u"&Open", u"-", u"Disabled", u"&Copy"}) {
      auto* item = new TMenuItem(nullptr);
      item->SetCaption(caption);
      item->SetEnabled(std::u16string_view(caption) != u"Disabled");
      item->OnClick = [this](TObject* sender) {
        chosen.push_back(static_cast<TMenuItem*>(sender)->Caption());
        shownAtClick = menu->IsShown();
      };
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
  // A right click that opens the link menu, then `steps` inside its loop.
  void RightClickMenu(int x, int y, std::vector<std::function<void()>> steps, int line = __builtin_LINE()) {
    SCOPED_TRACE(::testing::Message() << "menu opened on line " << line);
    RunModal([&] { RightClick(x, y); }, std::move(steps), [this] { menu->CloseMenu(); });
  }
  void RightClickNoMenu(int x, int y, int line = __builtin_LINE()) { RightClickMenu(x, y, {}, line); }

  ShownForm form{400, 300};
  TKsHTMLLabel* label;
  TPopupMenu* menu;
  std::vector<String> chosen;
  bool shownAtClick = true;
  int rightReleases = 0;
};

TEST_F(LinkPopupMenuTest, ARightClickOnALinkRunsTheMenuUntilItCloses) {
  RightClickNoMenu(5, 5);  // not on the link
  EXPECT_EQ(rightReleases, 1);

  // Keyboard: Down lands on "Open", Up wraps to "Copy" over the disabled item and the line.
  // The form stays active and keeps the focus while its menu is open.
  const platform::HWND formWindow = form->Handle();
  RightClickMenu(30, 5,
                 {[&] {
                    EXPECT_TRUE(menu->IsShown());
                    EXPECT_EQ(rightReleases, 2);  // OnMouseUp first
                    EXPECT_EQ(menu->PopupComponent(), label);
                    EXPECT_EQ(platform::GetActiveWindow(), formWindow);
                    EXPECT_EQ(platform::GetFocus(), formWindow);
                    InjectKeyStroke(platform::VK_DOWN);
                  },
                  [] { InjectKeyStroke(platform::VK_UP); }, [] { InjectKeyStroke(platform::VK_RETURN); }});
  EXPECT_FALSE(menu->IsShown());
  EXPECT_EQ(chosen, std::vector<String>{u"&Copy"});
  EXPECT_FALSE(shownAtClick);  // the item's OnClick runs once the menu has gone

  // Escape closes without a choice; so do a press outside the menu and the form losing
  // activation. An accelerator chooses its item.
  RightClickMenu(30, 5, {[] { InjectKeyStroke(platform::VK_ESCAPE); }});
  RightClickMenu(30, 5, {[&] { InjectClick(ScreenPointOf(*form.form, 350, 250)); }});
  ShownForm other{100, 100};
  other->SetBounds(600, 400, 100, 100);  // clear of the label
  RightClickMenu(30, 5, {[&] { platform::SetActiveWindow(other->Handle()); }});
  EXPECT_EQ(chosen.size(), 1u);
  platform::SetActiveWindow(formWindow);
  RightClickMenu(30, 5, {[] { InjectKeyStroke('O'); }});
  EXPECT_EQ(chosen, (std::vector<String>{u"&Copy", u"&Open"}));

  // A context-menu request over the link is offered to OnContextPopup first.
  bool handle = true;
  label->OnContextPopup = [&](TObject*, TPoint, bool& handled) { handled = handle; };
  const platform::POINT onLink = ScreenPointOf(*label, 30, 5);
  const platform::LPARAM at =
      platform::MAKELPARAM(static_cast<platform::WORD>(onLink.x), static_cast<platform::WORD>(onLink.y));
  platform::LRESULT result = 0;
  RunModal([&] { result = label->Perform(platform::WM_CONTEXTMENU, 0, at); }, {}, [&] { menu->CloseMenu(); });
  EXPECT_EQ(result, 1);
  handle = false;
  RunModal([&] { result = label->Perform(platform::WM_CONTEXTMENU, 0, at); }, {[&] {
             EXPECT_TRUE(menu->IsShown());
             menu->CloseMenu();
           }},
           [&] { menu->CloseMenu(); });
  EXPECT_EQ(result, 1);

  // Without automatic popup, or in plain mode, a right click on a link shows nothing; neither
  // does one on a label whose controls have no standard events, but without OnMouseUp.
  menu->SetAutoPopup(false);
  RightClickNoMenu(30, 5);
  menu->SetAutoPopup(true);
  label->SetControlStyle(label->ControlStyle() + TControlStyle{csNoStdEvents});
  const int releases = rightReleases;
  RightClickMenu(30, 5, {[&] { menu->CloseMenu(); }});
  EXPECT_EQ(rightReleases, releases);
  label->SetIsHTML(false);
  RightClickNoMenu(30, 5);
}

TEST_F(LinkPopupMenuTest, TheMouseChoosesOnlyEnabledItems) {
  const platform::POINT corner = ScreenPointOf(*label, 30, 5);
  auto clickEntry = [&](int index) {
    const TRect r = menu->ItemRect(menu->Items()->Items(index));
    InjectClick(platform::POINT{r.left + 10, (r.top + r.bottom) / 2});
  };
  RightClickMenu(30, 5,
                 {[&] {
                    // The menu's top-left corner is where the mouse was (inside its border).
                    const TRect open = menu->ItemRect(menu->Items()->Items(0));
                    EXPECT_EQ(open.left, corner.x + 2);
                    EXPECT_EQ(open.top, corner.y + 2);
                    clickEntry(2);  // "Disabled": nothing happens, the menu stays
                  },
                  [&] {
                    EXPECT_TRUE(menu->IsShown());
                    clickEntry(1);  // the separator line
                  },
                  [&] {
                    EXPECT_TRUE(menu->IsShown());
                    clickEntry(0);
                  }});
  EXPECT_EQ(chosen, std::vector<String>{u"&Open"});

  // A menu that goes away is forgotten by the label.
  delete menu;
  EXPECT_EQ(label->LinkPopupMenu(), nullptr);
  RightClickNoMenu(30, 5);
}

TEST_F(LinkPopupMenuTest, LabelMenuAndFormMayGoWhileTheMenuIsOpen) {
  // The label freed while its menu is open: the menu goes on and forgets it.
  RightClickMenu(30, 5,
                 {[&] { delete label; }, [] { InjectKeyStroke(platform::VK_DOWN); },
                  [&] {
                    EXPECT_EQ(menu->PopupComponent(), nullptr);
                    InjectKeyStroke(platform::VK_RETURN);
                  }});
  EXPECT_EQ(chosen, std::vector<String>{u"&Open"});

  // The menu freed from inside its own loop.
  label = new TKsHTMLLabel(form.form);
  label->SetParent(form.form);
  label->SetCaption(u"<a href=\"x\">link</a>");
  label->SetLinkPopupMenu(menu);
  RightClickMenu(5, 5, {[&] { delete menu; }});
  EXPECT_EQ(label->LinkPopupMenu(), nullptr);

  // The form that owns label and menu freed by the chosen item.
  ShownForm doomed{200, 100};
  auto* other = new TKsHTMLLabel(doomed.form);
  other->SetParent(doomed.form);
  other->SetCaption(u"<a href=\"x\">link</a>");
  auto* owned = new TPopupMenu(doomed.form);
  auto* item = new TMenuItem(nullptr);
  item->SetCaption(u"Close");
  item->OnClick = [&](TObject*) {
    // This handler goes with the form: nothing it captured is read after the delete.
    TForm* form = std::exchange(doomed.form, nullptr);
    form->BeforeDestruction();
    delete form;
  };
  owned->Items()->Add(item);
  other->SetLinkPopupMenu(owned);
  RunModal([&] { ClickAt(*other, 5, 5, MouseButton::Right); },
           {[] { InjectKeyStroke(platform::VK_DOWN); }, [] { InjectKeyStroke(platform::VK_RETURN); }},
           [&] { owned->CloseMenu(); });
  EXPECT_EQ(doomed.form, nullptr);
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
  manager->BeginUpdate();
  manager->EndUpdate();
  using Applied = std::vector<std::pair<TComponent*, String>>;
  EXPECT_EQ(manager->applied, (Applied{{label, u""}, {label, u".Header"}, {label, u".Header"}}));
  // A freed manager is dropped, and its successor (often made where it was) hears nothing from
  // the label's old link.
  delete manager;
  EXPECT_EQ(label->StyleManager(), nullptr);
  auto* successor = new RecordingStyleManager(form.form);
  label->SetStyleName(u".Other");
  EXPECT_EQ(successor->applied, Applied{});
}

}  // namespace
}  // namespace kestrel::testing
