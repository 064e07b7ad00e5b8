#include <gtest/gtest.h>

#include "framework/Colors.h"
#include "framework/Filer.h"
#include "framework/Panel.h"
#include "framework/StdRegistration.h"
#include "VisualTestSupport.h"

namespace kestrel {
namespace {

using testing::ClientPixel;
using testing::Pump;
using testing::ShownForm;

TPanel* MakePanel(TForm* form) {
  auto* panel = new TPanel(form);
  panel->SetParent(form);
  panel->SetBounds(10, 10, 100, 60);
  return panel;
}

TEST(Panel, AlignedChildrenShareTheAreaInsideBevelsAndBorder) {
  ShownForm f;
  TPanel* panel = MakePanel(f.form);
  auto* child = new TPanel(f.form);
  child->SetParent(panel);
  child->SetAlign(alClient);
  EXPECT_EQ(child->BoundsRect(), Rect(1, 1, 99, 59));  // the default raised outer bevel

  panel->SetBevelInner(bvLowered);
  panel->SetBevelWidth(2);
  panel->SetBorderWidth(3);
  EXPECT_EQ(child->BoundsRect(), Rect(7, 7, 93, 53));
  panel->SetBevelOuter(bvNone);
  EXPECT_EQ(child->BoundsRect(), Rect(5, 5, 95, 55));
  // Widths below their minimum are raised to it.
  panel->SetBevelWidth(0);
  panel->SetBorderWidth(-4);
  EXPECT_EQ(panel->BevelWidth(), 1);
  EXPECT_EQ(panel->BorderWidth(), 0);
  EXPECT_EQ(child->BoundsRect(), Rect(1, 1, 99, 59));
  // A border wider than the panel leaves an empty area, not an inverted one.
  panel->SetBorderWidth(80);
  EXPECT_GE(child->Width(), 0);
  EXPECT_GE(child->Height(), 0);
}

TEST(Panel, PaintsBevelsAroundItsColour) {
  ShownForm f;
  TPanel* panel = MakePanel(f.form);
  panel->SetColor(clYellow);
  panel->SetBevelInner(bvLowered);
  panel->SetBorderWidth(2);
  Pump();
  const auto light = ColorToRGB(clBtnHighlight), dark = ColorToRGB(clBtnShadow);
  const auto yellow = ColorToRGB(clYellow);
  // Outer raised ring: light top-left, dark bottom-right; then the border in the panel's colour;
  // then the inner lowered ring, dark top-left.
  EXPECT_EQ(ClientPixel(*panel, 0, 30), light);
  EXPECT_EQ(ClientPixel(*panel, 50, 0), light);
  EXPECT_EQ(ClientPixel(*panel, 99, 30), dark);
  EXPECT_EQ(ClientPixel(*panel, 50, 59), dark);
  EXPECT_EQ(ClientPixel(*panel, 1, 30), yellow);
  EXPECT_EQ(ClientPixel(*panel, 3, 30), dark);
  EXPECT_EQ(ClientPixel(*panel, 96, 30), light);
  EXPECT_EQ(ClientPixel(*panel, 50, 30), yellow);

  panel->SetBevelOuter(bvNone);
  panel->SetBevelInner(bvNone);
  Pump();
  EXPECT_EQ(ClientPixel(*panel, 0, 0), yellow);
  EXPECT_EQ(ClientPixel(*panel, 99, 59), yellow);
}

TEST(Panel, StreamsByClassNameWithItsProperties) {
  RegisterVisualClasses();
  TForm* form = TCustomForm::Create<TForm>(nullptr);
  form->SetName(u"Host");
  TPanel* panel = MakePanel(form);
  panel->SetName(u"Band");
  panel->SetBevelOuter(bvLowered);
  panel->SetBevelInner(bvSpace);
  panel->SetBorderWidth(4);
  panel->SetAlignment(taLeftJustify);
  panel->SetShowCaption(false);
  const String text = ComponentToString(form);
  EXPECT_NE(text.find(u"BevelOuter = bvLowered"), String::npos) << Utf16ToUtf8(text);

  TForm* copy = TCustomForm::Create<TForm>(nullptr);
  StringToComponent(text, copy);
  auto* band = dynamic_cast<TPanel*>(copy->FindComponent(u"Band"));
  ASSERT_NE(band, nullptr);
  EXPECT_EQ(band->BevelOuter(), bvLowered);
  EXPECT_EQ(band->BevelInner(), bvSpace);
  EXPECT_EQ(band->BorderWidth(), 4);
  EXPECT_EQ(band->Alignment(), taLeftJustify);
  EXPECT_FALSE(band->ShowCaption());
  for (TForm* f : {form, copy}) {
    f->BeforeDestruction();
    delete f;
  }
}

}  // namespace
}  // namespace kestrel
