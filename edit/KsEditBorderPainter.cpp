// TKsEditBorderPainter: the flat, sunken and themed borders of the edit control, the flat look of
// its platform scroll bars and the corner between its owner-drawn bars.

#include "edit/KsEditBorderPainter.h"

#include "controls/BorderPainter.h"
#include "controls/KsSBController.h"
#include "controls/ScrollBarPainter.h"
#include "controls/VnThemeServices.h"
#include "edit/KsCustomEdit.h"
#include "platform/core/ScopeGuard.h"
#include "platform/gdi/Frames.h"
#include "platform/theme/VsStyle.h"
#include "platform/window/BorrowedDC.h"
#include "platform/window/SystemParameters.h"
#include "platform/window/WindowApi.h"

namespace kestrel {

namespace pf = platform;

namespace {

pf::DWORD StyleOf(pf::HWND wnd) { return static_cast<pf::DWORD>(pf::GetWindowLongW(wnd, pf::GWL_STYLE)); }
pf::DWORD ExStyleOf(pf::HWND wnd) { return static_cast<pf::DWORD>(pf::GetWindowLongW(wnd, pf::GWL_EXSTYLE)); }

// Where the client area's top-left corner lies in the window.
pf::POINT ClientOrigin(pf::HWND wnd) {
  pf::RECT window{};
  pf::GetWindowRect(wnd, &window);
  pf::POINT origin{0, 0};
  pf::ClientToScreen(wnd, &origin);
  return {origin.x - window.left, origin.y - window.top};
}

}  // namespace

bool TKsEditBorderPainter::Active() const { return edit_.Focused() || edit_.MouseOver(); }

bool TKsEditBorderPainter::UsesCustomBars() const {
  return edit_.UseCustomScrollBars() && edit_.ScrollBarController()->Control() == &edit_;
}

bool TKsEditBorderPainter::HasBothPlatformBars() const {
  const pf::DWORD style = StyleOf(edit_.Handle());
  return (style & pf::WS_HSCROLL) && (style & pf::WS_VSCROLL);
}

TRect TKsEditBorderPainter::WindowFrame() const {
  pf::RECT bounds{};
  pf::GetWindowRect(edit_.Handle(), &bounds);
  return TRect{0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top};
}

void TKsEditBorderPainter::PaintFlatBorder() {
  if (!edit_.HandleAllocated() || !edit_.Flat() || edit_.IsThemed()) return;
  pf::BorrowedDC dc(edit_.Handle(), pf::GetWindowDC(edit_.Handle()));
  PaintBorder(dc.get());
}

void TKsEditBorderPainter::PaintCorner() {
  if (!edit_.HandleAllocated() || !UsesCustomBars()) return;
  const TRect corner = edit_.ScrollBarController()->GetCrossScrollBarsRect();
  if (corner.left < 0) return;
  pf::BorrowedDC dc(edit_.Handle(), pf::GetWindowDC(edit_.Handle()));
  if (!dc.get()) return;
  TCanvas canvas;
  canvas.SetHandle(dc.get());
  PaintCorner(canvas, corner);
  canvas.SetHandle(nullptr);
}

bool TKsEditBorderPainter::PaintCorner(TCanvas& windowCanvas, const TRect& corner) {
  if (edit_.ScrollBars() != ssBoth || !edit_.Multiline() || !UsesCustomBars()) return false;
  windowCanvas.Brush()->SetColor(edit_.ScrollBarController()->VertScrollBarStyles()->Color());
  windowCanvas.FillRect(corner);
  return true;
}

void TKsEditBorderPainter::PaintNonClientBorder() {
  if (!edit_.HandleAllocated() || edit_.FPreventStyleChange) return;
  // Owner-drawn bars watch the window's styles; with them the platform border stays untouched.
  if (!UsesCustomBars()) ToggleBorderStyle();
  pf::BorrowedDC dc(edit_.Handle(), pf::GetWindowDC(edit_.Handle()));
  if (!dc.get()) return;
  if (edit_.IsThemed() && edit_.BorderStyle() == bsSingle) {
    PaintThemedRing(dc.get());
    return;
  }
  PaintBorder(dc.get());
  if (edit_.RightAlignedView() && !UsesCustomBars() && HasBothPlatformBars()) PaintSizeBox(dc.get(), ScrollArea());
}

void TKsEditBorderPainter::ToggleBorderStyle() {
  const pf::HWND wnd = edit_.Handle();
  const bool clientEdge = ExStyleOf(wnd) & pf::WS_EX_CLIENTEDGE;
  const int index = clientEdge ? pf::GWL_EXSTYLE : pf::GWL_STYLE;
  const pf::DWORD bit = clientEdge ? pf::WS_EX_CLIENTEDGE : pf::WS_BORDER;
  const auto styles = static_cast<pf::DWORD>(pf::GetWindowLongW(wnd, index));
  if (!(styles & bit)) return;
  edit_.FPreventStyleChange = true;
  pf::ScopeGuard restore([&] { edit_.FPreventStyleChange = false; });
  pf::SetWindowLongW(wnd, index, static_cast<pf::LONG>(styles & ~bit));
  pf::SetWindowLongW(wnd, index, static_cast<pf::LONG>(styles));
}

void TKsEditBorderPainter::PaintBorder(pf::HDC dc) {
  if (edit_.IsThemed()) return;
  if (edit_.BorderStyle() == bsSingle) {
    const bool active = Active();
    TKsFlatBorderType type = active ? edit_.ActiveBorderType() : edit_.InactiveBorderType();
    if (!edit_.Flat()) type = fbtSunken;
    kestrel::PaintFlatBorder(dc, WindowFrame(),
                             active ? edit_.LineBorderActiveColor() : edit_.LineBorderInactiveColor(), edit_.Color(),
                             active, edit_.Enabled(), edit_.BorderSides(), type, edit_.BorderColors());
  }
  if (!UsesCustomBars() && (edit_.FlatFocusedScrollBars() || !Active())) PaintFlatPlatformBars(dc);
}

void TKsEditBorderPainter::PaintFlatPlatformBars(pf::HDC dc) {
  const pf::HWND wnd = edit_.Handle();
  pf::DWORD style = StyleOf(wnd);
  pf::DWORD exStyle = ExStyleOf(wnd);
  // The styles the window would wear with its platform border.
  if (edit_.BorderStyle() == bsSingle) {
    if (edit_.Ctl3D()) exStyle |= pf::WS_EX_CLIENTEDGE;
    else style |= pf::WS_BORDER;
  }
  const bool active = Active() && !edit_.FlatFocusedScrollBars();
  // The painter finds the bars one border width inside the rectangle it is given; the platform has
  // them beside the client area, which the border sides not listed leave closer to the edge.
  const int border = (style & pf::WS_BORDER)            ? pf::GetSystemMetrics(pf::SM_CXBORDER)
                     : (exStyle & pf::WS_EX_CLIENTEDGE) ? pf::GetSystemMetrics(pf::SM_CXEDGE)
                                                        : 0;
  TRect bars = ScrollArea();
  bars = TRect{bars.left - border, bars.top - border, bars.right + border, bars.bottom + border};
  PaintFlatScrollBars(wnd, dc, bars, active, edit_.ScrollBars(), false, false, false, style, exStyle);
}

TRect TKsEditBorderPainter::ScrollArea() const {
  const pf::HWND wnd = edit_.Handle();
  pf::RECT client{};
  pf::GetClientRect(wnd, &client);
  const pf::POINT origin = ClientOrigin(wnd);
  TRect area{origin.x, origin.y, origin.x + client.right, origin.y + client.bottom};
  const bool leftBar = edit_.RightAlignedView();
  int vertDepth = 0, horzDepth = 0;
  if (UsesCustomBars()) {
    const TKsSBController& bars = *edit_.ScrollBarController();
    if (bars.VertScrollBarStyles()->Visible()) vertDepth = bars.VertScrollBarStyles()->Depth();
    if (bars.HorzScrollBarStyles()->Visible()) horzDepth = bars.HorzScrollBarStyles()->Depth();
  } else {
    const pf::DWORD style = StyleOf(wnd);
    if (style & pf::WS_VSCROLL) vertDepth = pf::GetSystemMetrics(pf::SM_CXVSCROLL);
    if (style & pf::WS_HSCROLL) horzDepth = pf::GetSystemMetrics(pf::SM_CYHSCROLL);
  }
  if (leftBar) area.left -= vertDepth;
  else area.right += vertDepth;
  area.bottom += horzDepth;
  return area;
}

void TKsEditBorderPainter::PaintSizeBox(pf::HDC dc, const TRect& area) const {
  const int width = pf::GetSystemMetrics(pf::SM_CXVSCROLL);
  const int height = pf::GetSystemMetrics(pf::SM_CYHSCROLL);
  pf::RECT box{area.right - width, area.bottom - height, area.right, area.bottom};
  if (edit_.RightAlignedView()) box = {area.left, area.bottom - height, area.left + width, area.bottom};
  pf::DrawEdge(dc, &box, pf::EDGE_SUNKEN, pf::BF_MIDDLE);
}

void TKsEditBorderPainter::PaintThemedRing(pf::HDC dc) {
  TVnThemeServices* themes = GlobalThemeServices();
  if (!themes) return;
  const TRect area = ScrollArea();
  const bool platformBoth = !UsesCustomBars() && HasBothPlatformBars();
  if (platformBoth) PaintSizeBox(dc, area);
  pf::ExcludeClipRect(dc, area.left, area.top, area.right, area.bottom);
  themes->DrawElement(edit_.UseThemeMode(), dc, ThemedBorderDetails(), WindowFrame());
}

// The platform's look draws the border part for a window with a vertical bar, the library's own
// renderers the class as a whole; both know the normal, hot, focused and disabled rings.
TThemedElementDetails TKsEditBorderPainter::ThemedBorderDetails() const {
  const bool platformLook = edit_.UseThemeMode() == ttmPlatform;
  const int part = platformLook ? pf::EP_EDITBORDER_VSCROLL : 0;
  int state = platformLook ? pf::EPSN_NORMAL : 0;
  if (!edit_.Enabled()) state = pf::EPSN_DISABLED;
  else if (edit_.Focused()) state = pf::EPSN_FOCUSED;
  else if (edit_.MouseOver()) state = pf::EPSN_HOT;
  return {edit_.ThemedElement(), part, state};
}

}  // namespace kestrel
