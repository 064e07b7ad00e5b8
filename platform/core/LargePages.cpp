#include "platform/core/LargePages.h"

#include <sys/mman.h>

#include <cstdint>

namespace kestrel::platform {

void PreferLargePages(void* data, std::size_t size) {
  const auto begin = reinterpret_cast<std::uintptr_t>(data);
  const std::uintptr_t first = (begin + kLargePageSize - 1) / kLargePageSize * kLargePageSize;
  const std::uintptr_t last = (begin + size) / kLargePageSize * kLargePageSize;
  if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

}  // namespace kestrel::platform
