// The services object's life: a program installs it first thing (before any form); it is freed
// when the program ends, by Halt's finalisation while the windows still exist, or by a reset.

#include <cstdlib>
#include <memory>
#include <utility>

#include "foundation/VnApplication.h"
#include "framework/Application.h"
#include "framework/Thread.h"
#include "platform/window/WindowApi.h"

namespace kestrel {

namespace pf = platform;

namespace {

// Constant-initialised and never destroyed as a static: valid whenever a program installs the
// object (even from a priority constructor), and the object's life is decided by install, reset
// and the program's end alone.
constinit TVnApplication* gServices = nullptr;
constinit bool gInstalling = false;
constinit bool gFinalised = false;
constinit bool gExitHooked = false;

// Static objects go in the reverse order of their making. Whatever the object's teardown uses
// (the window tables, the message queues, the window classes, the input state) is made here,
// before the exit hook is registered, so that it is still there when the object goes at the end
// of the program.
void MakeTeardownServicesFirst() {
  const pf::DWORD error = pf::GetLastError();
  IsMainThread();  // the thread bookkeeping, too, must outlive the object
  pf::IsWindow(nullptr);
  pf::KillTimer(nullptr, 0);
  pf::WNDCLASSEXW info{};
  pf::GetClassInfoExW(nullptr, u"", &info);
  pf::GetFocus();
  pf::GetCapture();
  pf::SetLastError(error);
}

// Marks the object as in the making for the length of a scope.
class InstallingScope {
 public:
  InstallingScope() { gInstalling = true; }
  ~InstallingScope() { gInstalling = false; }
  InstallingScope(const InstallingScope&) = delete;
  InstallingScope& operator=(const InstallingScope&) = delete;
};

void FreeServices() {
  if (!gServices) return;
  SetApplicationExceptionHandler(nullptr);
  SetApplicationCreatedHandler(nullptr);
  // Gone from VnApplication() before its teardown runs.
  std::unique_ptr<TVnApplication>(std::exchange(gServices, nullptr)).reset();
}

void FinaliseServices() {
  // Only the GUI thread frees it: Halt called by a worker ends the process while the GUI thread
  // may still be using the object.
  if (!gServices || !IsMainThread()) return;
  gFinalised = true;
  FreeServices();
}

void HookProgramEnd() {
  if (gExitHooked) return;
  gExitHooked = true;
  // Registered after everything the teardown uses was made, so it runs before any of that
  // goes. Halt ends the process without this: it finalises through its exit procedures, while
  // the windows still exist.
  std::atexit(FinaliseServices);
  AddExitProc(FinaliseServices);
}

void RouteApplicationEvents() {
  SetApplicationExceptionHandler([](TObject* sender, const Exception& e) {
    if (gServices) gServices->HandleException(sender, e);
    else Application()->ShowException(e);
  });
  SetApplicationCreatedHandler([](TApplication* application) {
    if (gServices) gServices->ApplicationCreated(application);
  });
}

}  // namespace

TVnApplication* VnApplication() { return gServices; }

TVnApplication* InstallVnApplication() {
  // A call from inside the object's own making, or after the program's end, makes none.
  if (gServices || gInstalling || gFinalised) return gServices;
  MakeTeardownServicesFirst();
  {
    InstallingScope installing;
    gServices = std::make_unique<TVnApplication>(nullptr).release();
  }
  RouteApplicationEvents();
  if (ApplicationExists()) gServices->ApplicationCreated(Application());
  HookProgramEnd();
  return gServices;
}

void ResetVnApplication() { FreeServices(); }

}  // namespace kestrel
