#include "controls/KsSBColors.h"

#include <algorithm>
#include <cstdint>

#include "controls/ColorMath.h"

namespace kestrel {

namespace {

// Lightness lives on a scale of 252; a raised value above it would wrap the channels round to
// near black, so it is held at the scale's top.
constexpr int kMaxLightness = 252;

int LightnessOf(TColor hls) { return static_cast<int>((static_cast<std::uint32_t>(hls) >> 8) & 0xFF); }

TColor WithLightness(TColor face, int (*shift)(int)) {
  TColor hls = ColorToHLS(static_cast<TColor>(ColorToRGB(face)));
  int lightness = std::clamp(shift(LightnessOf(hls)), 0, kMaxLightness);
  auto bits = (static_cast<std::uint32_t>(hls) & 0xFF00FFu) | (static_cast<std::uint32_t>(lightness) << 8);
  return HLSToColor(static_cast<TColor>(bits));
}

}  // namespace

TColor LightenedColor(TColor face) {
  if (face == clBtnFace) return clBtnHighlight;
  return WithLightness(face, [](int l) { return std::min(255, l + l / 4); });
}

TColor PressedTrackColor(TColor face) {
  if (face == clBtnFace) return clBtnShadow;
  return WithLightness(face, [](int l) { return std::min(255, l - l / 4); });
}

TKsSBFrameColors FrameColors(TColor face) {
  TKsSBFrameColors system{clBtnHighlight, cl3DDkShadow, face, clBtnShadow};
  if (face == clBtnFace) return system;
  TColor hls = ColorToHLS(static_cast<TColor>(ColorToRGB(face)));
  if (LightnessOf(hls) == 0) return system;
  return TKsSBFrameColors{WithLightness(face, [](int l) { return std::min(239, l + l / 3); }),
                          WithLightness(face, [](int l) { return std::min(239, l - l / 2); }), face,
                          WithLightness(face, [](int l) { return std::min(239, l - l / 3); })};
}

}  // namespace kestrel
