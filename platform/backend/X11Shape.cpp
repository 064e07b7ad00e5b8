#include "platform/backend/X11Shape.h"

#include <SDL_syswm.h>

#include <algorithm>
#include <cstdint>

#if defined(KESTREL_HAVE_XSHAPE) && defined(SDL_VIDEO_DRIVER_X11)
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/shape.h>
#define KESTREL_X11_SHAPES 1
#endif

namespace kestrel::platform {

#ifdef KESTREL_X11_SHAPES

namespace {

struct X11Target {
  Display* display = nullptr;
  ::Window window = 0;
};

std::optional<X11Target> TargetOf(SDL_Window* window) {
  if (!window) return std::nullopt;
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return std::nullopt;
  X11Target target{info.info.x11.display, info.info.x11.window};
  int eventBase, errorBase;
  if (!target.display || !XShapeQueryExtension(target.display, &eventBase, &errorBase)) return std::nullopt;
  return target;
}

}  // namespace

bool SetX11WindowShape(SDL_Window* window, const std::vector<RECT>* rects) {
  auto target = TargetOf(window);
  if (!target) return false;
  if (!rects) {
    XShapeCombineMask(target->display, target->window, ShapeBounding, 0, 0, 0 /* None */, ShapeSet);
  } else {
    std::vector<XRectangle> xrects;
    for (const RECT& r : *rects) {
      // X rectangles are 16-bit; anything wider than that lies off every screen anyway.
      if (r.right <= r.left || r.bottom <= r.top) continue;
      xrects.push_back({static_cast<short>(r.left), static_cast<short>(r.top),
                        static_cast<unsigned short>(std::min<LONG>(r.right - r.left, 0xFFFF)),
                        static_cast<unsigned short>(std::min<LONG>(r.bottom - r.top, 0xFFFF))});
    }
    // An empty list is a valid shape: the window shows nothing, as an empty window region does.
    XShapeCombineRectangles(target->display, target->window, ShapeBounding, 0, 0, xrects.data(),
                            static_cast<int>(xrects.size()), ShapeSet, Unsorted);
  }
  XFlush(target->display);
  return true;
}

std::optional<std::vector<RECT>> GetX11WindowShape(SDL_Window* window) {
  auto target = TargetOf(window);
  if (!target) return std::nullopt;
  XSync(target->display, False);
  int count = 0, ordering = 0;
  XRectangle* xrects = XShapeGetRectangles(target->display, target->window, ShapeBounding, &count, &ordering);
  std::vector<RECT> rects;
  for (int i = 0; i < count; ++i)
    rects.push_back({xrects[i].x, xrects[i].y, xrects[i].x + xrects[i].width, xrects[i].y + xrects[i].height});
  if (xrects) XFree(xrects);
  return rects;
}

cairo_surface_t* CaptureX11Screen(SDL_Window* anyWindow, const RECT& r) {
  auto target = TargetOf(anyWindow);
  int width = r.right - r.left, height = r.bottom - r.top;
  if (!target || width <= 0 || height <= 0) return nullptr;
  XSync(target->display, False);
  XImage* image = XGetImage(target->display, DefaultRootWindow(target->display), r.left, r.top,
                            static_cast<unsigned>(width), static_cast<unsigned>(height), AllPlanes, ZPixmap);
  if (!image) return nullptr;
  cairo_surface_t* out = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  unsigned char* data = cairo_image_surface_get_data(out);
  int stride = cairo_image_surface_get_stride(out);
  auto channel = [](unsigned long pixel, unsigned long mask) -> unsigned {
    if (!mask) return 0;
    while (!(mask & 1)) mask >>= 1, pixel >>= 1;
    return static_cast<unsigned>((pixel & mask) * 255 / mask);
  };
  for (int y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<std::uint32_t*>(data + y * stride);
    for (int x = 0; x < width; ++x) {
      unsigned long pixel = XGetPixel(image, x, y);
      row[x] = 0xFF000000u | channel(pixel, image->red_mask) << 16 | channel(pixel, image->green_mask) << 8 |
               channel(pixel, image->blue_mask);
    }
  }
  cairo_surface_mark_dirty(out);
  XDestroyImage(image);
  return out;
}

#else

bool SetX11WindowShape(SDL_Window*, const std::vector<RECT>*) { return false; }
std::optional<std::vector<RECT>> GetX11WindowShape(SDL_Window*) { return std::nullopt; }
cairo_surface_t* CaptureX11Screen(SDL_Window*, const RECT&) { return nullptr; }

#endif

}  // namespace kestrel::platform
