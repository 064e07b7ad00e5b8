#pragma once
// Choosing the backend at start-up: KESTREL_BACKEND=sdl|headless, else the caller's default.

#include <string>

namespace kestrel::platform {

// Installs the named backend ("sdl" or "headless"); false (and headless installed) when the
// name is unknown or the display cannot be opened. Call once, on the GUI thread, before any
// window is created.
bool InstallBackend(const std::string& name);
// Installs KESTREL_BACKEND's choice, or `fallback` when the variable is not set.
bool InstallBackendFromEnvironment(const std::string& fallback);

// How the desktop names and groups the program's windows: `applicationId` becomes the X11 window
// class (matching the StartupWMClass of the program's .desktop file) unless SDL_VIDEO_X11_WMCLASS
// is set, `applicationName` the name SDL gives the desktop. Call before installing the backend.
void SetDesktopIdentity(const std::string& applicationId, const std::string& applicationName);

}  // namespace kestrel::platform
