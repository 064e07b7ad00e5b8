#include "platform/os/KernelObject.h"

namespace kestrel::platform {

namespace {
HandleTable<KernelObject>& Table() {
  // Never destroyed: handles may still be closed by other objects' destructors at exit.
  static auto* table = new HandleTable<KernelObject>(static_cast<std::uint8_t>(HandleTag::Kernel));
  return *table;
}
}  // namespace

HANDLE InsertKernelObject(std::shared_ptr<KernelObject> object) {
  return reinterpret_cast<HANDLE>(Table().Insert(std::move(object)));
}

std::shared_ptr<KernelObject> LookupKernelObjectAny(HANDLE handle) {
  return Table().Lookup(reinterpret_cast<std::uintptr_t>(handle));
}

bool RemoveKernelObject(HANDLE handle, bool (*isWanted)(const KernelObject&)) {
  auto object = LookupKernelObjectAny(handle);
  if (!object || !isWanted(*object) || !Table().Remove(reinterpret_cast<std::uintptr_t>(handle))) {
    SetLastError(ERROR_INVALID_HANDLE);
    return false;
  }
  return true;
}

BOOL CloseHandle(HANDLE handle) {
  return RemoveKernelObject(handle, [](const KernelObject&) { return true; }) ? TRUE : FALSE;
}

}  // namespace kestrel::platform
