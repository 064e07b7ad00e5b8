#pragma once
// DrawEdge's rings in the themed look's flat colours.

#include "platform/core/WinTypes.h"

namespace kestrel::platform {

// Draws the rings `edge` names on the sides in `flags` (BDR_*/BF_* as DrawEdge) and fills the
// rest with `face` for BF_MIDDLE; returns the rectangle inside the drawn rings. Diagonal edges
// are drawn by DrawEdge in the system colours of the mode.
RECT DrawFlatEdge(HDC hdc, const RECT& rect, UINT edge, UINT flags, COLORREF face);

}  // namespace kestrel::platform
