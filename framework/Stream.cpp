#include "framework/Stream.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

#include "framework/Exceptions.h"
#include "framework/SysUtils.h"

namespace kestrel {

KESTREL_IMPLEMENT_CLASS(TStream, TObject)
KESTREL_IMPLEMENT_CLASS(THandleStream, TStream)
KESTREL_IMPLEMENT_CLASS(TFileStream, THandleStream)

std::int64_t TStream::Size() {
  std::int64_t pos = Seek(0, soCurrent);
  std::int64_t size = Seek(0, soEnd);
  Seek(pos, soBeginning);
  return size;
}

void TStream::SetSize(std::int64_t) {}

void TStream::ReadBuffer(void* buffer, std::size_t count) {
  if (count != 0 && Read(buffer, count) != count) throw EReadError(u"Stream read error");
}

void TStream::WriteBuffer(const void* buffer, std::size_t count) {
  if (count != 0 && Write(buffer, count) != count) throw EWriteError(u"Stream write error");
}

std::int64_t TStream::CopyFrom(TStream& source, std::int64_t count) {
  if (count <= 0) {
    source.SetPosition(0);
    count = source.Size();
  }
  constexpr std::size_t kChunk = 64 * 1024;
  std::vector<std::uint8_t> buffer(static_cast<std::size_t>(std::min<std::int64_t>(count, kChunk)));
  std::int64_t left = count;
  while (left > 0) {
    auto n = static_cast<std::size_t>(std::min<std::int64_t>(left, kChunk));
    source.ReadBuffer(buffer.data(), n);
    WriteBuffer(buffer.data(), n);
    left -= static_cast<std::int64_t>(n);
  }
  return count;
}

std::vector<std::uint8_t> ReadRemaining(TStream& stream) {
  std::vector<std::uint8_t> out;
  std::int64_t size = stream.Size() - stream.Position();
  // The size is a hint only (a stream may report it wrongly): reserve at most 64 MiB up front.
  if (size > 0) out.reserve(static_cast<std::size_t>(std::min<std::int64_t>(size, 64 << 20)));
  std::uint8_t chunk[64 * 1024];
  for (;;) {
    std::size_t n = stream.Read(chunk, sizeof chunk);
    if (n == 0) break;
    out.insert(out.end(), chunk, chunk + n);
  }
  return out;
}

std::size_t THandleStream::Read(void* buffer, std::size_t count) {
  auto* out = static_cast<std::uint8_t*>(buffer);
  std::size_t done = 0;
  while (done < count) {
    ssize_t n = ::read(handle_, out + done, count - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  return done;
}

std::size_t THandleStream::Write(const void* buffer, std::size_t count) {
  const auto* in = static_cast<const std::uint8_t*>(buffer);
  std::size_t done = 0;
  while (done < count) {
    ssize_t n = ::write(handle_, in + done, count - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  return done;
}

std::int64_t THandleStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  int whence = origin == soBeginning ? SEEK_SET : (origin == soCurrent ? SEEK_CUR : SEEK_END);
  return ::lseek(handle_, static_cast<off_t>(offset), whence);
}

std::int64_t THandleStream::Size() {
  struct stat st {};
  if (::fstat(handle_, &st) != 0) return -1;
  return st.st_size;
}

void THandleStream::SetSize(std::int64_t newSize) {
  if (newSize < 0 || ::ftruncate(handle_, static_cast<off_t>(newSize)) != 0)
    throw EStreamError(u"Stream size error: %s", {SysErrorMessage(errno)});
  if (Position() > newSize) Seek(0, soEnd);
}

namespace {

platform::UniqueFd OpenFile(const String& fileName, std::uint16_t mode, std::uint32_t rights) {
  std::string path = Utf16ToUtf8(fileName);
  bool create = (mode & fmCreate) == fmCreate;
  int flags = O_CLOEXEC;
  if (create) {
    flags |= O_RDWR | O_CREAT;
  } else {
    switch (mode & 3) {
      case fmOpenWrite: flags |= O_WRONLY; break;
      case fmOpenReadWrite: flags |= O_RDWR; break;
      default: flags |= O_RDONLY; break;
    }
  }
  platform::UniqueFd fd(fileName.empty() ? (errno = ENOENT, -1) : ::open(path.c_str(), flags, rights));
  int error = errno;
  if (fd) {
    struct stat st {};
    if (::fstat(fd.get(), &st) == 0 && S_ISDIR(st.st_mode)) {
      error = EISDIR;
    } else {
      int share = mode & 0xF0;
      int lock = share == fmShareExclusive || share == fmShareDenyRead ? LOCK_EX
                 : share == fmShareDenyWrite                           ? LOCK_SH
                                                                       : 0;
      if (lock == 0 || ::flock(fd.get(), lock | LOCK_NB) == 0) {
        // Empty the file only once it is known that nobody holds it.
        if (!create || ::ftruncate(fd.get(), 0) == 0) return fd;
      }
      error = errno;
    }
    fd.reset();
  }
  String reason = SysErrorMessage(error);
  if (create) throw EFCreateError(u"Cannot create file \"%s\". %s", {fileName, reason});
  throw EFOpenError(u"Cannot open file \"%s\". %s", {fileName, reason});
}

}  // namespace

TFileStream::TFileStream(const String& fileName, std::uint16_t mode, std::uint32_t rights)
    : TFileStream(OpenFile(fileName, mode, rights), fileName) {}

TFileStream::TFileStream(platform::UniqueFd file, const String& fileName)
    : THandleStream(file.get()), file_(std::move(file)), fileName_(fileName) {}

void TFileStream::Flush() {
  if (::fsync(handle_) != 0) throw EWriteError(u"Stream write error");
}

}  // namespace kestrel
