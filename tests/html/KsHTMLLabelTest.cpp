// The HTML label on a shown form of the headless backend, driven by injected mouse input, on the
// fixed-metric test font (7 px a character, 14 px lines, a run one pixel wider than its text).

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controls/ColorMath.h"
#include "controls/KsHook.h"
#include "framework/Edit.h"
#include "framework/Panel.h"
#include "framework/TypeInfo.h"
#include "html/KsHTMLContainer.h"
#include "html/KsHTMLLabel.h"
#include "html/KsHTMLListItem.h"
#include "tests/framework/visual/VisualTestSupport.h"

namespace kestrel::testing {
namespace {

using platform::InjectMouseMove;

class KsHTMLLabelTest : public ::testing::Test {
 protected:
  TKsHTMLLabel* MakeLabel(const char* caption, int left = 10, int top = 10) {
    auto* label = new TKsHTMLLabel(form.form);
    label->SetParent(form.form);
    label->SetParentFont(false);
    label->Font()->SetName(u"Kestrel Fixed");
    label->Font()->SetHeight(-14);
    label->SetLeft(left);
    label->SetTop(top);
    label->SetCaption(Utf8ToUtf16(caption));
    label->OnLinkClick = [this](TObject*, const String& href) { links.push_back(Utf16ToUtf8(href)); };
    label->OnClick = [this](TObject*) { ++clicks; };
    Pump();
    return label;
  }
  void MoveTo(TControl* control, int x, int y) {
    InjectMouseMove(control->ClientToScreen(Point(x, y)));
    Pump();
  }
  platform::WORD ShownCursor() const { return platform::HeadlessBackend::Current()->CursorShape(); }

  ShownForm form{400, 300};
  std::vector<std::string> links;
  int clicks = 0;
};

TEST_F(KsHTMLLabelTest, HandOverLinksAndLinkClicksThroughTheMouse) {
  // "go " 0..22, link "here" 22..51, " now" 51..80.
  TKsHTMLLabel* label = MakeLabel("go <a href=\"target page\">here</a> now");
  EXPECT_EQ(label->Width(), 80);
  EXPECT_EQ(label->Height(), 14);
  MoveTo(label, 5, 5);
  EXPECT_EQ(label->TControl::Cursor(), crDefault);
  MoveTo(label, 30, 5);
  EXPECT_EQ(label->TControl::Cursor(), crHandPoint);
  EXPECT_EQ(ShownCursor(), 32649);  // at once, not only with the next move
  ClickAt(*label, 30, 5);
  EXPECT_EQ(links, std::vector<std::string>{"target page"});
  EXPECT_EQ(clicks, 0);  // never OnClick in HTML mode

  // The label's own cursor outside links, and again after the mouse left.
  label->SetCursor(crCross);
  EXPECT_EQ(label->TControl::Cursor(), crHandPoint);
  MoveTo(label, 70, 5);
  EXPECT_EQ(label->TControl::Cursor(), crCross);
  MoveTo(label, 30, 5);
  MoveTo(form.form, 300, 250);
  EXPECT_EQ(label->TControl::Cursor(), crCross);

  // Plain mode: no hand, and clicks are ordinary clicks.
  label->SetIsHTML(false);
  MoveTo(label, 30, 5);
  EXPECT_EQ(label->TControl::Cursor(), crCross);
  ClickAt(*label, 30, 5);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(links.size(), 1u);
}

// What a screen reader reads: the text without markup (a break as one new line) as the name and
// content, each link once with its target and place, even when its text is split into runs.
TEST_F(KsHTMLLabelTest, AccessibleTextAndLinks) {
  TKsHTMLLabel* label = MakeLabel(
      "<b>Go</b><br>to <a href=\"https://x.example/a\">the <i>first</i></a> or "
      "<a href=\"b\">second</a>");
  TAccessibleInfo info;
  label->GetAccessibleInfo(info);
  EXPECT_EQ(info.Role, TAccessibleRole::Label);
  EXPECT_EQ(info.Text, u"Go\nto the first or second");
  EXPECT_EQ(info.Name, info.Text);
  ASSERT_EQ(info.Links.size(), 2u);
  EXPECT_EQ(info.Links[0].Target, u"https://x.example/a");
  EXPECT_EQ(info.Text.substr(info.Links[0].Start, info.Links[0].End - info.Links[0].Start), u"the first");
  EXPECT_EQ(info.Links[1].Target, u"b");
  EXPECT_EQ(info.Text.substr(info.Links[1].Start, info.Links[1].End - info.Links[1].Start), u"second");
}

TEST_F(KsHTMLLabelTest, AClickTogglesACheckBoxOnceWhereverTheTextIsPlaced) {
  TKsHTMLLabel* label = MakeLabel("<input type=checkbox> box");
  label->SetAutoSize(false);
  label->SetBorderWidth(10);
  label->SetLayout(tlCenter);
  label->SetAlignment(taCenter);
  label->SetBounds(10, 10, 200, 100);
  Pump();
  auto* box = static_cast<TVnHTMLInputItem*>(label->Render()->Data()->Item(1));
  const TRect r = label->TextRectangle();
  EXPECT_EQ(r.left, (200 - label->TextRect().right) / 2);  // centred in the whole width
  EXPECT_EQ(r.top, 10 + (80 / 2 - 17 / 2));
  int checkedEvents = 0;
  label->Render()->OnInputItemChecked = [&](TObject*, TVnHTMLInputItem*) { ++checkedEvents; };
  ClickAt(*label, r.left + 8, r.top + 8);
  EXPECT_TRUE(box->Checked());
  EXPECT_EQ(checkedEvents, 1);
  // The same point in label coordinates, where the text is not, changes nothing.
  ClickAt(*label, 8, 8);
  EXPECT_TRUE(box->Checked());
  ClickAt(*label, r.left + 8, r.top + 8);
  EXPECT_FALSE(box->Checked());
  EXPECT_EQ(checkedEvents, 2);
  // The input under the mouse is the hot one.
  MoveTo(label, r.left + 8, r.top + 8);
  EXPECT_EQ(label->Render()->Data()->ActiveItem(), box);
}

TEST_F(KsHTMLLabelTest, AutoSizeAndWrapFollowTheWidth) {
  // Words of three characters: "aaa " is 28 px, a run of n characters n * 7 + 1.
  TKsHTMLLabel* label = MakeLabel("aaa bbb ccc ddd eee");
  EXPECT_EQ(label->Width(), 19 * 7 + 1);
  label->SetBorderWidth(16);
  EXPECT_EQ(label->Width(), 19 * 7 + 1 + 32);
  EXPECT_EQ(label->Height(), 14 + 32);

  label->SetWordWrap(true);
  struct Case {
    int width;
    int lines;
  };
  for (const Case& c : {Case{200, 1}, Case{32 + 90, 2}, Case{32 + 60, 3}, Case{32 + 30, 5}}) {
    label->SetWidth(c.width);
    EXPECT_EQ(label->Render()->Data()->LineCount(), c.lines) << c.width;
    EXPECT_EQ(label->Height(), c.lines * 14 + 32) << c.width;
    EXPECT_EQ(label->Width(), label->Render()->Data()->TextSize().cx + 32) << c.width;
  }

  // Without AutoSize the label keeps its size; the text still wraps to it.
  label->SetAutoSize(false);
  label->SetBorderWidth(0);
  label->SetBounds(10, 10, 60, 74);
  EXPECT_EQ(label->Render()->Data()->LineCount(), 3);
  EXPECT_EQ(label->Height(), 74);
  label->SetWordWrap(false);
  label->SetWidth(30);
  EXPECT_EQ(label->Render()->Data()->LineCount(), 1);
  EXPECT_EQ(label->PlainText(), u"aaa bbb ccc ddd eee");
}

TEST_F(KsHTMLLabelTest, SnippetsSwitchByLink) {
  auto* container = new TKsHTMLContainer(form.form);
  TKsHTMLListItem* first = container->Items()->Add();
  TKsHTMLListItem* second = container->Items()->Add();
  EXPECT_EQ(first->Name(), u"KsHTMLSnip0");
  EXPECT_EQ(second->Name(), u"KsHTMLSnip1");
  first->SetName(u"Page1");
  first->SetCaption(u"<a href=\"Page2\">next</a>");
  second->SetName(u"Page2");
  second->SetCaption(u"second <a href=\"Page1\">back</a>");

  TKsHTMLLabel* label = MakeLabel("own caption");
  label->SetContainer(container);
  EXPECT_EQ(label->PlainText(), u"next");
  ClickAt(*label, 10, 5);
  EXPECT_EQ(label->ContainerIndex(), 1);
  EXPECT_EQ(label->PlainText(), u"second back");
  EXPECT_TRUE(links.empty());

  // A changed snippet reaches the label through its change link.
  second->SetCaption(u"<a href=\"Page1\">back</a> again");
  EXPECT_EQ(label->PlainText(), u"back again");
  label->SetCheckContainerLinks(false);
  ClickAt(*label, 10, 5);
  EXPECT_EQ(links, std::vector<std::string>{"Page1"});
  EXPECT_EQ(label->ContainerIndex(), 1);

  // Out of range, or without the container, the label's own caption shows.
  label->SetContainerIndex(5);
  EXPECT_EQ(label->PlainText(), u"own caption");
  label->SetContainerIndex(0);
  delete container;
  EXPECT_EQ(label->Container(), nullptr);
  EXPECT_EQ(label->PlainText(), u"own caption");
}

TEST_F(KsHTMLLabelTest, ADisabledLabelLightensItsTextHalfwayToWhite) {
  TKsHTMLLabel* label = MakeLabel("a<a href=x>b</a>", 20, 30);
  label->SetEnabled(false);
  Pump();
  // Solid character boxes: column 3, row 5 of each character.
  EXPECT_EQ(ClientPixel(*form.form, 20 + 3, 30 + 5), ColorToRGB(LightenColor(clGrayText, 50)));
  EXPECT_EQ(ClientPixel(*form.form, 20 + 8 + 3, 30 + 5), ColorToRGB(LightenColor(clBlue, 50)));
  label->SetEnabled(true);
  Pump();
  EXPECT_EQ(ClientPixel(*form.form, 20 + 3, 30 + 5), ColorToRGB(clWindowText));
}

TEST_F(KsHTMLLabelTest, PublishedDefaultsAndTheLegacyThemeSwitch) {
  TKsHTMLLabel* label = MakeLabel("");
  EXPECT_TRUE(label->IsHTML());
  EXPECT_TRUE(label->Transparent());
  EXPECT_TRUE(label->AutoSize());
  EXPECT_FALSE(label->WordWrap());
  EXPECT_EQ(label->LinkColor(), clBlue);
  EXPECT_EQ(label->LinkStyle(), TFontStyles{fsUnderline});
  EXPECT_EQ(label->ThemeMode(), ttmPlatform);
  EXPECT_TRUE(label->UseXPThemes());
  label->SetUseXPThemes(false);
  EXPECT_EQ(label->ThemeMode(), ttmNone);
  EXPECT_FALSE(label->UseXPThemes());
  const TPropInfo* prop = GetPropInfo(label, u"Transparent");
  ASSERT_NE(prop, nullptr);
  EXPECT_EQ(prop->OrdDefault, 1);
  EXPECT_EQ(GetPropInfo(label, u"CheckContainerLinks")->OrdDefault, 1);

  // At design time the caption follows the name while it equals it.
  label->SetDesigning(true);
  label->SetName(u"First");
  label->SetCaption(u"First");
  label->SetName(u"Second");
  EXPECT_EQ(label->Caption(), u"Second");
  label->SetCaption(u"own");
  label->SetName(u"Third");
  EXPECT_EQ(label->Caption(), u"own");
}

// Handlers may free what raised them: the label from a link click or a right-button release,
// the input item (a new caption re-prepares the text) from its checked and changed events.
TEST_F(KsHTMLLabelTest, HandlersMayFreeTheLabelOrTheItemTheyAreToldAbout) {
  TKsHTMLLabel* label = MakeLabel("go <a href=\"x\">here</a> now");
  label->OnLinkClick = [&](TObject*, const String&) { delete label; };
  ClickAt(*label, 30, 5);
  EXPECT_EQ(form.form->ControlCount(), 0);

  label = MakeLabel("go <a href=\"x\">here</a> now");
  label->OnMouseUp = [&](TObject*, TMouseButton, TShiftState, int, int) { delete label; };
  ClickAt(*label, 30, 5, platform::MouseButton::Right);
  EXPECT_EQ(form.form->ControlCount(), 0);

  label = MakeLabel("<input type=checkbox value=a> box");
  int changes = 0;
  label->Render()->OnInputItemChecked = [&](TObject*, TVnHTMLInputItem*) { label->SetCaption(u"<b>new</b>"); };
  label->Render()->OnInputItemTextChanged = [&](TObject*, TVnHTMLInputItem*) { label->SetCaption(u"other"); };
  ClickAt(*label, label->TextRectangle().left + 6, label->TextRectangle().top + 6);
  EXPECT_EQ(label->Caption(), u"<b>new</b>");
  label->SetCaption(u"<input type=checkbox value=a>");
  auto* box = static_cast<TVnHTMLInputItem*>(label->Render()->Data()->Item(1));
  label->Render()->OnChange = [&](TObject*) { ++changes; };
  box->SetValue(u"b");
  EXPECT_EQ(label->Caption(), u"other");
  EXPECT_EQ(changes, 1);  // OnChange still follows, from the renderer

  // An input event that frees the label (and with it the renderer) ends the report.
  label->Render()->OnInputItemChecked = [&](TObject*, TVnHTMLInputItem*) { delete label; };
  label->SetCaption(u"<input type=checkbox>");
  TVnHTMLRender* render = label->Render();
  static_cast<TVnHTMLInputItem*>(render->Data()->Item(1))->SetChecked(true);
  EXPECT_EQ(form.form->ControlCount(), 0);
}

TEST_F(KsHTMLLabelTest, TheAcceleratorFocusesTheFocusControlUntilItIsFreed) {
  TKsHTMLLabel* label = MakeLabel("&Name");
  label->SetIsHTML(false);
  auto* first = new TEdit(form.form);
  first->SetParent(form.form);
  auto* target = new TEdit(form.form);
  target->SetParent(form.form);
  target->SetTop(100);
  label->SetFocusControl(target);
  first->SetFocus();
  Pump();
  platform::SendMessageW(first->Handle(), platform::WM_SYSCHAR, u'x', 0);
  EXPECT_TRUE(first->Focused());
  platform::SendMessageW(first->Handle(), platform::WM_SYSCHAR, u'n', 0);
  EXPECT_TRUE(target->Focused());
  delete target;
  EXPECT_EQ(label->FocusControl(), nullptr);
}

TEST(HTMLRenderHostTest, TheRendererSharesTheHostsHookChainAndForgetsAFreedHost) {
  TVnHTMLRender render;
  auto* host = new TPanel(nullptr);
  render.SetControl(host);
  TKsHook later(nullptr);
  int seen = 0;
  later.OnBeforeProcess = [&](TObject*, TMessage& m, bool&) { seen += m.Msg == platform::WM_USER ? 1 : 0; };
  later.SetControl(host);
  later.SetActive(true);
  // The renderer leaves first; the hook attached after it stays in the chain.
  render.SetControl(nullptr);
  host->Perform(platform::WM_USER);
  EXPECT_EQ(seen, 1);
  render.SetControl(host);
  later.SetActive(false);
  ASSERT_NE(TKsHookList::Instance(), nullptr);
  EXPECT_EQ(TKsHookList::Instance()->Count(), 1);
  delete host;
  EXPECT_EQ(render.Control(), nullptr);
  EXPECT_EQ(TKsHookList::Instance()->Count(), 0);
}

}  // namespace
}  // namespace kestrel::testing
