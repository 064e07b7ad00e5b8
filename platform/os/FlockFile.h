#pragma once
// A file used only for its flock(2) lock. The kernel drops the lock when the descriptor closes,
// including when the process dies, so a crash never leaves a stale lock behind.
//
// A flock lock belongs to the open file, which a forked child shares with its parent: a child
// that converted or released it would change the parent's lock (turn the parent's shared lock
// into an exclusive one that then outlives the child). So only the process that opened the file
// locks and unlocks through it; in any other process every operation fails with EPERM, and
// closing only drops that process's descriptor.

#include <string>
#include <string_view>

#include "platform/core/UniqueFd.h"

namespace kestrel::platform {

// The per-user directory for runtime files: $XDG_RUNTIME_DIR/kestrel, else
// /tmp/kestrel-<uid>; created (mode 0700) when missing. Empty when neither is usable (a path
// that is not our own directory is never used).
std::string RuntimeDirectory();

// A name made safe for a single file-name component: letters, digits, '.', '_' and '-' stay,
// every other UTF-8 byte becomes %XX; long names are cut and given a hash suffix.
std::string EncodeObjectName(std::u16string_view name);

class FlockFile {
 public:
  FlockFile() = default;
  FlockFile(const FlockFile&) = delete;
  FlockFile& operator=(const FlockFile&) = delete;
  FlockFile(FlockFile&& other) noexcept = default;
  FlockFile& operator=(FlockFile&& other) noexcept = default;

  // Opens (creating when needed) the file, never through a symbolic link; false with errno set
  // on failure.
  bool Open(const std::string& path);
  bool IsOpen() const { return static_cast<bool>(fd_); }
  void Close();

  bool LockExclusive();     // waits
  bool TryLockExclusive();  // does not wait
  bool LockShared();        // waits
  void Unlock();

  int Descriptor() const { return fd_.get(); }
  const std::string& Path() const { return path_; }

 private:
  bool Flock(int operation);

  UniqueFd fd_;
  int opener_ = 0;  // the process that opened fd_
  std::string path_;
};

}  // namespace kestrel::platform
