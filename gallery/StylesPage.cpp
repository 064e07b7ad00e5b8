#include "StylesPage.h"
#include "GalleryPages.h"

#include <cstdlib>

#include "controls/KsPanel.h"
#include "controls/KsStyleManager.h"
#include "controls/KsXPThemedControl.h"
#include "framework/Button.h"
#include "framework/Label.h"
#include "platform/core/DataDirectory.h"

namespace kestrel::gallery {

namespace {

constexpr const char16_t* kSheets[] = {u"harbour", u"meadow", u"ember"};

TLabel* AddText(TForm* form, const String& text, int left, int top, int width) {
  auto* label = new TLabel(form);
  label->SetParent(form);
  label->SetBounds(left, top, width, 18);
  label->SetCaption(text);
  return label;
}

TKsPanel* AddPanel(TForm* form, TKsStyleManager* styles, TVnThemeMode mode, const String& style, int left, int top) {
  auto* panel = new TKsPanel(form);
  panel->SetParent(form);
  panel->SetBounds(left, top, 120, 48);
  panel->SetThemeMode(mode);
  panel->SetTransparentXPThemes(false);
  panel->SetCaption(style.empty() ? String(u"TKsPanel") : style);
  panel->SetStyleName(style);
  panel->SetStyleManager(styles);
  return panel;
}

String SheetPath(const String& name) { return Utf8ToUtf16(platform::DataDirectory()) + u"/styles/" + name + u".ini"; }

}  // namespace

TStylesForm::TStylesForm(TComponent* owner) : TForm(owner), styles_(new TKsStyleManager(this)) {
  SetCaption(u"Kestrel gallery: styles");
  SetPosition(poScreenCenter);
  SetBorderStyle(bsSingle);
  SetClientWidth(660);
  SetClientHeight(300);
  AddHeading(this, u"Style sheets (data/styles): the controls repaint when the sheet changes", 8);
  int left = 12;
  for (const char16_t* sheet : {u"", kSheets[0], kSheets[1], kSheets[2]}) {
    auto* button = new TButton(this);
    button->SetParent(this);
    button->SetBounds(left, 32, 90, 26);
    const String name = sheet;
    button->SetCaption(name.empty() ? String(u"No sheet") : name);
    button->OnClick = [this, name](TObject*) { LoadSheet(name); };
    left += 98;
  }
  sheetName_ = AddText(this, u"", left + 8, 38, 250);
  AddRow(ttmPlatform, 70);
  AddRow(ttmNone, 186);
  styles_->SetOnChange([this](TObject*) { StyleLabels(); });
  const char* chosen = std::getenv("KESTREL_GALLERY_STYLE");
  LoadSheet(chosen ? Utf8ToUtf16(chosen) : String(kSheets[0]));
}

void TStylesForm::AddRow(TVnThemeMode mode, int top) {
  AddText(this, mode == ttmNone ? u"Classic (ThemeMode ttmNone)" : u"Following the platform theme", 12, top, 300);
  styled_.push_back(AddPanel(this, styles_, mode, u"", 12, top + 22));
  styled_.push_back(AddPanel(this, styles_, mode, u".Header", 140, top + 22));
  styled_.push_back(AddPanel(this, styles_, mode, u".Note", 268, top + 22));
  auto* control = new TKsXPThemedControl(this);
  control->SetParent(this);
  control->SetBounds(396, top + 22, 120, 48);
  control->SetThemeMode(mode);
  control->SetBevelKind(bkSoft);
  control->SetBorderWidth(3);
  control->SetStyleManager(styles_);
  styled_.push_back(control);
  auto* note = AddText(this, u"A label styled .Note", 528, top + 36, 124);
  note->SetTransparent(false);
  notes_.push_back(note);
  styled_.push_back(note);
}

void TStylesForm::LoadSheet(const String& name) {
  styles_->BeginUpdate();
  ResetLooks();
  styles_->Clear();
  if (!name.empty()) styles_->LoadFromFile(SheetPath(name));
  styles_->EndUpdate();
  sheetName_->SetCaption(name.empty() ? String(u"Sheet: none") : u"Sheet: " + name + u".ini");
}

void TStylesForm::ResetLooks() {
  for (TControl* control : styled_) {
    control->SetColor(dynamic_cast<TKsXPThemedControl*>(control) ? clWindow : clBtnFace);
    control->Font()->SetColor(clWindowText);
    control->Font()->SetStyle({});
    control->Font()->SetSize(8);
    if (auto* panel = dynamic_cast<TKsPanel*>(control)) {
      panel->SetBevelOuter(bvRaised);
      panel->SetBevelInner(bvNone);
      panel->SetBevelWidth(1);
      panel->SetBorderType(fbtSunken);
    }
  }
}

// Plain labels have no manager of their own: the page applies the ".Note" style to them.
void TStylesForm::StyleLabels() {
  for (TLabel* note : notes_) styles_->ApplyStyle(note, u".Note");
}

}  // namespace kestrel::gallery

KESTREL_GALLERY_PAGE("styles", u"Styles", kestrel::gallery::TStylesForm)
