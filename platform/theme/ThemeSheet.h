#pragma once
// A sheet of every class, part and state the theme draws, one labelled row per part, in the
// current mode: the themed drawings while themes are on, their classic counterparts while off.

#include "platform/core/WinTypes.h"

namespace kestrel::platform {

constexpr int kThemeSheetWidth = 560;
constexpr int kThemeSheetHeight = 470;

void DrawThemeSheet(HDC hdc);

}  // namespace kestrel::platform
