// The services object's life: a program installs it first thing (before any form); it is freed
// when the program ends, by Halt's finalisation while the windows still exist. A test reset
// makes it again when it was installed.

#include <memory>

#include "foundation/VnApplication.h"
#include "framework/Application.h"
#include "framework/Thread.h"
#include "platform/core/ProcessWide.h"
#include "platform/window/WindowApi.h"

namespace kestrel {

namespace pf = platform;

namespace {

// Static objects go in the reverse order of their making. Whatever the object's teardown uses
// (the window tables, the message queues, the window classes, the input state) is made here,
// before the object is, so that it is still there when the object goes at the end of the
// program.
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

void RouteApplicationEvents() {
  SetApplicationExceptionHandler([](TObject* sender, const Exception& e) {
    if (TVnApplication* services = VnApplication()) services->HandleException(sender, e);
    else Application()->ShowException(e);
  });
  SetApplicationCreatedHandler([](TApplication* application) {
    if (TVnApplication* services = VnApplication()) services->ApplicationCreated(application);
  });
}

std::unique_ptr<TVnApplication> MakeServices() {
  MakeTeardownServicesFirst();
  return std::make_unique<TVnApplication>(nullptr);
}

void TakeUpDuties(TVnApplication& services) {
  RouteApplicationEvents();
  if (ApplicationExists()) services.ApplicationCreated(Application());
}

// Constant-initialised and never destroyed as a static: valid whenever a program installs the
// object (even from a priority constructor). A call from inside the object's own making, or
// after the program's end, makes none. Only the GUI thread frees it at the end: Halt called by
// a worker ends the process while the GUI thread may still be using the object.
constinit pf::ProcessWide<TVnApplication> gServices(pf::ProcessWideOptions<TVnApplication>{
    .make = &MakeServices, .remakeAfterReset = true, .made = &TakeUpDuties, .freeAtExit = &IsMainThread});

}  // namespace

TVnApplication* VnApplication() { return gServices.Peek(); }

TVnApplication* InstallVnApplication() { return gServices.Get(); }

}  // namespace kestrel
