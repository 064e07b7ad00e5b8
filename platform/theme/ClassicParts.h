#pragma once
// The classic look of the theme's classes, parts and states: what a caller draws while themes
// are off, in the system colours and with DrawEdge/DrawFrameControl.

#include "platform/core/WinTypes.h"
#include "platform/theme/ThemeClass.h"

namespace kestrel::platform {

// False, drawing nothing, for parts without a classic counterpart.
bool DrawClassicPart(ThemeClass themeClass, HDC hdc, int part, int state, const RECT& r);

}  // namespace kestrel::platform
