#include "framework/DragTracker.h"

#include <cstdlib>

#include "framework/DragControlObject.h"
#include "framework/WinControl.h"
#include "platform/core/ProcessWide.h"
#include "platform/gdi/SystemColors.h"
#include "platform/window/WindowApi.h"

namespace kestrel {

namespace pf = platform;

namespace {

constinit pf::ProcessWide<TDragTracker> gTracker;

// The window whose mouse input the drag of `control` follows: its own, or its parent's for a
// windowless control (null while there is none).
pf::HWND WindowOf(const TControl& control) {
  const auto* win = dynamic_cast<const TWinControl*>(&control);
  if (!win) win = control.Parent();
  return win && win->HandleAllocated() ? const_cast<TWinControl*>(win)->Handle() : nullptr;
}

// Asks `target` whether it accepts `object` dragged to screen point `at`.
bool Ask(TControl& target, TDragObject& object, TPoint at, TDragState state) {
  const TPoint p = target.ScreenToClient(at);
  bool accept = false;
  target.DragOver(object.Source(), p.x, p.y, state, accept);
  return accept;
}

bool IsModifierKey(pf::WPARAM key) { return key == pf::VK_CONTROL || key == pf::VK_SHIFT; }

}  // namespace

TDragTracker::TDragTracker() = default;

TDragTracker::~TDragTracker() = default;

TDragTracker& TDragTracker::Instance() { return *gTracker; }

bool TDragTracker::OutsideDragRect(TPoint origin, TPoint p, int threshold) {
  const int cx = threshold >= 0 ? threshold : pf::GetSystemMetrics(pf::SM_CXDRAG);
  const int cy = threshold >= 0 ? threshold : pf::GetSystemMetrics(pf::SM_CYDRAG);
  return std::abs(p.x - origin.x) >= cx || std::abs(p.y - origin.y) >= cy;
}

void TDragTracker::Begin(TControl& source, bool immediate, int threshold) {
  if (Active()) return;  // one drag at a time
  source_ = &source;
  threshold_ = threshold;
  pf::POINT cursor{};
  pf::GetCursorPos(&cursor);
  origin_ = position_ = cursor;
  captureWindow_ = WindowOf(source);
  if (captureWindow_ && pf::GetCapture() != captureWindow_) {
    pf::SetCapture(captureWindow_);
    ownsCapture_ = true;
  }
  if (immediate) Start();
}

void TDragTracker::Start() {
  // What follows is a drag, not a click.
  source_->SetControlState(source_->ControlState() - TControlState{csClicked});
  TDragObject* object = nullptr;
  TControl* source = source_;
  source->DoStartDrag(object);
  if (source_ != source) return;  // the handler ended the drag or freed the source
  if (!object) {
    ownObject_ = std::make_unique<TDragControlObject>(source);
    object = ownObject_.get();
  }
  dragObject_ = object;
  started_ = true;
  savedCursor_ = pf::GetCursor();
  MoveTo(position_);
}

void TDragTracker::MoveTo(TPoint screen) {
  position_ = screen;
  TControl* found = FindTarget(screen);
  if (found != target_) {
    TControl* previous = target_;
    target_ = nullptr;
    accepted_ = false;
    if (previous) AskTarget(previous, dsDragLeave);
    if (!Started()) return;
    target_ = found;
    if (found) AskTarget(found, dsDragEnter);
  } else if (target_) {
    AskTarget(target_, dsDragMove);
  }
  if (Started()) ShowDragCursor();
}

bool TDragTracker::AskTarget(TControl* target, TDragState state) {
  const bool accept = Ask(*target, *dragObject_, position_, state);
  // The handler may have ended the drag, or freed the target (which forgets it).
  if (state != dsDragLeave && Started() && target_ == target) accepted_ = accept;
  return accept;
}

void TDragTracker::ShowDragCursor() {
  const TPoint p = target_ ? target_->ScreenToClient(position_) : position_;
  const int id = CursorResource(dragObject_->GetDragCursor(accepted_, p.x, p.y));
  pf::SetCursor(pf::LoadCursorW(nullptr, id ? pf::MAKEINTRESOURCEW(static_cast<pf::WORD>(id)) : pf::IDC_ARROW));
}

void TDragTracker::End(bool drop) {
  if (!Active()) return;
  if (!started_) {
    Reset();
    return;
  }
  TControl* source = source_;
  TDragObject* object = dragObject_;
  const std::unique_ptr<TDragControlObject> own = std::move(ownObject_);
  TControl* target = drop && accepted_ ? target_ : nullptr;
  TControl* left = target ? nullptr : target_;
  const TPoint at = position_;
  // Forgotten before any handler runs: a handler may begin the next drag.
  Reset();
  const TLifeWatch sourceLife = source->Life();
  if (left) Ask(*left, *object, at, dsDragLeave);
  TPoint p = target ? target->ScreenToClient(at) : (sourceLife.Alive() ? source->ScreenToClient(at) : at);
  if (target) {
    const TLifeWatch targetLife = target->Life();
    target->DragDrop(object->Source(), p.x, p.y);
    if (!targetLife.Alive()) target = nullptr;
  }
  if (!sourceLife.Alive()) return;
  object->Finished(target, p.x, p.y);
  source->DoEndDrag(target, p.x, p.y);
}

void TDragTracker::Reset() {
  const pf::HWND capture = ownsCapture_ ? captureWindow_ : nullptr;
  const bool restoreCursor = started_;
  const pf::HCURSOR cursor = savedCursor_;
  source_ = nullptr;
  dragObject_ = nullptr;
  ownObject_.reset();
  target_ = nullptr;
  accepted_ = false;
  started_ = false;
  captureWindow_ = nullptr;
  ownsCapture_ = false;
  savedCursor_ = nullptr;
  if (restoreCursor) pf::SetCursor(cursor);
  if (capture && pf::GetCapture() == capture) pf::ReleaseCapture();
}

bool TDragTracker::FilterMessage(pf::HWND hwnd, const TMessage& m) {
  if (!Active()) return false;
  if (m.Msg >= pf::WM_KEYFIRST && m.Msg <= pf::WM_KEYLAST) return FilterKey(m);
  if (hwnd != captureWindow_) return false;
  switch (m.Msg) {
    case pf::WM_CAPTURECHANGED:
      if (reinterpret_cast<pf::HWND>(m.LParam) != captureWindow_) {
        ownsCapture_ = false;
        End(false);
      }
      return false;
    case pf::WM_CANCELMODE: End(false); return false;  // the window is disabled, a modal loop starts
    default: break;
  }
  if (m.Msg >= pf::WM_MOUSEFIRST && m.Msg <= pf::WM_MBUTTONDBLCLK) return FilterMouse(hwnd, m);
  return false;
}

bool TDragTracker::FilterMouse(pf::HWND hwnd, const TMessage& m) {
  pf::POINT p{pf::GET_X_LPARAM(m.LParam), pf::GET_Y_LPARAM(m.LParam)};
  pf::ClientToScreen(hwnd, &p);
  switch (m.Msg) {
    case pf::WM_MOUSEMOVE:
      if (!started_) {
        if (!OutsideDragRect(origin_, p, threshold_)) return false;
        position_ = p;
        Start();
        return true;
      }
      MoveTo(p);
      return true;
    case pf::WM_LBUTTONUP:
    case pf::WM_RBUTTONUP:
      if (started_ && (p.x != position_.x || p.y != position_.y)) MoveTo(p);
      End(true);
      // The release still reaches the control, which gives its capture back.
      return false;
    default:
      // Other presses while a drag runs belong to the drag.
      return started_;
  }
}

bool TDragTracker::FilterKey(const TMessage& m) {
  if (!started_) return false;
  if ((m.Msg == pf::WM_KEYDOWN || m.Msg == pf::WM_SYSKEYDOWN) && m.WParam == pf::VK_ESCAPE) {
    End(false);
    return true;
  }
  // Ctrl or Shift may change what the target makes of the drop (a copy or a move).
  const bool keyMessage =
      m.Msg == pf::WM_KEYDOWN || m.Msg == pf::WM_KEYUP || m.Msg == pf::WM_SYSKEYDOWN || m.Msg == pf::WM_SYSKEYUP;
  if (keyMessage && IsModifierKey(m.WParam)) MoveTo(position_);
  return false;
}

void TDragTracker::ControlDestroyed(const TControl* control) {
  if (!Active()) return;
  if (control == source_) {
    // The source cannot hear the end of its drag any more; the target is only told it left.
    TControl* left = target_;
    TDragObject* object = dragObject_;
    const std::unique_ptr<TDragControlObject> own = std::move(ownObject_);
    const TPoint at = position_;
    Reset();
    if (left && object && object != own.get()) Ask(*left, *object, at, dsDragLeave);
    return;
  }
  if (control == target_) {
    target_ = nullptr;
    accepted_ = false;
  }
}

TControl* TDragTracker::FindTarget(TPoint screen) {
  pf::HWND h = pf::WindowFromPoint(screen);
  TWinControl* win = nullptr;
  while (h && !(win = TWinControl::FindControl(h))) h = pf::GetParent(h);
  if (!win) return nullptr;
  TControl* child = win->ControlAtPos(win->ScreenToClient(screen), false);
  TControl* found = child ? child : win;
  return found->Enabled() && !found->ComponentState().Contains(csDestroying) ? found : nullptr;
}

}  // namespace kestrel
