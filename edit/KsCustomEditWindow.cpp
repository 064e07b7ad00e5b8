// TCustomKsEdit: the window, the non-client area, the layout of the edit rectangle, focus and
// the platform caret, pixel and caret conversions, and scrolling.

#include <algorithm>
#include <cstdlib>

#include "controls/KsCtrlScrollBarStyles.h"
#include "controls/KsImageForm.h"
#include "controls/KsSBController.h"
#include "edit/KsCustomEdit.h"
#include "edit/KsEditBorderPainter.h"
#include "edit/KsEditMessages.h"
#include "edit/KsEditPainter.h"
#include "platform/core/ScopeGuard.h"
#include "platform/gdi/DcState.h"
#include "platform/gdi/OwnedGdi.h"
#include "platform/gdi/Rectangles.h"
#include "platform/gdi/Regions.h"
#include "platform/gdi/SystemColors.h"
#include "platform/text/TextMeasure.h"
#include "platform/text/TextTypes.h"
#include "platform/window/BorrowedDC.h"
#include "platform/window/Caret.h"
#include "platform/window/ScrollBars.h"
#include "platform/window/SystemParameters.h"
#include "platform/window/WindowApi.h"

namespace kestrel {

namespace pf = platform;

namespace {

// Has the border and the scroll bars painted again, the client area left as it is: the window
// rectangle less the client area, in client coordinates.
void InvalidateFrameOnly(pf::HWND wnd) {
  pf::RECT window{}, client{};
  pf::GetWindowRect(wnd, &window);
  pf::GetClientRect(wnd, &client);
  pf::POINT origin{0, 0};
  pf::ClientToScreen(wnd, &origin);
  pf::OwnedRegion frame(pf::CreateRectRgn(window.left - origin.x, window.top - origin.y, window.right - origin.x,
                                          window.bottom - origin.y));
  const pf::OwnedRegion inside(pf::CreateRectRgn(0, 0, client.right, client.bottom));
  pf::CombineRgn(frame.get(), frame.get(), inside.get(), pf::RGN_DIFF);
  pf::RedrawWindow(wnd, nullptr, frame.get(), pf::RDW_INVALIDATE | pf::RDW_FRAME);
}

}  // namespace

// ---- window ----

void TCustomKsEdit::CreateParams(TCreateParams& params) {
  TKsXPThemedControl::CreateParams(params);
  const bool single = FBorderStyle == bsSingle;
  // A flat single border without theming is painted by the control itself.
  const bool ownBorder = PaintsOwnBorder();
  if (single && !ownBorder) {
    if (Ctl3D()) params.ExStyle |= pf::WS_EX_CLIENTEDGE;
    else params.Style |= pf::WS_BORDER;
  }
  if (FMultiline) {
    params.Style |= ksem::ES_MULTILINE;
    if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) params.Style |= pf::WS_HSCROLL;
    if (FScrollBars == ssVertical || FScrollBars == ssBoth) params.Style |= pf::WS_VSCROLL;
  }
  if (FRightAlignedView) params.ExStyle |= pf::WS_EX_LEFTSCROLLBAR;
  if (FRightAlignedText) params.ExStyle |= pf::WS_EX_RIGHT | pf::WS_EX_RTLREADING;
  if (FTransparent) params.ExStyle |= pf::WS_EX_TRANSPARENT;
  params.ClassStyle &= ~(pf::CS_HREDRAW | pf::CS_VREDRAW);
  params.ClassStyle |= pf::CS_DBLCLKS;
}

void TCustomKsEdit::CreateWnd() {
  TKsXPThemedControl::CreateWnd();
  AttachScrollBars();
  FTextPainter.reset();
  ReadFontMetrics();
  ResetEditRect();
  core_->Rewrap();
  UpdateScrollBars();
  AdjustHeight();
  if (pf::GetFocus() == Handle()) GotFocus();
}

void TCustomKsEdit::DestroyWnd() {
  KillCaret();
  FSBController->SetControl(nullptr);
  TKsXPThemedControl::DestroyWnd();
}

void TCustomKsEdit::AttachScrollBars() {
  // Only a multi-line edit shows bars; the window's scroll styles say which.
  if (!FUseCustomScrollBars || !FMultiline || FScrollBars == ssNone || Designing()) return;
  FSBController->SetControl(this);
  if (FSBController->Active()) return;
  // The controller cannot serve this window: the platform's own bars take over.
  FSBController->SetControl(nullptr);
  FUseCustomScrollBars = false;
}

void TCustomKsEdit::InvalidateBorder() {
  if (HandleAllocated()) pf::RedrawWindow(Handle(), nullptr, nullptr, pf::RDW_INVALIDATE | pf::RDW_FRAME);
}

void TCustomKsEdit::CalcNonClientSize(TMessage& message) {
  TKsXPThemedControl::WndProc(message);
  if (!message.LParam) return;
  pf::RECT& r = message.WParam ? reinterpret_cast<pf::NCCALCSIZE_PARAMS*>(message.LParam)->rgrc[0]
                               : *reinterpret_cast<pf::RECT*>(message.LParam);
  const bool single = FBorderStyle == bsSingle;
  if (!single) return;
  const int edge = Ctl3D() ? pf::GetSystemMetrics(pf::SM_CXEDGE) : pf::GetSystemMetrics(pf::SM_CXBORDER);
  // Flat and unthemed: the platform's border is gone, the sides listed get the flat border's room.
  // Otherwise: the platform's border stays and each side not listed gives its room back.
  const bool ownBorder = PaintsOwnBorder();
  const int sign = ownBorder ? 1 : -1;
  const auto side = [&](TVnBorderSide s) { return FBorderSides.Contains(s) == ownBorder ? sign * edge : 0; };
  r.left += side(ebsLeft);
  r.top += side(ebsTop);
  r.right -= side(ebsRight);
  r.bottom -= side(ebsBottom);
  r.right = std::max(r.right, r.left);
  r.bottom = std::max(r.bottom, r.top);
}

bool TCustomKsEdit::PaintsOwnBorder() const { return FBorderStyle == bsSingle && FFlat && !IsThemed(); }

void TCustomKsEdit::PaintNonClient(TMessage& message) {
  TKsXPThemedControl::WndProc(message);
  borderPainter_->PaintNonClientBorder();
}

// ---- metrics and layout ----

void TCustomKsEdit::ReadFontMetrics() {
  pf::BorrowedDC screen(nullptr, pf::GetDC(nullptr));
  pf::HDC dc = screen.get();
  pf::TEXTMETRICW metrics{};
  pf::HGDIOBJ old = pf::SelectObject(dc, Font()->Handle());
  pf::GetTextMetricsW(dc, &metrics);
  pf::SelectObject(dc, old);
  FAscent = metrics.tmAscent;
  FDescent = metrics.tmDescent;
  textHeight_ = std::abs(static_cast<int>(metrics.tmHeight));
  const int fontHeight = std::abs(Font()->Height());
  FLineHeight = (fontHeight > 0 ? fontHeight : textHeight_) + 2;
}

void TCustomKsEdit::FontMetricsChanged() {
  ReadFontMetrics();
  UpdateLinesInRect();
  if (!LoadingOrReading()) AdjustHeight();
  core_->Rewrap();
  UpdateScrollBars();
  if (FHasCaret) {
    KillCaret();
    MakeCaret();
  }
  Invalidate();
}

void TCustomKsEdit::ResetEditRect() { SetEditRect(ClientRect()); }

void TCustomKsEdit::SetEditRect(const TRect& value) {
  FEditRect = value;
  UpdateLinesInRect();
}

void TCustomKsEdit::UpdateLinesInRect() {
  if (FAlignBottom) FTopMargin = 0;
  const int height = FEditRect.bottom - FTopMargin;
  int lines = FLineHeight > 0 ? height / FLineHeight : 0;
  if (lines < 1 && height > 0) lines = 1;
  core_->SetLinesInRect(lines);
}

void TCustomKsEdit::AdjustHeight() {
  if (FMultiline || !FAutoSize || LoadingOrReading()) return;
  const int border = Ctl3D() ? 4 * pf::GetSystemMetrics(pf::SM_CYEDGE) : 6 * pf::GetSystemMetrics(pf::SM_CYBORDER);
  const int height = textHeight_ + border;
  if (height != Height()) SetBounds(Left(), Top(), Width(), height);
}

void TCustomKsEdit::SizeChanged() {
  const int oldLines = core_->LinesInRect();
  const int oldWidth = FEditRect.right - FEditRect.left;
  if (!FMultiline && FAutoSize && !LoadingOrReading()) AdjustHeight();
  ResetEditRect();
  // Caret and anchor keep their character positions through the new wrapping, so a selection
  // survives the resize whole.
  core_->Rewrap();
  if (FMultiline && core_->TopLine() > 0 && core_->LinesCount() - core_->TopLine() < core_->LinesInRect())
    core_->SetTopLine(core_->TopLine() - 1);
  const bool reflows = (FMultiline && FWordWrap) || FAlignment != taLeftJustify;
  if (reflows || core_->LinesInRect() > oldLines || FEditRect.right - FEditRect.left > oldWidth) Invalidate();
  UpdateScrollBars();
  if (IsThemed() || FFlat) InvalidateBorder();
}

int TCustomKsEdit::Room() const { return FEditRect.right - FRightMargin - FEditRect.left - FLeftMargin; }

int TCustomKsEdit::LineStartX(int y, int paintedWidth) const {
  const bool forcedLeft = core_->ForceLeftAlignment() && y == core_->CaretY();
  if (core_->LeftChar() > 0 || FAlignment == taLeftJustify || forcedLeft) return FEditRect.left + FLeftMargin;
  const int right = FEditRect.right - FRightMargin;
  // Two pixels short of the margin, where the caret after the last character still shows.
  if (FAlignment == taRightJustify) return right - paintedWidth - 2;
  return right / 2 - paintedWidth / 2;
}

TPoint TCustomKsEdit::PosFromCaret(int x, int y) const {
  if (y > core_->LinesCount()) throw EKsEditorError(u"Invalid Y position (%d)", {y});
  TPoint p{};
  p.y = std::abs(FAscent - FLineHeight) + FLineHeight * (y - core_->TopLine()) + FTopMargin;
  if (y >= core_->TopLine() + core_->LinesInRect()) p.y += FEditRect.bottom;
  const String line = core_->Lines().GetLine(std::min(y, core_->LinesCount() - 1));
  const TKsTextPainter& painter = TextPainter();
  const auto width = [&](std::u16string_view s) {
    return painter.TextSize(painter.ExpandTabs(painter.MaskText(s))).cx;
  };
  const int leftChar = core_->LeftChar();
  const int length = static_cast<int>(line.size());
  const std::u16string_view text(line);
  if (x < leftChar) {
    p.x = -2;
  } else {
    const int from = std::min(leftChar, length);
    p.x = width(text.substr(static_cast<size_t>(from), static_cast<size_t>(std::clamp(x, from, length) - from)));
  }
  const bool forcedLeft = core_->ForceLeftAlignment() && y == core_->CaretY();
  if (leftChar == 0 && !forcedLeft && FAlignment == taCenter)
    p.x += std::abs((FEditRect.right - FRightMargin) / 2 - width(text) / 2);
  else if (leftChar == 0 && !forcedLeft && FAlignment == taRightJustify)
    p.x += std::abs(FEditRect.right - FRightMargin - width(text)) - 2;
  else p.x += FEditRect.left + FLeftMargin;
  if (p.x > FEditRect.right - FRightMargin) p.x = -2;
  return p;
}

TKsCaretPos TCustomKsEdit::CaretFromPos(TPoint point) const {
  TKsCaretPos pos;
  const int lineHeight = std::max(FLineHeight, 1);
  pos.Y = std::clamp((point.y - FTopMargin) / lineHeight + core_->TopLine(), 0, std::max(core_->LinesCount() - 1, 0));
  const String line = core_->Lines().GetLine(pos.Y);
  const int leftChar = std::min<int>(core_->LeftChar(), static_cast<int>(line.size()));
  const TKsTextPainter& painter = TextPainter();
  const String visible = painter.MaskText(std::u16string_view(line).substr(static_cast<size_t>(leftChar)));
  if (visible.empty()) {
    pos.X = core_->LeftChar();
    return pos;
  }
  const int tabWidth =
      painter.TextSize(core_->TabString() == u"\t" ? painter.ExpandTabs(u"\t") : core_->TabString()).cx;
  int x = LineStartX(pos.Y, painter.TextSize(painter.ExpandTabs(visible)).cx);
  pos.X = leftChar + static_cast<int>(visible.size());
  for (size_t i = 0; i < visible.size(); ++i) {
    const int w = visible[i] == u'\t' ? tabWidth : painter.TextSize(visible.substr(i, 1)).cx;
    if (x + w / 2 > point.x) {
      pos.X = leftChar + static_cast<int>(i);
      break;
    }
    x += w;
  }
  return pos;
}

// ---- focus and the caret ----

void TCustomKsEdit::MakeCaret() {
  if (!HandleAllocated() || FHasCaret) return;
  const int border = pf::GetSystemMetrics(pf::SM_CXBORDER);
  const int width = Font()->Style().Contains(fsBold) ? 2 * border : border;
  pf::CreateCaret(Handle(), nullptr, width, std::max(textHeight_, 1));
  FHasCaret = true;
  PlaceCaret();
  pf::ShowCaret(Handle());
}

void TCustomKsEdit::KillCaret() {
  if (!FHasCaret) return;
  FHasCaret = false;
  pf::DestroyCaret();
}

void TCustomKsEdit::PlaceCaret() {
  if (!FHasCaret || !HandleAllocated()) return;
  const TPoint p = PosFromCaret(core_->CaretX(), core_->CaretY());
  pf::HideCaret(Handle());
  pf::SetCaretPos(p.x, p.y);
  pf::ShowCaret(Handle());
  if (FTransparent || IsThemed()) InvalidateEditRect();
}

void TCustomKsEdit::ScrollCaret() { PlaceCaret(); }

void TCustomKsEdit::GotFocus() {
  ApplyIme();
  MakeCaret();
  // A press that brings the focus selects for itself.
  if (FAutoSelect && !pressing_) {
    SelectAll();
    core_->SetLeftChar(0);
    core_->SetTopLine(0);
  }
  Invalidate();
  InvalidateBorder();
}

void TCustomKsEdit::LostFocus(pf::HWND focusGoesTo) {
  KillCaret();
  focusWentNowhere_ = focusGoesTo == nullptr;
  FSelecting = false;
  Invalidate();
  InvalidateBorder();
  // A running drag ends (and is cancelled) with the focus.
  if (TControl::Dragging()) EndDrag(false);
  if (FDragging || FWaitForDragging) DragCancelled();
}

// ---- what the core's changes mean on screen ----

void TCustomKsEdit::InvalidateEditRect() {
  if (!HandleAllocated() || painting_ || !painter_->TakeInvalidation()) return;
  // A background taken from behind the edit is painted again by the erase step first.
  const bool imageForm = FImageForm != nullptr && FImageForm->BackgroundType() != bgtColorFill;
  const bool erase = imageForm || FTransparent || IsThemed();
  if (FTransparent && Parent() != nullptr && Parent()->HandleAllocated()) {
    TRect under = FEditRect;
    const TPoint origin = Parent()->ScreenToClient(ClientOrigin());
    pf::OffsetRect(&under, origin.x, origin.y);
    pf::InvalidateRect(Parent()->Handle(), &under, pf::TRUE);
    pf::UpdateWindow(Parent()->Handle());
  }
  pf::InvalidateRect(Handle(), &FEditRect, erase ? pf::TRUE : pf::FALSE);
}

void TCustomKsEdit::CaretMoved() {
  if (HandleAllocated()) core_->ScrollToCaret(FAlignment);
  PlaceCaret();
}

void TCustomKsEdit::ViewChanged() {
  painter_->ViewChanged();
  UpdateScrollBars();
}

// ---- scrolling ----

void TCustomKsEdit::UpdateScrollBars() {
  if (!HandleAllocated() || !core_) return;
  if (FScrollBars == ssVertical || FScrollBars == ssBoth) UpdateVertScrollBar();
  if (FScrollBars == ssHorizontal || FScrollBars == ssBoth) UpdateHorzScrollBar();
  const bool flatBarsWhileFocused = FFlatFocusedScrollBars && Focused() && !FSBController->Control();
  // The bars' values changed, not the look of the text: the frame alone is painted again.
  if ((FFlat && !Focused() && !FMouseOver) || flatBarsWhileFocused || !FMultiline || IsThemed())
    InvalidateFrameOnly(Handle());
}

namespace {

// A bar with nothing to scroll stays shown but disabled; one with a range is enabled (the
// owner-drawn bars read the no-scroll flag as "disabled", and then draw no thumb).
pf::UINT ScrollInfoMask(bool scrolls) { return scrolls ? pf::SIF_ALL : pf::SIF_ALL | pf::SIF_DISABLENOSCROLL; }

}  // namespace

void TCustomKsEdit::UpdateVertScrollBar() {
  pf::SCROLLINFO info{};
  const bool allFit = core_->LinesCount() <= core_->LinesInRect();
  info.fMask = ScrollInfoMask(!allFit);
  if (!allFit) {
    info.nMax = core_->LinesCount() - 1;
    info.nPage = static_cast<pf::UINT>(core_->LinesInRect());
    info.nPos = core_->TopLine();
  }
  pf::SetScrollInfo(Handle(), pf::SB_VERT, &info, pf::TRUE);
  pf::EnableScrollBar(Handle(), pf::SB_VERT, allFit ? pf::ESB_DISABLE_BOTH : pf::ESB_ENABLE_BOTH);
}

void TCustomKsEdit::UpdateHorzScrollBar() {
  pf::SCROLLINFO info{};
  const TKsTextPainter& painter = TextPainter();
  // Measured as painted: masked, tabs expanded.
  const String longest = painter.MaskText(core_->Lines().MaxStr());
  const bool wider = painter.TextSize(painter.ExpandTabs(longest)).cx > Room();
  info.fMask = ScrollInfoMask(wider);
  if (wider) {
    info.nMax = core_->Lines().MaxLen();
    info.nPage = static_cast<pf::UINT>(std::max(core_->Lines().CharsFitRight(Room(), longest, 0) - 4, 1));
    info.nPos = core_->LeftChar();
  } else {
    core_->SetLeftChar(0);
  }
  pf::SetScrollInfo(Handle(), pf::SB_HORZ, &info, pf::TRUE);
  pf::EnableScrollBar(Handle(), pf::SB_HORZ, wider ? pf::ESB_ENABLE_BOTH : pf::ESB_DISABLE_BOTH);
}

void TCustomKsEdit::Scroll(int direction) {
  if (direction < ksrLineUp || direction > ksrPageDown) return;
  VertScroll(static_cast<TKsScrollRequest>(direction), 0);
}

int TCustomKsEdit::ThumbPosition(int bar, int low16) {
  // The message carries 16 bits; the bar knows the whole position (exactly while its thumb is
  // dragged, else the last one): take the value nearest to it that ends in those 16 bits.
  pf::SCROLLINFO info{};
  info.fMask = pf::SIF_TRACKPOS;
  if (!HandleAllocated() || !pf::GetScrollInfo(Handle(), bar, &info)) return low16;
  constexpr int span = 0x10000;
  int position = (info.nTrackPos & ~(span - 1)) | low16;
  if (position - info.nTrackPos > span / 2) position -= span;
  else if (info.nTrackPos - position > span / 2) position += span;
  return std::max(position, 0);
}

void TCustomKsEdit::VertScroll(TKsScrollRequest request, int thumbPos) {
  const int target = core_->VertScrollTarget(request, thumbPos);
  if (target >= 0) core_->SetTopLine(target);
}

void TCustomKsEdit::HorzScroll(TKsScrollRequest request, int thumbPos) {
  pf::SCROLLINFO info{};
  info.fMask = pf::SIF_PAGE;
  const int barPage =
      HandleAllocated() && pf::GetScrollInfo(Handle(), pf::SB_HORZ, &info) ? static_cast<int>(info.nPage) : 0;
  const int charWidth = std::max(1, static_cast<int>(TextPainter().TextSize(u"0").cx));
  const int pageChars = ClientWidth() / 2 / charWidth;
  const int target = core_->HorzScrollTarget(request, thumbPos, pageChars, barPage);
  if (target >= 0) core_->SetLeftChar(target);
}

void TCustomKsEdit::HookScrollBarEvents() {
  TKsCtrlScrollBarStyles& vert = *FSBController->VertScrollBarStyles();
  TKsCtrlScrollBarStyles& horz = *FSBController->HorzScrollBarStyles();
  vert.OnScroll = [this](TObject*, TKsScrollCode, int& position, bool&) { VertBarScrolled(position); };
  horz.OnScroll = [this](TObject*, TKsScrollCode, int& position, bool&) { HorzBarScrolled(position); };
  vert.OnVisibleChange = horz.OnVisibleChange = [this](TObject*) { BarVisibilityChanged(); };
  FSBController->OnPaintCrossScrollBarsArea = [this](TObject*, TCanvas& canvas, const TRect& r, bool& defaultDraw) {
    defaultDraw = !borderPainter_->PaintCorner(canvas, r);
  };
}

void TCustomKsEdit::VertBarScrolled(int position) {
  if (position == core_->TopLine()) return;
  core_->SetTopLine(position);
  InvalidateBorder();
}

void TCustomKsEdit::HorzBarScrolled(int position) {
  const int page = FSBController->HorzScrollBarStyles()->Page();
  const int target = std::max(0, std::min(position, core_->Lines().MaxLen() + 1 - page));
  if (target == core_->LeftChar()) return;
  core_->SetLeftChar(target);
  InvalidateBorder();
}

void TCustomKsEdit::BarVisibilityChanged() {
  // Reading a bar's visibility can report again; one pass settles both.
  if (readingBarVisibility_ || !FSBController->Control()) return;
  readingBarVisibility_ = true;
  pf::ScopeGuard done([this] { readingBarVisibility_ = false; });
  const bool vert = FSBController->VertScrollBarStyles()->Visible();
  const bool horz = FSBController->HorzScrollBarStyles()->Visible();
  const TScrollStyle shown = vert && horz ? ssBoth : vert ? ssVertical : horz ? ssHorizontal : ssNone;
  if (shown == FScrollBars) return;
  FScrollBars = shown;
  UpdateScrollBars();
  Invalidate();
}

int TCustomKsEdit::PlatformWheelLines() {
  pf::UINT lines = 0;
  if (!pf::SystemParametersInfoW(pf::SPI_GETWHEELSCROLLLINES, 0, &lines, 0)) return 3;
  // The page setting arrives as -1: the core scrolls a page per notch for any negative value.
  return static_cast<int>(lines);
}

void TCustomKsEdit::MouseWheel(int delta) {
  const int lines = core_->WheelLines(delta, PlatformWheelLines());
  if (lines != 0) core_->SetTopLine(core_->TopLine() - lines);
  UpdateScrollBars();
  InvalidateEditRect();
}

}  // namespace kestrel
