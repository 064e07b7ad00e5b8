#pragma once
// Shared pieces of the panel and image-form tests: a shown form, pixels and copies of what a
// control shows, and a patterned bitmap.

#include <cairo.h>

#include "framework/Bitmap.h"
#include "platform/theme/UxTheme.h"
#include "tests/framework/visual/VisualTestSupport.h"
#include "tests/support/ThemeScope.h"

namespace kestrel::testing {

// A copy of the client area of a windowed control as shown on its top-level window.
inline cairo_surface_t* CaptureClient(TWinControl& control) {
  platform::HWND hwnd = control.Handle();
  platform::POINT origin{};
  cairo_surface_t* store = platform::GetWindowBackingStore(hwnd, &origin);
  if (!store) return nullptr;
  platform::RECT wr{};
  platform::GetWindowRect(hwnd, &wr);
  const TPoint client = control.ClientToScreen(Point(0, 0));
  const int w = control.ClientWidth(), h = control.ClientHeight();
  cairo_surface_t* copy = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
  cairo_t* cr = cairo_create(copy);
  cairo_set_source_surface(cr, store, -(origin.x + client.x - wr.left), -(origin.y + client.y - wr.top));
  cairo_paint(cr);
  cairo_destroy(cr);
  return copy;
}

// A bitmap whose every pixel tells where it lies: red = x, green = y (mod 256), blue fixed.
inline TBitmap* PatternBitmap(int width, int height) {
  auto* bitmap = new TBitmap(width, height);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* row = bitmap->ScanLine(y);
    for (int x = 0; x < width; ++x) {
      row[4 * x] = 0x80;
      row[4 * x + 1] = static_cast<std::uint8_t>(y * 7);
      row[4 * x + 2] = static_cast<std::uint8_t>(x * 5);
      row[4 * x + 3] = 0xFF;
    }
  }
  return bitmap;
}

}  // namespace kestrel::testing
