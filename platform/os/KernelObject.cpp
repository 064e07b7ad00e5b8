#include "platform/os/KernelObject.h"

#include "platform/core/ProcessWide.h"

namespace kestrel::platform {

namespace {
// Never destroyed: handles may still be closed by other objects' destructors at exit. Kept by a
// reset: objects that outlive it (threads, memory blocks, the clipboard's data) hold handles.
using KernelHandles = HandleTable<KernelObject>;
constinit ProcessWide<KernelHandles> gKernelHandles(ProcessWideOptions<KernelHandles>{
    .make = &MakeHandleTable<KernelObject, HandleTag::Kernel>, .keptByReset = true});

KernelHandles& Table() { return *gKernelHandles; }
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
