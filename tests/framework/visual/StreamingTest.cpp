#include <gtest/gtest.h>

#include "framework/Button.h"
#include "framework/CheckBox.h"
#include "framework/Label.h"
#include "framework/Reader.h"
#include "framework/StdRegistration.h"
#include "framework/Timer.h"
#include "framework/TypeInfo.h"
#include "framework/Writer.h"

namespace kestrel {
namespace {

TEST(VisualStreaming, FormWithControlsRoundTripsThroughText) {
  RegisterVisualClasses();
  TForm* form = TCustomForm::Create<TForm>(nullptr);
  form->SetName(u"MainForm");
  form->SetCaption(u"Round trip");
  form->SetColor(clInfoBk);
  auto* button = new TButton(form);
  button->SetName(u"OkButton");
  button->SetParent(form);
  button->SetBounds(10, 20, 80, 25);
  button->SetCaption(u"OK");
  button->SetDefault(true);
  auto* check = new TCheckBox(form);
  check->SetName(u"Check");
  check->SetParent(form);
  check->SetState(cbChecked);
  check->SetAnchors({akLeft, akBottom});
  auto* label = new TLabel(form);
  label->SetName(u"Caption1");
  label->SetParent(form);
  label->SetCaption(u"Hello");
  label->Font()->SetStyle({fsBold});
  auto* timer = new TTimer(form);
  timer->SetName(u"Ticker");
  timer->SetInterval(250);

  const String text = ComponentToString(form);
  // Colours by name, defaults left out, a colour taken from the parent not stored.
  EXPECT_NE(text.find(u"Color = clInfoBk"), String::npos) << Utf16ToUtf8(text);
  EXPECT_EQ(text.find(u"Cancel"), String::npos);

  TForm* copy = TCustomForm::Create<TForm>(nullptr);
  StringToComponent(text, copy);
  auto* button2 = dynamic_cast<TButton*>(copy->FindComponent(u"OkButton"));
  auto* check2 = dynamic_cast<TCheckBox*>(copy->FindComponent(u"Check"));
  auto* label2 = dynamic_cast<TLabel*>(copy->FindComponent(u"Caption1"));
  auto* timer2 = dynamic_cast<TTimer*>(copy->FindComponent(u"Ticker"));
  ASSERT_TRUE(button2 && check2 && label2 && timer2);
  EXPECT_EQ(copy->Caption(), u"Round trip");
  EXPECT_EQ(copy->Color(), clInfoBk);
  EXPECT_EQ(button2->Parent(), copy);
  EXPECT_EQ(button2->BoundsRect(), Rect(10, 20, 90, 45));
  EXPECT_TRUE(button2->Default());
  EXPECT_EQ(check2->State(), cbChecked);
  EXPECT_EQ(check2->Anchors(), (TAnchors{akLeft, akBottom}));
  EXPECT_EQ(label2->Caption(), u"Hello");
  EXPECT_TRUE(label2->Font()->Style().Contains(fsBold));
  EXPECT_FALSE(label2->ParentFont());
  EXPECT_TRUE(check2->ParentFont());
  EXPECT_TRUE(check2->ParentColor());
  EXPECT_EQ(check2->Color(), clInfoBk);
  EXPECT_EQ(timer2->Interval(), 250u);
  for (TForm* f : {form, copy}) {
    f->BeforeDestruction();
    delete f;
  }
}

TEST(VisualStreaming, PropertiesSetByNameFromText) {
  RegisterVisualClasses();
  TButton button(nullptr);
  SetPropValue(&button, u"Color", u"clBtnShadow");
  EXPECT_EQ(button.Color(), clBtnShadow);
  SetPropValue(&button, u"Align", u"alClient");
  EXPECT_EQ(button.Align(), alClient);
  SetPropValue(&button, u"Caption", u"Named");
  EXPECT_EQ(button.Caption(), u"Named");
}

}  // namespace
}  // namespace kestrel
