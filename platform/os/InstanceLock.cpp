#include "platform/os/InstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

#include "platform/core/UniqueFd.h"

namespace kestrel::platform {

InstanceLock::InstanceLock(std::u16string_view name) {
  std::string directory = RuntimeDirectory();
  if (!directory.empty()) path_ = directory + "/" + EncodeObjectName(name) + ".instance";
}

InstanceLock::~InstanceLock() { Release(); }

InstanceLock::Outcome InstanceLock::Acquire() {
  if (held_) return Outcome::Acquired;
  // A descriptor of its own: flock locks belong to the open file, so a second InstanceLock in
  // this process is refused just like another process.
  if (path_.empty() || !file_.Open(path_)) return Outcome::Failed;
  if (!file_.TryLockExclusive()) {
    bool busy = errno == EWOULDBLOCK;
    file_.Close();
    return busy ? Outcome::HeldElsewhere : Outcome::Failed;
  }
  held_ = true;
  return Outcome::Acquired;
}

void InstanceLock::Release() {
  if (!held_) return;
  file_.Unlock();
  file_.Close();
  held_ = false;
}

bool InstanceLock::WriteData(const std::vector<std::uint8_t>& data) {
  if (!held_) return false;
  int fd = file_.Descriptor();
  if (::ftruncate(fd, 0) != 0) return false;
  std::size_t done = 0;
  while (done < data.size()) {
    ssize_t put = ::pwrite(fd, data.data() + done, data.size() - done, static_cast<off_t>(done));
    if (put <= 0) return false;
    done += static_cast<std::size_t>(put);
  }
  return true;
}

std::vector<std::uint8_t> InstanceLock::ReadData() const {
  std::vector<std::uint8_t> data;
  UniqueFd fd(::open(path_.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd) return data;
  std::uint8_t buffer[4096];
  ssize_t got;
  while ((got = ::read(fd.get(), buffer, sizeof buffer)) > 0) data.insert(data.end(), buffer, buffer + got);
  return data;
}

}  // namespace kestrel::platform
