// The three drawing modes over a patterned background, each image drawn at its own size and
// stretched to twice its size, compared with a golden image.

#include <gtest/gtest.h>

#include "imaging/PngObject.h"
#include "tests/platform/gdi/GdiTestSupport.h"
#include "tests/support/GoldenImage.h"

namespace kestrel {
namespace {

using platform::RGB;

constexpr int kSize = 16;

// A colour wheel-ish gradient; with alpha, a ramp from transparent (left) to opaque (right)
// and a transparent hole in the middle.
void Paint(TVnPNGObject& png) {
  TVnPNGChunkIHDR& h = *png.Header();
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      png.SetPixelColor(x, y, RGB(x * 16, y * 16, 255 - x * 8));
      if (std::uint8_t* alpha = h.AlphaScanline(y)) {
        const bool hole = x >= 6 && x < 10 && y >= 6 && y < 10;
        alpha[x] = hole ? 0 : static_cast<std::uint8_t>(x * 17);
      }
    }
}

void Checkerboard(platform::testing::Canvas& canvas, int width, int height) {
  for (int y = 0; y < height; y += 8)
    for (int x = 0; x < width; x += 8) {
      platform::HBRUSH brush = platform::CreateSolidBrush(((x + y) / 8) % 2 ? RGB(250, 250, 250) : RGB(40, 90, 160));
      platform::RECT r{x, y, x + 8, y + 8};
      platform::FillRect(canvas.dc, &r, brush);
      platform::DeleteObject(brush);
    }
}

TEST(PngDrawGolden, EveryTransparencyModeOverAPattern) {
  TVnPNGObject plain, keyed, rgba, grayAlpha, palette;
  plain.CreateBlank(COLOR_RGB, 8, kSize, kSize);
  Paint(plain);
  keyed.CreateBlank(COLOR_RGB, 8, kSize, kSize);
  Paint(keyed);
  keyed.SetTransparentColor(RGB(5 * 16, 5 * 16, 255 - 5 * 8));
  for (int i = 0; i < kSize; ++i) keyed.SetPixelColor(i, i, RGB(5 * 16, 5 * 16, 255 - 5 * 8));  // a keyed diagonal
  rgba.CreateBlank(COLOR_RGBALPHA, 8, kSize, kSize);
  Paint(rgba);
  grayAlpha.CreateBlank(COLOR_GRAYSCALEALPHA, 8, kSize, kSize);
  Paint(grayAlpha);
  palette.CreateBlank(COLOR_PALETTE, 4, kSize, kSize);
  Paint(palette);
  palette.CreateAlpha();
  auto& values = palette.Chunks().ItemFromClass<TVnPNGChunktRNS>()->PaletteValues();
  for (int i = 0; i < 16; ++i) values[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(i * 17);
  ASSERT_EQ(palette.TransparencyMode(), ptmPartial);

  TVnPNGObject* images[] = {&plain, &keyed, &rgba, &grayAlpha, &palette};
  const int width = 5 * 56 + 8, height = 64;
  platform::testing::Canvas surface(width, height);
  Checkerboard(surface, width, height);
  TCanvas canvas;
  canvas.SetHandle(surface.dc);
  for (int i = 0; i < 5; ++i) {
    images[i]->DrawAt(&canvas, 8 + 56 * i, 4);
    images[i]->Draw(&canvas, TRect{8 + 56 * i, 24, 8 + 56 * i + 2 * kSize, 24 + 2 * kSize});
  }
  canvas.SetHandle(nullptr);
  EXPECT_TRUE(testing::MatchesGolden(surface.Surface(), "imaging_png_draw_modes"));
}

}  // namespace
}  // namespace kestrel
