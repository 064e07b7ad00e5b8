#pragma once
// Replacing a file so that a crash, a kill or a full disk at any moment leaves either the old
// or the new contents: the data goes to a temporary file beside the target, is flushed, renamed
// over the target, and the directory is flushed so the rename itself survives.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "platform/core/Unicode.h"

namespace kestrel::ksini {

// False (the target untouched, errno set) when any step fails.
bool ReplaceFileContents(const String& fileName, const std::vector<std::uint8_t>& data);
// The same, with the contents produced piece by piece: `produce` calls its writer for each piece
// (the writer returns false once writing failed) and returns false to give up.
using TPieceWriter = std::function<bool(const std::uint8_t* data, std::size_t size)>;
bool ReplaceFileContents(const String& fileName, const std::function<bool(const TPieceWriter&)>& produce);

}  // namespace kestrel::ksini
