// TGDIPFill's painting: shadow, main fill (whole or in two halves), background picture,
// border, glow, focus outline and foreground picture, in that order.

#include <cmath>

#include "smooth/GDIPFill.h"
#include "smooth/internal/FillPicturePlacement.h"
#include "smooth/internal/GDIPGradient.h"
#include "smooth/internal/GraphicsStateScope.h"

namespace kestrel {

namespace pf = platform;

namespace {

std::uint8_t Resolve(std::uint8_t given, std::uint8_t own) { return given == 255 ? own : given; }

int RoundEven(float value) { return static_cast<int>(std::nearbyint(value)); }

// R rounded to whole pixels (halves to even), as pictures are placed.
pf::RECT PixelRect(const pf::TGPRectF& R) {
  const int x = RoundEven(R.X), y = RoundEven(R.Y);
  return pf::RECT{x, y, x + RoundEven(R.Width), y + RoundEven(R.Height)};
}

// Which corners of a half keep their rounding: the upper half only its top ones, the lower
// half only its bottom ones; left and right roundings stay.
TFillRoundingType HalfRounding(TFillRoundingType type, bool lower) {
  switch (type) {
    case rtNone: return rtNone;
    case rtTop: return lower ? rtNone : rtTop;
    case rtBottom: return lower ? rtBottom : rtNone;
    case rtBoth: return lower ? rtBottom : rtTop;
    default: return type;
  }
}

void FillTriangle(pf::TGPGraphics& graphics, const pf::TGPBrush& brush, pf::TGPPointF a, pf::TGPPointF b,
                  pf::TGPPointF c) {
  const pf::TGPPointF points[] = {a, b, c};
  graphics.FillPolygon(&brush, points, 3);
}

// A glow band across `band` fading from `from` to `to` downwards, with a triangle at each end
// reaching out to the corners; `baseY` is the band's edge at the outline, `tipY` its other edge.
void DrawGlowBand(pf::TGPGraphics& graphics, const pf::TGPRectF& G, const pf::TGPRectF& band, pf::ARGB from,
                  pf::ARGB to, float baseY, float tipY) {
  if (band.IsEmptyArea()) return;
  pf::TGPLinearGradientBrush brush(pf::TGPRectF{band.X - 1, band.Y - 1, band.Width + 2, band.Height + 2}, from, to,
                                   pf::LinearGradientModeVertical);
  const float left = G.X, right = G.X + G.Width;
  FillTriangle(graphics, brush, {left, baseY}, {left + 5, baseY}, {left + 5, tipY});
  FillTriangle(graphics, brush, {right, baseY}, {right - 5, baseY}, {right - 5, tipY});
  graphics.FillRectangle(&brush, band);
}

}  // namespace

bool TGDIPFill::IsSplit() const {
  return values_.ColorMirror != clNone && values_.GradientType != gtHatch && values_.GradientType != gtTexture;
}

pf::TGPRectF TGDIPFill::Fill(pf::TGPGraphics* graphics, pf::TGPRectF R, std::uint8_t ABorderOpacity,
                             std::uint8_t AOpacity, std::uint8_t AOpacityTo, std::uint8_t AOpacityMirror,
                             std::uint8_t AOpacityMirrorTo) {
  const TFillSettings& v = values_;
  const std::uint8_t borderOpacity = Resolve(ABorderOpacity, v.BorderOpacity);
  const std::uint8_t oc = Resolve(AOpacity, v.Opacity);
  const std::uint8_t octo = Resolve(AOpacityTo, v.OpacityTo);
  const std::uint8_t ocmr = Resolve(AOpacityMirror, v.OpacityMirror);
  const std::uint8_t ocmrto = Resolve(AOpacityMirrorTo, v.OpacityMirrorTo);
  if (!graphics) return R;
  pf::TGPGraphics& g = *graphics;
  TGraphicsStateScope keepCallersState(g);
  const bool hasBorder = v.BorderWidth > 0 && v.BorderColor != clNone;
  const pf::ARGB borderColour = pf::MakeColor(borderOpacity, v.BorderColor);

  if (R.Height == 1 || R.Width == 1) {
    if (hasBorder) {
      pf::TGPPen pen(borderColour, static_cast<pf::REAL>(v.BorderWidth));
      g.DrawLine(&pen, R.X, R.Y, R.X + R.Width, R.Y + R.Height);
    }
  } else {
    DrawShadow(g, R);
    DrawMainFill(g, R, oc, octo, ocmr, ocmrto);
    if (v.BackGroundPictureMode == pmInsideFill) {
      TGraphicsStateScope clip(g);
      const auto outline = CreateRoundingPath(R, static_cast<float>(v.Rounding), v.RoundingType);
      g.SetClip(outline.get(), pf::CombineModeIntersect);
      DrawBackGroundPicture(g, R);
    }
    if (hasBorder) {
      const auto outline = CreateRoundingPath(R, static_cast<float>(v.Rounding), v.RoundingType);
      pf::TGPPen pen(borderColour, static_cast<pf::REAL>(v.BorderWidth));
      g.DrawPath(&pen, outline.get());
    }
  }
  DrawGlow(g, R);
  const float b = static_cast<float>(v.BorderWidth);
  FocusRect = pf::TGPRectF{R.X + b, R.Y + b, R.Width - 2 * b, R.Height - 2 * b};
  if (focus_) DrawFocus(g, oc);
  if (v.BackGroundPictureMode == pmOutsideFill) DrawBackGroundPicture(g, R);
  DrawForeGroundPicture(g, R);
  return R;
}

void TGDIPFill::DrawShadow(pf::TGPGraphics& g, pf::TGPRectF& R) const {
  const TFillSettings& v = values_;
  const int o = v.ShadowOffset;
  if (o <= 0 || v.ShadowColor == clNone) return;
  const float of = static_cast<float>(o);
  switch (v.ShadowType) {
    case stRightBottom:
    case stSurround: {
      const bool surround = v.ShadowType == stSurround;
      const auto path = surround ? CreateRoundingPath(R, of, rtBoth)
                                 : CreateRoundingPath(R, static_cast<float>(v.Rounding), v.RoundingType);
      pf::TGPPathGradientBrush brush(path.get());
      brush.SetWrapMode(pf::WrapModeClamp);
      const pf::ARGB shade = pf::MakeColor(180, v.ShadowColor);
      const pf::ARGB colours[] = {0, shade, shade};
      const pf::REAL positions[] = {0.0f, 0.1f, 1.0f};
      brush.SetInterpolationColors(colours, positions, 3);
      g.FillPath(&brush, path.get());
      if (surround) {
        R.X += of;
        R.Y += of;
        R.Width -= 2 * of;
        R.Height -= 2 * of;
      } else {
        R.Width -= of;
        R.Height -= of;
      }
      break;
    }
    case stBottom:
      DrawRadialFill(g, pf::TGPRectF{R.X, R.Y + R.Height - 2 * of, R.Width, 2 * of}, v.ShadowColor, v.ShadowColor, 0,
                     255, true, v.Rounding, rtBottom);
      R.Height -= of;
      break;
  }
}

void TGDIPFill::DrawMainFill(pf::TGPGraphics& g, const pf::TGPRectF& R, std::uint8_t oc, std::uint8_t octo,
                             std::uint8_t ocmr, std::uint8_t ocmrto) const {
  const TFillSettings& v = values_;
  const TColor colorTo = v.ColorTo == clNone ? v.Color : v.ColorTo;
  const bool radial = v.GradientType == gtRadial && v.Color != clNone;
  if (!IsSplit()) {
    if (radial) DrawRadialFill(g, R, v.Color, colorTo, oc, octo, true, v.Rounding, v.RoundingType);
    else if (v.GradientType != gtRadial) DrawGradientBackGround(g, R, false, oc, octo, ocmr, ocmrto);
    return;
  }
  // The halves overlap by two pixels around the middle, so no seam shows between them.
  const float half = R.Height / 2;
  const pf::TGPRectF upper{R.X, R.Y, R.Width, R.Height - half + 1};
  const pf::TGPRectF lower{R.X, R.Y + half - 1, R.Width, R.Height - half + 1};
  if (radial) DrawRadialFill(g, upper, v.Color, colorTo, oc, octo, true, v.Rounding, rtTop);
  else if (v.GradientType != gtRadial) DrawGradientBackGround(g, upper, false, oc, octo, ocmr, ocmrto);
  if (v.GradientMirrorType == gtRadial) {
    const TColor mirrorTo = v.ColorMirrorTo == clNone ? v.ColorMirror : v.ColorMirrorTo;
    DrawRadialFill(g, lower, v.ColorMirror, mirrorTo, ocmr, ocmrto, false, v.Rounding, rtBottom);
  } else {
    DrawGradientBackGround(g, lower, true, oc, octo, ocmr, ocmrto);
  }
}

void TGDIPFill::DrawGradientBackGround(pf::TGPGraphics& g, const pf::TGPRectF& R, bool Mirror, std::uint8_t oc,
                                       std::uint8_t octo, std::uint8_t ocmr, std::uint8_t ocmrto) const {
  const TFillSettings& v = values_;
  TGDIPGradientRequest request;
  request.Graphics = &g;
  request.Rect = R;
  request.Color = Mirror ? v.ColorMirror : v.Color;
  request.ColorTo = Mirror ? v.ColorMirrorTo : v.ColorTo;
  request.Opacity = Mirror ? ocmr : oc;
  request.OpacityTo = Mirror ? ocmrto : octo;
  request.HatchStyle = Mirror ? v.HatchStyleMirror : v.HatchStyle;
  request.Angle = v.Angle;
  request.Mirror = Mirror;
  if (request.Color == clNone) request.GradientType = gtNone;
  else if (request.ColorTo == clNone) request.GradientType = gtSolid;
  else request.GradientType = Mirror ? v.GradientMirrorType : v.GradientType;
  if (v.BackGroundPicturePosition == ppTiled) request.Picture = backGroundPicture_.get();

  std::unique_ptr<pf::TGPGraphicsPath> outline;
  if (v.Rounding != 0) {
    // A fill painted whole keeps all its corners, whatever its mirror colour says.
    const TFillRoundingType rounding = IsSplit() ? HalfRounding(v.RoundingType, Mirror) : v.RoundingType;
    outline = CreateRoundingPath(R, static_cast<float>(v.Rounding), rounding);
    request.Path = outline.get();
    request.HasPath = true;
  }
  TGraphicsStateScope smoothing(g);
  if (outline) g.SetSmoothingMode(pf::SmoothingModeAntiAlias);
  DrawGDIPGradient(request);
}

void TGDIPFill::DrawGlow(pf::TGPGraphics& g, const pf::TGPRectF& R) const {
  const TFillSettings& v = values_;
  if (v.Glow == gmNone) return;
  TGraphicsStateScope clip(g);
  g.SetClip(R, pf::CombineModeIntersect);
  const pf::TGPRectF G{R.X + 1, R.Y + 1, R.Width - 2, R.Height - 2};
  if (v.Glow == gmGradient || v.Glow == gmRadialGradient) {
    const auto outline = CreateRoundingPath(G, static_cast<float>(v.Rounding), v.RoundingType);
    pf::TGPPen pen(pf::MakeColor(200, v.GlowGradientColor), 1);
    g.DrawPath(&pen, outline.get());
    DrawGlowBand(g, G, pf::TGPRectF{G.X + 5, G.Y, G.Width - 10, 4}, pf::MakeColor(175, v.GlowGradientColor),
                 pf::MakeColor(0, v.GlowGradientColor), G.Y, G.Y + 4);
    const float bottom = G.Y + G.Height;
    DrawGlowBand(g, G, pf::TGPRectF{G.X + 5, bottom - 7, G.Width - 10, 7}, pf::MakeColor(0, v.GlowGradientColor),
                 pf::MakeColor(220, v.GlowGradientColor), bottom, bottom - 7);
  }
  if (v.Glow == gmRadial || v.Glow == gmRadialGradient) {
    const pf::TGPRectF E{G.X + 10, G.Y - G.Height / 2, G.Width - 20, 3 * G.Height};
    if (E.IsEmptyArea()) return;
    pf::TGPGraphicsPath ellipse;
    ellipse.AddEllipse(E);
    pf::TGPPathGradientBrush brush(&ellipse);
    brush.SetCenterPoint(pf::TGPPointF{E.X + E.Width / 2, E.Y + E.Height / 2});
    brush.SetCenterColor(pf::MakeColor(150, v.GlowRadialColor));
    const pf::ARGB surround = pf::MakeColor(0, v.Color);
    pf::INT count = 1;
    brush.SetSurroundColors(&surround, &count);
    g.FillPath(&brush, &ellipse);
  }
}

void TGDIPFill::DrawFocus(pf::TGPGraphics& g, std::uint8_t opacity) const {
  TGraphicsStateScope smoothing(g);
  g.SetSmoothingMode(pf::SmoothingModeDefault);
  // The radius inside the border; CreateRoundingPath squares a negative one.
  const auto outline =
      CreateRoundingPath(FocusRect, static_cast<float>(values_.Rounding - values_.BorderWidth), values_.RoundingType);
  pf::TGPPen pen(pf::MakeColor(opacity, focusColor_), 1);
  pen.SetDashStyle(pf::DashStyleDot);
  g.DrawPath(&pen, outline.get());
}

void TGDIPFill::DrawBackGroundPicture(pf::TGPGraphics& g, const pf::TGPRectF& R) const {
  const TFillSettings& v = values_;
  const TGDIPPicture& picture = *backGroundPicture_;
  if (picture.Empty() || v.GradientType != gtTexture) return;
  DrawFillPicture(g, v.BackGroundPictureAspectRatio, v.BackGroundPictureAspectMode, picture,
                  v.BackGroundPicturePosition, picture.Width(), picture.Height(), PixelRect(R), v.BackGroundPictureLeft,
                  v.BackGroundPictureTop);
}

void TGDIPFill::DrawForeGroundPicture(pf::TGPGraphics& g, const pf::TGPRectF& R) const {
  const TFillSettings& v = values_;
  const TGDIPPicture& picture = *picture_;
  if (picture.Empty()) return;
  const bool custom = v.PictureSize == psCustom;
  DrawFillPicture(g, v.PictureAspectRatio, v.PictureAspectMode, picture, v.PicturePosition,
                  custom ? v.PictureWidth : picture.Width(), custom ? v.PictureHeight : picture.Height(), PixelRect(R),
                  v.PictureLeft, v.PictureTop);
}

}  // namespace kestrel
