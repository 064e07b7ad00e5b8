#pragma once
// Stretching bitmaps pixel by pixel (rows and columns dropped or repeated) through DCs of their
// own, so that a bitmap handed to the background painters never gets a canvas holding it.

#include "framework/Bitmap.h"
#include "platform/gdi/Gdi.h"

namespace kestrel {

// The whole of `source` stretched into `at` of `dest`.
void StretchBitmapInto(platform::HDC dest, const TRect& at, TBitmap& source);
// The whole of `source` stretched over the whole of `target`.
void StretchBitmap(TBitmap& target, TBitmap& source);

}  // namespace kestrel
