#include "settings/internal/KsAtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/core/ScopeGuard.h"
#include "platform/core/UniqueFd.h"

namespace kestrel::ksini {

namespace {

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

std::string DirectoryOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

mode_t ModeFor(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) return st.st_mode & 07777;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

bool ReplaceFileContents(const String& fileName, const std::vector<std::uint8_t>& data) {
  return ReplaceFileContents(fileName, [&data](const TPieceWriter& write) { return write(data.data(), data.size()); });
}

bool ReplaceFileContents(const String& fileName, const std::function<bool(const TPieceWriter&)>& produce) {
  const std::string target = Utf16ToUtf8(fileName);
  if (target.empty()) return false;
  std::string temp = target + ".XXXXXX";
  platform::UniqueFd file(::mkstemp(temp.data()));
  if (!file) return false;
  const int fd = file.get();
  const TPieceWriter write = [fd](const std::uint8_t* data, std::size_t size) { return WriteAll(fd, data, size); };
  bool ok = ::fchmod(fd, ModeFor(target)) == 0;
  {
    platform::ScopeGuard removeTemp([&temp] { ::unlink(temp.c_str()); });  // when producing throws
    ok = ok && produce(write) && ::fsync(fd) == 0;
    removeTemp.Dismiss();
  }
  const int saved = errno;
  if (!file.Close()) ok = false;
  if (ok && ::rename(temp.c_str(), target.c_str()) != 0) ok = false;
  if (!ok) {
    const int err = errno ? errno : saved;
    ::unlink(temp.c_str());
    errno = err;
    return false;
  }
  const platform::UniqueFd dir(::open(DirectoryOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir) ::fsync(dir.get());
  return true;
}

}  // namespace kestrel::ksini
