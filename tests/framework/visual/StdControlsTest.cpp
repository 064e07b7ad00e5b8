#include <gtest/gtest.h>

#include "VisualTestSupport.h"
#include "framework/Button.h"
#include "framework/CheckBox.h"
#include "framework/Edit.h"
#include "framework/Label.h"
#include "framework/RadioButton.h"

namespace kestrel {
namespace {

using testing::ClickAt;
using testing::Pump;
using testing::ShownForm;

TEST(StdControls, ButtonClicksByMouseSpaceAndDialogKeys) {
  ShownForm f;
  auto* ok = new TButton(f.form);
  ok->SetParent(f.form);
  ok->SetBounds(10, 10, 75, 25);
  ok->SetDefault(true);
  auto* cancel = new TButton(f.form);
  cancel->SetParent(f.form);
  cancel->SetBounds(100, 10, 75, 25);
  cancel->SetCancel(true);
  auto* edit = new TEdit(f.form);
  edit->SetParent(f.form);
  edit->SetBounds(10, 50, 100, 21);
  int okClicks = 0, cancelClicks = 0;
  ok->OnClick = [&](TObject*) { ++okClicks; };
  cancel->OnClick = [&](TObject*) { ++cancelClicks; };
  ClickAt(*ok, 5, 5);
  EXPECT_EQ(okClicks, 1);
  // Pressed inside, released outside: no click.
  platform::InjectMouseButton(platform::MouseButton::Left, true, ok->ClientToScreen(Point(5, 5)));
  platform::InjectMouseButton(platform::MouseButton::Left, false, ok->ClientToScreen(Point(200, 5)));
  Pump();
  EXPECT_EQ(okClicks, 1);
  cancel->SetFocus();
  platform::InjectKeyStroke(platform::VK_SPACE);
  Pump();
  EXPECT_EQ(cancelClicks, 1);
  // Enter in the edit box presses the default button, Escape the cancel button.
  edit->SetFocus();
  platform::InjectKeyStroke(platform::VK_RETURN);
  platform::InjectKeyStroke(platform::VK_ESCAPE);
  Pump();
  EXPECT_EQ(okClicks, 2);
  EXPECT_EQ(cancelClicks, 2);
  // A focused non-default button takes Enter itself.
  cancel->SetFocus();
  platform::InjectKeyStroke(platform::VK_RETURN);
  Pump();
  EXPECT_EQ(cancelClicks, 3);
  EXPECT_EQ(okClicks, 2);
  ok->SetEnabled(false);
  ClickAt(*ok, 5, 5);
  EXPECT_EQ(okClicks, 2);
}

TEST(StdControls, CheckBoxCyclesStatesAndRadioButtonsExcludeEachOther) {
  ShownForm f;
  auto* check = new TCheckBox(f.form);
  check->SetParent(f.form);
  check->SetBounds(10, 10, 120, 17);
  int clicks = 0;
  check->OnClick = [&](TObject*) { ++clicks; };
  ClickAt(*check, 5, 8);
  EXPECT_TRUE(check->Checked());
  EXPECT_EQ(clicks, 1);
  check->SetAllowGrayed(true);
  ClickAt(*check, 5, 8);
  EXPECT_EQ(check->State(), cbGrayed);
  ClickAt(*check, 5, 8);
  EXPECT_EQ(check->State(), cbUnchecked);
  check->SetChecked(true);  // a change from code raises OnClick too
  EXPECT_EQ(clicks, 4);
  check->SetChecked(true);
  EXPECT_EQ(clicks, 4);

  TRadioButton* radio[3];
  for (int i = 0; i < 3; ++i) {
    radio[i] = new TRadioButton(f.form);
    radio[i]->SetParent(f.form);
    radio[i]->SetBounds(10, 40 + 20 * i, 120, 17);
  }
  radio[0]->SetChecked(true);
  ClickAt(*radio[2], 5, 8);
  EXPECT_FALSE(radio[0]->Checked());
  EXPECT_TRUE(radio[2]->Checked());
  radio[1]->SetChecked(true);
  EXPECT_FALSE(radio[2]->Checked());
}

TEST(StdControls, EditTakesTypingSelectionAndLimits) {
  ShownForm f;
  auto* edit = new TEdit(f.form);
  edit->SetParent(f.form);
  edit->SetBounds(10, 10, 150, 21);
  int changes = 0;
  edit->OnChange = [&](TObject*) { ++changes; };
  edit->SetFocus();
  platform::InjectText(u"hello");
  Pump();
  EXPECT_EQ(edit->Text(), u"hello");
  EXPECT_EQ(changes, 5);
  platform::InjectKeyStroke(platform::VK_BACK);
  platform::InjectKeyStroke(platform::VK_HOME);
  platform::InjectKey(platform::VK_SHIFT, true);
  platform::InjectKeyStroke(platform::VK_RIGHT);
  platform::InjectKeyStroke(platform::VK_RIGHT);
  platform::InjectKey(platform::VK_SHIFT, false);
  Pump();
  EXPECT_EQ(edit->Text(), u"hell");
  EXPECT_EQ(edit->SelText(), u"he");
  platform::InjectText(u"J");
  Pump();
  EXPECT_EQ(edit->Text(), u"Jll");
  edit->SetMaxLength(4);
  edit->SelectAll();
  edit->SetSelText(u"abcdefgh");
  EXPECT_EQ(edit->Text(), u"abcd");
  // A surrogate pair is never split by the limit or by the caret.
  edit->SetText(u"");
  edit->SetSelText(u"abc\U0001F600");
  EXPECT_EQ(edit->Text(), u"abc");
  edit->SetMaxLength(0);
  edit->SetText(u"a\U0001F600b");
  edit->SetSelStart(2);
  EXPECT_EQ(edit->SelStart(), 1);
  edit->SetReadOnly(true);
  platform::InjectText(u"x");
  Pump();
  EXPECT_EQ(edit->Text(), u"a\U0001F600b");
}

TEST(StdControls, LabelSizesToItsTextAndIsWindowless) {
  ShownForm f;
  auto* label = new TLabel(f.form);
  label->SetParent(f.form);
  label->SetCaption(u"A fairly long caption");
  const int wide = label->Width();
  EXPECT_GT(wide, 60);
  EXPECT_GT(label->Height(), 8);
  label->SetCaption(u"A");
  EXPECT_LT(label->Width(), wide);
  label->SetAutoSize(false);
  label->SetWidth(200);
  label->SetCaption(u"A fairly long caption");
  EXPECT_EQ(label->Width(), 200);
  EXPECT_EQ(dynamic_cast<TWinControl*>(static_cast<TControl*>(label)), nullptr);
}

}  // namespace
}  // namespace kestrel
