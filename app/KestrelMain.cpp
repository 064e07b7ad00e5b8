// kestrel: the download assistant. Takes no arguments; the backend comes from KESTREL_BACKEND
// (sdl by default).

#include "accessibility/Accessibility.h"
#include "app/UnitKestrel.h"
#include "foundation/VnApplication.h"
#include "framework/Application.h"
#include "framework/TerminationSignals.h"
#include "platform/backend/BackendSelection.h"

int main() {
  using namespace kestrel;
  InstallVnApplication();
  platform::SetDesktopIdentity("net.kestrel.Kestrel", "Kestrel");
  platform::InstallBackendFromEnvironment("sdl");
  StartAccessibility();
  TApplication* app = Application();
  // A session that ends, Ctrl+C or a closed terminal close the dialog as its close button does:
  // a running download is cancelled and its partial file removed.
  TTerminationSignals::Install();
  app->SetTitle(u"Kestrel");
  app->CreateForm(Form1);
  app->Run();
  Halt(0);
}
