#pragma once
// TApplication: the program's message loop, its main form, a hidden window that wakes the GUI
// thread for synchronized calls and hears system-wide changes, and Halt, the explicit way out.

#include <functional>
#include <vector>

#include "framework/Component.h"
#include "framework/ControlMessages.h"
#include "framework/Exceptions.h"
#include "platform/window/WindowDefs.h"

namespace kestrel {

class TCustomForm;

using TIdleEvent = std::function<void(TObject* Sender, bool& Done)>;
// Sees every message the application takes from its queue before it is dispatched; setting
// Handled keeps it from being dispatched.
using TMessageEvent = std::function<void(platform::MSG& Msg, bool& Handled)>;
using TExceptionEvent = std::function<void(TObject* Sender, const Exception& E)>;
// A hook on the application window: true when it handled the message.
using TWindowHook = std::function<bool(TMessage& message)>;

class TApplication : public TComponent {
  KESTREL_CLASS(TApplication)
  explicit TApplication(TComponent* owner);
  ~TApplication() override;

  // The hidden application window (made with the application, on the GUI thread).
  platform::HWND Handle() const { return handle_; }
  const String& Title() const { return title_; }
  void SetTitle(const String& value) { title_ = value; }
  TCustomForm* MainForm() const { return mainForm_; }
  void SetMainForm(TCustomForm* form);
  bool ShowMainForm() const { return showMainForm_; }
  void SetShowMainForm(bool value) { showMainForm_ = value; }

  // Makes a form owned by the application; the first one becomes the main form.
  template <class T>
  void CreateForm(T*& reference) {
    T* form = new T(this);
    reference = form;
    if (!mainForm_) SetMainForm(form);
    form->AfterConstruction();
  }

  // Shows the main form and handles messages until Terminate.
  void Run();
  // Handles every message waiting now (and queued synchronized calls); returns at once.
  void ProcessMessages();
  // Handles one message, or, with none waiting, idles and waits for the next.
  void HandleMessage();
  void Terminate();
  bool Terminated() const { return terminated_; }

  // A modal message box; returns the IDOK… value of the button chosen.
  int MessageBox(const String& text, const String& caption, unsigned flags = 0);
  // Reports an exception that escaped an event handler (OnException, or a message box).
  void HandleException(TObject* sender);
  void ShowException(const Exception& e);

  int HookMainWindow(TWindowHook hook);
  void UnhookMainWindow(int id);

  // Forms freed when the application next idles (TCustomForm::Release).
  void ScheduleRelease(TCustomForm* form);

  TIdleEvent OnIdle;
  TMessageEvent OnMessage;
  TExceptionEvent OnException;
  // Theme and system colour changes, after the forms heard them.
  TNotifyEvent OnThemeChange;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  bool ProcessMessage();
  void Idle();
  void WakeUp();
  void WndProc(TMessage& message);
  void FreeReleasedForms();
  void BroadcastToForms(platform::UINT msg);
  void DispatchException(TObject* sender, const Exception& e);

  platform::HWND handle_ = nullptr;
  String title_;
  TCustomForm* mainForm_ = nullptr;
  bool showMainForm_ = true;
  bool terminated_ = false;
  std::vector<std::pair<int, TWindowHook>> hooks_;
  int nextHookId_ = 1;
  std::vector<TCustomForm*> released_;
};

// The process's application object, made on first use on the GUI thread.
TApplication* Application();
// Whether the application object exists (without making it).
bool ApplicationExists();

// A process-wide exception handler the application consults when its own OnException is not
// assigned (a services library installs one); nullptr removes it. The handler decides how the
// exception is shown (ShowException shows it the default way).
void SetApplicationExceptionHandler(TExceptionEvent handler);
// Called when the application object has been made (its window exists); nullptr removes it.
void SetApplicationCreatedHandler(std::function<void(TApplication* application)> handler);

// Adds a step to the explicit finalisation Halt runs (the last added runs first).
void AddExitProc(std::function<void()> proc);
// Ends the process with `exitCode` after finalisation: exit procedures, then every form and
// component of the application is freed, then output is flushed. Does not return, does not run
// static destructors and does not wait for other threads (a worker blocked in Synchronize is
// simply ended), so it is safe from inside a synchronized call.
[[noreturn]] void Halt(int exitCode = 0);

}  // namespace kestrel
