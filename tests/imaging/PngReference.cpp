#include "PngReference.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>

namespace kestrel::testing {

bool DecodeWithReference(const std::string& path, ReferenceImage& out) {
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return false;
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  // Nothing with a destructor may live between setjmp and a libpng error's longjmp.
  std::vector<png_bytep> rows;
  volatile bool ok = false;
  if (setjmp(png_jmpbuf(png)) == 0) {
    png_init_io(png, file);
    png_read_info(png, info);
    out.width = png_get_image_width(png, info);
    out.height = png_get_image_height(png, info);
    out.colorType = png_get_color_type(png, info);
    out.bitDepth = png_get_bit_depth(png, info);
    png_fixed_point gamma = 0;
    out.hasGamma = png_get_gAMA_fixed(png, info, &gamma) != 0;
    out.gamma = static_cast<std::uint32_t>(gamma);
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    out.rgba.assign(std::size_t{out.width} * out.height * 4, 0);
    rows.resize(out.height);
    for (std::uint32_t y = 0; y < out.height; ++y) rows[y] = out.rgba.data() + std::size_t{y} * out.width * 4;
    png_read_image(png, rows.data());
    ok = true;
  }
  png_destroy_read_struct(&png, &info, nullptr);
  std::fclose(file);
  return ok;
}

}  // namespace kestrel::testing
