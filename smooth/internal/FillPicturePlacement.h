#pragma once
// Where a fill's picture lands: the placement table of TFillPicturePosition over an integer
// rectangle, and the aspect-ratio fit of a stretched picture.

#include "platform/core/WinTypes.h"
#include "platform/gdiplus/GdiPlus.h"
#include "smooth/FillTypes.h"

namespace kestrel {

class TGDIPPicture;

struct TPictureSize {
  float Width = 0;
  float Height = 0;
};

// The size a picture of pw × ph takes in a rectangle of rw × rh when its aspect ratio is kept:
// its own size when it is smaller and AspectMode is pmNormal, otherwise as large as fits.
// (0, 0) when any size is 0 or less.
TPictureSize FitPictureSize(TPictureMode AspectMode, float rw, float rh, float pw, float ph);

// The target rectangle (left, top, right, bottom) of a w × h picture placed in `Rect` at
// `Position` (every position but ppTiled). `Rect` has already been moved by the offsets, except
// for ppCustom, where `Left` and `Top` are the absolute place.
platform::RECT PictureTarget(TFillPicturePosition Position, bool AspectRatio, TPictureMode AspectMode, int w, int h,
                             const platform::RECT& Rect, int Left, int Top);

// Draws `Picture` (w × h) in `Rect` as placed by `Position` with the offsets `Left`/`Top`
// (absolute with ppCustom); ppTiled fills the moved rectangle with the picture as a texture.
void DrawFillPicture(platform::TGPGraphics& graphics, bool AspectRatio, TPictureMode AspectMode,
                     const TGDIPPicture& Picture, TFillPicturePosition Position, int w, int h, platform::RECT Rect,
                     int Left, int Top);

}  // namespace kestrel
