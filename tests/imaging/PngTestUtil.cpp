#include "PngTestUtil.h"

#include <zlib.h>

namespace kestrel {

PixelRGBA ResolvePixel(const TVnPNGObject& png, std::uint32_t x, std::uint32_t y) {
  const TVnPNGChunkIHDR& h = *png.Header();
  const std::uint8_t* row = h.Scanline(y);
  const int bits = h.BitmapInfo().bmiHeader.biBitCount;
  PixelRGBA p;
  if (bits == 24) {
    p.b = row[3 * x];
    p.g = row[3 * x + 1];
    p.r = row[3 * x + 2];
  } else {
    unsigned index = bits == 8   ? row[x]
                     : bits == 4 ? (row[x / 2] >> ((x & 1) ? 0 : 4)) & 0x0F
                                 : (row[x / 8] >> (7 - x % 8)) & 1;
    const PngRGBQuad& q = h.BitmapInfo().bmiColors[index];
    p.r = q.rgbRed;
    p.g = q.rgbGreen;
    p.b = q.rgbBlue;
    if (png.TransparencyMode() == ptmPartial && h.ColorType() == COLOR_PALETTE)
      p.a = png.Chunks().ItemFromClass<TVnPNGChunktRNS>()->PaletteValues()[index];
  }
  if (const std::uint8_t* alpha = h.AlphaScanline(y)) p.a = alpha[x];
  return p;
}

std::vector<std::uint8_t> BigEndian32(std::uint32_t v) {
  return {static_cast<std::uint8_t>(v >> 24), static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 8),
          static_cast<std::uint8_t>(v)};
}

std::vector<std::uint8_t> Deflate(const std::vector<std::uint8_t>& data, int level) {
  uLongf size = compressBound(static_cast<uLong>(data.size()));
  std::vector<std::uint8_t> out(size);
  compress2(out.data(), &size, data.data(), static_cast<uLong>(data.size()), level);
  out.resize(size);
  return out;
}

PngFileBuilder::PngFileBuilder() : bytes_{0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A} {}

PngFileBuilder& PngFileBuilder::Chunk(const std::string& name, const std::vector<std::uint8_t>& data) {
  Raw(BigEndian32(static_cast<std::uint32_t>(data.size())));
  std::vector<std::uint8_t> body(name.begin(), name.end());
  body.insert(body.end(), data.begin(), data.end());
  Raw(body);
  Raw(BigEndian32(static_cast<std::uint32_t>(crc32(0, body.data(), static_cast<uInt>(body.size())))));
  return *this;
}

PngFileBuilder& PngFileBuilder::Header(std::uint32_t width, std::uint32_t height, int bitDepth, int colorType,
                                       int interlace) {
  std::vector<std::uint8_t> data = BigEndian32(width);
  auto h = BigEndian32(height);
  data.insert(data.end(), h.begin(), h.end());
  data.insert(data.end(), {static_cast<std::uint8_t>(bitDepth), static_cast<std::uint8_t>(colorType), 0, 0,
                           static_cast<std::uint8_t>(interlace)});
  return Chunk("IHDR", data);
}

PngFileBuilder& PngFileBuilder::ImageData(const std::vector<std::uint8_t>& rawRows) {
  return Chunk("IDAT", Deflate(rawRows));
}

PngFileBuilder& PngFileBuilder::Raw(const std::vector<std::uint8_t>& bytes) {
  bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
  return *this;
}

PngFileBuilder& PngFileBuilder::CorruptLastCrc() {
  bytes_.back() ^= 0x01;
  return *this;
}

}  // namespace kestrel
