#include "GalleryForm.h"

#include "GalleryPages.h"

#include "framework/Application.h"
#include "framework/MessageBox.h"
#include "framework/SysUtils.h"

namespace kestrel::gallery {

namespace {

// A windowless swatch strip showing colours by name, system colours included.
class TColorStrip : public TGraphicControl {
 public:
  explicit TColorStrip(TComponent* owner) : TGraphicControl(owner) { SetBounds(0, 0, 240, 24); }

 protected:
  void Paint() override {
    const TColor colours[] = {clRed, clLime, clBlue, clYellow, clBtnFace, clHighlight, clWindow, clGrayText};
    const int n = static_cast<int>(std::size(colours));
    for (int i = 0; i < n; ++i) {
      Canvas()->Brush()->SetColor(colours[i]);
      Canvas()->Pen()->SetColor(clGray);
      const int w = Width() / n;
      Canvas()->Rectangle(i * w, 0, i * w + w - 2, Height());
    }
  }
};

}  // namespace

TGalleryForm::TGalleryForm(TComponent* owner) : TForm(owner) {
  SetCaption(u"Kestrel gallery");
  SetPosition(poScreenCenter);
  SetBorderStyle(bsSingle);
  SetClientWidth(420);
  SetClientHeight(300);

  // The status line first: the controls below report into it as they are set up.
  status_ = new TLabel(this);
  status_->SetParent(this);
  status_->SetAutoSize(false);
  status_->SetBounds(0, 276, 420, 24);
  status_->SetAlign(alBottom);
  status_->SetLayout(tlCenter);
  status_->SetColor(clInfoBk);
  status_->Font()->SetColor(clInfoText);
  status_->SetCaption(u"  Ready");

  AddSection(u"Push buttons", 12);
  okButton_ = new TButton(this);
  okButton_->SetParent(this);
  okButton_->SetBounds(16, 34, 90, 25);
  okButton_->SetCaption(u"Say hello");
  okButton_->SetDefault(true);
  okButton_->OnClick = [this](TObject*) {
    Report(u"Hello, " + (edit_->Text().empty() ? String(u"world") : edit_->Text()));
  };
  auto* disabled = new TButton(this);
  disabled->SetParent(this);
  disabled->SetBounds(114, 34, 90, 25);
  disabled->SetCaption(u"Disabled");
  disabled->SetEnabled(false);
  quitButton_ = new TButton(this);
  quitButton_->SetParent(this);
  quitButton_->SetBounds(212, 34, 90, 25);
  quitButton_->SetCaption(u"Quit");
  quitButton_->SetCancel(true);
  quitButton_->OnClick = [this](TObject*) {
    if (Application()->MessageBox(u"Close the gallery?", u"Kestrel gallery", MB_YESNO | MB_ICONQUESTION) == IDYES)
      Close();
  };

  TLabel* editLabel = AddSection(u"Edit box", 72);
  edit_ = new TEdit(this);
  edit_->SetParent(this);
  edit_->SetBounds(16, 94, 186, 21);
  edit_->SetText(u"Kestrel");
  edit_->OnChange = [this](TObject*) { Report(u"Text: " + edit_->Text()); };
  editLabel->SetFocusControl(edit_);  // the edit's name for screen readers

  AddSection(u"Check box and radio buttons", 128);
  check_ = new TCheckBox(this);
  check_->SetParent(this);
  check_->SetBounds(16, 150, 150, 17);
  check_->SetCaption(u"Three states");
  check_->SetAllowGrayed(true);
  check_->SetChecked(true);
  check_->OnClick = [this](TObject*) {
    static const char16_t* names[] = {u"unchecked", u"checked", u"grayed"};
    Report(String(u"Check box ") + names[check_->State()]);
  };
  const char16_t* radioNames[] = {u"Small", u"Medium", u"Large"};
  for (int i = 0; i < 3; ++i) {
    radios_[i] = new TRadioButton(this);
    radios_[i]->SetParent(this);
    radios_[i]->SetBounds(200 + 70 * i, 150, 68, 17);
    radios_[i]->SetCaption(radioNames[i]);
    radios_[i]->OnClick = [this, i, radioNames](TObject*) { Report(String(u"Size: ") + radioNames[i]); };
  }
  radios_[1]->SetChecked(true);

  AddSection(u"Windowless controls: labels and a colour strip", 184);
  auto* strip = new TColorStrip(this);
  strip->SetParent(this);
  strip->SetBounds(16, 206, 240, 24);
  clock_ = new TLabel(this);
  clock_->SetParent(this);
  clock_->SetBounds(270, 210, 130, 17);
  clock_->SetCaption(u"Timer: 0");

  timer_ = new TTimer(this);
  timer_->SetInterval(1000);
  timer_->OnTimer = [this](TObject*) { clock_->SetCaption(u"Timer: " + IntToStr(++ticks_)); };
  timer_->UpdateTimer();
  AddPageButtons(240);
  SetActiveControl(okButton_);
}

TLabel* TGalleryForm::AddSection(const String& title, int top) {
  auto* label = new TLabel(this);
  label->SetParent(this);
  label->SetBounds(12, top, 300, 17);
  label->Font()->SetStyle({fsBold});
  label->SetCaption(title);
  return label;
}

void TGalleryForm::AddPageButtons(int top) {
  constexpr int kPerRow = 5, kWidth = 76, kHeight = 25, kGap = 4;
  int index = 0;
  for (const TGalleryPage& page : TGalleryPages::All()) {
    if (page.name == "controls") continue;
    auto* button = new TButton(this);
    button->SetParent(this);
    button->SetBounds(16 + (index % kPerRow) * (kWidth + kGap), top + (index / kPerRow) * (kHeight + kGap), kWidth,
                      kHeight);
    button->SetCaption(page.title + u"...");
    button->OnClick = [this, page](TObject*) { ShowPage(page); };
    ++index;
  }
  const int rows = (index + kPerRow - 1) / kPerRow;
  SetClientHeight(top + rows * (kHeight + kGap) + 24 + kGap);
}

void TGalleryForm::ShowPage(const TGalleryPage& page) {
  TForm*& form = openPages_[page.name];
  if (!form) form = page.create();
  form->Show();
  Report(page.title + u" page shown");
}

void TGalleryForm::Report(const String& text) { status_->SetCaption(u"  " + text); }

}  // namespace kestrel::gallery

KESTREL_GALLERY_PAGE("controls", u"Controls", kestrel::gallery::TGalleryForm)
