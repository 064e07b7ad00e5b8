#pragma once
// The process-wide interception of the three calls that set scroll information, and the
// registered scroll-bar message through which it talks to the component that draws a window's
// bars itself. A window counts as controlled when it answers the query request with a non-zero
// value equal to what it wrote into the caller's slot; the setters then run with redraw off
// (the platform must not draw its own bars under the owner-drawn ones) and the window is told
// with a sync request which bar changed. Slots and records are pointer-sized.

#include "platform/window/ScrollBars.h"

namespace kestrel::platform {

// wParam of the scroll-bar message.
constexpr WPARAM kScrollBarQuery = 1;    // lParam: address of a LPARAM slot, or 0
constexpr WPARAM kScrollBarRepaint = 2;  // lParam: 0 horizontal, 1 vertical, other both
constexpr WPARAM kScrollBarSync = 3;     // lParam: address of a ScrollSyncRecord

// Sent with kScrollBarSync right after the platform information of one bar was set.
struct ScrollSyncRecord {
  int bar = SB_HORZ;                 // SB_HORZ or SB_VERT
  const SCROLLINFO* info = nullptr;  // what the caller set
  BOOL redraw = FALSE;               // the caller's own redraw argument
};

// The message registered under the bars' well-known name (the same number on every call).
UINT ScrollBarMessage();

// Installs the routines once per process; later calls only answer whether they are in place.
// False when interception is switched off (AllowScrollInterception(false)).
bool InstallScrollInfoInterception();
// True while the routines above are the installed setters.
bool IsScrollInfoInterceptionInstalled();

// The query: the controller's answer when `hwnd` is controlled, else 0.
LPARAM QueryScrollController(HWND hwnd);

}  // namespace kestrel::platform
