#pragma once
// The four message-box icons (error, question, warning, information), drawn with GDI at 32×32
// so the dialog needs no image files.

#include "platform/window/WindowDefs.h"

namespace kestrel::platform {

constexpr UINT MB_ICONMASK = 0x000000F0;
constexpr int kMessageBoxIconSize = 32;

// Whether a MessageBox type asks for one of the four icons.
bool HasMessageBoxIcon(UINT type);
// Draws the type's icon with its top-left corner at (x, y); nothing for a type without one.
void DrawMessageBoxIcon(HDC hdc, int x, int y, UINT type);

}  // namespace kestrel::platform
