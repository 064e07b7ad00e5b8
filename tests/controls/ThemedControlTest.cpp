#include <gtest/gtest.h>

#include <map>

#include "controls/KsStyleManager.h"
#include "controls/KsXPThemedControl.h"
#include "framework/Application.h"
#include "framework/Form.h"
#include "framework/Reader.h"
#include "framework/Writer.h"
#include "platform/gdi/Gdi.h"
#include "platform/window/HeadlessBackend.h"
#include "platform/window/ScrollBars.h"
#include "platform/window/WindowApi.h"
#include "tests/controls/ThemeSupport.h"
#include "tests/framework/visual/VisualTestSupport.h"
#include "tests/support/GoldenImage.h"

namespace kestrel {
namespace {

using testing::ThemeScope;

// Counts ThemeChanged runs and the messages that reach default processing.
class TProbe : public TKsXPThemedControl {
 public:
  using TKsXPThemedControl::TKsXPThemedControl;
  int themeChanges = 0;
  int changesWhileSystemChanging = 0;
  std::map<platform::UINT, int> heard, defaulted;
  void PreventStyleChange(bool value) { FPreventStyleChange = value; }

 protected:
  void WndProc(TMessage& message) override {
    ++heard[message.Msg];
    TKsXPThemedControl::WndProc(message);
  }
  void ThemeChanged() override {
    ++themeChanges;
    if (GlobalThemeServices()->SystemThemeIsChanging()) ++changesWhileSystemChanging;
    TKsXPThemedControl::ThemeChanged();
  }
  void DefaultHandler(TMessage& message) override {
    ++defaulted[message.Msg];
    TKsXPThemedControl::DefaultHandler(message);
  }
};

template <class T>
T* Place(TWinControl* parent, int left, int top, int width, int height) {
  auto* control = new T(parent);
  control->SetParent(parent);
  control->SetBounds(left, top, width, height);
  return control;
}

TEST(ThemedControl, EffectiveModeForEveryCombination) {
  const ThemeScope scope(true);
  TVnApplication* app = VnApplication();
  TProbe control(nullptr);
  testing::TRecordingRenderer renderer;
  enum Renderer { absent, disabled, enabled };
  enum Themes { platformOff, applicationOff, on };
  for (const Renderer present : {absent, disabled, enabled}) {
    if (present != absent) GlobalThemeServices()->RegisterThemeRenderer(&renderer);
    renderer.SetEnabled(present == enabled);
    for (const Themes themes : {platformOff, applicationOff, on}) {
      platform::SetThemeActive(themes != platformOff);
      app->SetUseXPThemes(themes != applicationOff);
      for (const TVnThemeMode global : {ttmNone, ttmPlatform, ttmNative})
        for (const bool follow : {false, true})
          for (const TVnThemeMode own : {ttmNone, ttmPlatform, ttmNative}) {
            app->SetThemeGlobalMode(global);
            control.SetThemeGlobalMode(follow);
            control.SetThemeMode(own);
            const TVnThemeMode asked = follow ? global : own;
            TVnThemeMode expected = themes == on ? ttmPlatform : ttmNone;
            if (asked == ttmNone) expected = ttmNone;
            if (asked == ttmNative && present == enabled) expected = ttmNative;
            EXPECT_EQ(control.UseThemeMode(), expected) << "renderer " << present << " themes " << themes << " global "
                                                        << int(global) << " follow " << follow << " own " << int(own);
            EXPECT_EQ(control.IsThemed(), expected != ttmNone);
          }
    }
    GlobalThemeServices()->UnregisterThemeRenderer(&renderer);
  }
}

TEST(ThemedControl, UseXPThemesMapsOntoThemeModeAndOnlyChangesRunThemeChanged) {
  const ThemeScope scope(true);
  TProbe control(nullptr);
  EXPECT_TRUE(control.UseXPThemes());
  control.SetThemeMode(ttmPlatform);
  control.SetThemeGlobalMode(false);
  control.SetUseXPThemes(true);
  EXPECT_EQ(control.themeChanges, 0);
  control.SetUseXPThemes(false);
  EXPECT_EQ(control.ThemeMode(), ttmNone);
  control.SetThemeMode(ttmNative);
  EXPECT_FALSE(control.UseXPThemes());
  control.SetUseXPThemes(false);  // already false: ttmNative stays
  EXPECT_EQ(control.ThemeMode(), ttmNative);
  control.SetThemeGlobalMode(true);
  EXPECT_EQ(control.themeChanges, 3);
}

TEST(ThemedControl, ThemeModeStreamsByNameAndTheLegacyBooleanIsReadOnly) {
  const ThemeScope scope(true);
  TKsXPThemedControl source(nullptr);
  source.SetName(u"Themed");
  source.SetThemeMode(ttmNative);
  source.SetThemeGlobalMode(true);
  const String text = ComponentToString(&source);
  EXPECT_NE(text.find(u"ThemeMode = ttmNative"), String::npos);
  EXPECT_EQ(text.find(u"UseXPThemes"), String::npos);
  TKsXPThemedControl copy(nullptr);
  StringToComponent(text, &copy);
  EXPECT_EQ(copy.ThemeMode(), ttmNative);
  EXPECT_TRUE(copy.ThemeGlobalMode());

  TKsXPThemedControl legacy(nullptr);
  StringToComponent(u"object Old: TKsXPThemedControl\n  UseXPThemes = False\nend\n", &legacy);
  EXPECT_EQ(legacy.ThemeMode(), ttmNone);
  StringToComponent(u"object Old: TKsXPThemedControl\n  UseXPThemes = True\nend\n", &legacy);
  EXPECT_EQ(legacy.ThemeMode(), ttmPlatform);
  EXPECT_EQ(ComponentToString(&legacy).find(u"ThemeMode"), String::npos);  // the default again
}

TEST(ThemedControl, ThemeChangesReachEveryWindowedDescendantOnce) {
  const ThemeScope scope(true);
  testing::ShownForm f(300, 200);
  auto* outer = Place<TProbe>(f.form, 10, 10, 200, 150);
  auto* inner = Place<TProbe>(outer, 10, 10, 100, 80);
  auto* plain = Place<TCustomControl>(f.form, 220, 10, 60, 60);
  auto* nested = Place<TProbe>(plain, 5, 5, 40, 40);
  auto* hiddenForm = TCustomForm::Create<TForm>(nullptr);
  auto* onHidden = Place<TProbe>(hiddenForm, 0, 0, 20, 20);
  testing::Pump();

  VnApplication()->DoThemeChange();
  for (TProbe* p : {outer, inner, nested}) EXPECT_EQ(p->themeChanges, 1);
  EXPECT_EQ(onHidden->themeChanges, 0);

  // A platform switch goes round while the services report it.
  platform::SetThemeActive(false);
  platform::SetThemeActive(true);
  for (TProbe* p : {outer, inner, nested}) EXPECT_GE(p->changesWhileSystemChanging, 1);
  EXPECT_FALSE(GlobalThemeServices()->SystemThemeIsChanging());
  delete hiddenForm;
}

TEST(ThemedControl, AThemedControlThatIsNotShowingIsNotEvenInvalidated) {
  const ThemeScope scope(true);
  testing::ShownForm f(120, 80);
  auto* shown = Place<TProbe>(f.form, 0, 0, 50, 50);
  auto* hiddenForm = TCustomForm::Create<TForm>(nullptr);
  auto* hidden = Place<TProbe>(hiddenForm, 0, 0, 50, 50);
  testing::Pump();
  for (TProbe* p : {shown, hidden}) {
    p->HandleNeeded();
    platform::ValidateRect(p->Handle(), nullptr);
    p->SetThemeGlobalMode(true);  // still themed: the application asks for ttmPlatform
    EXPECT_EQ(p->themeChanges, 1);
  }
  platform::RECT update{};
  EXPECT_TRUE(platform::GetUpdateRect(shown->Handle(), &update, platform::FALSE));
  EXPECT_FALSE(platform::GetUpdateRect(hidden->Handle(), &update, platform::FALSE));
  delete hiddenForm;
}

TEST(ThemedControl, StyleChangeNoticesAreSwallowedOnlyWhileGuarded) {
  const ThemeScope scope(true);
  testing::ShownForm f(120, 80);
  TProbe& control = *Place<TProbe>(f.form, 0, 0, 50, 50);
  const auto style = platform::GetWindowLongW(control.Handle(), platform::GWL_STYLE);
  control.PreventStyleChange(true);
  platform::SetWindowLongW(control.Handle(), platform::GWL_STYLE, style | platform::WS_BORDER);
  EXPECT_EQ(control.defaulted[platform::WM_STYLECHANGING] + control.defaulted[platform::WM_STYLECHANGED], 0);
  control.PreventStyleChange(false);
  platform::SetWindowLongW(control.Handle(), platform::GWL_STYLE, style);
  EXPECT_EQ(control.defaulted[platform::WM_STYLECHANGING], 1);
  EXPECT_EQ(control.defaulted[platform::WM_STYLECHANGED], 1);
}

// A themed control with a vertical scroll bar.
class TScrolled : public TKsXPThemedControl {
 public:
  using TKsXPThemedControl::TKsXPThemedControl;

 protected:
  void CreateParams(TCreateParams& params) override {
    TKsXPThemedControl::CreateParams(params);
    params.Style |= platform::WS_VSCROLL;
  }
};

TEST(ThemedControl, RedrawComingBackOnRepaintsTheScrollBarsWhereTheyWere) {
  const ThemeScope scope(true);
  testing::ShownForm f(120, 120);
  auto* control = Place<TScrolled>(f.form, 10, 10, 80, 80);
  const platform::HWND wnd = control->Handle();
  platform::SetScrollRange(wnd, platform::SB_VERT, 0, 100, platform::TRUE);
  platform::SetScrollPos(wnd, platform::SB_VERT, 40, platform::TRUE);
  testing::Pump();
  // Paint over the bar's middle, outside the client area.
  const platform::HDC dc = platform::GetWindowDC(wnd);
  const platform::HBRUSH red = platform::CreateSolidBrush(platform::RGB(255, 0, 0));
  const platform::RECT bar{control->ClientWidth(), 20, 80, 60};
  platform::FillRect(dc, &bar, red);
  platform::ReleaseDC(wnd, dc);
  platform::DeleteObject(red);
  const int x = control->ClientWidth() + 8;
  ASSERT_EQ(testing::ClientPixel(*control, x, 40), platform::RGB(255, 0, 0));

  platform::SendMessageW(wnd, platform::WM_SETREDRAW, platform::FALSE, 0);
  platform::SendMessageW(wnd, platform::WM_SETREDRAW, platform::TRUE, 0);
  testing::Pump();
  EXPECT_NE(testing::ClientPixel(*control, x, 40), platform::RGB(255, 0, 0));
  EXPECT_EQ(platform::GetScrollPos(wnd, platform::SB_VERT), 40);
}

class TRecordingManager : public TKsStyleManager {
 public:
  using TKsStyleManager::TKsStyleManager;
  std::vector<String> applied;
  void ApplyStyle(TComponent*, const String& styleName) override { applied.push_back(styleName); }
};

TEST(ThemedControl, TakesStylesFromItsManagerUntilTheManagerGoes) {
  const ThemeScope scope(true);
  TProbe control(nullptr);
  EXPECT_EQ(control.StyleManager(), DefaultStyleManager());
  auto* manager = new TRecordingManager(nullptr);
  control.SetStyleManager(manager);
  control.SetStyleName(u".Bold");
  control.SetStyleName(u".Bold");
  manager->BeginUpdate();
  manager->EndUpdate();
  EXPECT_EQ(manager->applied, (std::vector<String>{u"", u".Bold", u".Bold"}));
  delete manager;
  EXPECT_EQ(control.StyleManager(), nullptr);
}

TEST(ThemedControl, TheMetricsNoticeReachesEveryWindowOfTheThread) {
  const ThemeScope scope(true);
  testing::ShownForm f(200, 100);
  auto* outer = Place<TProbe>(f.form, 0, 0, 100, 80);
  auto* inner = Place<TProbe>(outer, 5, 5, 40, 40);
  testing::Pump();
  Application();
  GlobalThemeServices();  // puts the hook on the application's window once that exists
  platform::SendMessageW(Application()->Handle(), platform::WM_SETTINGCHANGE, 42, 0);
  EXPECT_EQ(outer->heard[CM_VNNCMETRICSCHANGED], 1);
  EXPECT_EQ(inner->heard[CM_VNNCMETRICSCHANGED], 1);
}

// Four frames side by side: soft bevels with a border band, flat bevels, tiled top and bottom
// bevels only, and a border band alone.
void PlaceFrames(TWinControl* parent) {
  auto* soft = Place<TKsXPThemedControl>(parent, 8, 8, 70, 50);
  soft->SetBevelKind(bkSoft);
  soft->SetBorderWidth(4);
  auto* flat = Place<TKsXPThemedControl>(parent, 86, 8, 70, 50);
  flat->SetBevelKind(bkFlat);
  flat->SetBevelInner(bvNone);
  flat->SetBevelOuter(bvRaised);
  auto* tile = Place<TKsXPThemedControl>(parent, 164, 8, 70, 50);
  tile->SetBevelKind(bkTile);
  tile->SetBevelEdges({beTop, beBottom});
  tile->SetBevelWidth(2);
  tile->SetBorderWidth(2);
  auto* band = Place<TKsXPThemedControl>(parent, 242, 8, 70, 50);
  band->SetBorderWidth(6);
  for (auto* c : {soft, flat, tile, band}) c->SetColor(clWindow);
}

TEST(ThemedControl, NonClientFramesThemedAndClassic) {
  const ThemeScope scope(true);
  testing::ShownForm f(320, 66);
  f->SetBorderStyle(bsNone);
  f->SetBounds(50, 50, 320, 66);
  PlaceFrames(f.form);
  testing::Pump();
  auto* first = static_cast<TKsXPThemedControl*>(f->Controls(0));
  EXPECT_EQ(first->ClientWidth(), 70 - 2 * (4 + 2));  // the band and two bevels on each side
  cairo_surface_t* image = platform::CaptureWindowImage(f->Handle());
  EXPECT_TRUE(testing::MatchesGolden(image, "controls_themed_frames", {8, 0.01}));
  cairo_surface_destroy(image);

  for (int i = 0; i < f->ControlCount(); ++i) static_cast<TKsXPThemedControl*>(f->Controls(i))->SetThemeMode(ttmNone);
  testing::Pump();
  image = platform::CaptureWindowImage(f->Handle());
  EXPECT_TRUE(testing::MatchesGolden(image, "controls_classic_frames", {8, 0.01}));
  cairo_surface_destroy(image);
}

}  // namespace
}  // namespace kestrel
