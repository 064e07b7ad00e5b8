#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "tests/platform/gdi/GdiTestSupport.h"

namespace kestrel::platform {
namespace {

using testing::Canvas;
using testing::kBlack;
using testing::kBlue;
using testing::kRed;
using testing::kWhite;

struct DibInfo {
  BITMAPINFOHEADER header;
  RGBQUAD colors[256];
};

DibInfo MakeInfo(int width, int height, int bitCount) {
  DibInfo info{};
  info.header.biWidth = width;
  info.header.biHeight = height;
  info.header.biBitCount = static_cast<WORD>(bitCount);
  // A table with red at 1 and blue at 2 (for 1 bit: black, red).
  info.colors[1] = RGBQUAD{0, 0, 255, 0};
  if (bitCount > 1) info.colors[2] = RGBQUAD{255, 0, 0, 0};
  for (int i = 3; i < 256; ++i) info.colors[i] = RGBQUAD{BYTE(i), BYTE(i), BYTE(i), 0};
  return info;
}

// Reads pixel x of row y (0 = top) straight from DIB memory, as an index or a COLORREF.
unsigned RawPixel(const void* bits, const DIBSECTION& ds, int x, int y) {
  int row = ds.dsBmih.biHeight < 0 ? y : ds.dsBm.bmHeight - 1 - y;
  const auto* p = static_cast<const std::uint8_t*>(bits) + row * ds.dsBm.bmWidthBytes;
  switch (ds.dsBm.bmBitsPixel) {
    case 1: return (p[x / 8] >> (7 - x % 8)) & 1;
    case 4: return (p[x / 2] >> (x % 2 ? 0 : 4)) & 0xF;
    case 8: return p[x];
    case 16: return p[2 * x] | (p[2 * x + 1] << 8);
    case 24: return RGB(p[3 * x + 2], p[3 * x + 1], p[3 * x]);
    default: return RGB(p[4 * x + 2], p[4 * x + 1], p[4 * x]);
  }
}

TEST(Bitmap, DibSectionsAtEveryDepthAndDirectionStayCoherentWithGdi) {
  for (int bitCount : {1, 4, 8, 16, 24, 32}) {
    for (int direction : {1, -1}) {
      SCOPED_TRACE(::testing::Message() << bitCount << " bpp, height sign " << direction);
      DibInfo info = MakeInfo(13, 5 * direction, bitCount);
      void* bits = nullptr;
      HBITMAP bitmap =
          CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
      ASSERT_NE(bitmap, nullptr);
      ASSERT_NE(bits, nullptr);
      DIBSECTION ds{};
      ASSERT_EQ(GetObject(bitmap, sizeof ds, &ds), static_cast<int>(sizeof ds));
      EXPECT_EQ(ds.dsBm.bmWidth, 13);
      EXPECT_EQ(ds.dsBm.bmHeight, 5);
      EXPECT_EQ(ds.dsBm.bmBitsPixel, bitCount);
      EXPECT_EQ(ds.dsBm.bmWidthBytes, ((13 * bitCount + 31) / 32) * 4);
      EXPECT_EQ(ds.dsBm.bmBits, bits);
      EXPECT_EQ(ds.dsBmih.biHeight, 5 * direction);

      HDC dc = CreateCompatibleDC(nullptr);
      HGDIOBJ old = SelectObject(dc, bitmap);
      // GDI → bits: a red rectangle lands in memory at the right rows.
      HBRUSH red = CreateSolidBrush(kRed);
      RECT r{2, 1, 5, 2};
      FillRect(dc, &r, red);
      unsigned expectedRed = bitCount <= 8 ? 1u : bitCount == 16 ? 0x7C00u : kRed;
      EXPECT_EQ(RawPixel(bits, ds, 2, 1), expectedRed);
      EXPECT_EQ(RawPixel(bits, ds, 4, 1), expectedRed);
      EXPECT_NE(RawPixel(bits, ds, 5, 1), expectedRed);
      EXPECT_NE(RawPixel(bits, ds, 2, 0), expectedRed);

      // Bits → GDI: a pixel written to memory is what GetPixel sees next.
      int row = direction < 0 ? 3 : 5 - 1 - 3;
      auto* p = static_cast<std::uint8_t*>(bits) + row * ds.dsBm.bmWidthBytes;
      COLORREF written = kBlue;
      switch (bitCount) {
        case 1:
          p[0] |= 0x80;
          written = kRed;
          break;                     // index 1
        case 4: p[0] = 0x20; break;  // index 2
        case 8: p[0] = 2; break;
        case 16:
          p[0] = 0x1F;
          p[1] = 0;
          break;
        case 24:
          p[0] = 255;
          p[1] = 0;
          p[2] = 0;
          break;
        default:
          p[0] = 255;
          p[1] = 0;
          p[2] = 0;
          p[3] = 255;
          break;
      }
      EXPECT_EQ(GetPixel(dc, 0, 3), written);
      // Colours the depth cannot hold come back as their nearest representable colour.
      COLORREF set = SetPixel(dc, 12, 4, RGB(250, 3, 4));
      EXPECT_EQ(GetPixel(dc, 12, 4), set);
      if (bitCount >= 24) {
        EXPECT_EQ(set, RGB(250, 3, 4));
      }

      SelectObject(dc, old);
      DeleteDC(dc);
      DeleteObject(red);
      EXPECT_TRUE(DeleteObject(bitmap));
    }
  }
}

TEST(Bitmap, LargerHeadersPlaceMasksAndColourTablesAfterThemselves) {
  // A 124-byte header with 16-bit 5-6-5 masks inside it.
  struct {
    BITMAPINFOHEADER header;
    DWORD masks[3];
    std::uint8_t rest[124 - 52];
  } v5{};
  v5.header.biSize = 124;
  v5.header.biWidth = 1;
  v5.header.biHeight = -1;
  v5.header.biBitCount = 16;
  v5.header.biCompression = BI_BITFIELDS;
  v5.masks[0] = 0xF800;
  v5.masks[1] = 0x07E0;
  v5.masks[2] = 0x001F;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&v5), DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_NE(bitmap, nullptr);
  *static_cast<std::uint16_t*>(bits) = 0x07E0;
  HDC dc = CreateCompatibleDC(nullptr);
  SelectObject(dc, bitmap);
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0, 255, 0));
  DeleteDC(dc);
  DeleteObject(bitmap);
}

TEST(Bitmap, BadDibAndBitmapRequestsFail) {
  DibInfo info = MakeInfo(4, 4, 32);
  void* bits = reinterpret_cast<void*>(1);
  for (auto mutate : std::vector<void (*)(DibInfo&)>{
           [](DibInfo& i) { i.header.biWidth = 0; }, [](DibInfo& i) { i.header.biWidth = -4; },
           [](DibInfo& i) { i.header.biHeight = 0; }, [](DibInfo& i) { i.header.biBitCount = 7; },
           [](DibInfo& i) { i.header.biCompression = 1; },  // RLE is not supported
           [](DibInfo& i) { i.header.biWidth = 100000; }, [](DibInfo& i) { i.header.biSize = 12; }}) {
    DibInfo bad = info;
    mutate(bad);
    EXPECT_EQ(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&bad), DIB_RGB_COLORS, &bits, nullptr, 0),
              nullptr);
    EXPECT_EQ(bits, nullptr);
  }
  EXPECT_EQ(CreateDIBSection(nullptr, nullptr, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
  EXPECT_EQ(CreateBitmap(-1, 5, 1, 32, nullptr), nullptr);
  EXPECT_EQ(CreateBitmap(40000, 40000, 1, 32, nullptr), nullptr);
  EXPECT_EQ(CreateCompatibleBitmap(reinterpret_cast<HDC>(1234), 4, 4), nullptr);
}

TEST(Bitmap, CompatibleBitmapsFollowTheDcAndZeroSizeGivesTheStockBitmap) {
  HDC fresh = CreateCompatibleDC(nullptr);
  HBITMAP mono = CreateCompatibleBitmap(fresh, 8, 8);  // fresh memory DC: monochrome, as on Windows
  BITMAP bm{};
  GetObject(mono, sizeof bm, &bm);
  EXPECT_EQ(bm.bmBitsPixel, 1);
  EXPECT_EQ(bm.bmWidthBytes, 2);
  HBITMAP colour = CreateCompatibleBitmap(nullptr, 8, 8);
  GetObject(colour, sizeof bm, &bm);
  EXPECT_EQ(bm.bmBitsPixel, 32);
  HBITMAP empty = CreateCompatibleBitmap(nullptr, 0, 5);
  GetObject(empty, sizeof bm, &bm);
  EXPECT_EQ(bm.bmWidth, 1);
  EXPECT_EQ(bm.bmBitsPixel, 1);
  EXPECT_TRUE(DeleteObject(empty));
  EXPECT_EQ(GetObjectType(empty), OBJ_BITMAP) << "the stock bitmap survives";

  // Drawing on a monochrome bitmap reduces colours to black and white.
  HGDIOBJ old = SelectObject(fresh, mono);
  EXPECT_EQ(SetPixel(fresh, 0, 0, RGB(200, 200, 200)), kWhite);
  EXPECT_EQ(SetPixel(fresh, 1, 0, RGB(100, 20, 20)), kBlack);
  EXPECT_EQ(GetPixel(fresh, 0, 0), kWhite);
  SelectObject(fresh, old);
  DeleteObject(mono);
  DeleteObject(colour);
  DeleteDC(fresh);
}

TEST(Bitmap, GetAndSetDibitsRoundTripEveryDepth) {
  Canvas canvas(6, 3);
  SetPixel(canvas.dc, 0, 0, kRed);
  SetPixel(canvas.dc, 5, 2, kBlue);
  SetPixel(canvas.dc, 3, 1, kBlack);
  for (int bitCount : {1, 4, 8, 16, 24, 32}) {
    SCOPED_TRACE(bitCount);
    DibInfo info{};
    info.header.biWidth = 6;
    info.header.biHeight = 3;
    info.header.biBitCount = static_cast<WORD>(bitCount);
    std::vector<std::uint8_t> bits(6 * 4 * 3);  // room for the widest (32-bit) rows
    ASSERT_EQ(
        GetDIBits(canvas.dc, canvas.bitmap, 0, 3, bits.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS),
        3);
    if (bitCount <= 8) {
      EXPECT_EQ(info.header.biClrUsed, 1u << bitCount);
    }

    Canvas copy(6, 3, kBlack);
    ASSERT_EQ(SetDIBits(copy.dc, copy.bitmap, 0, 3, bits.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS),
              3);
    if (bitCount >= 4) {  // the 16-colour table holds red, blue, black and white exactly
      EXPECT_EQ(copy.At(0, 0), kRed);
      EXPECT_EQ(copy.At(5, 2), kBlue);
    }
    EXPECT_EQ(copy.At(3, 1), kBlack);
    EXPECT_EQ(copy.At(1, 1), kWhite);
  }
  // Asking for the header only.
  DibInfo query{};
  EXPECT_NE(GetDIBits(canvas.dc, canvas.bitmap, 0, 0, nullptr, reinterpret_cast<BITMAPINFO*>(&query), DIB_RGB_COLORS),
            0);
  EXPECT_EQ(query.header.biWidth, 6);
  EXPECT_EQ(query.header.biHeight, 3);
  EXPECT_EQ(query.header.biBitCount, 32);
  EXPECT_EQ(query.header.biSizeImage, 72u);
  // Lines beyond the bitmap are not copied.
  std::vector<std::uint8_t> bits(256);
  DibInfo info = MakeInfo(6, 3, 32);
  EXPECT_EQ(
      GetDIBits(canvas.dc, canvas.bitmap, 2, 10, bits.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS), 1);
  EXPECT_EQ(
      GetDIBits(canvas.dc, canvas.bitmap, 3, 1, bits.data(), reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS), 0);
}

TEST(Bitmap, ColorTablesAreClippedToTheDepthAndRecolourThePixels) {
  DibInfo info = MakeInfo(4, -2, 4);
  info.header.biClrUsed = 16;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC dc = CreateCompatibleDC(nullptr);
  SelectObject(dc, bitmap);
  static_cast<std::uint8_t*>(bits)[0] = 0x12;  // pixels 0 and 1: indexes 1 and 2
  std::vector<RGBQUAD> table(40, RGBQUAD{0, 255, 0, 0});
  EXPECT_EQ(SetDIBColorTable(dc, 0, 40, table.data()), 16u);
  EXPECT_EQ(SetDIBColorTable(dc, 16, 1, table.data()), 0u);
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0, 255, 0));
  std::vector<RGBQUAD> out(20);
  EXPECT_EQ(GetDIBColorTable(dc, 10, 20, out.data()), 6u);
  EXPECT_EQ(GetNearestColor(dc, RGB(10, 240, 10)), RGB(0, 255, 0));
  DeleteDC(dc);
  DeleteObject(bitmap);
}

TEST(Blit, SrcCopyMovesPixelsBetweenDcsThroughOriginsAndClips) {
  Canvas source(6, 6);
  Canvas dest(6, 6);
  SetPixel(source.dc, 1, 1, kRed);
  SetPixel(source.dc, 2, 2, kBlue);
  SetViewportOrgEx(dest.dc, 1, 0, nullptr);
  ASSERT_TRUE(BitBlt(dest.dc, 0, 0, 3, 3, source.dc, 1, 1, SRCCOPY));
  EXPECT_EQ(dest.At(1, 0), kRed);
  EXPECT_EQ(dest.At(2, 1), kBlue);
  EXPECT_EQ(dest.Count(kRed) + dest.Count(kBlue), 2);

  // SRCCOPY keeps the alpha byte of 32-bit pixels.
  static_cast<std::uint32_t*>(source.bits)[0] = 0x80402010u;
  SetViewportOrgEx(dest.dc, 0, 0, nullptr);
  BitBlt(dest.dc, 5, 5, 1, 1, source.dc, 0, 0, SRCCOPY);
  EXPECT_EQ(static_cast<std::uint32_t*>(dest.bits)[5 * 6 + 5], 0x80402010u);

  // A blit onto itself reads the pixels as they were before it started.
  Canvas self(5, 1);
  SetPixel(self.dc, 0, 0, kRed);
  SetPixel(self.dc, 1, 0, kBlue);
  BitBlt(self.dc, 1, 0, 4, 1, self.dc, 0, 0, SRCCOPY);
  EXPECT_EQ(self.At(1, 0), kRed);
  EXPECT_EQ(self.At(2, 0), kBlue);

  // Destination clip and source bounds limit what is written.
  Canvas clipped(6, 6);
  IntersectClipRect(clipped.dc, 0, 0, 2, 6);
  BitBlt(clipped.dc, 0, 0, 6, 6, source.dc, -3, 0, SRCCOPY);
  EXPECT_EQ(clipped.Count(kWhite), 36) << "source columns -3..-1 do not exist; 0.. is clipped";
}

TEST(Blit, MonochromeAndColourConvertByTextAndBackgroundColours) {
  HDC monoDc = CreateCompatibleDC(nullptr);
  HBITMAP mono = CreateBitmap(2, 1, 1, 1, "\x80\x00");  // pixel 0 white (1), pixel 1 black (0)
  SelectObject(monoDc, mono);
  Canvas colour(2, 1);
  SetTextColor(colour.dc, kRed);
  SetBkColor(colour.dc, kBlue);
  BitBlt(colour.dc, 0, 0, 2, 1, monoDc, 0, 0, SRCCOPY);
  EXPECT_EQ(colour.At(0, 0), kBlue) << "1 bits take the destination's background colour";
  EXPECT_EQ(colour.At(1, 0), kRed) << "0 bits take the destination's text colour";

  // Colour to monochrome: the source background colour becomes white, the rest black.
  SetBkColor(colour.dc, kRed);
  BitBlt(monoDc, 0, 0, 2, 1, colour.dc, 0, 0, SRCCOPY);
  EXPECT_EQ(GetPixel(monoDc, 0, 0), kBlack);
  EXPECT_EQ(GetPixel(monoDc, 1, 0), kWhite);
  DeleteDC(monoDc);
  DeleteObject(mono);
}

// The classic transparent stretch: a monochrome mask of the key colour, then SRCINVERT,
// SRCAND with the mask, SRCINVERT again. Key pixels leave the destination as it was.
TEST(Blit, MaskIdiomCopiesEverythingButTheKeyColour) {
  Canvas image(2, 1, kRed);
  SetPixel(image.dc, 1, 0, RGB(0, 255, 0));  // the key
  HDC maskDc = CreateCompatibleDC(nullptr);
  HBITMAP mask = CreateBitmap(2, 1, 1, 1, nullptr);
  HGDIOBJ old = SelectObject(maskDc, mask);
  SetBkColor(image.dc, RGB(0, 255, 0));
  BitBlt(maskDc, 0, 0, 2, 1, image.dc, 0, 0, SRCCOPY);
  EXPECT_EQ(GetPixel(maskDc, 1, 0), kWhite);
  EXPECT_EQ(GetPixel(maskDc, 0, 0), kBlack);

  Canvas dest(4, 2, kBlue);
  SetTextColor(dest.dc, kBlack);
  SetBkColor(dest.dc, kWhite);
  StretchBlt(dest.dc, 0, 0, 4, 2, image.dc, 0, 0, 2, 1, SRCINVERT);
  StretchBlt(dest.dc, 0, 0, 4, 2, maskDc, 0, 0, 2, 1, SRCAND);
  StretchBlt(dest.dc, 0, 0, 4, 2, image.dc, 0, 0, 2, 1, SRCINVERT);
  EXPECT_EQ(dest.Mask({0, 0, 4, 2}, kRed), "##..|##..");
  EXPECT_EQ(dest.Mask({0, 0, 4, 2}, kBlue), "..##|..##");
  SelectObject(maskDc, old);
  DeleteDC(maskDc);
  DeleteObject(mask);
}

}  // namespace
}  // namespace kestrel::platform
