#pragma once
// Helpers shared by the PNG tests: building files byte by byte and reading decoded pixels back.

#include <cstdint>
#include <string>
#include <vector>

#include "imaging/PngObject.h"

namespace kestrel {

struct PixelRGBA {
  std::uint8_t r = 0, g = 0, b = 0, a = 255;
};

// The colour a decoded pixel shows (through the colour table for palette DIBs) and its alpha
// (255 for images without an alpha plane; tRNS is not applied).
PixelRGBA ResolvePixel(const TVnPNGObject& png, std::uint32_t x, std::uint32_t y);

// Builds a PNG file chunk by chunk, with correct CRCs unless told otherwise.
class PngFileBuilder {
 public:
  PngFileBuilder();
  PngFileBuilder& Chunk(const std::string& name, const std::vector<std::uint8_t>& data);
  PngFileBuilder& Header(std::uint32_t width, std::uint32_t height, int bitDepth, int colorType, int interlace = 0);
  // One IDAT holding the zlib-compressed rows (each with its filter byte already in place).
  PngFileBuilder& ImageData(const std::vector<std::uint8_t>& rawRows);
  PngFileBuilder& End() { return Chunk("IEND", {}); }
  // Appends raw bytes (a chunk with a deliberately wrong length, a cut-off tail, ...).
  PngFileBuilder& Raw(const std::vector<std::uint8_t>& bytes);
  // Flips a bit of the last chunk's CRC.
  PngFileBuilder& CorruptLastCrc();
  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
};

std::vector<std::uint8_t> Deflate(const std::vector<std::uint8_t>& data, int level = 6);
std::vector<std::uint8_t> BigEndian32(std::uint32_t v);

}  // namespace kestrel
