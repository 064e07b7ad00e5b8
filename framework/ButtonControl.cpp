#include "framework/ButtonControl.h"

#include <algorithm>

#include "framework/PropInfo.h"
#include "framework/TypeInfo.h"
#include "platform/text/TextTypes.h"
#include "platform/window/WindowDefs.h"

namespace kestrel {

namespace pf = platform;

KESTREL_IMPLEMENT_PUBLISHED_CLASS(TButtonControl, TCustomControl)

// Buttons take the focus by Tab from the start, so that is their stored default.
void TButtonControl::PublishProperties(TClassBuilder<TButtonControl>& b) {
  b.Property(u"TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(true);
}

const TEnumInfo& AlignmentTypeInfo() {
  static const TEnumInfo info(u"TAlignment", {u"taLeftJustify", u"taRightJustify", u"taCenter"});
  return info;
}

TButtonControl::TButtonControl(TComponent* owner) : TCustomControl(owner) {
  SetControlStyle({csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks, csOpaque});
  SetTabStop(true);
}

TThemeState TButtonControl::ThemeState() const {
  if (!Enabled()) return TThemeState::Disabled;
  if (keyPressed_ || (ControlState().Contains(csLButtonDown) && MouseInControl())) return TThemeState::Pressed;
  if (MouseInControl()) return TThemeState::Hot;
  if (Focused()) return TThemeState::Focused;
  return TThemeState::Normal;
}

void TButtonControl::WndProc(TMessage& m) {
  TCustomControl::WndProc(m);
  switch (m.Msg) {
    case CM_MOUSEENTER:
    case CM_MOUSELEAVE:
    case pf::WM_SETFOCUS:
    case pf::WM_LBUTTONDOWN:
    case pf::WM_LBUTTONUP: Invalidate(); break;
    case pf::WM_KILLFOCUS:
      keyPressed_ = false;
      Invalidate();
      break;
    default: break;
  }
}

void TButtonControl::KeyDown(pf::WORD& key, TShiftState shift) {
  TCustomControl::KeyDown(key, shift);
  if (key == pf::VK_SPACE && !keyPressed_) {
    keyPressed_ = true;
    Invalidate();
  }
}

void TButtonControl::KeyUp(pf::WORD& key, TShiftState shift) {
  TCustomControl::KeyUp(key, shift);
  if (key == pf::VK_SPACE && keyPressed_) {
    keyPressed_ = false;
    Invalidate();
    Click();
  }
}

pf::LRESULT TButtonControl::DialogCode() const { return pf::DLGC_BUTTON; }

void TButtonControl::PaintFocus(const TRect& classic, const TRect& themed) {
  if (Focused()) ControlPainter::DrawFocus(*Canvas(), classic, themed);
}

void TButtonControl::PaintGlyphAndCaption(TAlignment alignment, const std::function<void(int, int)>& drawGlyph) {
  const TRect r = ClientRect();
  Canvas()->Brush()->SetColor(Color());
  Canvas()->FillRect(r);
  const int size = ControlPainter::kGlyphSize;
  const bool glyphLeft = alignment != taLeftJustify;
  drawGlyph(glyphLeft ? 0 : r.right - size, (r.bottom - size) / 2);
  const TRect text = glyphLeft ? Rect(size + 4, 0, r.right, r.bottom) : Rect(0, 0, r.right - size - 4, r.bottom);
  Canvas()->Font()->Assign(Font());
  ControlPainter::DrawCaption(*Canvas(), Caption(), text, pf::DT_VCENTER | pf::DT_SINGLELINE | pf::DT_LEFT, Enabled());
  const int w = Canvas()->TextWidth(Caption());
  const TRect around = Rect(text.left - 1, text.top + 1, std::min<int>(text.left + w + 1, r.right), text.bottom - 1);
  PaintFocus(around, Rect(around.left - 2, around.top, std::min<int>(around.right + 2, r.right), around.bottom));
}

void TButtonControl::GetAccessibleInfo(TAccessibleInfo& info) const {
  TCustomControl::GetAccessibleInfo(info);
  info.Pressed = ThemeState() == TThemeState::Pressed;
  info.Action = u"click";
}

}  // namespace kestrel
