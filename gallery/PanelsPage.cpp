#include "PanelsPage.h"
#include "GalleryPages.h"

#include <memory>

#include "controls/KsImageForm.h"
#include "controls/KsPanel.h"
#include "framework/Image.h"
#include "framework/Label.h"

namespace kestrel::gallery {

namespace {

TKsPanel* AddPanel(TWinControl* parent, int x, int y, int w, int h, const String& caption) {
  auto* panel = new TKsPanel(parent->Owner() ? parent->Owner() : parent);
  panel->SetParent(parent);
  panel->SetBounds(x, y, w, h);
  panel->SetCaption(caption);
  return panel;
}

void AddHeading(TForm* form, const String& title, int left, int top) {
  auto* label = new TLabel(form);
  label->SetParent(form);
  label->SetBounds(left, top, 300, 17);
  label->Font()->SetStyle({fsBold});
  label->SetCaption(title);
}

// A sky-like picture: bands of blue and green with a sun, to show backgrounds lining up.
std::unique_ptr<TBitmap> LandscapePicture(int w, int h) {
  auto bitmap = std::make_unique<TBitmap>(w, h);
  TCanvas* c = bitmap->Canvas();
  for (int y = 0; y < h; ++y) {
    const int t = y * 255 / h;
    c->Pen()->SetColor(static_cast<TColor>(platform::RGB(60 + t / 3, 120 + t / 3, 230 - t / 2)));
    c->MoveTo(0, y);
    c->LineTo(w, y);
  }
  c->Brush()->SetColor(static_cast<TColor>(platform::RGB(250, 210, 60)));
  c->Pen()->SetColor(static_cast<TColor>(platform::RGB(250, 210, 60)));
  c->Ellipse(w - 70, 14, w - 24, 60);
  c->Brush()->SetColor(static_cast<TColor>(platform::RGB(60, 140, 70)));
  c->Pen()->SetColor(static_cast<TColor>(platform::RGB(60, 140, 70)));
  c->Ellipse(-40, h - 50, w / 2 + 40, h + 60);
  return bitmap;
}

// A shape on a magenta key colour: the window region keeps only the shape.
std::unique_ptr<TBitmap> ShapePicture(int w, int h) {
  auto bitmap = std::make_unique<TBitmap>(w, h);
  TCanvas* c = bitmap->Canvas();
  c->Brush()->SetColor(clFuchsia);
  c->FillRect(Rect(0, 0, w, h));
  c->Brush()->SetColor(clBlack);
  c->Pen()->SetColor(clBlack);
  c->Ellipse(0, 0, w, h);
  c->Brush()->SetColor(clFuchsia);
  c->Pen()->SetColor(clFuchsia);
  c->Ellipse(w / 3, h / 3, w - w / 3, h - h / 3);
  return bitmap;
}

void AddBorders(TForm* form) {
  AddHeading(form, u"Flat borders", 12, 8);
  const TKsFlatBorderType kinds[] = {fbtFlat,   fbtSunken, fbtRaised,     fbtBump,
                                     fbtEtched, fbtFramed, fbtLineBorder, fbtColorLineBorder};
  const char16_t* names[] = {u"Flat", u"Sunken", u"Raised", u"Bump", u"Etched", u"Framed", u"LineBorder", u"ColorLine"};
  for (int i = 0; i < 8; ++i) {
    auto* p = AddPanel(form, 12 + (i % 4) * 96, 30 + (i / 4) * 44, 88, 38, names[i]);
    p->SetBorderStyle(bsSingle);
    p->SetBorderType(kinds[i]);
    p->SetBevelOuter(bvNone);
    p->SetBorderColorFace(clNavy);
  }
}

void AddBevels(TForm* form) {
  AddHeading(form, u"Bevels (outer / inner, width 2)", 12, 126);
  const TVnBevelStyle styles[][2] = {
      {bvRaised, bvNone}, {bvLowered, bvNone}, {bvRaised, bvLowered}, {bvSpace, bvLowered}};
  const char16_t* names[] = {u"Raised", u"Lowered", u"Raised + lowered", u"Space + lowered"};
  for (int i = 0; i < 4; ++i) {
    auto* p = AddPanel(form, 12 + i * 96, 148, 88, 44, names[i]);
    p->SetBevelOuter(styles[i][0]);
    p->SetBevelInner(styles[i][1]);
    p->SetBevelWidth(2);
    p->SetBevelSpaceColor(clTeal);
    p->SetThemeMode(ttmNone);
    p->SetWordWrap(true);
  }
}

void AddGrabHandles(TForm* form) {
  AddHeading(form, u"Grab handles: drag the left one, size the edges", 12, 204);
  auto* p = AddPanel(form, 12, 226, 380, 70, u"Movable and resizable");
  p->SetResizable(true);
  p->SetSizeGrip(true);
  p->SetBevelInner(bvLowered);
  TKsPanelGrabHandle* left = p->LeftGrabHandle();
  left->SetSize(10);
  left->SetKind(ghkMove);
  left->SetBevelKind(bvRaised);
  left->SetEnabled(true);
  left->SetVisible(true);
  TKsPanelGrabHandle* top = p->TopGrabHandle();
  top->SetSize(8);
  top->SetKind(ghkResize);
  top->SetBevelKind(bvLowered);
  top->SetEnabled(true);
  top->SetVisible(true);
}

void AddImageFormDemos(TForm* form) {
  AddHeading(form, u"Image form background, see-through panel", 408, 8);
  auto* host = AddPanel(form, 408, 30, 260, 170, u"");
  host->SetBevelOuter(bvNone);
  host->SetThemeMode(ttmNone);
  auto* background = new TKsImageForm(form);
  background->SetControl(host);
  host->SetImageForm(background);
  auto picture = LandscapePicture(260, 170);
  background->SetBackground(picture.get());
  background->SetBackgroundType(bgtStretchBitmap);
  auto* borrower = AddPanel(host, 14, 14, 120, 60, u"Borrowed background");
  borrower->SetImageForm(background);
  borrower->SetBevelOuter(bvLowered);
  borrower->SetTransparentXPThemes(false);
  borrower->SetThemeMode(ttmNone);
  borrower->SetWordWrap(true);
  auto* glass = AddPanel(host, 120, 96, 124, 58, u"Transparent, alpha 110");
  glass->SetTransparent(true);
  glass->SetThemeMode(ttmNone);
  glass->SetAlphaLevel(110);
  glass->SetColor(clWhite);
  glass->SetBevelOuter(bvRaised);
  glass->SetWordWrap(true);

  AddHeading(form, u"A panel shaped by a picture", 408, 210);
  auto* shaped = AddPanel(form, 470, 232, 130, 100, u"");
  shaped->SetColor(static_cast<TColor>(platform::RGB(0, 123, 206)));
  shaped->SetBevelOuter(bvNone);
  shaped->SetTransparentXPThemes(false);
  auto* image = new TImage(form);
  image->SetVisible(false);
  image->SetParent(form);
  auto shape = ShapePicture(130, 100);
  auto* shaper = new TKsImageForm(form);
  shaper->SetControl(shaped);
  shaper->SetFormImage(image);
  image->Picture()->SetGraphic(shape.get());
  shaper->SetChangeFormRegion(true);
}

}  // namespace

TPanelsForm::TPanelsForm(TComponent* owner) : TForm(owner) {
  SetCaption(u"Kestrel gallery: panels");
  SetPosition(poScreenCenter);
  SetBorderStyle(bsSingle);
  SetClientWidth(680);
  SetClientHeight(344);
  AddBorders(this);
  AddBevels(this);
  AddGrabHandles(this);
  AddImageFormDemos(this);
}

}  // namespace kestrel::gallery

KESTREL_GALLERY_PAGE("panels", u"Panels", kestrel::gallery::TPanelsForm)
