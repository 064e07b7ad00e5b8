#include "ScrollBarsPage.h"
#include "GalleryPages.h"

#include <functional>
#include <memory>

#include "controls/KsCtrlScrollBarStyles.h"
#include "controls/KsSBStandaloneLink.h"
#include "controls/VnThemeServices.h"
#include "framework/Bitmap.h"
#include "framework/CustomControl.h"
#include "framework/Label.h"
#include "framework/Panel.h"

namespace kestrel::gallery {

namespace {

// One bar on a control of its own size. The control stands in for the controller: it feeds
// the bar the mouse, takes each step as its new position and repaints itself for the bar.
class TBarSample : public TCustomControl, public TKsSBStandaloneLink {
 public:
  TBarSample(TComponent* owner, TScrollBarKind kind, int length, const std::function<void(TKsSBHandlerCustom&)>& style)
      : TCustomControl(owner), bar_(std::make_unique<TKsCtrlScrollBarStyles>(this)) {
    SetBar(bar_.get());
    bar_->SetKind(kind);
    bar_->SetUseSystemMetrics(false);
    bar_->fWidth = kind == sbHorizontal ? length : 17;
    bar_->fHeight = kind == sbHorizontal ? 17 : length;
    bar_->SetMax(99);
    bar_->SetPage(15);
    bar_->SetPosition(30);
    style(*bar_);
    bar_->UpdateThumbPos();
    bar_->CreateScrollTimer();
    SetBounds(0, 0, bar_->fWidth, bar_->fHeight);
    OnMouseEnter = [this](TObject*) { bar_->MouseEnter(); };
    OnMouseLeave = [this](TObject*) { bar_->MouseLeave(true); };
  }

  bool IsThemed() const override { return GlobalThemeServices()->ThemesEnabled(ttmPlatform); }
  void RepaintBar(int) override { Invalidate(); }

 protected:
  void Paint() override {
    TBitmap bitmap(bar_->fWidth, bar_->fHeight);
    bar_->Paint(*bitmap.Canvas());
    Canvas()->Draw(0, 0, &bitmap);
  }
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override {
    TCustomControl::MouseDown(button, shift, x, y);
    bar_->MouseButton(true, button, x, y, shift.Contains(ssShift));
  }
  void MouseMove(TShiftState shift, int x, int y) override {
    TCustomControl::MouseMove(shift, x, y);
    bar_->MouseMove(x, y);
  }
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override {
    TCustomControl::MouseUp(button, shift, x, y);
    bar_->MouseButton(false, button, x, y);
  }

 private:
  std::unique_ptr<TKsCtrlScrollBarStyles> bar_;
};

struct TBarStyle {
  const char16_t* name;
  std::function<void(TKsSBHandlerCustom&)> setup;
};

const TBarStyle kStyles[] = {
    {u"Flat (hover to raise)", [](TKsSBHandlerCustom&) {}},
    {u"Raised", [](TKsSBHandlerCustom& b) { b.SetFlat(false); }},
    {u"Thin frames", [](TKsSBHandlerCustom& b) { b.SetFlat(false), b.SetThinFrame(true); }},
    {u"Paging secondary buttons",
     [](TKsSBHandlerCustom& b) { b.SetSecondaryButtons(true), b.SetSecondBtnKind(sbkPage); }},
    {u"Opposite secondary buttons", [](TKsSBHandlerCustom& b) { b.SetSecondaryButtons(true), b.SetFlat(false); }},
    {u"Coloured, no borders",
     [](TKsSBHandlerCustom& b) {
       b.SetShowBorder(false), b.SetColor(static_cast<TColor>(0xD0A070)), b.SetSystemBkColor(false);
     }},
    {u"Fixed thumb, no start arrow",
     [](TKsSBHandlerCustom& b) { b.SetThumbMode(etmFixed), b.SetThumbSize(30), b.SetShowLeftArrows(false); }},
};

}  // namespace

TScrollBarsForm::TScrollBarsForm(TComponent* owner) : TForm(owner) {
  SetCaption(u"Kestrel gallery: scroll bars");
  SetPosition(poScreenCenter);
  SetBorderStyle(bsSingle);
  SetClientWidth(600);
  SetClientHeight(330);
  AddHeading(this, u"Owner-drawn scroll bars (Shift+click in the track jumps there)", 8);
  // Bars stand beside content: on the content's colour their tracks show, in the themed look
  // too, where a track has the window face's colour.
  auto* content = new TPanel(this);
  content->SetParent(this);
  content->SetBounds(190, 28, 402, 272);
  content->SetBevelOuter(bvNone);
  content->SetShowCaption(false);
  content->SetColor(clWindow);
  int top = 36;
  int column = 0;
  for (const TBarStyle& style : kStyles) {
    auto* label = new TLabel(this);
    label->SetParent(this);
    label->SetBounds(12, top, 176, 17);
    label->SetCaption(style.name);
    auto* horizontal = new TBarSample(this, sbHorizontal, 220, style.setup);
    horizontal->SetParent(content);
    horizontal->SetBounds(10, top - 28, horizontal->Width(), horizontal->Height());
    auto* vertical = new TBarSample(this, sbVertical, 250, style.setup);
    vertical->SetParent(content);
    vertical->SetBounds(250 + column * 20, 10, vertical->Width(), vertical->Height());
    top += 36;
    column += 1;
  }
}

}  // namespace kestrel::gallery

KESTREL_GALLERY_PAGE("scrollbars", u"Scroll bars", kestrel::gallery::TScrollBarsForm)
