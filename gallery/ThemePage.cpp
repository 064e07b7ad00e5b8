#include "ThemePage.h"

#include "GalleryPages.h"
#include "ThemeSwitch.h"
#include "framework/Button.h"
#include "framework/GraphicControl.h"
#include "platform/theme/ThemeSheet.h"
#include "platform/theme/UxTheme.h"

namespace kestrel::gallery {

namespace {

class TThemeSheet : public TGraphicControl {
 public:
  explicit TThemeSheet(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, platform::kThemeSheetWidth, platform::kThemeSheetHeight);
  }

 protected:
  void Paint() override { platform::DrawThemeSheet(Canvas()->Handle()); }
};

constexpr int kBarHeight = 40;

String SwitchCaption() { return platform::IsThemeActive() ? u"Classic look (Ctrl+T)" : u"Themed look (Ctrl+T)"; }

}  // namespace

TThemeForm::TThemeForm(TComponent* owner) : TForm(owner) {
  SetCaption(u"Theme");
  SetBorderStyle(bsSingle);
  SetClientWidth(platform::kThemeSheetWidth);
  SetClientHeight(platform::kThemeSheetHeight + kBarHeight);
  auto* sheet = new TThemeSheet(this);
  sheet->SetParent(this);
  sheet->SetTop(kBarHeight);
  auto* toggle = new TButton(this);
  toggle->SetParent(this);
  toggle->SetBounds(8, 8, 160, 25);
  toggle->SetCaption(SwitchCaption());
  toggle->OnClick = [toggle](TObject*) {
    ToggleTheme();
    toggle->SetCaption(SwitchCaption());
  };
}

}  // namespace kestrel::gallery

KESTREL_GALLERY_PAGE("theme", u"Theme", kestrel::gallery::TThemeForm)
