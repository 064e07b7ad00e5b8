#include "platform/os/GlobalMemory.h"

#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <vector>

#include "platform/core/ProcessWide.h"
#include "platform/os/KernelObject.h"
#include "platform/os/OsErrors.h"

namespace kestrel::platform {

namespace {

class GlobalBlock : public KernelObject {
 public:
  std::vector<std::uint8_t> bytes;  // at least one byte, so that a block always has an address
  std::size_t size = 0;
  int locks = 0;
};

bool IsGlobalBlock(const KernelObject& object) { return dynamic_cast<const GlobalBlock*>(&object) != nullptr; }

// Fixed blocks by address; their HGLOBAL is the address itself.
std::mutex& FixedMutex() {
  static std::mutex mutex;
  return mutex;
}
// Outlives exit-time callers; the blocks belong to their callers, so a reset keeps them.
using FixedBlockMap = std::map<const void*, std::shared_ptr<GlobalBlock>>;
constinit ProcessWide<FixedBlockMap> gFixedBlocks(ProcessWideOptions<FixedBlockMap>{.keptByReset = true});

FixedBlockMap& FixedBlocks() { return *gFixedBlocks; }

std::shared_ptr<GlobalBlock> FindFixed(HGLOBAL memory) {
  std::lock_guard lock(FixedMutex());
  auto found = FixedBlocks().find(memory);
  return found == FixedBlocks().end() ? nullptr : found->second;
}

// The block behind either kind of handle; `fixed` tells which kind it was. Addresses are looked
// up first: they are exact keys, while a handle value is decoded.
std::shared_ptr<GlobalBlock> Find(HGLOBAL memory, bool& fixed) {
  fixed = true;
  if (!memory) return nullptr;
  if (auto block = FindFixed(memory)) return block;
  fixed = false;
  return std::dynamic_pointer_cast<GlobalBlock>(LookupKernelObjectAny(memory));
}

// The block's lock counter is guarded by one mutex for all blocks: locking is rare and short.
std::mutex& LockMutex() {
  static std::mutex mutex;
  return mutex;
}

}  // namespace

HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes) {
  auto block = std::make_shared<GlobalBlock>();
  try {
    block->bytes.assign(bytes > 0 ? bytes : 1, 0);
    block->size = bytes;
  } catch (const std::bad_alloc&) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  } catch (const std::length_error&) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  if (flags & GMEM_MOVEABLE) {
    HGLOBAL handle = InsertKernelObject(block);
    if (!handle) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return handle;
  }
  void* address = block->bytes.data();
  std::lock_guard lock(FixedMutex());
  FixedBlocks()[address] = std::move(block);
  return address;
}

void* GlobalLock(HGLOBAL memory) {
  bool fixed;
  auto block = Find(memory, fixed);
  if (!block) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  if (fixed) return memory;
  if (block->size == 0) {
    SetLastError(ERROR_DISCARDED);
    return nullptr;
  }
  std::lock_guard lock(LockMutex());
  ++block->locks;
  return block->bytes.data();
}

BOOL GlobalUnlock(HGLOBAL memory) {
  bool fixed;
  auto block = Find(memory, fixed);
  if (!block) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  std::lock_guard lock(LockMutex());
  if (fixed || block->locks == 0) {
    SetLastError(ERROR_NOT_LOCKED);
    return FALSE;
  }
  if (--block->locks > 0) return TRUE;
  SetLastError(ERROR_SUCCESS);
  return FALSE;
}

HGLOBAL GlobalFree(HGLOBAL memory) {
  {
    std::lock_guard lock(FixedMutex());
    if (memory && FixedBlocks().erase(memory) > 0) return nullptr;
  }
  if (memory && RemoveKernelObject(memory, IsGlobalBlock)) return nullptr;
  SetLastError(ERROR_INVALID_HANDLE);
  return memory;
}

SIZE_T GlobalSize(HGLOBAL memory) {
  bool fixed;
  auto block = Find(memory, fixed);
  if (!block) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  return block->size;
}

}  // namespace kestrel::platform
