#include "settings/internal/KsIniByteWindow.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <string>

namespace kestrel {

TKsIniByteWindow::TKsIniByteWindow(const std::uint8_t* data, std::size_t size) : base_(data), end_(size) {}

void TKsIniByteWindow::Close() { fd_.reset(); }

bool TKsIniByteWindow::Open(const String& fileName, bool createMissing) {
  const std::string path = Utf16ToUtf8(fileName);
  fd_.reset(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd_ && errno == ENOENT) {
    if (!createMissing) return false;
    const platform::UniqueFd created(::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666));  // only made
    return true;
  }
  if (!fd_) return false;
  struct stat st {};
  if (::fstat(fd_.get(), &st) != 0 || S_ISDIR(st.st_mode)) {
    Close();
    return false;
  }
  if (S_ISREG(st.st_mode)) {
    // The file is what it holds now: a writer that appends meanwhile is not followed.
    unreadInFile_ = static_cast<std::size_t>(st.st_size);
    return true;
  }
  // A pipe or device has no size to go by: it is read whole here.
  unreadInFile_ = std::numeric_limits<std::size_t>::max() / 2;
  FillAll();
  unreadInFile_ = 0;
  Close();
  return !failed_;
}

void TKsIniByteWindow::FillAll() {
  while (More()) {
  }
}

// Moves the unread bytes to the front and reads as much as the buffer then has room for
// (growing it when it is full); false when nothing more could be read.
bool TKsIniByteWindow::ReadMore() {
  if (unreadInFile_ == 0 || !fd_) return false;
  if (begin_ > 0) {
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  if (end_ == buffer_.size()) buffer_.resize(std::max(kPiece, buffer_.size() * 2));
  base_ = buffer_.data();
  for (;;) {
    const std::size_t room = std::min(buffer_.size() - end_, unreadInFile_);
    const ssize_t n = ::read(fd_.get(), buffer_.data() + end_, room);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      // A file that shrank while it was read ends where it now ends.
      failed_ = n < 0;
      unreadInFile_ = 0;
      return false;
    }
    end_ += static_cast<std::size_t>(n);
    unreadInFile_ -= static_cast<std::size_t>(n);
    return true;
  }
}

bool TKsIniByteWindow::Fill(std::size_t count) {
  if (count > Remaining()) return false;
  while (Available() < count) {
    if (!ReadMore()) return false;
  }
  return true;
}

void TKsIniByteWindow::Consume(std::size_t count) {
  count = std::min(count, Available());
  begin_ += count;
  consumed_ += count;
}

bool TKsIniByteWindow::Skip(std::size_t count) {
  if (count > Remaining()) return false;
  while (count > 0) {
    if (Available() == 0 && !ReadMore()) return false;
    const std::size_t step = std::min(count, Available());
    Consume(step);
    count -= step;
  }
  return true;
}

}  // namespace kestrel
