#pragma once
// "Is another instance of this program running?" as a lock that cannot go stale: an exclusive
// flock on $XDG_RUNTIME_DIR/kestrel/<name>.instance. The holder may leave a few bytes in the
// file (for example its window handle) for the next instance to read.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/os/FlockFile.h"

namespace kestrel::platform {

class InstanceLock {
 public:
  explicit InstanceLock(std::u16string_view name);
  ~InstanceLock();
  InstanceLock(const InstanceLock&) = delete;
  InstanceLock& operator=(const InstanceLock&) = delete;

  enum class Outcome {
    Acquired,       // this object holds the lock (now or already)
    HeldElsewhere,  // another process, or another InstanceLock of this process, holds it
    Failed,         // the lock file cannot be used: no verdict about other instances
  };
  Outcome Acquire();
  bool TryAcquire() { return Acquire() == Outcome::Acquired; }
  bool Held() const { return held_; }
  void Release();

  // The holder's bytes; replaced as a whole. Writing needs the lock.
  bool WriteData(const std::vector<std::uint8_t>& data);
  std::vector<std::uint8_t> ReadData() const;

  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  FlockFile file_;
  bool held_ = false;
};

}  // namespace kestrel::platform
