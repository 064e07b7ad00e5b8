#include <gtest/gtest.h>

#include "VisualTestSupport.h"
#include "framework/Colors.h"
#include "framework/Panel.h"
#include "framework/Reader.h"
#include "framework/StdRegistration.h"
#include "framework/Writer.h"

namespace kestrel {
namespace {

using testing::ClientPixel;

TEST(Panel, ChildrenShareTheAreaInsideBevelsAndBorderWhichItPaints) {
  testing::ShownForm f;
  auto* panel = new TPanel(f.form);
  panel->SetParent(f.form);
  panel->SetBounds(10, 10, 100, 60);
  panel->SetColor(clYellow);
  auto* child = new TPanel(f.form);
  child->SetParent(panel);
  child->SetAlign(alClient);
  EXPECT_EQ(child->BoundsRect(), Rect(1, 1, 99, 59));  // the default raised outer bevel
  panel->SetBevelInner(bvLowered);
  panel->SetBorderWidth(2);
  EXPECT_EQ(child->BoundsRect(), Rect(4, 4, 96, 56));
  child->SetVisible(false);
  testing::Pump();
  // Raised outer ring, the border in the panel's colour, the lowered inner ring.
  const auto light = ColorToRGB(clBtnHighlight), dark = ColorToRGB(clBtnShadow), yellow = ColorToRGB(clYellow);
  EXPECT_EQ(ClientPixel(*panel, 0, 30), light);
  EXPECT_EQ(ClientPixel(*panel, 99, 30), dark);
  EXPECT_EQ(ClientPixel(*panel, 1, 30), yellow);
  EXPECT_EQ(ClientPixel(*panel, 3, 30), dark);
  EXPECT_EQ(ClientPixel(*panel, 96, 30), light);
  EXPECT_EQ(ClientPixel(*panel, 50, 30), yellow);

  panel->SetBevelWidth(0);  // raised to its minimum, 1
  panel->SetBorderWidth(80);
  panel->SetBevelOuter(bvNone);
  child->SetVisible(true);
  EXPECT_EQ(panel->BevelWidth(), 1);
  EXPECT_GE(child->Width(), 0);  // never inverted
  EXPECT_GE(child->Height(), 0);
}

TEST(Panel, StreamsByClassNameWithItsProperties) {
  RegisterVisualClasses();
  TForm* form = TCustomForm::Create<TForm>(nullptr);
  auto* panel = new TPanel(form);
  panel->SetName(u"Band");
  panel->SetParent(form);
  panel->SetBevelOuter(bvLowered);
  panel->SetBorderWidth(4);
  panel->SetShowCaption(false);
  TForm* copy = TCustomForm::Create<TForm>(nullptr);
  StringToComponent(ComponentToString(form), copy);
  auto* band = dynamic_cast<TPanel*>(copy->FindComponent(u"Band"));
  ASSERT_NE(band, nullptr);
  EXPECT_EQ(band->BevelOuter(), bvLowered);
  EXPECT_EQ(band->BorderWidth(), 4);
  EXPECT_FALSE(band->ShowCaption());
  for (TForm* f : {form, copy}) {
    f->BeforeDestruction();
    delete f;
  }
}

}  // namespace
}  // namespace kestrel
