#pragma once
// What the fill and marquee tests share: small PNG pictures made on the spot, and a bitmap with
// a drawing surface whose pixels can be read back.

#include <cairo.h>

#include <cstdint>
#include <vector>

#include "platform/gdiplus/GdiPlus.h"

namespace kestrel::testing {

// A w × h PNG, left half `left`, right half `right` (0xAARRGGBB).
inline std::vector<std::uint8_t> PngBytes(int w, int h, std::uint32_t left, std::uint32_t right) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  cairo_t* cr = cairo_create(s);
  auto paint = [cr](std::uint32_t c, double x, double width, double height) {
    cairo_set_source_rgba(cr, ((c >> 16) & 0xFF) / 255.0, ((c >> 8) & 0xFF) / 255.0, (c & 0xFF) / 255.0,
                          (c >> 24) / 255.0);
    cairo_rectangle(cr, x, 0, width, height);
    cairo_fill(cr);
  };
  paint(left, 0, w / 2.0, h);
  paint(right, w / 2.0, w / 2.0, h);
  cairo_destroy(cr);
  std::vector<std::uint8_t> bytes;
  cairo_surface_write_to_png_stream(
      s,
      [](void* closure, const unsigned char* data, unsigned int length) {
        auto* out = static_cast<std::vector<std::uint8_t>*>(closure);
        out->insert(out->end(), data, data + length);
        return CAIRO_STATUS_SUCCESS;
      },
      &bytes);
  cairo_surface_destroy(s);
  return bytes;
}

struct PaintSurface {
  PaintSurface(int w, int h) : bitmap(w, h), g(&bitmap) {}
  // 0xAARRGGBB, not premultiplied.
  platform::ARGB At(int x, int y) {
    platform::ARGB c = 0;
    bitmap.GetPixel(x, y, &c);
    return c;
  }
  platform::TGPBitmap bitmap;
  platform::TGPGraphics g;
};

}  // namespace kestrel::testing
