#pragma once
// The boundary between the window manager and the display: one native window per top-level
// window, presenting its backing store, cursors, clipboard text, a clock, and an event source.
// Backends know nothing of child windows or messages; native input comes back through the
// Inject… calls of InputInjection.h, on the thread that pumps the backend.

#include <cairo.h>
#include <poll.h>

#include <span>
#include <vector>

#include "platform/core/Unicode.h"
#include "platform/window/WindowDefs.h"

namespace kestrel::platform {

// The rectangles a region is made of (bands top to bottom, left to right within a band).
inline std::vector<RECT> RegionRectangles(const cairo_region_t* region) {
  std::vector<RECT> rects;
  int count = region ? cairo_region_num_rectangles(region) : 0;
  for (int i = 0; i < count; ++i) {
    cairo_rectangle_int_t r;
    cairo_region_get_rectangle(region, i, &r);
    rects.push_back({r.x, r.y, r.x + r.width, r.y + r.height});
  }
  return rects;
}

class Backend {
 public:
  virtual ~Backend() = default;
  virtual const char* Name() const = 0;

  // The screen rectangle (the desktop window's size).
  virtual RECT ScreenRect() const = 0;

  virtual void CreateNativeWindow(HWND hwnd, const RECT& screenRect, DWORD style, DWORD exStyle) = 0;
  virtual void DestroyNativeWindow(HWND hwnd) = 0;
  virtual void ShowNativeWindow(HWND hwnd, bool show) = 0;
  virtual void MoveNativeWindow(HWND hwnd, const RECT& screenRect) = 0;
  virtual void SetNativeTitle(HWND hwnd, const String& title) = 0;
  // A minimised window is iconified by the display (its rectangle is parked off-screen).
  virtual void SetNativeMinimized(HWND hwnd, bool minimized) { (void)hwnd, (void)minimized; }
  // Shapes the native window to `shape` (window coordinates; null = rectangular again), so the
  // display neither shows nor routes input outside it. False when the display cannot shape
  // windows: the window region then only clips painting and hit-testing.
  virtual bool SetNativeShape(HWND hwnd, const cairo_region_t* shape) {
    (void)hwnd, (void)shape;
    return false;
  }
  // The window's backing store changed inside the rectangles of `dirty` (window coordinates):
  // show them. A display reached through a connection gets them in one go.
  virtual void Present(HWND hwnd, cairo_surface_t* backing, std::span<const RECT> dirty) = 0;
  // The backing store's pixels inside `area` (window coordinates) moved by (dx, dy) after all
  // changes before were presented: the display moves what it shows the same way, without the
  // pixels being sent again. False when it cannot; the caller then presents the area.
  virtual bool MoveNativePixels(HWND hwnd, const cairo_region_t* area, int dx, int dy) {
    (void)hwnd, (void)area, (void)dx, (void)dy;
    return false;
  }

  // Where the input method should show its composition (screen coordinates).
  virtual void SetTextInputRect(const RECT& screenRect) { (void)screenRect; }
  // Turns the native input method's text and composition on or off (on only while the focus
  // window takes characters).
  virtual void SetTextInputEnabled(bool enabled) { (void)enabled; }
  // `shape` is an IDC_… number (0 hides the cursor).
  virtual void SetCursorShape(WORD shape) = 0;
  virtual bool SetClipboardText(const String& text) = 0;
  virtual bool GetClipboardText(String& text) = 0;
  // The X11 PRIMARY selection (what is selected is offered; a middle click pastes it). Displays
  // without one refuse.
  virtual bool SetPrimarySelectionText(const String& text) {
    (void)text;
    return false;
  }
  virtual bool GetPrimarySelectionText(String& text) {
    (void)text;
    return false;
  }

  // Whether printable characters arrive as text from the native input method (InjectText)
  // rather than from translating key presses; control characters always come from the keys.
  virtual bool ProvidesText() const { return false; }

  // Milliseconds on the backend's clock (virtual for the headless backend).
  virtual DWORD Now() const = 0;
  // A virtual clock only moves when told to: waiting for a timer then means waiting for a wake.
  virtual bool ClockIsVirtual() const { return false; }
  // Turns pending native events into injected input. Called on the backend thread.
  virtual void PumpEvents() = 0;
  // Blocks until native events may be pending, Wake() was called, or `timeoutMs` passed
  // (negative = no limit). Called on the backend thread.
  virtual void WaitForEvents(int timeoutMs) = 0;
  // The same, also ending when one of `fds` is ready (their revents are filled in). This default
  // suits displays that cannot join descriptors to their own wait: it looks at them, then waits
  // for at most a short slice, so their work is served within that slice.
  virtual void WaitForEventsAndFds(int timeoutMs, std::vector<pollfd>& fds);
  // Ends a WaitForEvents early; callable from any thread. A wake before the wait is not lost.
  virtual void Wake() = 0;
};

}  // namespace kestrel::platform
