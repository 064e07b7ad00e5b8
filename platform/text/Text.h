#pragma once
// Fonts and text of the drawing stand-in, in one include.

#include "platform/text/DrawText.h"
#include "platform/text/Font.h"
#include "platform/text/TextAnsi.h"
#include "platform/text/TextMeasure.h"
#include "platform/text/TextOut.h"
#include "platform/text/TextTypes.h"
