#pragma once
// The GDI stand-in: include this for everything drawing-related except text and GDI+.

#include "platform/gdi/Bitmaps.h"
#include "platform/gdi/Blit.h"
#include "platform/gdi/DcState.h"
#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/Frames.h"
#include "platform/gdi/GdiObject.h"
#include "platform/gdi/GdiTypes.h"
#include "platform/gdi/Objects.h"
#include "platform/gdi/Palettes.h"
#include "platform/gdi/Primitives.h"
#include "platform/gdi/Rectangles.h"
#include "platform/gdi/StockObjects.h"
#include "platform/gdi/Regions.h"
#include "platform/gdi/SystemColors.h"
