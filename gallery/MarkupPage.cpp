#include "MarkupPage.h"
#include "GalleryPages.h"

#include "framework/Panel.h"
#include "framework/PopupMenu.h"
#include "html/KsHTMLContainer.h"
#include "html/KsHTMLLabel.h"
#include "html/KsHTMLListItem.h"

namespace kestrel::gallery {

namespace {

TKsHTMLLabel* AddMarkup(TWinControl* parent, const TRect& bounds, const String& caption) {
  auto* label = new TKsHTMLLabel(parent->Owner() ? parent->Owner() : parent);
  label->SetParent(parent);
  label->SetAutoSize(false);
  label->SetWordWrap(true);
  label->SetBoundsRect(bounds);
  label->SetCaption(caption);
  return label;
}

TLabel* AddHeading(TForm* form, const String& text, int left, int top) {
  auto* heading = new TLabel(form);
  heading->SetParent(form);
  heading->SetLeft(left);
  heading->SetTop(top);
  heading->Font()->SetStyle(TFontStyles{fsBold});
  heading->SetCaption(text);
  return heading;
}

// The header band of the dialog: Verdana −15 in #FCF2AD on #007BCE, centred vertically.
void AddHeader(TForm* form, int left, int top, const String& caption) {
  auto* band = new TPanel(form);
  band->SetParent(form);
  band->SetBounds(left, top, 445, 65);
  band->SetColor(13531904);
  band->SetBevelOuter(bvNone);
  band->SetShowCaption(false);
  TKsHTMLLabel* label = AddMarkup(band, Bounds(16, 3, 411, 59), caption);
  label->SetParentFont(false);
  label->Font()->SetName(u"Verdana");
  label->Font()->SetHeight(-15);
  label->Font()->SetColor(11399932);
  label->SetLayout(tlCenter);
}

}  // namespace

TMarkupForm::TMarkupForm(TComponent* owner) : TForm(owner) {
  SetCaption(u"Kestrel gallery: markup");
  SetPosition(poScreenCenter);
  SetBorderStyle(bsSingle);
  SetColor(clWhite);
  SetClientWidth(940);
  SetClientHeight(560);
  Font()->SetName(u"Verdana");
  Font()->SetHeight(-13);

  AddHeading(this, u"The dialog's captions (German, English)", 16, 8);
  AddHeader(this, 16, 30,
            u"Willkommen beim Download-Assistenten der<br><b>Vollversion von <font size=22>Corvane</b></font>");
  AddHeader(this, 16, 100,
            u"Welcome to the download assistant for<br><b><font size=22>Corvane</font> (full version)</b>");
  AddMarkup(this, Bounds(32, 175, 411, 74),
            u"<B><U>Schritt 3:</U></B><br><br>Laden Sie die Vollversion herunter und installieren Sie diese auf "
            u"Ihrem Computer:");
  AddMarkup(this, Bounds(32, 255, 411, 74),
            u"<B><U>Step 3:</U></B><br><br>Download and install full version on your computer:");

  AddHeading(this, u"Links, inputs and snippets (click them; right-click a link)", 16, 345);
  status_ = AddHeading(this, u"No link clicked yet", 16, 530);
  status_->Font()->SetStyle(TFontStyles{});
  TKsHTMLLabel* interactive =
      AddMarkup(this, Bounds(16, 370, 440, 95),
                u"Visit <a href=\"https://example.org/kestrel\">the project page</a> or "
                u"<a href=\"mailto:team@example.org\">write to us</a>.<br>"
                u"<input type=checkbox name=news checked=1> Send me news "
                u"<input type=checkbox name=beta> Try beta versions<br>"
                u"Channel: <input type=radio name=ch checked=1> stable <input type=radio name=ch> testing<br>"
                u"<control vclclass=TButton caption=\"An embedded button\" width=160 height=26>");
  interactive->OnLinkClick = [this](TObject*, const String& href) { status_->SetCaption(u"Link clicked: " + href); };
  interactive->SetLinkPopupMenu(MakeLinkMenu());
  interactive->Render()->OnInputItemChecked = [this](TObject*, TVnHTMLInputItem* item) {
    status_->SetCaption(u"Input '" + item->Name() + (item->Checked() ? u"' checked" : u"' unchecked"));
  };

  auto* pages = new TKsHTMLContainer(this);
  TKsHTMLListItem* first = pages->Items()->Add();
  first->SetName(u"intro");
  first->SetCaption(
      u"<b>Snippet 1 of 2.</b> A label linked to a snippet store shows one snippet; "
      u"<a href=\"details\">show the details</a>.");
  TKsHTMLListItem* second = pages->Items()->Add();
  second->SetName(u"details");
  second->SetCaption(
      u"<b>Snippet 2 of 2.</b> Links that name a snippet switch to it. "
      u"<a href=\"intro\">Back to the first one</a>.");
  TKsHTMLLabel* snippets = AddMarkup(this, Bounds(16, 470, 440, 50), u"");
  snippets->SetContainer(pages);

  AddHeading(this, u"Every tag", 480, 8);
  AddMarkup(this, Bounds(480, 30, 440, 300),
            u"<b>bold</b> <i>italic</i> <u>underlined</u> <s>struck</s> <var>var</var> <cite>cite</cite><br>"
            u"H<sub>2</sub>O and E = mc<sup>2</sup>, <font size=+3>bigger</font> <font size=9px>tiny</font><br>"
            u"<font color=red>red</font>, <font color=#008000 bgcolor=clYellow>green on yellow</font>, "
            u"<font face=\"DejaVu Serif\">another face</font><br>"
            u"<p align=center>a centred paragraph</p><p align=right>a right-aligned one</p>"
            u"<p indent=24>an indented paragraph</p><p>left<ind width=40>gap<ind width=200 pos=abs>at 200</p>"
            u"<hr><hr width=120>Entities: &lt;b&gt; &amp; &euro; &copy; &auml;&ouml;&szlig; &frac12; &#65;&#66;&#67;");
  AddHeading(this, u"Lists", 480, 345);
  AddMarkup(this, Bounds(480, 370, 440, 170),
            u"<ol><li>Download the installer<li>Open it<ul><li>accept the licence<li>choose a folder</ul>"
            u"<li>Start Corvane</ol>");
}

TPopupMenu* TMarkupForm::MakeLinkMenu() {
  auto* menu = new TPopupMenu(this);
  for (const char16_t* caption : {u"Open link", u"Copy link address", u"-", u"Save link as (not here)"}) {
    auto* item = new TMenuItem(nullptr);
    item->SetCaption(caption);
    item->SetEnabled(caption[0] != u'S');
    item->OnClick = [this](TObject* sender) {
      status_->SetCaption(u"Link menu: " + static_cast<TMenuItem*>(sender)->Caption());
    };
    menu->Items()->Add(item);
  }
  return menu;
}

}  // namespace kestrel::gallery

KESTREL_GALLERY_PAGE("markup", u"Markup", kestrel::gallery::TMarkupForm)
