#include "foundation/SessionControl.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

extern char** environ;

namespace kestrel {

namespace {

// Runs a command found on PATH and waits for it; true when it ran and reported success.
bool RunCommand(std::vector<std::string> args) {
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  pid_t pid = 0;
  if (::posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return false;
  int status = 0;
  pid_t waited = -1;
  do waited = ::waitpid(pid, &status, 0);
  while (waited < 0 && errno == EINTR);
  return waited == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The login manager decides who may power off or reboot (it asks its policy when the request
// arrives), so the token steps have nothing to refuse here; the request itself reports refusal.
class TSystemSessionControl : public TVnSessionControl {
 public:
  bool OpenProcessToken() override { return true; }
  bool EnableShutdownPrivilege() override { return true; }

  bool ExitWindows(platform::UINT flags) override {
    if (flags & EWX_REBOOT) return RunCommand({"systemctl", "reboot"});
    if (flags & EWX_SHUTDOWN) return RunCommand({"systemctl", "poweroff"});
    const char* session = std::getenv("XDG_SESSION_ID");
    if (session && *session) return RunCommand({"loginctl", "terminate-session", session});
    return RunCommand({"loginctl", "terminate-user", std::to_string(::getuid())});
  }
};

}  // namespace

std::unique_ptr<TVnSessionControl> TVnSessionControl::CreateSystem() {
  return std::make_unique<TSystemSessionControl>();
}

}  // namespace kestrel
