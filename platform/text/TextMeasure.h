#pragma once
// Measuring text in a DC's selected font. Extents include the DC's character extra, exactly as
// ExtTextOutW advances, so what is measured is what is painted.

#include "platform/core/WinTypes.h"
#include "platform/text/TextTypes.h"

namespace kestrel::platform {

BOOL GetTextMetricsW(HDC hdc, TEXTMETRICW* metrics);
// The realised face's family name. With a null buffer: the name's length plus one; otherwise the
// number of units copied including the terminating NUL (the name is cut to fit `count`).
int GetTextFaceW(HDC hdc, int count, WCHAR* name);
BOOL GetTextExtentPoint32W(HDC hdc, const WCHAR* text, int count, SIZE* size);
// Extent of the whole string in `size`; `dx` (if given) receives the extent up to and including
// each UTF-16 unit for all `count` units; `fit` (if given) the number of units whose extent does
// not exceed `maxExtent`. A surrogate pair carries its advance on its first unit.
BOOL GetTextExtentExPointW(HDC hdc, const WCHAR* text, int count, int maxExtent, int* fit, int* dx, SIZE* size);
// The advance all printable ASCII characters (U+0020 to U+007E) share in the DC's font (a
// monospaced font), character extra included: a text of them only extends (i + 1) times it after
// unit i, as GetTextExtentExPointW measures. 0 when they differ, the sum is not positive or the
// handle is invalid.
int GetPrintableAsciiAdvance(HDC hdc);
BOOL GetCharWidth32W(HDC hdc, UINT first, UINT last, int* widths);
BOOL GetCharABCWidthsW(HDC hdc, UINT first, UINT last, ABC* widths);

}  // namespace kestrel::platform
