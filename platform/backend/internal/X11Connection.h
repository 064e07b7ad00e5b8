#pragma once
// The X connection under SDL's windows, used directly where SDL's own path is costly for a
// window that repaints a little every few milliseconds: SDL reads the socket several times per
// pump and waits for the server after every framebuffer update. Here a check for native events
// is one non-blocking poll, and changed pixels go out as one image request without waiting.
// Kept apart from the SDL backend so that X11's macros stay out of the rest of the code.

#include <SDL.h>
#include <cairo.h>
#include <poll.h>

#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "platform/core/WinTypes.h"

namespace kestrel::platform {

class X11Connection {
 public:
  // Null when `window` is not on an X11 display or the library was built without Xlib.
  static std::unique_ptr<X11Connection> For(SDL_Window* window);
  ~X11Connection();
  X11Connection(const X11Connection&) = delete;
  X11Connection& operator=(const X11Connection&) = delete;

  // Whether the server may have sent something not handled yet: events already read into the
  // client's queue, or bytes waiting on the socket. Never blocks.
  bool EventsMayBePending() const;
  // Sends what is buffered, then blocks until the server sends something, `wakeFd` becomes
  // readable, one of `extra` is ready (their revents are filled in), or `timeoutMs` passes
  // (negative = no limit).
  void Wait(int wakeFd, int timeoutMs, std::vector<pollfd>* extra = nullptr) const;
  // Copies `r` of the ARGB32 `image` to the same place in `window`. False when the window's
  // pixel layout differs from the image's (the caller then presents another way). The request
  // waits in the connection's buffer until Flush() (or a wait) sends it.
  bool PutImage(SDL_Window* window, cairo_surface_t* image, const RECT& r);
  // Sends what is buffered to the server.
  void Flush() const;
  // Moves what `window` shows inside `area` by (dx, dy) on the server. False when its pixels do
  // not go out here, or while an earlier move is not known to be done (a move reading what an
  // unfinished one could not fill would spread the gap); the caller then presents the area.
  bool MovePixels(SDL_Window* window, const std::vector<RECT>& area, int dx, int dy);
  // What the server reports of the moves (`event` is an SDL_SysWMmsg of SDL's, or null to take
  // such reports from the connection before SDL reads them): the parts of windows a move could
  // not fill, because what it was to move was covered or outside the window, go to `uncopied`,
  // to be presented again.
  void TakeMoveReports(const SDL_SysWMmsg* event, std::vector<std::pair<SDL_Window*, RECT>>& uncopied);
  // Whether moves were sent that the server has not reported done yet.
  bool MovesPending() const;
  // Drops what is known about `window` (before it is destroyed).
  void Forget(SDL_Window* window);

 private:
  struct Impl;
  explicit X11Connection(std::unique_ptr<Impl> impl);
  std::unique_ptr<Impl> impl_;
};

}  // namespace kestrel::platform
