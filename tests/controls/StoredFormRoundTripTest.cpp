// Every published property of every registered component survives a stored form: each one is
// given a value other than the one it has, the component is written and read into a fresh one,
// and every property (sub-objects and bitmaps included) must read back the same.

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "controls/ControlRegistration.h"
#include "controls/KsImageForm.h"
#include "controls/KsPanel.h"
#include "controls/KsSBController.h"
#include "framework/Bitmap.h"
#include "framework/ClassRegistry.h"
#include "framework/Component.h"
#include "framework/MemoryStream.h"
#include "framework/Reader.h"
#include "framework/SysUtils.h"
#include "framework/TypeInfo.h"
#include "framework/Writer.h"
#include "tests/controls/StoredFormRoundTrip.h"

namespace kestrel {
namespace {

TEST(StoredFormRoundTrip, EveryPublishedPropertyOfEveryRegisteredComponentSurvives) {
  RegisterControlClasses();
  int checked = 0;
  for (const TMetaClass* cls : RegisteredClasses()) {
    if (!cls->CanCreate() || !cls->InheritsFrom(TComponent::StaticClass())) continue;
    testing::ExpectStoredFormRoundTrip(*cls);
    ++checked;
  }
  EXPECT_GE(checked, 10);
}

// The panel's settings that a stored form once lost, and the theme switch older forms stored.
TEST(StoredFormRoundTrip, ThePanelStoresEverySettingAndReadsTheLegacyThemeSwitch) {
  RegisterControlClasses();
  TKsPanel panel(nullptr);
  for (const char16_t* name : {u"Layout",
                               u"BorderStyle",
                               u"BorderSides",
                               u"BorderColorDkShadow",
                               u"BorderColorFace",
                               u"BorderColorShadow",
                               u"BorderColorHighlight",
                               u"BorderColorWindow",
                               u"BevelSpaceColor",
                               u"Background",
                               u"GradientStartColor",
                               u"GradientEndColor",
                               u"AlphaLevel",
                               u"AlwaysPaintBackground",
                               u"ImageForm",
                               u"LeftGrabHandle",
                               u"TopGrabHandle",
                               u"RightGrabHandle",
                               u"BottomGrabHandle",
                               u"OnPaint",
                               u"OnMove"})
    EXPECT_NE(GetPropInfo(&panel, name), nullptr) << Utf16ToUtf8(name);
  EXPECT_NE(GetPropInfo(panel.LeftGrabHandle(), u"Size"), nullptr);
  TKsImageForm imageForm(nullptr);
  EXPECT_NE(GetPropInfo(&imageForm, u"Background"), nullptr);

  StringToComponent(u"object P: TKsPanel\n  UseXPThemes = False\nend\n", &panel);
  EXPECT_EQ(panel.ThemeMode(), ttmNone);
  StringToComponent(u"object P: TKsPanel\n  UseXPThemes = True\nend\n", &panel);
  EXPECT_EQ(panel.ThemeMode(), ttmPlatform);
}

TEST(StoredFormRoundTrip, TheScrollBarControllerReadsTheLegacyThemeSwitchAndKeepsItsBars) {
  TKsSBController controller(nullptr);
  StringToComponent(u"object C: TKsSBController\n  UseXPThemes = False\n  VertScrollBarStyles.ActiveFlat = True\nend\n",
                    &controller);
  EXPECT_EQ(controller.ThemeMode(), ttmNone);
  EXPECT_TRUE(controller.VertScrollBarStyles()->ActiveFlat());
}

}  // namespace
}  // namespace kestrel
