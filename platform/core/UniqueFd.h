#pragma once
// A file descriptor closed when its owner goes: the one owner of descriptors in the library.
// Close reports what close(2) said, for writers that must know whether the data reached the file.

#include <unistd.h>

#include <cerrno>
#include <utility>

namespace kestrel::platform {

class UniqueFd {
 public:
  UniqueFd() noexcept = default;
  explicit UniqueFd(int fd) noexcept : fd_(fd) {}
  ~UniqueFd() { reset(); }
  UniqueFd(UniqueFd&& other) noexcept : fd_(other.release()) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;

  int get() const noexcept { return fd_; }
  explicit operator bool() const noexcept { return fd_ >= 0; }

  // Gives the descriptor up without closing it.
  int release() noexcept { return std::exchange(fd_, -1); }
  // Closes the held descriptor (errors ignored) and holds `fd` instead.
  void reset(int fd = -1) noexcept {
    const int old = std::exchange(fd_, fd);
    if (old >= 0 && old != fd) ::close(old);
  }
  // Closes now; false when close(2) failed (errno set) or nothing was held (EBADF).
  bool Close() noexcept {
    const int old = release();
    if (old >= 0) return ::close(old) == 0;
    errno = EBADF;
    return false;
  }

 private:
  int fd_ = -1;
};

}  // namespace kestrel::platform
