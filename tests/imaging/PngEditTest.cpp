// Creating, converting and editing PNG images, checked pixel by pixel.

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

#include "PngTestUtil.h"
#include "framework/Bitmap.h"
#include "imaging/PngObject.h"
#include "imaging/internal/PngAlphaBlendFilter.h"
#include "platform/gdi/Gdi.h"
#include "platform/os/GlobalMemory.h"
#include "platform/window/Clipboard.h"
#include "tests/platform/gdi/GdiTestSupport.h"

namespace kestrel {
namespace {

using platform::RGB;

// A w x h RGB + alpha image whose pixel (x, y) has red x, green y, blue 7 and alpha 100 + x + y.
void MakeNumbered(TVnPNGObject& png, int w, int h) {
  png.CreateBlank(COLOR_RGBALPHA, 8, w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      png.SetPixelColor(x, y, RGB(x, y, 7));
      png.Header()->AlphaScanline(y)[x] = static_cast<std::uint8_t>(100 + x + y);
    }
}

std::string Describe(const TVnPNGObject& png) {
  std::string out;
  for (int y = 0; y < png.Height(); ++y) {
    if (y) out += '|';
    for (int x = 0; x < png.Width(); ++x) {
      PixelRGBA p = ResolvePixel(png, x, y);
      out += p.a == 0 ? std::string("--") : std::to_string(p.r) + std::to_string(p.g);
      out += ' ';
    }
  }
  return out;
}

TEST(PngCreate, BlankImagesOfEveryAcceptedKindAndOrderlyRefusals) {
  struct Case {
    int type, depth, heldDepth, plteCount;
  };
  for (Case c : {Case{0, 1, 1, 0}, Case{0, 2, 4, 0}, Case{0, 16, 16, 0}, Case{2, 16, 16, 0}, Case{3, 2, 4, 16},
                 Case{3, 8, 8, 256}, Case{4, 8, 8, 0}, Case{6, 16, 16, 0}}) {
    TVnPNGObject png;
    png.CreateBlank(static_cast<std::uint8_t>(c.type), static_cast<std::uint8_t>(c.depth), 10, 3);
    EXPECT_EQ(png.Header()->BitDepth(), c.heldDepth) << c.type << "/" << c.depth;
    auto* plte = png.Chunks().ItemFromClass<TVnPNGChunkPLTE>();
    EXPECT_EQ(plte ? plte->Count() : 0, c.plteCount) << c.type << "/" << c.depth;
    EXPECT_EQ(png.Chunks().Count(), c.plteCount ? 4 : 3);
    if (png.Header()->ImageAlpha()) {
      EXPECT_EQ(png.Header()->ImageAlpha()[29], 0);
    }
  }
  for (auto [type, depth, cx] :
       {std::tuple{3, 16, 5}, {2, 4, 5}, {4, 4, 5}, {6, 1, 5}, {1, 8, 5}, {0, 3, 5}, {0, 8, 0}, {0, 8, 65536}}) {
    TVnPNGObject png;
    EXPECT_THROW(png.CreateBlank(static_cast<std::uint8_t>(type), static_cast<std::uint8_t>(depth), cx, 5),
                 EVnPNGInvalidSpec)
        << type << "/" << depth;
  }
}

TEST(PngCreate, TransparentColourByColourType) {
  TVnPNGObject palette;
  palette.CreateBlank(COLOR_PALETTE, 8, 2, 2);
  const platform::COLORREF fifth = palette.Chunks().ItemFromClass<TVnPNGChunkPLTE>()->Item(5);
  palette.SetTransparentColor(fifth);
  auto* trns = palette.Chunks().ItemFromClass<TVnPNGChunktRNS>();
  EXPECT_EQ(trns->Data(), (std::vector<std::uint8_t>{255, 255, 255, 255, 255, 0}));
  EXPECT_EQ(palette.TransparencyMode(), ptmBit);
  EXPECT_EQ(palette.TransparentColor(), fifth);
  // A colour no entry has makes nothing transparent (not entry 0).
  TVnPNGObject other;
  other.CreateBlank(COLOR_PALETTE, 1, 2, 2);
  other.SetTransparentColor(RGB(1, 2, 3));
  EXPECT_EQ(other.TransparencyMode(), ptmNone);

  struct Case {
    int type, depth;
    std::vector<std::uint8_t> data;
  };
  for (const Case& c : {Case{0, 8, {0, 0x80}}, Case{0, 4, {0, 8}}, Case{0, 1, {0, 1}}, Case{0, 16, {0x80, 0x80}},
                        Case{2, 8, {0, 0x80, 0, 0x40, 0, 0x20}}, Case{2, 16, {0x80, 0x80, 0x40, 0x40, 0x20, 0x20}}}) {
    TVnPNGObject png;
    png.CreateBlank(static_cast<std::uint8_t>(c.type), static_cast<std::uint8_t>(c.depth), 2, 2);
    png.SetTransparentColor(RGB(0x80, 0x40, 0x20));
    EXPECT_EQ(png.Chunks().ItemFromClass<TVnPNGChunktRNS>()->Data(), c.data) << c.type << "/" << c.depth;
    EXPECT_EQ(png.TransparencyMode(), ptmBit);
  }
  TVnPNGObject alpha;
  alpha.CreateBlank(COLOR_RGBALPHA, 8, 2, 2);
  EXPECT_THROW(alpha.SetTransparentColor(0), EVnPNGCannotChangeTransparent);
}

TEST(PngEdit, ResizeKeepsTheTopLeftAndPadsWithZeroAndOpaqueAlpha) {
  TVnPNGObject png;
  MakeNumbered(png, 3, 2);
  png.Resize(4, 3);
  EXPECT_EQ(Describe(png), "00 10 20 00 |01 11 21 00 |00 00 00 00 ");
  EXPECT_EQ(png.Header()->AlphaScanline(0)[3], 255);
  EXPECT_EQ(png.Header()->AlphaScanline(1)[1], 102);
  png.Resize(1, 1);
  EXPECT_EQ(Describe(png), "00 ");
  EXPECT_THROW(png.Resize(0, 5), EVnPNGInvalidNewSize);
}

TEST(PngEdit, RotateByEachRightAngleAndIntoTheBoundingSize) {
  struct Case {
    double angle;
    const char* pixels;
  };
  for (const Case& c : {Case{0, "00 10 20 |01 11 21 "}, Case{90, "01 00 |11 10 |21 20 "},
                        Case{180, "21 11 01 |20 10 00 "}, Case{270, "20 21 |10 11 |00 01 "}}) {
    TVnPNGObject png;
    MakeNumbered(png, 3, 2);
    TPoint center;
    png.Rotate(c.angle, TPoint{0, 0}, center);
    EXPECT_EQ(Describe(png), c.pixels) << c.angle;
  }
  TVnPNGObject png;
  MakeNumbered(png, 20, 10);
  TPoint center;
  png.Rotate(45, TPoint{20, 5}, center);  // the middle of the right edge
  EXPECT_EQ(png.Width(), 21);             // round(sin 45 x 10 + cos 45 x 20)
  EXPECT_EQ(png.Height(), 21);
  EXPECT_EQ(center.x, 18);  // 10.5 + 10 cos 45
  EXPECT_EQ(center.y, 18);
  EXPECT_EQ(ResolvePixel(png, 0, 0).a, 0);  // a corner the rotated image does not cover
}

TEST(PngEdit, CopyRectAndMaskRectPlaceAndClip) {
  TVnPNGObject source, target;
  MakeNumbered(source, 3, 2);
  target.CreateBlank(COLOR_RGBALPHA, 8, 3, 3);
  target.CopyRect(TRect{1, 1, 3, 3}, source, TRect{1, 0, 3, 2});
  EXPECT_EQ(Describe(target), "-- -- -- |-- 10 20 |-- 11 21 ");
  // Placed partly outside: only what lands inside is copied.
  target.CopyRect(TRect{-1, 2, 1, 3}, source, TRect{0, 0, 3, 2});
  EXPECT_EQ(ResolvePixel(target, 0, 2).r, 1);
  TVnPNGObject gray;
  gray.CreateBlank(COLOR_GRAYSCALE, 4, 3, 3);
  EXPECT_THROW(target.CopyRect(TRect{}, gray, TRect{0, 0, 1, 1}), EVnPNGDifferentBitDepth);
  EXPECT_THROW(target.CopyRect(TRect{}, source, TRect{0, 0, 4, 1}), EVnPNGInvalidSourceSize);

  TVnPNGObject mask;
  mask.CreateBlank(COLOR_RGBALPHA, 8, 2, 1);
  mask.Header()->AlphaScanline(0)[0] = 9;
  mask.Header()->AlphaScanline(0)[1] = 8;
  target.MaskRect(TRect{2, 0, 0, 0}, mask);  // the second byte would land beyond the row
  EXPECT_EQ(target.Header()->AlphaScanline(0)[2], 9);
  EXPECT_EQ(target.Header()->AlphaScanline(1)[0], 0);
  EXPECT_THROW(target.MaskRect(TRect{}, gray), EVnPNGDifferentBitDepth);
  TVnPNGObject big;
  big.CreateBlank(COLOR_RGBALPHA, 8, 4, 1);
  EXPECT_THROW(target.MaskRect(TRect{}, big), EVnPNGInvalidSourceSize);
}

TEST(PngAlpha, CreateAlphaAndRemoveTransparencyKeepTheColours) {
  TVnPNGObject gray;
  gray.CreateBlank(COLOR_GRAYSCALE, 4, 2, 1);
  gray.SetPixelColor(1, 0, RGB(255, 255, 255));
  gray.CreateAlpha();
  EXPECT_EQ(gray.Header()->ColorType(), COLOR_GRAYSCALEALPHA);
  EXPECT_EQ(gray.Header()->BitDepth(), 8);  // PNG has no gray + alpha below 8 bits
  EXPECT_EQ(ResolvePixel(gray, 1, 0).r, 255);
  EXPECT_EQ(ResolvePixel(gray, 1, 0).a, 255);
  gray.RemoveTransparency();
  EXPECT_EQ(gray.Header()->ColorType(), COLOR_GRAYSCALE);
  EXPECT_EQ(gray.Header()->ImageAlpha(), nullptr);

  TVnPNGObject palette;
  palette.CreateBlank(COLOR_PALETTE, 4, 2, 1);
  palette.CreateAlpha();
  auto* trns = palette.Chunks().ItemFromClass<TVnPNGChunktRNS>();
  EXPECT_EQ(trns->Data(), std::vector<std::uint8_t>(16, 255));
  EXPECT_FALSE(trns->BitTransparency());
  palette.RemoveTransparency();
  EXPECT_EQ(palette.Chunks().ItemFromClass<TVnPNGChunktRNS>(), nullptr);
}

TEST(PngAlpha, BlendFilterScalesTheAlpha) {
  TVnPNGObject rgb;
  rgb.CreateBlank(COLOR_RGB, 8, 3, 2);
  TVnPNGAlphaBlendFilter filter;
  EXPECT_EQ(filter.AlphaPercent(), 100);
  filter.SetSourceImage(&rgb);
  filter.SetAlphaPercent(50);
  filter.SetAlphaPercent(101);  // ignored
  EXPECT_EQ(filter.AlphaPercent(), 50);
  TVnPNGObject* result = filter.ResultImage();
  EXPECT_EQ(result->Header()->ColorType(), COLOR_RGBALPHA);
  EXPECT_EQ(result->Header()->AlphaScanline(1)[2], 128);  // round(127.5), half to even

  TVnPNGObject rgba;
  MakeNumbered(rgba, 2, 1);  // alpha 100, 101
  filter.SetSourceImage(&rgba);
  EXPECT_EQ(filter.ResultImage()->Header()->AlphaScanline(0)[0], 50);
  EXPECT_EQ(filter.ResultImage()->Header()->AlphaScanline(0)[1], 50);  // round(50.5) = 50

  TVnPNGObject palette;
  palette.CreateBlank(COLOR_PALETTE, 8, 2, 1);
  filter.SetSourceImage(&palette);
  EXPECT_EQ(filter.ResultImage()->Chunks().ItemFromClass<TVnPNGChunktRNS>()->PaletteValues()[3], 128);
}

TEST(PngConvert, BitmapsInAndOut) {
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf32bit);
  bitmap.SetSize(2, 1);
  bitmap.ScanLine(0)[0] = 10;  // blue
  bitmap.ScanLine(0)[2] = 30;  // red
  bitmap.ScanLine(0)[3] = 40;  // alpha
  TVnPNGObject png;
  png.Assign(&bitmap);
  EXPECT_EQ(png.Header()->ColorType(), COLOR_RGBALPHA);
  EXPECT_EQ(png.GetPixelColor(0, 0), RGB(30, 0, 10));
  EXPECT_EQ(png.Header()->AlphaScanline(0)[0], 40);

  TBitmap back;
  png.AssignTo(&back);
  EXPECT_EQ(back.PixelFormat(), pf32bit);
  EXPECT_EQ(back.ScanLine(0)[2], 30);
  EXPECT_EQ(back.ScanLine(0)[3], 40);

  // An opaque 24-bit bitmap with a transparent colour becomes RGB with a tRNS key colour.
  TBitmap plain(2, 1);
  plain.SetPixelFormat(pf24bit);
  plain.SetTransparentColor(clRed);
  plain.SetTransparent(true);
  TVnPNGObject keyed;
  keyed.Assign(&plain);
  EXPECT_EQ(keyed.Header()->ColorType(), COLOR_RGB);
  EXPECT_EQ(keyed.TransparencyMode(), ptmBit);
  EXPECT_EQ(keyed.TransparentColor(), RGB(255, 0, 0));
  TBitmap keyedBack;
  keyed.AssignTo(&keyedBack);
  EXPECT_TRUE(keyedBack.Transparent());

  // A 32-bit bitmap whose alpha is never set is taken as opaque, not as invisible.
  bitmap.ScanLine(0)[3] = 0;
  png.Assign(&bitmap);
  EXPECT_EQ(png.Header()->AlphaScanline(0)[0], 255);

  TVnPNGObject copy;
  png.AssignTo(&copy);
  EXPECT_EQ(copy.GetPixelColor(0, 0), RGB(30, 0, 10));
}

TEST(PngConvert, CanvasClipboardAndPhysicalSize) {
  TVnPNGObject png;
  png.CreateBlank(COLOR_RGB, 8, 6, 4);
  TCanvas* canvas = png.Canvas();
  canvas->Brush()->SetColor(clRed);
  canvas->FillRect(TRect{1, 1, 3, 2});
  EXPECT_EQ(png.GetPixelColor(2, 1), RGB(255, 0, 0));
  EXPECT_EQ(png.GetPixelColor(3, 1), RGB(0, 0, 0));
  // Re-made images rebind the canvas instead of drawing into a freed DIB.
  png.Resize(8, 4);
  png.Canvas()->FillRect(TRect{7, 3, 8, 4});
  EXPECT_EQ(png.GetPixelColor(7, 3), RGB(255, 0, 0));

  png.SaveToClipboardFormat();
  TVnPNGObject pasted;
  pasted.LoadFromClipboardFormat();
  EXPECT_EQ(pasted.Width(), 8);
  EXPECT_EQ(pasted.GetPixelColor(2, 1), RGB(255, 0, 0));
  EXPECT_EQ(pasted.TransparencyMode(), ptmNone);

  // 2 x 96 dpi in pixels per metre draws at half size; a zero density at the image's own size.
  platform::testing::Canvas surface(20, 10, RGB(0, 0, 255));
  TCanvas target;
  target.SetHandle(surface.dc);
  auto* phys = png.PixelInformation();
  phys->SetPPUnitX(7559);
  phys->SetPPUnitY(7559);
  png.DrawUsingPixelInformation(&target, TPoint{0, 0});
  EXPECT_EQ(surface.Count(RGB(0, 0, 255)), 200 - 4 * 2);
  phys->SetPPUnitX(0);
  png.DrawUsingPixelInformation(&target, TPoint{10, 0});
  EXPECT_EQ(surface.Count(RGB(0, 0, 255)), 200 - 4 * 2 - 8 * 4);
  target.SetHandle(nullptr);
}

TEST(PngConvert, PaletteObjectsShowTheColourTable) {
  TVnPNGObject png;
  png.CreateBlank(COLOR_PALETTE, 4, 8, 4);
  platform::HPALETTE palette = png.Palette();
  ASSERT_NE(palette, nullptr);
  platform::PALETTEENTRY entries[16];
  EXPECT_EQ(platform::GetPaletteEntries(palette, 0, 16, entries), 16u);
  EXPECT_EQ(RGB(entries[5].peRed, entries[5].peGreen, entries[5].peBlue),
            png.Chunks().ItemFromClass<TVnPNGChunkPLTE>()->Item(5));
  TVnPNGObject rgb;
  rgb.CreateBlank(COLOR_RGB, 8, 1, 1);
  EXPECT_EQ(rgb.Palette(), nullptr);
}

}  // namespace
}  // namespace kestrel

namespace kestrel {
namespace {

using platform::RGB;

// Lowers the per-image memory cap for the length of a scope.
class MemoryCap {
 public:
  explicit MemoryCap(std::size_t bytes) : saved_(TVnPNGChunkIHDR::MaxImageBytes()) {
    TVnPNGChunkIHDR::SetMaxImageBytes(bytes);
  }
  ~MemoryCap() { TVnPNGChunkIHDR::SetMaxImageBytes(saved_); }

 private:
  std::size_t saved_;
};

TEST(PngEdit, OperationsThatFailAtTheMemoryCapLeaveTheImageAsItWas) {
  TVnPNGObject rgb;
  rgb.CreateBlank(COLOR_RGB, 8, 10, 10);  // 320 bytes of DIB
  rgb.SetPixelColor(9, 9, RGB(1, 2, 3));
  TVnPNGObject rgba;
  MakeNumbered(rgba, 10, 10);  // 420 bytes with its alpha plane
  const std::string numbered = Describe(rgba);
  {
    MemoryCap cap(400);
    EXPECT_THROW(rgb.Resize(100, 100), EVnPNGOutMemory);
    EXPECT_THROW(rgb.CreateAlpha(), EVnPNGOutMemory);
    TPoint center;
    EXPECT_THROW(rgba.Rotate(45, TPoint{5, 5}, center), EVnPNGOutMemory);
  }
  EXPECT_EQ(rgb.Width(), 10);
  EXPECT_EQ(rgb.Header()->Width(), 10u);
  EXPECT_EQ(rgb.Header()->ColorType(), COLOR_RGB);
  EXPECT_EQ(rgb.GetPixelColor(9, 9), RGB(1, 2, 3));
  EXPECT_EQ(rgb.SaveToBytes().empty(), false);
  EXPECT_EQ(rgba.Header()->Width(), 10u);
  EXPECT_EQ(Describe(rgba), numbered);
}

TEST(PngEdit, CreateAlphaTurnsTheTransparentColourIntoAlpha) {
  TVnPNGObject png;
  png.CreateBlank(COLOR_RGB, 8, 2, 1);
  png.SetPixelColor(0, 0, RGB(9, 9, 9));
  png.SetPixelColor(1, 0, RGB(0, 200, 0));
  png.SetTransparentColor(RGB(0, 200, 0));
  png.CreateAlpha();
  EXPECT_EQ(png.Chunks().ItemFromClass<TVnPNGChunktRNS>(), nullptr);
  EXPECT_EQ(png.Header()->ColorType(), COLOR_RGBALPHA);
  EXPECT_EQ(ResolvePixel(png, 0, 0).a, 255);
  EXPECT_EQ(ResolvePixel(png, 1, 0).a, 0);
}

TEST(PngEdit, CopyRectCarriesColoursBetweenPalettesAndTakesAnyRectangle) {
  const PngRGBQuad blackWhite[2] = {{0, 0, 0, 0}, {255, 255, 255, 0}};
  const PngRGBQuad whiteBlack[2] = {{255, 255, 255, 0}, {0, 0, 0, 0}};
  TVnPNGObject from, to;
  from.CreateBlank(COLOR_PALETTE, 1, 2, 2);
  from.Header()->SetPalette(blackWhite, 2);
  to.CreateBlank(COLOR_PALETTE, 1, 2, 2);
  to.Header()->SetPalette(whiteBlack, 2);
  from.SetPixelColor(1, 0, RGB(255, 255, 255));  // the rest is black
  to.CopyRect(TRect{0, 0, 2, 2}, from, TRect{0, 0, 2, 2});
  EXPECT_EQ(to.GetPixelColor(0, 0), RGB(0, 0, 0));
  EXPECT_EQ(to.GetPixelColor(1, 0), RGB(255, 255, 255));

  // Rectangles at the ends of the int range copy what overlaps, here nothing or one pixel.
  TVnPNGObject rgb, dot;
  rgb.CreateBlank(COLOR_RGB, 8, 4, 4);
  dot.CreateBlank(COLOR_RGB, 8, 2, 2);
  dot.SetPixelColor(0, 0, RGB(0, 0, 255));
  dot.SetPixelColor(1, 1, RGB(255, 0, 0));
  const int big = std::numeric_limits<int>::max(), small = std::numeric_limits<int>::min();
  rgb.CopyRect(TRect{big, big, big, big}, dot, TRect{0, 0, 2, 2});
  rgb.CopyRect(TRect{big - 1, 0, big, 2}, dot, TRect{0, 0, 2, 2});
  rgb.CopyRect(TRect{0, 0, 2, 2}, dot, TRect{small, small, small + 2, small + 2});
  rgb.CopyRect(TRect{small, small, 0, 0}, dot, TRect{0, 0, 2, 2});
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(rgb.GetPixelColor(x, y), RGB(0, 0, 0)) << x << "," << y;
  rgb.CopyRect(TRect{-1, -1, 1, 1}, dot, TRect{0, 0, 2, 2});
  EXPECT_EQ(rgb.GetPixelColor(0, 0), RGB(255, 0, 0));
  EXPECT_THROW(rgb.CopyRect(TRect{0, 0, 1, 1}, dot, TRect{small, 0, big, 1}), EVnPNGInvalidSourceSize);
}

// The slot index of a DC handle: the platform hands freed slots out again, last freed first.
std::uintptr_t DcSlot(platform::HDC dc) { return reinterpret_cast<std::uintptr_t>(dc) & 0xFFFFFF; }

TEST(PngEdit, AssignHandleThatRaisesReleasesItsMemoryDC) {
  platform::testing::Canvas palette(40, 40, RGB(255, 255, 255), 8);
  platform::testing::Canvas colour(40, 40, RGB(255, 255, 255), 32);
  for (platform::HBITMAP bitmap : {palette.bitmap, colour.bitmap}) {
    platform::HDC probe = platform::CreateCompatibleDC(nullptr);
    const std::uintptr_t freed = DcSlot(probe);
    platform::DeleteDC(probe);
    TVnPNGObject png;
    {
      MemoryCap cap(100);
      EXPECT_THROW(png.AssignHandle(bitmap, false, 0), EVnPNGOutMemory);
    }
    probe = platform::CreateCompatibleDC(nullptr);
    EXPECT_EQ(DcSlot(probe), freed) << "the DC AssignHandle made is still alive";
    platform::DeleteDC(probe);
  }
}

// Puts a packed DIB (header, then whatever follows) on the clipboard.
void PutDib(const std::vector<std::uint8_t>& dib) {
  platform::HGLOBAL block = platform::GlobalAlloc(platform::GHND, dib.size());
  std::memcpy(platform::GlobalLock(block), dib.data(), dib.size());
  platform::GlobalUnlock(block);
  ASSERT_TRUE(platform::OpenClipboard(nullptr));
  platform::EmptyClipboard();
  platform::SetClipboardData(platform::CF_DIB, block);
  platform::CloseClipboard();
}

// A 2 x 1 bottom-up DIB: a header of `headerSize` bytes, then `extra` (masks or colour table),
// then one row of `row` bytes.
std::vector<std::uint8_t> Dib(std::uint32_t headerSize, int bitCount, std::uint32_t compression,
                              std::uint32_t colorsUsed, const std::vector<std::uint8_t>& extra,
                              std::vector<std::uint8_t> row) {
  std::vector<std::uint8_t> dib(headerSize, 0);
  platform::BITMAPINFOHEADER header{};
  header.biSize = headerSize;
  header.biWidth = 2;
  header.biHeight = 1;
  header.biPlanes = 1;
  header.biBitCount = static_cast<std::uint16_t>(bitCount);
  header.biCompression = compression;
  header.biClrUsed = colorsUsed;
  std::memcpy(dib.data(), &header, sizeof header);
  if (headerSize > sizeof header && compression == platform::BI_BITFIELDS)
    std::memcpy(dib.data() + sizeof header, extra.data(), 12);  // masks inside larger headers
  else dib.insert(dib.end(), extra.begin(), extra.end());
  row.resize((row.size() + 3) / 4 * 4, 0);
  dib.insert(dib.end(), row.begin(), row.end());
  return dib;
}

TEST(PngConvert, ClipboardBitmapsOfEveryLayoutLoadWithTheirColours) {
  // Masks for 0x00RRGGBB words, little-endian.
  const std::vector<std::uint8_t> masks = {0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0};
  const std::vector<std::uint8_t> bgrx = {30, 20, 10, 0, 3, 2, 1, 0};
  const std::vector<std::uint8_t> twoColours = {255, 0, 0, 0, 0, 0, 255, 0};  // blue, red
  const std::vector<std::uint8_t> unusedTable = {7, 7, 7, 0};
  struct Case {
    const char* what;
    std::vector<std::uint8_t> dib;
  };
  const Case cases[] = {
      {"masks after the header", Dib(40, 32, platform::BI_BITFIELDS, 0, masks, bgrx)},
      {"masks inside a larger header", Dib(124, 32, platform::BI_BITFIELDS, 0, masks, bgrx)},
      {"a larger header", Dib(108, 24, platform::BI_RGB, 0, {}, {30, 20, 10, 3, 2, 1})},
      {"a colour table ahead of 24-bit pixels", Dib(40, 24, platform::BI_RGB, 1, unusedTable, {30, 20, 10, 3, 2, 1})},
  };
  for (const Case& c : cases) {
    PutDib(c.dib);
    TVnPNGObject png;
    png.LoadFromClipboardFormat();
    ASSERT_EQ(png.Width(), 2) << c.what;
    EXPECT_EQ(png.GetPixelColor(0, 0), RGB(10, 20, 30)) << c.what;
    EXPECT_EQ(png.GetPixelColor(1, 0), RGB(1, 2, 3)) << c.what;
  }
  PutDib(Dib(40, 8, platform::BI_RGB, 2, twoColours, {1, 0}));
  TVnPNGObject indexed;
  indexed.LoadFromClipboardFormat();
  EXPECT_EQ(indexed.GetPixelColor(0, 0), RGB(255, 0, 0));
  EXPECT_EQ(indexed.GetPixelColor(1, 0), RGB(0, 0, 255));
  // A block too short for the pixels its header promises is refused.
  std::vector<std::uint8_t> cut = Dib(40, 24, platform::BI_RGB, 0, {}, {1, 2, 3, 4, 5, 6});
  cut.resize(cut.size() - 4);
  PutDib(cut);
  EXPECT_THROW(indexed.LoadFromClipboardFormat(), EInvalidGraphic);
  EXPECT_EQ(indexed.Width(), 2);
  ASSERT_TRUE(platform::OpenClipboard(nullptr));
  platform::EmptyClipboard();
  platform::CloseClipboard();
}

}  // namespace
}  // namespace kestrel
