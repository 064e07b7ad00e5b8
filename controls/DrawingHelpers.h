#pragma once
// All stateless drawing helpers of the control library in one include.

#include "controls/BackgroundPainter.h"
#include "controls/BevelPainter.h"
#include "controls/BorderPainter.h"
#include "controls/ColorMath.h"
#include "controls/DrawingTypes.h"
#include "controls/GradientPainter.h"
#include "controls/ScrollBarPainter.h"
#include "controls/UnicodeText.h"
