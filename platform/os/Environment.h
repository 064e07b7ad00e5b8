#pragma once
// The process environment with Windows rules: names are case-insensitive, "%NAME%" references
// expand, and TEMP/TMP always answer (from $TMPDIR or /tmp) because Linux sessions rarely set
// them while Windows code expects them.

#include <optional>
#include <string>
#include <string_view>

#include "platform/core/WinTypes.h"

namespace kestrel::platform {

// Length of the value without the NUL when it fits into `size` characters, otherwise the size
// needed including the NUL; 0 with ERROR_ENVVAR_NOT_FOUND when the variable does not exist.
DWORD GetEnvironmentVariableW(const WCHAR* name, WCHAR* buffer, DWORD size);

// Sets (or, with a null value, removes) a variable; an existing variable whose name differs only
// in case is the one changed.
BOOL SetEnvironmentVariableW(const WCHAR* name, const WCHAR* value);

// Replaces each %NAME% whose variable exists with its value; other text stays as it is. Returns
// the characters needed for the result including the NUL; the result is written only when that
// fits into `size`. 0 on bad arguments.
DWORD ExpandEnvironmentStringsW(const WCHAR* source, WCHAR* destination, DWORD size);

// Whether TEMP and TMP fall back to $TMPDIR or /tmp when the environment lacks them (on by
// default). Tests switch it off to see the behaviour of an environment without a temp folder.
void SetTempVariableFallback(bool enabled);

// A variable's value looked up as GetEnvironmentVariableW does; `withTempFallback` false asks
// only the real environment.
std::optional<std::u16string> EnvironmentValue(std::u16string_view name, bool withTempFallback = true);

}  // namespace kestrel::platform
