#include "framework/Button.h"

#include "framework/PropInfo.h"
#include "framework/TypeInfo.h"
#include "platform/text/TextTypes.h"

namespace kestrel {

namespace pf = platform;

KESTREL_IMPLEMENT_PUBLISHED_CLASS(TButton, TButtonControl)

void TButton::PublishProperties(TClassBuilder<TButton>& b) {
  b.Property(u"Cancel", &TButton::Cancel, &TButton::SetCancel).Default(false);
  b.Property(u"Default", &TButton::Default, &TButton::SetDefault).Default(false);
  b.Property(u"ModalResult", &TButton::ModalResult, &TButton::SetModalResult).Default(0).TypeName(u"TModalResult");
}

TButton::TButton(TComponent* owner) : TButtonControl(owner) {
  SetBounds(0, 0, 75, 25);
  SetColor(clBtnFace);
}

void TButton::SetDefault(bool value) {
  if (value == default_) return;
  default_ = value;
  Invalidate();
}

void TButton::Click() {
  if (modalResult_ != mrNone)
    if (TCustomForm* form = GetParentForm()) form->SetModalResult(modalResult_);
  TButtonControl::Click();
}

pf::LRESULT TButton::DialogCode() const {
  return pf::DLGC_BUTTON | (default_ ? pf::DLGC_DEFPUSHBUTTON : pf::DLGC_UNDEFPUSHBUTTON);
}

void TButton::WndProc(TMessage& m) {
  if (m.Msg == CM_DIALOGKEY) {
    const bool enter = m.WParam == pf::VK_RETURN && (default_ || Focused());
    const bool escape = m.WParam == pf::VK_ESCAPE && cancel_;
    if ((enter || escape) && Visible() && Enabled()) {
      Click();
      m.Result = 1;
    }
    return;
  }
  TButtonControl::WndProc(m);
}

void TButton::Paint() {
  const TRect r = ClientRect();
  ControlPainter::DrawButtonFace(*Canvas(), r, ThemeState(), default_);
  if (ControlPainter::CaptionOnAccent(ThemeState(), default_)) Canvas()->Font()->SetColor(clWhite);
  ControlPainter::DrawCaption(*Canvas(), Caption(), r, pf::DT_CENTER | pf::DT_VCENTER | pf::DT_SINGLELINE, Enabled());
  PaintFocus(Rect(r.left + 3, r.top + 3, r.right - 3, r.bottom - 3), r);
}

void TButton::GetAccessibleInfo(TAccessibleInfo& info) const {
  TButtonControl::GetAccessibleInfo(info);
  info.Role = TAccessibleRole::PushButton;
  info.Default = default_;
}

}  // namespace kestrel
