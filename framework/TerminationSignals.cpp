#include "framework/TerminationSignals.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <system_error>
#include <thread>

#include "framework/Application.h"
#include "framework/Form.h"
#include "framework/UtilWindow.h"
#include "platform/window/WindowApi.h"

namespace kestrel {

namespace pf = platform;

namespace {

constexpr pf::UINT kEndRequest = pf::WM_APP + 0x2E1;
constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

// Written by the handler, read by the watcher; made once and kept for the life of the process.
int gPipe[2] = {-1, -1};
pf::HWND gWindow = nullptr;

void OnSignal(int number) {
  const int saved = errno;
  const auto byte = static_cast<unsigned char>(number);
  [[maybe_unused]] const ssize_t written = ::write(gPipe[1], &byte, 1);
  errno = saved;
}

// On the GUI thread: the same end as closing the main window, made certain.
void EndProgram(TMessage& message) {
  if (message.Msg != kEndRequest) {
    DefaultUtilWindowProc(gWindow, message);
    return;
  }
  TApplication* application = Application();
  if (!application) return;
  if (TCustomForm* form = application->MainForm()) form->Close();
  application->Terminate();
  // Modal loops (a message box that is up) end on the quit message as well.
  pf::PostQuitMessage(0);
}

void Watch(pf::HWND window) {
  for (;;) {
    unsigned char number = 0;
    const ssize_t n = ::read(gPipe[0], &number, 1);
    if (n == 1) pf::PostMessageW(window, kEndRequest, number, 0);
    else if (n < 0 && errno == EINTR) continue;
    else return;
  }
}

}  // namespace

bool TTerminationSignals::Install() {
  static const bool installed = [] {
    if (::pipe2(gPipe, O_CLOEXEC) != 0) return false;
    gWindow = AllocateHWnd([](TMessage& message) { EndProgram(message); });
    if (!gWindow) return false;
    try {
      std::thread(Watch, gWindow).detach();
    } catch (const std::system_error&) {
      return false;  // the window stays, unused: the signals keep their default action
    }
    struct sigaction action {};
    action.sa_handler = OnSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (int number : kSignals) sigaction(number, &action, nullptr);
    return true;
  }();
  return installed;
}

}  // namespace kestrel
