// kestrel-gallery: shows the framework's controls.
//   kestrel-gallery [--page NAME] [--theme themed|classic] [--screenshot FILE.png]
//                   [--monkey EVENTS [--monkey-seconds SECONDS] [--seed N]]
// The backend comes from KESTREL_BACKEND (sdl by default). --page picks the first form shown by
// its registered name (controls by default; an unknown name lists the pages). With --screenshot
// the program paints that form, writes it to FILE.png and ends. Themes are on unless --theme or
// KESTREL_THEME says classic; Ctrl+T switches the look of every open form. With --monkey the
// page gets EVENTS random events (or SECONDS' worth) on the headless backend and the program
// reports how many it survived.

#include <cairo.h>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

#include "GalleryPages.h"
#include "Monkey.h"
#include "ThemeSwitch.h"
#include "accessibility/Accessibility.h"
#include "foundation/VnApplication.h"
#include "framework/Application.h"
#include "framework/TerminationSignals.h"
#include "html/KsHTMLHintContent.h"
#include "platform/backend/BackendSelection.h"
#include "platform/window/WindowApi.h"

namespace {

// Paints `form`, writes it to `file` and reports whether that worked.
bool WriteScreenshot(kestrel::TForm* form, const std::string& file) {
  form->Show();
  for (int i = 0; i < 5; ++i) kestrel::Application()->ProcessMessages();
  form->Update();
  cairo_surface_t* image = kestrel::platform::CaptureWindowImage(form->Handle());
  const bool ok = image && cairo_surface_write_to_png(image, file.c_str()) == CAIRO_STATUS_SUCCESS;
  if (image) cairo_surface_destroy(image);
  if (!ok) std::cerr << "kestrel-gallery: cannot write " << file << "\n";
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace kestrel;
  InstallVnApplication();
  RegisterMarkupHints();
  std::string screenshot;
  std::string page = "controls";
  std::string theme;
  long monkeyEvents = 0;
  double monkeySeconds = 0;
  unsigned long seed = 1;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--screenshot") == 0 && i + 1 < argc) screenshot = argv[++i];
    else if (std::strcmp(argv[i], "--monkey") == 0 && i + 1 < argc) monkeyEvents = std::atol(argv[++i]);
    else if (std::strcmp(argv[i], "--monkey-seconds") == 0 && i + 1 < argc) monkeySeconds = std::atof(argv[++i]);
    else if (std::strcmp(argv[i], "--seed") == 0 && i + 1 < argc) seed = std::strtoul(argv[++i], nullptr, 10);
    else if (std::strcmp(argv[i], "--page") == 0 && i + 1 < argc) page = argv[++i];
    else if (std::strcmp(argv[i], "--theme") == 0 && i + 1 < argc) theme = argv[++i];
  }
  if (!theme.empty() && !gallery::ApplyThemeOption(theme)) {
    std::cerr << "kestrel-gallery: --theme takes themed or classic\n";
    return 2;
  }
  const gallery::TGalleryPage* chosen = gallery::TGalleryPages::Find(page);
  if (!chosen) {
    std::cerr << "kestrel-gallery: unknown page " << page << "; the pages are:";
    for (const gallery::TGalleryPage& known : gallery::TGalleryPages::All()) std::cerr << " " << known.name;
    std::cerr << "\n";
    return 2;
  }
  if (monkeyEvents > 0) setenv("KESTREL_BACKEND", "headless", 1);
  platform::InstallBackendFromEnvironment("sdl");
  if (screenshot.empty()) StartAccessibility();
  TApplication* app = Application();
  app->SetTitle(u"Kestrel gallery");
  gallery::InstallThemeSwitch();
  // The monkey closes pages itself; a signal ends it the default way.
  if (monkeyEvents > 0) {
    const long survived = gallery::TMonkey(*chosen, static_cast<std::uint32_t>(seed)).Run(monkeyEvents, monkeySeconds);
    std::cout << "kestrel-gallery: page " << chosen->name << ", seed " << seed << ": " << survived << " events\n";
    Halt(0);
  }
  TTerminationSignals::Install();
  TForm* form = chosen->create();
  if (!screenshot.empty()) Halt(WriteScreenshot(form, screenshot) ? 0 : 1);
  app->Run();
  Halt(0);
}
