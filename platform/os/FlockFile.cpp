#include "platform/os/FlockFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "platform/core/Unicode.h"

namespace kestrel::platform {

namespace {

// A directory of our own: created when missing, and accepted only when it is a real directory
// (not a link someone planted) owned by us.
bool PrivateDirectory(const std::string& path) {
  ::mkdir(path.c_str(), 0700);
  struct stat info;
  return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::getuid();
}

}  // namespace

std::string RuntimeDirectory() {
  if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime) {
    std::string base = std::string(runtime) + "/kestrel";
    if (PrivateDirectory(base)) return base;
  }
  std::string fallback = "/tmp/kestrel-" + std::to_string(::getuid());
  return PrivateDirectory(fallback) ? fallback : std::string();
}

std::string EncodeObjectName(std::u16string_view name) {
  constexpr std::size_t kMaxLength = 200;  // leaves room for prefixes and suffixes below NAME_MAX
  std::string utf8 = Utf16ToUtf8(name);
  std::string out;
  for (unsigned char c : utf8) {
    bool plain =
        (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '_' || c == '-';
    if (plain) {
      out += static_cast<char>(c);
    } else {
      char hex[4];
      std::snprintf(hex, sizeof hex, "%%%02X", c);
      out += hex;
    }
  }
  if (out.empty() || out[0] == '.') out.insert(0, "_");
  if (out.size() > kMaxLength) {
    std::uint64_t hash = 1469598103934665603ull;  // FNV-1a of the whole name keeps it unique
    for (unsigned char c : utf8) hash = (hash ^ c) * 1099511628211ull;
    char suffix[20];
    std::snprintf(suffix, sizeof suffix, "~%016llx", static_cast<unsigned long long>(hash));
    out = out.substr(0, kMaxLength) + suffix;
  }
  return out;
}

bool FlockFile::Open(const std::string& path) {
  Close();
  fd_.reset(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
  if (!fd_) return false;
  opener_ = ::getpid();
  path_ = path;
  return true;
}

void FlockFile::Close() { fd_.reset(); }

bool FlockFile::Flock(int operation) {
  if (!fd_) {
    errno = EBADF;
    return false;
  }
  if (::getpid() != opener_) {
    errno = EPERM;  // inherited through fork: the lock is the parent's
    return false;
  }
  int result;
  while ((result = ::flock(fd_.get(), operation)) != 0 && errno == EINTR) {
  }
  return result == 0;
}

bool FlockFile::LockExclusive() { return Flock(LOCK_EX); }
bool FlockFile::TryLockExclusive() { return Flock(LOCK_EX | LOCK_NB); }
bool FlockFile::LockShared() { return Flock(LOCK_SH); }
void FlockFile::Unlock() { Flock(LOCK_UN); }

}  // namespace kestrel::platform
