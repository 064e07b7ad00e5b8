#include "ThemeSwitch.h"

#include "framework/Application.h"
#include "platform/theme/UxTheme.h"
#include "platform/window/WindowApi.h"
#include "platform/window/WindowThemes.h"

namespace kestrel::gallery {

namespace pf = platform;

void ToggleTheme() { pf::SetThemeActive(!pf::IsThemeActive()); }

void InstallThemeSwitch() {
  Application()->OnMessage = [](pf::MSG& msg, bool& handled) {
    if (msg.message != pf::WM_KEYDOWN || msg.wParam != 'T' || pf::GetKeyState(pf::VK_CONTROL) >= 0) return;
    ToggleTheme();
    handled = true;
  };
}

bool ApplyThemeOption(const std::string& name) {
  if (name != "themed" && name != "classic") return false;
  pf::SetThemeActive(name == "themed");
  return true;
}

}  // namespace kestrel::gallery
