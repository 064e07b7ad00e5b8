#include "settings/internal/KsIniEntryPool.h"

#include <algorithm>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#define KESTREL_POOL_DISABLED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(memory_sanitizer)
#define KESTREL_POOL_DISABLED 1
#endif
#endif

namespace kestrel {

namespace {

constexpr std::size_t kSmallestBlock = 16 * 1024;
constexpr std::size_t kLargestBlock = 2 * 1024 * 1024;

std::size_t Slot(std::size_t size) {
  constexpr std::size_t align = alignof(std::max_align_t);
  return (size + align - 1) / align * align;
}

}  // namespace

TKsIniEntryPool& TKsIniEntryPool::Instance() {
  static TKsIniEntryPool* pool = new TKsIniEntryPool;  // outlives every static settings object
  return *pool;
}

void* TKsIniEntryPool::Allocate(std::size_t size) {
#ifdef KESTREL_POOL_DISABLED
  return ::operator new(size);
#else
  return Instance().Take(size);
#endif
}

void TKsIniEntryPool::Release(void* block, std::size_t size) {
  (void)size;
#ifdef KESTREL_POOL_DISABLED
  // The unsized form: clang offers the sized one only with -fsized-deallocation.
  ::operator delete(block);
#else
  if (block) Instance().Give(block);
#endif
}

void* TKsIniEntryPool::Take(std::size_t size) {
  const std::size_t slot = Slot(size);
  std::lock_guard guard(lock_);
  ++live_;
  if (free_) {
    TFree* block = free_;
    free_ = block->next;
    return block;
  }
  if (blocks_.empty() || blockUsed_ + slot > blockSize_) {
    blockSize_ = std::min(kLargestBlock, std::max({kSmallestBlock, held_, slot}));
    blocks_.emplace_back(static_cast<std::byte*>(ksini::AllocateLarge(blockSize_)));
    held_ += blockSize_;
    blockUsed_ = 0;
  }
  void* block = blocks_.back().get() + blockUsed_;
  blockUsed_ += slot;
  return block;
}

void TKsIniEntryPool::Give(void* block) {
  std::vector<ksini::TLargeBlock<std::byte>> unused;
  std::lock_guard guard(lock_);
  free_ = new (block) TFree{free_};
  if (--live_ > 0) return;
  // Nothing is alive any more: the blocks go back, freed outside the lock.
  free_ = nullptr;
  blockUsed_ = 0;
  held_ = 0;
  unused.swap(blocks_);
}

}  // namespace kestrel
