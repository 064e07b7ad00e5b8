#pragma once
// The binary format: key records (byte 1, path) and value records (byte 0, name, type byte,
// 32-bit size, payload), key by key in depth-first order. Integers are 32-bit little endian;
// strings are a 32-bit character count and UTF-16LE characters.
//
// The size field of string and string-list records counts characters (plus 4 per string), as
// files in this format always have; the reader therefore never trusts it to skip such records
// and measures the strings themselves. Every count is checked against the bytes that remain,
// and a damaged file raises EKsIniError.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "settings/KsIniEntry.h"
#include "settings/internal/KsIniByteWindow.h"

namespace kestrel {

class TKsIniBinaryFormat {
 public:
  using TOpenSection = std::function<TKsIniEntry*(const String& path)>;

  // Receives the output piece by piece; false stops the writing.
  using TSink = std::function<bool(const std::uint8_t* data, std::size_t size)>;

  static void Write(const TKsIniEntry& root, char16_t delimiter, std::vector<std::uint8_t>& out);
  // Hands the output on in pieces of bounded size, so a large tree never needs its whole file
  // in memory. False when the sink refused a piece.
  static bool Write(const TKsIniEntry& root, char16_t delimiter, const TSink& sink);
  // Reads the records in the window to its end.
  static void Read(TKsIniByteWindow& in, char16_t delimiter, const TOpenSection& openSection);
};

}  // namespace kestrel
