#pragma once
// Decoding the bytes of a text settings file. The system code page is UTF-8 here, but peers on
// other systems write their files in a single-byte code page; a line that is not valid UTF-8
// is one of theirs and is read as Windows-1252, so that saving it again (as UTF-8) loses
// nothing.

#include <cstddef>
#include <cstdint>

#include "platform/core/Unicode.h"
#include "settings/internal/KsIniByteWindow.h"

namespace kestrel::ksini {

// Line by line: valid UTF-8 as UTF-8, anything else as Windows-1252. `text` is replaced.
void DecodeFileText(const std::uint8_t* bytes, std::size_t count, String& text);
// The next whole lines of a UTF-8 file in the window, decoded into `piece` and consumed; a line
// break is never split from its line, nor a CR from its LF. With `stopAtNul` the text ends at
// the first NUL byte. False at the end of the text.
bool NextFileTextPiece(TKsIniByteWindow& in, bool stopAtNul, String& piece);
// One Windows-1252 byte; the five bytes the code page leaves unassigned stand for the C1
// control of the same value, as the platform's own conversion has them.
char16_t Windows1252Char(std::uint8_t byte);

}  // namespace kestrel::ksini
