#pragma once
// Theme data for the window manager's own drawing of frames, captions and standard scroll bars.

#include "platform/core/WinTypes.h"

namespace kestrel::platform {

// Null unless themes are on, the application allows themed non-client areas
// (STAP_ALLOW_NONCLIENT) and the window did not opt out with SetWindowTheme.
HTHEME OpenNonClientThemeData(HWND hwnd, const WCHAR* classList);

}  // namespace kestrel::platform
