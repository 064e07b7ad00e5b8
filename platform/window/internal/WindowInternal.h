#pragma once
// Helpers shared by the window manager's sources (not part of the public interface).

#include <memory>

#include "platform/window/internal/Window.h"

namespace kestrel::platform::detail {

// Tree.
void LinkWindow(Window& parent, const std::shared_ptr<Window>& child, HWND insertAfter);
void UnlinkWindow(Window& child);
std::shared_ptr<Window> SharedOf(Window* window);
// Takes every window out of the tree and frees what it holds, sending no message (a reset of
// the platform state, after the caller's own windows were destroyed properly).
void DropAllWindows();

// Minimised, maximised and normal state (WindowState.cpp): updates the state for a ShowWindow
// command; true with `target` (parent coordinates) when the window must move there.
bool ApplyShowState(Window& window, int command, RECT* target);

// Asks the window for its size limits (WM_GETMINMAXINFO, for resizable and overlapped windows)
// and keeps the size inside them (DefWindowProc.cpp).
void ClampToMinMax(Window& window, int& cx, int& cy);

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
// Frees a CS_OWNDC window's private DC (when the window is destroyed).
void ReleaseOwnDC(Window& window);
// Hands a native top-level window's region to the display as its shape (no-op for others).
void ApplyNativeShape(Window& window);
// Hands changed backing-store areas of every top-level window to the backend, unless a paint
// on this thread holds them back (below).
void FlushAllPresents();
// What holds keep back, presented now: a message loop run from inside a paint shows what was
// drawn before it.
void PresentHeld();
// While a window handles WM_PAINT, what it changes through any DC (the caret hidden for the
// paint, a border drawn through the window DC, the paint itself) reaches the display in one go
// when the handler returns, instead of piece by piece. Releasing the last hold presents.
void HoldPresents();
void ReleasePresents();
// Draws the frame, caption and standard scroll bars into a DC whose origin is the window's corner.
void PaintFrame(Window& window, HDC hdc);
// The same through the theme engine (ThemedNonClient.cpp); false, drawing nothing, while the
// window's frame is not themed.
bool PaintThemedFrame(Window& window, HDC hdc);
// Whether a point in window coordinates lies inside the window's region (true without one).
bool PointInWindowRegion(Window& window, POINT windowPoint);

// Input (Input.cpp).
// The window under a screen point and its hit-test code, as mouse input finds it.
HWND HitTestAt(POINT screen, LRESULT* hit);
void UpdateKeyStateFromMessage(const MSG& msg);
// Posts WM_MOUSEHOVER once the mouse rested long enough over a window tracking it; returns the
// milliseconds still to wait (-1 when nothing is pending).
int CheckHover();
// Keyboard input is queued for "the focus window" and addressed when it is retrieved, as the
// focus may change while earlier messages are handled. False when no window would take it.
inline HWND KeyboardTarget() { return reinterpret_cast<HWND>(-2); }
bool ResolveKeyboardTarget(MSG& msg);
void TrackLeaveOnDestroy(Window& window);

// Standard scroll bars (ScrollBars.cpp): arrow buttons and thumb of a bar rectangle.
struct ScrollParts {
  RECT first{}, second{}, thumb{};  // thumb empty when the bar has none
};
ScrollParts ComputeScrollParts(const RECT& bar, bool vertical, const ScrollBarState& state);
// The scroll position a thumb starting at `thumbStart` (window coordinates) stands for.
int ScrollPosAt(const RECT& bar, bool vertical, const ScrollBarState& state, int thumbStart);
// DefWindowProc's tracking of a press on a standard bar; returns when the button goes up.
void TrackScrollBar(Window& window, int bar, POINT screen);
// The modal move or size loop (`hit` = HTCAPTION or a sizing code), until the button goes up.
void MoveSizeLoop(Window& window, LRESULT hit, POINT screen);

// Messages (Messages.cpp): a queued message stamped with the clock and the mouse position.
MSG MakeMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Timers (Messages.cpp).
void KillWindowTimers(HWND hwnd);

}  // namespace kestrel::platform::detail
