#include "settings/KsIniNameIndex.h"

#include <bit>
#include <memory>

namespace kestrel {

TKsIniNameIndex::TKsIniNameIndex(std::size_t expected) {
  // At most half full, so probe runs stay short.
  Allocate(std::bit_ceil(expected * 2 < 16 ? std::size_t{16} : expected * 2));
}

// Empty slots; the table before is handed back (nothing changes when there is no memory).
ksini::TLargeBlock<TKsIniNameIndex::TSlot> TKsIniNameIndex::Allocate(std::size_t capacity) {
  void* storage = ksini::AllocateLarge(capacity * sizeof(TSlot));
  ksini::TLargeBlock<TSlot> slots(static_cast<TSlot*>(storage));
  std::uninitialized_fill_n(slots.get(), capacity, TSlot{});
  slots.swap(slots_);
  capacity_ = capacity;
  mask_ = capacity - 1;
  shift_ = 64 - static_cast<unsigned>(std::countr_zero(capacity));
  return slots;
}

std::size_t TKsIniNameIndex::Home(std::uint32_t hash) const {
  // The name hash is a CRC; a multiplicative mix spreads similar names over the whole table.
  // Its top bits pick the slot, so a slot's entries land side by side in a table twice the
  // size and growing writes the new table nearly in order.
  return static_cast<std::size_t>((hash * 0x9E3779B97F4A7C15ull) >> shift_);
}

// The slot holding that hash, or the empty slot where it would go.
std::size_t TKsIniNameIndex::Locate(std::uint32_t hash) const {
  std::size_t slot = Home(hash);
  while (slots_.get()[slot].chain.first && slots_.get()[slot].hash != hash) slot = Next(slot);
  return slot;
}

TKsIniNameIndex::TChain* TKsIniNameIndex::Find(std::uint32_t hash) {
  TSlot& slot = slots_.get()[Locate(hash)];
  return slot.chain.first ? &slot.chain : nullptr;
}

TKsIniNameIndex::TChain& TKsIniNameIndex::Insert(std::uint32_t hash) {
  if ((used_ + 1) * 2 > capacity_) Grow();
  TSlot& slot = slots_.get()[Locate(hash)];
  if (!slot.chain.first) {
    slot.hash = hash;
    ++used_;
  }
  return slot.chain;
}

// Backward-shift deletion: later members of the probe run move up, so no tombstones are needed.
void TKsIniNameIndex::Erase(std::uint32_t hash) {
  std::size_t hole = Locate(hash);
  if (!slots_.get()[hole].chain.first) return;
  --used_;
  for (std::size_t slot = Next(hole);; slot = Next(slot)) {
    if (!slots_.get()[slot].chain.first) break;
    const std::size_t home = Home(slots_.get()[slot].hash);
    // The entry may move into the hole only if its home is not between the hole and itself.
    const bool homeInRun = hole <= slot ? (home > hole && home <= slot) : (home > hole || home <= slot);
    if (homeInRun) continue;
    slots_.get()[hole] = slots_.get()[slot];
    hole = slot;
  }
  slots_.get()[hole] = TSlot{};
}

void TKsIniNameIndex::Grow() {
  const std::size_t oldCapacity = capacity_;
  const ksini::TLargeBlock<TSlot> old = Allocate(capacity_ * 2);
  for (std::size_t i = 0; i < oldCapacity; ++i) {
    const TSlot& slot = old.get()[i];
    if (slot.chain.first) slots_.get()[Locate(slot.hash)] = slot;
  }
}

}  // namespace kestrel
