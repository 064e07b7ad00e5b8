#include "platform/os/Shell.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/os/internal/CaseFold.h"
#include "platform/os/internal/TextBuffer.h"

extern char** environ;

namespace kestrel::platform {

namespace {

HINSTANCE Result(UINT_PTR code) { return reinterpret_cast<HINSTANCE>(code); }

// Something the opener resolves itself (http://…, mailto:…) rather than a local path.
bool LooksLikeUri(const std::string& target) {
  std::size_t colon = target.find(':');
  if (colon == std::string::npos || colon < 2) return false;  // "C:" style or no scheme
  for (std::size_t i = 0; i < colon; ++i) {
    char c = target[i];
    bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
              (i > 0 && ((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.'));
    if (!ok) return false;
  }
  return true;
}

std::string OpenerProgram() {
  const char* configured = std::getenv("KESTREL_OPEN_COMMAND");
  return configured && *configured ? configured : "xdg-open";
}

// Starts `program target` in a new session with stdin/stdout/stderr on /dev/null and no other
// inherited descriptors. A thread of ours reaps it, so it never lingers as a zombie; when our
// process ends first, init adopts it.
int Spawn(const std::string& program, const std::string& target, const std::string& directory) {
  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attributes;
  posix_spawn_file_actions_init(&actions);
  posix_spawnattr_init(&attributes);
  for (int fd = 0; fd <= 2; ++fd)
    posix_spawn_file_actions_addopen(&actions, fd, "/dev/null", fd == 0 ? O_RDONLY : O_WRONLY, 0);
  posix_spawn_file_actions_addclosefrom_np(&actions, 3);
  if (!directory.empty()) posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  sigset_t signals;
  sigemptyset(&signals);
  posix_spawnattr_setsigmask(&attributes, &signals);
  sigfillset(&signals);
  posix_spawnattr_setsigdefault(&attributes, &signals);

  std::string arg0 = program, arg1 = target;
  char* argv[] = {arg0.data(), arg1.data(), nullptr};
  pid_t pid = 0;
  int error = posix_spawnp(&pid, program.c_str(), &actions, &attributes, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  if (error == 0) {
    std::thread([pid] {
      int status;
      while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
      }
    }).detach();
  }
  return error;
}

HINSTANCE Execute(std::u16string_view operation, const std::string& file, const std::string& directory) {
  if (!operation.empty() && !EqualsIgnoreCase(operation, u"open")) return Result(SE_ERR_NOASSOC);
  if (file.empty()) return Result(SE_ERR_FNF);
  if (!LooksLikeUri(file)) {
    struct stat info;
    if (::stat(file.c_str(), &info) != 0) return Result(errno == ENOTDIR ? SE_ERR_PNF : SE_ERR_FNF);
  }
  int error = Spawn(OpenerProgram(), file, directory);
  if (error == 0) return Result(42);
  if (error == ENOMEM || error == EAGAIN) return Result(SE_ERR_OOM);
  if (error == ENOENT && !directory.empty() && ::access(directory.c_str(), F_OK) != 0) return Result(SE_ERR_PNF);
  return Result(SE_ERR_NOASSOC);  // no opener available (missing or not executable)
}

}  // namespace

HINSTANCE ShellExecuteW(HWND /*owner*/, const WCHAR* operation, const WCHAR* file, const WCHAR* /*parameters*/,
                        const WCHAR* directory, int /*showCommand*/) {
  return Execute(WideArg(operation), NarrowArg(file), NarrowArg(directory));
}

HINSTANCE ShellExecuteA(HWND /*owner*/, const char* operation, const char* file, const char* /*parameters*/,
                        const char* directory, int /*showCommand*/) {
  return Execute(Utf8ToUtf16(operation ? operation : ""), file ? file : "", directory ? directory : "");
}

}  // namespace kestrel::platform
