#pragma once
// The GDI stand-in: include this for everything drawing-related except text and GDI+.
//
// Handles (HDC, HBITMAP, HBRUSH, HPEN, HRGN, HPALETTE) are checked table entries: a destroyed or
// foreign handle fails as on Windows (FALSE / null / CLR_INVALID / ERROR, last error
// ERROR_INVALID_HANDLE) and never reaches freed memory. Other pieces extend the drawing model
// through DeviceContext.h (window DCs: DeviceContext::SetWindowSurface and onDamage; drawing
// code: DrawingScope) and GdiObject.h (their own object kinds, such as fonts), and may use
// Raster.h for pixel-exact spans with GDI's mix rules. Stock fonts are provided by the text
// piece through SetStockObject (StockObjects.h).

#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/Blit.h"
#include "platform/gdi/DcState.h"
#include "platform/gdi/Frames.h"
#include "platform/gdi/GdiTypes.h"
#include "platform/gdi/Objects.h"
#include "platform/gdi/Palettes.h"
#include "platform/gdi/Primitives.h"
#include "platform/gdi/Rectangles.h"
#include "platform/gdi/Regions.h"
#include "platform/gdi/StockObjects.h"
#include "platform/gdi/SystemColors.h"
