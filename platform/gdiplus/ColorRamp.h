#pragma once
// The colour ramp shared by linear and path gradients: two end colours shaped by an optional
// blend (factors at positions) or replaced by preset interpolation colours, optionally
// interpolated in linear light (gamma 2.2). Colours interpolate unpremultiplied, as GDI+ does;
// since cairo interpolates its stops premultiplied, RenderPositions() adds stops wherever a
// straight premultiplied blend between two stops would differ visibly.

#include <vector>

#include "platform/gdiplus/GdiPlusTypes.h"

namespace kestrel::platform {

class ColorRamp {
 public:
  ColorRamp(ARGB from, ARGB to) : from_(from), to_(to) {}

  void SetEnds(ARGB from, ARGB to) {
    from_ = from;
    to_ = to;
  }
  ARGB From() const { return from_; }
  ARGB To() const { return to_; }

  // Positions must rise from 0 to 1; clears any preset colours.
  TStatus SetBlend(const REAL* factors, const REAL* positions, INT count);
  INT BlendCount() const { return static_cast<INT>(blendPositions_.size()); }
  TStatus GetBlend(REAL* factors, REAL* positions, INT count) const;
  // Positions must rise from 0 to 1; clears any blend.
  TStatus SetPresetColors(const ARGB* colors, const REAL* positions, INT count);
  INT PresetCount() const { return static_cast<INT>(presetPositions_.size()); }
  TStatus GetPresetColors(ARGB* colors, REAL* positions, INT count) const;
  bool HasPresets() const { return !presetPositions_.empty(); }

  void SetGamma(bool on) { gamma_ = on; }
  bool Gamma() const { return gamma_; }

  // Colour at t in [0, 1]; `from` stands in for the start colour (path gradients vary it per
  // boundary point).
  ARGB ColorAt(double t, ARGB from) const;
  ARGB ColorAt(double t) const { return ColorAt(t, from_); }
  // Where to place stops so that straight interpolation between them renders the ramp.
  // `alphaVaries` forces the subdivision needed for unpremultiplied blending.
  std::vector<double> RenderPositions(bool alphaVaries) const;

  // Splits an ARGB value into cairo's 0..1 doubles (red, green, blue, alpha).
  static void ToDoubles(ARGB c, double out[4]);
  // ARGB to cairo's premultiplied pixel word and back.
  static std::uint32_t Premultiply(ARGB c);
  static ARGB Unpremultiply(std::uint32_t pixel);

 private:
  ARGB Mix(ARGB a, ARGB b, double f) const;

  ARGB from_;
  ARGB to_;
  std::vector<REAL> blendFactors_;
  std::vector<REAL> blendPositions_;
  std::vector<ARGB> presetColors_;
  std::vector<REAL> presetPositions_;
  bool gamma_ = false;
};

}  // namespace kestrel::platform
