#include <gtest/gtest.h>

#include "VisualTestSupport.h"
#include "framework/Button.h"
#include "framework/CheckBox.h"
#include "framework/Edit.h"
#include "framework/Label.h"
#include "framework/RadioButton.h"
#include "platform/theme/UxTheme.h"
#include "tests/support/GoldenImage.h"
#include "tests/support/ThemeScope.h"

namespace kestrel {
namespace {

template <class T>
T* Place(TWinControl* parent, int left, int top, int width, int height, const String& caption) {
  auto* control = new T(parent);
  control->SetParent(parent);
  control->SetBounds(left, top, width, height);
  control->SetCaption(caption);
  return control;
}

// Themes are on by default; the classic look has a golden of its own.
class StandardControls : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override { platform::SetThemeActive(GetParam()); }
  const testing::ThemeScope look_;
};

TEST_P(StandardControls, Look) {
  testing::ShownForm f(260, 170);
  f->SetBorderStyle(bsNone);
  f->SetBounds(50, 50, 260, 170);
  Place<TButton>(f.form, 8, 8, 75, 25, u"Normal");
  Place<TButton>(f.form, 90, 8, 75, 25, u"Default")->SetDefault(true);
  Place<TButton>(f.form, 172, 8, 75, 25, u"Disabled")->SetEnabled(false);
  Place<TCheckBox>(f.form, 8, 44, 80, 17, u"Off");
  Place<TCheckBox>(f.form, 90, 44, 80, 17, u"On")->SetChecked(true);
  auto* grayed = Place<TCheckBox>(f.form, 172, 44, 80, 17, u"Grayed");
  grayed->SetAllowGrayed(true);
  grayed->SetState(cbGrayed);
  Place<TRadioButton>(f.form, 8, 70, 80, 17, u"One");
  Place<TRadioButton>(f.form, 90, 70, 80, 17, u"Two")->SetChecked(true);
  Place<TRadioButton>(f.form, 172, 70, 80, 17, u"Off")->SetEnabled(false);
  Place<TEdit>(f.form, 8, 98, 160, 21, u"Edit text");
  auto* label = Place<TLabel>(f.form, 8, 130, 240, 30, u"A label with wrapped words, two lines long");
  label->SetAutoSize(false);
  label->SetWordWrap(true);
  label->SetColor(clInfoBk);
  testing::Pump();
  cairo_surface_t* image = platform::CaptureWindowImage(f->Handle());
  ASSERT_NE(image, nullptr);
  EXPECT_TRUE(kestrel::testing::MatchesGolden(
      image, GetParam() ? "framework_stdcontrols" : "framework_stdcontrols_classic", {8, 0.01}));
  cairo_surface_destroy(image);
}

INSTANTIATE_TEST_SUITE_P(Modes, StandardControls, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Themed" : "Classic"; });

}  // namespace
}  // namespace kestrel
