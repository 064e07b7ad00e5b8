#include "platform/backend/BackendSelection.h"

#include <SDL.h>

#include <cstdlib>

#include "platform/backend/SdlBackend.h"
#include "platform/window/HeadlessBackend.h"
#include "platform/window/internal/WindowManager.h"

namespace kestrel::platform {

bool InstallBackend(const std::string& name) {
  if (name == "sdl") {
    if (auto sdl = SdlBackend::Create()) {
      Wm().SetBackend(std::move(sdl));
      return true;
    }
  }
  Wm().SetBackend(std::make_unique<HeadlessBackend>());
  return name == "headless";
}

bool InstallBackendFromEnvironment(const std::string& fallback) {
  const char* chosen = std::getenv("KESTREL_BACKEND");
  return InstallBackend(chosen && *chosen ? chosen : fallback);
}

void SetDesktopIdentity(const std::string& applicationId, const std::string& applicationName) {
  // SDL reads the window class from the environment when it opens the display.
  ::setenv("SDL_VIDEO_X11_WMCLASS", applicationId.c_str(), 0);
  SDL_SetHint(SDL_HINT_APP_NAME, applicationName.c_str());
}

}  // namespace kestrel::platform
