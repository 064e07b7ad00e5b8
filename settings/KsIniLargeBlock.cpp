#include "settings/KsIniLargeBlock.h"

#include <cstdlib>
#include <new>

#include "platform/core/LargePages.h"

namespace kestrel::ksini {

namespace {

constexpr std::size_t kHugePage = platform::kLargePageSize;

}  // namespace

void* AllocateLarge(std::size_t size) {
  if (size < kHugePage) {
    if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
    throw std::bad_alloc();
  }
  const std::size_t rounded = (size + kHugePage - 1) / kHugePage * kHugePage;
  void* block = std::aligned_alloc(kHugePage, rounded);
  if (!block) throw std::bad_alloc();
  platform::PreferLargePages(block, rounded);
  return block;
}

void FreeLarge(void* block) { std::free(block); }

}  // namespace kestrel::ksini
