#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "tests/controls/HelperTestSupport.h"
#include "tests/support/GoldenImage.h"

namespace kestrel::testing {
namespace {

using namespace platform;

TEST(GradientColors, StepsEndpointsAndAppending) {
  TGradientColors list{0x111111};
  MakeGradientColors(clBlack, clWhite, 3, &list, true);
  EXPECT_EQ(list, (TGradientColors{0x000000, 0x808080, 0xFFFFFF}));
  MakeGradientColors(clRed, clBlue, 1, &list, true);
  EXPECT_EQ(list, (TGradientColors{0x0000FF}));
  // A second segment appended without clearing leaves out its start colour.
  MakeGradientColors(clBlue, clWhite, 3, &list, false);
  EXPECT_EQ(list, (TGradientColors{0x0000FF, 0xFF8080, 0xFFFFFF}));
  MakeGradientColors(clBlack, clWhite, 0, &list, true);
  EXPECT_EQ(list.size(), 3u) << "0 steps leaves the list alone";
  MakeGradientColors(clBlack, clWhite, 5, nullptr, true);  // no list: nothing happens
  // System colours are resolved first.
  MakeGradientColors(clBtnFace, clBtnFace, 2, &list, true);
  EXPECT_EQ(list, (TGradientColors{GetSysColor(COLOR_BTNFACE), GetSysColor(COLOR_BTNFACE)}));
}

TEST(Gradient, HorizontalStripesFollowMulDivBoundaries) {
  Canvas canvas(10, 4, kPaper);
  PaintGradient(canvas.dc, {0, 0, 10, 4}, clBlack, clWhite, 3, 0);
  std::vector<COLORREF> row;
  for (int x = 0; x < 10; ++x) row.push_back(canvas.At(x, 3));
  EXPECT_EQ(row,
            (std::vector<COLORREF>{0, 0, 0, 0x808080, 0x808080, 0x808080, 0x808080, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF}));
  // Nothing for an empty rectangle or 0 steps.
  Canvas empty(6, 6, kPaper);
  PaintGradient(empty.dc, {3, 3, 3, 6}, clBlack, clWhite, 3, 2);
  PaintGradient(empty.dc, {5, 5, 1, 1}, clBlack, clWhite, 3, 8);
  PaintGradient(empty.dc, {0, 0, 6, 6}, clBlack, clWhite, 0, 1);
  EXPECT_EQ(empty.Count(kPaper), 36);
  // Rectangles at the ends of the coordinate range are painted where they are visible.
  const TRect huge{-1000000000, -1000000000, 1000000000, 1000000000};
  for (int shape : {0, 3, 8, 9}) PaintGradient(empty.dc, huge, clRed, clRed, 3, shape);
  EXPECT_EQ(empty.Count(Rgb(clRed)), 36);
  AlphaFillRect(empty.dc, huge, clBlue, 255);  // too large to buffer: left alone
  EXPECT_EQ(empty.Count(Rgb(clRed)), 36);
}

TEST(Gradient, ClipOptionKeepsShapesInsideTheMovedRectangle) {
  Canvas canvas(20, 20, kPaper);
  // Corner blocks reach one pixel past the rectangle; the clip keeps them in.
  PaintGradient(canvas.dc, {2, 2, 8, 8}, clRed, clBlue, 4, 7, kGradientClip);
  EXPECT_EQ(canvas.At(8, 8), kPaper);
  EXPECT_EQ(canvas.At(7, 7), Rgb(clRed));
  Canvas moved(20, 20, kPaper);
  PaintGradient(moved.dc, {0, 0, 10, 10}, clRed, clBlue, 4, 1, kGradientClip, (5u << 16) | 5u);
  EXPECT_EQ(moved.At(4, 4), kPaper);
  EXPECT_NE(moved.At(5, 5), kPaper);
  EXPECT_EQ(moved.At(12, 12), kPaper);
  // Buffered painting gives the same pixels inside the rectangle, none outside it.
  Canvas direct(20, 20, kPaper), buffered(20, 20, kPaper);
  PaintGradient(direct.dc, {3, 3, 17, 15}, clLime, clNavy, 5, 2, kGradientClip);
  PaintGradient(buffered.dc, {3, 3, 17, 15}, clLime, clNavy, 5, 2, kGradientBuffered);
  EXPECT_EQ(buffered.At(17, 15), kPaper);
  EXPECT_EQ(buffered.At(2, 2), kPaper);
  for (int y = 3; y < 15; ++y)
    for (int x = 3; x < 17; ++x) ASSERT_EQ(direct.At(x, y), buffered.At(x, y)) << x << "," << y;
}

// The palette holds exactly the gradient's colours, so palette-relative colours resolve to the
// same pixels, on 32-bit and on indexed targets alike; what the option must not do is leave its
// palette behind in the caller's DC.
TEST(Gradient, PaletteOptionPaintsTheSameAndRestoresTheCallersPalette) {
  for (int bits : {32, 8}) {
    for (unsigned extra : {0u, unsigned{kGradientBuffered}}) {
      Canvas plain(16, 12, kPaper, bits), paletted(16, 12, kPaper, bits);
      HPALETTE own = CreateHalftonePalette(paletted.dc);
      HPALETTE before = SelectPalette(paletted.dc, own, FALSE);
      PaintGradient(plain.dc, {1, 1, 15, 11}, clYellow, clNavy, 7, 3, extra);
      PaintGradient(paletted.dc, {1, 1, 15, 11}, clYellow, clNavy, 7, 3, extra | kGradientPalette);
      EXPECT_EQ(GetCurrentObject(paletted.dc, OBJ_PAL), own) << bits << " bits, options " << extra;
      BITMAP bm{};
      GetObject(plain.bitmap, sizeof bm, &bm);
      const auto size = static_cast<std::size_t>(bm.bmWidthBytes) * bm.bmHeight;
      EXPECT_EQ(std::memcmp(plain.bits, paletted.bits, size), 0) << bits << " bits, options " << extra;
      SelectPalette(paletted.dc, before, FALSE);
      DeleteObject(own);
    }
  }
}

TEST(Gradient, GoldenEveryShapeAtSeveralStepCounts) {
  constexpr int kW = 40, kH = 30;
  const int steps[] = {2, 5, 64};
  Canvas canvas(kW * 10, kH * 3, kPaper);
  for (int s = 0; s < 3; ++s) {
    for (int shape = 0; shape < 10; ++shape) {
      TRect r{shape * kW + 1, s * kH + 1, shape * kW + kW - 1, s * kH + kH - 1};
      PaintGradient(canvas.dc, r, clYellow, clNavy, steps[s], shape, kGradientClip);
    }
  }
  EXPECT_TRUE(MatchesGolden(canvas.Surface(), "controls_gradients"));
}

TEST(Geometry, CenterRectClampsToTheOuterSize) {
  EXPECT_EQ(CenterRect(30, 100, 20, 10), (TRect{35, 0, 65, 10}));
  EXPECT_EQ(CenterRect(10, 10, 0, 7), (TRect{0, 3, 10, 3}));
}

TEST(Alpha, FillAndBlendArithmetic) {
  Canvas canvas(6, 6, platform::testing::kBlack);
  AlphaFillRect(canvas.dc, {0, 0, 3, 6}, clWhite, 128);
  AlphaFillRect(canvas.dc, {3, 0, 6, 6}, clWhite, 0);
  EXPECT_EQ(canvas.At(0, 0), RGB(127, 127, 127));
  EXPECT_EQ(canvas.At(2, 5), RGB(127, 127, 127));
  EXPECT_EQ(canvas.At(3, 0), RGB(0, 0, 0));
  EXPECT_EQ(static_cast<std::uint32_t*>(canvas.bits)[0] >> 24, 0xFFu) << "blended pixels are opaque";
  AlphaFillRect(canvas.dc, {5, 5, 5, 9}, clWhite, 255);  // empty: nothing
  EXPECT_EQ(canvas.At(5, 5), RGB(0, 0, 0));

  // Per-pixel alpha from the source, stretched to the destination size.
  Canvas source(2, 1, platform::testing::kWhite);
  auto* px = static_cast<std::uint32_t*>(source.bits);
  px[0] = 0x40FFFFFFu;  // a = 64
  px[1] = 0x00FFFFFFu;  // a = 0
  Canvas dest(4, 1, RGB(0, 0, 0));
  AlphaBlendRect(dest.dc, {0, 0, 4, 1}, source.dc, {0, 0, 2, 1}, false, 0);
  EXPECT_EQ(dest.At(0, 0), RGB(63, 63, 63));
  EXPECT_EQ(dest.At(1, 0), RGB(63, 63, 63));
  EXPECT_EQ(dest.At(3, 0), RGB(0, 0, 0));
}

class Background : public ::testing::Test {
 protected:
  // A 3×2 bitmap: red green blue / yellow aqua fuchsia.
  void SetUp() override {
    const std::uint32_t pixels[6] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFF00, 0xFF00FFFF, 0xFFFF00FF};
    bitmap_ = CreateBitmap(3, 2, 1, 32, pixels);
  }
  void TearDown() override { DeleteObject(bitmap_); }
  HBITMAP bitmap_ = nullptr;
};

TEST_F(Background, TilesLineUpWithTheBackgroundOrigin) {
  Canvas canvas(6, 4, kPaper);
  // The DC shows the background from (-1, 1) on: DC (0,0) is background (-1, 1).
  PaintBitmapBackground(canvas.dc, {0, 0, 6, 4}, {-10, -10, 100, 100}, bgtTileBitmap, bitmap_, clWhite, POINT{-1, 1});
  EXPECT_EQ(canvas.At(0, 0), RGB(0xFF, 0, 0xFF));  // column 2 of row 1 (left of the origin)
  EXPECT_EQ(canvas.At(1, 0), RGB(0xFF, 0xFF, 0));
  EXPECT_EQ(canvas.At(1, 1), RGB(0xFF, 0, 0));
  EXPECT_EQ(canvas.At(3, 1), RGB(0, 0, 0xFF));
  EXPECT_EQ(canvas.At(4, 3), RGB(0xFF, 0, 0));
}

TEST_F(Background, MissingBitmapsAndOutsideAreasGetTheColour) {
  Canvas canvas(6, 6, kPaper);
  PaintBitmapBackground(canvas.dc, {0, 0, 6, 6}, {0, 0, 6, 6}, bgtTileBitmap, nullptr, clRed, POINT{0, 0});
  EXPECT_EQ(canvas.Count(Rgb(clRed)), 36);
  HBITMAP deleted = CreateBitmap(4, 4, 1, 32, nullptr);
  DeleteObject(deleted);
  PaintBitmapBackground(canvas.dc, {0, 0, 6, 6}, {0, 0, 6, 6}, bgtStretchBitmap, deleted, clBlue, POINT{0, 0});
  EXPECT_EQ(canvas.Count(Rgb(clBlue)), 36);
  // Gradient types paint nothing here unless the area leaves the reference.
  PaintBitmapBackground(canvas.dc, {0, 0, 6, 6}, {0, 0, 6, 6}, bgtVertGradient, bitmap_, clLime, POINT{0, 0});
  EXPECT_EQ(canvas.Count(Rgb(clBlue)), 36);
  PaintBitmapBackground(canvas.dc, {0, 0, 6, 6}, {0, 0, 4, 4}, bgtVertGradient, bitmap_, clLime, POINT{0, 0});
  EXPECT_EQ(canvas.Count(Rgb(clLime)), 36);
}

TEST_F(Background, GoldenEveryBitmapType) {
  constexpr int kCell = 24;
  Canvas canvas(kCell * 5, kCell * 2, kPaper);
  const TVnBackgroundType types[5] = {bgtTileBitmap, bgtStretchBitmap, bgtColorFill, bgtCenterBitmap, bgtTopLeftBitmap};
  for (int i = 0; i < 5; ++i) {
    TRect reference{i * kCell, 0, i * kCell + kCell - 4, kCell - 6};
    PaintBitmapBackground(canvas.dc, reference, reference, types[i], bitmap_, clSilver, {0, 0});
    // The lower row paints only part of the background, shifted by an origin.
    TRect part{i * kCell + 4, kCell + 2, i * kCell + kCell - 2, 2 * kCell - 2};
    TRect ref{i * kCell, kCell - 4, i * kCell + kCell, 2 * kCell};
    PaintBitmapBackground(canvas.dc, part, ref, types[i], bitmap_, clGray, POINT{1, -3});
  }
  EXPECT_TRUE(MatchesGolden(canvas.Surface(), "controls_backgrounds"));
}

}  // namespace
}  // namespace kestrel::testing
