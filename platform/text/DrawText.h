#pragma once
// DrawTextW / DrawTextExW: formatted text in a rectangle with the DT_ flags (layout rules in
// TextLayout.h). With DT_EDITCONTROL a line that would be cut by the bottom edge is not drawn
// (the first line always is). DT_RTLREADING, DT_NOFULLWIDTHCHARBREAK and DT_INTERNAL are accepted and ignored.
// DT_MODIFYSTRING writes the ellipsized line back through DrawTextExW, whose text is writable
// (the buffer must hold count + 4 units, as on Windows); DrawTextW never writes.

#include "platform/core/WinTypes.h"
#include "platform/text/TextTypes.h"

namespace kestrel::platform {

// Returns the height of the text (with DT_VCENTER or DT_BOTTOM: from rect->top to the bottom of
// the drawn text), 0 on failure. `count` -1 means up to the terminating NUL.
int DrawTextW(HDC hdc, const WCHAR* text, int count, RECT* rect, UINT format);
int DrawTextExW(HDC hdc, WCHAR* text, int count, RECT* rect, UINT format, DRAWTEXTPARAMS* params);

}  // namespace kestrel::platform
