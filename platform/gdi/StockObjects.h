#pragma once
// The stock GDI objects: created once per process, never deleted.

#include <memory>

#include "platform/gdi/GdiObject.h"
#include "platform/gdi/GdiTypes.h"

namespace kestrel::platform {

// Stock object `index` (WHITE_BRUSH … DC_PEN); null for unknown indexes and for stock fonts the
// text piece has not provided yet.
HGDIOBJ GetStockObject(int index);
// Lets the text piece provide the stock fonts (SYSTEM_FONT, DEFAULT_GUI_FONT, …). The object is
// marked as stock; an index that already has an object keeps it. Returns the handle.
HGDIOBJ SetStockObject(int index, std::shared_ptr<GdiObject> object);
// The 1×1 monochrome bitmap a new memory DC starts with.
HGDIOBJ DefaultBitmap();

}  // namespace kestrel::platform
