#include "edit/KsEditPainter.h"

#include <algorithm>

#include "controls/BackgroundPainter.h"
#include "controls/KsImageForm.h"
#include "controls/VnThemeServices.h"
#include "edit/KsCustomEdit.h"
#include "edit/KsEditBorderPainter.h"
#include "foundation/VnApplication.h"
#include "platform/gdi/Blit.h"
#include "platform/gdi/DcState.h"
#include "platform/gdi/MemoryCanvas.h"
#include "platform/gdi/Objects.h"
#include "platform/gdi/OwnedGdi.h"
#include "platform/gdi/Primitives.h"
#include "platform/gdi/Regions.h"
#include "platform/gdi/SystemColors.h"
#include "platform/text/TextOut.h"
#include "platform/text/TextTypes.h"
#include "platform/window/WindowApi.h"

namespace kestrel {

namespace pf = platform;

namespace {

// This platform answers every version query as a current one: the newer theme parts apply.
constexpr bool kNewerPlatform = true;
constexpr int kEditPartForNewer = 8;
constexpr int kCueBannerPart = 1;
constexpr int kCueBannerState = 8;

void CopyArea(pf::HDC dest, pf::HDC source, const TRect& r) {
  pf::BitBlt(dest, r.left, r.top, r.right - r.left, r.bottom - r.top, source, r.left, r.top, pf::SRCCOPY);
}

}  // namespace

void TKsEditPainter::Paint(TCanvas& /*canvas*/) {
  if (!edit_.HandleAllocated()) return;
  // The border painter checks for itself whether each of its steps applies.
  edit_.BorderPainter().PaintFlatBorder();
  edit_.PaintText();
  if (CueBannerShown()) edit_.PaintCueBanner();
  edit_.BorderPainter().PaintCorner();
  edit_.BorderPainter().PaintNonClientBorder();
}

void TKsEditPainter::PaintText(TCanvas& canvas) {
  const TRect client = edit_.ClientRect();
  pf::MemoryCanvas bitmap = pf::MemoryCanvas::Dib(canvas.Handle(), client.right, client.bottom);
  if (!bitmap.Valid()) return;
  TRect r = canvas.ClipRect();
  if (r.right <= r.left || r.bottom <= r.top) r = edit_.EditRect();
  TCanvas target;
  target.SetHandle(bitmap.Dc());
  PaintBackground(target, canvas, r);
  target.Brush()->SetColor(edit_.Color());
  target.Font()->Assign(edit_.Font());
  target_ = &target;
  RememberView();
  lines_.PaintLines(canvas.Handle());
  target_ = nullptr;
  CopyArea(canvas.Handle(), bitmap.Dc(), r);
  target.SetHandle(nullptr);
}

void TKsEditPainter::PaintLine(int y) {
  if (target_ != nullptr) lines_.PaintLine(*target_, y);
}

void TKsEditPainter::RememberView() {
  viewTop_ = edit_.TopLine();
  viewLeft_ = edit_.LeftChar();
}

bool TKsEditPainter::PictureScrolls() const {
  if (ErasedBehind() || edit_.IsThemed()) return false;
  if (edit_.UseBackground() && !edit_.Background()->Empty()) return false;
  // Pixels not yet painted would move along with the rest.
  pf::RECT pending{};
  return pf::GetUpdateRect(edit_.Handle(), &pending, pf::FALSE) == pf::FALSE;
}

void TKsEditPainter::ViewChanged() {
  if (!edit_.HandleAllocated()) return;
  const int lines = edit_.TopLine() - viewTop_;
  const bool scrolls = viewTop_ >= 0 && lines != 0 && edit_.LeftChar() == viewLeft_ &&
                       std::abs(lines) < edit_.LinesInRect() && PictureScrolls();
  RememberView();
  if (!scrolls) {
    edit_.InvalidateEditRect();
    return;
  }
  const TRect& r = edit_.EditRect();
  pf::ScrollWindowEx(edit_.Handle(), 0, -lines * edit_.LineHeight(), &r, &r, nullptr, nullptr, pf::SW_INVALIDATE);
  // The descenders of each line reach into the cell below: scrolled up, the top line again (the line
  // scrolled out above reached into it); scrolled down, the line below the exposed ones as well.
  const int top = r.top + edit_.TopMargin();
  const int rows = lines > 0 ? 1 : 1 - lines;
  const TRect first{r.left, r.top, r.right, top + rows * edit_.LineHeight()};
  pf::InvalidateRect(edit_.Handle(), &first, pf::FALSE);
}

void TKsEditPainter::BeginTyping() {
  const TKsEditCore& core = edit_.Core();
  typingStart_ = {core.CaretY(), core.LinesCount(), core.TopLine(), core.LeftChar(), core.Selected()};
  typing_ = true;
  typingInvalidated_ = false;
}

bool TKsEditPainter::TakeInvalidation() {
  if (!typing_) return true;
  typingInvalidated_ = true;
  return false;
}

bool TKsEditPainter::TypingKeptTheView() const {
  const TKsEditCore& core = edit_.Core();
  return !typingStart_.selected && core.LinesCount() == typingStart_.lines && core.TopLine() == typingStart_.top &&
         core.LeftChar() == typingStart_.left && edit_.Alignment() == taLeftJustify && !ErasedBehind();
}

int TKsEditPainter::ParagraphOf(int y) const {
  int paragraph = 0, index = 0;
  edit_.Core().Lines().IndexToParagraph(y, paragraph, index);
  return paragraph;
}

void TKsEditPainter::EndTyping() {
  typing_ = false;
  if (!typingInvalidated_) return;
  if (!TypingKeptTheView()) {
    edit_.InvalidateEditRect();
    return;
  }
  // A re-wrap moves text only inside the caret's paragraph.
  const int first = std::min(typingStart_.caretY, edit_.CaretY());
  int last = std::max(typingStart_.caretY, edit_.CaretY());
  const int paragraph = ParagraphOf(first);
  while (last + 1 < edit_.LinesCount() && ParagraphOf(last + 1) == paragraph) ++last;
  InvalidateRows(first, last);
}

void TKsEditPainter::InvalidateRows(int first, int last) {
  const TRect& e = edit_.EditRect();
  const int height = edit_.LineHeight();
  const int top = e.top + edit_.TopMargin() + (first - edit_.TopLine()) * height;
  // The descenders reach into the next cell.
  const TRect rows{e.left, std::max(e.top, top), e.right, std::min(e.bottom, top + (last - first + 2) * height)};
  if (rows.bottom > rows.top) pf::InvalidateRect(edit_.Handle(), &rows, pf::FALSE);
}

bool TKsEditPainter::ErasedBehind() const {
  const TCustomKsImageForm* form = edit_.ImageForm();
  const bool imageForm = form != nullptr && form->BackgroundType() != bgtColorFill && !edit_.Designing();
  return imageForm || edit_.Transparent();
}

void TKsEditPainter::PaintBackground(TCanvas& target, TCanvas& control, const TRect& r) {
  pf::HDC dc = target.Handle();
  const TRect client = edit_.ClientRect();
  TBitmap* background = edit_.Background();
  if (ErasedBehind()) {
    CopyArea(dc, control.Handle(), r);
  } else if (edit_.UseBackground() && !background->Empty()) {
    PaintBitmapBackground(dc, client, client, bgtTileBitmap, background->Handle(), edit_.BackgroundColor());
  } else if (!edit_.IsThemed()) {
    TRect box{};
    pf::GetClipBox(dc, &box);
    TRect fill{std::max(box.left, client.left), std::max(box.top, client.top), std::min(box.right, client.right),
               std::min(box.bottom, client.bottom) + edit_.ExtraBottomSpace()};
    target.Brush()->SetColor(edit_.BackgroundColor());
    target.FillRect(fill);
  }
  if (edit_.IsThemed()) PaintThemeBackground(dc);
}

void TKsEditPainter::PaintThemeBackground(pf::HDC dc) {
  // The control's bounds in its own client coordinates: the rectangle covers the border too.
  pf::RECT window{};
  pf::GetWindowRect(edit_.Handle(), &window);
  const TPoint origin = edit_.ScreenToClient(TPoint{window.left, window.top});
  TRect r{origin.x, origin.y, origin.x + window.right - window.left, origin.y + window.bottom - window.top};
  if (edit_.BorderStyle() == bsNone) {
    const int cx = pf::GetSystemMetrics(pf::SM_CXBORDER), cy = pf::GetSystemMetrics(pf::SM_CYBORDER);
    r = TRect{r.left - cx, r.top - cy, r.right + cx, r.bottom + cy};
  }
  const TVnApplication* app = VnApplication();
  if (app == nullptr || !app->ThemeUseColorProperty() || edit_.DrawsThemeElementAlways()) {
    GlobalThemeServices()->DrawElement(edit_.UseThemeMode(), dc, edit_.ThemeDetails(), r);
    return;
  }
  pf::OwnedBrush brush(pf::CreateSolidBrush(ColorToRGB(edit_.BackgroundColor())));
  pf::FillRect(dc, &r, brush.get());
}

TThemedElementDetails TKsEditPainter::ThemeDetails() const {
  const bool active = edit_.Focused() || edit_.MouseOver();
  if (kNewerPlatform && edit_.ThemeMode() == ttmPlatform)
    return TThemedElementDetails{teEdit, kEditPartForNewer, active ? 3 : 1};
  return TThemedElementDetails{teEdit, 0, edit_.MouseOver() ? 2 : 0};
}

bool TKsEditPainter::CueBannerShown() const {
  return !edit_.Focused() && edit_.Core().TextLength() == 0 && !edit_.CueBanner().empty();
}

void TKsEditPainter::PaintCueBanner(TCanvas& canvas) {
  const String& banner = edit_.CueBanner();
  pf::HDC dc = canvas.Handle();
  if (kNewerPlatform && edit_.IsThemed()) {
    const TRect& e = edit_.EditRect();
    int a = 0;
    if (!edit_.Multiline()) a = pf::GetSystemMetrics(edit_.Ctl3D() ? pf::SM_CYEDGE : pf::SM_CYBORDER);
    const TRect r{e.left + edit_.LeftMargin() + a, e.top + a, e.right - edit_.RightMargin(), e.bottom};
    canvas.Font()->Assign(edit_.Font());
    canvas.TextExtent(String());  // selects the font into the DC
    GlobalThemeServices()->DrawThemeText(edit_.UseThemeMode(), dc,
                                         TThemedElementDetails{teEdit, kCueBannerPart, kCueBannerState}, banner.data(),
                                         static_cast<int>(banner.size()), 0, 0, r);
    return;
  }
  TKsTextPainter& painter = edit_.TextPainter();
  const TColor previous = painter.Color();
  painter.SetColor(edit_.DisabledFontColor());
  pf::SetBkMode(dc, pf::TRANSPARENT);
  const TRect& e = edit_.EditRect();
  const TRect clip{e.left + edit_.LeftMargin(), e.top, e.right - edit_.RightMargin(), e.bottom};
  pf::SIZE size{};
  painter.DrawTabbedText(&canvas, 1, size, painter.ExpandTabs(banner), clip, e.top + 1);
  painter.SetColor(previous);
}

void TKsEditPainter::EraseBackground(pf::HDC dc) {
  const TCustomKsImageForm* form = edit_.ImageForm();
  if (form != nullptr && form->BackgroundType() != bgtColorFill && !edit_.Designing()) PaintImageFormBackground(dc);
  else if (edit_.Transparent() && !edit_.IsThemed()) PaintParentBackground(dc);
}

void TKsEditPainter::PaintImageFormBackground(pf::HDC dc) {
  TCustomKsImageForm* form = edit_.ImageForm();
  TWinControl* real = form->GetRealControl();
  if (real == nullptr || real == &edit_) return;
  const TPoint origin = real->ScreenToClient(edit_.ClientOrigin());
  form->PaintBkgnd(dc, edit_.ClientRect(), origin, false);
}

void TKsEditPainter::PaintParentBackground(pf::HDC dc) {
  TWinControl* parent = edit_.Parent();
  if (parent == nullptr) return;
  const TRect& e = edit_.EditRect();
  const int saved = pf::SaveDC(dc);
  pf::IntersectClipRect(dc, e.left, e.top, e.right, e.bottom);
  // The DC's origin is the client area's corner, which lies inside the border.
  const TPoint origin = parent->ScreenToClient(edit_.ClientOrigin());
  pf::OffsetViewportOrgEx(dc, -origin.x, -origin.y, nullptr);
  parent->Perform(pf::WM_ERASEBKGND, reinterpret_cast<pf::WPARAM>(dc), reinterpret_cast<pf::LPARAM>(dc));
  // Painting into a given DC also paints the parent's windowless children.
  parent->Perform(pf::WM_PAINT, reinterpret_cast<pf::WPARAM>(dc), 0);
  pf::RestoreDC(dc, saved);
}

}  // namespace kestrel
