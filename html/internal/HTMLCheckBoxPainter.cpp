#include "html/internal/HTMLCheckBoxPainter.h"

#include "controls/GdiScope.h"
#include "controls/VnThemeServices.h"
#include "html/HTMLData.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/MemoryCanvas.h"
#include "platform/theme/VsStyle.h"

namespace kestrel {

namespace pf = platform;

KESTREL_IMPLEMENT_CLASS(TVnHTMLCheckBoxPainter, TVnHTMLControlPainter)

namespace {

bool ThemedLookInUse() {
  TVnThemeServices* services = GlobalThemeServices();
  return services && services->UseTheme(ttmPlatform) == ttmPlatform;
}

}  // namespace

bool TVnHTMLCheckBoxPainter::Hot() const {
  return FInputItem && FInputItem->FOwner && FInputItem->FOwner->ActiveItem() == FInputItem;
}

void TVnHTMLCheckBoxPainter::PaintTo(TCanvas* Canvas, const TRect& ARect) {
  if (!Canvas || !FInputItem) return;
  pf::HDC dc = Canvas->Handle();
  if (!dc) return;
  if (ThemedLookInUse()) PaintThemed(dc, ARect);
  else PaintClassic(dc, ARect);
  if (FInputItem->FOwner && FInputItem->FOwner->SelectedItem() == FInputItem) {
    Canvas->Brush()->SetStyle(bsSolid);
    Canvas->DrawFocusRect(ARect);
  }
}

void TVnHTMLCheckBoxPainter::PaintThemed(pf::HDC dc, const TRect& r) const {
  const bool radio = FInputItem->InputType() == itRadioButton;
  // Radio and check-box states share their numbers: unchecked 1/2, checked 5/6 (normal/hot).
  int state = FInputItem->Checked() ? pf::RBS_CHECKEDNORMAL : pf::RBS_UNCHECKEDNORMAL;
  if (Hot()) ++state;
  const TThemedElementDetails details{teButton, radio ? pf::BP_RADIOBUTTON : pf::BP_CHECKBOX, state};
  GlobalThemeServices()->DrawElement(ttmPlatform, dc, details, r);
}

void TVnHTMLCheckBoxPainter::PaintClassic(pf::HDC dc, const TRect& r) const {
  const int width = r.right - r.left, height = r.bottom - r.top;
  if (width <= 0 || height <= 0) return;
  // Drawn off screen and copied, so the frame control's own background never mixes with the
  // target's clipping or origin.
  const pf::MemoryCanvas memory = pf::MemoryCanvas::Dib(dc, width, height);
  if (!memory.Valid()) return;
  pf::RECT box{0, 0, width, height};
  pf::UINT state = FInputItem->InputType() == itRadioButton ? pf::DFCS_BUTTONRADIO : pf::DFCS_BUTTONCHECK;
  if (FInputItem->Checked()) state |= pf::DFCS_CHECKED;
  pf::BitBlt(memory.Dc(), 0, 0, width, height, dc, r.left, r.top, pf::SRCCOPY);
  pf::DrawFrameControl(memory.Dc(), &box, pf::DFC_BUTTON, state);
  pf::BitBlt(dc, r.left, r.top, width, height, memory.Dc(), 0, 0, pf::SRCCOPY);
}

}  // namespace kestrel
