#pragma once
// The colours an edit uses while it is read-only, when enabled. Every change is reported to the
// owner through OnChange.

#include "framework/Colors.h"
#include "framework/Persistent.h"

namespace kestrel {

class TKsDisplayReadOnlyOptions : public TPersistent {
  KESTREL_CLASS(TKsDisplayReadOnlyOptions)
  TKsDisplayReadOnlyOptions() = default;

  void Assign(const TPersistent* source) override;
  using TPersistent::Assign;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value) { Set(enabled_, value); }
  TColor BkColor() const { return bkColor_; }
  void SetBkColor(TColor value) { Set(bkColor_, value); }
  TColor TextColor() const { return textColor_; }
  void SetTextColor(TColor value) { Set(textColor_, value); }

  TNotifyEvent OnChange;

 private:
  template <class V>
  void Set(V& field, V value) {
    if (field == value) return;
    field = value;
    if (OnChange) OnChange(this);
  }

  bool enabled_ = false;
  TColor bkColor_ = clWindow;
  TColor textColor_ = clWindowText;
};

}  // namespace kestrel
