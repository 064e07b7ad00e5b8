#include "EditBordersPage.h"
#include "GalleryPages.h"

#include "edit/KsEdit.h"

namespace kestrel::gallery {

namespace {

TKsEdit* AddEdit(TForm* form, int left, int top, int width, int height, const String& text) {
  auto* edit = new TKsEdit(form);
  edit->SetParent(form);
  edit->SetBounds(left, top, width, height);
  edit->SetText(text);
  return edit;
}

// A flat edit whose border turns from its inactive kind in grey to its active kind in blue while
// hot or focused.
void AddFlatEdit(TForm* form, int left, int top, TKsFlatBorderType inactive, TKsFlatBorderType active,
                 const String& text, TVnBorderSides sides = AllBorderSides) {
  TKsEdit* edit = AddEdit(form, left, top, 160, 24, text);
  edit->SetFlat(true);
  edit->SetInactiveBorderType(inactive);
  edit->SetActiveBorderType(active);
  edit->SetLineBorderInactiveColor(clGray);
  edit->SetLineBorderActiveColor(0x00C06700);
  edit->SetBorderSides(sides);
}

const char16_t kLines[] = u"one\rtwo\rthree\rfour\rfive\rsix\rseven\reight\rnine\rten";

}  // namespace

TEditBordersForm::TEditBordersForm(TComponent* owner) : TForm(owner) {
  SetCaption(u"Kestrel gallery: edit borders");
  SetClientWidth(560);
  SetClientHeight(340);
  AddHeading(this, u"Flat borders (hover or focus for the active kind)", 8);
  AddFlatEdit(this, 12, 36, fbtSunkenOuter, fbtSunken, u"Sunken outer / sunken");
  AddFlatEdit(this, 196, 36, fbtEtched, fbtRaised, u"Etched / raised");
  AddFlatEdit(this, 380, 36, fbtColorLineBorder, fbtColorLineBorder, u"Line, grey / blue");
  AddFlatEdit(this, 12, 72, fbtSunken, fbtSunken, u"Left and top", {ebsLeft, ebsTop});
  AddFlatEdit(this, 196, 72, fbtColorLineBorder, fbtColorLineBorder, u"Bottom only", {ebsBottom});
  AddFlatEdit(this, 380, 72, fbtBump, fbtBigBump, u"Bump / big bump");
  AddHeading(this, u"Not flat, disabled, read-only", 108);
  TKsEdit* coloured = AddEdit(this, 12, 136, 160, 24, u"Sunken in own colours");
  coloured->SetBorderColorShadow(0x00C06700);
  coloured->SetBorderColorDkShadow(0x00603300);
  AddEdit(this, 196, 136, 160, 24, u"Disabled")->SetEnabled(false);
  AddEdit(this, 380, 136, 160, 24, u"Read-only")->SetReadOnly(true);
  AddHeading(this, u"Scroll bars: flat platform bars, flat while focused, owner-drawn", 172);
  for (int i = 0; i < 3; ++i) {
    TKsEdit* memo = AddEdit(this, 12 + 184 * i, 200, 160, 128, u"");
    memo->SetMultiline(true);
    memo->SetScrollBars(ssBoth);
    memo->SetText(kLines);
    memo->SetUseCustomScrollBars(i == 2);
    memo->SetFlat(i == 0);
    memo->SetFlatFocusedScrollBars(i == 1);
  }
}

}  // namespace kestrel::gallery

KESTREL_GALLERY_PAGE("editborders", u"Edit borders", kestrel::gallery::TEditBordersForm)
