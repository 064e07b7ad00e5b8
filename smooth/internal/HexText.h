#pragma once
// Bytes as text of hexadecimal digit pairs (upper case, high nibble first), as fills store
// their pictures in INI sections.

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/core/Unicode.h"

namespace kestrel {

String BytesToHex(const std::vector<std::uint8_t>& bytes);
// Decodes pairs of digits of either case; a trailing odd digit is ignored. Any other character
// raises EConvertError "No Hex-Number".
std::vector<std::uint8_t> HexToBytes(std::u16string_view text);

}  // namespace kestrel
