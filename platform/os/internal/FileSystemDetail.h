#pragma once
// Internals shared by the file and path services.

#include <sys/stat.h>

#include <string>

#include "platform/os/FileAttributes.h"

namespace kestrel::platform::detail {

// Win32 attributes, times and size of an inode found with lstat at `path`.
void FillAttributeData(const std::string& path, const struct stat& info, DWORD& attributes, FILETIME& creation,
                       FILETIME& access, FILETIME& write, DWORD& sizeHigh, DWORD& sizeLow);

// ERROR_FILE_NOT_FOUND when only the last component is missing, ERROR_PATH_NOT_FOUND when a
// directory on the way is; other errno values map as usual.
DWORD NotFoundError(const std::string& path, int error);

bool DirectoryExists(const std::string& path);  // symbolic links followed

// rename(2), refusing to replace an existing target unless `replace`; errno on failure.
int Rename(const std::string& from, const std::string& to, bool replace);
void SyncParentDirectory(const std::string& path);

// Copies a regular file's bytes, permissions and modification time; a Win32 error code.
DWORD CopyRegularFile(const std::string& from, const std::string& to, bool failIfExists);

}  // namespace kestrel::platform::detail
