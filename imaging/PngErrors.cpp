#include "imaging/PngErrors.h"

namespace kestrel {

KESTREL_IMPLEMENT_CLASS(EVnPNGError, Exception)
KESTREL_IMPLEMENT_CLASS(EVnPNGInvalidFileHeader, EVnPNGError)
KESTREL_IMPLEMENT_CLASS(EVnPNGUnexpectedEnd, EVnPNGError)
KESTREL_IMPLEMENT_CLASS(EVnPNGIHDRNotFirst, EVnPNGError)
KESTREL_IMPLEMENT_CLASS(EVnPNGNoImageData, EVnPNGError)
KESTREL_IMPLEMENT_CLASS(EVnPNGInvalidIHDR, EVnPNGError)
KESTREL_IMPLEMENT_CLASS(EVnPNGSizeExceeds, EVnPNGError)
KESTREL_IMPLEMENT_CLASS(EVnPNGUnknownCompression, EVnPNGError)
KESTREL_IMPLEMENT_CLASS(EVnPNGUnknownInterlace, EVnPNGError)
KESTREL_IMPLEMENT_CLASS(EVnPNGInvalidPalette, EVnPNGError)
KESTREL_IMPLEMENT_CLASS(EVnPNGMissingMultipleIDAT, EVnPNGError)
KESTREL_IMPLEMENT_CLASS(EVnPNGZLIBError, EVnPNGError)
KESTREL_IMPLEMENT_CLASS(EVnPNGHeaderNotPresent, EVnPNGError)
KESTREL_IMPLEMENT_CLASS(EVnPNGCouldNotLoadResource, EVnPNGError)
KESTREL_IMPLEMENT_CLASS(EVnPNGOutMemory, EVnPNGError)
KESTREL_IMPLEMENT_CLASS(EVnPNGCannotChangeTransparent, EVnPNGError)
KESTREL_IMPLEMENT_CLASS(EVnPNGInvalidSpec, EVnPNGError)
KESTREL_IMPLEMENT_CLASS(EVnPNGInvalidNewSize, EVnPNGError)
KESTREL_IMPLEMENT_CLASS(EVnPNGDifferentBitDepth, EVnPNGError)
KESTREL_IMPLEMENT_CLASS(EVnPNGInvalidSourceSize, EVnPNGError)
KESTREL_IMPLEMENT_CLASS(EVnPNGInvalidCRC, EVnPNGError)

namespace PngMessages {
#define PNG_NAME "\"Portable Network Graphics\""
const char* const InvalidFileHeader =
    "The file being readed is not a valid " PNG_NAME
    " image because it contains an invalid header. This file may be corruped, try obtaining it "
    "again.";
const char* const UnexpectedEnd =
    "This " PNG_NAME " image is invalid because the decoder found an unexpected end of the file.";
const char* const IHDRNotFirst =
    "This " PNG_NAME " image is not supported or it might be invalid.\r\n(IHDR chunk is not the first)";
const char* const NoImageData = "This " PNG_NAME " image contains no data.";
const char* const InvalidIHDR =
    "The " PNG_NAME " image could not be loaded because one of its main piece of data (ihdr) might be corrupted";
const char* const SizeExceeds =
    "This " PNG_NAME
    " image is not supported because either it's width or height exceeds the maximum size, which "
    "is 65535 pixels length.";
const char* const UnknownCompression =
    "This " PNG_NAME " image is encoded with an unknown compression scheme which could not be decoded.";
const char* const UnknownInterlace =
    "This " PNG_NAME " image uses an unknown interlace scheme which could not be decoded.";
const char* const InvalidPalette = "The " PNG_NAME " image contains an invalid palette.";
const char* const MissingMultipleIDAT = "This " PNG_NAME " image is invalid because it has missing image parts.";
const char* const ZLIBError =
    "Could not decompress the image because it contains invalid compressed data.\r\n Description: ";
const char* const HeaderNotPresent = "This operation is not valid because the current image contains no valid header.";
const char* const CouldNotLoadResource = "The png image could not be loaded from the resource ID.";
const char* const OutMemory =
    "Some operation could not be performed because the system is out of resources. Close some "
    "windows and try again.";
const char* const IncompatibleAssign = "The chunks must be compatible to be assigned.";
const char* const NoSuchPaletteEntry = "There is no such palette entry.";
const char* const ExistentCriticalChunk =
    "The program tried to add a existent critical chunk to the current image which is not allowed.";
const char* const InvalidImageForAdd = "It's not allowed to add a new chunk because the current image is invalid.";
const char* const CannotChangeTransparent =
    "Setting bit transparency color is not allowed for png images containing alpha value for each "
    "pixel (COLOR_RGBALPHA and COLOR_GRAYSCALEALPHA)";
const char* const InvalidSpec =
    "The " PNG_NAME " could not be created because invalid image type parameters have being provided.";
const char* const InvalidNewSize = "The new size provided for image resizing is invalid.";
const char* const DifferentBitDepth = "Source and destanation have different bit depth";
const char* const InvalidSourceSize = "Source rect is bigger than destination size";
const char* const InvalidCRC =
    "This " PNG_NAME " image is invalid because one of its pieces of data is corrupted (checksum mismatch).";
#undef PNG_NAME
}  // namespace PngMessages

AnsiString ZLibErrorDescription(int code) {
  switch (code) {
    case 0: return "(0)";
    case 1: return "stream end (1)";
    case 2: return "need dictionary (2)";
    case -1: return "file error (-1)";
    case -2: return "stream error (-2)";
    case -3: return "data error (-3)";
    case -4: return "insufficient memory (-4)";
    case -5: return "buffer error (-5)";
    case -6: return "incompatible version (-6)";
    default: return "(" + std::to_string(code) + ")";
  }
}

void RaiseZLibError(int code) {
  RaiseError<EVnPNGZLIBError>(AnsiString(PngMessages::ZLIBError) + ZLibErrorDescription(code));
}

}  // namespace kestrel
