#pragma once
// Storage for tree entries. A large settings file holds a million of them; taking them from big
// blocks and recycling freed ones through a list keeps loading and reloading clear of the
// general heap (and of fresh pages from the system on every reload). The blocks go back to the
// heap once no entry is alive. Sanitizer builds use the plain heap, so misuse is still caught.

#include <cstddef>
#include <memory>
#include <mutex>
#include <vector>

#include "settings/KsIniLargeBlock.h"

namespace kestrel {

class TKsIniEntryPool {
 public:
  // Storage for one entry of `size` bytes (always the same size).
  static void* Allocate(std::size_t size);
  static void Release(void* block, std::size_t size);

 private:
  struct TFree {
    TFree* next;
  };
  static TKsIniEntryPool& Instance();
  void* Take(std::size_t size);
  void Give(void* block);

  std::mutex lock_;
  std::vector<ksini::TLargeBlock<std::byte>> blocks_;
  std::size_t blockUsed_ = 0;
  std::size_t blockSize_ = 0;
  TFree* free_ = nullptr;
  std::size_t live_ = 0;
  // Bytes held in blocks: each new block is as large as all before it (up to a limit), so a
  // small tree stays small and a large one lives in a few big blocks.
  std::size_t held_ = 0;
};

}  // namespace kestrel
