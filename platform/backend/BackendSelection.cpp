#include "platform/backend/BackendSelection.h"

#include <cstdlib>

#include "platform/backend/SdlBackend.h"
#include "platform/window/HeadlessBackend.h"
#include "platform/window/WindowManager.h"

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

}  // namespace kestrel::platform
