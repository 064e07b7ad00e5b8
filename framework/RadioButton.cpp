#include "framework/RadioButton.h"

#include "framework/PropInfo.h"
#include "framework/TypeInfo.h"

namespace kestrel {

KESTREL_IMPLEMENT_PUBLISHED_CLASS(TRadioButton, TButtonControl)

void TRadioButton::PublishProperties(TClassBuilder<TRadioButton>& b) {
  b.Property(u"Checked", &TRadioButton::Checked, &TRadioButton::SetChecked).Default(false);
}

TRadioButton::TRadioButton(TComponent* owner) : TButtonControl(owner) {
  SetBounds(0, 0, 113, 17);
  SetParentColor(true);
}

void TRadioButton::SetChecked(bool value) {
  if (value == checked_) return;
  checked_ = value;
  Invalidate();
  NotifyAccessible(this, TAccessibleChange::State);
  if (!value) return;
  if (TWinControl* parent = Parent()) {
    for (int i = 0; i < parent->ControlCount(); ++i)
      if (auto* other = dynamic_cast<TRadioButton*>(parent->Controls(i)); other && other != this)
        other->SetChecked(false);
  }
  TButtonControl::Click();
}

void TRadioButton::SetAlignment(TAlignment value) {
  if (value == alignment_) return;
  alignment_ = value;
  Invalidate();
}

void TRadioButton::Click() { SetChecked(true); }

void TRadioButton::Paint() {
  PaintGlyphAndCaption(
      alignment_, [this](int x, int y) { ControlPainter::DrawRadioGlyph(*Canvas(), x, y, checked_, ThemeState()); });
}

void TRadioButton::GetAccessibleInfo(TAccessibleInfo& info) const {
  TButtonControl::GetAccessibleInfo(info);
  info.Role = TAccessibleRole::RadioButton;
  info.Checkable = true;
  info.Checked = checked_;
}

}  // namespace kestrel
