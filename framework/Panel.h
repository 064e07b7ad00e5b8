#pragma once
// TCustomPanel / TPanel: a windowed container that fills itself with Color, draws up to two
// bevel rings (outer, then inner, BorderWidth apart) and an optional caption. Aligned children
// share the client area less the bevels and the border.

#include "framework/ButtonControl.h"
#include "framework/CustomControl.h"

namespace kestrel {

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
using TBevelWidth = int;
using TBorderWidth = int;

// The names of TBevelCut for published properties.
const TEnumInfo& BevelCutTypeInfo();

class TCustomPanel : public TCustomControl {
  KESTREL_CLASS(TCustomPanel)
  explicit TCustomPanel(TComponent* owner);

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  TBevelCut BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TBevelCut value);
  TBevelCut BevelInner() const { return bevelInner_; }
  void SetBevelInner(TBevelCut value);
  // Width of each bevel ring, at least 1.
  TBevelWidth BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(TBevelWidth value);
  // Space between the outer and the inner ring, at least 0.
  TBorderWidth BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(TBorderWidth value);
  // Whether the caption is drawn (a panel used as a plain container hides it).
  bool ShowCaption() const { return showCaption_; }
  void SetShowCaption(bool value);

  // The client area less the bevel rings and the border.
  void AdjustClientRect(TRect& rect) const override;

 protected:
  void Paint() override;

 private:
  int Inset() const;
  void FrameChanged();

  TAlignment alignment_ = taCenter;
  TBevelCut bevelOuter_ = bvRaised;
  TBevelCut bevelInner_ = bvNone;
  TBevelWidth bevelWidth_ = 1;
  TBorderWidth borderWidth_ = 0;
  bool showCaption_ = true;
};

class TPanel : public TCustomPanel {
  KESTREL_CLASS(TPanel)
  explicit TPanel(TComponent* owner) : TCustomPanel(owner) {}
};

}  // namespace kestrel
