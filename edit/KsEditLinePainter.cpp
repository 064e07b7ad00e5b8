#include "edit/KsEditLinePainter.h"

#include <algorithm>

#include "controls/BackgroundPainter.h"
#include "edit/KsCustomEdit.h"
#include "platform/gdi/DcState.h"
#include "platform/gdi/Regions.h"
#include "platform/text/TextOut.h"
#include "platform/text/TextTypes.h"
#include "platform/window/Caret.h"

namespace kestrel {

namespace pf = platform;

void TKsEditLinePainter::PaintLines(pf::HDC shown) {
  if (!edit_.HandleAllocated()) return;
  TKsTextPainter& painter = edit_.TextPainter();
  pf::HideCaret(edit_.Handle());
  painter.SetColor(edit_.TextColor());
  painter.SetBkColor(edit_.BackgroundColor());
  const int top = std::max(0, edit_.TopLine());
  const int last = std::min(top + edit_.LinesInRect() - 1, edit_.LinesCount() - 1);
  // A partly visible line below the last whole one is painted too, so that nothing is left blank.
  const int end = std::min(last + 1, edit_.LinesCount() - 1);
  const int height = edit_.LineHeight();
  for (int y = top; y <= end; ++y) {
    // The descenders reach into the cell below.
    const int cellTop = edit_.EditRect().top + edit_.TopMargin() + (y - edit_.TopLine()) * height;
    const TRect reach{edit_.EditRect().left, cellTop, edit_.EditRect().right, cellTop + 2 * height};
    if (pf::RectVisible(shown, &reach) != pf::FALSE) edit_.PaintLine(y);
  }
  pf::ShowCaret(edit_.Handle());
}

TRect TKsEditLinePainter::LineClip() const {
  const TRect& r = edit_.EditRect();
  return TRect{r.left + edit_.LeftMargin(), r.top, r.right - edit_.RightMargin(), r.bottom};
}

bool TKsEditLinePainter::SelectedColumns(int y, int& first, int& last) const {
  const TKsEditCore& core = edit_.Core();
  if (!core.Selected() || (edit_.HideSelection() && !edit_.Focused())) return false;
  const TKsCaretPos from = core.SelFirst(), to = core.SelLast();
  if (y < from.Y || y > to.Y) return false;
  first = y == from.Y ? from.X : 0;
  last = y == to.Y ? to.X : core.LineLength(y);
  return first < last;
}

void TKsEditLinePainter::PaintLine(TCanvas& canvas, int y) {
  const String line = edit_.Core().Lines().GetLine(y);
  const int leftChar = std::min<int>(edit_.LeftChar(), static_cast<int>(line.size()));
  const std::u16string_view view = std::u16string_view(line).substr(static_cast<size_t>(leftChar));
  TKsTextPainter& painter = edit_.TextPainter();
  const int width = painter.TextSize(painter.ExpandTabs(painter.MaskText(view))).cx;
  int x = edit_.LineStartX(y, width);
  // The baseline lies at the bottom of the line's cell.
  const int baseline = (y - edit_.TopLine() + 1) * edit_.LineHeight() + edit_.TopMargin() + edit_.EditRect().top;
  int first = 0, last = 0;
  if (!SelectedColumns(y, first, last)) {
    PaintRun(canvas, x, baseline, view, false);
  } else {
    first = std::clamp(first - leftChar, 0, static_cast<int>(view.size()));
    last = std::clamp(last - leftChar, first, static_cast<int>(view.size()));
    x = PaintRun(canvas, x, baseline, view.substr(0, static_cast<size_t>(first)), false);
    x = PaintRun(canvas, x, baseline, view.substr(static_cast<size_t>(first), static_cast<size_t>(last - first)), true);
    PaintRun(canvas, x, baseline, view.substr(static_cast<size_t>(last)), false);
  }
  SetRunColours(false);
}

void TKsEditLinePainter::SetRunColours(bool selected) {
  TKsTextPainter& painter = edit_.TextPainter();
  const bool focused = edit_.Focused();
  if (!selected) {
    painter.SetColor(edit_.TextColor());
    painter.SetBkColor(edit_.BackgroundColor());
  } else {
    painter.SetColor(focused ? edit_.FocusedSelectTextColor() : edit_.HideSelectTextColor());
    painter.SetBkColor(focused ? edit_.FocusedSelectColor() : edit_.HideSelectColor());
  }
}

int TKsEditLinePainter::PaintRun(TCanvas& canvas, int x, int baseline, std::u16string_view run, bool selected) {
  if (run.empty()) return x;
  TKsTextPainter& painter = edit_.TextPainter();
  const String shown = painter.ExpandTabs(painter.MaskText(run));
  SetRunColours(selected);
  const bool opaque = selected && edit_.HighlightAlphaLevel() >= 255;
  pf::HDC dc = canvas.Handle();
  pf::SetBkMode(dc, opaque ? pf::OPAQUE : pf::TRANSPARENT);
  pf::SetTextAlign(dc, pf::TA_BASELINE);
  const TRect clip = LineClip();
  pf::SIZE size{};
  painter.DrawTabbedText(&canvas, x, size, shown, clip, baseline);
  pf::SetTextAlign(dc, pf::TA_TOP);
  pf::SetBkMode(dc, pf::TRANSPARENT);
  if (selected && !opaque) {
    const TRect cell{std::max(x, clip.left), baseline - size.cy, std::min(x + size.cx, clip.right), baseline};
    if (cell.right > cell.left)
      AlphaFillRect(dc, cell, painter.BkColor(), static_cast<std::uint8_t>(edit_.HighlightAlphaLevel()));
  }
  return x + size.cx;
}

}  // namespace kestrel
