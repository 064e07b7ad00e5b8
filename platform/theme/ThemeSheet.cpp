#include "platform/theme/ThemeSheet.h"

#include <vector>

#include "platform/gdi/DcState.h"
#include "platform/gdi/Frames.h"
#include "platform/gdi/Primitives.h"
#include "platform/gdi/SystemColors.h"
#include "platform/text/DrawText.h"
#include "platform/text/Font.h"
#include "platform/theme/ClassicParts.h"
#include "platform/theme/UxTheme.h"
#include "platform/theme/VsStyle.h"
#include "platform/theme/internal/ThemeCanvas.h"

namespace kestrel::platform {

namespace {
constexpr int kLabelWidth = 110;
constexpr int kGap = 4;
constexpr int kRowGap = 6;

struct Cell {
  int part;
  int state;
};

struct Row {
  const char16_t* label;
  const char16_t* className;
  SIZE cell;
  std::vector<Cell> cells;
};

std::vector<Cell> States(int part, int first, int last) {
  std::vector<Cell> cells;
  for (int state = first; state <= last; ++state) cells.push_back({part, state});
  return cells;
}

std::vector<Cell> Join(std::vector<Cell> a, const std::vector<Cell>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

std::vector<Row> Rows() {
  return {
      {u"Push buttons", u"BUTTON", {56, 23}, States(BP_PUSHBUTTON, 1, 5)},
      {u"Check boxes", u"BUTTON", {17, 17}, States(BP_CHECKBOX, 1, 12)},
      {u"Radio buttons", u"BUTTON", {17, 17}, States(BP_RADIOBUTTON, 1, 8)},
      {u"Group box", u"BUTTON", {56, 23}, States(BP_GROUPBOX, 1, 2)},
      {u"Edit fields", u"EDIT", {56, 21}, Join({{0, 0}, {0, 2}}, States(EP_EDITBORDER_NOSCROLL, 1, 4))},
      {u"Scroll arrows", u"SCROLLBAR", {17, 17}, States(SBP_ARROWBTN, 1, 16)},
      {u"Thumbs, grippers",
       u"SCROLLBAR",
       {40, 17},
       Join(States(SBP_THUMBBTNHORZ, 1, 4), {{SBP_GRIPPERHORZ, 1}, {SBP_SIZEBOX, 1}, {SBP_SIZEBOX, 2}})},
      {u"Vertical thumbs", u"SCROLLBAR", {17, 40}, Join(States(SBP_THUMBBTNVERT, 1, 4), {{SBP_GRIPPERVERT, 1}})},
      {u"Tracks",
       u"SCROLLBAR",
       {20, 17},
       Join(Join(States(SBP_LOWERTRACKHORZ, 1, 4), States(SBP_UPPERTRACKHORZ, 1, 4)),
            Join(States(SBP_LOWERTRACKVERT, 1, 4), States(SBP_UPPERTRACKVERT, 1, 4)))},
      {u"Captions, frames",
       u"WINDOW",
       {96, 19},
       {{WP_CAPTION, CS_ACTIVE},
        {WP_CAPTION, CS_INACTIVE},
        {WP_FRAMEBOTTOM, FS_ACTIVE},
        {WP_FRAMEBOTTOM, FS_INACTIVE}}},
      {u"Caption buttons",
       u"WINDOW",
       {16, 14},
       Join(Join(States(WP_MINBUTTON, 1, 4), States(WP_MAXBUTTON, 1, 4)),
            Join(States(WP_RESTOREBUTTON, 1, 4), Join(States(WP_HELPBUTTON, 1, 4), States(WP_CLOSEBUTTON, 1, 4))))},
      {u"Tool bar", u"TOOLBAR", {24, 22}, Join(States(TP_BUTTON, 1, 6), {{TP_SEPARATOR, 1}, {TP_SEPARATORVERT, 1}})},
      {u"Status", u"STATUS", {40, 20}, {{SP_PANE, 1}, {SP_GRIPPER, 1}}},
      {u"Tool tips", u"TOOLTIP", {56, 22}, Join({{TTP_STANDARD, 1}, {TTP_BALLOON, 1}}, States(TTP_CLOSE, 1, 3))},
      {u"Progress", u"PROGRESS", {56, 16}, Join({{PP_BAR, 1}}, States(PP_FILL, 1, 4))},
  };
}

void DrawLabel(HDC hdc, const char16_t* text, RECT box) {
  SetBkMode(hdc, TRANSPARENT);
  SetTextColor(hdc, GetSysColor(COLOR_BTNTEXT));
  DrawTextW(hdc, text, -1, &box, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
}

void DrawRow(HDC hdc, const Row& row, int top) {
  HTHEME theme = OpenThemeData(nullptr, row.className);
  const auto themeClass = ParseThemeClassList(row.className);
  DrawLabel(hdc, row.label, {kGap, top, kLabelWidth, top + row.cell.cy});
  int x = kLabelWidth;
  for (const Cell& cell : row.cells) {
    const RECT r{x, top, x + row.cell.cx, top + row.cell.cy};
    // Grippers are shown on the thumb they sit on.
    const bool gripper =
        *themeClass == ThemeClass::ScrollBar && (cell.part == SBP_GRIPPERHORZ || cell.part == SBP_GRIPPERVERT);
    if (theme && gripper) DrawThemeBackground(theme, hdc, cell.part - 6, SCRBS_NORMAL, &r, nullptr);
    if (theme) DrawThemeBackground(theme, hdc, cell.part, cell.state, &r, nullptr);
    else DrawClassicPart(*themeClass, hdc, cell.part, cell.state, r);
    x += row.cell.cx + kGap;
  }
  if (theme) CloseThemeData(theme);
}

// DrawThemeEdge's four edges beside the rows.
void DrawEdges(HDC hdc, int top) {
  HTHEME theme = OpenThemeData(nullptr, u"WINDOW");
  DrawLabel(hdc, u"Edges", {kGap, top, kLabelWidth, top + 24});
  int x = kLabelWidth;
  for (UINT edge : {EDGE_RAISED, EDGE_SUNKEN, EDGE_ETCHED, EDGE_BUMP}) {
    const RECT r{x, top, x + 40, top + 24};
    if (theme) {
      DrawThemeEdge(theme, hdc, WP_CAPTION, CS_INACTIVE, &r, edge, BF_RECT | BF_MIDDLE, nullptr);
    } else {
      RECT box = r;
      DrawEdge(hdc, &box, edge, BF_RECT | BF_MIDDLE);
    }
    x += 40 + kGap;
  }
  if (theme) CloseThemeData(theme);
}
}  // namespace

void DrawThemeSheet(HDC hdc) {
  const RECT all{0, 0, kThemeSheetWidth, kThemeSheetHeight};
  FillRect(hdc, &all, GetSysColorBrush(COLOR_BTNFACE));
  const int saved = SaveDC(hdc);
  SelectObject(hdc, GetStockFont(DEFAULT_GUI_FONT));
  int top = kGap;
  for (const Row& row : Rows()) {
    DrawRow(hdc, row, top);
    top += row.cell.cy + kRowGap;
  }
  DrawEdges(hdc, top);
  RestoreDC(hdc, saved);
}

}  // namespace kestrel::platform
