#pragma once
// TButtonControl: what push buttons, check boxes and radio buttons share — a focusable control
// that is clicked by the mouse or by Space, and repaints as hover, press and focus change.

#include <functional>

#include "framework/ControlPainter.h"
#include "framework/CustomControl.h"

namespace kestrel {

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
class TEnumInfo;
// The names of TAlignment for published properties.
const TEnumInfo& AlignmentTypeInfo();

class TButtonControl : public TCustomControl {
  KESTREL_CLASS(TButtonControl)
  explicit TButtonControl(TComponent* owner);

  // The look for the current state (disabled, pressed, hot, focused or normal).
  TThemeState ThemeState() const;
  // Focusable, pressed while held down, clicked by its action.
  void GetAccessibleInfo(TAccessibleInfo& info) const override;

 protected:
  void WndProc(TMessage& message) override;
  void KeyDown(platform::WORD& key, TShiftState shift) override;
  void KeyUp(platform::WORD& key, TShiftState shift) override;
  platform::LRESULT DialogCode() const override;
  // The focus indicator, when focused: the classic dotted rectangle or the themed ring.
  void PaintFocus(const TRect& classic, const TRect& themed);
  // The check box / radio button layout: background, the glyph drawn by `drawGlyph` at (x, y)
  // on the side `alignment` names, the caption beside it and the focus rectangle around that.
  void PaintGlyphAndCaption(TAlignment alignment, const std::function<void(int x, int y)>& drawGlyph);

 private:
  bool keyPressed_ = false;
};

}  // namespace kestrel
