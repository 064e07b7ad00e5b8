#pragma once
// Kernel objects (searches, file mappings) behind checked HANDLE values. A handle names an entry
// of one process-wide table; a closed or foreign handle is refused with ERROR_INVALID_HANDLE.

#include <memory>

#include "platform/core/HandleTable.h"
#include "platform/core/WinTypes.h"

namespace kestrel::platform {

inline HANDLE const INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-1));

class KernelObject {
 public:
  virtual ~KernelObject() = default;
};

// Registers an object and returns its handle (null when the table is full).
HANDLE InsertKernelObject(std::shared_ptr<KernelObject> object);

// The object behind `handle` when it is live and of type T; otherwise null with
// ERROR_INVALID_HANDLE set.
std::shared_ptr<KernelObject> LookupKernelObjectAny(HANDLE handle);
template <class T>
std::shared_ptr<T> LookupKernelObject(HANDLE handle) {
  auto object = std::dynamic_pointer_cast<T>(LookupKernelObjectAny(handle));
  if (!object) SetLastError(ERROR_INVALID_HANDLE);
  return object;
}

// Removes the handle's entry when it holds a T; false with ERROR_INVALID_HANDLE otherwise.
bool RemoveKernelObject(HANDLE handle, bool (*isWanted)(const KernelObject&));

// Closes any kernel object handle. The object itself lives on while something else (a mapped
// view) still uses it, as on Windows.
BOOL CloseHandle(HANDLE handle);

}  // namespace kestrel::platform
