#pragma once
// The platform's case mapping of wide text: every UTF-16 unit that is a letter of the Basic
// Multilingual Plane becomes its simple upper or lower case, one unit for one unit, so a text
// keeps its length and every position in it. Letters whose case needs more than one unit ('ß'
// upper-cased is "SS") and surrogate pairs stay as they are. Each answers the number of units
// processed.

#include "platform/core/WinTypes.h"

namespace kestrel::platform {

DWORD CharUpperBuffW(char16_t* text, DWORD length);
DWORD CharLowerBuffW(char16_t* text, DWORD length);

}  // namespace kestrel::platform
