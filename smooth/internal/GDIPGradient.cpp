#include "smooth/internal/GDIPGradient.h"

#include <algorithm>

#include "smooth/GDIPPicture.h"
#include "smooth/internal/GraphicsStateScope.h"

namespace kestrel {

namespace pf = platform;

namespace {

void FillTarget(const TGDIPGradientRequest& rq, const pf::TGPBrush& brush) {
  if (rq.HasPath && rq.Path) rq.Graphics->FillPath(&brush, rq.Path);
  else rq.Graphics->FillRectangle(&brush, rq.Rect);
}

pf::TGPRectF Grown(const pf::TGPRectF& r) { return {r.X - 1, r.Y - 1, r.Width + 2, r.Height + 2}; }

void FillLinear(const TGDIPGradientRequest& rq, pf::ARGB c1, pf::ARGB c2) {
  static constexpr pf::LinearGradientMode modes[] = {pf::LinearGradientModeVertical, pf::LinearGradientModeHorizontal,
                                                     pf::LinearGradientModeForwardDiagonal,
                                                     pf::LinearGradientModeBackwardDiagonal};
  pf::TGPLinearGradientBrush brush(Grown(rq.Rect), c1, c2, modes[rq.GradientType - gtVertical]);
  brush.SetGammaCorrection(pf::TRUE);
  FillTarget(rq, brush);
  if (rq.Mirror) {
    // The top row of a lower half repeats the start colour, hiding the gradient's wrap-around.
    pf::TGPSolidBrush edge(c1);
    rq.Graphics->FillRectangle(&edge, pf::TGPRectF{rq.Rect.X, rq.Rect.Y, rq.Rect.Width, 1});
  }
}

void FillAngle(const TGDIPGradientRequest& rq, pf::ARGB c1, pf::ARGB c2) {
  pf::TGPLinearGradientBrush brush(Grown(rq.Rect), c1, c2, static_cast<pf::REAL>(rq.Angle), pf::TRUE);
  brush.SetGammaCorrection(pf::TRUE);
  FillTarget(rq, brush);
}

void FillHatch(const TGDIPGradientRequest& rq, pf::ARGB c1, pf::ARGB c2) {
  if (rq.HatchStyle < pf::HatchStyleMin || rq.HatchStyle > pf::HatchStyleMax) return;
  pf::TGPHatchBrush brush(rq.HatchStyle, c1, c2);
  FillTarget(rq, brush);
}

void FillTexture(const TGDIPGradientRequest& rq) {
  if (!rq.Picture) return;
  if (rq.HasPath && rq.Path) rq.Picture->FillTexture(*rq.Graphics, *rq.Path);
  else rq.Picture->FillTexture(*rq.Graphics, rq.Rect);
}

void StrokeBorder(const TGDIPGradientRequest& rq) {
  if (rq.BorderColor == clNone) return;
  pf::TGPPen pen(pf::MakeColor(rq.Opacity, rq.BorderColor), static_cast<pf::REAL>(rq.BorderWidth));
  pen.SetDashStyle(rq.BorderDashStyle);
  if (rq.HasPath && rq.Path) rq.Graphics->DrawPath(&pen, rq.Path);
  else rq.Graphics->DrawRectangle(&pen, rq.Rect);
}

}  // namespace

void DrawGDIPGradient(const TGDIPGradientRequest& rq) {
  if (!rq.Graphics || rq.Rect.IsEmptyArea()) return;
  const pf::ARGB c1 = pf::MakeColor(rq.Opacity, rq.Color);
  const pf::ARGB c2 = pf::MakeColor(rq.OpacityTo, rq.ColorTo);
  switch (rq.GradientType) {
    case gtSolid: {
      pf::TGPSolidBrush brush(c1);
      FillTarget(rq, brush);
      break;
    }
    case gtVertical:
    case gtHorizontal:
    case gtForwardDiagonal:
    case gtBackwardDiagonal: FillLinear(rq, c1, c2); break;
    case gtAngle: FillAngle(rq, c1, c2); break;
    case gtHatch: FillHatch(rq, c1, c2); break;
    case gtTexture: FillTexture(rq); break;
    case gtRadial:
    case gtPath:
    case gtNone: break;
  }
  StrokeBorder(rq);
}

std::unique_ptr<pf::TGPGraphicsPath> CreateRoundingPath(const pf::TGPRectF& R, float Radius,
                                                        TFillRoundingType RoundingType) {
  auto path = std::make_unique<pf::TGPGraphicsPath>(pf::FillModeAlternate);
  // A negative radius would turn the corner arcs inside out; square corners instead. Radii
  // past the rectangle's longer side (overlapping arcs are kept up to there) only sweep arcs far
  // outside it, and made outlines, and the clip regions built from them, of any size.
  const float r = std::clamp(Radius, 0.0f, std::max({R.Width, R.Height, 0.0f}));
  const float d = 2 * r, x = R.X, y = R.Y, right = R.X + R.Width, bottom = R.Y + R.Height;
  auto topLeft = [&] { path->AddArc(x, y, d, d, 180, 90); };
  auto topRight = [&] { path->AddArc(right - d, y, d, d, 270, 90); };
  auto bottomRight = [&] { path->AddArc(right - d, bottom - d, d, d, 0, 90); };
  auto bottomLeft = [&] { path->AddArc(x, bottom - d, d, d, 90, 90); };
  auto line = [&](float x1, float y1, float x2, float y2) { path->AddLine(x1, y1, x2, y2); };
  switch (RoundingType) {
    case rtNone:
      line(x, y, right, y);
      line(right, y, right, bottom);
      line(right, bottom, x, bottom);
      line(x, bottom, x, y);
      break;
    case rtTop:
      topLeft();
      line(x + r, y, right - r, y);
      topRight();
      line(right, y + r, right, bottom);
      line(right, bottom, x, bottom);
      line(x, bottom, x, y + r);
      break;
    case rtBottom:
      line(x, y, right, y);
      line(right, y, right, bottom - r);
      bottomRight();
      line(right - r, bottom, x + r, bottom);
      bottomLeft();
      line(x, bottom - r, x, y);
      break;
    case rtBoth:
      topLeft();
      line(x + r, y, right - r, y);
      topRight();
      line(right, y + r, right, bottom - r);
      bottomRight();
      line(right - r, bottom, x + r, bottom);
      bottomLeft();
      line(x, bottom - r, x, y + r);
      break;
    case rtLeft:
      topLeft();
      line(x + r, y, right - r, y);
      line(right, y, right, bottom);
      line(right - r, bottom, x + r, bottom);
      bottomLeft();
      line(x, bottom - r, x, y + r);
      break;
    case rtRight:
      line(x, y, right - r, y);
      topRight();
      line(right, y + r, right, bottom - r);
      bottomRight();
      line(right - r, bottom, x, bottom);
      line(x, bottom - r, x, y + r);
      break;
  }
  path->CloseFigure();
  return path;
}

void DrawRadialFill(pf::TGPGraphics& graphics, const pf::TGPRectF& R, TColor Color, TColor ColorTo,
                    std::uint8_t OpacityA, std::uint8_t OpacityB, bool Upper, int Rounding,
                    TFillRoundingType RoundingType) {
  if (R.IsEmptyArea()) return;
  const pf::ARGB a = pf::MakeColor(OpacityA, Color);
  const pf::ARGB b = pf::MakeColor(OpacityB, ColorTo);
  const auto outline = CreateRoundingPath(R, static_cast<float>(Rounding), RoundingType);
  pf::TGPSolidBrush base(Upper ? a : b);
  graphics.FillPath(&base, outline.get());

  TGraphicsStateScope clip(graphics);
  graphics.SetClip(outline.get(), pf::CombineModeIntersect);
  const float hh = R.Height / 2, hw = R.Width / 2;
  pf::TGPGraphicsPath ellipse;
  if (Upper) ellipse.AddEllipse(R.X, R.Y - hh, R.Width, R.Height + hh);
  else ellipse.AddEllipse(R.X, R.Y, R.Width, R.Height + hh);
  pf::TGPPathGradientBrush brush(&ellipse);
  brush.SetCenterPoint(pf::TGPPointF{R.X + hw, Upper ? R.Y : R.Y + R.Height});
  brush.SetCenterColor(Upper ? b : a);
  const pf::ARGB surround = Upper ? a : b;
  pf::INT count = 1;
  brush.SetSurroundColors(&surround, &count);
  graphics.FillRectangle(&brush, R);
}

}  // namespace kestrel
