#include "framework/CheckBox.h"

#include "framework/PropInfo.h"
#include "framework/TypeInfo.h"

namespace kestrel {

namespace {
const TEnumInfo& CheckStateInfo() {
  static const TEnumInfo info(u"TCheckBoxState", {u"cbUnchecked", u"cbChecked", u"cbGrayed"});
  return info;
}
}  // namespace

KESTREL_IMPLEMENT_PUBLISHED_CLASS(TCheckBox, TButtonControl)

void TCheckBox::PublishProperties(TClassBuilder<TCheckBox>& b) {
  b.Enum(u"Alignment", &TCheckBox::Alignment, &TCheckBox::SetAlignment, AlignmentTypeInfo()).Default(taRightJustify);
  b.Property(u"AllowGrayed", &TCheckBox::AllowGrayed, &TCheckBox::SetAllowGrayed).Default(false);
  b.Property(u"Checked", &TCheckBox::Checked, &TCheckBox::SetChecked).Stored(false);
  b.Enum(u"State", &TCheckBox::State, &TCheckBox::SetState, CheckStateInfo()).Default(cbUnchecked);
}

TCheckBox::TCheckBox(TComponent* owner) : TButtonControl(owner) {
  SetBounds(0, 0, 97, 17);
  SetParentColor(true);
}

void TCheckBox::SetState(TCheckBoxState value) {
  if (value == state_) return;
  state_ = value;
  Invalidate();
  NotifyAccessible(this, TAccessibleChange::State);
  if (!toggling_) TButtonControl::Click();
}

void TCheckBox::SetAlignment(TAlignment value) {
  if (value == alignment_) return;
  alignment_ = value;
  Invalidate();
}

void TCheckBox::Click() {
  TCheckBoxState next = cbUnchecked;
  if (state_ == cbUnchecked) next = cbChecked;
  else if (state_ == cbChecked && allowGrayed_) next = cbGrayed;
  toggling_ = true;
  SetState(next);
  toggling_ = false;
  TButtonControl::Click();
}

void TCheckBox::Paint() {
  PaintGlyphAndCaption(alignment_,
                       [this](int x, int y) { ControlPainter::DrawCheckGlyph(*Canvas(), x, y, state_, ThemeState()); });
}

void TCheckBox::GetAccessibleInfo(TAccessibleInfo& info) const {
  TButtonControl::GetAccessibleInfo(info);
  info.Role = TAccessibleRole::CheckBox;
  info.Checkable = true;
  info.Checked = state_ == cbChecked;
}

}  // namespace kestrel
