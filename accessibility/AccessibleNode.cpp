#include "accessibility/AccessibleNode.h"

#include <algorithm>
#include <tuple>

#include "framework/Control.h"
#include "framework/WinControl.h"
#include "platform/window/MessageBox.h"
#include "platform/window/WindowApi.h"

namespace kestrel {

namespace pf = platform;

namespace {

bool IsTopLevel(pf::HWND hwnd) { return !(pf::GetWindowLongW(hwnd, pf::GWL_STYLE) & pf::WS_CHILD); }

String WindowText(pf::HWND hwnd) {
  const int length = pf::GetWindowTextLengthW(hwnd);
  String text(static_cast<size_t>(length) + 1, u'\0');
  text.resize(static_cast<size_t>(pf::GetWindowTextW(hwnd, text.data(), length + 1)));
  return text;
}

bool Contains(const TRect& outer, const TRect& inner) {
  return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right &&
         outer.bottom >= inner.bottom;
}

// Whether a visible windowed sibling above `control` (later in its parent's list; windowed
// controls are above every windowless one) hides all of it.
bool CoveredBySibling(const TControl& control) {
  const TWinControl* parent = control.Parent();
  if (!parent) return false;
  const bool windowed = dynamic_cast<const TWinControl*>(&control) != nullptr;
  bool above = false;
  for (int i = 0; i < parent->ControlCount(); ++i) {
    const TControl* other = parent->Controls(i);
    if (other == &control) {
      above = true;
      continue;
    }
    const bool otherWindowed = dynamic_cast<const TWinControl*>(other) != nullptr;
    if (!otherWindowed || !other->Visible() || (windowed && !above)) continue;
    if (Contains(other->BoundsRect(), control.BoundsRect())) return true;
  }
  return false;
}

void DescribeWindow(pf::HWND hwnd, TAccessibleInfo& info) {
  String text;
  info.Name = WithoutAccelerator(WindowText(hwnd));
  if (pf::IsMessageBox(hwnd)) {
    info.Role = TAccessibleRole::Alert;
    info.Name = WindowText(hwnd);
    info.Modal = true;
  } else if (IsTopLevel(hwnd)) {
    info.Role = TAccessibleRole::Frame;
    info.Name = WindowText(hwnd);
  } else if (pf::HWND parent = pf::GetParent(hwnd); parent && pf::IsMessageBox(parent)) {
    info.Role = TAccessibleRole::PushButton;
    info.Focusable = true;
    info.Default = pf::GetFocus() == hwnd;  // Enter presses the focused button
    info.Action = u"click";
  } else {
    info.Role = TAccessibleRole::Panel;
  }
}

}  // namespace

const TControl* LabelOf(const TControl& control) {
  const TWinControl* parent = control.Parent();
  for (int i = 0; parent && i < parent->ControlCount(); ++i) {
    TAccessibleInfo info;
    parent->Controls(i)->GetAccessibleInfo(info);
    if (info.LabelFor == &control) return parent->Controls(i);
  }
  return nullptr;
}

AccessibleNode AccessibleNode::ForWindow(pf::HWND hwnd) {
  if (TWinControl* control = TWinControl::FindControl(hwnd)) return {control, nullptr, false};
  return {nullptr, hwnd, false};
}

std::vector<pf::HWND> AccessibleNode::TopLevelWindows() {
  std::vector<pf::HWND> windows;
  const pf::DWORD thread = pf::GetCurrentThreadId();
  for (pf::HWND h = pf::GetWindow(pf::GetDesktopWindow(), pf::GW_CHILD); h; h = pf::GetWindow(h, pf::GW_HWNDNEXT)) {
    const bool menu = (pf::GetWindowLongW(h, pf::GWL_EXSTYLE) & pf::WS_EX_NOACTIVATE) != 0;
    if (pf::IsWindowVisible(h) && !menu && pf::GetWindowThreadProcessId(h, nullptr) == thread) windows.push_back(h);
  }
  return {windows.rbegin(), windows.rend()};
}

bool AccessibleNode::operator<(const AccessibleNode& o) const {
  return std::tie(control, window, messageText) < std::tie(o.control, o.window, o.messageText);
}

bool AccessibleNode::operator==(const AccessibleNode& o) const {
  return control == o.control && window == o.window && messageText == o.messageText;
}

TAccessibleInfo AccessibleNode::Describe() const {
  TAccessibleInfo info;
  if (control) {
    control->GetAccessibleInfo(info);
    // A label that names this control gives it its name when it has none of its own.
    if (info.Name.empty() && control->Parent()) {
      if (const TControl* label = LabelOf(*control)) {
        TAccessibleInfo labelInfo;
        label->GetAccessibleInfo(labelInfo);
        info.Name = labelInfo.Name;
      }
    }
  } else if (messageText) {
    info.Role = TAccessibleRole::Label;
    pf::IsMessageBox(window, &info.Text);
    info.Name = info.Text;
    info.HasText = true;
  } else if (window) {
    DescribeWindow(window, info);
  }
  return info;
}

std::vector<AccessibleNode> AccessibleNode::Children() const {
  std::vector<AccessibleNode> children;
  if (auto* win = dynamic_cast<TWinControl*>(control)) {
    for (int i = 0; i < win->ControlCount(); ++i) children.push_back({win->Controls(i), nullptr, false});
  } else if (window && !messageText) {
    if (pf::IsMessageBox(window)) children.push_back({nullptr, window, true});
    for (pf::HWND h = pf::GetWindow(window, pf::GW_CHILD); h; h = pf::GetWindow(h, pf::GW_HWNDNEXT))
      children.push_back(ForWindow(h));
  }
  return children;
}

std::optional<AccessibleNode> AccessibleNode::Parent() const {
  if (control) {
    if (control->Parent()) return AccessibleNode{control->Parent(), nullptr, false};
    return std::nullopt;
  }
  if (messageText) return AccessibleNode{nullptr, window, false};
  if (!window || IsTopLevel(window)) return std::nullopt;
  if (pf::HWND parent = pf::GetParent(window)) return ForWindow(parent);
  return std::nullopt;
}

pf::HWND AccessibleNode::Window() const {
  if (!control) return window;
  for (TControl* c = control; c; c = c->Parent())
    if (auto* win = dynamic_cast<TWinControl*>(c); win && win->HandleAllocated()) return win->Handle();
  return nullptr;
}

pf::HWND AccessibleNode::TopWindow() const {
  pf::HWND h = Window();
  return h ? pf::GetAncestor(h, pf::GA_ROOT) : nullptr;
}

pf::RECT AccessibleNode::ScreenRect() const {
  pf::RECT r{};
  if (control) {
    if (!control->Parent()) {
      if (pf::HWND h = Window()) pf::GetWindowRect(h, &r);
      return r;
    }
    const TPoint origin = control->Parent()->ClientToScreen(Point(control->Left(), control->Top()));
    return {origin.x, origin.y, origin.x + control->Width(), origin.y + control->Height()};
  }
  pf::GetWindowRect(window, &r);
  if (messageText) {
    // The text stands above the row of buttons.
    pf::RECT client{};
    pf::GetClientRect(window, &client);
    pf::POINT corner{0, 0};
    pf::ClientToScreen(window, &corner);
    const int buttonRow = 12 + 23 + 6;
    r = {corner.x, corner.y, corner.x + client.right, corner.y + std::max<pf::LONG>(client.bottom - buttonRow, 0)};
  }
  return r;
}

bool AccessibleNode::Enabled() const {
  if (control) return control->Enabled();
  return window && pf::IsWindowEnabled(window);
}

bool AccessibleNode::Visible() const {
  if (control) return control->Visible();
  return window && (pf::GetWindowLongW(window, pf::GWL_STYLE) & pf::WS_VISIBLE);
}

bool AccessibleNode::Showing() const {
  if (!control) return window && pf::IsWindowVisible(window);
  if (!control->Showing()) return false;
  for (const TControl* c = control; c && c->Parent(); c = c->Parent())
    if (CoveredBySibling(*c)) return false;
  return true;
}

bool AccessibleNode::Focused() const {
  if (messageText) return false;
  pf::HWND focus = pf::GetFocus();
  if (!focus) return false;
  if (control) {
    auto* win = dynamic_cast<TWinControl*>(control);
    return win && win->HandleAllocated() && win->Handle() == focus;
  }
  return window == focus;
}

bool AccessibleNode::GrabFocus() const {
  if (auto* win = dynamic_cast<TWinControl*>(control)) {
    if (!win->CanFocus()) return false;
    win->SetFocus();
    return true;
  }
  if (!window || messageText) return false;
  return pf::SetFocus(window) != nullptr || pf::GetFocus() == window;
}

bool AccessibleNode::PostAction() const {
  if (!Enabled()) return false;
  if (control) {
    pf::HWND h = Window();
    auto* win = dynamic_cast<TWinControl*>(control);
    if (!h || !win || win->Handle() != h) return false;  // only windowed controls act for now
    return pf::PostMessageW(h, CM_ACCESSIBLEACTION, 0, 0) != 0;
  }
  pf::HWND dialog = window ? pf::GetParent(window) : nullptr;
  if (!dialog || !pf::IsMessageBox(dialog)) return false;
  return pf::PostMessageW(dialog, pf::WM_COMMAND, static_cast<pf::WPARAM>(pf::GetDlgCtrlID(window)),
                          reinterpret_cast<pf::LPARAM>(window)) != 0;
}

}  // namespace kestrel
