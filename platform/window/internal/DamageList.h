#pragma once
// The pixels of a top-level window's backing store changed since the last present, kept as a few
// rectangles: a text line and the thin ring of a border stay apart instead of becoming the
// rectangle around both. A rectangle inside one already held is dropped; one whose union with a
// held rectangle wastes little merges with it; when the list is full, the pair whose union grows
// least merges.

#include <array>
#include <cstddef>
#include <span>

#include "platform/core/WinTypes.h"

namespace kestrel::platform {

class DamageList {
 public:
  static constexpr std::size_t kCapacity = 8;

  void Add(const RECT& r);
  void Clear() { count_ = 0; }
  bool Empty() const { return count_ == 0; }
  std::span<const RECT> Rects() const { return {rects_.data(), count_}; }

 private:
  void RemoveAt(std::size_t index);
  // Replaces the pair whose union adds the fewest pixels by that union.
  void MergeCheapestPair();

  std::array<RECT, kCapacity + 1> rects_{};
  std::size_t count_ = 0;
};

}  // namespace kestrel::platform
