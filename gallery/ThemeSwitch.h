#pragma once
// The gallery's theme switch: Ctrl+T flips every open form between the themed and the classic
// look; --theme picks the look at start.

#include <string>

namespace kestrel::gallery {

// Listens for Ctrl+T in every form of the application.
void InstallThemeSwitch();
// Flips the look of every window.
void ToggleTheme();
// "themed" or "classic"; false for any other name.
bool ApplyThemeOption(const std::string& name);

}  // namespace kestrel::gallery
