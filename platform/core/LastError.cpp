#include "platform/core/WinTypes.h"

namespace kestrel::platform {

namespace {
thread_local DWORD lastError = ERROR_SUCCESS;
}

DWORD GetLastError() { return lastError; }
void SetLastError(DWORD code) { lastError = code; }

}  // namespace kestrel::platform
