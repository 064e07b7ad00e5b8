#include <gtest/gtest.h>

#include <memory>

#include "controls/VnThemesControllerBase.h"
#include "framework/Exceptions.h"
#include "platform/gdi/Gdi.h"
#include "platform/theme/VsStyle.h"
#include "tests/controls/ThemeSupport.h"

namespace kestrel {
namespace {

using testing::ThemeScope;
using testing::TRecordingRenderer;

// Registers the renderer for one test and takes it away again.
struct RegisteredRenderer {
  TRecordingRenderer renderer;
  explicit RegisteredRenderer(bool enabled) {
    renderer.SetEnabled(enabled);
    GlobalThemeServices()->RegisterThemeRenderer(&renderer);
  }
  ~RegisteredRenderer() { GlobalThemeServices()->UnregisterThemeRenderer(&renderer); }
};

TEST(ThemeServices, ClassicRequestsDrawNothingAndAnswerNeutrally) {
  const ThemeScope scope(true);
  TVnThemeServices* s = GlobalThemeServices();
  const platform::HDC dc = platform::CreateCompatibleDC(nullptr);
  const TRect bounds = Rect(2, 3, 40, 30);
  TRect extent{};
  platform::SIZE size{};
  platform::LOGFONTW font{};
  EXPECT_EQ(s->GetThemeColor(ttmNone, teButton, 1, 1, platform::TMT_TEXTCOLOR), clNone);
  EXPECT_EQ(s->GetThemeSysColor(ttmNone, teButton, 15), clNone);
  EXPECT_FALSE(s->GetThemeFont(ttmNone, dc, teButton, 1, 1, 0, font));
  EXPECT_FALSE(s->GetThemeTextExtent(ttmNone, dc, {teButton, 1, 1}, u"x", 1, 0, nullptr, extent));
  EXPECT_FALSE(s->GetThemeBackgroundExtent(ttmNone, dc, {teButton, 1, 1}, bounds, extent));
  EXPECT_FALSE(s->GetThemePartSize(ttmNone, dc, {teButton, 1, 1}, size));
  EXPECT_FALSE(s->DrawThemeEdge(ttmNone, dc, teButton, 1, 1, bounds, 0x0A, 0x0F, nullptr));
  EXPECT_EQ(s->GetThemeSysSize(ttmNone, teScrollBar, platform::SM_CXVSCROLL), 0);
  EXPECT_EQ(s->ContentRect(ttmNone, dc, {teButton, 1, 1}, bounds), bounds);
  EXPECT_TRUE(s->ThemesEnabled(ttmNone));

  // The platform's answers when themed; the same requests fall back to classic with themes off.
  EXPECT_NE(s->GetThemeColor(ttmPlatform, teButton, 1, 1, platform::TMT_TEXTCOLOR), clNone);
  EXPECT_TRUE(s->GetThemePartSize(ttmPlatform, dc, {teButton, platform::BP_CHECKBOX, 1}, size));
  EXPECT_GT(size.cx, 0);
  platform::SetThemeActive(false);
  EXPECT_FALSE(s->ThemesEnabled(ttmPlatform));
  EXPECT_EQ(s->GetThemeColor(ttmPlatform, teButton, 1, 1, platform::TMT_TEXTCOLOR), clNone);
  platform::SetThemeActive(true);
  EXPECT_TRUE(s->ThemesEnabled(ttmPlatform));
  platform::DeleteDC(dc);
}

TEST(ThemeServices, NativeRequestsGoToTheSelectedEnabledRendererOnly) {
  const ThemeScope scope(true);
  TVnThemeServices* s = GlobalThemeServices();
  EXPECT_EQ(s->UseTheme(ttmNative), ttmPlatform);  // none registered
  RegisteredRenderer registered(false);
  TRecordingRenderer& r = registered.renderer;
  EXPECT_EQ(s->CurrentRenderer(), &r);  // the first one registered is selected ...
  EXPECT_EQ(r.activations, 1);          // ... and its default theme activated
  EXPECT_EQ(s->UseTheme(ttmNative), ttmPlatform);
  EXPECT_FALSE(s->ThemesEnabled(ttmNative));

  r.SetEnabled(true);
  EXPECT_EQ(s->UseTheme(ttmNative), ttmNative);
  EXPECT_EQ(s->UseTheme(ttmPlatform), ttmPlatform);
  EXPECT_EQ(s->GetThemeColor(ttmNative, teEdit, 0, 0, 0), 0x123456);
  s->DrawElement(ttmNative, nullptr, tsGripper, Rect(0, 0, 8, 8));
  ASSERT_EQ(r.drawn.size(), 1u);
  EXPECT_EQ(r.drawn[0], (TThemedElementDetails{teStatus, 3, 0}));

  // A disabled tool-bar button's text is drawn in the button class's look unless told otherwise.
  s->DrawThemeText(ttmNative, nullptr, {teToolBar, 1, 4}, u"Cut", 3, 0, 0, Rect(0, 0, 30, 16));
  s->DrawThemeText(ttmNative, nullptr, {teToolBar, 1, 3}, u"Cut", 3, 0, 0, Rect(0, 0, 30, 16));
  s->SetSubstToolBarToButton(false);
  s->DrawThemeText(ttmNative, nullptr, {teToolBar, 1, 4}, u"Cut", 3, 0, 0, Rect(0, 0, 30, 16));
  s->SetSubstToolBarToButton(true);
  ASSERT_EQ(r.texts.size(), 3u);
  EXPECT_EQ(r.texts[0], (TThemedElementDetails{teButton, 1, 4}));
  EXPECT_EQ(r.texts[1], (TThemedElementDetails{teToolBar, 1, 3}));
  EXPECT_EQ(r.texts[2], (TThemedElementDetails{teToolBar, 1, 4}));

  s->SelectThemeRenderer(u"no such renderer");
  s->SelectThemeRenderer(5);
  EXPECT_EQ(r.activations, 1);
  s->SelectThemeRenderer(u"RECORDING");  // names compare without case
  EXPECT_EQ(r.activations, 2);
}

TEST(ThemeServices, AnUnregisteredRendererIsNoLongerUsed) {
  const ThemeScope scope(true);
  {
    RegisteredRenderer registered(true);
    EXPECT_EQ(GlobalThemeServices()->UseTheme(ttmNative), ttmNative);
  }
  EXPECT_EQ(GlobalThemeServices()->CurrentRenderer(), nullptr);
  EXPECT_EQ(GlobalThemeServices()->RendererCount(), 0);
  EXPECT_EQ(GlobalThemeServices()->UseTheme(ttmNative), ttmPlatform);
}

TEST(ThemeServices, PlatformThemeSwitchReachesTheServicesWindow) {
  const ThemeScope scope(true);
  TVnThemeServices* s = GlobalThemeServices();
  const platform::HTHEME before = s->Theme(teEdit);
  ASSERT_NE(before, nullptr);
  platform::SetThemeActive(false);
  EXPECT_FALSE(s->UseThemes());
  EXPECT_EQ(s->Theme(teEdit), nullptr);  // handles were reopened, and there is no theme now
  EXPECT_EQ(s->UseTheme(ttmPlatform), ttmNone);
  platform::SetThemeActive(true);
  EXPECT_TRUE(s->UseThemes());
  EXPECT_NE(s->Theme(teEdit), nullptr);
  EXPECT_FALSE(s->SystemThemeIsChanging());
}

TEST(ThemeRenderer, TheBaseImplementsNothingAndSaysSo) {
  TVnThemeRenderer r;
  const auto message = [](auto&& call) {
    try {
      call();
    } catch (const Exception& e) {
      return e.Message();
    }
    return String(u"no exception");
  };
  EXPECT_EQ(message([&] { r.Controller(); }), u"TVnThemesRenderer.Controller method is not implemented!");
  EXPECT_EQ(message([&] { r.Init(); }), u"TVnThemesRenderer.Init method is not implemented!");
  EXPECT_THROW(r.DrawElement(nullptr, {}, Rect(0, 0, 1, 1), nullptr), EAbstractError);
  EXPECT_THROW(r.GetThemeSysSize(teEdit, 0), EAbstractError);
  EXPECT_THROW(r.ActivateTheme(u"a", u"b", true), EAbstractError);
  EXPECT_EQ(r.GetThemeRendererName(), u"");
  EXPECT_EQ(r.GetCurrentThemeHandle(), 0);
  r.SetEnabled(true);
  EXPECT_EQ(r.GetCurrentThemeHandle(), 1);
  EXPECT_EQ(r.FormThemeProviderOptions(nullptr), 0);

  TVnThemesControllerBase controller(nullptr);
  EXPECT_TRUE(controller.Enabled());
  EXPECT_EQ(message([&] { controller.GetThemeRenderer(); }),
            u"TVnThemesControllerBase.GetThemeRenderer method is not implemented!");
  EXPECT_EQ(message([&] { controller.SetEnabled(false); }),
            u"TVnThemesControllerBase.GetThemeRenderer method is not implemented!");
}

TEST(ThemesController, TheBaseRaisesOnRegistrationButCanBeFreedWithItsOwner) {
  auto owner = std::make_unique<TComponent>(nullptr);
  auto* controller = new TVnThemesControllerBase(nullptr);
  try {
    owner->InsertComponent(controller);
    ADD_FAILURE() << "registered";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), u"TVnThemesControllerBase.RegisterController method undefined!");
  }
  try {
    owner->RemoveComponent(controller);
    ADD_FAILURE() << "unregistered";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), u"TVnThemesControllerBase.UnregisterController method undefined!");
  }
  owner.reset();  // the hook's failure while the owner frees it must not end the program
}

// A renderer whose default theme will not activate (it says so, or it throws).
class TFailingRenderer : public TRecordingRenderer {
 public:
  bool throws = false;
  String GetThemeRendererName() override { return u"Failing"; }
  bool ActivateDefaultTheme(const String&, bool) override {
    if (throws) throw Exception(u"no theme");
    return false;
  }
};

TEST(ThemeServices, AFreedRendererLeavesNoDanglingCurrentRenderer) {
  const ThemeScope scope(true);
  TVnThemeServices* s = GlobalThemeServices();
  auto renderer = std::make_unique<TRecordingRenderer>();
  renderer->SetEnabled(true);
  s->RegisterThemeRenderer(renderer.get());
  ASSERT_EQ(s->CurrentRenderer(), renderer.get());
  ASSERT_EQ(s->AvailableRenderers().IndexOf(u"recording"), 0);
  renderer.reset();  // freed while registered and current
  EXPECT_EQ(s->CurrentRenderer(), nullptr);
  EXPECT_EQ(s->RendererCount(), 0);
  EXPECT_EQ(s->UseTheme(ttmNative), ttmPlatform);
}

TEST(ThemeServices, AFailedActivationKeepsThePreviousRenderer) {
  const ThemeScope scope(true);
  TVnThemeServices* s = GlobalThemeServices();
  TRecordingRenderer good;
  TFailingRenderer failing;
  s->RegisterThemeRenderer(&failing);  // cannot be selected: nothing is current
  EXPECT_EQ(s->CurrentRenderer(), nullptr);
  s->RegisterThemeRenderer(&good);
  ASSERT_EQ(s->CurrentRenderer(), &good);
  s->SelectThemeRenderer(u"Failing");
  EXPECT_EQ(s->CurrentRenderer(), &good);
  failing.throws = true;
  EXPECT_THROW(s->SelectThemeRenderer(0), Exception);
  EXPECT_EQ(s->CurrentRenderer(), &good);
  EXPECT_EQ(s->RendererCount(), 2);
  s->UnregisterThemeRenderer(&good);
  s->UnregisterThemeRenderer(&failing);
}

TEST(ThemedDetails, EveryEnumerationValueMapsToItsRecordAndBack) {
  int families = 0;
  for (int e = 0; e < kThemedElementCount; ++e) {
    const auto element = static_cast<TThemedElement>(e);
    const auto parts = ThemedElementParts(element);
    if (parts.empty()) continue;
    ++families;
    int values = 2;
    for (const TThemedPartStates& part : parts) values += part.States == 0 ? 1 : part.States;
    for (int ordinal = 2; ordinal < values; ++ordinal) {
      const TThemedElementDetails d = GetThemedDetails(element, ordinal);
      EXPECT_EQ(d.Element, element);
      EXPECT_GT(d.Part, 0) << e << " " << ordinal;
      EXPECT_EQ(TVnThemeServices::GetDetailOrd(d), ordinal) << e;
    }
    EXPECT_EQ(GetThemedDetails(element, values), (TThemedElementDetails{element, 0, 0}));  // past the end
  }
  EXPECT_EQ(families, 17);
}

TEST(ThemedDetails, ValuesNameThePlatformsPartsAndStates) {
  using namespace platform;
  EXPECT_EQ(TVnThemeServices::GetDetails(tsGripper), (TThemedElementDetails{teStatus, SP_GRIPPER, 0}));
  const auto upHot = ThemedDetailOf<TThemedScrollBar>(SBP_ARROWBTN, ABS_UPHOT);
  EXPECT_EQ(static_cast<int>(upHot), 3);
  EXPECT_EQ(GetThemedDetails(upHot), (TThemedElementDetails{teScrollBar, SBP_ARROWBTN, ABS_UPHOT}));
  EXPECT_EQ(GetThemedDetails(ThemedDetailOf<TThemedScrollBar>(SBP_SIZEBOX, SZB_LEFTALIGN)),
            (TThemedElementDetails{teScrollBar, SBP_SIZEBOX, SZB_LEFTALIGN}));
  EXPECT_EQ(GetThemedDetails(ThemedDetailOf<TThemedEdit>(EP_EDITTEXT, ETS_READONLY)),
            (TThemedElementDetails{teEdit, EP_EDITTEXT, ETS_READONLY}));
  EXPECT_EQ(GetThemedDetails(ThemedDetailOf<TThemedToolBar>(TP_SEPARATOR, 0)),
            (TThemedElementDetails{teToolBar, TP_SEPARATOR, 0}));
  // States a family does not list have no ordinal.
  EXPECT_EQ(GetThemedDetailOrd({teEdit, EP_EDITTEXT, 99}), -1);
  EXPECT_EQ(GetThemedDetailOrd({teStatus, SP_PANE, 1}), -1);
  EXPECT_EQ(GetThemedDetailOrd({teClock, 1, 1}), -1);
}

TEST(ThemedDetails, TypedDrawCallsReachTheRendererAsRecords) {
  const ThemeScope scope(true);
  TVnThemeServices* s = GlobalThemeServices();
  TRecordingRenderer r;
  r.SetEnabled(true);
  s->RegisterThemeRenderer(&r);
  const TRect clip = Rect(0, 0, 4, 4);
  s->DrawElement(ttmNative, nullptr, ThemedDetailOf<TThemedButton>(platform::BP_CHECKBOX, 5), Rect(0, 0, 8, 8));
  s->DrawElement(ttmNative, nullptr, ThemedDetailOf<TThemedWindow>(platform::WP_CLOSEBUTTON, 2), Rect(0, 0, 8, 8),
                 &clip);
  s->DrawElement(ttmPlatform, nullptr, ThemedDetailOf<TThemedTab>(1, 1), Rect(0, 0, 8, 8));  // not native
  s->UnregisterThemeRenderer(&r);
  EXPECT_EQ(r.drawn, (std::vector<TThemedElementDetails>{{teButton, platform::BP_CHECKBOX, 5},
                                                         {teWindow, platform::WP_CLOSEBUTTON, 2}}));
}

}  // namespace
}  // namespace kestrel
