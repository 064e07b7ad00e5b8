#include "smooth/internal/FillPicturePlacement.h"

#include <cmath>

#include "smooth/GDIPPicture.h"
#include "smooth/internal/GDIPGradient.h"

namespace kestrel {

namespace pf = platform;

namespace {

// Rounds half to even, as every conversion of a real to pixels does.
int RoundEven(float value) { return static_cast<int>(std::nearbyint(value)); }

pf::RECT Sized(int left, int top, int w, int h) { return pf::RECT{left, top, left + w, top + h}; }

}  // namespace

TPictureSize FitPictureSize(TPictureMode AspectMode, float rw, float rh, float pw, float ph) {
  if (pw <= 0 || ph <= 0 || rw <= 0 || rh <= 0) return {};
  if (pw < rw && ph < rh && AspectMode == pmNormal) return {pw, ph};
  if (rw / rh > pw / ph) return {pw * rh / ph, rh};
  return {rw, ph * rw / pw};
}

pf::RECT PictureTarget(TFillPicturePosition Position, bool AspectRatio, TPictureMode AspectMode, int w, int h,
                       const pf::RECT& Rect, int Left, int Top) {
  const int L = Rect.left, T = Rect.top, Rt = Rect.right, B = Rect.bottom;
  const int centreX = L + (Rt - L - w) / 2;
  const int centreY = T + (B - T - h) / 2;
  switch (Position) {
    case ppTopLeft: return Sized(L, T, w, h);
    case ppTopCenter: return Sized(centreX, T, w, h);
    case ppTopRight: return Sized(Rt - w, T, w, h);
    case ppBottomLeft: return Sized(L, B - h, w, h);
    case ppBottomCenter: return Sized(centreX, B - h, w, h);
    case ppBottomRight: return Sized(Rt - w, B - h, w, h);
    case ppCenterLeft: return Sized(L, centreY, w, h);
    case ppCenterCenter: return Sized(centreX, centreY, w, h);
    case ppCenterRight: return Sized(Rt - w, centreY, w, h);
    case ppCustom: return Sized(Left, Top, w, h);
    case ppStretched: {
      if (!AspectRatio) return Rect;
      const TPictureSize fit = FitPictureSize(AspectMode, static_cast<float>(Rt - L), static_cast<float>(B - T),
                                              static_cast<float>(w), static_cast<float>(h));
      return Sized(RoundEven((static_cast<float>(Rt - L) - fit.Width) / 2 + static_cast<float>(L)),
                   RoundEven((static_cast<float>(B - T) - fit.Height) / 2 + static_cast<float>(T)),
                   RoundEven(fit.Width), RoundEven(fit.Height));
    }
    case ppTiled: break;
  }
  return Rect;
}

void DrawFillPicture(pf::TGPGraphics& graphics, bool AspectRatio, TPictureMode AspectMode, const TGDIPPicture& Picture,
                     TFillPicturePosition Position, int w, int h, pf::RECT Rect, int Left, int Top) {
  if (Picture.Empty()) return;
  if (Position != ppCustom) {
    Rect.left += Left;
    Rect.right += Left;
    Rect.top += Top;
    Rect.bottom += Top;
  }
  if (Position == ppTiled) {
    TGDIPGradientRequest request;
    request.Graphics = &graphics;
    request.Rect = pf::TGPRectF{static_cast<float>(Rect.left), static_cast<float>(Rect.top),
                                static_cast<float>(Rect.right - Rect.left), static_cast<float>(Rect.bottom - Rect.top)};
    request.GradientType = gtTexture;
    request.Picture = &Picture;
    DrawGDIPGradient(request);
    return;
  }
  Picture.Draw(graphics, PictureTarget(Position, AspectRatio, AspectMode, w, h, Rect, Left, Top));
}

}  // namespace kestrel
