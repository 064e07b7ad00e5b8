// Every published property of every registered component survives a stored form
// (StoredFormRoundTrip.h), and stored forms of older settings read the same.

#include <gtest/gtest.h>

#include <string>

#include "controls/ControlRegistration.h"
#include "controls/KsImageForm.h"
#include "controls/KsPanel.h"
#include "controls/KsSBController.h"
#include "edit/EditRegistration.h"
#include "framework/Button.h"
#include "framework/CheckBox.h"
#include "framework/ClassRegistry.h"
#include "framework/Component.h"
#include "framework/Edit.h"
#include "framework/Form.h"
#include "framework/RadioButton.h"
#include "framework/Reader.h"
#include "framework/SysUtils.h"
#include "framework/TypeInfo.h"
#include "framework/Writer.h"
#include "html/HtmlRegistration.h"
#include "imaging/ImagingRegistration.h"
#include "net/NetRegistration.h"
#include "smooth/SmoothRegistration.h"
#include "tests/controls/StoredFormRoundTrip.h"
#include "tests/support/ThemeScope.h"

namespace kestrel {
namespace {

TEST(StoredFormRoundTrip, EveryPublishedPropertyOfEveryRegisteredComponentSurvives) {
  RegisterHtmlClasses();
  RegisterSmoothClasses();
  RegisterImagingClasses();
  RegisterNetClasses();
  RegisterEditClasses();
  // Setting the services object's theme switches changes the whole process's look.
  const testing::ThemeScope themes;
  int checked = 0;
  for (const TMetaClass* cls : RegisteredClasses()) {
    if (!cls->CanCreate() || !cls->InheritsFrom(TComponent::StaticClass())) continue;
    testing::ExpectStoredFormRoundTrip(*cls);
    ++checked;
  }
  EXPECT_GE(checked, 25);
}

// Forms stored before buttons, edits and forms declared their constructors' values as defaults
// wrote those values out; they read back the same, and those values are no longer written.
TEST(StoredFormRoundTrip, FormsStoredWithTheOldDefaultsReadTheSame) {
  RegisterControlClasses();
  RegisterSmoothClasses();
  const String older =
      u"object F: TForm\n  ParentFont = False\n  Visible = False\n"
      u"  object B: TButton\n    TabStop = True\n  end\n"
      u"  object C: TCheckBox\n    TabStop = True\n  end\n"
      u"  object R: TRadioButton\n  end\n"
      u"  object E: TEdit\n    DoubleBuffered = True\n    TabStop = True\n  end\n"
      u"  object M: TSmoothWin8Marquee\n    DoubleBuffered = True\n    TabStop = True\n  end\n"
      u"end\n";
  TForm form(nullptr);
  StringToComponent(older, &form);
  EXPECT_FALSE(form.ParentFont());
  EXPECT_FALSE(form.Visible());
  ASSERT_EQ(form.ControlCount(), 5);
  for (int i = 0; i < 5; ++i) {
    const auto* control = static_cast<TWinControl*>(form.Controls(i));
    EXPECT_TRUE(control->TabStop()) << i;
    EXPECT_EQ(control->DoubleBuffered(), i >= 3) << i;
  }

  const std::string stored = Utf16ToUtf8(ComponentToString(&form));
  for (const char* value : {"ParentFont", "Visible", "TabStop", "DoubleBuffered"})
    EXPECT_EQ(stored.find(value), std::string::npos) << value << " in\n" << stored;
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
