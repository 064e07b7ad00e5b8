#include <gtest/gtest.h>

#include <map>

#include "foundation/VnApplication.h"
#include "framework/Application.h"
#include "framework/Form.h"
#include "platform/theme/UxTheme.h"
#include "platform/window/HeadlessBackend.h"
#include "platform/window/WindowApi.h"
#include "tests/support/ThemeScope.h"

namespace kestrel {
namespace {

namespace pf = platform;

class TListeningForm : public TForm {
 public:
  using TForm::TForm;
  int themeChanges = 0;

 protected:
  void WndProc(TMessage& message) override {
    if (message.Msg == pf::WM_THEMECHANGED) ++themeChanges;
    TForm::WndProc(message);
  }
};

TEST(VnThemeSettings, UseXPThemesSwitchesThePlatformsThemingOfTheApplication) {
  const testing::ThemeScope scope(true);
  TVnApplication app(nullptr);
  auto* form = TCustomForm::Create<TListeningForm>(nullptr);
  form->Show();
  pf::HeadlessBackend::Pump();
  EXPECT_TRUE(app.XPThemesSupported());
  EXPECT_TRUE(app.UseXPThemes());

  app.SetUseXPThemes(false);
  EXPECT_FALSE(app.UseXPThemes());
  EXPECT_EQ(pf::GetThemeAppProperties(), 0u);
  EXPECT_FALSE(pf::IsAppThemed());
  EXPECT_EQ(form->themeChanges, 1);
  app.SetUseXPThemes(true);
  EXPECT_TRUE(app.UseXPThemes());
  EXPECT_EQ(pf::GetThemeAppProperties(), pf::STAP_ALLOW_NONCLIENT | pf::STAP_ALLOW_CONTROLS);
  EXPECT_EQ(form->themeChanges, 2);

  // Library only: switching the library's themes off leaves the platform's to the application.
  app.SetUseXPThemesLibraryOnly(true);
  app.SetUseXPThemes(false);
  EXPECT_TRUE(pf::IsAppThemed());
  EXPECT_FALSE(app.UseXPThemes());
  app.SetUseXPThemes(true);
  app.SetUseXPThemesLibraryOnly(false);

  // Without an active visual style nothing can be switched on, and nothing reads as themed.
  pf::SetThemeActive(false);
  EXPECT_FALSE(app.XPThemesSupported());
  EXPECT_FALSE(app.UseXPThemes());
  app.SetUseXPThemes(false);
  app.SetUseXPThemes(true);  // refused: the stored flag stays off
  pf::SetThemeActive(true);
  EXPECT_FALSE(app.UseXPThemes());
  delete form;
}

}  // namespace
}  // namespace kestrel
