#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "tests/controls/HelperTestSupport.h"
#include "tests/support/GoldenImage.h"

namespace kestrel::testing {
namespace {

using namespace platform;

TEST(FlatBorder, SunkenOnTenByTenPaintsTheFourDocumentedLines) {
  Canvas canvas(10, 10, kPaper);
  PaintFlatBorder(canvas.dc, {0, 0, 10, 10}, kLine, kBack, true, true, AllBorderSides, fbtSunken, kColors);
  for (int i = 0; i <= 8; ++i) {
    EXPECT_EQ(canvas.At(0, i), Rgb(kColors.Shadow)) << i;
    EXPECT_EQ(canvas.At(i, 0), Rgb(kColors.Shadow)) << i;
  }
  for (int i = 0; i <= 9; ++i) {
    EXPECT_EQ(canvas.At(9, i), Rgb(kColors.Highlight)) << i;
    EXPECT_EQ(canvas.At(i, 9), Rgb(kColors.Highlight)) << i;
  }
  for (int i = 1; i <= 7; ++i) {
    EXPECT_EQ(canvas.At(1, i), Rgb(kColors.DkShadow)) << i;
    EXPECT_EQ(canvas.At(i, 1), Rgb(kColors.DkShadow)) << i;
  }
  for (int i = 1; i <= 8; ++i) {
    EXPECT_EQ(canvas.At(8, i), Rgb(kColors.Face)) << i;
    EXPECT_EQ(canvas.At(i, 8), Rgb(kColors.Face)) << i;
  }
  EXPECT_EQ(canvas.At(2, 2), kPaper) << "the inside stays untouched";
}

// Left column, top row, right column and bottom row of one ring, sampled mid-side.
struct Ring {
  TColor left, top, right, bottom;
};
Ring Same(TColor tl, TColor br) { return {tl, tl, br, br}; }

void ExpectRing(const Canvas& c, int ring, const Ring& want, const char* what) {
  int far = 15 - ring;
  EXPECT_EQ(c.At(ring, 8), Rgb(want.left)) << what << " ring " << ring + 1 << " left";
  EXPECT_EQ(c.At(8, ring), Rgb(want.top)) << what << " ring " << ring + 1 << " top";
  EXPECT_EQ(c.At(far, 8), Rgb(want.right)) << what << " ring " << ring + 1 << " right";
  EXPECT_EQ(c.At(8, far), Rgb(want.bottom)) << what << " ring " << ring + 1 << " bottom";
}

TEST(FlatBorder, EveryKindGivesItsRingsWithAllSides) {
  const auto& k = kColors;
  struct Case {
    TKsFlatBorderType kind;
    const char* name;
    Ring ring1, ring2;
  };
  const std::vector<Case> cases = {
      {fbtFlat, "flat", Same(clBtnShadow, clBtnHighlight), Same(kBack, kBack)},
      {fbtSunken, "sunken", Same(k.Shadow, k.Highlight), Same(k.DkShadow, k.Face)},
      {fbtSunkenInner, "sunkenInner", Same(k.DkShadow, k.Face), Same(k.Face, k.Face)},
      {fbtSunkenOuter, "sunkenOuter", Same(k.Shadow, k.Window), Same(k.Face, k.Face)},
      {fbtRaised, "raised", Same(k.Face, k.DkShadow), Same(k.Highlight, k.Shadow)},
      {fbtRaisedInner, "raisedInner", Same(k.Highlight, k.Shadow), Same(k.Face, k.Face)},
      {fbtRaisedOuter, "raisedOuter", Same(k.Face, k.Highlight), Same(k.Face, k.Face)},
      {fbtBump, "bump", Same(k.Face, k.Highlight), Same(k.Highlight, k.Face)},
      {fbtBigBump, "bigBump", Same(k.Window, k.Highlight), Same(k.Highlight, k.Window)},
      {fbtEtched, "etched", Same(k.Shadow, k.Highlight), {k.Highlight, k.Face, k.Shadow, k.Shadow}},
      {fbtFramed, "framed", Same(k.Face, k.Highlight), Same(k.Face, k.Face)},
      {fbtLine, "line", {kBack, kBack, kBack, clWindowFrame}, Same(kBack, kBack)},
      {fbtLineBorder, "lineBorder", Same(clWindowFrame, clWindowFrame), Same(kBack, kBack)},
      {fbtNone, "none", Same(kBack, kBack), Same(kBack, kBack)},
      {fbtColorLineBorder, "colorLine", Same(kLine, kLine), Same(kBack, kBack)},
  };
  for (const Case& c : cases) {
    Canvas canvas(16, 16, kPaper);
    PaintFlatBorder(canvas.dc, {0, 0, 16, 16}, kLine, kBack, false, false, AllBorderSides, c.kind, kColors);
    ExpectRing(canvas, 0, c.ring1, c.name);
    ExpectRing(canvas, 1, c.ring2, c.name);
  }
  // Raised has four rings: the third repeats the second, the fourth is the back colour.
  Canvas raised(16, 16, kPaper);
  PaintFlatBorder(raised.dc, {0, 0, 16, 16}, kLine, kBack, false, false, AllBorderSides, fbtRaised, kColors);
  ExpectRing(raised, 2, Same(k.Highlight, k.Shadow), "raised");
  ExpectRing(raised, 3, Same(kBack, kBack), "raised");
  // Etched: the right end of ring 2's top row stays the edge's shadow.
  Canvas etched(16, 16, kPaper);
  PaintFlatBorder(etched.dc, {0, 0, 16, 16}, kLine, kBack, false, false, AllBorderSides, fbtEtched, kColors);
  EXPECT_EQ(etched.At(14, 1), Rgb(k.Shadow));
  EXPECT_EQ(etched.At(1, 1), Rgb(k.Face));
}

TEST(FlatBorder, DocumentedSideAndColourRules) {
  TKsBorderColors other{0x123456, 0x654321, 0x0F0F0F, 0xF0F0F0, 0x777777};
  Canvas a(12, 12, kPaper), b(12, 12, kPaper);
  PaintFlatBorder(a.dc, {0, 0, 12, 12}, kLine, kBack, true, true, AllBorderSides, fbtFlat, kColors);
  PaintFlatBorder(b.dc, {0, 0, 12, 12}, kLine, kBack, true, true, AllBorderSides, fbtFlat, other);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 12; ++x) ASSERT_EQ(a.At(x, y), b.At(x, y)) << x << "," << y;

  // fbtLine draws its bottom line whatever the sides say.
  Canvas line(10, 10, kPaper);
  PaintFlatBorder(line.dc, {0, 0, 10, 10}, kLine, kBack, true, true, {ebsLeft, ebsTop}, fbtLine, kColors);
  EXPECT_EQ(line.Mask({0, 9, 10, 10}, Rgb(clWindowFrame)), "##########");
  EXPECT_EQ(line.At(9, 5), kPaper) << "no right side";

  // Etched with the left side but not the top: exactly the edge, no stroke afterwards.
  Canvas etched(10, 10, kPaper), edge(10, 10, kPaper);
  TVnBorderSides leftOnly{ebsLeft, ebsRight, ebsBottom};
  PaintFlatBorder(etched.dc, {0, 0, 10, 10}, kLine, kBack, true, true, leftOnly, fbtEtched, kColors);
  TRect r{0, 0, 10, 10};
  PaintEdge3D(edge.dc, r, EDGE_ETCHED, BF_LEFT | BF_RIGHT | BF_BOTTOM, kColors.Face, kColors.DkShadow,
              kColors.Highlight, kColors.Shadow);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) ASSERT_EQ(etched.At(x, y), edge.At(x, y)) << x << "," << y;

  // Without the right side the top line of a ring runs the full width in the top-left colour.
  Canvas ring(8, 8, kPaper);
  TRect inner = PaintBevelRing(ring.dc, {0, 0, 8, 8}, clRed, clBlue, {ebsLeft, ebsTop, ebsBottom});
  EXPECT_EQ(ring.Mask({0, 0, 8, 1}, Rgb(clRed)), "########");
  EXPECT_EQ(ring.Mask({0, 7, 8, 8}, Rgb(clBlue)), "########") << "bottom-right owns the corner";
  EXPECT_EQ(inner, (TRect{1, 1, 8, 7}));
}

TEST(FlatBorder, DegenerateRectanglesAndFramesPaintNothingOutside) {
  Canvas canvas(10, 10, kPaper);
  for (int kind = fbtFlat; kind <= fbtColorLineBorder; ++kind) {
    PaintFlatBorder(canvas.dc, {5, 5, 5, 9}, kLine, kBack, true, true, AllBorderSides,
                    static_cast<TKsFlatBorderType>(kind), kColors);
    PaintFlatBorder(canvas.dc, {8, 8, 2, 2}, kLine, kBack, true, true, AllBorderSides,
                    static_cast<TKsFlatBorderType>(kind), kColors);
  }
  EXPECT_EQ(canvas.Count(kPaper), 100);

  // A 3-D frame shrinks the rectangle by its width even far past the point of vanishing.
  TRect r{0, 0, 10, 10};
  PaintFrame3D(canvas.dc, r, clRed, clBlue, 2);
  EXPECT_EQ(r, (TRect{2, 2, 8, 8}));
  EXPECT_EQ(canvas.At(1, 1), Rgb(clRed));
  EXPECT_EQ(canvas.At(8, 8), Rgb(clBlue));
  EXPECT_EQ(canvas.At(2, 2), kPaper);
  r = TRect{0, 0, 10, 10};
  PaintFrame3D(canvas.dc, r, clRed, clBlue, 1000000000);
  EXPECT_EQ(r, (TRect{1000000000, 1000000000, -999999990, -999999990}));
}

TEST(Edge3D, AdjustAndMiddleFollowTheDrawnSides) {
  Canvas canvas(8, 8, kPaper);
  TRect r{0, 0, 8, 8};
  PaintEdge3D(canvas.dc, r, EDGE_RAISED, BF_LEFT | BF_TOP | BF_ADJUST | BF_MIDDLE, kColors.Face, kColors.DkShadow,
              kColors.Highlight, kColors.Shadow);
  EXPECT_EQ(r, (TRect{2, 2, 8, 8}));
  EXPECT_EQ(canvas.At(0, 4), Rgb(kColors.Face));
  EXPECT_EQ(canvas.At(1, 4), Rgb(kColors.Highlight));
  EXPECT_EQ(canvas.At(7, 7), Rgb(kColors.Face)) << "middle filled up to the undrawn sides";
  TRect untouched{0, 0, 8, 8};
  PaintEdge3D(canvas.dc, untouched, EDGE_SUNKEN, BF_RECT, kColors.Face, kColors.DkShadow, kColors.Highlight,
              kColors.Shadow);
  EXPECT_EQ(untouched, (TRect{0, 0, 8, 8})) << "no BF_ADJUST";
}

// With the default colours a custom edge is the platform's own edge, face standing in for the
// light 3-D colour.
TEST(Edge3D, DefaultColoursMatchThePlatformEdgeWithFaceAsLight) {
  const int light = COLOR_3DLIGHT;
  const COLORREF oldLight = GetSysColor(COLOR_3DLIGHT), face = GetSysColor(COLOR_BTNFACE);
  SetSysColors(1, &light, &face);
  for (unsigned kind : {EDGE_RAISED, EDGE_SUNKEN, EDGE_ETCHED, EDGE_BUMP, BDR_RAISEDOUTER, BDR_SUNKENINNER}) {
    for (unsigned sides : {unsigned{BF_RECT}, unsigned{BF_LEFT | BF_BOTTOM}, unsigned{BF_TOP | BF_RIGHT}}) {
      Canvas ours(9, 9, kPaper), platform(9, 9, kPaper);
      TRect a{0, 0, 9, 9}, b{0, 0, 9, 9};
      PaintEdge3D(ours.dc, a, kind, sides | BF_ADJUST, clBtnFace, cl3DDkShadow, clBtnHighlight, clBtnShadow);
      DrawEdge(platform.dc, &b, kind, sides | BF_ADJUST);
      EXPECT_EQ(a, b) << "kind " << kind << " sides " << sides;
      int differing = 0;
      for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x) differing += ours.At(x, y) != platform.At(x, y);
      EXPECT_EQ(differing, 0) << "kind " << kind << " sides " << sides;
    }
  }
  SetSysColors(1, &light, &oldLight);
}

TEST(FlatBorder, GoldenEveryKindWithRepresentativeSides) {
  const ThemeScope classic(false);  // the goldens show the classic system colours
  const std::array<TVnBorderSides, 4> sides = {AllBorderSides, TVnBorderSides{ebsLeft, ebsTop},
                                               TVnBorderSides{ebsRight, ebsBottom}, TVnBorderSides{ebsTop, ebsBottom}};
  constexpr int kCell = 20;
  Canvas canvas(kCell * 15, kCell * 4, kPaper);
  for (int kind = 0; kind < 15; ++kind) {
    for (std::size_t s = 0; s < sides.size(); ++s) {
      int x = kind * kCell, y = static_cast<int>(s) * kCell;
      PaintFlatBorder(canvas.dc, {x + 2, y + 2, x + kCell - 2, y + kCell - 2}, kLine, kBack, true, true, sides[s],
                      static_cast<TKsFlatBorderType>(kind), kColors);
    }
  }
  EXPECT_TRUE(MatchesGolden(canvas.Surface(), "controls_flat_borders"));
}

}  // namespace
}  // namespace kestrel::testing
