#pragma once
// Ending the user's session or the machine. The services object asks through this interface, so
// a program (or a test) can put its own in place of the system's.

#include <memory>

#include "platform/core/WinTypes.h"

namespace kestrel {

// The flags of the exit request.
constexpr platform::UINT EWX_LOGOFF = 0x0;
constexpr platform::UINT EWX_SHUTDOWN = 0x1;
constexpr platform::UINT EWX_REBOOT = 0x2;
constexpr platform::UINT EWX_FORCE = 0x4;

class TVnSessionControl {
 public:
  virtual ~TVnSessionControl() = default;
  // Opens the process's access token and enables the shutdown privilege in it; false when
  // opening or adjusting fails.
  virtual bool OpenProcessToken() = 0;
  virtual bool EnableShutdownPrivilege() = 0;
  // Logs off (EWX_LOGOFF), shuts down or reboots; whether the request was accepted.
  virtual bool ExitWindows(platform::UINT flags) = 0;

  // The system's own: the login manager's power-off, reboot and session-end requests.
  static std::unique_ptr<TVnSessionControl> CreateSystem();
};

}  // namespace kestrel
