// The PNG image as a graphic of the framework: found by pictures through its extension and drawn
// onto canvases in its three transparency modes.

#include <gtest/gtest.h>

#include <fstream>

#include "PngTestUtil.h"
#include "framework/Bitmap.h"
#include "framework/Picture.h"
#include "imaging/PngObject.h"
#include "tests/platform/gdi/GdiTestSupport.h"
#include "tests/support/TestEnvironment.h"

namespace kestrel {
namespace {

using platform::COLORREF;
using platform::RGB;
using platform::testing::Canvas;

constexpr COLORREF kPaper = RGB(10, 20, 30);

void Load(TVnPNGObject& png, const PngFileBuilder& file) {
  png.LoadFromMemory(file.Bytes().data(), file.Bytes().size());
}

void WriteFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A two-pixel palette image showing entries 0 and 1 of `plte`, with the tRNS values `trns`.
void LoadTwoEntries(TVnPNGObject& png, const std::vector<std::uint8_t>& plte, const std::vector<std::uint8_t>& trns) {
  Load(png, PngFileBuilder().Header(2, 1, 8, 3).Chunk("PLTE", plte).Chunk("tRNS", trns).ImageData({0, 0, 1}).End());
}

// Draws `png` into `rect` of `canvas`.
void DrawOn(Canvas& canvas, TVnPNGObject& png, const TRect& rect) {
  TCanvas target;
  target.SetHandle(canvas.dc);
  png.Draw(&target, rect);
  target.SetHandle(nullptr);
}

TEST(PngGraphic, PicturesLoadPngFilesThroughTheFrameworkRegistration) {
  EXPECT_EQ(TGraphic::ClassForExtension(u".png"), &TVnPNGObject::StaticClass());
  EXPECT_NE(TGraphic::GraphicFilter().find(u"Portable Network Graphics (*.png)|*.png"), String::npos);

  testing::TempDir dir;
  WriteFile(dir / "three.PNG", PngFileBuilder().Header(3, 1, 8, 0).ImageData({0, 1, 2, 3}).End().Bytes());
  WriteFile(dir / "broken.png", PngFileBuilder().Header(3, 1, 8, 0).End().Bytes());
  TPicture picture;
  int changes = 0;
  picture.OnChange = [&](TObject*) { ++changes; };
  picture.LoadFromFile(Utf8ToUtf16((dir / "three.PNG").string()));
  auto* png = dynamic_cast<TVnPNGObject*>(picture.Graphic());
  ASSERT_NE(png, nullptr);
  EXPECT_EQ(picture.Width(), 3);
  EXPECT_EQ(picture.Height(), 1);
  EXPECT_EQ(changes, 1);
  // Bad data raises the decoder's error and the picture keeps what it had.
  EXPECT_THROW(picture.LoadFromFile(Utf8ToUtf16((dir / "broken.png").string())), EVnPNGError);
  EXPECT_EQ(picture.Graphic(), png);
  EXPECT_EQ(picture.Width(), 3);

  // Pictures write PNG files that read back; the width changes the canvas size.
  png->SetWidth(5);
  EXPECT_EQ(png->Width(), 5);
  picture.SaveToFile(Utf8ToUtf16((dir / "five.png").string()));
  TPicture reread;
  reread.LoadFromFile(Utf8ToUtf16((dir / "five.png").string()));
  EXPECT_EQ(reread.Width(), 5);
}

TEST(PngGraphic, PicturesCopyPngImagesIndependently) {
  TVnPNGObject original;
  Load(original, PngFileBuilder()
                     .Header(2, 1, 8, 6)
                     .Chunk("gAMA", BigEndian32(50000))
                     .ImageData({0, 200, 100, 50, 128, 1, 2, 3, 255})
                     .End());
  original.SetCompressionLevel(3);
  TPicture picture;
  picture.SetGraphic(&original);
  auto* copy = dynamic_cast<TVnPNGObject*>(picture.Graphic());
  ASSERT_NE(copy, nullptr);
  ASSERT_NE(copy, &original);
  EXPECT_EQ(copy->Chunks().Count(), original.Chunks().Count());
  EXPECT_EQ(copy->CompressionLevel(), 3);
  EXPECT_EQ(copy->GammaTable, original.GammaTable);
  EXPECT_EQ(copy->TransparencyMode(), ptmPartial);
  EXPECT_EQ(copy->GetPixelColor(0, 0), original.GetPixelColor(0, 0));
  EXPECT_EQ(copy->Header()->AlphaScanline(0)[0], 128);
  // The copy owns its pixels.
  const COLORREF second = original.GetPixelColor(1, 0);
  copy->SetPixelColor(1, 0, RGB(9, 9, 9));
  EXPECT_EQ(copy->GetPixelColor(1, 0), RGB(9, 9, 9));
  EXPECT_EQ(original.GetPixelColor(1, 0), second);
  TBitmap bitmap;
  original.Assign(&bitmap);
  EXPECT_TRUE(original.Empty()) << "an empty bitmap gives an empty image";
}

TEST(PngGraphic, OpaqueAndBitTransparentImagesStretchIntoTheRectangle) {
  TVnPNGObject rgb;
  Load(rgb, PngFileBuilder().Header(2, 1, 8, 2).ImageData({0, 200, 100, 50, 1, 2, 3}).End());
  Canvas canvas(6, 4, kPaper);
  DrawOn(canvas, rgb, {1, 1, 5, 3});
  EXPECT_EQ(canvas.Mask({0, 0, 6, 4}, RGB(200, 100, 50)), "......|.##...|.##...|......");
  EXPECT_EQ(canvas.Mask({0, 0, 6, 4}, RGB(1, 2, 3)), "......|...##.|...##.|......");

  // Palette entry 0 is fully transparent: its pixels leave the canvas as it was.
  TVnPNGObject keyed;
  LoadTwoEntries(keyed, {9, 9, 9, 250, 0, 0}, {0});
  ASSERT_EQ(keyed.TransparencyMode(), ptmBit);
  Canvas keyedCanvas(6, 4, kPaper);
  DrawOn(keyedCanvas, keyed, {0, 0, 4, 2});
  EXPECT_EQ(keyedCanvas.Mask({0, 0, 6, 4}, RGB(250, 0, 0)), "..##..|..##..|......|......");
  EXPECT_EQ(keyedCanvas.Count(kPaper), 20);
}

TEST(PngGraphic, PartialTransparencyBlendsEachPixelOverTheCanvas) {
  // (s × a + d × (255 − a) + 255) >> 8 per channel; alpha 0 leaves the canvas alone.
  const COLORREF half =
      RGB((255 * 128 + 10 * 127 + 255) >> 8, (255 * 128 + 20 * 127 + 255) >> 8, (255 * 128 + 30 * 127 + 255) >> 8);
  TVnPNGObject rgba;
  Load(rgba, PngFileBuilder().Header(2, 1, 8, 6).ImageData({0, 255, 255, 255, 128, 90, 90, 90, 0}).End());
  ASSERT_EQ(rgba.TransparencyMode(), ptmPartial);
  Canvas canvas(6, 4, kPaper);
  DrawOn(canvas, rgba, {1, 1, 5, 3});
  EXPECT_EQ(canvas.Mask({0, 0, 6, 4}, half), "......|.##...|.##...|......");
  EXPECT_EQ(canvas.Count(kPaper), 20);

  // A palette entry with a tRNS value of 64, and one without a value (opaque).
  TVnPNGObject palette;
  LoadTwoEntries(palette, {200, 0, 100, 0, 250, 0}, {64});
  ASSERT_EQ(palette.TransparencyMode(), ptmPartial);
  Canvas paletteCanvas(2, 1, kPaper);
  DrawOn(paletteCanvas, palette, {0, 0, 2, 1});
  EXPECT_EQ(paletteCanvas.At(0, 0),
            RGB((200 * 64 + 10 * 191 + 255) >> 8, (20 * 191 + 255) >> 8, (100 * 64 + 30 * 191 + 255) >> 8));
  EXPECT_EQ(paletteCanvas.At(1, 0), RGB(0, 250, 0));

  // Inverted and empty rectangles, and an empty image, draw nothing.
  Canvas untouched(6, 4, kPaper);
  DrawOn(untouched, rgba, {5, 3, 1, 1});
  DrawOn(untouched, rgba, {2, 2, 2, 4});
  TVnPNGObject empty;
  DrawOn(untouched, empty, {0, 0, 6, 4});
  EXPECT_EQ(untouched.Count(kPaper), 24);
}

}  // namespace
}  // namespace kestrel
