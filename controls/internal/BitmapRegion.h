#pragma once
// The window region of a picture: every pixel whose colour differs from a key colour.

#include "framework/Bitmap.h"
#include "platform/gdi/Gdi.h"

namespace kestrel {

// The union of one-row runs of pixels whose blue, green and red differ from `key`'s (alpha does
// not count), rows from the top; null when every pixel has the key colour. Every pixel format
// is scanned the same way, so the region never comes out inverted.
platform::HRGN BitmapToRegion(const TBitmap& bitmap, TColor key);

}  // namespace kestrel
