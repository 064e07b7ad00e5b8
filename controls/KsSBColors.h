#pragma once
// The shades an owner-drawn scroll bar derives from its face colour.

#include "framework/Colors.h"

namespace kestrel {

// The light squares of the track pattern: clBtnHighlight for clBtnFace, else the face with its
// lightness raised by a quarter.
TColor LightenedColor(TColor face);
// A pressed track part: clBtnShadow for clBtnFace, else the face with its lightness lowered by a
// quarter.
TColor PressedTrackColor(TColor face);

struct TKsSBFrameColors {
  TColor highlight;
  TColor dark;
  TColor face;
  TColor shadow;
};
// The frame colours of buttons and thumb for face colour `face`.
TKsSBFrameColors FrameColors(TColor face);

}  // namespace kestrel
