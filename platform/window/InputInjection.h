#pragma once
// Native input entering the window manager. Backends call these on the thread that owns the
// windows; tests call them directly. Each event is routed like real input: capture, hit-testing
// with WM_NCHITTEST, WM_SETCURSOR, mouse activation, double-click detection, focus for keys.

#include "platform/core/Unicode.h"
#include "platform/window/WindowDefs.h"

namespace kestrel::platform {

enum class MouseButton { Left, Right, Middle };

void InjectMouseMove(POINT screen);
void InjectMouseButton(MouseButton button, bool down, POINT screen);
// `delta` in WHEEL_DELTA units (120 per notch); positive = away from the user.
void InjectMouseWheel(int delta, POINT screen, bool horizontal = false);
// A key press or release; `scanCode` and `extended` go into lParam as on Windows.
void InjectKey(int virtualKey, bool down, UINT scanCode = 0, bool extended = false);
// Text the native input method produced (posted as WM_CHAR, supplementary characters as
// surrogate pairs), for characters that do not come from TranslateMessage.
void InjectText(const String& text);

// Convenience for tests: press and release.
void InjectClick(POINT screen, MouseButton button = MouseButton::Left);
void InjectKeyStroke(int virtualKey);

}  // namespace kestrel::platform
