// kestrel: the download assistant. Takes no arguments; the backend comes from KESTREL_BACKEND
// (sdl by default).

#include "app/UnitKestrel.h"
#include "framework/Application.h"
#include "platform/backend/BackendSelection.h"

int main() {
  using namespace kestrel;
  platform::InstallBackendFromEnvironment("sdl");
  TApplication* app = Application();
  app->SetTitle(u"Kestrel");
  app->CreateForm(Form1);
  app->Run();
  Halt(0);
}
