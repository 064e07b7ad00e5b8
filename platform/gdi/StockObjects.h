#pragma once
// The stock GDI objects: created once per process, never deleted.

#include "platform/gdi/GdiTypes.h"

namespace kestrel::platform {

// Stock object `index` (WHITE_BRUSH … DC_PEN); null for unknown indexes and for stock fonts the
// text piece has not provided yet.
HGDIOBJ GetStockObject(int index);
// The 1×1 monochrome bitmap a new memory DC starts with.
HGDIOBJ DefaultBitmap();

}  // namespace kestrel::platform
