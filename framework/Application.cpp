#include "framework/Application.h"

#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <iostream>

#include "framework/Form.h"
#include "framework/MessageBox.h"
#include "framework/Screen.h"
#include "framework/StdRegistration.h"
#include "framework/Thread.h"
#include "framework/UtilWindow.h"
#include "platform/core/ProcessWide.h"
#include "platform/window/WindowApi.h"

namespace kestrel {

namespace pf = platform;

KESTREL_IMPLEMENT_CLASS(TApplication, TComponent)

namespace {

// Never freed as statics: callable during any teardown. A reset clears the handlers (whoever
// set them sets them again when made again) and keeps the exit procedures, which belong to
// objects a reset does not free.
using CreatedEvent = std::function<void(TApplication*)>;
using ExitProcList = std::vector<std::function<void()>>;
constinit pf::ProcessWide<CreatedEvent> gCreatedHandler;
constinit pf::ProcessWide<TExceptionEvent> gExceptionHandler;
constinit pf::ProcessWide<ExitProcList> gExitProcs(pf::ProcessWideOptions<ExitProcList>{.keptByReset = true});

CreatedEvent& CreatedHandler() { return *gCreatedHandler; }
TExceptionEvent& ProcessExceptionHandler() { return *gExceptionHandler; }
ExitProcList& ExitProcs() { return *gExitProcs; }

pf::UINT WakeMessage() {
  static const pf::UINT message = pf::RegisterWindowMessageW(u"KestrelWakeMainThread");
  return message;
}

std::unique_ptr<TApplication> MakeApplication() {
  SetMainThread();
  return std::make_unique<TApplication>(nullptr);
}

void AnnounceApplication(TApplication& application) {
  if (const auto created = CreatedHandler()) created(&application);
}

// Made by the first use, which makes its thread the GUI thread. Halt frees it; otherwise it
// lives on at the program's end, as its windows do. A test reset frees it: the next use makes a
// fresh one.
constinit pf::ProcessWide<TApplication> gApplication(pf::ProcessWideOptions<TApplication>{
    .make = &MakeApplication, .made = &AnnounceApplication});

}  // namespace

TApplication* Application() { return gApplication.Get(); }

bool ApplicationExists() { return gApplication.Peek() != nullptr; }

void SetApplicationExceptionHandler(TExceptionEvent handler) { ProcessExceptionHandler() = std::move(handler); }

void SetApplicationCreatedHandler(std::function<void(TApplication*)> handler) { CreatedHandler() = std::move(handler); }

TApplication::TApplication(TComponent* owner) : TComponent(owner) {
  RegisterVisualClasses();
  handle_ = AllocateHWnd([this](TMessage& m) { WndProc(m); });
}

TApplication::~TApplication() {
  Destroying();
  // Forms hear OnDestroy while the application and their fellows still exist.
  for (int i = ComponentCount() - 1; i >= 0; --i)
    if (auto* form = dynamic_cast<TCustomForm*>(Components(i))) form->BeforeDestruction();
  DestroyComponents();
  DeallocateHWnd(handle_);
  // Deleted directly (tests start afresh so): the next Application() makes a new one.
  gApplication.Forget(this);
}

void TApplication::SetMainForm(TCustomForm* form) {
  if (form == mainForm_) return;
  mainForm_ = form;
  if (form) FreeNotification(form);
}

void TApplication::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != opRemove) return;
  if (component == mainForm_) mainForm_ = nullptr;
  std::erase(released_, component);
}

void TApplication::Run() {
  if (mainForm_ && showMainForm_) mainForm_->Show();
  while (!terminated_) HandleMessage();
}

bool TApplication::ProcessMessage() {
  pf::MSG msg;
  if (!pf::PeekMessageW(&msg, nullptr, 0, 0, pf::PM_REMOVE)) return false;
  if (msg.message == pf::WM_QUIT) {
    terminated_ = true;
    return true;
  }
  bool handled = false;
  if (OnMessage) OnMessage(msg, handled);
  if (handled) return true;
  pf::TranslateMessage(&msg);
  pf::DispatchMessageW(&msg);
  return true;
}

void TApplication::ProcessMessages() {
  while (ProcessMessage()) {
  }
  CheckSynchronize();
  FreeReleasedForms();
}

void TApplication::HandleMessage() {
  if (!ProcessMessage()) Idle();
}

void TApplication::Idle() {
  bool done = true;
  if (OnIdle) {
    try {
      OnIdle(this, done);
    } catch (...) {
      HandleException(this);
    }
  }
  CheckSynchronize();
  FreeReleasedForms();
  if (done && !terminated_) pf::WaitMessage();
}

void TApplication::Terminate() {
  terminated_ = true;
  if (handle_) pf::PostMessageW(handle_, pf::WM_NULL, 0, 0);
}

int TApplication::MessageBox(const String& text, const String& caption, unsigned flags) {
  // The window system's box, owned by the form the user works with, so that form stays disabled
  // while the box is up; posted calls and timers go on in the box's loop.
  TCustomForm* owner = Screen()->ActiveForm();
  if (!owner) owner = mainForm_;
  const pf::HWND ownerWindow = owner && owner->HandleAllocated() ? owner->Handle() : nullptr;
  const String& title = caption.empty() ? title_ : caption;
  return pf::MessageBoxW(ownerWindow, text.c_str(), title.c_str(), flags);
}

void TApplication::ShowException(const Exception& e) {
  bool anyShowing = false;
  for (int i = 0; i < Screen()->FormCount(); ++i) anyShowing = anyShowing || Screen()->Forms(i)->Showing();
  if (!anyShowing) {
    // No window to hang a box on (a test, a program ending): report on the error stream.
    std::cerr << Utf16ToUtf8(e.Message()) << std::endl;
    return;
  }
  MessageBox(e.Message(), title_, MB_OK | MB_ICONERROR);
}

void TApplication::HandleException(TObject* sender) {
  try {
    throw;
  } catch (const EAbort&) {
  } catch (const Exception& e) {
    DispatchException(sender, e);
  } catch (const std::exception& e) {
    DispatchException(sender, Exception{std::string_view(e.what())});
  } catch (...) {
  }
}

void TApplication::DispatchException(TObject* sender, const Exception& e) {
  if (OnException) {
    OnException(sender, e);
  } else if (const TExceptionEvent handler = ProcessExceptionHandler()) {
    // A handler that itself throws must not take the message loop down with it.
    try {
      handler(sender, e);
    } catch (...) {
      ShowException(e);
    }
  } else {
    ShowException(e);
  }
}

int TApplication::HookMainWindow(TWindowHook hook) {
  hooks_.emplace_back(nextHookId_, std::move(hook));
  return nextHookId_++;
}

void TApplication::UnhookMainWindow(int id) {
  std::erase_if(hooks_, [id](const auto& h) { return h.first == id; });
}

void TApplication::ScheduleRelease(TCustomForm* form) {
  if (!form || std::find(released_.begin(), released_.end(), form) != released_.end()) return;
  released_.push_back(form);
  FreeNotification(form);
  pf::PostMessageW(handle_, WakeMessage(), 0, 0);
}

void TApplication::FreeReleasedForms() {
  while (!released_.empty()) {
    TCustomForm* form = released_.back();
    released_.pop_back();
    form->BeforeDestruction();
    delete form;
  }
}

void TApplication::BroadcastToForms(pf::UINT msg) {
  for (int i = Screen()->FormCount() - 1; i >= 0; --i)
    if (TCustomForm* form = Screen()->Forms(i)) form->Perform(msg);
}

void TApplication::WndProc(TMessage& m) {
  // The hook added last sees the message first.
  const auto hooks = hooks_;
  for (auto it = hooks.rbegin(); it != hooks.rend(); ++it)
    if (it->second(m)) return;
  if (m.Msg == WakeMessage()) {
    CheckSynchronize();
    FreeReleasedForms();
    return;
  }
  switch (m.Msg) {
    case pf::WM_SYSCOLORCHANGE:
      BroadcastToForms(CM_SYSCOLORCHANGE);
      if (OnThemeChange) OnThemeChange(this);
      return;
    case pf::WM_THEMECHANGED:
    case pf::WM_SETTINGCHANGE:
      BroadcastToForms(CM_THEMECHANGED);
      if (OnThemeChange) OnThemeChange(this);
      return;
    case pf::WM_NULL: return;
    default: DefaultUtilWindowProc(handle_, m);
  }
}

void AddExitProc(std::function<void()> proc) { ExitProcs().push_back(std::move(proc)); }

void Halt(int exitCode) {
  static std::atomic<bool> halting{false};
  if (!halting.exchange(true)) {
    auto& procs = ExitProcs();
    while (!procs.empty()) {
      auto proc = std::move(procs.back());
      procs.pop_back();
      try {
        proc();
      } catch (...) {
      }
    }
    // The objects freed at the program's end go now, while the windows still exist.
    pf::FinaliseProcessWideObjects();
    // Windows belong to the GUI thread: only there can forms be taken down.
    if (IsMainThread()) {
      try {
        gApplication.Free();
        while (Screen()->FormCount() > 0) {
          TCustomForm* form = Screen()->Forms(Screen()->FormCount() - 1);
          form->BeforeDestruction();
          delete form;
        }
      } catch (...) {
      }
    }
  }
  std::cout.flush();
  std::cerr.flush();
  std::fflush(nullptr);
  ::_exit(exitCode);
}

}  // namespace kestrel
