#pragma once
// Window shapes on an X11 display through the SHAPE extension, for SDL windows. Kept apart from
// the SDL backend so that X11's macros (None, Bool, Status…) stay out of the rest of the code.

#include <SDL.h>
#include <cairo.h>

#include <optional>
#include <vector>

#include "platform/core/WinTypes.h"

namespace kestrel::platform {

// Sets the window's bounding (and so input) shape to `rects` (window coordinates), or makes it
// rectangular again when `rects` is null. False when the window is not on an X11 display whose
// server has the SHAPE extension, or when the library was built without it.
bool SetX11WindowShape(SDL_Window* window, const std::vector<RECT>* rects);

// The bounding shape the X server holds for the window, in window coordinates (one rectangle
// covering the window when it is not shaped); nothing when it cannot be asked.
std::optional<std::vector<RECT>> GetX11WindowShape(SDL_Window* window);

// What the screen shows inside `screenRect`, read back from the X server's root window of
// `anyWindow`'s display, as a new ARGB32 image (opaque); null when it cannot be read.
cairo_surface_t* CaptureX11Screen(SDL_Window* anyWindow, const RECT& screenRect);

}  // namespace kestrel::platform
