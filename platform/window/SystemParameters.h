#pragma once
// User settings that programs read through SystemParametersInfoW. Only the settings the library
// asks for are kept; each is process-wide and can be changed (tests restore what they change).

#include "platform/window/WindowDefs.h"

namespace kestrel::platform {

// Lines one wheel notch scrolls (WHEEL_PAGESCROLL: a page); pvParam is a UINT*.
constexpr UINT SPI_GETWHEELSCROLLLINES = 0x0068;
// uiParam is the new number of lines.
constexpr UINT SPI_SETWHEELSCROLLLINES = 0x0069;
constexpr UINT WHEEL_PAGESCROLL = 0xFFFFFFFF;

// False (and nothing written) for a setting that is not kept or a missing pvParam.
BOOL SystemParametersInfoW(UINT action, UINT uiParam, void* pvParam, UINT winIni);

}  // namespace kestrel::platform
