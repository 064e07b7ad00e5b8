#include <gtest/gtest.h>

#include <array>

#include "tests/controls/HelperTestSupport.h"
#include "tests/support/GoldenImage.h"

namespace kestrel::testing {
namespace {

using namespace platform;

constexpr TColor kSpace = 0x3060F0;
constexpr TColor kHandleFace = 0xC0E0E0;
// Neither white nor grey, so both bevel colours show against it.
constexpr COLORREF kMiddle = RGB(210, 225, 200);

// Colours of ring `ring` (0 = outermost) of a canvas painted on its whole surface.
void ExpectRingColours(const Canvas& c, int size, int ring, TColor tl, TColor br, const char* what) {
  const int far = size - 1 - ring;
  EXPECT_EQ(c.At(ring, size / 2), Rgb(tl)) << what << " ring " << ring << " left";
  EXPECT_EQ(c.At(size / 2, ring), Rgb(tl)) << what << " ring " << ring << " top";
  EXPECT_EQ(c.At(far, size / 2), Rgb(br)) << what << " ring " << ring << " right";
  EXPECT_EQ(c.At(size / 2, far), Rgb(br)) << what << " ring " << ring << " bottom";
  EXPECT_EQ(c.At(far, ring), Rgb(br)) << what << " ring " << ring << " top-right corner";
}

TEST(Bevel, EachStyleTakesItsColoursAndShrinksByTheWidth) {
  struct Case {
    TVnBevelStyle style;
    const char* name;
    TColor tl, br;
  };
  // Only bvSpace and bvLowered differ; every other style is drawn raised.
  const std::array<Case, 8> cases = {{{bvLowered, "lowered", clBtnShadow, clBtnHighlight},
                                      {bvRaised, "raised", clBtnHighlight, clBtnShadow},
                                      {bvFrameLowered, "frameLowered", clBtnHighlight, clBtnShadow},
                                      {bvFrameRaised, "frameRaised", clBtnHighlight, clBtnShadow},
                                      {bvNormal, "normal", clBtnHighlight, clBtnShadow},
                                      {bvShadow, "shadow", clBtnHighlight, clBtnShadow},
                                      {bvSpace, "space", kSpace, kSpace},
                                      {bvFlat, "flat", clBtnHighlight, clBtnShadow}}};
  for (const Case& c : cases) {
    for (int width : {1, 3}) {
      Canvas canvas(12, 12, kPaper);
      const TRect inner = PaintBevel(canvas.dc, {0, 0, 12, 12}, c.style, width, kSpace);
      EXPECT_EQ(inner, (TRect{width, width, 12 - width, 12 - width})) << c.name;
      for (int ring = 0; ring < width; ++ring) ExpectRingColours(canvas, 12, ring, c.tl, c.br, c.name);
      EXPECT_EQ(canvas.At(width, 6), kPaper) << c.name << " width " << width << ": one ring too many";
      EXPECT_EQ(canvas.Count(kPaper), (12 - 2 * width) * (12 - 2 * width)) << c.name;
    }
  }
  Canvas none(8, 8, kPaper);
  EXPECT_EQ(PaintBevel(none.dc, {0, 0, 8, 8}, bvNone, 3, kSpace), (TRect{0, 0, 8, 8}));
  EXPECT_EQ(none.Count(kPaper), 64);
}

TEST(Bevel, OuterThenInnerAndBevelSpaceColourIsResolved) {
  Canvas canvas(10, 10, kPaper);
  const TRect inner = PaintBevels(canvas.dc, {0, 0, 10, 10}, bvLowered, bvRaised, 2, kSpace);
  EXPECT_EQ(inner, (TRect{4, 4, 6, 6}));
  ExpectRingColours(canvas, 10, 1, clBtnShadow, clBtnHighlight, "outer lowered");
  ExpectRingColours(canvas, 10, 2, clBtnHighlight, clBtnShadow, "inner raised");
  ExpectRingColours(canvas, 10, 3, clBtnHighlight, clBtnShadow, "inner raised");
  // A system colour as BevelSpaceColor paints its RGB value.
  Canvas space(6, 6, kPaper);
  PaintBevels(space.dc, {0, 0, 6, 6}, bvNone, bvSpace, 1, clBtnFace);
  ExpectRingColours(space, 6, 0, clBtnFace, clBtnFace, "space");
}

TEST(GrabHandle, GripLinesSitMidStripWithoutTheirEndPoints) {
  const COLORREF shadow = Rgb(clBtnShadow), highlight = Rgb(clBtnHighlight);
  // Left handle, lowered: x = 0 + 5 div 2 = 2; shadow first, highlight beside it.
  Canvas left(8, 6, kPaper);
  TRect area{0, 0, 8, 6};
  EXPECT_EQ(PaintGrabHandle(left.dc, area, ebsLeft, 5, bvLowered, kHandleFace), (TRect{0, 0, 5, 6}));
  EXPECT_EQ(area, (TRect{5, 0, 8, 6}));
  EXPECT_EQ(left.Mask({0, 0, 8, 6}, shadow), "........|..#.....|..#.....|..#.....|..#.....|........");
  EXPECT_EQ(left.Mask({0, 0, 8, 6}, highlight), "........|...#....|...#....|...#....|...#....|........");
  EXPECT_EQ(left.Mask({0, 0, 8, 1}, Rgb(kHandleFace)), "#####...");
  EXPECT_EQ(left.At(5, 3), kPaper);

  // Bottom handle, raised, in an area that does not start at 0: highlight first.
  Canvas bottom(10, 10, kPaper);
  area = TRect{1, 2, 9, 10};
  EXPECT_EQ(PaintGrabHandle(bottom.dc, area, ebsBottom, 4, bvRaised, kHandleFace), (TRect{1, 6, 9, 10}));
  EXPECT_EQ(area, (TRect{1, 2, 9, 6}));
  EXPECT_EQ(bottom.Mask({0, 8, 10, 9}, highlight), "..######..");
  EXPECT_EQ(bottom.Mask({0, 9, 10, 10}, shadow), "..######..");
  EXPECT_EQ(bottom.Mask({0, 6, 10, 8}, Rgb(kHandleFace)), ".########.|.########.");

  // Right and top strips; any style other than raised draws like lowered.
  Canvas rightTop(9, 9, kPaper);
  area = TRect{0, 0, 9, 9};
  EXPECT_EQ(PaintGrabHandle(rightTop.dc, area, ebsRight, 3, bvSpace, kHandleFace), (TRect{6, 0, 9, 9}));
  EXPECT_EQ(PaintGrabHandle(rightTop.dc, area, ebsTop, 2, bvFlat, kHandleFace), (TRect{0, 0, 6, 2}));
  EXPECT_EQ(area, (TRect{0, 2, 6, 9}));
  EXPECT_EQ(rightTop.Mask({7, 0, 9, 9}, shadow), "..|#.|#.|#.|#.|#.|#.|#.|..");
  EXPECT_EQ(rightTop.Mask({7, 0, 9, 9}, highlight), "..|.#|.#|.#|.#|.#|.#|.#|..");
  EXPECT_EQ(rightTop.Mask({0, 1, 6, 2}, shadow), ".####.");
}

TEST(GrabHandle, NoneAndZeroThicknessTakeNothing) {
  Canvas canvas(6, 6, kPaper);
  TRect area{0, 0, 6, 6};
  EXPECT_EQ(PaintGrabHandle(canvas.dc, area, ebsLeft, 3, bvNone, kHandleFace), TRect{});
  EXPECT_EQ(PaintGrabHandle(canvas.dc, area, ebsTop, 0, bvRaised, kHandleFace), TRect{});
  EXPECT_EQ(PaintGrabHandle(canvas.dc, area, ebsRight, -4, bvRaised, kHandleFace), TRect{});
  EXPECT_EQ(area, (TRect{0, 0, 6, 6}));
  EXPECT_EQ(canvas.Count(kPaper), 36) << "a handle without thickness paints no grip lines";
}

TEST(Bevel, GoldenEveryStyleWidthCombinationAndHandle) {
  const ThemeScope classic(false);  // the goldens show the classic system colours
  constexpr int kCell = 24;
  Canvas canvas(kCell * 9, kCell * 5, RGB(120, 140, 170));
  // Rows 0-2: every style at widths 1, 2 and 3 around a coloured middle.
  for (int width = 1; width <= 3; ++width) {
    for (int style = bvNone; style <= bvFlat; ++style) {
      const int x = style * kCell, y = (width - 1) * kCell;
      const TRect inner = PaintBevel(canvas.dc, {x + 2, y + 2, x + kCell - 2, y + kCell - 2},
                                     static_cast<TVnBevelStyle>(style), width, kSpace);
      FillSolid(canvas.dc, inner, kMiddle);
    }
  }
  // Row 3: outer/inner pairs at width 1 and 2.
  const TVnBevelStyle pairs[][2] = {{bvRaised, bvLowered},  {bvLowered, bvRaised}, {bvRaised, bvRaised},
                                    {bvLowered, bvLowered}, {bvSpace, bvRaised},   {bvLowered, bvSpace},
                                    {bvNone, bvLowered},    {bvRaised, bvSpace},   {bvFrameLowered, bvShadow}};
  for (std::size_t i = 0; i < std::size(pairs); ++i) {
    const int x = static_cast<int>(i) * kCell, y = 3 * kCell;
    const TRect inner = PaintBevels(canvas.dc, {x + 2, y + 2, x + kCell - 2, y + kCell - 2}, pairs[i][0], pairs[i][1],
                                    1 + static_cast<int>(i % 2), kSpace);
    FillSolid(canvas.dc, inner, kMiddle);
  }
  // Row 4: the four handles raised, lowered and another style, inside a raised bevel.
  const std::array<TVnBevelStyle, 3> kinds = {bvRaised, bvLowered, bvNormal};
  for (std::size_t k = 0; k < kinds.size(); ++k) {
    const int x = static_cast<int>(k) * 3 * kCell, y = 4 * kCell;
    TRect area = PaintBevel(canvas.dc, {x + 2, y + 1, x + 3 * kCell - 2, y + kCell - 1}, bvRaised, 1, kSpace);
    for (TVnBorderSide side : {ebsLeft, ebsRight, ebsTop, ebsBottom})
      PaintGrabHandle(canvas.dc, area, side, 5, kinds[k], kHandleFace);
    FillSolid(canvas.dc, area, kMiddle);
  }
  EXPECT_TRUE(MatchesGolden(canvas.Surface(), "controls_bevel_styles"));
}

}  // namespace
}  // namespace kestrel::testing
