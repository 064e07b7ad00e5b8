#include "ThemedPage.h"
#include "GalleryPages.h"

#include <iterator>

#include "controls/KsXPThemedControl.h"
#include "framework/Label.h"

namespace kestrel::gallery {

namespace {

constexpr int kCellWidth = 96;
constexpr int kCellHeight = 64;

struct FrameKind {
  const char16_t* name;
  TBevelKind kind;
  TVnBevelStyle inner, outer;
  TBevelEdges edges;
  int bevelWidth, borderWidth;
  bool ctl3D;
};

const TBevelEdges kAllEdges{beLeft, beTop, beRight, beBottom};

const FrameKind kFrames[] = {
    {u"tile, sunken", bkTile, bvLowered, bvLowered, kAllEdges, 1, 0, true},
    {u"tile, raised", bkTile, bvRaised, bvRaised, kAllEdges, 1, 0, true},
    {u"soft + band 4", bkSoft, bvRaised, bvLowered, kAllEdges, 1, 4, true},
    {u"flat", bkFlat, bvNone, bvRaised, kAllEdges, 1, 0, true},
    {u"top, bottom", bkTile, bvLowered, bvRaised, {beTop, beBottom}, 2, 2, true},
    {u"mono", bkTile, bvLowered, bvLowered, kAllEdges, 1, 0, false},
    {u"band 6 only", bkNone, bvRaised, bvLowered, kAllEdges, 1, 6, true},
};
constexpr int kFrameCount = static_cast<int>(std::size(kFrames));

void AddLabel(TForm* form, const String& text, int left, int top, int width, bool bold) {
  auto* label = new TLabel(form);
  label->SetParent(form);
  label->SetBounds(left, top, width, 17);
  if (bold) label->Font()->SetStyle({fsBold});
  label->SetCaption(text);
}

void AddRow(TForm* form, TVnThemeMode mode, int top) {
  for (int i = 0; i < kFrameCount; ++i) {
    const FrameKind& k = kFrames[i];
    const int left = 12 + i * kCellWidth;
    AddLabel(form, k.name, left, top, kCellWidth - 8, false);
    auto* control = new TKsXPThemedControl(form);
    control->SetParent(form);
    control->SetBounds(left, top + 20, kCellWidth - 16, kCellHeight - 24);
    control->SetThemeMode(mode);
    control->SetBevelKind(k.kind);
    control->SetBevelInner(k.inner);
    control->SetBevelOuter(k.outer);
    control->SetBevelEdges(k.edges);
    control->SetBevelWidth(k.bevelWidth);
    control->SetBorderWidth(k.borderWidth);
    control->SetCtl3D(k.ctl3D);
    control->SetColor(clWindow);
  }
}

}  // namespace

TThemedForm::TThemedForm(TComponent* owner) : TForm(owner) {
  SetCaption(u"Kestrel gallery: themed frames");
  SetPosition(poScreenCenter);
  SetBorderStyle(bsSingle);
  SetClientWidth(kFrameCount * kCellWidth + 16);
  SetClientHeight(2 * (kCellHeight + 28) + 16);
  AddLabel(this, u"Following the platform theme (classic while themes are off)", 12, 8, 600, true);
  AddRow(this, ttmPlatform, 30);
  AddLabel(this, u"Classic (ThemeMode ttmNone)", 12, kCellHeight + 44, 600, true);
  AddRow(this, ttmNone, kCellHeight + 66);
}

}  // namespace kestrel::gallery

KESTREL_GALLERY_PAGE("themed", u"Themed", kestrel::gallery::TThemedForm)
