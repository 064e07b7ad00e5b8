#pragma once
// Text encodings for loading and saving text: UTF-8 (with or without byte-order mark), UTF-16
// little and big endian. The system's 8-bit code page is UTF-8 on this platform, so ANSI() and
// Default() are UTF-8 without a mark.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/core/Unicode.h"

namespace kestrel {

class TEncoding {
 public:
  virtual ~TEncoding() = default;

  virtual std::vector<std::uint8_t> GetBytes(std::u16string_view text) const = 0;
  // Malformed input decodes to U+FFFD; never fails.
  virtual String GetString(const std::uint8_t* bytes, std::size_t count) const = 0;
  // The byte-order mark written before text in this encoding (may be empty).
  virtual std::vector<std::uint8_t> GetPreamble() const = 0;
  virtual const char16_t* EncodingName() const = 0;

  static const TEncoding& UTF8();     // with a byte-order mark
  static const TEncoding& Default();  // UTF-8 without a mark
  static const TEncoding& ANSI() { return Default(); }
  static const TEncoding& Unicode();           // UTF-16 little endian
  static const TEncoding& BigEndianUnicode();  // UTF-16 big endian

  // The encoding announced by a byte-order mark at the start of `bytes`; when there is none,
  // `fallback`. `preambleSize` receives the length of the mark (0 when there is none).
  static const TEncoding& Detect(const std::uint8_t* bytes, std::size_t count, const TEncoding& fallback,
                                 std::size_t& preambleSize);
};

}  // namespace kestrel
