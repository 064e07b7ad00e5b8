#pragma once
// TRadioButton: one of a group (the radio buttons sharing a parent); checking one unchecks the
// others. A click checks it; becoming checked raises OnClick.

#include "framework/ButtonControl.h"

namespace kestrel {

class TRadioButton : public TButtonControl {
  KESTREL_CLASS(TRadioButton)
  explicit TRadioButton(TComponent* owner);

  bool Checked() const { return checked_; }
  void SetChecked(bool value);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);

  void Click() override;
  void GetAccessibleInfo(TAccessibleInfo& info) const override;

 protected:
  void Paint() override;

 private:
  bool checked_ = false;
  TAlignment alignment_ = taRightJustify;
};

}  // namespace kestrel
