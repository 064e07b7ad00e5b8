// The services object's life: made while the program's modules initialise (before any form),
// freed when they finalise, or by Halt's finalisation while the windows still exist.

#include <cstdlib>

#include "foundation/VnApplication.h"
#include "framework/Application.h"
#include "framework/Thread.h"
#include "platform/window/WindowApi.h"

namespace kestrel {

namespace pf = platform;

namespace {

// Constant-initialised, so valid whatever order the modules initialise in.
constinit TVnApplication* gServices = nullptr;
constinit bool gCreating = false;
constinit bool gFinalised = false;

// Static objects go in the reverse order of their making. Whatever the object's teardown uses
// (the window tables, the message queues, the window classes, the input state) is made here,
// before the object, so that it is still there when the object goes at the end of the program.
void MakeTeardownServicesFirst() {
  const pf::DWORD error = pf::GetLastError();
  pf::IsWindow(nullptr);
  pf::KillTimer(nullptr, 0);
  pf::WNDCLASSEXW info{};
  pf::GetClassInfoExW(nullptr, u"", &info);
  pf::GetFocus();
  pf::GetCapture();
  pf::SetLastError(error);
}

void FinaliseServices() {
  TVnApplication* services = gServices;
  // Only the GUI thread frees it: Halt called by a worker ends the process while the GUI thread
  // may still be using the object.
  if (!services || !IsMainThread()) return;
  SetApplicationExceptionHandler(nullptr);
  SetApplicationCreatedHandler(nullptr);
  gServices = nullptr;
  gFinalised = true;
  delete services;
}

TVnApplication* CreateServices() {
  gCreating = true;
  IsMainThread();  // the thread bookkeeping, too, must outlive the object
  MakeTeardownServicesFirst();
  auto* services = new TVnApplication(nullptr);
  gServices = services;
  gCreating = false;
  SetApplicationExceptionHandler([](TObject* sender, const Exception& e) {
    if (gServices) gServices->HandleException(sender, e);
    else Application()->ShowException(e);
  });
  SetApplicationCreatedHandler([](TApplication* application) {
    if (gServices) gServices->ApplicationCreated(application);
  });
  if (ApplicationExists()) services->ApplicationCreated(Application());
  // At the program's end; registered after everything the teardown uses was made, so it runs
  // before any of that goes. Halt ends the process without this: it finalises through its exit
  // procedures, while the windows still exist.
  std::atexit(FinaliseServices);
  AddExitProc(FinaliseServices);
  return services;
}

struct ServicesModule {
  ServicesModule() { VnApplication(); }
};

const ServicesModule gModule;

}  // namespace

TVnApplication* VnApplication() {
  // A call from inside the object's own making, or after finalisation, finds none.
  if (!gServices && !gCreating && !gFinalised) return CreateServices();
  return gServices;
}

}  // namespace kestrel

// Referenced by the library's link options, so that every program linking the library carries
// this module (and so the services object) even if it never calls VnApplication().
extern "C" [[gnu::used]] const int kestrel_foundation_module = 0;
