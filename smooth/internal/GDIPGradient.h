#pragma once
// The shared gradient painter and the shapes fills are made of: rounded outlines, the radial
// fill (a solid base under an off-centre elliptic path gradient), and one gradient request
// filling a rectangle or a path with a solid colour, a linear gradient, a hatch or a texture.

#include <memory>

#include "framework/Colors.h"
#include "platform/gdiplus/GdiPlus.h"
#include "smooth/FillTypes.h"

namespace kestrel {

class TGDIPPicture;

struct TGDIPGradientRequest {
  platform::TGPGraphics* Graphics = nullptr;
  const platform::TGPGraphicsPath* Path = nullptr;
  bool HasPath = false;
  platform::TGPRectF Rect;
  TGradientType GradientType = gtSolid;
  TColor Color = clNone;
  TColor ColorTo = clNone;
  std::uint8_t Opacity = 255;
  std::uint8_t OpacityTo = 255;
  platform::HatchStyle HatchStyle = platform::HatchStyleHorizontal;
  int Angle = 0;
  const TGDIPPicture* Picture = nullptr;
  TColor BorderColor = clNone;
  int BorderWidth = 0;
  platform::DashStyle BorderDashStyle = platform::DashStyleSolid;
  bool Mirror = false;
};

// Paints one request. Rectangles without area paint nothing (a gradient over them is undefined).
void DrawGDIPGradient(const TGDIPGradientRequest& request);

// The outline of `R` with corners of radius `Radius` rounded as `RoundingType` says, as a closed
// figure (even-odd fill). A radius of 0 gives square corners; radii above half the size give
// overlapping arcs, up to the longer side, which bounds the radius.
std::unique_ptr<platform::TGPGraphicsPath> CreateRoundingPath(const platform::TGPRectF& R, float Radius,
                                                              TFillRoundingType RoundingType);

// A solid fill of the rounded outline of `R` overlaid, inside it, by an elliptic gradient whose
// centre sits on the middle of the top edge (Upper) or of the bottom edge.
void DrawRadialFill(platform::TGPGraphics& graphics, const platform::TGPRectF& R, TColor Color, TColor ColorTo,
                    std::uint8_t OpacityA, std::uint8_t OpacityB, bool Upper, int Rounding,
                    TFillRoundingType RoundingType);

}  // namespace kestrel
