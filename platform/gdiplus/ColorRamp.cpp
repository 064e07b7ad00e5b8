#include "platform/gdiplus/ColorRamp.h"

#include <algorithm>
#include <cmath>

namespace kestrel::platform {

namespace {

constexpr double kGamma = 2.2;
constexpr int kGammaSteps = 16;  // stops per interval when interpolating in linear light
constexpr int kAlphaSteps = 8;   // stops per interval when alpha changes (unpremultiplied mix)

bool ValidPositions(const REAL* positions, INT count) {
  if (!positions || count < 2) return false;
  if (positions[0] != 0.0f || positions[count - 1] != 1.0f) return false;
  for (INT i = 1; i < count; ++i) {
    if (!(positions[i] >= positions[i - 1])) return false;  // also rejects NaN
  }
  return true;
}

// Index i such that positions[i] <= t <= positions[i + 1], and the fraction within.
std::pair<size_t, double> Locate(const std::vector<REAL>& positions, double t) {
  size_t i = 0;
  while (i + 2 < positions.size() && t > positions[i + 1]) ++i;
  double span = positions[i + 1] - positions[i];
  double f = span > 0 ? (t - positions[i]) / span : 1.0;
  return {i, std::clamp(f, 0.0, 1.0)};
}

int Channel(double v) { return static_cast<int>(std::lround(std::clamp(v, 0.0, 255.0))); }

}  // namespace

TStatus ColorRamp::SetBlend(const REAL* factors, const REAL* positions, INT count) {
  if (!factors || !ValidPositions(positions, count)) return InvalidParameter;
  blendFactors_.assign(factors, factors + count);
  blendPositions_.assign(positions, positions + count);
  for (REAL& f : blendFactors_) f = std::clamp(f, 0.0f, 1.0f);
  presetColors_.clear();
  presetPositions_.clear();
  return Ok;
}

TStatus ColorRamp::GetBlend(REAL* factors, REAL* positions, INT count) const {
  if (!factors || !positions || count < BlendCount()) return InvalidParameter;
  std::copy(blendFactors_.begin(), blendFactors_.end(), factors);
  std::copy(blendPositions_.begin(), blendPositions_.end(), positions);
  return Ok;
}

TStatus ColorRamp::SetPresetColors(const ARGB* colors, const REAL* positions, INT count) {
  if (!colors || !ValidPositions(positions, count)) return InvalidParameter;
  presetColors_.assign(colors, colors + count);
  presetPositions_.assign(positions, positions + count);
  blendFactors_.clear();
  blendPositions_.clear();
  return Ok;
}

TStatus ColorRamp::GetPresetColors(ARGB* colors, REAL* positions, INT count) const {
  if (!colors || !positions || count < PresetCount()) return InvalidParameter;
  std::copy(presetColors_.begin(), presetColors_.end(), colors);
  std::copy(presetPositions_.begin(), presetPositions_.end(), positions);
  return Ok;
}

ARGB ColorRamp::Mix(ARGB a, ARGB b, double f) const {
  auto channel = [&](int shift, bool isAlpha) {
    double x = (a >> shift) & 0xFF;
    double y = (b >> shift) & 0xFF;
    if (gamma_ && !isAlpha) {
      double lx = std::pow(x / 255.0, kGamma);
      double ly = std::pow(y / 255.0, kGamma);
      return Channel(255.0 * std::pow(lx + (ly - lx) * f, 1.0 / kGamma));
    }
    return Channel(x + (y - x) * f);
  };
  return MakeColor(static_cast<BYTE>(channel(24, true)), static_cast<BYTE>(channel(16, false)),
                   static_cast<BYTE>(channel(8, false)), static_cast<BYTE>(channel(0, false)));
}

ARGB ColorRamp::ColorAt(double t, ARGB from) const {
  t = std::clamp(t, 0.0, 1.0);
  if (!presetPositions_.empty()) {
    auto [i, f] = Locate(presetPositions_, t);
    return Mix(presetColors_[i], presetColors_[i + 1], f);
  }
  double factor = t;
  if (!blendPositions_.empty()) {
    auto [i, f] = Locate(blendPositions_, t);
    factor = blendFactors_[i] + (blendFactors_[i + 1] - blendFactors_[i]) * f;
  }
  return Mix(from, to_, factor);
}

std::vector<double> ColorRamp::RenderPositions(bool alphaVaries) const {
  std::vector<double> breaks;
  const auto& source = !presetPositions_.empty() ? presetPositions_ : blendPositions_;
  if (source.empty()) {
    breaks = {0.0, 1.0};
  } else {
    breaks.assign(source.begin(), source.end());
  }
  if (!alphaVaries) {
    for (ARGB c : presetColors_) alphaVaries |= GetAlpha(c) != GetAlpha(presetColors_.front());
    alphaVaries |= presetColors_.empty() && GetAlpha(from_) != GetAlpha(to_);
  }
  int steps = gamma_ ? kGammaSteps : (alphaVaries ? kAlphaSteps : 1);
  std::vector<double> out;
  out.reserve((breaks.size() - 1) * steps + 1);
  out.push_back(breaks.front());
  for (size_t i = 0; i + 1 < breaks.size(); ++i) {
    double a = breaks[i], b = breaks[i + 1];
    if (b <= a) {
      out.push_back(b);  // a hard step: two stops at the same position
      continue;
    }
    for (int k = 1; k <= steps; ++k) out.push_back(a + (b - a) * k / steps);
  }
  return out;
}

void ColorRamp::ToDoubles(ARGB c, double out[4]) {
  out[0] = GetRed(c) / 255.0;
  out[1] = GetGreen(c) / 255.0;
  out[2] = GetBlue(c) / 255.0;
  out[3] = GetAlpha(c) / 255.0;
}

std::uint32_t ColorRamp::Premultiply(ARGB c) {
  const std::uint32_t a = GetAlpha(c);
  auto mul = [a](std::uint32_t v) { return (v * a + 127) / 255; };
  return (a << 24) | (mul(GetRed(c)) << 16) | (mul(GetGreen(c)) << 8) | mul(GetBlue(c));
}

ARGB ColorRamp::Unpremultiply(std::uint32_t p) {
  const std::uint32_t a = p >> 24;
  if (a == 0) return 0;
  auto ch = [a](std::uint32_t v) { return std::min<std::uint32_t>(255, (v * 255 + a / 2) / a); };
  return (a << 24) | (ch((p >> 16) & 0xFF) << 16) | (ch((p >> 8) & 0xFF) << 8) | ch(p & 0xFF);
}

}  // namespace kestrel::platform
