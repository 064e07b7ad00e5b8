#include "platform/os/Environment.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <optional>
#include <string>

#include "platform/os/OsErrors.h"
#include "platform/os/internal/CaseFold.h"
#include "platform/os/internal/TextBuffer.h"

extern char** environ;

namespace kestrel::platform {

namespace {

// getenv/setenv are not safe against each other across threads; every access of ours is
// serialised here.
std::mutex& EnvironmentMutex() {
  static std::mutex mutex;
  return mutex;
}

std::atomic<bool> tempFallback{true};

// The real name of the variable matching `name` case-insensitively (exact match preferred).
std::optional<std::string> FindVariableName(const std::string& name) {
  if (::getenv(name.c_str())) return name;
  std::u16string wanted = FoldCase(Utf8ToUtf16(name));
  for (char** entry = environ; entry && *entry; ++entry) {
    const char* equals = std::strchr(*entry, '=');
    if (!equals) continue;
    std::string candidate(*entry, equals - *entry);
    if (FoldCase(Utf8ToUtf16(candidate)) == wanted) return candidate;
  }
  return std::nullopt;
}

bool IsTempName(std::u16string_view name) { return EqualsIgnoreCase(name, u"TEMP") || EqualsIgnoreCase(name, u"TMP"); }

std::optional<std::u16string> LookupLocked(std::u16string_view name, bool withTempFallback = true) {
  if (name.empty() || name.find(u'=') != std::u16string_view::npos) return std::nullopt;
  if (auto real = FindVariableName(Utf16ToUtf8(name))) {
    const char* value = ::getenv(real->c_str());
    if (value) return Utf8ToUtf16(value);
  }
  if (IsTempName(name) && tempFallback && withTempFallback) {
    const char* tmpdir = ::getenv("TMPDIR");
    return Utf8ToUtf16(tmpdir && *tmpdir ? tmpdir : "/tmp");
  }
  return std::nullopt;
}

std::u16string ExpandLocked(std::u16string_view source) {
  std::u16string out;
  std::size_t i = 0;
  while (i < source.size()) {
    std::size_t open = source.find(u'%', i);
    if (open == std::u16string_view::npos) {
      out.append(source.substr(i));
      break;
    }
    out.append(source.substr(i, open - i));
    std::size_t close = source.find(u'%', open + 1);
    if (close == std::u16string_view::npos) {
      out.append(source.substr(open));
      break;
    }
    std::optional<std::u16string> value = LookupLocked(source.substr(open + 1, close - open - 1));
    if (value) {
      out += *value;
      i = close + 1;
    } else {
      // Unknown or empty name: the '%' stays and its closing '%' may open the next reference.
      out += u'%';
      i = open + 1;
    }
  }
  return out;
}

}  // namespace

DWORD GetEnvironmentVariableW(const WCHAR* name, WCHAR* buffer, DWORD size) {
  if (!name) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::optional<std::u16string> value;
  {
    std::lock_guard lock(EnvironmentMutex());
    value = LookupLocked(name);
  }
  if (!value) {
    SetLastError(ERROR_ENVVAR_NOT_FOUND);
    return 0;
  }
  SetLastError(ERROR_SUCCESS);
  return CopyWithNeededSize(*value, buffer, size);
}

BOOL SetEnvironmentVariableW(const WCHAR* name, const WCHAR* value) {
  std::u16string_view wideName = WideArg(name);
  if (wideName.empty() || wideName.find(u'=') != std::u16string_view::npos ||
      wideName.find(u'\0') != std::u16string_view::npos) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::lock_guard lock(EnvironmentMutex());
  std::string narrowName = Utf16ToUtf8(wideName);
  std::string target = FindVariableName(narrowName).value_or(narrowName);
  int result = value ? ::setenv(target.c_str(), NarrowArg(value).c_str(), 1) : ::unsetenv(target.c_str());
  if (result != 0) return FailFromErrno();
  return TRUE;
}

DWORD ExpandEnvironmentStringsW(const WCHAR* source, WCHAR* destination, DWORD size) {
  if (!source) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::u16string expanded;
  {
    std::lock_guard lock(EnvironmentMutex());
    expanded = ExpandLocked(source);
  }
  DWORD needed = static_cast<DWORD>(expanded.size() + 1);
  if (destination && size >= needed) CopyWithNeededSize(expanded, destination, size);
  return needed;
}

void SetTempVariableFallback(bool enabled) { tempFallback = enabled; }

std::optional<std::u16string> EnvironmentValue(std::u16string_view name, bool withTempFallback) {
  std::lock_guard lock(EnvironmentMutex());
  return LookupLocked(name, withTempFallback);
}

}  // namespace kestrel::platform
