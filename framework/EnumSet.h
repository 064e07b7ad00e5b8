#pragma once
// A set of the values of an enumeration whose ordinals are 0..63, stored as a bit mask (bit n is
// the value with ordinal n), like the framework's `set of` types: [csLoading, csReading].

#include <cstdint>
#include <initializer_list>
#include <type_traits>

namespace kestrel {

template <class E>
requires std::is_enum_v<E>
class TEnumSet {
 public:
  constexpr TEnumSet() = default;
  constexpr TEnumSet(std::initializer_list<E> values) {
    for (E v : values) Include(v);
  }
  static constexpr TEnumSet FromBits(std::uint64_t bits) {
    TEnumSet s;
    s.bits_ = bits;
    return s;
  }

  constexpr std::uint64_t Bits() const { return bits_; }
  constexpr bool Contains(E v) const { return (bits_ & Bit(v)) != 0; }
  constexpr bool Empty() const { return bits_ == 0; }
  constexpr TEnumSet& Include(E v) {
    bits_ |= Bit(v);
    return *this;
  }
  constexpr TEnumSet& Exclude(E v) {
    bits_ &= ~Bit(v);
    return *this;
  }

  constexpr TEnumSet operator+(TEnumSet o) const { return FromBits(bits_ | o.bits_); }
  constexpr TEnumSet operator-(TEnumSet o) const { return FromBits(bits_ & ~o.bits_); }
  constexpr TEnumSet operator*(TEnumSet o) const { return FromBits(bits_ & o.bits_); }
  constexpr TEnumSet& operator+=(TEnumSet o) { return *this = *this + o; }
  constexpr TEnumSet& operator-=(TEnumSet o) { return *this = *this - o; }
  constexpr bool operator==(const TEnumSet&) const = default;

 private:
  static constexpr std::uint64_t Bit(E v) {
    auto n = static_cast<std::uint64_t>(v);
    return n < 64 ? (std::uint64_t{1} << n) : 0;
  }
  std::uint64_t bits_ = 0;
};

}  // namespace kestrel
