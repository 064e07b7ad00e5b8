#pragma once
// Case-insensitive comparison of names as Windows does it for environment variables, registry
// keys and file patterns: by upper-casing each UTF-16 code unit. Covers ASCII, Latin-1, Latin
// Extended-A, Greek and Cyrillic; other characters compare as they are.

#include <string>
#include <string_view>

namespace kestrel::platform {

char16_t FoldCase(char16_t c);
std::u16string FoldCase(std::u16string_view text);
bool EqualsIgnoreCase(std::u16string_view a, std::u16string_view b);

}  // namespace kestrel::platform
