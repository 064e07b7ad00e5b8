#pragma once
// Helpers shared by the window manager's sources (not part of the public interface).

#include <memory>

#include "platform/window/Window.h"

namespace kestrel::platform::detail {

// Tree.
void LinkWindow(Window& parent, const std::shared_ptr<Window>& child, HWND insertAfter);
void UnlinkWindow(Window& child);
std::shared_ptr<Window> SharedOf(Window* window);

// Focus and activation (Focus.cpp).
bool ActivateWindow(Window* top, WORD how, bool setFocus);
void ActivateOtherWindow(Window& leaving);
void SetFocusWindow(HWND hwnd);
void ForgetWindowState(Window& window);

// Non-client geometry (FrameLayout.cpp).
RECT DefaultClientRect(const Window& window, const RECT& windowRect);
LRESULT DefaultHitTest(Window& window, POINT screen);

// Painting (Painting.cpp).
void CreateBackingStore(Window& top);
void ResizeBackingStore(Window& top);
// Adds an area (window coordinates of `window`) to the window's update region and, unless
// `noChildren`, to the children it overlaps that painting the parent would cover.
void InvalidateArea(Window& window, const RECT& area, UINT rdwFlags);
void InvalidateWhole(Window& window, UINT rdwFlags);
void InvalidateParentArea(Window& window, const RECT& parentClientArea);
HWND NextWindowToPaint(std::thread::id thread, HWND filter);
void DropPaintState(Window& window);
void DeleteWindowRegion(Window& window);
// Hands changed backing-store areas of every top-level window to the backend.
void FlushAllPresents();
// Draws the frame, caption and standard scroll bars into a DC whose origin is the window's corner.
void PaintFrame(Window& window, HDC hdc);
// Whether a point in window coordinates lies inside the window's region (true without one).
bool PointInWindowRegion(Window& window, POINT windowPoint);

// Input (Input.cpp).
// The window under a screen point and its hit-test code, as mouse input finds it.
HWND HitTestAt(POINT screen, LRESULT* hit);
void UpdateKeyStateFromMessage(const MSG& msg);
void TrackLeaveOnDestroy(Window& window);

// Timers (Messages.cpp).
void KillWindowTimers(HWND hwnd);

}  // namespace kestrel::platform::detail
