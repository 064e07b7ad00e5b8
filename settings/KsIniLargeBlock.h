#pragma once
// Memory for the store's large tables and entry blocks. A block of a few megabytes is taken in
// whole huge pages where the system gives them on request, so filling it costs a handful of
// page faults and TLB entries instead of one for every 4 KiB.

#include <cstddef>
#include <memory>

namespace kestrel::ksini {

// Uninitialised storage of `size` bytes (at least max_align_t aligned); throws std::bad_alloc.
void* AllocateLarge(std::size_t size);
void FreeLarge(void* block);

struct TLargeFree {
  void operator()(void* block) const { FreeLarge(block); }
};

template <class T>
using TLargeBlock = std::unique_ptr<T, TLargeFree>;

}  // namespace kestrel::ksini
