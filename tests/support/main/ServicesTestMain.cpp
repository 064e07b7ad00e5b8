// main() of the test programs whose libraries consult the services object: it is installed
// before the first test, as the programs do, and its theme switches are part of the theme state
// every test must leave as it found it.
#include <gtest/gtest.h>

#include "foundation/VnApplication.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/ThemeWatch.h"

namespace {

std::vector<int> CaptureServicesThemeState() {
  const kestrel::TVnApplication* app = kestrel::VnApplication();
  if (!app) return {};
  return {app->UseXPThemesStored(), app->UseXPThemesLibraryOnly(), app->ThemeGlobalMode(),
          app->ThemeUseColorProperty()};
}

void RestoreServicesThemeState(const std::vector<int>& state) {
  kestrel::TVnApplication* app = kestrel::VnApplication();
  if (!app || state.size() != 4) return;
  app->SetUseXPThemesLibraryOnly(state[1] != 0);
  app->SetUseXPThemes(state[0] != 0);
  app->SetThemeGlobalMode(static_cast<kestrel::TVnThemeMode>(state[2]));
  app->SetThemeUseColorProperty(state[3] != 0);
}

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  kestrel::testing::PrepareProcessEnvironment();
  kestrel::InstallVnApplication();
  kestrel::testing::UpperThemeStateHooks() = {CaptureServicesThemeState, RestoreServicesThemeState};
  kestrel::testing::InstallThemeWatch();
  return RUN_ALL_TESTS();
}
