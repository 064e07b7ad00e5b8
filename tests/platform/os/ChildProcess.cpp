#include "tests/platform/os/ChildProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "platform/core/Unicode.h"
#include "platform/os/InstanceLock.h"
#include "platform/os/Registry.h"
#include "platform/os/SharedMemory.h"

extern char** environ;

namespace kestrel::testing {

namespace {

using namespace kestrel::platform;

[[noreturn]] void HoldForever() {
  for (;;) ::pause();
}

void Say(const char* line) {
  std::printf("%s\n", line);
  std::fflush(stdout);
}

void HoldLock(const std::string& name) {
  InstanceLock lock(Utf8ToUtf16(name));
  if (!lock.TryAcquire()) {
    Say("busy");
    ::_exit(1);
  }
  lock.WriteData({0x4B, 0x53});
  Say("locked");
  HoldForever();
}

void HoldMapping(const std::string& name) {
  std::u16string wide = Utf8ToUtf16(name);
  HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 16, wide.c_str());
  bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
  auto* view = static_cast<std::uint32_t*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 16));
  if (!mapping || !view) ::_exit(2);
  if (!existed) view[1] = 0xC0FFEE;
  UnmapViewOfFile(view);
  Say(existed ? "existed" : "created");
  HoldForever();
}

// Writes `count` values and one subkey into a key shared with other writers.
void WriteRegistry(const std::string& id, int count) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, u"Software\\Concurrent", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                      nullptr) != ERROR_SUCCESS)
    ::_exit(3);
  for (int i = 0; i < count; ++i) {
    std::u16string name = Utf8ToUtf16("w" + id + "-" + std::to_string(i));
    DWORD value = static_cast<DWORD>(i);
    if (RegSetValueExW(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4) != ERROR_SUCCESS)
      ::_exit(4);
  }
  HKEY child = nullptr;
  std::u16string childName = Utf8ToUtf16("child" + id);
  if (RegCreateKeyW(key, childName.c_str(), &child) != ERROR_SUCCESS) ::_exit(5);
  RegCloseKey(child);
  RegCloseKey(key);
  ::_exit(0);
}

// Runs the role named in the environment, if any, before the test framework starts.
[[gnu::constructor]] void RunChildRole() {
  const char* role = std::getenv("KESTREL_OS_CHILD_ROLE");
  if (!role) return;
  const char* argument = std::getenv("KESTREL_OS_CHILD_ARG1");
  const char* second = std::getenv("KESTREL_OS_CHILD_ARG2");
  std::string first = argument ? argument : "";
  if (std::strcmp(role, "hold-lock") == 0) HoldLock(first);
  if (std::strcmp(role, "hold-mapping") == 0) HoldMapping(first);
  if (std::strcmp(role, "registry-writer") == 0) WriteRegistry(first, second ? std::atoi(second) : 0);
  ::_exit(99);
}

}  // namespace

ChildProcess::ChildProcess(const std::string& role, const std::vector<std::string>& arguments) {
  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) return;
  output_.reset(pipeFds[0]);
  const platform::UniqueFd childEnd(pipeFds[1]);  // the child's copy is its stdout
  std::vector<std::string> environment;
  for (char** entry = environ; *entry; ++entry)
    if (std::strncmp(*entry, "KESTREL_OS_CHILD_", 17) != 0) environment.emplace_back(*entry);
  environment.push_back("KESTREL_OS_CHILD_ROLE=" + role);
  for (std::size_t i = 0; i < arguments.size(); ++i)
    environment.push_back("KESTREL_OS_CHILD_ARG" + std::to_string(i + 1) + "=" + arguments[i]);
  std::vector<char*> envp;
  for (auto& entry : environment) envp.push_back(entry.data());
  envp.push_back(nullptr);
  std::string self = "/proc/self/exe";
  char* argv[] = {self.data(), nullptr};

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeFds[1], 1);
  if (::posix_spawn(&pid_, "/proc/self/exe", &actions, nullptr, argv, envp.data()) != 0) pid_ = -1;
  posix_spawn_file_actions_destroy(&actions);
}

ChildProcess::~ChildProcess() { Kill(); }

std::string ChildProcess::ReadLine(std::chrono::milliseconds timeout) {
  auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    std::size_t newline = buffered_.find('\n');
    if (newline != std::string::npos) {
      std::string line = buffered_.substr(0, newline);
      buffered_.erase(0, newline + 1);
      return line;
    }
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    pollfd fd{output_.get(), POLLIN, 0};
    if (left.count() <= 0 || ::poll(&fd, 1, static_cast<int>(left.count())) <= 0) return "";
    char chunk[256];
    ssize_t got = ::read(output_.get(), chunk, sizeof chunk);
    if (got <= 0) return "";
    buffered_.append(chunk, static_cast<std::size_t>(got));
  }
}

void ChildProcess::Kill() {
  if (pid_ <= 0) return;
  ::kill(pid_, SIGKILL);
  ::waitpid(pid_, nullptr, 0);
  pid_ = -1;
}

int ChildProcess::Wait(std::chrono::milliseconds timeout) {
  if (pid_ <= 0) return -1;
  auto deadline = std::chrono::steady_clock::now() + timeout;
  int status = 0;
  while (::waitpid(pid_, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      Kill();
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  pid_ = -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace kestrel::testing
