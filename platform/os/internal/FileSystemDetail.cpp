#include "platform/os/internal/FileSystemDetail.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <cerrno>

#include "platform/core/UniqueFd.h"
#include "platform/os/OsErrors.h"

namespace kestrel::platform::detail {

namespace {

std::string LastComponent(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string ParentOf(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

DWORD CopyBytes(int in, int out) {
  char buffer[65536];
  for (;;) {
    ssize_t got = ::read(in, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return Win32ErrorFromErrno(errno);
    if (got == 0) return ERROR_SUCCESS;
    for (ssize_t done = 0; done < got;) {
      ssize_t put = ::write(out, buffer + done, static_cast<size_t>(got - done));
      if (put < 0 && errno == EINTR) continue;
      if (put < 0) return Win32ErrorFromErrno(errno);
      done += put;
    }
  }
}

}  // namespace

void FillAttributeData(const std::string& path, const struct stat& info, DWORD& attributes, FILETIME& creation,
                       FILETIME& access, FILETIME& write, DWORD& sizeHigh, DWORD& sizeLow) {
  attributes = 0;
  std::uint64_t size = 0;
  if (S_ISLNK(info.st_mode)) {
    attributes |= FILE_ATTRIBUTE_REPARSE_POINT;
    if (DirectoryExists(path)) attributes |= FILE_ATTRIBUTE_DIRECTORY;
  } else if (S_ISDIR(info.st_mode)) {
    attributes |= FILE_ATTRIBUTE_DIRECTORY;
  } else if (S_ISREG(info.st_mode)) {
    attributes |= FILE_ATTRIBUTE_ARCHIVE;
    size = static_cast<std::uint64_t>(info.st_size);
  } else {
    attributes |= FILE_ATTRIBUTE_SYSTEM;  // devices, pipes, sockets
  }
  if (!S_ISLNK(info.st_mode) && (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
    attributes |= FILE_ATTRIBUTE_READONLY;
  std::string name = LastComponent(path);
  if (name.size() > 1 && name[0] == '.' && name != "..") attributes |= FILE_ATTRIBUTE_HIDDEN;
  // Linux keeps no portable birth time; the last change of the contents stands in for it.
  write = FileTimeFromUnix(info.st_mtim.tv_sec, info.st_mtim.tv_nsec);
  creation = write;
  access = FileTimeFromUnix(info.st_atim.tv_sec, info.st_atim.tv_nsec);
  sizeHigh = static_cast<DWORD>(size >> 32);
  sizeLow = static_cast<DWORD>(size & 0xFFFFFFFF);
}

DWORD NotFoundError(const std::string& path, int error) {
  if (error == ENOTDIR) return ERROR_PATH_NOT_FOUND;
  if (error != ENOENT) return Win32ErrorFromErrno(error);
  return DirectoryExists(ParentOf(path)) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
}

bool DirectoryExists(const std::string& path) {
  struct stat info;
  return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

int Rename(const std::string& from, const std::string& to, bool replace) {
  if (replace) return ::rename(from.c_str(), to.c_str());
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return -1;
  // File systems without RENAME_NOREPLACE: check first (a small race, as on such systems).
  struct stat info;
  if (::lstat(to.c_str(), &info) == 0) {
    errno = EEXIST;
    return -1;
  }
  return ::rename(from.c_str(), to.c_str());
}

void SyncParentDirectory(const std::string& path) {
  UniqueFd dir(::open(ParentOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() >= 0) ::fsync(dir.get());
}

DWORD CopyRegularFile(const std::string& from, const std::string& to, bool failIfExists) {
  UniqueFd in(::open(from.c_str(), O_RDONLY | O_CLOEXEC));
  if (in.get() < 0) return NotFoundError(from, errno);
  struct stat source;
  if (::fstat(in.get(), &source) != 0) return Win32ErrorFromErrno(errno);
  if (S_ISDIR(source.st_mode)) return ERROR_ACCESS_DENIED;
  struct stat target;
  if (::stat(to.c_str(), &target) == 0) {
    if (failIfExists) return ERROR_FILE_EXISTS;
    if (target.st_dev == source.st_dev && target.st_ino == source.st_ino) return ERROR_SHARING_VIOLATION;
    if (S_ISDIR(target.st_mode)) return ERROR_ACCESS_DENIED;
  }
  int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (failIfExists ? O_EXCL : O_TRUNC);
  UniqueFd out(::open(to.c_str(), flags, source.st_mode & 07777));
  if (out.get() < 0) return errno == EEXIST ? ERROR_FILE_EXISTS : NotFoundError(to, errno);
  DWORD error = CopyBytes(in.get(), out.get());
  if (error != ERROR_SUCCESS) {
    ::unlink(to.c_str());  // no half-copied file left behind
    return error;
  }
  ::fchmod(out.get(), source.st_mode & 07777);
  struct timespec times[2] = {source.st_atim, source.st_mtim};
  ::futimens(out.get(), times);
  return ERROR_SUCCESS;
}

}  // namespace kestrel::platform::detail
