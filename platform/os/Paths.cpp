#include "platform/os/Paths.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "platform/core/UniqueFd.h"
#include "platform/os/Environment.h"
#include "platform/os/FileSystem.h"
#include "platform/os/OsErrors.h"
#include "platform/os/internal/FileSystemDetail.h"
#include "platform/os/internal/TextBuffer.h"

namespace kestrel::platform {

namespace {

// The module handle value of the executable, as Windows loads it by default.
const HMODULE kExecutableModule = reinterpret_cast<HMODULE>(static_cast<ULONG_PTR>(0x00400000));
// The platform's user-interface resources, which are built in (no file is loaded).
const HMODULE kUser32Module = reinterpret_cast<HMODULE>(static_cast<ULONG_PTR>(0x77D00000));

bool NamesUser32(const WCHAR* name) {
  std::u16string lower(name);
  for (char16_t& c : lower)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  return lower == u"user32" || lower == u"user32.dll";
}

std::u16string CurrentDirectory() {
  std::vector<char> buffer(4096);
  while (!::getcwd(buffer.data(), buffer.size())) {
    if (errno != ERANGE) return u"/";
    buffer.resize(buffer.size() * 2);
  }
  return Utf8ToUtf16(buffer.data());
}

std::u16string FullPath(std::u16string_view path) {
  std::u16string input =
      path.starts_with(u'/') ? std::u16string(path) : CurrentDirectory() + u"/" + std::u16string(path);
  bool trailing = input.size() > 1 && input.back() == u'/';
  std::vector<std::u16string> parts;
  std::size_t i = 0;
  while (i < input.size()) {
    std::size_t next = input.find(u'/', i);
    if (next == std::u16string::npos) next = input.size();
    std::u16string part = input.substr(i, next - i);
    if (part == u"..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != u".") {
      parts.push_back(std::move(part));
    }
    i = next + 1;
  }
  std::u16string out;
  for (const auto& part : parts) out += u"/" + part;
  if (out.empty() || trailing) out += u'/';
  return out;
}

std::u16string TempDirectory() {
  std::u16string path;
  for (const char16_t* name : {u"TMP", u"TEMP", u"TMPDIR"}) {
    path = EnvironmentValue(name, false).value_or(u"");
    if (!path.empty()) break;
  }
  if (path.empty()) path = kFallbackRootPath;
  path = FullPath(path);
  if (!path.ends_with(u'/')) path += u'/';
  return path;
}

std::u16string TempFileName(std::u16string directory, std::u16string_view prefix, UINT unique) {
  if (!directory.ends_with(u'/')) directory += u'/';
  char hex[8];
  std::snprintf(hex, sizeof hex, "%X", unique & 0xFFFF);
  return directory + std::u16string(prefix.substr(0, 3)) + Utf8ToUtf16(hex) + u".TMP";
}

}  // namespace

DWORD GetFullPathNameW(const WCHAR* fileName, DWORD bufferLength, WCHAR* buffer, WCHAR** filePart) {
  std::u16string_view name = WideArg(fileName);
  if (name.empty()) {
    SetLastError(ERROR_INVALID_NAME);
    return 0;
  }
  std::u16string full = FullPath(name);
  DWORD result = CopyWithNeededSize(full, buffer, bufferLength);
  if (filePart && result == full.size()) {
    std::size_t slash = full.rfind(u'/');
    *filePart = slash + 1 < full.size() ? buffer + slash + 1 : nullptr;
  }
  return result;
}

DWORD GetLongPathNameW(const WCHAR* shortPath, WCHAR* longPath, DWORD bufferLength) {
  std::u16string path(WideArg(shortPath));  // a copy: source and target may overlap
  if (path.empty()) {
    SetLastError(shortPath ? ERROR_PATH_NOT_FOUND : ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::string narrow = Utf16ToUtf8(path);
  struct stat info;
  if (::lstat(narrow.c_str(), &info) != 0) {
    SetLastError(detail::NotFoundError(narrow, errno));
    return 0;
  }
  return CopyWithNeededSize(path, longPath, bufferLength);
}

DWORD GetTempPathW(DWORD bufferLength, WCHAR* buffer) {
  return CopyWithNeededSize(TempDirectory(), buffer, bufferLength);
}

UINT GetTempFileNameW(const WCHAR* pathName, const WCHAR* prefix, UINT unique, WCHAR* tempFileName) {
  std::u16string directory(WideArg(pathName));
  if (directory.empty() || !tempFileName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (!detail::DirectoryExists(Utf16ToUtf8(directory))) {
    SetLastError(ERROR_DIRECTORY);
    return 0;
  }
  auto finish = [&](const std::u16string& name, UINT number) -> UINT {
    if (!CopyTruncated(name, tempFileName, MAX_PATH)) {
      SetLastError(ERROR_FILENAME_EXCED_RANGE);
      return 0;
    }
    return number;
  };
  if (unique != 0) return finish(TempFileName(directory, WideArg(prefix), unique), unique & 0xFFFF);

  UINT start = static_cast<UINT>((::getpid() * 7919u + static_cast<UINT>(std::time(nullptr))) & 0xFFFF);
  for (UINT step = 0; step < 0x10000; ++step) {
    UINT number = (start + step) & 0xFFFF;
    if (number == 0) continue;
    std::u16string name = TempFileName(directory, WideArg(prefix), number);
    if (name.size() >= MAX_PATH) return finish(name, number);
    if (UniqueFd(::open(Utf16ToUtf8(name).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600)))
      return finish(name, number);
    if (errno != EEXIST) {
      FailFromErrno();
      return 0;
    }
  }
  SetLastError(ERROR_FILE_EXISTS);
  return 0;
}

UINT GetWindowsDirectoryW(WCHAR* buffer, UINT size) { return CopyWithNeededSize(u"/etc", buffer, size); }
UINT GetSystemDirectoryW(WCHAR* buffer, UINT size) { return CopyWithNeededSize(u"/usr/lib", buffer, size); }

DWORD GetCurrentDirectoryW(DWORD bufferLength, WCHAR* buffer) {
  return CopyWithNeededSize(CurrentDirectory(), buffer, bufferLength);
}

BOOL SetCurrentDirectoryW(const WCHAR* pathName) {
  std::string path = NarrowArg(pathName);
  if (path.empty() || ::chdir(path.c_str()) != 0) {
    SetLastError(path.empty() ? ERROR_INVALID_PARAMETER : detail::NotFoundError(path, errno));
    return FALSE;
  }
  return TRUE;
}

HMODULE GetModuleHandleW(const WCHAR* moduleName) {
  if (moduleName && NamesUser32(moduleName)) return kUser32Module;
  if (moduleName) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
  }
  return kExecutableModule;
}

DWORD GetModuleFileNameW(HMODULE module, WCHAR* fileName, DWORD size) {
  if (module && module != kExecutableModule) {
    SetLastError(ERROR_MOD_NOT_FOUND);
    return 0;
  }
  char target[4096];
  ssize_t length = ::readlink("/proc/self/exe", target, sizeof target - 1);
  if (length < 0) {
    FailFromErrno();
    return 0;
  }
  std::u16string path = Utf8ToUtf16(std::string_view(target, static_cast<std::size_t>(length)));
  if (CopyTruncated(path, fileName, size)) {
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(path.size());
  }
  SetLastError(ERROR_INSUFFICIENT_BUFFER);
  return size;
}

}  // namespace kestrel::platform
