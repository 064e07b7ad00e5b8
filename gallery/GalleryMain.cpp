// kestrel-gallery: shows the framework's controls.
//   kestrel-gallery [--screenshot FILE.png]
// The backend comes from KESTREL_BACKEND (sdl by default). With --screenshot the program
// paints its form, writes it to FILE.png and ends.

#include <cairo.h>

#include <cstring>
#include <iostream>
#include <string>

#include "GalleryForm.h"
#include "framework/Application.h"
#include "platform/backend/BackendSelection.h"
#include "platform/window/WindowApi.h"

int main(int argc, char** argv) {
  using namespace kestrel;
  std::string screenshot;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--screenshot") == 0 && i + 1 < argc) screenshot = argv[++i];
  }
  platform::InstallBackendFromEnvironment("sdl");
  TApplication* app = Application();
  app->SetTitle(u"Kestrel gallery");
  gallery::TGalleryForm* form = nullptr;
  app->CreateForm(form);
  if (!screenshot.empty()) {
    form->Show();
    for (int i = 0; i < 5; ++i) app->ProcessMessages();
    form->Update();
    cairo_surface_t* image = platform::CaptureWindowImage(form->Handle());
    const bool ok = image && cairo_surface_write_to_png(image, screenshot.c_str()) == CAIRO_STATUS_SUCCESS;
    if (image) cairo_surface_destroy(image);
    if (!ok) std::cerr << "kestrel-gallery: cannot write " << screenshot << "\n";
    Halt(ok ? 0 : 1);
  }
  app->Run();
  Halt(0);
}
