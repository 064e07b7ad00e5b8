#pragma once
// Encodes the header's decoded image as the file's image data: rows converted back to PNG samples
// (top row first, or pass by pass for Adam7), filtered with the allowed row filters, deflated and
// cut into IDAT chunks of at most the image's MaxIdatSize bytes.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kestrel {

class PngChunkWriter;
class TVnPNGChunkIHDR;
class TVnPNGObject;

class PngIdatEncoder {
 public:
  PngIdatEncoder(const TVnPNGChunkIHDR& header, const TVnPNGObject& owner);
  void Encode(PngChunkWriter& out);

  // The filter type a row gets from the allowed set `filterBits` (bit n = filter type n), and the
  // filtered row in `out` (length bytes). Several filters are scored by how many bytes repeat one
  // of the two bytes before them; the best wins, ties go to the lower type, and a row on which no
  // filter scores is written unfiltered.
  static std::uint8_t FilterRow(unsigned filterBits, const std::uint8_t* raw, const std::uint8_t* prior,
                                std::size_t length, std::size_t bpp, std::uint8_t* out,
                                std::vector<std::uint8_t>& scratch);

 private:
  void PackRow(std::uint32_t y, std::uint32_t x0, std::uint32_t dx, std::uint32_t count, std::uint8_t* raw) const;
  std::size_t RowBytes(std::uint32_t pixels) const { return (std::size_t{pixels} * pixelBits_ + 7) / 8; }

  const TVnPNGChunkIHDR& header_;
  const TVnPNGObject& owner_;
  int colorType_;
  int depth_;  // the depth written (2 is held, and written, as 4)
  int dibBits_;
  std::uint32_t pixelBits_;
  std::size_t bpp_;
  bool identityGamma_ = true;  // colours are written as they are held
};

}  // namespace kestrel
