#include "FillsPage.h"
#include "GalleryPages.h"

#include <functional>
#include <vector>

#include "framework/GraphicControl.h"
#include "smooth/GDIPFill.h"
#include "smooth/SmoothWin8Marquee.h"

namespace kestrel::gallery {

namespace {

namespace pf = platform;

constexpr int kCellWidth = 104;
constexpr int kCellHeight = 64;
constexpr int kColumns = 5;

struct TFillSample {
  const char16_t* name;
  std::function<void(TGDIPFill&)> setup;
};

std::vector<TFillSample> Samples() {
  auto twoTone = [](TGDIPFill& f) {
    f.SetColor(0xF6E3C9);
    f.SetColorTo(0xC48A3A);
    f.SetBorderColor(0x7A4A10);
    f.SetRounding(8);
  };
  auto mirrored = [twoTone](TGDIPFill& f) {
    twoTone(f);
    f.SetColorMirror(0xA86A20);
    f.SetColorMirrorTo(0xF0D8B8);
  };
  return {
      {u"Solid", [](TGDIPFill& f) { f.SetGradientType(gtSolid), f.SetColor(0xE0C080), f.SetBorderColor(0x805020); }},
      {u"Vertical", twoTone},
      {u"Horizontal", [twoTone](TGDIPFill& f) { twoTone(f), f.SetGradientType(gtHorizontal); }},
      {u"Diagonal", [twoTone](TGDIPFill& f) { twoTone(f), f.SetGradientType(gtForwardDiagonal); }},
      {u"Angle 60", [twoTone](TGDIPFill& f) { twoTone(f), f.SetGradientType(gtAngle), f.SetAngle(60); }},
      {u"Radial", [twoTone](TGDIPFill& f) { twoTone(f), f.SetGradientType(gtRadial); }},
      {u"Hatch",
       [twoTone](TGDIPFill& f) { twoTone(f), f.SetGradientType(gtHatch), f.SetHatchStyle(pf::HatchStyleWeave); }},
      {u"Mirror", mirrored},
      {u"Mirror radial", [mirrored](TGDIPFill& f) { mirrored(f), f.SetGradientMirrorType(gtRadial); }},
      {u"Top rounded", [twoTone](TGDIPFill& f) { twoTone(f), f.SetRoundingType(rtTop), f.SetRounding(14); }},
      {u"Shadow", [twoTone](TGDIPFill& f) { twoTone(f), f.SetShadowOffset(5); }},
      {u"Surround shadow", [twoTone](TGDIPFill& f) { twoTone(f), f.SetShadowOffset(5), f.SetShadowType(stSurround); }},
      {u"Glow", [mirrored](TGDIPFill& f) { mirrored(f), f.SetGlow(gmGradient); }},
      {u"Radial glow", [twoTone](TGDIPFill& f) { twoTone(f), f.SetGlow(gmRadialGradient); }},
      {u"Focus, half opaque",
       [twoTone](TGDIPFill& f) {
         twoTone(f), f.SetFocus(true), f.SetOpacity(128), f.SetOpacityTo(128), f.SetBorderWidth(2);
       }},
  };
}

// The samples in a grid, each named underneath.
class TFillGrid : public TGraphicControl {
 public:
  explicit TFillGrid(TComponent* owner) : TGraphicControl(owner) {}

 protected:
  void Paint() override {
    const auto samples = Samples();
    pf::TGPGraphics graphics(Canvas()->Handle());
    graphics.SetSmoothingMode(pf::SmoothingModeAntiAlias);
    for (std::size_t i = 0; i < samples.size(); ++i) {
      const int left = static_cast<int>(i % kColumns) * kCellWidth, top = static_cast<int>(i / kColumns) * kCellHeight;
      TGDIPFill fill;
      samples[i].setup(fill);
      fill.Fill(&graphics, pf::TGPRectF{static_cast<float>(left + 4), static_cast<float>(top + 2), kCellWidth - 8, 40});
      const String name = samples[i].name;
      Canvas()->Brush()->SetStyle(bsClear);
      Canvas()->TextOut(left + (kCellWidth - Canvas()->TextWidth(name)) / 2, top + 45, name);
    }
  }
};

TSmoothWin8Marquee* AddMarquee(TForm* form, int top, int height) {
  auto* marquee = new TSmoothWin8Marquee(form);
  marquee->SetParent(form);
  marquee->SetBounds(12, top, kColumns * kCellWidth, height);
  return marquee;
}

}  // namespace

TFillsForm::TFillsForm(TComponent* owner) : TForm(owner) {
  SetCaption(u"Kestrel gallery: fills and the busy marquee");
  SetPosition(poScreenCenter);
  SetBorderStyle(bsSingle);
  SetColor(clWhite);
  SetClientWidth(kColumns * kCellWidth + 24);
  SetClientHeight(500);

  AddHeading(this, u"Fills", 8);
  auto* grid = new TFillGrid(this);
  grid->SetParent(this);
  grid->SetBounds(12, 30, kColumns * kCellWidth, 3 * kCellHeight);

  AddHeading(this, u"Busy marquee, as the download dialog has it", 232);
  auto* dialog = AddMarquee(this, 254, 60);
  dialog->Fill()->SetColor(clWhite);
  dialog->Fill()->SetGradientType(gtSolid);
  dialog->Fill()->SetBorderColor(clWhite);
  dialog->Bullets()->SetColor(clBlack);

  AddHeading(this, u"Styles, shapes and a fill behind", 328);
  auto* luna = AddMarquee(this, 350, 34);
  luna->SetComponentStyle(tsOffice2007Luna);
  luna->Bullets()->SetShape(bsRectangle);
  auto* windows8 = AddMarquee(this, 392, 34);
  windows8->SetComponentStyle(tsWindows8);
  windows8->Bullets()->SetShape(bsTriangle);
  windows8->Bullets()->SetBorderColor(0x804000);
  windows8->SetAnimationStep(6);
  auto* glowing = AddMarquee(this, 434, 50);
  glowing->Fill()->SetColor(0xF6E3C9);
  glowing->Fill()->SetColorTo(0xC48A3A);
  glowing->Fill()->SetRounding(10);
  glowing->Fill()->SetBorderColor(0x7A4A10);
  glowing->Fill()->SetGlow(gmGradient);
  glowing->Bullets()->SetColor(clWhite);
  glowing->Bullets()->SetBorderColor(0x7A4A10);
  glowing->Bullets()->SetWidth(14);
  glowing->Bullets()->SetHeight(14);
  glowing->SetAnimationStretchFactor(2.5f);
}

}  // namespace kestrel::gallery

KESTREL_GALLERY_PAGE("fills", u"Fills", kestrel::gallery::TFillsForm)
