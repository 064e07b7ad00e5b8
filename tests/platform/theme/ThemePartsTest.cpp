// Every part the engine draws: inside its rectangle only, each state told apart, undefined
// parts refused, and the classic counterparts drawn with the classic primitives.

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "platform/text/DrawText.h"
#include "platform/text/Font.h"
#include "platform/theme/ClassicParts.h"
#include "platform/theme/UxTheme.h"
#include "platform/theme/VsStyle.h"
#include "tests/platform/gdi/GdiTestSupport.h"
#include "tests/support/ThemeScope.h"

namespace kestrel::platform {
namespace {

using testing::Canvas;
using testing::kTeal;

constexpr COLORREF kMagenta = RGB(255, 0, 255);  // in no drawing of the theme

struct PartStates {
  const char16_t* className;
  int part;
  int firstState;
  int lastState;
  SIZE size;
  bool distinct;  // every state of the range has a look of its own
};

const std::vector<PartStates>& Inventory() {
  static const std::vector<PartStates> parts = {
      {u"BUTTON", BP_PUSHBUTTON, 1, 6, {40, 20}, true},
      {u"BUTTON", BP_CHECKBOX, 1, 12, {13, 13}, true},
      {u"BUTTON", BP_RADIOBUTTON, 1, 8, {13, 13}, true},
      {u"BUTTON", BP_GROUPBOX, 1, 2, {40, 20}, false},
      {u"EDIT", 0, 0, 4, {40, 20}, false},
      {u"EDIT", EP_EDITTEXT, 1, 8, {40, 20}, false},
      {u"EDIT", EP_EDITBORDER_VSCROLL, 1, 4, {40, 20}, true},
      {u"SCROLLBAR", SBP_ARROWBTN, 1, 16, {17, 17}, true},
      {u"SCROLLBAR", SBP_ARROWBTN, 17, 20, {17, 17}, true},
      {u"SCROLLBAR", SBP_THUMBBTNHORZ, 1, 4, {40, 17}, true},
      {u"SCROLLBAR", SBP_THUMBBTNVERT, 1, 4, {17, 40}, true},
      {u"SCROLLBAR", SBP_LOWERTRACKVERT, 1, 5, {17, 40}, false},
      {u"SCROLLBAR", SBP_SIZEBOX, 1, 2, {17, 17}, true},
      {u"WINDOW", WP_CAPTION, 1, 2, {60, 19}, true},
      {u"WINDOW", WP_FRAMEBOTTOM, 1, 2, {60, 4}, true},
      {u"WINDOW", WP_FRAMELEFT, 1, 2, {4, 40}, true},
      {u"WINDOW", WP_CLOSEBUTTON, 1, 4, {16, 14}, true},
      {u"WINDOW", WP_MAXBUTTON, 1, 4, {16, 14}, true},
      {u"WINDOW", WP_RESTOREBUTTON, 1, 4, {16, 14}, true},
      {u"TOOLBAR", TP_BUTTON, 1, 6, {24, 22}, false},
      {u"TOOLBAR", TP_SEPARATOR, 0, 3, {6, 22}, false},
      {u"STATUS", SP_GRIPPER, 0, 1, {13, 13}, false},
      {u"TOOLTIP", TTP_STANDARD, 1, 2, {40, 20}, false},
      {u"TOOLTIP", TTP_CLOSE, 1, 3, {14, 14}, true},
      {u"PROGRESS", PP_FILL, 1, 3, {40, 10}, true},
      {u"PROGRESS", PP_BARVERT, 0, 1, {10, 40}, false},
  };
  return parts;
}

// The part drawn at (4, 4) on a magenta canvas with a 4-px margin, as a mask string.
std::string Render(HTHEME theme, const PartStates& p, int state) {
  Canvas canvas(p.size.cx + 8, p.size.cy + 8, kMagenta);
  const RECT r{4, 4, 4 + p.size.cx, 4 + p.size.cy};
  EXPECT_EQ(DrawThemeBackground(theme, canvas.dc, p.part, state, &r, nullptr), S_OK) << p.part << "/" << state;
  std::string pixels;
  for (int y = 0; y < p.size.cy + 8; ++y)
    for (int x = 0; x < p.size.cx + 8; ++x) {
      const COLORREF c = canvas.At(x, y);
      const bool outside = x < 4 || y < 4 || x >= 4 + p.size.cx || y >= 4 + p.size.cy;
      if (outside && c != kMagenta)
        ADD_FAILURE() << "part " << p.part << " state " << state << " drew at " << x << "," << y;
      pixels += std::to_string(c) + ",";
    }
  return pixels;
}

class ThemeParts : public ::testing::Test {
 protected:
  const kestrel::testing::ThemeScope themed_{true};
};

TEST_F(ThemeParts, EveryStateDrawsInsideItsRectangleAndLooksItsOwn) {
  for (const PartStates& p : Inventory()) {
    HTHEME theme = OpenThemeData(nullptr, p.className);
    ASSERT_NE(theme, nullptr);
    std::set<std::string> looks;
    for (int state = p.firstState; state <= p.lastState; ++state) looks.insert(Render(theme, p, state));
    if (p.distinct) {
      EXPECT_EQ(static_cast<int>(looks.size()), p.lastState - p.firstState + 1) << "part " << p.part;
    }
    CloseThemeData(theme);
  }
}

TEST_F(ThemeParts, UndefinedPartsAndStatesAreRefusedAndDrawNothing) {
  struct Case {
    const char16_t* className;
    int part, state;
  };
  const Case cases[] = {{u"BUTTON", BP_CHECKBOX, CBS_MIXEDDISABLED + 1},
                        {u"BUTTON", 99, 1},
                        {u"SCROLLBAR", SBP_ARROWBTN, ABS_RIGHTHOVER + 1},
                        {u"WINDOW", WP_CLOSEBUTTON, 5},
                        {u"EDIT", EP_EDITBORDER_NOSCROLL, 5},
                        {u"BUTTON", BP_PUSHBUTTON, -1}};
  for (const Case& c : cases) {
    HTHEME theme = OpenThemeData(nullptr, c.className);
    Canvas canvas(20, 20, kTeal);
    const RECT r{0, 0, 20, 20};
    EXPECT_EQ(DrawThemeBackground(theme, canvas.dc, c.part, c.state, &r, nullptr), E_PROP_ID_UNSUPPORTED)
        << c.part << "/" << c.state;
    EXPECT_FALSE(IsThemePartDefined(theme, c.part, c.state));
    EXPECT_EQ(canvas.Count(kTeal), 400);
    CloseThemeData(theme);
  }
}

TEST_F(ThemeParts, TextTakesThePartsColourAndLeavesTheDcAsItWas) {
  HTHEME button = OpenThemeData(nullptr, u"BUTTON");
  Canvas canvas(60, 20, RGB(255, 255, 255));
  SelectObject(canvas.dc, GetStockFont(DEFAULT_GUI_FONT));
  SetTextColor(canvas.dc, kTeal);
  SetBkMode(canvas.dc, OPAQUE);
  const RECT r{0, 0, 60, 20};
  EXPECT_EQ(DrawThemeText(button, canvas.dc, BP_PUSHBUTTON, PBS_DEFAULTED, u"MMM", -1, DT_SINGLELINE, 0, &r), S_OK);
  EXPECT_GT(canvas.Count(RGB(255, 255, 255)), 0) << "transparent: the background stays";
  EXPECT_EQ(canvas.Count(kTeal), 0);
  Canvas grayed(60, 20, RGB(0, 0, 0));
  SelectObject(grayed.dc, GetStockFont(DEFAULT_GUI_FONT));
  EXPECT_EQ(DrawThemeText(button, grayed.dc, BP_PUSHBUTTON, PBS_NORMAL, u"MMM", 3, DT_SINGLELINE, DTT_GRAYED, &r),
            S_OK);
  EXPECT_GT(grayed.Count(GetSysColor(COLOR_GRAYTEXT)), 0);
  EXPECT_EQ(GetTextColor(canvas.dc), kTeal);
  EXPECT_EQ(GetBkMode(canvas.dc), OPAQUE);

  RECT extent{}, calculated{0, 0, 0, 0};
  EXPECT_EQ(GetThemeTextExtent(button, canvas.dc, BP_PUSHBUTTON, 1, u"MMM", -1, DT_SINGLELINE, nullptr, &extent), S_OK);
  DrawTextW(canvas.dc, u"MMM", -1, &calculated, DT_SINGLELINE | DT_CALCRECT);
  EXPECT_EQ(extent, calculated);
  EXPECT_GT(extent.right, 0);
  LOGFONTW font{};
  EXPECT_EQ(GetThemeFont(button, nullptr, 0, 0, TMT_CAPTIONFONT, &font), S_OK);
  EXPECT_EQ(font.lfWeight, FW_BOLD);
  EXPECT_EQ(GetThemeFont(button, nullptr, 0, 0, 12345, &font), E_PROP_ID_UNSUPPORTED);
  CloseThemeData(button);
}

TEST_F(ThemeParts, ClassicCounterpartsAreTheClassicPrimitives) {
  Canvas viaTheme(17, 17, kTeal), direct(17, 17, kTeal);
  RECT r{0, 0, 17, 17};
  EXPECT_TRUE(DrawClassicPart(ThemeClass::ScrollBar, viaTheme.dc, SBP_ARROWBTN, ABS_LEFTPRESSED, r));
  DrawFrameControl(direct.dc, &r, DFC_SCROLL, DFCS_SCROLLLEFT | DFCS_PUSHED);
  EXPECT_EQ(viaTheme.Mask(r, kTeal), direct.Mask(r, kTeal));
  EXPECT_EQ(viaTheme.At(0, 0), direct.At(0, 0));
  EXPECT_EQ(viaTheme.At(8, 8), direct.At(8, 8));

  Canvas box(13, 13, kTeal), frame(13, 13, kTeal);
  RECT g{0, 0, 13, 13};
  EXPECT_TRUE(DrawClassicPart(ThemeClass::Button, box.dc, BP_CHECKBOX, CBS_CHECKEDDISABLED, g));
  DrawFrameControl(frame.dc, &g, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_INACTIVE);
  for (int y = 0; y < 13; ++y)
    for (int x = 0; x < 13; ++x) ASSERT_EQ(box.At(x, y), frame.At(x, y)) << x << "," << y;
}

}  // namespace
}  // namespace kestrel::platform
