#pragma once
// Hidden windows that deliver messages to a method (timers, the application's own window).

#include "framework/ControlMessages.h"
#include "platform/core/WinTypes.h"

namespace kestrel {

// A hidden top-level window whose messages go to `method` (unhandled ones: set Result yourself
// or call DefWindowProc through DefaultUtilWindowProc). Must be destroyed with DeallocateHWnd.
platform::HWND AllocateHWnd(TWndMethod method);
void DeallocateHWnd(platform::HWND hwnd);
// Default processing for a message of such a window.
void DefaultUtilWindowProc(platform::HWND hwnd, TMessage& message);

}  // namespace kestrel
