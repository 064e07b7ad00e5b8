#include <gtest/gtest.h>

#include <vector>

#include "platform/theme/ThemeRecorder.h"
#include "platform/theme/ThemeSheet.h"
#include "platform/theme/UxTheme.h"
#include "platform/theme/VsStyle.h"
#include "platform/theme/internal/ThemeSwitch.h"
#include "tests/platform/gdi/GdiTestSupport.h"
#include "tests/support/GoldenImage.h"
#include "tests/support/ThemeScope.h"

namespace kestrel::platform {
namespace {

using testing::Canvas;
using testing::kTeal;

class ThemeEngine : public ::testing::Test {
 protected:
  const kestrel::testing::ThemeScope themed_{true};
};

TEST_F(ThemeEngine, HandlesAreOpenedPerKnownClassAndRefusedOnceClosed) {
  HTHEME edit = OpenThemeData(nullptr, u"NoSuchClass; edit ;BUTTON");
  ASSERT_NE(edit, nullptr) << "the first known name of the list, in any case";
  EXPECT_EQ(OpenThemeData(nullptr, u"NoSuchClass;Other"), nullptr);
  EXPECT_EQ(OpenThemeData(nullptr, nullptr), nullptr);

  HTHEME again = OpenThemeData(nullptr, u"EDIT");
  EXPECT_NE(again, edit) << "every open gives its own handle";
  Canvas canvas(20, 20, kTeal);
  RECT r{0, 0, 20, 20};
  EXPECT_EQ(DrawThemeBackground(edit, canvas.dc, EP_EDITTEXT, ETS_NORMAL, &r, nullptr), S_OK);
  EXPECT_EQ(CloseThemeData(edit), S_OK);
  EXPECT_EQ(CloseThemeData(edit), E_HANDLE);
  EXPECT_EQ(DrawThemeBackground(edit, canvas.dc, EP_EDITTEXT, ETS_NORMAL, &r, nullptr), E_HANDLE);
  EXPECT_EQ(DrawThemeBackground(reinterpret_cast<HTHEME>(canvas.dc), canvas.dc, 1, 1, &r, nullptr), E_HANDLE)
      << "a handle of another table";
  EXPECT_EQ(IsThemePartDefined(again, EP_EDITTEXT, ETS_NORMAL), TRUE);
  EXPECT_EQ(CloseThemeData(again), S_OK);
}

TEST_F(ThemeEngine, TheSwitchTurnsHandlesAndSystemColoursToTheClassicLook) {
  EXPECT_TRUE(ThemesOnFor(nullptr)) << "themes are on by default";
  EXPECT_TRUE(ThemesOnFor("themed"));
  EXPECT_FALSE(ThemesOnFor("classic"));

  EXPECT_TRUE(IsThemeActive());
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(0xF3, 0xF3, 0xF3));
  EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), RGB(0x00, 0x67, 0xC0));
  const int scrollWidth = GetSystemMetrics(SM_CXVSCROLL);

  SetThemeActive(false);
  EXPECT_FALSE(IsThemeActive());
  EXPECT_FALSE(IsAppThemed());
  EXPECT_EQ(OpenThemeData(nullptr, u"BUTTON"), nullptr) << "callers draw the classic look";
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(212, 208, 200));
  EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), RGB(10, 36, 106));
  EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), scrollWidth) << "metrics do not change with the look";

  SetThemeActive(true);
  SetThemeAppProperties(STAP_ALLOW_NONCLIENT);
  EXPECT_TRUE(IsThemeActive());
  EXPECT_FALSE(IsAppThemed()) << "controls are not allowed";
  EXPECT_EQ(OpenThemeData(nullptr, u"BUTTON"), nullptr);
  SetThemeAppProperties(STAP_ALLOW_NONCLIENT | STAP_ALLOW_CONTROLS);
  EXPECT_EQ(GetThemeAppProperties(), STAP_ALLOW_NONCLIENT | STAP_ALLOW_CONTROLS);
}

TEST_F(ThemeEngine, MetricsAndContentRectanglesFitTheDrawings) {
  HTHEME button = OpenThemeData(nullptr, u"BUTTON");
  HTHEME scroll = OpenThemeData(nullptr, u"SCROLLBAR");
  ASSERT_TRUE(button && scroll);
  SIZE size{};
  EXPECT_EQ(GetThemePartSize(button, nullptr, BP_CHECKBOX, CBS_CHECKEDNORMAL, nullptr, TS_TRUE, &size), S_OK);
  EXPECT_EQ(size, (SIZE{13, 13}));
  const RECT face{10, 10, 90, 33};
  EXPECT_EQ(GetThemePartSize(button, nullptr, BP_PUSHBUTTON, PBS_NORMAL, &face, TS_DRAW, &size), S_OK);
  EXPECT_EQ(size, (SIZE{80, 23})) << "a stretching part is drawn at the size given";
  EXPECT_EQ(GetThemePartSize(button, nullptr, 99, 1, nullptr, TS_TRUE, &size), E_PROP_ID_UNSUPPORTED);
  EXPECT_EQ(GetThemePartSize(button, nullptr, BP_PUSHBUTTON, 1, nullptr, static_cast<THEMESIZE>(7), &size),
            E_INVALIDARG);

  // The content rectangle and the background extent undo each other.
  RECT content{}, extent{};
  const RECT thumb{0, 20, 17, 60};
  EXPECT_EQ(GetThemeBackgroundContentRect(scroll, nullptr, SBP_THUMBBTNVERT, SCRBS_NORMAL, &thumb, &content), S_OK);
  EXPECT_EQ(content, (RECT{3, 21, 14, 59}));
  EXPECT_EQ(GetThemeBackgroundExtent(scroll, nullptr, SBP_THUMBBTNVERT, SCRBS_NORMAL, &content, &extent), S_OK);
  EXPECT_EQ(extent, thumb);
  EXPECT_EQ(GetThemeBackgroundContentRect(button, nullptr, BP_PUSHBUTTON, 1, nullptr, &content), E_POINTER);

  EXPECT_EQ(GetThemeSysSize(scroll, SM_CXVSCROLL), GetSystemMetrics(SM_CXVSCROLL));
  EXPECT_EQ(GetThemeSysSize(scroll, TMT_CAPTIONBARHEIGHT), GetSystemMetrics(SM_CYCAPTION));
  COLORREF color = 0;
  EXPECT_EQ(GetThemeColor(button, BP_PUSHBUTTON, PBS_DEFAULTED, TMT_FILLCOLOR, &color), S_OK);
  EXPECT_EQ(color, RGB(0x00, 0x67, 0xC0));
  EXPECT_EQ(GetThemeColor(button, BP_PUSHBUTTON, 1, 12345, &color), E_PROP_ID_UNSUPPORTED);
  EXPECT_TRUE(IsThemeBackgroundPartiallyTransparent(button, BP_CHECKBOX, CBS_UNCHECKEDNORMAL));
  EXPECT_FALSE(IsThemeBackgroundPartiallyTransparent(scroll, SBP_LOWERTRACKHORZ, SCRBS_NORMAL));
  CloseThemeData(button);
  CloseThemeData(scroll);
}

TEST_F(ThemeEngine, DrawingKeepsToTheClipAndTheEdgeReportsItsContent) {
  HTHEME scroll = OpenThemeData(nullptr, u"SCROLLBAR");
  Canvas canvas(40, 20, kTeal);
  const RECT track{0, 0, 40, 20}, clip{10, 0, 20, 20};
  std::vector<ThemeDrawRecord> seen;
  auto previous = SetThemeDrawObserver([&](const ThemeDrawRecord& r) { seen.push_back(r); });
  EXPECT_EQ(DrawThemeBackground(scroll, canvas.dc, SBP_LOWERTRACKHORZ, SCRBS_PRESSED, &track, &clip), S_OK);
  DTBGOPTS options;
  options.dwFlags = DTBG_CLIPRECT;
  options.rcClip = {30, 0, 35, 20};
  EXPECT_EQ(DrawThemeBackgroundEx(scroll, canvas.dc, SBP_LOWERTRACKHORZ, SCRBS_NORMAL, &track, &options), S_OK);
  SetThemeDrawObserver(previous);
  EXPECT_EQ(canvas.At(5, 5), kTeal);
  EXPECT_EQ(canvas.At(15, 5), RGB(0xE4, 0xE4, 0xE4));
  EXPECT_EQ(canvas.At(25, 5), kTeal);
  EXPECT_EQ(canvas.At(32, 5), RGB(0xF3, 0xF3, 0xF3));
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].partId, SBP_LOWERTRACKHORZ);
  EXPECT_EQ(seen[0].stateId, SCRBS_PRESSED);
  EXPECT_EQ(seen[0].rect, track);

  HTHEME window = OpenThemeData(nullptr, u"WINDOW");
  RECT content{};
  const RECT box{0, 0, 12, 10};
  EXPECT_EQ(DrawThemeEdge(window, canvas.dc, WP_CAPTION, CS_ACTIVE, &box, EDGE_SUNKEN, BF_RECT, &content), S_OK);
  EXPECT_EQ(content, (RECT{2, 2, 10, 8}));
  EXPECT_EQ(
      DrawThemeEdge(window, canvas.dc, WP_CAPTION, CS_ACTIVE, &box, BDR_RAISEDOUTER, BF_LEFT | BF_BOTTOM, &content),
      S_OK);
  EXPECT_EQ(content, (RECT{1, 0, 12, 9}));
  EXPECT_EQ(canvas.At(11, 9), RGB(0x8A, 0x8A, 0x8A)) << "the bottom line is shaded";
  CloseThemeData(window);
  CloseThemeData(scroll);
}

class ThemeSheet : public ::testing::TestWithParam<bool> {
 protected:
  const kestrel::testing::ThemeScope look_;
};

TEST_P(ThemeSheet, ShowsEveryPartInEachMode) {
  SetThemeActive(GetParam());
  Canvas sheet(kThemeSheetWidth, kThemeSheetHeight, kTeal);
  DrawThemeSheet(sheet.dc);
  // Labels are drawn with the platform's fonts: allow small rendering differences.
  EXPECT_TRUE(kestrel::testing::MatchesGolden(
      sheet.Surface(), GetParam() ? "platform_theme_sheet_themed" : "platform_theme_sheet_classic", {48, 0.01}));
}

INSTANTIATE_TEST_SUITE_P(Modes, ThemeSheet, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Themed" : "Classic"; });

}  // namespace
}  // namespace kestrel::platform
