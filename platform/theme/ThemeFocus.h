#pragma once
// The themed keyboard-focus indicator.

#include "platform/core/WinTypes.h"

namespace kestrel::platform {

// A 2-px ring in the focus colour along the inside of `r`, with the themed corner radius.
void DrawFocusRing(HDC hdc, const RECT& r);

}  // namespace kestrel::platform
