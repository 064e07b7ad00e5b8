#include "framework/WinControl.h"

#include <algorithm>

#include "framework/Application.h"
#include "framework/DragTracker.h"
#include "framework/Exceptions.h"
#include "framework/Form.h"
#include "framework/PropInfo.h"
#include "framework/TypeInfo.h"
#include "framework/internal/PaintBuffer.h"
#include "platform/gdi/Gdi.h"
#include "platform/window/WindowApi.h"

namespace kestrel {

namespace pf = platform;

KESTREL_IMPLEMENT_PUBLISHED_CLASS(TWinControl, TControl)

void TWinControl::PublishProperties(TClassBuilder<TWinControl>& b) {
  b.Property(u"DoubleBuffered", &TWinControl::DoubleBuffered, &TWinControl::SetDoubleBuffered).Default(false);
  b.Property(u"TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder).Default(-1).TypeName(u"TTabOrder");
  b.Property(u"TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).Default(false);
  b.Event(
      u"OnEnter", [](const TWinControl& c) { return static_cast<bool>(c.OnEnter); }, u"TNotifyEvent");
  b.Event(
      u"OnExit", [](const TWinControl& c) { return static_cast<bool>(c.OnExit); }, u"TNotifyEvent");
  b.Event(
      u"OnKeyDown", [](const TWinControl& c) { return static_cast<bool>(c.OnKeyDown); }, u"TKeyEvent");
  b.Event(
      u"OnKeyUp", [](const TWinControl& c) { return static_cast<bool>(c.OnKeyUp); }, u"TKeyEvent");
  b.Event(
      u"OnKeyPress", [](const TWinControl& c) { return static_cast<bool>(c.OnKeyPress); }, u"TKeyPressEvent");
}

// The procedure of every control window: finds the control in the window's extra data (put
// there during WM_NCCREATE) and sends the message down the control's WindowProc chain.
pf::LRESULT ControlWindowProc(pf::HWND hwnd, pf::UINT msg, pf::WPARAM wParam, pf::LPARAM lParam) {
  auto* control = reinterpret_cast<TWinControl*>(pf::GetWindowLongPtrW(hwnd, 0));
  if (!control && msg == pf::WM_NCCREATE) {
    const auto* cs = reinterpret_cast<const pf::CREATESTRUCTW*>(lParam);
    control = static_cast<TWinControl*>(cs->lpCreateParams);
    if (control) {
      pf::SetWindowLongPtrW(hwnd, 0, reinterpret_cast<pf::LONG_PTR>(control));
      control->handle_ = hwnd;
    }
  }
  if (!control || control->handle_ != hwnd) return pf::DefWindowProcW(hwnd, msg, wParam, lParam);
  pf::LRESULT result = 0;
  if (control->ComponentState().Contains(csDestroying)) {
    // Half-destroyed controls (and their hooks) are not called any more.
    result = pf::DefWindowProcW(hwnd, msg, wParam, lParam);
  } else {
    TMessage m{msg, wParam, lParam, 0};
    try {
      // A running drag sees the mouse and the keys before the controls do.
      if (TDragTracker::Instance().FilterMessage(hwnd, m)) return 0;
      if (control->WindowProc) control->WindowProc(m);
      else control->WndProc(m);
    } catch (...) {
      // An event handler failed: report it and go on with the next message, as the loop
      // that dispatched this one cannot know what to do with it.
      if (ApplicationExists()) Application()->HandleException(control);
    }
    result = m.Result;
  }
  if (msg == pf::WM_NCDESTROY) {
    pf::SetWindowLongPtrW(hwnd, 0, 0);
    control->handle_ = nullptr;
  }
  return result;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner), brush_(std::make_unique<TBrush>()) {
  brush_->SetColor(Color());
}

TWinControl::~TWinControl() {
  Destroying();
  // A drag of (or over) this control ends while its window still exists.
  TDragTracker::Instance().ControlDestroyed(this);
  // Leave the parent while this is still a whole TWinControl (its tab list holds that type).
  if (Parent()) Parent()->RemoveControl(this);
  DestroyHandle();
  while (!controls_.empty()) {
    TControl* child = controls_.back();
    RemoveControl(child);
    delete child;
  }
}

TWinControl* TWinControl::FindControl(pf::HWND hwnd) {
  if (!hwnd || !pf::IsWindow(hwnd)) return nullptr;
  // Only windows of our classes carry a control (other classes keep other things in their extra
  // data); the link must go both ways.
  if (pf::GetWindowLongPtrW(hwnd, pf::GWLP_WNDPROC) != reinterpret_cast<pf::LONG_PTR>(&ControlWindowProc))
    return nullptr;
  auto* control = reinterpret_cast<TWinControl*>(pf::GetWindowLongPtrW(hwnd, 0));
  return control && control->handle_ == hwnd ? control : nullptr;
}

// ---- the window --------------------------------------------------------------------------

void TWinControl::CreateParams(TCreateParams& p) {
  p.Caption = Text();
  p.Style = pf::WS_CHILD | pf::WS_CLIPCHILDREN | pf::WS_CLIPSIBLINGS;
  if (Visible()) p.Style |= pf::WS_VISIBLE;
  if (!Enabled()) p.Style |= pf::WS_DISABLED;
  if (tabStop_) p.Style |= pf::WS_TABSTOP;
  p.X = Left();
  p.Y = Top();
  p.Width = Width();
  p.Height = Height();
  p.WndParent = Parent() ? Parent()->Handle() : nullptr;
  p.WinClassName = ClassName();
  p.ClassStyle = pf::CS_DBLCLKS;
}

void TWinControl::CreateWnd() {
  TCreateParams p;
  CreateParams(p);
  pf::WNDCLASSEXW existing;
  if (!pf::GetClassInfoExW(nullptr, p.WinClassName.c_str(), &existing)) {
    pf::WNDCLASSEXW wc;
    wc.style = p.ClassStyle;
    wc.lpfnWndProc = ControlWindowProc;
    wc.cbWndExtra = sizeof(void*);
    wc.hbrBackground = p.Background;
    wc.hCursor = pf::LoadCursorW(nullptr, pf::IDC_ARROW);
    wc.lpszClassName = p.WinClassName.c_str();
    pf::RegisterClassExW(&wc);
  }
  pf::HWND hwnd = pf::CreateWindowExW(p.ExStyle, p.WinClassName.c_str(), p.Caption.c_str(), p.Style, p.X, p.Y, p.Width,
                                      p.Height, p.WndParent, nullptr, nullptr, this);
  if (!hwnd) throw EOutOfResources(u"Error creating window for %s", {ClassName()});
  handle_ = hwnd;
}

void TWinControl::CreateHandle() {
  if (handle_) return;
  CreateWnd();
  // New child windows join the window system's z-order at the bottom; the list decides.
  if (Parent()) Parent()->UpdateZOrder(this);
  ReadWindowBounds();
  for (TControl* c : controls_)
    if (auto* win = dynamic_cast<TWinControl*>(c)) win->CreateHandle();
  Realign();
}

pf::HWND TWinControl::Handle() {
  if (!handle_) {
    if (Parent()) Parent()->HandleNeeded();
    if (!handle_) CreateHandle();
  }
  return handle_;
}

void TWinControl::DestroyWnd() {
  if (handle_) pf::DestroyWindow(handle_);
  handle_ = nullptr;
}

void TWinControl::DestroyHandle() {
  if (!handle_) return;
  SetControlState(ControlState() + TControlState{csDestroyingHandle});
  captureControl_ = nullptr;
  mouseControl_ = nullptr;
  DestroyWnd();
  SetControlState(ControlState() - TControlState{csDestroyingHandle});
}

void TWinControl::RecreateWnd() {
  if (!handle_ || recreating_) return;
  recreating_ = true;
  const bool hadFocus = Focused();
  DestroyHandle();
  HandleNeeded();
  recreating_ = false;
  if (hadFocus && CanFocus()) pf::SetFocus(handle_);
}

void TWinControl::ReadWindowBounds() {
  if (!handle_) return;
  pf::RECT r{};
  pf::GetWindowRect(handle_, &r);
  pf::POINT pts[2] = {{r.left, r.top}, {r.right, r.bottom}};
  if (pf::HWND parent = pf::GetParent(handle_); parent && (pf::GetWindowLongW(handle_, pf::GWL_STYLE) & pf::WS_CHILD))
    pf::MapWindowPoints(nullptr, parent, pts, 2);
  UpdateBoundsFromWindow(pts[0].x, pts[0].y, pts[1].x - pts[0].x, pts[1].y - pts[0].y);
}

void TWinControl::SetParent(TWinControl* value) {
  if (value == Parent()) return;
  if (handle_) DestroyHandle();
  TControl::SetParent(value);
}

void TWinControl::ParentChanged() {
  if (Parent() && Parent()->HandleAllocated() && !handle_) CreateHandle();
}

// ---- geometry ----------------------------------------------------------------------------

void TWinControl::SetBounds(int left, int top, int width, int height) {
  const int oldWidth = Width(), oldHeight = Height();
  TControl::SetBounds(left, top, width, height);
  if (handle_)
    pf::SetWindowPos(handle_, nullptr, Left(), Top(), Width(), Height(), pf::SWP_NOZORDER | pf::SWP_NOACTIVATE);
  if (Width() != oldWidth || Height() != oldHeight) Realign();
}

TRect TWinControl::ClientRect() const {
  if (handle_) {
    pf::RECT r{};
    pf::GetClientRect(handle_, &r);
    return r;
  }
  return TControl::ClientRect();
}

TPoint TWinControl::ClientOrigin() const {
  if (handle_) {
    pf::POINT p{0, 0};
    pf::ClientToScreen(handle_, &p);
    return p;
  }
  return TControl::ClientOrigin();
}

void TWinControl::AdjustClientRect(TRect&) const {}

void TWinControl::EnableAlign() {
  if (alignLevel_ > 0) --alignLevel_;
  if (alignLevel_ == 0 && ControlState().Contains(csAlignmentNeeded)) Realign();
}

void TWinControl::Realign() {
  if (alignLevel_ > 0 || ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying)) {
    SetControlState(ControlState() + TControlState{csAlignmentNeeded});
    return;
  }
  ++alignLevel_;
  TRect r = ClientRect();
  AlignControls(nullptr, r);
  AnchorChildren();
  --alignLevel_;
  SetControlState(ControlState() - TControlState{csAlignmentNeeded});
}

void TWinControl::AlignControls(TControl*, TRect& rect) {
  AdjustClientRect(rect);
  for (TAlign align : {alTop, alBottom, alLeft, alRight, alClient}) {
    std::vector<TControl*> list;
    for (TControl* c : controls_)
      if (c->Align() == align && c->Visible()) list.push_back(c);
    // Earlier placed controls stay nearer the edge they are aligned to.
    std::stable_sort(list.begin(), list.end(), [align](TControl* a, TControl* b) {
      switch (align) {
        case alTop: return a->Top() < b->Top();
        case alBottom: return a->Top() + a->Height() > b->Top() + b->Height();
        case alLeft: return a->Left() < b->Left();
        case alRight: return a->Left() + a->Width() > b->Left() + b->Width();
        default: return false;
      }
    });
    for (TControl* c : list) {
      const int w = rect.right - rect.left, h = rect.bottom - rect.top;
      c->anchoring_ = true;
      switch (align) {
        case alTop:
          c->SetBounds(rect.left, rect.top, w, c->Height());
          rect.top += c->Height();
          break;
        case alBottom:
          c->SetBounds(rect.left, rect.bottom - c->Height(), w, c->Height());
          rect.bottom -= c->Height();
          break;
        case alLeft:
          c->SetBounds(rect.left, rect.top, c->Width(), h);
          rect.left += c->Width();
          break;
        case alRight:
          c->SetBounds(rect.right - c->Width(), rect.top, c->Width(), h);
          rect.right -= c->Width();
          break;
        default: c->SetBounds(rect.left, rect.top, w, h); break;
      }
      c->anchoring_ = false;
    }
  }
}

void TWinControl::AnchorChildren() {
  const TRect client = ClientRect();
  for (TControl* c : controls_) {
    if (c->Align() != alNone || c->Anchors() == TAnchors{akLeft, akTop}) continue;
    const TRect r = c->AnchoredBounds(client.right - client.left, client.bottom - client.top);
    c->anchoring_ = true;
    c->SetBounds(r.left, r.top, r.right - r.left, r.bottom - r.top);
    c->anchoring_ = false;
  }
}

void TWinControl::Loaded() {
  TControl::Loaded();
  for (TControl* c : controls_) c->UpdateAnchorRules();
  Realign();
}

// ---- children ----------------------------------------------------------------------------

TControl* TWinControl::Controls(int index) const {
  if (index < 0 || index >= ControlCount()) return nullptr;
  return controls_[static_cast<size_t>(index)];
}

bool TWinControl::ContainsControl(const TControl* control) const {
  for (const TControl* c = control; c; c = c->Parent())
    if (c == this) return true;
  return false;
}

void TWinControl::GetChildren(const TGetChildProc& proc, TComponent* root) const {
  // A form (the root) also writes the components it owns that have no parent, such as timers.
  if (root == this) TControl::GetChildren(proc, root);
  for (TControl* c : controls_)
    if (c->Owner() == root) proc(c);
}

void TWinControl::InsertControl(TControl* control) {
  if (!control || control->Parent() == this) return;
  if (auto* win = dynamic_cast<TWinControl*>(control); win && win->ContainsControl(this))
    throw EInvalidOperation(u"A control cannot have itself as its parent");
  control->parent_ = this;
  controls_.push_back(control);
  if (auto* win = dynamic_cast<TWinControl*>(control)) tabList_.push_back(win);
  control->Perform(CM_PARENTCOLORCHANGED);
  control->Perform(CM_PARENTFONTCHANGED);
  control->ParentChanged();
  control->UpdateAnchorRules();
  if (control->Align() != alNone) Realign();
  control->Invalidate();
  Perform(CM_CONTROLCHANGE, reinterpret_cast<pf::WPARAM>(control), 1);
  NotifyAccessible(this, TAccessibleChange::Children);
}

void TWinControl::RemoveControl(TControl* control) {
  auto it = std::find(controls_.begin(), controls_.end(), control);
  if (it == controls_.end()) return;
  Perform(CM_CONTROLCHANGE, reinterpret_cast<pf::WPARAM>(control), 0);
  if (captureControl_ == control) {
    captureControl_ = nullptr;
    if (handle_ && pf::GetCapture() == handle_) pf::ReleaseCapture();
  }
  if (mouseControl_ == control) mouseControl_ = nullptr;
  control->Invalidate();
  if (auto* win = dynamic_cast<TWinControl*>(control)) {
    win->DestroyHandle();
    std::erase(tabList_, win);
  }
  // The notifications above run handlers that may already have taken the control out (or
  // moved it to another parent): then it is no longer ours to detach.
  it = std::find(controls_.begin(), controls_.end(), control);
  if (it == controls_.end()) return;
  controls_.erase(it);
  control->parent_ = nullptr;
  if (control->Align() != alNone) Realign();
  NotifyAccessible(this, TAccessibleChange::Children);
}

void TWinControl::UpdateZOrder(TControl* control) {
  auto* win = dynamic_cast<TWinControl*>(control);
  if (win && win->handle_) {
    // Right below the next windowed sibling that lies above it, or on top of all.
    pf::HWND insertAfter = pf::HWND_TOP;
    auto it = std::find(controls_.begin(), controls_.end(), control);
    for (++it; it < controls_.end(); ++it) {
      auto* above = dynamic_cast<TWinControl*>(*it);
      if (above && above->handle_) {
        insertAfter = above->handle_;
        break;
      }
    }
    pf::SetWindowPos(win->handle_, insertAfter, 0, 0, 0, 0, pf::SWP_NOMOVE | pf::SWP_NOSIZE | pf::SWP_NOACTIVATE);
  }
  control->Invalidate();
}

void TWinControl::Broadcast(TMessage& message) {
  const auto copy = controls_;
  for (TControl* c : copy) {
    // A handler may free a later child (a markup label re-made its embedded controls).
    if (std::find(controls_.begin(), controls_.end(), c) == controls_.end()) continue;
    c->WindowProc ? c->WindowProc(message) : c->WndProc(message);
    if (message.Result != 0) return;
  }
}

void TWinControl::NotifyShowingChanged() {
  const auto copy = controls_;
  for (TControl* c : copy) {
    if (std::find(controls_.begin(), controls_.end(), c) == controls_.end()) continue;
    c->Perform(CM_SHOWINGCHANGED);
    if (auto* w = dynamic_cast<TWinControl*>(c)) w->NotifyShowingChanged();
  }
}

void TWinControl::NotifyControls(pf::UINT msg) {
  TMessage m{msg, 0, 0, 0};
  Broadcast(m);
}

TControl* TWinControl::ControlAtPos(TPoint p, bool allowDisabled, bool allowWinControls) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl* c = *it;
    if (!allowWinControls && dynamic_cast<TWinControl*>(c)) continue;
    if (!c->Visible() || (!allowDisabled && !c->Enabled())) continue;
    const TRect r = c->BoundsRect();
    if (p.x < r.left || p.x >= r.right || p.y < r.top || p.y >= r.bottom) continue;
    const pf::LPARAM local = pf::MAKELPARAM(static_cast<pf::WORD>(p.x - r.left), static_cast<pf::WORD>(p.y - r.top));
    if (c->Perform(CM_HITTEST, 0, local) != 0) return c;
  }
  return nullptr;
}

// ---- focus -------------------------------------------------------------------------------

int TWinControl::TabOrder() const {
  if (!Parent()) return -1;
  const auto& list = Parent()->tabList_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int value) {
  if (!Parent()) return;
  auto& list = Parent()->tabList_;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  list.erase(it);
  value = std::clamp(value, 0, static_cast<int>(list.size()));
  list.insert(list.begin() + value, this);
}

void TWinControl::SetTabStop(bool value) {
  if (value == tabStop_) return;
  tabStop_ = value;
  if (handle_) {
    pf::LONG style = pf::GetWindowLongW(handle_, pf::GWL_STYLE);
    style = value ? (style | static_cast<pf::LONG>(pf::WS_TABSTOP)) : (style & ~static_cast<pf::LONG>(pf::WS_TABSTOP));
    pf::SetWindowLongW(handle_, pf::GWL_STYLE, style);
  }
}

bool TWinControl::CanFocus() const {
  for (const TControl* c = this; c; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

bool TWinControl::Focused() const { return handle_ && pf::GetFocus() == handle_; }

void TWinControl::SetFocus() {
  if (!CanFocus()) throw EInvalidOperation(u"Cannot focus a disabled or invisible window");
  pf::SetFocus(Handle());
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const {
  for (TWinControl* c : tabList_) {
    list.push_back(c);
    c->GetTabOrderList(list);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward, bool checkTabStop,
                                          bool checkParent) const {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  if (list.empty()) return nullptr;
  const int count = static_cast<int>(list.size());
  int start = static_cast<int>(std::find(list.begin(), list.end(), current) - list.begin());
  if (start == count) start = goForward ? count - 1 : 0;
  for (int step = 1; step <= count; ++step) {
    const int i = ((goForward ? start + step : start - step) % count + count) % count;
    TWinControl* c = list[static_cast<size_t>(i)];
    if (c == current) continue;
    if (checkTabStop && !c->tabStop_) continue;
    if (checkParent && c->Parent() != this) continue;
    if (c->CanFocus()) return c;
  }
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop) {
  if (TWinControl* next = FindNextControl(current, goForward, checkTabStop, false)) next->SetFocus();
}

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

// ---- painting ----------------------------------------------------------------------------

bool TWinControl::Showing() const {
  if (!Visible()) return false;
  if (Parent()) return Parent()->Showing();
  return handle_ && pf::IsWindowVisible(handle_);
}

void TWinControl::Invalidate() {
  if (handle_) pf::InvalidateRect(handle_, nullptr, !ControlStyle().Contains(csOpaque));
}

void TWinControl::Update() {
  if (handle_) pf::UpdateWindow(handle_);
}

void TWinControl::EraseBackground(pf::HDC dc) {
  if (Color() == clNone) return;
  const TRect r = ClientRect();
  pf::FillRect(dc, &r, brush_->Handle());
}

void TWinControl::PaintWindow(pf::HDC) {}

void TWinControl::PaintControls(pf::HDC dc, TControl* first) {
  auto it = first ? std::find(controls_.begin(), controls_.end(), first) : controls_.begin();
  pf::RECT clip{};
  pf::GetClipBox(dc, &clip);
  const auto copy = std::vector<TControl*>(it, controls_.end());
  for (TControl* c : copy) {
    if (dynamic_cast<TWinControl*>(c) || !c->Visible()) continue;
    const TRect r = c->BoundsRect();
    pf::RECT common{};
    if (!pf::IntersectRect(&common, &r, &clip)) continue;
    const int saved = pf::SaveDC(dc);
    pf::OffsetViewportOrgEx(dc, r.left, r.top, nullptr);
    pf::IntersectClipRect(dc, 0, 0, r.right - r.left, r.bottom - r.top);
    c->Perform(pf::WM_PAINT, reinterpret_cast<pf::WPARAM>(dc), 0);
    pf::RestoreDC(dc, saved);
  }
}

void TWinControl::PrintClient(TMessage& m) {
  // Someone (a see-through child, say) wants this control's picture in a DC of its own.
  const auto dc = m.WParam;
  if (!dc) return;
  if (m.LParam & pf::PRF_ERASEBKGND) Perform(pf::WM_ERASEBKGND, dc, static_cast<pf::LPARAM>(dc));
  if (m.LParam & pf::PRF_CLIENT) Perform(pf::WM_PAINT, dc, 0);
}

void TWinControl::PaintHandler(TMessage& m) {
  auto dc = reinterpret_cast<pf::HDC>(m.WParam);
  if (dc) {
    PaintWindow(dc);
    PaintControls(dc, nullptr);
    return;
  }
  pf::PAINTSTRUCT ps{};
  dc = pf::BeginPaint(handle_, &ps);
  if (!dc) return;
  const TRect client = ClientRect();
  if (doubleBuffered_ && client.right > 0 && client.bottom > 0) {
    // Everything goes to an off-screen copy first, then to the window in one copy. The copy
    // covers only the area to paint: its corner shows the client point (left, top), and the
    // brush origin stays at the client's corner, so patterns line up as on the window.
    const pf::RECT& area = ps.rcPaint;
    TPaintBuffer buffer(dc, area.right - area.left, area.bottom - area.top);
    if (pf::HDC memDc = buffer.Dc()) {
      pf::SetViewportOrgEx(memDc, -area.left, -area.top, nullptr);
      pf::SetBrushOrgEx(memDc, -area.left, -area.top, nullptr);
      pf::IntersectClipRect(memDc, area.left, area.top, area.right, area.bottom);
      EraseBackground(memDc);
      PaintWindow(memDc);
      PaintControls(memDc, nullptr);
      pf::BitBlt(dc, area.left, area.top, area.right - area.left, area.bottom - area.top, memDc, area.left, area.top,
                 pf::SRCCOPY);
    }
  } else {
    PaintWindow(dc);
    PaintControls(dc, nullptr);
  }
  pf::EndPaint(handle_, &ps);
}

// ---- messages ----------------------------------------------------------------------------

bool TWinControl::HandleKeyMessage(TMessage& m) {
  auto key = static_cast<pf::WORD>(m.WParam);
  if (m.Msg == pf::WM_KEYDOWN || m.Msg == pf::WM_SYSKEYDOWN) {
    const pf::LRESULT code = DialogCode();
    const bool dialogKey = (key == pf::VK_TAB && !(code & (pf::DLGC_WANTTAB | pf::DLGC_WANTALLKEYS))) ||
                           ((key == pf::VK_RETURN || key == pf::VK_ESCAPE) && !(code & pf::DLGC_WANTALLKEYS));
    TCustomForm* form = GetParentForm();
    // With KeyPreview the form sees keys before the focused control.
    TWinControl* preview = form && form != this && form->KeyPreview() ? form : nullptr;
    if (preview) preview->KeyDown(key, KeyboardShiftState());
    if (key == 0) return true;
    if (dialogKey && form && form->Perform(CM_DIALOGKEY, key, m.LParam) != 0) return true;
    KeyDown(key, KeyboardShiftState());
    return key == 0;
  }
  TCustomForm* form = GetParentForm();
  TWinControl* preview = form && form != this && form->KeyPreview() ? form : nullptr;
  if (m.Msg == pf::WM_KEYUP || m.Msg == pf::WM_SYSKEYUP) {
    if (preview) preview->KeyUp(key, KeyboardShiftState());
    if (key != 0) KeyUp(key, KeyboardShiftState());
    return key == 0;
  }
  if (m.Msg == pf::WM_CHAR) {
    auto ch = static_cast<char16_t>(m.WParam);
    if (preview) preview->KeyPress(ch);
    if (ch != 0) KeyPress(ch);
    return ch == 0;
  }
  return false;
}

void TWinControl::KeyDown(pf::WORD& key, TShiftState shift) {
  if (OnKeyDown) OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(pf::WORD& key, TShiftState shift) {
  if (OnKeyUp) OnKeyUp(this, key, shift);
}

void TWinControl::KeyPress(char16_t& key) {
  if (OnKeyPress) OnKeyPress(this, key);
}

void TWinControl::RouteMouseToControls(TMessage& m) {
  const TPoint p{pf::GET_X_LPARAM(m.LParam), pf::GET_Y_LPARAM(m.LParam)};
  TControl* target = captureControl_ ? captureControl_ : ControlAtPos(p, false);
  if (m.Msg == pf::WM_MOUSEMOVE) {
    TControl* hover =
        captureControl_ ? (ControlAtPos(p, false) == captureControl_ ? captureControl_ : nullptr) : target;
    if (hover != mouseControl_) {
      if (mouseControl_) mouseControl_->Perform(CM_MOUSELEAVE);
      mouseControl_ = hover;
      if (hover) hover->Perform(CM_MOUSEENTER);
    }
  }
  if (!target) return;
  const bool down = m.Msg == pf::WM_LBUTTONDOWN || m.Msg == pf::WM_RBUTTONDOWN || m.Msg == pf::WM_MBUTTONDOWN ||
                    m.Msg == pf::WM_LBUTTONDBLCLK || m.Msg == pf::WM_RBUTTONDBLCLK || m.Msg == pf::WM_MBUTTONDBLCLK;
  const bool up = m.Msg == pf::WM_LBUTTONUP || m.Msg == pf::WM_RBUTTONUP || m.Msg == pf::WM_MBUTTONUP;
  if (down && target->ControlStyle().Contains(csCaptureMouse)) {
    captureControl_ = target;
    pf::SetCapture(handle_);
  }
  const pf::LPARAM local =
      pf::MAKELPARAM(static_cast<pf::WORD>(p.x - target->Left()), static_cast<pf::WORD>(p.y - target->Top()));
  if (up && !(m.WParam & (pf::MK_LBUTTON | pf::MK_RBUTTON | pf::MK_MBUTTON)) && captureControl_) {
    captureControl_ = nullptr;
    if (pf::GetCapture() == handle_) pf::ReleaseCapture();
  }
  // The target may free itself (or this control) in its handlers; neither is touched afterwards.
  const pf::HWND window = handle_;
  const pf::LRESULT result = target->Perform(m.Msg, m.WParam, local);
  // A right click the control left unhandled asks the window for a context menu, which comes
  // back to the control at that point first (WM_CONTEXTMENU below).
  if (result == 0 && m.Msg == pf::WM_RBUTTONUP && pf::IsWindow(window))
    pf::DefWindowProcW(window, m.Msg, m.WParam, m.LParam);
  m.Result = 0;
  m.Msg = pf::WM_NULL;
}

bool TWinControl::RouteContextMenuToControl(TMessage& m) {
  // Only a request about this window itself: one passed up from a child window is not about
  // the windowless controls that window covers.
  if (m.Result != 0 || m.WParam != reinterpret_cast<pf::WPARAM>(handle_)) return false;
  const TPoint screen = Point(pf::GET_X_LPARAM(m.LParam), pf::GET_Y_LPARAM(m.LParam));
  if (screen.x == -1 && screen.y == -1) return false;
  TControl* control = ControlAtPos(ScreenToClient(screen), false);
  if (!control) return false;
  m.Result = control->Perform(pf::WM_CONTEXTMENU, m.WParam, m.LParam);
  return m.Result != 0;
}

bool TWinControl::ContextMenuKey(const TMessage& m) {
  // The menu key on its release, Shift+F10 on its press: a context menu from the keyboard.
  const bool menuKey = m.Msg == pf::WM_KEYUP && m.WParam == pf::VK_APPS;
  const bool shiftF10 = (m.Msg == pf::WM_SYSKEYDOWN || m.Msg == pf::WM_KEYDOWN) && m.WParam == pf::VK_F10 &&
                        KeyboardShiftState() == TShiftState{ssShift};
  if (!handle_ || !(menuKey || shiftF10)) return false;
  pf::SendMessageW(handle_, pf::WM_CONTEXTMENU, reinterpret_cast<pf::WPARAM>(handle_), pf::MAKELPARAM(0xFFFF, 0xFFFF));
  return true;
}

void TWinControl::WndProc(TMessage& m) {
  switch (m.Msg) {
    case pf::WM_PAINT: PaintHandler(m); return;
    case pf::WM_PRINTCLIENT: PrintClient(m); return;
    case pf::WM_ERASEBKGND:
      if (!doubleBuffered_) EraseBackground(reinterpret_cast<pf::HDC>(m.WParam));
      m.Result = 1;
      return;
    case pf::WM_SIZE:
    case pf::WM_MOVE: {
      ReadWindowBounds();
      if (m.Msg == pf::WM_SIZE) Realign();
      DefaultHandler(m);
      return;
    }
    case pf::WM_SETFOCUS:
      if (TCustomForm* form = GetParentForm(); form && form != this) form->SetActiveControlOnFocus(this);
      DefaultHandler(m);
      DoEnter();
      return;
    case pf::WM_KILLFOCUS:
      DefaultHandler(m);
      DoExit();
      return;
    case pf::WM_KEYDOWN:
    case pf::WM_SYSKEYDOWN:
    case pf::WM_KEYUP:
    case pf::WM_SYSKEYUP:
    case pf::WM_CHAR:
      if (!HandleKeyMessage(m) && !ContextMenuKey(m)) DefaultHandler(m);
      return;
    case pf::WM_SYSCHAR:
      // Alt with a character: the form looks for a control whose accelerator it is.
      if (TCustomForm* form = GetParentForm(); form && form->Perform(CM_DIALOGCHAR, m.WParam) != 0) return;
      DefaultHandler(m);
      return;
    case pf::WM_CONTEXTMENU:
      if (RouteContextMenuToControl(m)) return;
      break;
    case pf::WM_GETDLGCODE: m.Result = DialogCode(); return;
    case pf::WM_SETCURSOR:
      if (SetClientCursor(m)) m.Result = 1;
      else DefaultHandler(m);
      return;
    case pf::WM_MOUSELEAVE: MouseLeftWindow(); return;
    case CM_COLORCHANGED:
      brush_->SetColor(Color());
      NotifyControls(CM_PARENTCOLORCHANGED);
      Changed();
      return;
    case CM_FONTCHANGED:
      NotifyControls(CM_PARENTFONTCHANGED);
      Changed();
      return;
    case CM_TEXTCHANGED:
      if (handle_) pf::SetWindowTextW(handle_, Text().c_str());
      Changed();
      return;
    case CM_ENABLEDCHANGED:
      if (handle_) pf::EnableWindow(handle_, Enabled());
      Changed();
      return;
    case CM_SYSCOLORCHANGE:
    case CM_THEMECHANGED:
      // Brushes and pens of system colours remake their handles: a repaint shows the new ones.
      NotifyControls(m.Msg);
      Invalidate();
      return;
    case CM_VISIBLECHANGED:
      if (handle_) pf::ShowWindow(handle_, Visible() ? pf::SW_SHOWNA : pf::SW_HIDE);
      else if (Visible() && Parent() && Parent()->HandleAllocated()) CreateHandle();
      NotifyShowingChanged();
      return;
    default: break;
  }
  if (m.Msg >= pf::WM_MOUSEFIRST && m.Msg <= pf::WM_MBUTTONDBLCLK && HandleMouseMessage(m)) return;
  TControl::WndProc(m);
}

bool TWinControl::HandleMouseMessage(TMessage& m) {
  TrackMouseLeave(m);
  RouteMouseToControls(m);
  if (m.Msg == pf::WM_NULL) return true;
  FocusAndCaptureOnButton(m);
  return false;
}

void TWinControl::TrackMouseLeave(const TMessage& m) {
  if (!handle_ || m.Msg != pf::WM_MOUSEMOVE || MouseInControl()) return;
  pf::TRACKMOUSEEVENT track;
  track.dwFlags = pf::TME_LEAVE;
  track.hwndTrack = handle_;
  pf::TrackMouseEvent(&track);
  Perform(CM_MOUSEENTER);
}

void TWinControl::FocusAndCaptureOnButton(const TMessage& m) {
  if (m.Msg == pf::WM_LBUTTONDOWN && tabStop_ && CanFocus() && !Focused()) SetFocus();
  if (m.Msg == pf::WM_LBUTTONDOWN && ControlStyle().Contains(csCaptureMouse)) pf::SetCapture(handle_);
  if (m.Msg == pf::WM_LBUTTONUP && pf::GetCapture() == handle_) pf::ReleaseCapture();
}

void TWinControl::MouseLeftWindow() {
  if (mouseControl_) {
    TControl* c = mouseControl_;
    mouseControl_ = nullptr;
    c->Perform(CM_MOUSELEAVE);
  }
  Perform(CM_MOUSELEAVE);
}

bool TWinControl::SetClientCursor(const TMessage& m) {
  if (pf::LOWORD(static_cast<pf::DWORD_PTR>(m.LParam)) != pf::HTCLIENT) return false;
  pf::POINT p{};
  pf::GetCursorPos(&p);
  pf::ScreenToClient(handle_, &p);
  TControl* c = ControlAtPos(p, true);
  const int cursor = c && c->Cursor() != crDefault ? c->Cursor() : Cursor();
  const int id = CursorResource(cursor);
  if (!id) return false;
  pf::SetCursor(pf::LoadCursorW(nullptr, pf::MAKEINTRESOURCEW(static_cast<pf::WORD>(id))));
  return true;
}

void TWinControl::DefaultHandler(TMessage& m) {
  if (handle_ && m.Msg < CM_BASE) m.Result = pf::DefWindowProcW(handle_, m.Msg, m.WParam, m.LParam);
}

void TWinControl::Changed() { Invalidate(); }

void TWinControl::GetAccessibleInfo(TAccessibleInfo& info) const {
  TControl::GetAccessibleInfo(info);
  info.Focusable = tabStop_ && Enabled();
}

}  // namespace kestrel
