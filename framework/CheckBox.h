#pragma once
// TCheckBox: a box with a caption, checked, unchecked or (with AllowGrayed) grayed. A click
// moves to the next state; any change of state raises OnClick.

#include "framework/ButtonControl.h"

namespace kestrel {

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TCheckBox : public TButtonControl {
  KESTREL_CLASS(TCheckBox)
  explicit TCheckBox(TComponent* owner);

  TCheckBoxState State() const { return state_; }
  void SetState(TCheckBoxState value);
  bool Checked() const { return state_ == cbChecked; }
  void SetChecked(bool value) { SetState(value ? cbChecked : cbUnchecked); }
  bool AllowGrayed() const { return allowGrayed_; }
  void SetAllowGrayed(bool value) { allowGrayed_ = value; }
  // taRightJustify puts the caption right of the box (the usual), taLeftJustify left of it.
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);

  void Click() override;
  void GetAccessibleInfo(TAccessibleInfo& info) const override;

 protected:
  void Paint() override;

 private:
  TCheckBoxState state_ = cbUnchecked;
  bool allowGrayed_ = false;
  bool toggling_ = false;
  TAlignment alignment_ = taRightJustify;
};

}  // namespace kestrel
