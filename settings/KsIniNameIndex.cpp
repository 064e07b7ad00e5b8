#include "settings/KsIniNameIndex.h"

#include <bit>

namespace kestrel {

TKsIniNameIndex::TKsIniNameIndex(std::size_t expected) {
  // At most half full, so probe runs stay short.
  const std::size_t capacity = std::bit_ceil(expected * 2 < 16 ? std::size_t{16} : expected * 2);
  slots_.resize(capacity);
  Sized();
}

void TKsIniNameIndex::Sized() {
  mask_ = slots_.size() - 1;
  shift_ = 64 - static_cast<unsigned>(std::countr_zero(slots_.size()));
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
  while (slots_[slot].chain.first && slots_[slot].hash != hash) slot = Next(slot);
  return slot;
}

TKsIniNameIndex::TChain* TKsIniNameIndex::Find(std::uint32_t hash) {
  TSlot& slot = slots_[Locate(hash)];
  return slot.chain.first ? &slot.chain : nullptr;
}

TKsIniNameIndex::TChain& TKsIniNameIndex::Insert(std::uint32_t hash) {
  if ((used_ + 1) * 2 > slots_.size()) Grow();
  TSlot& slot = slots_[Locate(hash)];
  if (!slot.chain.first) {
    slot.hash = hash;
    ++used_;
  }
  return slot.chain;
}

// Backward-shift deletion: later members of the probe run move up, so no tombstones are needed.
void TKsIniNameIndex::Erase(std::uint32_t hash) {
  std::size_t hole = Locate(hash);
  if (!slots_[hole].chain.first) return;
  --used_;
  for (std::size_t slot = Next(hole);; slot = Next(slot)) {
    if (!slots_[slot].chain.first) break;
    const std::size_t home = Home(slots_[slot].hash);
    // The entry may move into the hole only if its home is not between the hole and itself.
    const bool homeInRun =
        hole <= slot ? (home > hole && home <= slot) : (home > hole || home <= slot);
    if (homeInRun) continue;
    slots_[hole] = slots_[slot];
    hole = slot;
  }
  slots_[hole] = TSlot{};
}

void TKsIniNameIndex::Grow() {
  std::vector<TSlot> old(slots_.size() * 2);
  old.swap(slots_);
  Sized();
  for (const TSlot& slot : old) {
    if (slot.chain.first) slots_[Locate(slot.hash)] = slot;
  }
}

}  // namespace kestrel
