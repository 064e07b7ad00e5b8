#pragma once
// What linear and path gradients share: the colour ramp with its blend, preset colours and gamma.

#include "platform/gdiplus/ColorRamp.h"
#include "platform/gdiplus/TGPBrush.h"

namespace kestrel::platform {

class TGPGradientBrush : public TGPBrush {
 public:
  TStatus SetGammaCorrection(BOOL useGammaCorrection) {
    ramp_.SetGamma(useGammaCorrection != FALSE);
    return Ok;
  }
  BOOL GetGammaCorrection() const { return ramp_.Gamma() ? TRUE : FALSE; }
  // Factors of the end colour at positions rising from 0 to 1; replaces preset colours.
  TStatus SetBlend(const REAL* blendFactors, const REAL* blendPositions, INT count) {
    return Remember(ramp_.SetBlend(blendFactors, blendPositions, count));
  }
  INT GetBlendCount() const { return ramp_.BlendCount(); }
  TStatus GetBlend(REAL* blendFactors, REAL* blendPositions, INT count) const {
    return Remember(ramp_.GetBlend(blendFactors, blendPositions, count));
  }
  // Colours at positions rising from 0 to 1, replacing the two-colour ramp and any blend.
  TStatus SetInterpolationColors(const ARGB* presetColors, const REAL* blendPositions, INT count) {
    return Remember(ramp_.SetPresetColors(presetColors, blendPositions, count));
  }
  INT GetInterpolationColorCount() const { return ramp_.PresetCount(); }
  TStatus GetInterpolationColors(ARGB* presetColors, REAL* blendPositions, INT count) const {
    return Remember(ramp_.GetPresetColors(presetColors, blendPositions, count));
  }

 protected:
  TGPGradientBrush(ARGB from, ARGB to) : ramp_(from, to) {}
  ColorRamp ramp_;
};

}  // namespace kestrel::platform
