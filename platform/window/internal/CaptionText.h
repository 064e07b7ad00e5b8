#pragma once
// Caption text for the non-client painter, kept apart from the drawing primitives.

#include "platform/core/Unicode.h"
#include "platform/window/WindowDefs.h"

namespace kestrel::platform {

// Draws `text` left-aligned and vertically centred in `rect`, in bold, ending in an ellipsis
// when it does not fit; the DC's font, colours and mode are restored afterwards.
void DrawCaptionText(HDC hdc, const String& text, RECT rect, COLORREF color);

}  // namespace kestrel::platform
