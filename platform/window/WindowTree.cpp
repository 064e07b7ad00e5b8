// Creating and destroying windows, the window tree, and the per-window data calls.

#include <algorithm>
#include <map>

#include "platform/core/ScopeGuard.h"
#include "platform/window/AccessEvents.h"
#include "platform/window/Backend.h"
#include "platform/window/Ime.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/WindowApi.h"
#include "platform/window/internal/WindowClass.h"
#include "platform/window/internal/WindowInternal.h"
#include "platform/window/internal/WindowManager.h"

namespace kestrel::platform {

constexpr DWORD ERROR_TLW_WITH_WSCHILD = 1406;
constexpr DWORD ERROR_CANNOT_FIND_WND_CLASS = 1407;
constexpr DWORD ERROR_INVALID_INDEX = 1413;

namespace detail {

std::shared_ptr<Window> SharedOf(Window* window) {
  if (!window) return nullptr;
  return Wm().Lookup(window->handle);
}

void LinkWindow(Window& parent, const std::shared_ptr<Window>& child, HWND insertAfter) {
  child->parent = &parent;
  auto& list = parent.children;
  auto pos = list.begin();
  if (insertAfter == HWND_BOTTOM) {
    pos = list.end();
  } else if (insertAfter == HWND_TOP || insertAfter == HWND_TOPMOST || insertAfter == HWND_NOTOPMOST) {
    // Topmost windows stay above the others.
    if (!(child->exStyle & WS_EX_TOPMOST))
      while (pos != list.end() && ((*pos)->exStyle & WS_EX_TOPMOST)) ++pos;
  } else {
    auto it = std::find_if(list.begin(), list.end(), [&](auto& w) { return w->handle == insertAfter; });
    pos = it == list.end() ? list.begin() : it + 1;
  }
  list.insert(pos, child);
}

void UnlinkWindow(Window& child) {
  if (!child.parent) return;
  auto& list = child.parent->children;
  list.erase(std::remove_if(list.begin(), list.end(), [&](auto& w) { return w.get() == &child; }), list.end());
  child.parent = nullptr;
}

}  // namespace detail

LRESULT CallWindow(Window& window, UINT msg, WPARAM wParam, LPARAM lParam) {
  WNDPROC proc = window.proc;
  if (!proc || window.destroyed) return 0;
  if (msg != WM_PAINT) return proc(window.handle, msg, wParam, lParam);
  detail::HoldPresents();
  ScopeGuard release([] { detail::ReleasePresents(); });
  return proc(window.handle, msg, wParam, lParam);
}

namespace {

using detail::SharedOf;

LRESULT Send(Window& w, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) { return CallWindow(w, msg, wParam, lParam); }

void NotifyParents(Window& w, WORD event) {
  if (!w.IsChildStyle() || (w.exStyle & WS_EX_NOPARENTNOTIFY)) return;
  auto child = SharedOf(&w);
  for (auto p = SharedOf(w.parent); p && !p->IsRoot(); p = SharedOf(p->parent)) {
    Send(*p, WM_PARENTNOTIFY, MAKEWPARAM(event, static_cast<WORD>(w.id)), reinterpret_cast<LPARAM>(w.handle));
    if (!p->IsChildStyle() || (p->exStyle & WS_EX_NOPARENTNOTIFY)) break;
  }
}

// Applies Windows' implicit style rules for a new window.
void FixCreateStyles(DWORD& style, DWORD& exStyle, bool topLevel) {
  if (topLevel) {
    style |= WS_CLIPSIBLINGS;
    if (!(style & (WS_CHILD | WS_POPUP))) style |= WS_CAPTION;
  }
  if ((exStyle & WS_EX_DLGMODALFRAME) || (style & (WS_DLGFRAME | WS_THICKFRAME))) exStyle |= WS_EX_WINDOWEDGE;
  else exStyle &= ~WS_EX_WINDOWEDGE;
}

void DefaultPlacement(int& x, int& y, int& cx, int& cy, bool topLevel, const RECT& screen) {
  if (!topLevel) {
    if (x == CW_USEDEFAULT) x = y = 0;
    if (cx == CW_USEDEFAULT) cx = cy = 0;
    return;
  }
  int sw = screen.right - screen.left, sh = screen.bottom - screen.top;
  if (x == CW_USEDEFAULT) {
    x = screen.left + sw / 16;
    y = screen.top + sh / 16;
  }
  if (cx == CW_USEDEFAULT) {
    cx = sw * 3 / 4;
    cy = sh * 3 / 4;
  }
}

// Frees what the window holds once it is gone from the tree (the handle goes last).
bool HasNativeWindow(const Window& w) { return w.parent == &Wm().Desktop(); }

void ReleaseWindow(Window& w, bool native) {
  detail::KillWindowTimers(w.handle);
  detail::ForgetWindowState(w);
  detail::ForgetInputContext(w.handle);
  detail::DropPaintState(w);
  detail::DeleteWindowRegion(w);
  detail::ReleaseOwnDC(w);
  if (native && Wm().HasBackend()) Wm().GetBackend().DestroyNativeWindow(w.handle);
  if (w.windowClass) --w.windowClass->windowCount;
  w.destroyed = true;
  Wm().Remove(w.handle);
}

// WM_DESTROY goes to the window first and then to its children.
void SendDestroy(Window& w) {
  w.destroying = true;
  if (w.handle == GetCapture()) ReleaseCapture();
  if (w.handle == GetFocus()) {
    Window* p = w.IsChildStyle() ? w.parent : nullptr;
    SetFocus(p && !p->IsRoot() ? p->handle : nullptr);
  }
  Send(w, WM_DESTROY);
  NotifyAccessEvent(AccessEvent::Destroy, w.handle);
  auto children = w.children;
  for (auto& c : children)
    if (!c->destroyed) SendDestroy(*c);
}

// WM_NCDESTROY goes to the children first; then the window leaves the tree.
void FinalDestroy(const std::shared_ptr<Window>& w) {
  auto children = w->children;
  for (auto& c : children)
    if (!c->destroyed) FinalDestroy(c);
  Send(*w, WM_NCDESTROY);
  bool native = HasNativeWindow(*w);
  detail::UnlinkWindow(*w);
  ReleaseWindow(*w, native);
}

// Creation failed after WM_NCCREATE: take the half-made window apart.
HWND AbortCreate(const std::shared_ptr<Window>& w, bool sendDestroy) {
  if (sendDestroy) {
    DestroyWindow(w->handle);
    return nullptr;
  }
  Send(*w, WM_NCDESTROY);
  bool native = HasNativeWindow(*w);
  detail::UnlinkWindow(*w);
  ReleaseWindow(*w, native);
  return nullptr;
}

}  // namespace

namespace detail {

void DropAllWindows() {
  for (auto& w : Wm().AllWindows()) {
    bool native = HasNativeWindow(*w);
    UnlinkWindow(*w);
    ReleaseWindow(*w, native);
  }
}

}  // namespace detail

HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID param) {
  auto cls = WindowClassRegistry::Get().Find(className);
  if (!cls) {
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return nullptr;
  }
  WindowManager& wm = Wm();
  wm.GetBackend();  // the first window binds the backend to this thread
  Window* parentWindow = &wm.Desktop();
  HWND owner = nullptr;
  if (parent == HWND_MESSAGE) {
    parentWindow = &wm.MessageRoot();
  } else if (style & WS_CHILD) {
    auto p = ValidWindow(parent);
    if (!p) {
      SetLastError(parent ? ERROR_INVALID_WINDOW_HANDLE : ERROR_TLW_WITH_WSCHILD);
      return nullptr;
    }
    parentWindow = p.get();
  } else if (parent) {
    if (!ValidWindow(parent)) return nullptr;
    owner = GetAncestor(parent, GA_ROOT);
  }
  bool topLevel = parentWindow->IsRoot();
  DWORD visible = style & WS_VISIBLE;
  style &= ~WS_VISIBLE;
  FixCreateStyles(style, exStyle, topLevel);
  DefaultPlacement(x, y, width, height, topLevel, wm.Desktop().client);

  auto w = std::make_shared<Window>();
  w->windowClass = cls;
  w->proc = cls->proc;
  w->style = style;
  w->exStyle = exStyle;
  w->owner = owner;
  w->instance = instance;
  w->id = (style & WS_CHILD) ? reinterpret_cast<LONG_PTR>(menu) : 0;
  w->thread = std::this_thread::get_id();
  w->extra.assign(static_cast<size_t>(cls->wndExtra), 0);
  w->handle = wm.Insert(w);
  if (!w->handle) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  ++cls->windowCount;
  MessageQueue::Current();
  // As on Windows: child windows start at the bottom of their siblings (creation order is tab
  // order), top-level windows at the top.
  detail::LinkWindow(*parentWindow, w, (style & WS_CHILD) ? HWND_BOTTOM : HWND_TOP);

  detail::ClampToMinMax(*w, width, height);
  width = std::max(width, 0);
  height = std::max(height, 0);
  w->window = {x, y, x + width, y + height};
  w->client = w->window;
  if (topLevel && parentWindow == &wm.Desktop()) {
    detail::CreateBackingStore(*w);
    wm.GetBackend().CreateNativeWindow(w->handle, w->window, style, exStyle);
  }

  CREATESTRUCTW cs{param,     instance, menu, parentWindow->IsRoot() ? owner : parent, height,
                   width,     y,        x,    static_cast<LONG>(style | visible),      windowName,
                   className, exStyle};
  if (!Send(*w, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs)) || w->destroyed)
    return w->destroyed ? nullptr : AbortCreate(w, false);
  w->created = true;
  RECT rc = w->window;
  Send(*w, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&rc));
  if (w->destroyed) return nullptr;
  w->client = rc;
  if (Send(*w, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1 || w->destroyed)
    return w->destroyed ? nullptr : AbortCreate(w, true);
  Send(*w, WM_SIZE, SIZE_RESTORED,
       MAKELPARAM(static_cast<WORD>(w->client.right - w->client.left),
                  static_cast<WORD>(w->client.bottom - w->client.top)));
  Send(*w, WM_MOVE, 0, MAKELPARAM(static_cast<WORD>(w->client.left), static_cast<WORD>(w->client.top)));
  if (w->destroyed) return nullptr;
  NotifyParents(*w, static_cast<WORD>(WM_CREATE));
  if (w->destroyed) return nullptr;
  if (visible) ShowWindow(w->handle, topLevel ? SW_SHOWNORMAL : SW_SHOW);
  return w->destroyed ? nullptr : w->handle;
}

BOOL DestroyWindow(HWND hwnd) {
  auto w = ValidWindow(hwnd);
  if (!w || w->IsRoot()) return FALSE;
  if (w->thread != std::this_thread::get_id()) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  if (w->destroying) return TRUE;
  NotifyParents(*w, static_cast<WORD>(WM_DESTROY));
  if (w->destroyed) return TRUE;
  if (w->IsVisible()) {
    UINT flags = SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER;
    if (!w->IsTopLevel() || hwnd != GetActiveWindow()) flags |= SWP_NOACTIVATE;
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, flags);
    if (w->destroyed) return TRUE;
  }
  if (hwnd == GetActiveWindow()) detail::ActivateOtherWindow(*w);
  // Owned windows go first.
  for (auto& other : Wm().AllWindows())
    if (other->owner == hwnd && !other->destroying) DestroyWindow(other->handle);
  if (w->destroyed) return TRUE;
  SendDestroy(*w);
  if (!w->destroyed) FinalDestroy(w);
  return TRUE;
}

BOOL IsWindow(HWND hwnd) { return Wm().Lookup(hwnd) ? TRUE : FALSE; }

BOOL IsWindowVisible(HWND hwnd) {
  auto w = Wm().Lookup(hwnd);
  return w && w->IsReallyVisible() ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND hwnd) {
  auto w = Wm().Lookup(hwnd);
  return w && w->IsEnabled() ? TRUE : FALSE;
}

BOOL IsChild(HWND parent, HWND hwnd) {
  auto p = Wm().Lookup(parent);
  auto w = Wm().Lookup(hwnd);
  if (!p || !w) return FALSE;
  // Only a chain of WS_CHILD windows makes a window a child.
  for (Window* x = w.get(); x && x->IsChildStyle(); x = x->parent)
    if (x->parent == p.get()) return TRUE;
  return FALSE;
}

BOOL EnableWindow(HWND hwnd, BOOL enable) {
  auto w = ValidWindow(hwnd);
  if (!w) return FALSE;
  BOOL wasDisabled = w->IsEnabled() ? FALSE : TRUE;
  if (enable && wasDisabled) {
    w->style &= ~WS_DISABLED;
    Send(*w, WM_ENABLE, TRUE);
    NotifyAccessEvent(AccessEvent::StateChange, hwnd);
  } else if (!enable && !wasDisabled) {
    Send(*w, WM_CANCELMODE);
    w->style |= WS_DISABLED;
    HWND focus = GetFocus();
    if (focus && (focus == hwnd || IsChild(hwnd, focus))) SetFocus(nullptr);
    HWND capture = GetCapture();
    if (capture && (capture == hwnd || IsChild(hwnd, capture))) ReleaseCapture();
    Send(*w, WM_ENABLE, FALSE);
    NotifyAccessEvent(AccessEvent::StateChange, hwnd);
  }
  return wasDisabled;
}

BOOL ShowWindow(HWND hwnd, int command) {
  auto w = ValidWindow(hwnd);
  if (!w || w->IsRoot()) return FALSE;
  bool wasVisible = w->IsVisible();
  bool show = command != SW_HIDE;
  UINT flags = SWP_NOSIZE | SWP_NOMOVE;
  switch (command) {
    case SW_HIDE:
      if (!wasVisible) return FALSE;
      flags |= SWP_HIDEWINDOW;
      if (hwnd != GetActiveWindow()) flags |= SWP_NOACTIVATE | SWP_NOZORDER;
      break;
    case SW_SHOWNA: flags |= SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOZORDER; break;
    case SW_SHOWNOACTIVATE:
    case SW_SHOWMINNOACTIVE: flags |= SWP_SHOWWINDOW | SWP_NOACTIVATE; break;
    default: flags |= SWP_SHOWWINDOW; break;
  }
  if (w->IsChildStyle()) flags |= SWP_NOACTIVATE | SWP_NOZORDER;
  RECT target{};
  if (show && detail::ApplyShowState(*w, command, &target)) {
    flags &= ~(SWP_NOSIZE | SWP_NOMOVE);
    flags |= SWP_STATECHANGED | SWP_FRAMECHANGED;
  }
  if (show != wasVisible) {
    Send(*w, WM_SHOWWINDOW, show ? TRUE : FALSE);
    if (w->destroyed) return wasVisible;
  }
  SetWindowPos(hwnd, HWND_TOP, target.left, target.top, target.right - target.left, target.bottom - target.top, flags);
  if (w->minimized && !w->destroyed) {
    // A minimised window keeps no keyboard focus; SW_MINIMIZE also passes activation on.
    HWND focus = GetFocus();
    if (focus && (focus == hwnd || IsChild(hwnd, focus))) SetFocus(nullptr);
    if (command == SW_MINIMIZE && GetActiveWindow() == hwnd) detail::ActivateOtherWindow(*w);
  }
  return wasVisible ? TRUE : FALSE;
}

HWND GetParent(HWND hwnd) {
  auto w = ValidWindow(hwnd);
  if (!w) return nullptr;
  if (w->IsChildStyle()) return w->parent && !w->parent->IsRoot() ? w->parent->handle : nullptr;
  if (w->style & WS_POPUP) return w->owner;
  return nullptr;
}

HWND SetParent(HWND child, HWND newParent) {
  auto w = ValidWindow(child);
  if (!w || w->IsRoot()) return nullptr;
  Window* target = &Wm().Desktop();
  if (newParent == HWND_MESSAGE) {
    target = &Wm().MessageRoot();
  } else if (newParent) {
    auto p = ValidWindow(newParent);
    if (!p) return nullptr;
    // A window cannot become its own descendant.
    if (p.get() == w.get() || p->IsDescendantOf(w.get())) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return nullptr;
    }
    target = p.get();
  }
  Window* old = w->parent;
  HWND oldHandle = old ? old->handle : nullptr;
  if (old == target) return oldHandle;
  bool visible = w->IsVisible();
  if (visible) ShowWindow(child, SW_HIDE);
  bool wasTop = w->IsTopLevel() && old == &Wm().Desktop();
  if (wasTop) {
    Wm().GetBackend().DestroyNativeWindow(child);
    detail::DropPaintState(*w);
  }
  RECT r = w->window, c = w->client;
  detail::UnlinkWindow(*w);
  detail::LinkWindow(*target, w, HWND_TOP);
  w->window = r;
  w->client = c;
  if (target == &Wm().Desktop()) {
    detail::CreateBackingStore(*w);
    Wm().GetBackend().CreateNativeWindow(child, w->window, w->style, w->exStyle);
    detail::ApplyNativeShape(*w);
  }
  if (visible) ShowWindow(child, SW_SHOWNA);
  return oldHandle;
}

HWND GetWindow(HWND hwnd, UINT command) {
  auto w = ValidWindow(hwnd);
  if (!w) return nullptr;
  if (command == GW_CHILD) return w->children.empty() ? nullptr : w->children.front()->handle;
  if (command == GW_OWNER) return w->owner;
  if (command == GW_ENABLEDPOPUP) return nullptr;
  if (!w->parent) return nullptr;
  auto& siblings = w->parent->children;
  int i = w->IndexInParent();
  switch (command) {
    case GW_HWNDFIRST: return siblings.front()->handle;
    case GW_HWNDLAST: return siblings.back()->handle;
    case GW_HWNDNEXT:
      return i + 1 < static_cast<int>(siblings.size()) ? siblings[static_cast<size_t>(i) + 1]->handle : nullptr;
    case GW_HWNDPREV: return i > 0 ? siblings[static_cast<size_t>(i) - 1]->handle : nullptr;
    default: SetLastError(ERROR_INVALID_PARAMETER); return nullptr;
  }
}

HWND GetTopWindow(HWND hwnd) { return GetWindow(hwnd ? hwnd : GetDesktopWindow(), GW_CHILD); }

HWND GetDesktopWindow() { return Wm().Desktop().handle; }

HWND GetAncestor(HWND hwnd, UINT flags) {
  auto w = ValidWindow(hwnd);
  if (!w || w->IsRoot()) return nullptr;
  switch (flags) {
    case GA_PARENT: return w->parent ? w->parent->handle : nullptr;
    case GA_ROOT: return w->TopLevel()->handle;
    case GA_ROOTOWNER: {
      Window* top = w->TopLevel();
      for (;;) {
        auto owner = Wm().Lookup(top->owner);
        if (!owner) return top->handle;
        top = owner->TopLevel();
      }
    }
    default: SetLastError(ERROR_INVALID_PARAMETER); return nullptr;
  }
}

namespace {

// Collects handles first: the callback may create or destroy windows.
void CollectDescendants(const Window& w, std::vector<HWND>& out) {
  for (auto& c : w.children) {
    out.push_back(c->handle);
    CollectDescendants(*c, out);
  }
}

BOOL EnumHandles(const std::vector<HWND>& handles, WNDENUMPROC proc, LPARAM lParam) {
  if (!proc) return FALSE;
  for (HWND h : handles)
    if (IsWindow(h) && !proc(h, lParam)) return FALSE;
  return TRUE;
}

}  // namespace

BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam) {
  auto p = parent ? ValidWindow(parent) : SharedOf(&Wm().Desktop());
  if (!p) return FALSE;
  std::vector<HWND> handles;
  CollectDescendants(*p, handles);
  return EnumHandles(handles, proc, lParam);
}

BOOL EnumWindows(WNDENUMPROC proc, LPARAM lParam) {
  std::vector<HWND> handles;
  for (auto& c : Wm().Desktop().children) handles.push_back(c->handle);
  return EnumHandles(handles, proc, lParam);
}

BOOL EnumThreadWindows(DWORD threadId, WNDENUMPROC proc, LPARAM lParam) {
  std::vector<HWND> handles;
  for (Window* root : {&Wm().Desktop(), &Wm().MessageRoot()})
    for (auto& c : root->children)
      if (MessageQueue::IdOf(c->thread) == threadId) handles.push_back(c->handle);
  return EnumHandles(handles, proc, lParam);
}

DWORD GetWindowThreadProcessId(HWND hwnd, DWORD* processId) {
  auto w = ValidWindow(hwnd);
  if (!w) return 0;
  if (processId) *processId = 1;
  return MessageQueue::IdOf(w->thread);
}

DWORD GetCurrentThreadId() { return MessageQueue::IdOf(std::this_thread::get_id()); }

HWND FindWindowExW(HWND parent, HWND childAfter, LPCWSTR className, LPCWSTR windowName) {
  auto p = parent ? ValidWindow(parent) : SharedOf(&Wm().Desktop());
  if (!p) return nullptr;
  auto cls = className ? WindowClassRegistry::Get().Find(className) : nullptr;
  if (className && !cls) return nullptr;
  bool started = childAfter == nullptr;
  for (auto& c : p->children) {
    if (!started) {
      started = c->handle == childAfter;
      continue;
    }
    if (cls && c->windowClass != cls) continue;
    if (windowName && c->text != String(windowName)) continue;
    return c->handle;
  }
  return nullptr;
}

LRESULT CallWindowProcW(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!proc) return 0;
  return proc(hwnd, msg, wParam, lParam);
}

namespace {

bool ExtraRange(const Window& w, int index, size_t bytes) {
  return index >= 0 && static_cast<size_t>(index) + bytes <= w.extra.size();
}

}  // namespace

LONG_PTR GetWindowLongPtrW(HWND hwnd, int index) {
  auto w = ValidWindow(hwnd);
  if (!w) return 0;
  switch (index) {
    case GWLP_WNDPROC: return reinterpret_cast<LONG_PTR>(w->proc);
    case GWLP_HINSTANCE: return reinterpret_cast<LONG_PTR>(w->instance);
    case GWLP_HWNDPARENT: return reinterpret_cast<LONG_PTR>(GetParent(hwnd));
    case GWLP_ID: return w->id;
    case GWL_STYLE: return static_cast<LONG>(w->style);
    case GWL_EXSTYLE: return static_cast<LONG>(w->exStyle);
    case GWLP_USERDATA: return w->userData;
    default: break;
  }
  if (!ExtraRange(*w, index, sizeof(LONG))) {
    SetLastError(ERROR_INVALID_INDEX);
    return 0;
  }
  // Indexes name bytes of the extra area; a pointer-sized value where it fits, else a LONG.
  LONG_PTR value = 0;
  size_t bytes = ExtraRange(*w, index, sizeof(LONG_PTR)) ? sizeof(LONG_PTR) : sizeof(LONG);
  if (bytes == sizeof(LONG)) {
    LONG v = 0;
    std::copy_n(w->extra.data() + index, sizeof(v), reinterpret_cast<BYTE*>(&v));
    return v;
  }
  std::copy_n(w->extra.data() + index, bytes, reinterpret_cast<BYTE*>(&value));
  return value;
}

namespace {

LONG_PTR SetStyle(Window& w, int index, LONG_PTR value) {
  DWORD& field = index == GWL_STYLE ? w.style : w.exStyle;
  STYLESTRUCT ss{field, static_cast<DWORD>(value)};
  LONG_PTR old = static_cast<LONG>(field);
  if (ss.styleOld == ss.styleNew) return old;
  Send(w, WM_STYLECHANGING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&ss));
  if (w.destroyed) return old;
  DWORD before = field;
  field = ss.styleNew;
  if (index == GWL_STYLE && ((before ^ field) & WS_VISIBLE) && w.parent) {
    // Toggling WS_VISIBLE directly shows or hides without messages; the area still repaints.
    detail::InvalidateParentArea(w, w.window);
  }
  ss.styleOld = before;
  Send(w, WM_STYLECHANGED, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&ss));
  return old;
}

}  // namespace

LONG_PTR SetWindowLongPtrW(HWND hwnd, int index, LONG_PTR value) {
  auto w = ValidWindow(hwnd);
  if (!w || w->IsRoot()) return 0;
  LONG_PTR old = 0;
  switch (index) {
    case GWL_STYLE:
    case GWL_EXSTYLE: return SetStyle(*w, index, value);
    case GWLP_WNDPROC:
      old = reinterpret_cast<LONG_PTR>(w->proc);
      w->proc = reinterpret_cast<WNDPROC>(value);
      return old;
    case GWLP_HINSTANCE:
      old = reinterpret_cast<LONG_PTR>(w->instance);
      w->instance = reinterpret_cast<HINSTANCE>(value);
      return old;
    case GWLP_HWNDPARENT:
      if (w->IsChildStyle()) return 0;
      old = reinterpret_cast<LONG_PTR>(w->owner);
      w->owner = value ? GetAncestor(reinterpret_cast<HWND>(value), GA_ROOT) : nullptr;
      return old;
    case GWLP_ID:
      old = w->id;
      w->id = value;
      return old;
    case GWLP_USERDATA:
      old = w->userData;
      w->userData = value;
      return old;
    default: break;
  }
  size_t bytes = ExtraRange(*w, index, sizeof(LONG_PTR)) ? sizeof(LONG_PTR) : sizeof(LONG);
  if (!ExtraRange(*w, index, bytes)) {
    SetLastError(ERROR_INVALID_INDEX);
    return 0;
  }
  old = GetWindowLongPtrW(hwnd, index);
  if (bytes == sizeof(LONG)) {
    LONG v = static_cast<LONG>(value);
    std::copy_n(reinterpret_cast<const BYTE*>(&v), sizeof(v), w->extra.data() + index);
  } else {
    std::copy_n(reinterpret_cast<const BYTE*>(&value), bytes, w->extra.data() + index);
  }
  return old;
}

namespace {

String PropName(LPCWSTR name) {
  if (IS_INTRESOURCE(name)) {
    auto atom = reinterpret_cast<ULONG_PTR>(name);
    return u"#" + Utf8ToUtf16(std::to_string(atom));
  }
  return String(name);
}

}  // namespace

BOOL SetPropW(HWND hwnd, LPCWSTR name, HANDLE data) {
  auto w = ValidWindow(hwnd);
  if (!w || !name) return FALSE;
  String key = PropName(name);
  for (auto& [k, v] : w->props)
    if (EqualNoCase(k, key)) {
      v = data;
      return TRUE;
    }
  w->props.emplace_back(key, data);
  return TRUE;
}

HANDLE GetPropW(HWND hwnd, LPCWSTR name) {
  auto w = Wm().Lookup(hwnd);
  if (!w || !name) return nullptr;
  String key = PropName(name);
  for (auto& [k, v] : w->props)
    if (EqualNoCase(k, key)) return v;
  return nullptr;
}

HANDLE RemovePropW(HWND hwnd, LPCWSTR name) {
  auto w = Wm().Lookup(hwnd);
  if (!w || !name) return nullptr;
  String key = PropName(name);
  for (auto it = w->props.begin(); it != w->props.end(); ++it)
    if (EqualNoCase(it->first, key)) {
      HANDLE data = it->second;
      w->props.erase(it);
      return data;
    }
  return nullptr;
}

UINT RegisterWindowMessageW(LPCWSTR name) {
  static std::mutex mutex;
  static std::vector<String> names;
  if (!name || IS_INTRESOURCE(name) || !*name) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::lock_guard lock(mutex);
  String key = name;
  for (size_t i = 0; i < names.size(); ++i)
    if (EqualNoCase(names[i], key)) return static_cast<UINT>(0xC000 + i);
  if (names.size() >= 0x3FFF) return 0;
  names.push_back(key);
  return static_cast<UINT>(0xC000 + names.size() - 1);
}

BOOL SetWindowTextW(HWND hwnd, LPCWSTR text) {
  auto w = ValidWindow(hwnd);
  if (!w) return FALSE;
  return SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) ? TRUE : FALSE;
}

int GetWindowTextW(HWND hwnd, LPWSTR buffer, int maxCount) {
  auto w = ValidWindow(hwnd);
  if (!w || !buffer || maxCount <= 0) return 0;
  if (w->thread != std::this_thread::get_id()) {
    // Another thread's window: read the stored text without a message, as Windows does.
    std::lock_guard lock(w->textMutex);
    return CopyToBuffer(w->text, buffer, maxCount);
  }
  return static_cast<int>(
      SendMessageW(hwnd, WM_GETTEXT, static_cast<WPARAM>(maxCount), reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLengthW(HWND hwnd) {
  auto w = ValidWindow(hwnd);
  if (!w) return 0;
  if (w->thread != std::this_thread::get_id()) {
    std::lock_guard lock(w->textMutex);
    return static_cast<int>(w->text.size());
  }
  return static_cast<int>(SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

int GetDlgCtrlID(HWND hwnd) {
  auto w = ValidWindow(hwnd);
  return w && w->IsChildStyle() ? static_cast<int>(w->id) : 0;
}

HWND GetDlgItem(HWND parent, int id) {
  auto p = ValidWindow(parent);
  if (!p) return nullptr;
  for (auto& c : p->children)
    if (c->IsChildStyle() && static_cast<int>(c->id) == id) return c->handle;
  return nullptr;
}

}  // namespace kestrel::platform
