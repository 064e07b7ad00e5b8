#include "edit/KsEditTempPaint.h"

#include <algorithm>

#include "controls/BackgroundPainter.h"
#include "edit/KsCustomEdit.h"
#include "platform/gdi/DcState.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/OwnedGdi.h"
#include "platform/text/TextOut.h"
#include "platform/text/TextTypes.h"

namespace kestrel {

namespace pf = platform;

void TKsEditTempPaint::PaintBackground(TCanvas& canvas) {
  canvas.Font()->Assign(edit_.Font());
  const TRect client = edit_.ClientRect();
  TBitmap* background = edit_.Background();
  if (edit_.UseBackground() && !background->Empty()) {
    PaintBitmapBackground(canvas.Handle(), client, client, bgtTileBitmap, background->Handle(),
                          edit_.BackgroundColor());
  } else {
    canvas.Brush()->SetColor(edit_.BackgroundColor());
    canvas.FillRect(client);
  }
  const TRect& r = edit_.EditRect();
  clip_ = TRect{r.left + edit_.LeftMargin(), r.top, r.right - edit_.RightMargin(), r.bottom};
}

bool TKsEditTempPaint::CueBannerShown() const {
  return !edit_.Focused() && edit_.Core().TextLength() == 0 && !edit_.CueBanner().empty();
}

bool TKsEditTempPaint::SelectedColumns(int y, int& first, int& last) const {
  const TKsEditCore& core = edit_.Core();
  if (!core.Selected() || (edit_.HideSelection() && !edit_.Focused())) return false;
  const TKsCaretPos from = core.SelFirst(), to = core.SelLast();
  if (y < from.Y || y > to.Y) return false;
  first = y == from.Y ? from.X : 0;
  last = y == to.Y ? to.X : core.LineLength(y);
  return first < last || y < to.Y;
}

void TKsEditTempPaint::PaintLine(TCanvas& canvas, int y) {
  const String line = edit_.Core().Lines().GetLine(y);
  const int leftChar = std::min<int>(edit_.LeftChar(), static_cast<int>(line.size()));
  const std::u16string_view view = std::u16string_view(line).substr(static_cast<size_t>(leftChar));
  const TKsTextPainter& painter = edit_.TextPainter();
  const int width = painter.TextSize(painter.ExpandTabs(painter.MaskText(view))).cx;
  int x = edit_.LineStartX(y, width);
  const int top = edit_.PosFromCaret(leftChar, y).y;
  int first = 0, last = 0;
  if (!SelectedColumns(y, first, last)) {
    PaintRun(canvas, x, top, view, false);
    return;
  }
  first = std::clamp(first - leftChar, 0, static_cast<int>(view.size()));
  last = std::clamp(last - leftChar, first, static_cast<int>(view.size()));
  x = PaintRun(canvas, x, top, view.substr(0, static_cast<size_t>(first)), false);
  x = PaintRun(canvas, x, top, view.substr(static_cast<size_t>(first), static_cast<size_t>(last - first)), true);
  PaintRun(canvas, x, top, view.substr(static_cast<size_t>(last)), false);
}

int TKsEditTempPaint::PaintRun(TCanvas& canvas, int x, int top, std::u16string_view run, bool selected) {
  if (run.empty()) return x;
  const TKsTextPainter& painter = edit_.TextPainter();
  const String shown = painter.ExpandTabs(painter.MaskText(run));
  const int width = canvas.TextExtent(shown).cx;
  const bool focused = edit_.Focused();
  pf::HDC dc = canvas.Handle();
  const TRect cell{std::max(x, clip_.left), top, std::min(x + width, clip_.right), top + edit_.LineHeight()};
  const TColor back = focused ? edit_.FocusedSelectColor() : edit_.HideSelectColor();
  const bool opaque = edit_.HighlightAlphaLevel() >= 255;
  if (selected && opaque && cell.right > cell.left)
    pf::FillRect(dc, &cell, pf::OwnedBrush(pf::CreateSolidBrush(ColorToRGB(back))).get());
  pf::SetTextColor(dc, ColorToRGB(selected ? (focused ? edit_.FocusedSelectTextColor() : edit_.HideSelectTextColor())
                                           : edit_.TextColor()));
  pf::SetBkMode(dc, pf::TRANSPARENT);
  pf::ExtTextOutW(dc, x, top, pf::ETO_CLIPPED, &clip_, shown.data(), static_cast<pf::UINT>(shown.size()), nullptr);
  // A translucent selection is laid over the text it selects.
  if (selected && !opaque && cell.right > cell.left)
    AlphaFillRect(dc, cell, back, static_cast<std::uint8_t>(edit_.HighlightAlphaLevel()));
  return x + width;
}

void TKsEditTempPaint::PaintCueBanner(TCanvas& canvas) {
  pf::HDC dc = canvas.Handle();
  pf::SetTextColor(dc, ColorToRGB(edit_.DisabledFontColor()));
  pf::SetBkMode(dc, pf::TRANSPARENT);
  const String& banner = edit_.CueBanner();
  pf::ExtTextOutW(dc, clip_.left, edit_.PosFromCaret(0, 0).y, pf::ETO_CLIPPED, &clip_, banner.data(),
                  static_cast<pf::UINT>(banner.size()), nullptr);
}

}  // namespace kestrel
