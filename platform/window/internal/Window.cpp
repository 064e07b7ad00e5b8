#include "platform/window/internal/Window.h"

namespace kestrel::platform {

Window::Window() = default;

Window::~Window() = default;

RECT Window::ClientInWindow() const {
  return {client.left - window.left, client.top - window.top, client.right - window.left, client.bottom - window.top};
}

namespace {

POINT Offset(POINT p, const Window* parent) {
  if (parent) {
    POINT o = parent->ClientScreenOrigin();
    p.x += o.x;
    p.y += o.y;
  }
  return p;
}

}  // namespace

POINT Window::ScreenOrigin() const { return Offset({window.left, window.top}, parent); }

POINT Window::ClientScreenOrigin() const { return Offset({client.left, client.top}, parent); }

Window* Window::TopLevel() {
  Window* w = this;
  while (w->parent && !w->parent->IsRoot()) w = w->parent;
  return w;
}

bool Window::IsReallyVisible() const {
  for (const Window* w = this; w && !w->IsRoot(); w = w->parent)
    if (!w->IsVisible()) return false;
  return true;
}

bool Window::IsDescendantOf(const Window* ancestor) const {
  for (const Window* w = parent; w; w = w->parent)
    if (w == ancestor) return true;
  return false;
}

int Window::IndexInParent() const {
  if (!parent) return -1;
  for (size_t i = 0; i < parent->children.size(); ++i)
    if (parent->children[i].get() == this) return static_cast<int>(i);
  return -1;
}

}  // namespace kestrel::platform
