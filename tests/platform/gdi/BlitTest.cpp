#include <gtest/gtest.h>

#include <cstdint>

#include "tests/platform/gdi/GdiTestSupport.h"

namespace kestrel::platform {
namespace {

using testing::Canvas;
using testing::kBlack;
using testing::kBlue;
using testing::kRed;
using testing::kWhite;

// With pattern 0xF0, source 0xCC and destination 0xAA in every channel, a raster operation's
// result is its own index: the definition of the ternary codes.
TEST(Blit, EveryTernaryRopMatchesItsTruthTable) {
  Canvas source(1, 1, RGB(0xCC, 0xCC, 0xCC));
  Canvas dest(1, 1);
  HBRUSH pattern = CreateSolidBrush(RGB(0xF0, 0xF0, 0xF0));
  SelectObject(dest.dc, pattern);
  for (unsigned index = 0; index < 256; ++index) {
    dest.Clear(RGB(0xAA, 0xAA, 0xAA));
    ASSERT_TRUE(BitBlt(dest.dc, 0, 0, 1, 1, source.dc, 0, 0, index << 16));
    EXPECT_EQ(dest.At(0, 0), RGB(index, index, index)) << "rop index " << index;
  }
  // The named codes carry the right indexes.
  const std::pair<DWORD, unsigned> named[] = {
      {SRCCOPY, 0xCC},    {SRCPAINT, 0xEE},    {SRCAND, 0x88},    {SRCINVERT, 0x66},  {SRCERASE, 0x44},
      {NOTSRCCOPY, 0x33}, {NOTSRCERASE, 0x11}, {MERGECOPY, 0xC0}, {MERGEPAINT, 0xBB}, {PATCOPY, 0xF0},
      {PATPAINT, 0xFB},   {PATINVERT, 0x5A},   {DSTINVERT, 0x55}, {BLACKNESS, 0x00},  {WHITENESS, 0xFF}};
  for (auto [rop, index] : named) {
    dest.Clear(RGB(0xAA, 0xAA, 0xAA));
    BitBlt(dest.dc, 0, 0, 1, 1, source.dc, 0, 0, rop);
    EXPECT_EQ(dest.At(0, 0), RGB(index, index, index)) << std::hex << rop;
    // PatBlt agrees for the codes that do not read a source, and refuses the others.
    dest.Clear(RGB(0xAA, 0xAA, 0xAA));
    bool readsSource = ((index >> 2) ^ index) & 0x33;
    EXPECT_EQ(PatBlt(dest.dc, 0, 0, 1, 1, rop), readsSource ? FALSE : TRUE);
    if (!readsSource) {
      EXPECT_EQ(dest.At(0, 0), RGB(index, index, index)) << std::hex << rop;
    }
  }
  DeleteDC(dest.dc);  // the brush is still selected; deleting the DC first frees it
  dest.dc = CreateCompatibleDC(nullptr);
  EXPECT_TRUE(DeleteObject(pattern));
}

TEST(Blit, StretchMapsNearestPixelsAndMirrorsNegativeExtents) {
  Canvas source(3, 1);
  SetPixel(source.dc, 0, 0, kRed);
  SetPixel(source.dc, 1, 0, kBlue);
  SetPixel(source.dc, 2, 0, kBlack);
  Canvas dest(6, 2);
  ASSERT_TRUE(StretchBlt(dest.dc, 0, 0, 6, 2, source.dc, 0, 0, 3, 1, SRCCOPY));
  EXPECT_EQ(dest.Mask({0, 0, 6, 2}, kRed), "##....|##....");
  EXPECT_EQ(dest.Mask({0, 0, 6, 2}, kBlue), "..##..|..##..");
  // Shrinking in COLORONCOLOR mode takes src = trunc(dst × sw / dw).
  Canvas small(2, 1);
  SetStretchBltMode(small.dc, COLORONCOLOR);
  StretchBlt(small.dc, 0, 0, 2, 1, source.dc, 0, 0, 3, 1, SRCCOPY);
  EXPECT_EQ(small.At(0, 0), kRed);
  EXPECT_EQ(small.At(1, 0), kBlue);
  // HALFTONE shrinking averages what each pixel covers.
  Canvas stripes(4, 1, kWhite);
  SetPixel(stripes.dc, 1, 0, kBlack);
  SetPixel(stripes.dc, 3, 0, kBlack);
  Canvas grey(2, 1);
  SetStretchBltMode(grey.dc, HALFTONE);
  StretchBlt(grey.dc, 0, 0, 2, 1, stripes.dc, 0, 0, 4, 1, SRCCOPY);
  EXPECT_EQ(grey.At(0, 0), RGB(128, 128, 128));
  EXPECT_EQ(grey.At(1, 0), RGB(128, 128, 128));
  // The default BLACKONWHITE keeps black (AND), WHITEONBLACK keeps white (OR).
  Canvas kept(2, 1);
  StretchBlt(kept.dc, 0, 0, 2, 1, stripes.dc, 0, 0, 4, 1, SRCCOPY);
  EXPECT_EQ(kept.Count(kBlack), 2);
  SetStretchBltMode(kept.dc, WHITEONBLACK);
  StretchBlt(kept.dc, 0, 0, 2, 1, stripes.dc, 0, 0, 4, 1, SRCCOPY);
  EXPECT_EQ(kept.Count(kWhite), 2);
  // A negative width runs leftwards from the start pixel: a mirror image.
  Canvas mirror(3, 1);
  StretchBlt(mirror.dc, 2, 0, -3, 1, source.dc, 0, 0, 3, 1, SRCCOPY);
  EXPECT_EQ(mirror.At(0, 0), kBlack);
  EXPECT_EQ(mirror.At(2, 0), kRed);
  EXPECT_EQ(mirror.At(1, 0), kBlue);
}

TEST(Blit, AlphaBlendWithConstantAndPerPixelAlpha) {
  Canvas source(2, 1, kBlack);
  Canvas dest(2, 1, kWhite);
  BLENDFUNCTION half{AC_SRC_OVER, 0, 128, 0};
  ASSERT_TRUE(AlphaBlend(dest.dc, 0, 0, 2, 1, source.dc, 0, 0, 2, 1, half));
  EXPECT_EQ(dest.At(0, 0), RGB(127, 127, 127));

  // Premultiplied source: an opaque red pixel and a half-transparent (premultiplied) blue one.
  auto* px = static_cast<std::uint32_t*>(source.bits);
  px[0] = 0xFFFF0000u;
  px[1] = 0x80000080u;
  dest.Clear(kWhite);
  BLENDFUNCTION perPixel{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  AlphaBlend(dest.dc, 0, 0, 2, 1, source.dc, 0, 0, 2, 1, perPixel);
  EXPECT_EQ(dest.At(0, 0), kRed);
  EXPECT_EQ(dest.At(1, 0), RGB(127, 127, 255));
  // Fully transparent pixels leave the destination as it was.
  px[0] = 0;
  dest.Clear(kBlue);
  AlphaBlend(dest.dc, 0, 0, 1, 1, source.dc, 0, 0, 1, 1, perPixel);
  EXPECT_EQ(dest.At(0, 0), kBlue);

  // Windows' preconditions: no negative sizes, source inside its surface, AC_SRC_OVER only.
  EXPECT_FALSE(AlphaBlend(dest.dc, 0, 0, -1, 1, source.dc, 0, 0, 1, 1, half));
  EXPECT_FALSE(AlphaBlend(dest.dc, 0, 0, 1, 1, source.dc, 1, 0, 2, 1, half));
  EXPECT_FALSE(AlphaBlend(dest.dc, 0, 0, 1, 1, source.dc, 0, 0, 1, 1, BLENDFUNCTION{1, 0, 255, 0}));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_FALSE(AlphaBlend(dest.dc, 0, 0, 1, 1, nullptr, 0, 0, 1, 1, half));
}

TEST(Blit, HugeExtentsTouchOnlyWhatIsVisible) {
  Canvas source(4, 4, kRed);
  Canvas dest(4, 4);
  EXPECT_TRUE(BitBlt(dest.dc, 0, 0, 2147483647, 2147483647, source.dc, 0, 0, SRCCOPY));
  EXPECT_EQ(dest.Count(kRed), 16);
  dest.Clear(kWhite);
  EXPECT_TRUE(BitBlt(dest.dc, -2147483647, -2147483647, 2147483647, 2147483647, source.dc, -2147483647, 0, SRCCOPY));
  EXPECT_EQ(dest.Count(kRed), 0) << "nothing of the source lies there";
  EXPECT_TRUE(StretchBlt(dest.dc, 0, 0, 4, 4, source.dc, 0, 0, -2147483647, 2147483647, SRCCOPY));
  EXPECT_TRUE(PatBlt(dest.dc, -2147483647, 0, 2147483647, 1, BLACKNESS));
  EXPECT_EQ(dest.Mask({0, 0, 4, 1}, kBlack), "....") << "ends just left of the surface";
  EXPECT_TRUE(PatBlt(dest.dc, 2, 0, 2147483647, 1, BLACKNESS));
  EXPECT_EQ(dest.Mask({0, 0, 4, 1}, kBlack), "..##");
}

TEST(Blit, MaskBltChoosesTheOperationByTheMaskBit) {
  Canvas source(3, 1, kRed);
  Canvas dest(3, 1, kBlue);
  HBITMAP mask = CreateBitmap(3, 1, 1, 1, "\xA0\x00");  // 1 0 1
  ASSERT_TRUE(MaskBlt(dest.dc, 0, 0, 3, 1, source.dc, 0, 0, mask, 0, 0, MAKEROP4(SRCCOPY, DSTCOPY)));
  EXPECT_EQ(dest.Mask({0, 0, 3, 1}, kRed), "#.#");
  EXPECT_EQ(dest.At(1, 0), kBlue);
  // The background operation applies where the mask is 0 (and outside it).
  ASSERT_TRUE(MaskBlt(dest.dc, 0, 0, 3, 1, nullptr, 0, 0, mask, 1, 0, MAKEROP4(DSTCOPY, BLACKNESS)));
  EXPECT_EQ(dest.Mask({0, 0, 3, 1}, kBlack), "#.#");
  HBITMAP colour = CreateBitmap(3, 1, 1, 32, nullptr);
  EXPECT_FALSE(MaskBlt(dest.dc, 0, 0, 3, 1, source.dc, 0, 0, colour, 0, 0, SRCCOPY));
  DeleteObject(colour);
  DeleteObject(mask);
}

TEST(Blit, TransparentBltSkipsTheKeyColour) {
  Canvas source(3, 1, kRed);
  SetPixel(source.dc, 1, 0, RGB(0, 255, 0));
  Canvas dest(6, 1, kBlue);
  ASSERT_TRUE(TransparentBlt(dest.dc, 0, 0, 6, 1, source.dc, 0, 0, 3, 1, RGB(0, 255, 0)));
  EXPECT_EQ(dest.Mask({0, 0, 6, 1}, kRed), "##..##");
  EXPECT_EQ(dest.Mask({0, 0, 6, 1}, kBlue), "..##..");
}

TEST(Blit, DibBitsGoStraightToTheDeviceWithBottomUpSourceCoordinates) {
  // 2×2 bottom-up 24-bit image: memory row 0 is the bottom row.
  BITMAPINFO info{};
  info.bmiHeader.biWidth = 2;
  info.bmiHeader.biHeight = 2;
  info.bmiHeader.biBitCount = 24;
  const std::uint8_t bits[16] = {0,   0, 255, 0,   0,   255, 0, 0,   // bottom: red red
                                 255, 0, 0,   255, 255, 255, 0, 0};  // top: blue white
  Canvas dest(4, 4);
  EXPECT_EQ(StretchDIBits(dest.dc, 0, 0, 2, 2, 0, 0, 2, 2, bits, &info, DIB_RGB_COLORS, SRCCOPY), 2);
  EXPECT_EQ(dest.At(0, 0), kBlue);
  EXPECT_EQ(dest.At(1, 0), kWhite);
  EXPECT_EQ(dest.At(0, 1), kRed);
  // Source y counts from the bottom: (0, 1) of height 1 is the top row.
  dest.Clear(kBlack);
  StretchDIBits(dest.dc, 0, 0, 4, 1, 0, 1, 2, 1, bits, &info, DIB_RGB_COLORS, SRCCOPY);
  EXPECT_EQ(dest.Mask({0, 0, 4, 1}, kBlue), "##..");
  dest.Clear(kBlack);
  EXPECT_EQ(SetDIBitsToDevice(dest.dc, 1, 1, 2, 2, 0, 0, 0, 2, bits, &info, DIB_RGB_COLORS), 2);
  EXPECT_EQ(dest.At(1, 1), kBlue);
  EXPECT_EQ(dest.At(2, 2), kRed);
  info.bmiHeader.biBitCount = 3;
  EXPECT_EQ(StretchDIBits(dest.dc, 0, 0, 2, 2, 0, 0, 2, 2, bits, &info, DIB_RGB_COLORS, SRCCOPY), 0);
  EXPECT_EQ(StretchDIBits(dest.dc, 0, 0, 2, 2, 0, 0, 2, 2, nullptr, &info, DIB_RGB_COLORS, SRCCOPY), 0);
}

}  // namespace
}  // namespace kestrel::platform
