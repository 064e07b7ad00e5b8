#include <gtest/gtest.h>

#include <cstdlib>

#include "controls/ColorMath.h"
#include "framework/Exceptions.h"

namespace kestrel {
namespace {

int H(TColor hls) { return hls & 0xFF; }
int L(TColor hls) { return (hls >> 8) & 0xFF; }
int S(TColor hls) { return (hls >> 16) & 0xFF; }
TColor Hls(int h, int l, int s) { return h | l << 8 | s << 16; }

TEST(ColorMath, HlsOfPrimariesAndGreys) {
  TColor red = ColorToHLS(clRed);
  EXPECT_EQ(H(red), 0);
  EXPECT_EQ(L(red), 126);
  EXPECT_EQ(S(red), 252);
  TColor grey = ColorToHLS(0x808080);
  EXPECT_EQ(H(grey), 168);
  EXPECT_EQ(S(grey), 0);
  EXPECT_EQ(H(ColorToHLS(clLime)), 84);
  EXPECT_EQ(H(ColorToHLS(clBlue)), 168);
  EXPECT_EQ(L(ColorToHLS(clWhite)), 252);
  EXPECT_EQ(HLSToColor(Hls(0, 126, 252)), clRed);
  EXPECT_EQ(HLSToColor(Hls(168, 252, 0)), clWhite);
  EXPECT_EQ(HLSToColor(Hls(168, 0, 0)), clBlack);
}

TEST(ColorMath, RoundTripsStayWithinOneStepOfTheScale) {
  int worst = 0;
  TColor worstColor = 0;
  for (int r = 0; r < 256; r += 15)
    for (int g = 0; g < 256; g += 17)
      for (int b = 0; b < 256; b += 51) {
        TColor c = r | g << 8 | b << 16;
        TColor back = HLSToColor(ColorToHLS(c));
        for (int shift : {0, 8, 16}) {
          int error = std::abs(((c >> shift) & 0xFF) - ((back >> shift) & 0xFF));
          if (error > worst) {
            worst = error;
            worstColor = c;
          }
        }
      }
  // Channels are rescaled between 255 and 252 in one direction only, so a round trip drifts by
  // a few values at most.
  EXPECT_LE(worst, 4) << std::hex << worstColor << " -> " << ColorToHLS(worstColor) << " -> "
                      << HLSToColor(ColorToHLS(worstColor));
}

TEST(ColorMath, WorkedExampleThroughBothDirections) {
  // R 15, G 238, B 204: L = round(64011 / 510) = 126, S = round(56322.5 / 253) = 223,
  // H = 84 + 42.5 − 6.9 → 120. Back: m2 = 59976 div 252 = 238, m1 = 14, blue from hue 36:
  // 14 + 8085 div 42 = 206 → 52656 div 252 = 208.
  EXPECT_EQ(ColorToHLS(0xCCEE0F), Hls(120, 126, 223));
  EXPECT_EQ(HLSToColor(Hls(120, 126, 223)), 0xD0F10E);
}

TEST(ColorMath, GreyWithAForeignHueIsAnError) {
  try {
    HLSToColor(Hls(10, 100, 0));
    FAIL() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), u"HLS to RGB convert error");
  }
  // Out-of-scale lightness does not wrap round.
  EXPECT_EQ(HLSToColor(Hls(168, 255, 0)), clWhite);
}

TEST(ColorMath, LightenAndDarkenStepByTheDistanceToWhite) {
  EXPECT_EQ(LightenColor(clBlack, 50), 0x808080);
  EXPECT_EQ(LightenColor(0x204080, 0), 0x204080);
  EXPECT_EQ(LightenColor(0x204080, 100), clWhite);
  EXPECT_EQ(LightenColor(0x204080, 250), clWhite) << "beyond 100 % stays white, not wrapped";
  EXPECT_EQ(LightenColor(clBtnFace, 0), static_cast<TColor>(ColorToRGB(clBtnFace)));
  EXPECT_EQ(DarkenColor(clWhite, 80), clWhite);
  EXPECT_EQ(DarkenColor(clBlack, 50), 0x000000) << "clamped at 0";
  // 0x80: 128 − round(127 × 0.5) = 128 − 64 (63.5 rounds to even) = 64.
  EXPECT_EQ(DarkenColor(0x808080, 50), 0x404040);
  // Red 200 − 55 × 0.2 = 189; green and blue would go below 0.
  EXPECT_EQ(DarkenColor(0x0A14C8, 20), 0x0000BD);
}

}  // namespace
}  // namespace kestrel
