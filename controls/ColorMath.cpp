#include "controls/ColorMath.h"

#include <algorithm>
#include <cmath>

#include "controls/GdiScope.h"
#include "framework/Exceptions.h"

namespace kestrel {

namespace {

constexpr int kHlsMax = 252;
constexpr int kRgbMax = 255;
constexpr int kUndefinedHue = kHlsMax * 2 / 3;  // 168, the hue of greys

int Red(platform::COLORREF c) { return static_cast<int>(c & 0xFF); }
int Green(platform::COLORREF c) { return static_cast<int>((c >> 8) & 0xFF); }
int Blue(platform::COLORREF c) { return static_cast<int>((c >> 16) & 0xFF); }

TColor Pack(int r, int g, int b) {
  return static_cast<TColor>(
      platform::RGB(static_cast<platform::BYTE>(r), static_cast<platform::BYTE>(g), static_cast<platform::BYTE>(b)));
}

// Round half to even, as every rounding of this library does.
int RoundEven(double v) { return static_cast<int>(std::nearbyint(v)); }

template <class F>
TColor PerChannel(TColor color, F f) {
  platform::COLORREF rgb = ColorToRGB(color);
  return Pack(f(Red(rgb)), f(Green(rgb)), f(Blue(rgb)));
}

int HueToChannel(int n1, int n2, int h) {
  if (h < 0) {
    h += kHlsMax;
  } else if (h > kHlsMax) {
    h -= kHlsMax;
  }
  if (h < kHlsMax / 6) return n1 + ((n2 - n1) * h + kHlsMax / 12) / (kHlsMax / 6);
  if (h < kHlsMax / 2) return n2;
  if (h < kHlsMax * 2 / 3) {
    return n1 + ((n2 - n1) * (kHlsMax * 2 / 3 - h) + kHlsMax / 12) / (kHlsMax / 6);
  }
  return n1;
}

int ChannelFromHue(int m1, int m2, int hue) {
  return std::clamp((HueToChannel(m1, m2, hue) * kRgbMax + kHlsMax / 2) / kHlsMax, 0, kRgbMax);
}

}  // namespace

TColor LightenColor(TColor color, int percent) {
  return PerChannel(color, [percent](int c) { return std::clamp(c + MulDiv(kRgbMax - c, percent, 100), 0, kRgbMax); });
}

TColor DarkenColor(TColor color, int percent) {
  float f = static_cast<float>(percent) / 100.0f;
  return PerChannel(color,
                    [f](int c) { return std::clamp(c - RoundEven(static_cast<float>(kRgbMax - c) * f), 0, kRgbMax); });
}

TColor ColorToHLS(TColor rgbColor) {
  platform::COLORREF rgb = ColorToRGB(rgbColor);
  int r = Red(rgb), g = Green(rgb), b = Blue(rgb);
  int maxC = std::max({r, g, b});
  int minC = std::min({r, g, b});
  int sum = maxC + minC;
  int l = RoundEven((static_cast<double>(sum) * kHlsMax + kRgbMax) / (2.0 * kRgbMax));
  int h = kUndefinedHue;
  int s = 0;
  if (maxC != minC) {
    int spread = maxC - minC;
    if (l <= kHlsMax / 2) {
      s = RoundEven((spread * static_cast<double>(kHlsMax) + sum / 2.0) / sum);
    } else {
      int rest = 2 * kRgbMax - sum;
      s = RoundEven((spread * static_cast<double>(kHlsMax) + rest / 2.0) / rest);
    }
    auto delta = [&](int x) {
      return (static_cast<float>(maxC - x) * kHlsMax / 6.0f + spread / 2.0f) / static_cast<float>(spread);
    };
    float dr = delta(r), dg = delta(g), db = delta(b);
    float hue = 0;
    if (r == maxC) {
      hue = db - dg;
    } else if (g == maxC) {
      hue = kHlsMax / 3.0f + dr - db;
    } else {
      hue = kHlsMax * 2 / 3.0f + dg - dr;
    }
    h = static_cast<int>(std::nearbyint(hue));
    if (h < 0) {
      h += kHlsMax;
    } else if (h > kHlsMax) {
      h -= kHlsMax;
    }
  }
  return static_cast<TColor>(static_cast<std::uint32_t>(h & 0xFF) | static_cast<std::uint32_t>(l & 0xFF) << 8 |
                             static_cast<std::uint32_t>(s & 0xFF) << 16);
}

TColor HLSToColor(TColor hls) {
  auto bits = static_cast<std::uint32_t>(hls);
  int h = static_cast<int>(bits & 0xFF);
  int l = static_cast<int>((bits >> 8) & 0xFF);
  int s = static_cast<int>((bits >> 16) & 0xFF);
  if (s == 0) {
    if (h != kUndefinedHue) throw Exception("HLS to RGB convert error");
    int grey = std::min(l * kRgbMax / kHlsMax, kRgbMax);
    return Pack(grey, grey, grey);
  }
  int m2 = l > kHlsMax / 2 ? l + s - (l * s + kHlsMax / 2) / kHlsMax : (l * (s + kHlsMax) + kHlsMax / 2) / kHlsMax;
  int m1 = 2 * l - m2;
  return Pack(ChannelFromHue(m1, m2, h + kHlsMax / 3), ChannelFromHue(m1, m2, h),
              ChannelFromHue(m1, m2, h - kHlsMax / 3));
}

}  // namespace kestrel
