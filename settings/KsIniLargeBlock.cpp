#include "settings/KsIniLargeBlock.h"

#include <sys/mman.h>

#include <cstdlib>
#include <new>

namespace kestrel::ksini {

namespace {

constexpr std::size_t kHugePage = 2 * 1024 * 1024;

}  // namespace

void* AllocateLarge(std::size_t size) {
  if (size < kHugePage) {
    if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
    throw std::bad_alloc();
  }
  const std::size_t rounded = (size + kHugePage - 1) / kHugePage * kHugePage;
  void* block = std::aligned_alloc(kHugePage, rounded);
  if (!block) throw std::bad_alloc();
  // Only advice: without huge pages the block works the same.
  ::madvise(block, rounded, MADV_HUGEPAGE);
  return block;
}

void FreeLarge(void* block) { std::free(block); }

}  // namespace kestrel::ksini
