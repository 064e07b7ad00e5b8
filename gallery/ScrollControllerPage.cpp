#include "ScrollControllerPage.h"
#include "GalleryPages.h"

#include "controls/KsSBController.h"
#include "framework/Label.h"
#include "framework/Panel.h"
#include "framework/SysUtils.h"
#include "platform/window/ScrollBars.h"
#include "platform/window/WindowApi.h"

namespace kestrel::gallery {

namespace {

namespace pf = platform;

constexpr int kLineHeight = 16;
constexpr int kColumnWidth = 7;

// A panel that scrolls numbered lines by its own platform scroll information, as any window with
// scroll styles does; the controller only changes what its bars look like.
class TScrollingPanel : public TPanel {
 public:
  TScrollingPanel(TComponent* owner, pf::DWORD styles, pf::DWORD exStyles)
      : TPanel(owner), styles_(styles), exStyles_(exStyles) {}

 protected:
  void Paint() override {
    TCanvas& canvas = *Canvas();
    canvas.Brush()->SetStyle(bsSolid);
    canvas.Brush()->SetColor(clWindow);
    canvas.FillRect(ClientRect());
    canvas.SetFont(Font());
    canvas.Font()->SetColor(clWindowText);
    canvas.Brush()->SetStyle(bsClear);
    const int first = pf::GetScrollPos(Handle(), pf::SB_VERT);
    const int shift = pf::GetScrollPos(Handle(), pf::SB_HORZ) * kColumnWidth;
    for (int row = 0; row * kLineHeight < ClientHeight(); ++row)
      canvas.TextOut(4 - shift, 2 + row * kLineHeight,
                     u"Line " + IntToStr(first + row + 1) + u": text that runs on past the panel's right edge");
  }
  void CreateParams(TCreateParams& params) override {
    TPanel::CreateParams(params);
    params.Style |= styles_;
    params.ExStyle |= exStyles_ | pf::WS_EX_CLIENTEDGE;
  }
  void WndProc(TMessage& m) override {
    if (m.Msg != pf::WM_VSCROLL && m.Msg != pf::WM_HSCROLL) return TPanel::WndProc(m);
    int bar = m.Msg == pf::WM_VSCROLL ? pf::SB_VERT : pf::SB_HORZ;
    pf::SCROLLINFO si;
    si.fMask = pf::SIF_ALL;
    pf::GetScrollInfo(Handle(), bar, &si);
    int pos = si.nPos;
    switch (pf::LOWORD(m.WParam)) {
      case pf::SB_LINEUP: pos -= 1; break;
      case pf::SB_LINEDOWN: pos += 1; break;
      case pf::SB_PAGEUP: pos -= static_cast<int>(si.nPage); break;
      case pf::SB_PAGEDOWN: pos += static_cast<int>(si.nPage); break;
      case pf::SB_THUMBTRACK:
      case pf::SB_THUMBPOSITION: pos = si.nTrackPos; break;
      case pf::SB_TOP: pos = si.nMin; break;
      case pf::SB_BOTTOM: pos = si.nMax; break;
    }
    pf::SetScrollPos(Handle(), bar, pos, pf::TRUE);
    Invalidate();
  }

 private:
  pf::DWORD styles_;
  pf::DWORD exStyles_;
};

void SetRange(pf::HWND hwnd, int bar, int max, int page, int pos) {
  pf::SCROLLINFO si;
  si.fMask = pf::SIF_RANGE | pf::SIF_PAGE | pf::SIF_POS;
  si.nMax = max;
  si.nPage = static_cast<pf::UINT>(page);
  si.nPos = pos;
  pf::SetScrollInfo(hwnd, bar, &si, pf::TRUE);
}

TKsSBController* Dress(TForm* form, int left, const String& caption, pf::DWORD exStyles,
                       void (*style)(TKsSBController&)) {
  auto* heading = new TLabel(form);
  heading->SetParent(form);
  heading->SetBounds(left, 8, 200, 17);
  heading->Font()->SetStyle({fsBold});
  heading->SetCaption(caption);
  auto* panel = new TScrollingPanel(form, pf::WS_HSCROLL | pf::WS_VSCROLL, exStyles);
  panel->SetParent(form);
  panel->SetBounds(left, 30, 200, 160);
  panel->SetCaption(u"");
  auto* controller = new TKsSBController(form);
  style(*controller);
  controller->SetControl(panel);
  SetRange(panel->Handle(), pf::SB_VERT, 99, 20, 30);
  SetRange(panel->Handle(), pf::SB_HORZ, 49, 10, 0);
  return controller;
}

}  // namespace

TScrollControllerForm::TScrollControllerForm(TComponent* owner) : TForm(owner) {
  SetCaption(u"Kestrel gallery: owner-drawn scroll bars on plain windows");
  SetPosition(poScreenCenter);
  SetBorderStyle(bsSingle);
  SetClientWidth(672);
  SetClientHeight(204);
  Dress(this, 12, u"Standard, with a track hint", 0, [](TKsSBController& c) {
    TKsCtrlScrollBarStyles* bar = c.VertScrollBarStyles();
    bar->SetShowTrackHint(true);
    bar->SetIsHTML(true);
    bar->OnScrollHintNeeded = [](TObject*, int position, String& hint) {
      hint = u"Line <b>" + IntToStr(position + 1) + u"</b>";
    };
  });
  Dress(this, 236, u"Vertical bar on the left", pf::WS_EX_LEFTSCROLLBAR, [](TKsSBController&) {});
  Dress(this, 460, u"Flat, coloured, no themes", 0, [](TKsSBController& c) {
    c.SetThemeMode(ttmNone);
    for (TKsCtrlScrollBarStyles* bar : {c.HorzScrollBarStyles(), c.VertScrollBarStyles()}) {
      bar->SetFlat(true);
      bar->SetColor(0xF0D8B0);
    }
  });
}

}  // namespace kestrel::gallery

KESTREL_GALLERY_PAGE("scrollcontroller", u"Scroll controller", kestrel::gallery::TScrollControllerForm)
