#pragma once
// The theme calls that act on windows: switching the look for every window of the process, one
// window's opt-out, and painting a parent's background under a control. The theme engine below
// only draws and keeps the switch; telling the windows is the window manager's.

#include "platform/theme/UxTheme.h"
#include "platform/window/WindowDefs.h"

namespace kestrel::platform {

// Turns the themed look on or off for the process. A change sets the system colours of the mode
// and broadcasts WM_SYSCOLORCHANGE, then WM_THEMECHANGED, to every window, then repaints them.
void SetThemeActive(bool active);

// subAppName u"" with idList u"" turns theming off for the window; nulls restore it. Sends
// WM_THEMECHANGED to the window.
HRESULT SetWindowTheme(HWND hwnd, const WCHAR* subAppName, const WCHAR* idList);

// Paints the parent's background into `hdc` under `hwnd` (within `rect`, in hwnd's client
// coordinates, or all of it): saves the DC, shifts its origin to the parent's client
// coordinates, sends WM_ERASEBKGND and WM_PRINTCLIENT (PRF_CLIENT) to the parent, restores the DC.
HRESULT DrawThemeParentBackground(HWND hwnd, HDC hdc, const RECT* rect);

// Sends `msg` to every window of the process: the top-level windows with all their descendants,
// and the calling thread's message-only windows.
void SendToEveryWindow(UINT msg, WPARAM wParam, LPARAM lParam);
// Invalidates every top-level window with its frame and children, to be painted in a new look.
void RepaintEveryWindow();

}  // namespace kestrel::platform
