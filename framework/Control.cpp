#include "framework/Control.h"

#include <algorithm>

#include "framework/DragTracker.h"
#include "framework/Exceptions.h"
#include "framework/Form.h"
#include "framework/PopupMenu.h"
#include "framework/PropInfo.h"
#include "framework/TypeInfo.h"
#include "framework/WinControl.h"
#include "platform/gdi/Gdi.h"
#include "platform/window/DragCursors.h"
#include "platform/window/WindowApi.h"

namespace kestrel {

namespace pf = platform;

namespace {

const TEnumInfo& AlignInfo() {
  static const TEnumInfo info(u"TAlign",
                              {u"alNone", u"alTop", u"alBottom", u"alLeft", u"alRight", u"alClient", u"alCustom"});
  return info;
}
const TEnumInfo& AnchorInfo() {
  static const TEnumInfo info(u"TAnchorKind", {u"akLeft", u"akTop", u"akRight", u"akBottom"});
  return info;
}

}  // namespace

TShiftState MouseShiftState(pf::WPARAM keys) {
  TShiftState s;
  if (keys & pf::MK_SHIFT) s.Include(ssShift);
  if (keys & pf::MK_CONTROL) s.Include(ssCtrl);
  if (keys & pf::MK_LBUTTON) s.Include(ssLeft);
  if (keys & pf::MK_RBUTTON) s.Include(ssRight);
  if (keys & pf::MK_MBUTTON) s.Include(ssMiddle);
  if (pf::GetKeyState(pf::VK_MENU) < 0) s.Include(ssAlt);
  return s;
}

TShiftState KeyboardShiftState() {
  TShiftState s;
  if (pf::GetKeyState(pf::VK_SHIFT) < 0) s.Include(ssShift);
  if (pf::GetKeyState(pf::VK_CONTROL) < 0) s.Include(ssCtrl);
  if (pf::GetKeyState(pf::VK_MENU) < 0) s.Include(ssAlt);
  return s;
}

int CursorResource(int cursor) {
  switch (cursor) {
    case crArrow: return 32512;
    case crIBeam: return 32513;
    case crHourGlass: return 32514;
    case crCross: return 32515;
    case crSizeNWSE: return 32642;
    case crSizeNESW: return 32643;
    case crSizeWE: return 32644;
    case crSizeNS: return 32645;
    case crSizeAll: return 32646;
    case crNo:
    case crNoDrop: return 32648;
    case crDrag: return pf::kDragCursorShape;
    case crMultiDrag: return pf::kMultiDragCursorShape;
    case crHandPoint: return 32649;
    default: return 0;
  }
}

KESTREL_IMPLEMENT_PUBLISHED_CLASS(TControl, TComponent)

void TControl::PublishProperties(TClassBuilder<TControl>& b) {
  b.Enum(u"Align", &TControl::Align, &TControl::SetAlign, AlignInfo()).Default(alNone);
  b.Set(u"Anchors", &TControl::Anchors, &TControl::SetAnchors, AnchorInfo(), u"TAnchors")
      .Default(TAnchors{akLeft, akTop});
  b.Property(u"Caption", &TControl::Caption, &TControl::SetCaption).TypeName(u"TCaption");
  b.Property(u"Color", &TControl::Color, &TControl::SetColor)
      .TypeName(u"TColor")
      .NoDefault()
      .Stored(&TControl::IsColorStored);
  b.Property(u"Cursor", &TControl::Cursor, &TControl::SetCursor).Default(0).TypeName(u"TCursor");
  b.Property(u"Enabled", &TControl::Enabled, &TControl::SetEnabled).Default(true);
  b.Object(u"Font", &TControl::Font, &TControl::SetFont).Stored(&TControl::IsFontStored);
  b.Property(u"Height", &TControl::Height, &TControl::SetHeight).NoDefault();
  b.Property(u"Hint", &TControl::Hint, &TControl::SetHint);
  b.Property(u"Left", &TControl::Left, &TControl::SetLeft).NoDefault();
  b.Property(u"ParentColor", &TControl::ParentColor, &TControl::SetParentColor).Default(false);
  b.Property(u"ParentFont", &TControl::ParentFont, &TControl::SetParentFont).Default(true);
  b.Object(u"PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu);
  b.Property(u"ShowHint", &TControl::ShowHint, &TControl::SetShowHint).Default(false);
  b.Property(u"Top", &TControl::Top, &TControl::SetTop).NoDefault();
  b.Property(u"Visible", &TControl::Visible, &TControl::SetVisible).Default(true);
  b.Property(u"Width", &TControl::Width, &TControl::SetWidth).NoDefault();
  b.Event(
      u"OnClick", [](const TControl& c) { return static_cast<bool>(c.OnClick); }, u"TNotifyEvent");
  b.Event(
      u"OnDblClick", [](const TControl& c) { return static_cast<bool>(c.OnDblClick); }, u"TNotifyEvent");
  b.Event(
      u"OnMouseDown", [](const TControl& c) { return static_cast<bool>(c.OnMouseDown); }, u"TMouseEvent");
  b.Event(
      u"OnMouseUp", [](const TControl& c) { return static_cast<bool>(c.OnMouseUp); }, u"TMouseEvent");
  b.Event(
      u"OnMouseMove", [](const TControl& c) { return static_cast<bool>(c.OnMouseMove); }, u"TMouseMoveEvent");
  b.Event(
      u"OnContextPopup", [](const TControl& c) { return static_cast<bool>(c.OnContextPopup); }, u"TContextPopupEvent");
}

TControl::TControl(TComponent* owner) : TComponent(owner), font_(std::make_unique<TFont>()) {
  WindowProc = [this](TMessage& m) { WndProc(m); };
  font_->OnChange = [this](TObject* s) { FontChanged(s); };
}

TControl::~TControl() {
  Destroying();
  TDragTracker::Instance().ControlDestroyed(this);
  NotifyAccessible(this, TAccessibleChange::Destroyed);
  SetPopupMenu(nullptr);
  if (parent_) parent_->RemoveControl(this);
}

TComponent* TControl::GetParentComponent() const { return parent_; }

void TControl::SetParentComponent(TComponent* parent) {
  if (auto* win = dynamic_cast<TWinControl*>(parent)) SetParent(win);
}

void TControl::SetParent(TWinControl* value) {
  if (value == parent_) return;
  if (value == this) throw EInvalidOperation(u"A control cannot have itself as its parent");
  if (parent_) parent_->RemoveControl(this);
  if (value) value->InsertControl(this);
}

platform::LRESULT TControl::Perform(pf::UINT msg, pf::WPARAM wParam, pf::LPARAM lParam) {
  TMessage m{msg, wParam, lParam, 0};
  if (WindowProc) WindowProc(m);
  else WndProc(m);
  return m.Result;
}

// ---- geometry ----------------------------------------------------------------------------

void TControl::SetBounds(int left, int top, int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  const bool resized = width != width_ || height != height_;
  Invalidate();
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  Invalidate();
  if (!anchoring_) UpdateAnchorRules();
  RequestAlign();
  if (resized) Resize();
}

void TControl::UpdateBoundsFromWindow(int left, int top, int width, int height) {
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  const bool resized = width != width_ || height != height_;
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  if (!anchoring_) UpdateAnchorRules();
  if (resized) Resize();
}

void TControl::Resize() {
  if (OnResize) OnResize(this);
}

void TControl::SetClientSize(int width, int height) {
  const TRect client = ClientRect();
  SetBounds(left_, top_, width_ + width - client.right, height_ + height - client.bottom);
}

TPoint TControl::ClientOrigin() const {
  if (!parent_) return Point(left_, top_);
  TPoint p = parent_->ClientOrigin();
  return Point(p.x + left_, p.y + top_);
}

TPoint TControl::ClientToScreen(TPoint p) const {
  const TPoint o = ClientOrigin();
  return Point(p.x + o.x, p.y + o.y);
}

TPoint TControl::ScreenToClient(TPoint p) const {
  const TPoint o = ClientOrigin();
  return Point(p.x - o.x, p.y - o.y);
}

TPoint TControl::ClientToParent(TPoint p, const TWinControl* parent) const {
  const TControl* c = this;
  while (c && c != parent) {
    if (!c->parent_ && parent) throw EInvalidOperation(u"Control '%s' has no parent window", {Name()});
    p.x += c->left_;
    p.y += c->top_;
    c = c->parent_;
  }
  return p;
}

void TControl::SetAlign(TAlign value) {
  if (value == align_) return;
  align_ = value;
  anchors_ = value == alNone ? TAnchors{akLeft, akTop} : anchors_;
  RequestAlign();
}

void TControl::SetAnchors(TAnchors value) {
  if (value == anchors_) return;
  anchors_ = value;
  UpdateAnchorRules();
}

void TControl::UpdateAnchorRules() {
  if (!parent_ || ComponentState().Contains(csLoading)) {
    anchorValid_ = false;
    return;
  }
  const TRect client = parent_->ClientRect();
  anchorOrigin_ = BoundsRect();
  anchorParentSize_ = {client.right - client.left, client.bottom - client.top};
  anchorValid_ = anchorParentSize_.cx > 0 || anchorParentSize_.cy > 0;
}

TRect TControl::AnchoredBounds(int parentWidth, int parentHeight) const {
  TRect r = BoundsRect();
  if (!anchorValid_) return r;
  auto axis = [](bool lowSide, bool highSide, int origin, int size, int oldParent, int newParent, int& start,
                 int& length) {
    const int delta = newParent - oldParent;
    if (lowSide && highSide) {
      start = origin;
      length = std::max(size + delta, 0);
    } else if (highSide) {
      start = origin + delta;
      length = size;
    } else if (!lowSide) {
      // Neither side: the centre keeps its relative place.
      const double centre = oldParent > 0 ? (origin + size / 2.0) * newParent / oldParent : origin + size / 2.0;
      start = static_cast<int>(centre - size / 2.0);
      length = size;
    } else {
      start = origin;
      length = size;
    }
  };
  int x, w, y, h;
  axis(anchors_.Contains(akLeft), anchors_.Contains(akRight), anchorOrigin_.left,
       anchorOrigin_.right - anchorOrigin_.left, anchorParentSize_.cx, parentWidth, x, w);
  axis(anchors_.Contains(akTop), anchors_.Contains(akBottom), anchorOrigin_.top,
       anchorOrigin_.bottom - anchorOrigin_.top, anchorParentSize_.cy, parentHeight, y, h);
  return Bounds(x, y, w, h);
}

void TControl::RequestAlign() {
  if (parent_ && (align_ != alNone || !parent_->ComponentState().Contains(csLoading))) {
    if (align_ != alNone) parent_->Realign();
  }
}

void TControl::Loaded() {
  TComponent::Loaded();
  UpdateAnchorRules();
  if (parent_ && align_ != alNone) parent_->Realign();
}

// ---- state and looks ---------------------------------------------------------------------

void TControl::SetVisible(bool value) {
  if (value == visible_) return;
  VisibleChanging();
  if (!value) Invalidate();
  visible_ = value;
  Perform(CM_VISIBLECHANGED, value ? 1 : 0);
  if (value) Invalidate();
  RequestAlign();
  NotifyAccessible(this, TAccessibleChange::Showing);
}

bool TControl::Showing() const { return visible_ && parent_ && parent_->Showing(); }

void TControl::SetEnabled(bool value) {
  if (value == enabled_) return;
  enabled_ = value;
  Perform(CM_ENABLEDCHANGED);
  NotifyAccessible(this, TAccessibleChange::State);
}

void TControl::SetColor(TColor value) {
  if (value == color_ && !parentColor_) return;
  color_ = value;
  parentColor_ = false;
  Perform(CM_COLORCHANGED);
}

void TControl::SetColorFromParent(TColor value) {
  if (value == color_) return;
  color_ = value;
  Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool value) {
  if (value == parentColor_) return;
  parentColor_ = value;
  if (value && parent_) SetColorFromParent(parent_->Color());
}

void TControl::SetParentFont(bool value) {
  if (value == parentFont_) return;
  parentFont_ = value;
  if (value && parent_) Perform(CM_PARENTFONTCHANGED);
}

void TControl::FontChanged(TObject*) {
  if (!fontFromParent_) parentFont_ = false;
  Perform(CM_FONTCHANGED);
}

void TControl::SetText(const String& value) {
  if (value == text_) return;
  text_ = value;
  Perform(CM_TEXTCHANGED);
  NotifyAccessible(this, TAccessibleChange::Text);
}

void TControl::SetCursor(int value) {
  if (value == cursor_) return;
  cursor_ = value;
  Perform(CM_CURSORCHANGED);
}

void TControl::SetPopupMenu(TPopupMenu* value) {
  if (value == popupMenu_) return;
  if (popupMenu_) popupMenu_->RemoveFreeNotification(this);
  popupMenu_ = value;
  if (popupMenu_) popupMenu_->FreeNotification(this);
}

void TControl::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component && component == popupMenu_) popupMenu_ = nullptr;
}

// ---- painting ----------------------------------------------------------------------------

void TControl::Invalidate() {
  if (!parent_ || !parent_->HandleAllocated() || !visible_) return;
  const TRect r = BoundsRect();
  pf::InvalidateRect(parent_->handle_, &r, !controlStyle_.Contains(csOpaque));
}

void TControl::Update() {
  if (parent_) parent_->Update();
}

void TControl::Repaint() {
  Invalidate();
  Update();
}

void TControl::BringToFront() {
  if (!parent_) return;
  auto& list = parent_->controls_;
  std::erase(list, this);
  list.push_back(this);
  parent_->UpdateZOrder(this);
}

void TControl::SendToBack() {
  if (!parent_) return;
  auto& list = parent_->controls_;
  std::erase(list, this);
  list.insert(list.begin(), this);
  parent_->UpdateZOrder(this);
}

TCustomForm* TControl::GetParentForm() const {
  const TControl* c = this;
  while (c->parent_) c = c->parent_;
  return dynamic_cast<TCustomForm*>(const_cast<TControl*>(c));
}

void TControl::Click() {
  if (OnClick) OnClick(this);
}

void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::DoContextPopup(TPoint mousePos, bool& handled) {
  if (OnContextPopup) OnContextPopup(this, mousePos, handled);
}

TPopupMenu* TControl::PopupMenuAt(TPoint) const { return popupMenu_; }

// ---- drag and drop -----------------------------------------------------------------------

void TControl::BeginDrag(bool immediate, int threshold) { TDragTracker::Instance().Begin(*this, immediate, threshold); }

void TControl::EndDrag(bool drop) {
  if (Dragging()) TDragTracker::Instance().End(drop);
}

bool TControl::Dragging() const { return TDragTracker::Instance().SourceControl() == this; }

void TControl::DragOver(TObject* source, int x, int y, TDragState state, bool& accept) {
  accept = static_cast<bool>(OnDragOver);
  if (OnDragOver) OnDragOver(this, source, x, y, state, accept);
}

void TControl::DragDrop(TObject* source, int x, int y) {
  if (OnDragDrop) OnDragDrop(this, source, x, y);
}

void TControl::DoStartDrag(TDragObject*& dragObject) {
  if (OnStartDrag) OnStartDrag(this, dragObject);
}

void TControl::DoEndDrag(TObject* target, int x, int y) {
  if (OnEndDrag) OnEndDrag(this, target, x, y);
}

void TControl::ContextMenu(TMessage& m) {
  if (m.Result != 0) return;
  const TPoint screen = Point(pf::GET_X_LPARAM(m.LParam), pf::GET_Y_LPARAM(m.LParam));
  const bool fromKeyboard = screen.x == -1 && screen.y == -1;
  const TPoint client = fromKeyboard ? screen : ScreenToClient(screen);
  bool handled = false;
  DoContextPopup(client, handled);
  if (handled) {
    m.Result = 1;
    return;
  }
  TPopupMenu* menu = PopupMenuAt(client);
  if (!menu || !menu->AutoPopup()) {
    DefaultHandler(m);
    return;
  }
  // From the keyboard the menu opens at the client area's corner.
  const TPoint at = fromKeyboard ? ClientToScreen(Point(0, 0)) : screen;
  menu->SetPopupComponent(this);
  m.Result = 1;
  // The menu's loop runs handlers that may free this control: nothing of it is touched after.
  menu->Popup(at.x, at.y);
}

// ---- messages ----------------------------------------------------------------------------

void TControl::HandleButton(TMessage& m, TMouseButton button, bool down, bool dbl) {
  const int x = pf::GET_X_LPARAM(m.LParam), y = pf::GET_Y_LPARAM(m.LParam);
  TShiftState shift = MouseShiftState(m.WParam);
  const bool stdEvents = !controlStyle_.Contains(csNoStdEvents);
  if (down) {
    if (button == mbLeft) {
      if (controlStyle_.Contains(csCaptureMouse)) controlState_.Include(csLButtonDown);
      if (controlStyle_.Contains(csClickEvents)) controlState_.Include(csClicked);
    }
    if (dbl) {
      shift.Include(ssDouble);
      if (button == mbLeft && controlStyle_.Contains(csDoubleClicks)) DblClick();
    }
    if (stdEvents) MouseDown(button, shift, x, y);
    return;
  }
  const bool clicked = button == mbLeft && controlState_.Contains(csClicked);
  if (button == mbLeft) controlState_ -= TControlState{csLButtonDown, csClicked};
  if (clicked) {
    const TRect client = ClientRect();
    const TLifeWatch life = Life();
    if (x >= client.left && x < client.right && y >= client.top && y < client.bottom) Click();
    // A click handler may free the control.
    if (!life.Alive()) return;
  }
  if (stdEvents) MouseUp(button, shift, x, y);
}

void TControl::HandleMouseMessage(TMessage& m) {
  switch (m.Msg) {
    case pf::WM_MOUSEMOVE:
      if (!controlStyle_.Contains(csNoStdEvents))
        MouseMove(MouseShiftState(m.WParam), pf::GET_X_LPARAM(m.LParam), pf::GET_Y_LPARAM(m.LParam));
      break;
    case pf::WM_LBUTTONDOWN: HandleButton(m, mbLeft, true, false); break;
    case pf::WM_LBUTTONDBLCLK: HandleButton(m, mbLeft, true, true); break;
    case pf::WM_LBUTTONUP: HandleButton(m, mbLeft, false, false); break;
    case pf::WM_RBUTTONDOWN: HandleButton(m, mbRight, true, false); break;
    case pf::WM_RBUTTONDBLCLK: HandleButton(m, mbRight, true, true); break;
    case pf::WM_RBUTTONUP: HandleButton(m, mbRight, false, false); break;
    case pf::WM_MBUTTONDOWN: HandleButton(m, mbMiddle, true, false); break;
    case pf::WM_MBUTTONDBLCLK: HandleButton(m, mbMiddle, true, true); break;
    case pf::WM_MBUTTONUP: HandleButton(m, mbMiddle, false, false); break;
    default: break;
  }
}

void TControl::WndProc(TMessage& m) {
  if (m.Msg >= pf::WM_MOUSEFIRST && m.Msg <= pf::WM_MBUTTONDBLCLK) {
    if (!enabled_) return;
    // With dmAutomatic a press is a click until the mouse leaves the drag rectangle.
    if ((m.Msg == pf::WM_LBUTTONDOWN || m.Msg == pf::WM_LBUTTONDBLCLK) && dragMode_ == dmAutomatic &&
        !ComponentState().Contains(csDesigning))
      BeginDrag(false);
    const TLifeWatch life = Life();
    HandleMouseMessage(m);
    // Windowed controls pass the message on to their window's default handling, unless a
    // handler freed the control.
    if (life.Alive()) DefaultHandler(m);
    return;
  }
  switch (m.Msg) {
    case CM_MOUSEENTER:
      if (!mouseInControl_) {
        mouseInControl_ = true;
        if (OnMouseEnter) OnMouseEnter(this);
      }
      return;
    case CM_MOUSELEAVE:
      if (mouseInControl_) {
        mouseInControl_ = false;
        if (OnMouseLeave) OnMouseLeave(this);
      }
      return;
    case CM_HITTEST: m.Result = 1; return;
    case CM_PARENTCOLORCHANGED:
      if (parentColor_ && parent_) SetColorFromParent(parent_->Color());
      return;
    case CM_PARENTFONTCHANGED:
      if (parentFont_ && parent_) {
        fontFromParent_ = true;
        font_->Assign(parent_->Font());
        fontFromParent_ = false;
      }
      return;
    case CM_COLORCHANGED:
    case CM_FONTCHANGED:
    case CM_TEXTCHANGED:
    case CM_ENABLEDCHANGED: Changed(); return;
    case CM_SYSCOLORCHANGE:
    case CM_THEMECHANGED: Invalidate(); return;
    case CM_VISIBLECHANGED: return;
    case CM_ACCESSIBLEACTION: DoAccessibleAction(); return;
    case pf::WM_CONTEXTMENU: ContextMenu(m); return;
    default: DefaultHandler(m);
  }
}

void TControl::DefaultHandler(TMessage&) {}

void TControl::GetAccessibleInfo(TAccessibleInfo& info) const {
  info.Name = WithoutAccelerator(Caption());
  info.Description = Hint();
}

bool TControl::DoAccessibleAction() {
  TAccessibleInfo info;
  GetAccessibleInfo(info);
  if (info.Action.empty() || !Enabled()) return false;
  Click();
  return true;
}

}  // namespace kestrel
