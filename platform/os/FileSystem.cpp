#include "platform/os/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <vector>

#include "platform/os/OsErrors.h"
#include "platform/os/internal/CaseFold.h"
#include "platform/os/internal/FileSystemDetail.h"
#include "platform/os/internal/TextBuffer.h"

namespace kestrel::platform {

namespace {

class FindSearch : public KernelObject {
 public:
  std::vector<WIN32_FIND_DATAW> entries;
  std::size_t next = 0;
};

bool HasWildcards(std::u16string_view pattern) { return pattern.find_first_of(u"*?") != std::u16string_view::npos; }

// Windows wildcard matching: '*' any run, '?' one character, letters ignoring case.
bool MatchesPattern(std::u16string_view name, std::u16string_view pattern) {
  if (pattern == u"*.*") pattern = u"*";
  std::size_t n = 0, p = 0, starP = std::u16string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == u'*') {
      starP = p++;
      starN = n;
    } else if (p < pattern.size() && (pattern[p] == u'?' || FoldCase(pattern[p]) == FoldCase(name[n]))) {
      ++p;
      ++n;
    } else if (starP != std::u16string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == u'*') ++p;
  return p == pattern.size();
}

bool FillFindData(const std::string& directory, const std::string& name, WIN32_FIND_DATAW& data) {
  std::string full = directory == "/" ? "/" + name : directory + "/" + name;
  struct stat info;
  if (::lstat(full.c_str(), &info) != 0) return false;
  data = WIN32_FIND_DATAW{};
  detail::FillAttributeData(full, info, data.dwFileAttributes, data.ftCreationTime, data.ftLastAccessTime,
                            data.ftLastWriteTime, data.nFileSizeHigh, data.nFileSizeLow);
  CopyTruncated(Utf8ToUtf16(name), data.cFileName, MAX_PATH);
  return true;
}

bool DotEntryFirst(const std::string& a, const std::string& b) {
  auto rank = [](const std::string& s) { return s == "." ? 0 : s == ".." ? 1 : 2; };
  if (rank(a) != rank(b)) return rank(a) < rank(b);
  return a < b;
}

// The matching entries of `directory`, sorted; false when the directory cannot be read.
bool ListMatches(const std::string& directory, std::u16string_view pattern, std::vector<std::string>& names) {
  DIR* dir = ::opendir(directory.c_str());
  if (!dir) return false;
  while (dirent* entry = ::readdir(dir)) {
    if (MatchesPattern(Utf8ToUtf16(entry->d_name), pattern)) names.emplace_back(entry->d_name);
  }
  ::closedir(dir);
  std::sort(names.begin(), names.end(), DotEntryFirst);
  return true;
}

// lstat with the Win32 error for a missing path set on failure.
bool StatOrFail(const std::string& path, struct stat& info) {
  if (!path.empty() && ::lstat(path.c_str(), &info) == 0) return true;
  SetLastError(path.empty() ? ERROR_PATH_NOT_FOUND : detail::NotFoundError(path, errno));
  return false;
}

bool IsFindSearch(const KernelObject& object) { return dynamic_cast<const FindSearch*>(&object) != nullptr; }

}  // namespace

HANDLE FindFirstFileW(const WCHAR* fileName, WIN32_FIND_DATAW* findData) {
  std::string path = NarrowArg(fileName);
  if (!findData || path.empty()) {
    SetLastError(path.empty() ? ERROR_PATH_NOT_FOUND : ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  std::size_t slash = path.rfind('/');
  std::string directory = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  std::string pattern = slash == std::string::npos ? path : path.substr(slash + 1);
  if (pattern.empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }

  auto search = std::make_shared<FindSearch>();
  struct stat info;
  int found = ::lstat(path.c_str(), &info);
  int error = errno;
  if (found == 0) {
    WIN32_FIND_DATAW data;
    if (FillFindData(directory, pattern, data)) search->entries.push_back(data);
  } else if (HasWildcards(Utf8ToUtf16(pattern))) {
    std::vector<std::string> names;
    if (!ListMatches(directory, Utf8ToUtf16(pattern), names)) {
      SetLastError(errno == ENOENT || errno == ENOTDIR ? ERROR_PATH_NOT_FOUND : Win32ErrorFromErrno(errno));
      return INVALID_HANDLE_VALUE;
    }
    for (const std::string& name : names) {
      WIN32_FIND_DATAW data;
      if (FillFindData(directory, name, data)) search->entries.push_back(data);
    }
  } else {
    SetLastError(detail::NotFoundError(path, error));
    return INVALID_HANDLE_VALUE;
  }
  if (search->entries.empty()) {
    SetLastError(detail::DirectoryExists(directory) ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  *findData = search->entries[0];
  search->next = 1;
  HANDLE handle = InsertKernelObject(search);
  if (!handle) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return INVALID_HANDLE_VALUE;
  }
  SetLastError(ERROR_SUCCESS);
  return handle;
}

BOOL FindNextFileW(HANDLE handle, WIN32_FIND_DATAW* findData) {
  auto search = LookupKernelObject<FindSearch>(handle);
  if (!search) return FALSE;
  if (!findData) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (search->next >= search->entries.size()) {
    SetLastError(ERROR_NO_MORE_FILES);
    return FALSE;
  }
  *findData = search->entries[search->next++];
  return TRUE;
}

BOOL FindClose(HANDLE handle) { return RemoveKernelObject(handle, IsFindSearch) ? TRUE : FALSE; }

DWORD GetFileAttributesW(const WCHAR* fileName) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExW(fileName, GetFileExInfoStandard, &data)) return INVALID_FILE_ATTRIBUTES;
  return data.dwFileAttributes;
}

BOOL GetFileAttributesExW(const WCHAR* fileName, GET_FILEEX_INFO_LEVELS level, void* information) {
  std::string path = NarrowArg(fileName);
  if (level != GetFileExInfoStandard || !information || path.empty()) {
    SetLastError(path.empty() ? ERROR_PATH_NOT_FOUND : ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  struct stat info;
  if (!StatOrFail(path, info)) return FALSE;
  auto* data = static_cast<WIN32_FILE_ATTRIBUTE_DATA*>(information);
  *data = WIN32_FILE_ATTRIBUTE_DATA{};
  detail::FillAttributeData(path, info, data->dwFileAttributes, data->ftCreationTime, data->ftLastAccessTime,
                            data->ftLastWriteTime, data->nFileSizeHigh, data->nFileSizeLow);
  return TRUE;
}

BOOL DeleteFileW(const WCHAR* fileName) {
  std::string path = NarrowArg(fileName);
  struct stat info;
  if (!StatOrFail(path, info)) return FALSE;
  // Directories, and files whose attributes say read-only, are refused as on Windows.
  bool readOnly = !S_ISLNK(info.st_mode) && (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
  if (S_ISDIR(info.st_mode) || readOnly) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  if (::unlink(path.c_str()) != 0) return FailFromErrno();
  return TRUE;
}

BOOL RemoveDirectoryW(const WCHAR* pathName) {
  std::string path = NarrowArg(pathName);
  // "link/" would name the link's target; the call is about the entry itself.
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  struct stat info;
  if (!StatOrFail(path, info)) return FALSE;
  if (S_ISLNK(info.st_mode)) {
    // A link to a directory goes like a directory on Windows; here it is removed with unlink.
    if (!detail::DirectoryExists(path)) {
      SetLastError(ERROR_DIRECTORY);
      return FALSE;
    }
    if (::unlink(path.c_str()) != 0) return FailFromErrno();
    return TRUE;
  }
  if (!S_ISDIR(info.st_mode)) {
    SetLastError(ERROR_DIRECTORY);
    return FALSE;
  }
  if (::rmdir(path.c_str()) != 0) {
    SetLastError(errno == EEXIST || errno == ENOTEMPTY ? ERROR_DIR_NOT_EMPTY : Win32ErrorFromErrno(errno));
    return FALSE;
  }
  return TRUE;
}

BOOL CreateDirectoryW(const WCHAR* pathName, void* /*securityAttributes*/) {
  std::string path = NarrowArg(pathName);
  if (path.empty()) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return FALSE;
  }
  if (::mkdir(path.c_str(), 0777) != 0) {
    SetLastError(errno == ENOENT ? ERROR_PATH_NOT_FOUND : Win32ErrorFromErrno(errno));
    return FALSE;
  }
  return TRUE;
}

BOOL MoveFileW(const WCHAR* existingFileName, const WCHAR* newFileName) {
  return MoveFileExW(existingFileName, newFileName, 0);
}

BOOL MoveFileExW(const WCHAR* existingFileName, const WCHAR* newFileName, DWORD flags) {
  std::string from = NarrowArg(existingFileName), to = NarrowArg(newFileName);
  if (from.empty() || to.empty()) {
    // A null target (delete at reboot) has no meaning here.
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  struct stat info;
  if (!StatOrFail(from, info)) return FALSE;
  bool replace = (flags & MOVEFILE_REPLACE_EXISTING) != 0;
  int result = detail::Rename(from, to, replace);
  if (result != 0 && errno == EXDEV && (flags & MOVEFILE_COPY_ALLOWED) && S_ISREG(info.st_mode)) {
    if (!CopyFileW(existingFileName, newFileName, replace ? FALSE : TRUE)) {
      if (GetLastError() == ERROR_FILE_EXISTS) SetLastError(ERROR_ALREADY_EXISTS);
      return FALSE;
    }
    if (::unlink(from.c_str()) != 0) return FailFromErrno();
    return TRUE;
  }
  if (result != 0) {
    SetLastError(errno == ENOENT ? ERROR_PATH_NOT_FOUND : Win32ErrorFromErrno(errno));
    return FALSE;
  }
  if (flags & MOVEFILE_WRITE_THROUGH) detail::SyncParentDirectory(to);
  return TRUE;
}

BOOL CopyFileW(const WCHAR* existingFileName, const WCHAR* newFileName, BOOL failIfExists) {
  std::string from = NarrowArg(existingFileName), to = NarrowArg(newFileName);
  if (from.empty() || to.empty()) {
    SetLastError(ERROR_PATH_NOT_FOUND);
    return FALSE;
  }
  DWORD error = detail::CopyRegularFile(from, to, failIfExists != FALSE);
  if (error != ERROR_SUCCESS) {
    SetLastError(error);
    return FALSE;
  }
  return TRUE;
}

}  // namespace kestrel::platform
