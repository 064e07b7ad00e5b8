#pragma once
// Real second processes for the tests: the test executable runs itself again with a role in the
// environment; the role runs before main() and the process ends with it.

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

#include "platform/core/UniqueFd.h"

namespace kestrel::testing {

// A running child playing `role`; its stdout is readable line by line. Killed on destruction.
class ChildProcess {
 public:
  ChildProcess(const std::string& role, const std::vector<std::string>& arguments);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Started() const { return pid_ > 0; }
  // The next line the child printed (without the newline), or "" on timeout or end of output.
  std::string ReadLine(std::chrono::milliseconds timeout = std::chrono::seconds(10));
  void Kill();  // SIGKILL, then reap
  // Waits for the exit and returns the exit code (-1 if killed or on timeout).
  int Wait(std::chrono::milliseconds timeout = std::chrono::seconds(30));

 private:
  pid_t pid_ = -1;
  platform::UniqueFd output_;
  std::string buffered_;
};

}  // namespace kestrel::testing
