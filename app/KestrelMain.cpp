// kestrel: the download assistant. Takes no arguments; the backend comes from KESTREL_BACKEND
// (sdl by default).

#include <csignal>

#include "accessibility/Accessibility.h"
#include "app/UnitKestrel.h"
#include "foundation/VnApplication.h"
#include "framework/Application.h"
#include "platform/backend/BackendSelection.h"

int main() {
  using namespace kestrel;
  InstallVnApplication();
  platform::SetDesktopIdentity("net.kestrel.Kestrel", "Kestrel");
  platform::InstallBackendFromEnvironment("sdl");
  StartAccessibility();
  // The display library turns SIGTERM and SIGINT into a quit request nobody reads: a session
  // ending (or Ctrl+C) would then wait for the program forever. They end it as usual instead.
  std::signal(SIGTERM, SIG_DFL);
  std::signal(SIGINT, SIG_DFL);
  TApplication* app = Application();
  app->SetTitle(u"Kestrel");
  app->CreateForm(Form1);
  app->Run();
  Halt(0);
}
