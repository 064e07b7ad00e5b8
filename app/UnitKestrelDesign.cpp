// The dialog's design: the window, its controls, their places and settings. Designed at 96
// pixels per inch and not scaled.

#include "app/UnitKestrel.h"

namespace kestrel {

namespace {

constexpr TColor kBandColor = static_cast<TColor>(13531904);    // RGB #007BCE
constexpr TColor kHeaderColor = static_cast<TColor>(11399932);  // RGB #FCF2AD
constexpr char16_t kDesignTitle[] = u"Download-Assistent - Vollversion von Corvane";
constexpr char16_t kDesignStep[] =
    u"<B><U>Schritt 3:</U></B><br><br>Laden Sie die Vollversion herunter und installieren Sie diese auf Ihrem "
    u"Computer:";
constexpr char16_t kDesignButton[] = u"Vollversion herunterladen";
const TAnchors kLeftTopRight{akLeft, akTop, akRight};

void UseFont(TFont* font, int height, TColor color) {
  font->SetName(u"Verdana");
  font->SetHeight(height);
  font->SetColor(color);
  font->SetStyle({});
}

// A panel that paints nothing but its colour: no flat border, no bevel, no caption, and no
// see-through look when themed.
TKsPanel* PlainPanel(TForm1* form, TWinControl* parent, TColor color) {
  auto* panel = new TKsPanel(form);
  panel->SetParent(parent);
  panel->SetBorderType(fbtNone);
  panel->SetBevelOuter(bvNone);
  panel->SetTransparentXPThemes(false);
  panel->SetCaption(String());
  panel->SetColor(color);
  return panel;
}

TKsHTMLLabel* MarkupLabel(TForm1* form, TWinControl* parent, const TRect& bounds) {
  auto* label = new TKsHTMLLabel(form);
  label->SetParent(parent);
  label->SetAutoSize(false);
  label->SetWordWrap(true);
  label->SetThemeMode(ttmNone);
  label->SetBounds(bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top);
  label->SetAnchors(kLeftTopRight);
  return label;
}

}  // namespace

void TForm1::BuildDesign() {
  SetCaption(kDesignTitle);
  SetBorderStyle(bsDialog);
  SetPosition(poScreenCenter);
  SetClientWidth(445);
  SetClientHeight(592);
  SetColor(clWhite);
  UseFont(Font(), -13, clWindowText);

  KsHTMLLabel6 = MarkupLabel(this, this, Rect(16, 375, 16 + 411, 375 + 74));
  KsHTMLLabel6->SetTransparent(true);
  KsHTMLLabel6->SetCaption(kDesignStep);

  BuildHeader();

  Button1 = new TButton(this);
  Button1->SetParent(this);
  Button1->SetBounds(126, 461, 193, 38);
  UseFont(Button1->Font(), -13, clWindowText);
  Button1->SetCaption(kDesignButton);
  Button1->OnClick = [this](TObject* sender) { Button1Click(sender); };

  BuildOverlay();
  BuildDownload();
}

void TForm1::BuildHeader() {
  KsPanel1 = PlainPanel(this, this, kBandColor);
  KsPanel1->SetThemeMode(ttmNone);
  KsPanel1->SetBounds(0, 0, 445, 65);
  KsPanel1->SetAnchors(kLeftTopRight);

  // Opaque, in the band's colour (taken from its parent), so that it fills its area with it.
  KsHTMLLabel1 = MarkupLabel(this, KsPanel1, Rect(16, 3, 16 + 411, 3 + 59));
  KsHTMLLabel1->SetTransparent(false);
  KsHTMLLabel1->SetLayout(tlCenter);
  KsHTMLLabel1->SetParentFont(false);
  UseFont(KsHTMLLabel1->Font(), -15, kHeaderColor);
}

void TForm1::BuildOverlay() {
  // Made after the button, so that it lies above the button and the step text when shown: it
  // covers everything from below the band to the button's bottom edge.
  KsPanel2 = PlainPanel(this, this, clWhite);
  KsPanel2->SetBounds(0, 82, 445, 417);
  KsPanel2->SetVisible(false);

  auto* marquee = SmoothWin8MarqueeUserSynchronization = new TSmoothWin8Marquee(this);
  marquee->SetParent(KsPanel2);
  marquee->SetAlign(alClient);
  TGDIPFill* fill = marquee->Fill();
  fill->SetColor(clWhite);
  fill->SetColorMirror(clNone);
  fill->SetColorMirrorTo(clNone);
  fill->SetGradientType(gtSolid);
  fill->SetGradientMirrorType(gtSolid);
  fill->SetBorderColor(clWhite);
  fill->SetRounding(0);
  fill->SetShadowOffset(0);
  fill->SetGlow(gmNone);
  marquee->Bullets()->SetColor(clBlack);
  marquee->SetAnimationFactor(3);
  marquee->SetAnimationStep(10);
  marquee->SetAnimationStretchFactor(1.7f);
  // The smooth style stays at its first value (Office 2003 blue) without its colours.
}

void TForm1::BuildDownload() {
  HTTPGetUpdate = new THTTPGet(this);
  HTTPGetUpdate->SetAcceptTypes("*/*");
  HTTPGetUpdate->SetAgent("HTTPGet");
  HTTPGetUpdate->SetBinaryData(true);
  HTTPGetUpdate->SetUseCache(false);
  HTTPGetUpdate->SetReferer("Varnel - Kestrel");
  HTTPGetUpdate->SetWaitThread(true);
  HTTPGetUpdate->OnDoneFile = [this](TObject* sender, const AnsiString& fileName, int fileSize) {
    HTTPGetUpdateDoneFile(sender, fileName, fileSize);
  };
  HTTPGetUpdate->OnError = [this](TObject* sender) { HTTPGetUpdateError(sender); };
}

}  // namespace kestrel
