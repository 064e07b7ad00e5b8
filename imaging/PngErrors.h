#pragma once
// The PNG codec's exception classes and their fixed messages. Every failure of the codec is raised
// through RaiseError, so the class and the text always travel together.

#include <string>

#include "framework/Exceptions.h"
#include "platform/core/Unicode.h"

namespace kestrel {

KESTREL_EXCEPTION(EVnPNGError, Exception)

#define KESTREL_PNG_ERROR(name) KESTREL_EXCEPTION(name, EVnPNGError)
KESTREL_PNG_ERROR(EVnPNGInvalidFileHeader)
KESTREL_PNG_ERROR(EVnPNGUnexpectedEnd)
KESTREL_PNG_ERROR(EVnPNGIHDRNotFirst)
KESTREL_PNG_ERROR(EVnPNGNoImageData)
KESTREL_PNG_ERROR(EVnPNGInvalidIHDR)
KESTREL_PNG_ERROR(EVnPNGSizeExceeds)
KESTREL_PNG_ERROR(EVnPNGUnknownCompression)
KESTREL_PNG_ERROR(EVnPNGUnknownInterlace)
KESTREL_PNG_ERROR(EVnPNGInvalidPalette)
KESTREL_PNG_ERROR(EVnPNGMissingMultipleIDAT)
KESTREL_PNG_ERROR(EVnPNGZLIBError)
KESTREL_PNG_ERROR(EVnPNGHeaderNotPresent)
KESTREL_PNG_ERROR(EVnPNGCouldNotLoadResource)
KESTREL_PNG_ERROR(EVnPNGOutMemory)
KESTREL_PNG_ERROR(EVnPNGCannotChangeTransparent)
KESTREL_PNG_ERROR(EVnPNGInvalidSpec)
KESTREL_PNG_ERROR(EVnPNGInvalidNewSize)
KESTREL_PNG_ERROR(EVnPNGDifferentBitDepth)
KESTREL_PNG_ERROR(EVnPNGInvalidSourceSize)
// A chunk whose stored checksum does not match its name and data.
KESTREL_PNG_ERROR(EVnPNGInvalidCRC)
#undef KESTREL_PNG_ERROR

namespace PngMessages {
extern const char* const InvalidFileHeader;
extern const char* const UnexpectedEnd;
extern const char* const IHDRNotFirst;
extern const char* const NoImageData;
extern const char* const InvalidIHDR;
extern const char* const SizeExceeds;
extern const char* const UnknownCompression;
extern const char* const UnknownInterlace;
extern const char* const InvalidPalette;
extern const char* const MissingMultipleIDAT;
extern const char* const ZLIBError;
extern const char* const HeaderNotPresent;
extern const char* const CouldNotLoadResource;
extern const char* const OutMemory;
extern const char* const IncompatibleAssign;
extern const char* const NoSuchPaletteEntry;
extern const char* const ExistentCriticalChunk;
extern const char* const InvalidImageForAdd;
extern const char* const CannotChangeTransparent;
extern const char* const InvalidSpec;
extern const char* const InvalidNewSize;
extern const char* const DifferentBitDepth;
extern const char* const InvalidSourceSize;
extern const char* const InvalidCRC;
}  // namespace PngMessages

// Raises an exception of class E with the given message.
template <class E>
[[noreturn]] void RaiseError(const AnsiString& text) {
  throw E(std::string_view(text));
}

// The description zlib's result code gets in EVnPNGZLIBError messages ("data error (-3)").
AnsiString ZLibErrorDescription(int code);
// Raises EVnPNGZLIBError for the zlib result code.
[[noreturn]] void RaiseZLibError(int code);

}  // namespace kestrel
