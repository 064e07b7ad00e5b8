#pragma once
// The drawings of each class's parts. Each function answers false, drawing nothing, for a part
// or state its class does not define; state 0 stands for the normal state everywhere.

#include "platform/theme/ThemeClass.h"
#include "platform/theme/internal/ThemeCanvas.h"

namespace kestrel::platform {

// The four looks most parts tell apart.
enum class PartLook { Normal, Hot, Pressed, Disabled };
// The look of a state in the common "normal, hot, pressed, disabled" numbering (1..4, 0 normal).
PartLook LookOf(int stateInGroup);

// The colour of `look` among the four given in the order normal, hot, pressed, disabled.
struct LookColors {
  COLORREF normal, hot, pressed, disabled;
};
COLORREF ColorOf(PartLook look, const LookColors& colors);

bool DrawButtonPart(ThemeCanvas& canvas, int part, int state, const RECT& r);
bool DrawEditPart(ThemeCanvas& canvas, int part, int state, const RECT& r);
bool DrawScrollBarPart(ThemeCanvas& canvas, int part, int state, const RECT& r);
bool DrawWindowPart(ThemeCanvas& canvas, int part, int state, const RECT& r);
bool DrawToolbarPart(ThemeCanvas& canvas, int part, int state, const RECT& r);
bool DrawStatusPart(ThemeCanvas& canvas, int part, int state, const RECT& r);
bool DrawTooltipPart(ThemeCanvas& canvas, int part, int state, const RECT& r);
bool DrawProgressPart(ThemeCanvas& canvas, int part, int state, const RECT& r);
// Classes without drawings of their own: a flat control face.
bool DrawPlainPart(ThemeCanvas& canvas, int part, int state, const RECT& r);

// The status gripper's dots, in the bottom-right corner of `r` (bottom-left when `mirrored`).
void DrawGripperDots(ThemeCanvas& canvas, const RECT& r, bool mirrored);
// A small chevron pointing up, down, left or right (0..3), centred in `r`.
void DrawChevron(ThemeCanvas& canvas, const RECT& r, int direction, COLORREF color);
// The close cross, `size` pixels across, centred in `r`.
void DrawCross(ThemeCanvas& canvas, const RECT& r, int size, COLORREF color);

// Whether the class/part/state has a drawing, and the dispatch to it.
bool IsPartDefined(ThemeClass themeClass, int part, int state);
bool DrawPart(ThemeClass themeClass, HDC hdc, int part, int state, const RECT& r);

}  // namespace kestrel::platform
