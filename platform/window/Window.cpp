#include "platform/window/Window.h"

namespace kestrel::platform {

Window::Window() = default;

Window::~Window() {
  if (update) cairo_region_destroy(update);
  if (backing) cairo_surface_destroy(backing);
}

RECT Window::ClientInWindow() const {
  return {client.left - window.left, client.top - window.top, client.right - window.left,
          client.bottom - window.top};
}

POINT Window::ScreenOrigin() const {
  POINT origin{window.left, window.top};
  if (parent) {
    POINT p = parent->ClientScreenOrigin();
    origin.x += p.x;
    origin.y += p.y;
  }
  return origin;
}

POINT Window::ClientScreenOrigin() const {
  POINT origin{client.left, client.top};
  if (parent) {
    POINT p = parent->ClientScreenOrigin();
    origin.x += p.x;
    origin.y += p.y;
  }
  return origin;
}

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
