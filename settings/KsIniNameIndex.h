#pragma once
// The hash index of a key with many children: one open-addressed table (linear probing) from a
// name hash to the chain of children that carry it. The slots live in one array, so a lookup
// touches one cache line in the common case instead of a bucket, a node and a chain.

#include <cstddef>
#include <cstdint>

#include "settings/KsIniLargeBlock.h"

namespace kestrel {

class TKsIniEntry;

class TKsIniNameIndex {
 public:
  // The children of one hash, in stored order, linked by the entries themselves.
  struct TChain {
    TKsIniEntry* first = nullptr;
    TKsIniEntry* last = nullptr;
  };

  explicit TKsIniNameIndex(std::size_t expected);

  // The chain of that hash, or nullptr.
  TChain* Find(std::uint32_t hash);
  // The chain of that hash, created empty when there is none.
  TChain& Insert(std::uint32_t hash);
  // Forgets the chain of that hash.
  void Erase(std::uint32_t hash);
  // Starts loading the slot where a lookup of that hash begins.
  void Prefetch(std::uint32_t hash) const { __builtin_prefetch(slots_.get() + Home(hash)); }

 private:
  struct TSlot {
    std::uint32_t hash = 0;
    TChain chain;  // an empty slot has no first entry
  };

  std::size_t Home(std::uint32_t hash) const;
  std::size_t Next(std::size_t slot) const { return (slot + 1) & mask_; }
  std::size_t Locate(std::uint32_t hash) const;
  void Grow();
  ksini::TLargeBlock<TSlot> Allocate(std::size_t capacity);

  ksini::TLargeBlock<TSlot> slots_;
  std::size_t capacity_ = 0;
  std::size_t mask_ = 0;
  unsigned shift_ = 64;
  std::size_t used_ = 0;
};

}  // namespace kestrel
