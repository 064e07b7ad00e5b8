#pragma once
// A checked table of handles. A handle's value names a slot and the slot's generation, so a
// handle that was destroyed (or belongs to another table) is recognised and refused instead of
// reaching freed memory. Objects are held by shared_ptr: a caller that looked an object up keeps
// it alive for the duration of its call even if another thread destroys the handle meanwhile.

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace kestrel::platform {

template <class Object>
class HandleTable {
 public:
  // `tag` (1..255) tells tables apart, so a window handle is never taken for a device context.
  explicit HandleTable(std::uint8_t tag) : tag_(tag) {}

  std::uintptr_t Insert(std::shared_ptr<Object> object) {
    std::lock_guard lock(mutex_);
    std::uint32_t index;
    if (!free_.empty()) {
      index = free_.back();
      free_.pop_back();
    } else {
      if (slots_.size() >= kMaxSlots) return 0;
      index = static_cast<std::uint32_t>(slots_.size());
      slots_.push_back({});
    }
    Slot& slot = slots_[index];
    slot.object = std::move(object);
    return Encode(index, slot.generation);
  }

  std::shared_ptr<Object> Lookup(std::uintptr_t handle) const {
    std::lock_guard lock(mutex_);
    const Slot* slot = Find(handle);
    return slot ? slot->object : nullptr;
  }

  // Removes the entry and returns its object (null for an invalid handle).
  std::shared_ptr<Object> Remove(std::uintptr_t handle) {
    std::lock_guard lock(mutex_);
    Slot* slot = const_cast<Slot*>(Find(handle));
    if (!slot) return nullptr;
    std::shared_ptr<Object> object = std::move(slot->object);
    slot->object.reset();
    ++slot->generation;
    free_.push_back(static_cast<std::uint32_t>(slot - slots_.data()));
    return object;
  }

  bool Contains(std::uintptr_t handle) const { return Lookup(handle) != nullptr; }

  // Removes every entry, as Remove does one by one: the slots' generations move on, so no
  // handle given out before names an object inserted after. The objects go outside the lock.
  void Clear() {
    std::vector<std::shared_ptr<Object>> gone;
    {
      std::lock_guard lock(mutex_);
      for (std::uint32_t i = 0; i < slots_.size(); ++i) {
        if (!slots_[i].object) continue;
        gone.push_back(std::move(slots_[i].object));
        slots_[i].object.reset();
        ++slots_[i].generation;
        free_.push_back(i);
      }
    }
  }

  // Every live object, in slot order (for enumeration and shutdown).
  std::vector<std::pair<std::uintptr_t, std::shared_ptr<Object>>> Entries() const {
    std::lock_guard lock(mutex_);
    std::vector<std::pair<std::uintptr_t, std::shared_ptr<Object>>> out;
    for (std::uint32_t i = 0; i < slots_.size(); ++i)
      if (slots_[i].object) out.emplace_back(Encode(i, slots_[i].generation), slots_[i].object);
    return out;
  }

  std::size_t Count() const {
    std::lock_guard lock(mutex_);
    return slots_.size() - free_.size();
  }

 private:
  static constexpr std::uint32_t kMaxSlots = 0xFFFFFF - 1;

  struct Slot {
    std::shared_ptr<Object> object;
    std::uint32_t generation = 1;
  };

  std::uintptr_t Encode(std::uint32_t index, std::uint32_t generation) const {
    // Low 24 bits: index + 1 (never 0); next 8 bits: table tag; high bits: generation.
    std::uint64_t value = (std::uint64_t{generation} << 32) | (std::uint64_t{tag_} << 24) | (index + 1);
    return static_cast<std::uintptr_t>(value);
  }

  const Slot* Find(std::uintptr_t handle) const {
    std::uint64_t value = handle;
    if (((value >> 24) & 0xFF) != tag_) return nullptr;
    std::uint32_t index = static_cast<std::uint32_t>(value & 0xFFFFFF);
    if (index == 0 || index > slots_.size()) return nullptr;
    const Slot& slot = slots_[index - 1];
    if (!slot.object || slot.generation != static_cast<std::uint32_t>(value >> 32)) return nullptr;
    return &slot;
  }

  mutable std::mutex mutex_;
  std::vector<Slot> slots_;
  std::vector<std::uint32_t> free_;
  std::uint8_t tag_;
};

// Handle tags in use, one per table.
enum class HandleTag : std::uint8_t {
  Window = 0x11,
  DeviceContext = 0x12,
  GdiObject = 0x13,
  Icon = 0x14,
  Menu = 0x15,
  RegistryKey = 0x16,
  InputContext = 0x17,
  Theme = 0x18,
  Kernel = 0x19,
};

}  // namespace kestrel::platform
