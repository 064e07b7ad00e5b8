#pragma once
// One argument of Format(): an integer, a float, a string or a pointer, converted at the call
// site so that Format("%s (%d)", {name, index}) reads like the framework's open array.

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

#include "platform/core/Unicode.h"

namespace kestrel {

class TFormatArg {
 public:
  enum class Kind { Integer, Unsigned, Float, Text, Pointer };

  template <class I>
  requires(std::is_integral_v<I> && !std::is_same_v<I, bool> && !std::is_same_v<I, char16_t> &&
           !std::is_same_v<I, char>) TFormatArg(I value) {  // NOLINT(google-explicit-constructor)
    if constexpr (std::is_signed_v<I>) {
      kind_ = Kind::Integer;
      int_ = value;
    } else {
      kind_ = Kind::Unsigned;
      uint_ = value;
    }
  }
  template <class E>
  requires std::is_enum_v<E> TFormatArg(E value) : TFormatArg(static_cast<std::underlying_type_t<E>>(value)) {}
  TFormatArg(bool value) : kind_(Kind::Integer), int_(value ? 1 : 0) {}
  TFormatArg(double value) : kind_(Kind::Float), float_(value) {}
  TFormatArg(std::u16string_view text) : kind_(Kind::Text), text_(text) {}
  TFormatArg(const String& text) : kind_(Kind::Text), text_(text) {}
  TFormatArg(const char16_t* text) : kind_(Kind::Text), text_(text ? text : u"") {}
  TFormatArg(char16_t c) : kind_(Kind::Text), text_(1, c) {}
  // Narrow text is UTF-8.
  TFormatArg(std::string_view utf8) : kind_(Kind::Text), text_(Utf8ToUtf16(utf8)) {}
  TFormatArg(const std::string& utf8) : TFormatArg(std::string_view(utf8)) {}
  TFormatArg(const char* utf8) : TFormatArg(std::string_view(utf8 ? utf8 : "")) {}
  TFormatArg(const void* pointer) : kind_(Kind::Pointer), uint_(reinterpret_cast<std::uintptr_t>(pointer)) {}

  Kind GetKind() const { return kind_; }
  std::int64_t Int() const { return int_; }
  std::uint64_t UInt() const { return uint_; }
  double Float() const { return float_; }
  const String& Text() const { return text_; }

 private:
  Kind kind_;
  std::int64_t int_ = 0;
  std::uint64_t uint_ = 0;
  double float_ = 0;
  String text_;
};

}  // namespace kestrel
