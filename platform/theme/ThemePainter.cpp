// The dispatch from a class to its drawings.

#include "platform/theme/internal/ThemeDrawing.h"

namespace kestrel::platform {

namespace {
bool Draw(ThemeClass themeClass, ThemeCanvas& canvas, int part, int state, const RECT& r) {
  if (part < 0 || state < 0) return false;
  switch (themeClass) {
    case ThemeClass::Button: return DrawButtonPart(canvas, part, state, r);
    case ThemeClass::Edit: return DrawEditPart(canvas, part, state, r);
    case ThemeClass::ScrollBar: return DrawScrollBarPart(canvas, part, state, r);
    case ThemeClass::Window: return DrawWindowPart(canvas, part, state, r);
    case ThemeClass::Toolbar: return DrawToolbarPart(canvas, part, state, r);
    case ThemeClass::Status: return DrawStatusPart(canvas, part, state, r);
    case ThemeClass::Tooltip: return DrawTooltipPart(canvas, part, state, r);
    case ThemeClass::Progress: return DrawProgressPart(canvas, part, state, r);
    default: return DrawPlainPart(canvas, part, state, r);
  }
}
}  // namespace

bool IsPartDefined(ThemeClass themeClass, int part, int state) {
  ThemeCanvas nowhere(nullptr);
  return Draw(themeClass, nowhere, part, state, RECT{0, 0, 16, 16});
}

bool DrawPart(ThemeClass themeClass, HDC hdc, int part, int state, const RECT& r) {
  if (!IsPartDefined(themeClass, part, state)) return false;
  ThemeCanvas canvas(hdc);
  return Draw(themeClass, canvas, part, state, r);
}

}  // namespace kestrel::platform
