#include "platform/theme/ThemeFocus.h"

#include "platform/theme/internal/ThemeCanvas.h"
#include "platform/theme/internal/ThemeTokens.h"

namespace kestrel::platform {

void DrawFocusRing(HDC hdc, const RECT& r) {
  ThemeCanvas canvas(hdc);
  canvas.RoundFrame(r, theme_tokens::kRadius + 1, theme_tokens::kFocus, 2.0f);
}

}  // namespace kestrel::platform
