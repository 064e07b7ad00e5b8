#pragma once
// Colour arithmetic of the controls: lighter and darker shades and the conversion between RGB
// and hue/lightness/saturation on a scale of 252.

#include "framework/Colors.h"

namespace kestrel {

// Each channel moves `percent` of its distance to white towards white (limited to 0..255).
TColor LightenColor(TColor color, int percent);
// Each channel moves down by `percent` of its distance to white, so white stays white.
TColor DarkenColor(TColor color, int percent);

// H in the lowest byte, L in the next, S in the third; each 0..252.
TColor ColorToHLS(TColor rgb);
// The inverse; raises Exception "HLS to RGB convert error" for a grey (S = 0) whose hue is not
// the grey hue 168.
TColor HLSToColor(TColor hls);

}  // namespace kestrel
