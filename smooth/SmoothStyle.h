#pragma once
// Colour styles of the smooth controls: the style index, the colour tones a host application
// hands down, the two interfaces a control implements to take them, and the marquee's colours
// for each style.

#include <optional>

#include "framework/Colors.h"
#include "framework/PropInfo.h"

namespace kestrel {

enum TSmoothStyle {
  tsOffice2003Blue,
  tsOffice2003Silver,
  tsOffice2003Olive,
  tsOffice2003Classic,
  tsOffice2007Luna,
  tsOffice2007Obsidian,
  tsWindowsXP,
  tsWhidbey,
  tsCustom,
  tsOffice2007Silver,
  tsWindowsVista,
  tsWindows7,
  tsTerminal,
  tsOffice2010Blue,
  tsOffice2010Silver,
  tsOffice2010Black,
  tsWindows8,
  tsOffice2013White,
  tsOffice2013LightGray,
  tsOffice2013Gray,
  tsWindows10,
  tsOffice2016White,
  tsOffice2016Gray,
  tsOffice2016Black,
};

const TEnumInfo& SmoothStyleInfo();

struct TColorTone {
  TColor BrushColor = clNone;
  TColor BorderColor = clNone;
  TColor TextColor = clNone;
};

struct TColorTones {
  TColorTone Background;
  TColorTone Foreground;
  TColorTone Selected;
  TColorTone Hover;
  TColorTone Disabled;
};

class ISmoothStyle {
 public:
  virtual void SetComponentStyle(TSmoothStyle AStyle) = 0;
  virtual TSmoothStyle GetComponentStyle() const = 0;

 protected:
  ~ISmoothStyle() = default;
};

class ISmoothTones {
 public:
  virtual void SetColorTones(const TColorTones& ATones) = 0;

 protected:
  ~ISmoothTones() = default;
};

// What a style gives a marquee: its fill's four colours and border, and its bullets' border and
// colour; some styles also pick gradient kinds.
struct TMarqueeStyleColors {
  TColor Color, ColorTo, ColorMirror, ColorMirrorTo, FillBorder, BulletBorder, BulletColor;
  bool VerticalGradient = false;        // GradientType becomes gtVertical
  bool VerticalMirrorGradient = false;  // GradientMirrorType becomes gtVertical
};

// Nothing for tsCustom (and for values outside the enumeration).
std::optional<TMarqueeStyleColors> MarqueeStyleColors(TSmoothStyle style);

}  // namespace kestrel
