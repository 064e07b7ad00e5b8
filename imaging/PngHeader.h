#pragma once
// The header chunk and the decoded image it holds: a bottom-up DIB (palette at 1, 4 or 8 bits per
// pixel, or 24-bit BGR) with a separate top-down 8-bit alpha plane for images with an alpha channel.

#include <array>
#include <cstdint>
#include <cstdlib>
#include <optional>

#include "imaging/PngChunk.h"
#include "platform/core/WinTypes.h"
#include "platform/gdi/GdiTypes.h"
#include "platform/gdi/OwnedGdi.h"

namespace kestrel {

// Colour types of the header.
constexpr std::uint8_t COLOR_GRAYSCALE = 0;
constexpr std::uint8_t COLOR_RGB = 2;
constexpr std::uint8_t COLOR_PALETTE = 3;
constexpr std::uint8_t COLOR_GRAYSCALEALPHA = 4;
constexpr std::uint8_t COLOR_RGBALPHA = 6;

struct TVnPNGIHDRData {
  std::uint32_t Width = 0;
  std::uint32_t Height = 0;
  std::uint8_t BitDepth = 0;
  std::uint8_t ColorType = 0;
  std::uint8_t CompressionMethod = 0;
  std::uint8_t FilterMethod = 0;
  std::uint8_t InterlaceMethod = 0;
};

using PngRGBQuad = platform::RGBQUAD;

// The DIB description: a 40-byte header and a colour table of up to 256 entries, laid out as the
// platform's BITMAPINFO with room for the whole table.
struct PngBitmapInfo {
  platform::BITMAPINFOHEADER bmiHeader;
  std::array<PngRGBQuad, 256> bmiColors{};
  const platform::BITMAPINFO* AsBitmapInfo() const { return reinterpret_cast<const platform::BITMAPINFO*>(this); }
};

// Zero-filled pixel memory. Large blocks come from calloc, so untouched pages of a huge image
// cost no memory until they are written.
class PngPixelBuffer {
 public:
  PngPixelBuffer() = default;
  ~PngPixelBuffer() { std::free(data_); }
  PngPixelBuffer(const PngPixelBuffer&) = delete;
  PngPixelBuffer& operator=(const PngPixelBuffer&) = delete;
  // False when the memory is not available.
  bool Allocate(std::size_t size);
  void Free();
  void CopyFrom(const PngPixelBuffer& other);
  void Swap(PngPixelBuffer& other) noexcept;
  std::uint8_t* Data() const { return data_; }
  std::size_t Size() const { return size_; }

 private:
  std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
};

class TVnPNGChunkIHDR : public TVnPNGChunk {
 public:
  KESTREL_PNG_CHUNK_NAME("IHDR")
  using TVnPNGChunk::TVnPNGChunk;
  ~TVnPNGChunkIHDR() override;

  bool LoadFromStream(PngChunkReader& reader, const std::string& chunkName, std::uint32_t size) override;
  // Copies the header values, the decoded image, the alpha plane and the palette.
  void Assign(const TVnPNGChunk& source) override;
  // The 13 header bytes. A bit depth of 2 is held at 4 bits and becomes 4 here, in the header too.
  void WriteChunk(PngChunkWriter& out) override;

  const TVnPNGIHDRData& IHDRData() const { return ihdrData_; }
  TVnPNGIHDRData& IHDRData() { return ihdrData_; }
  std::uint32_t Width() const { return ihdrData_.Width; }
  std::uint32_t Height() const { return ihdrData_.Height; }
  std::uint8_t BitDepth() const { return ihdrData_.BitDepth; }
  std::uint8_t ColorType() const { return ihdrData_.ColorType; }
  std::uint8_t CompressionMethod() const { return ihdrData_.CompressionMethod; }
  std::uint8_t FilterMethod() const { return ihdrData_.FilterMethod; }
  std::uint8_t InterlaceMethod() const { return ihdrData_.InterlaceMethod; }

  // The decoded image; ImageData is null until PrepareImageData succeeded.
  const PngBitmapInfo& BitmapInfo() const { return bitmapInfo_; }
  std::size_t BytesPerRow() const { return bytesPerRow_; }
  // The DIB's pixel rows. Decoding does not pay for a drawing surface: the DIB section and its
  // memory DC are made on the first call of ImageDC or ImageHandle, and from then on ImageData
  // points into the DIB section's bits (the pixels are carried over).
  std::uint8_t* ImageData() const { return bits_; }
  // The memory DC with the DIB section selected; raises EVnPNGOutMemory when the platform cannot
  // make them, EVnPNGHeaderNotPresent when there is no image.
  platform::HDC ImageDC();
  platform::HBITMAP ImageHandle();
  // Width x height bytes, top row first; null unless the colour type has an alpha channel.
  std::uint8_t* ImageAlpha() const { return imageAlpha_.Data(); }
  bool HasPalette() const { return bitmapInfo_.bmiHeader.biBitCount <= 8; }
  bool Prepared() const { return bits_ != nullptr; }
  // The DIB row holding image row `y` (0 = top).
  std::uint8_t* Scanline(std::uint32_t y) const;
  std::uint8_t* AlphaScanline(std::uint32_t y) const;

  // The image palette (entries as the DIB colour table holds them) and its number of entries.
  const std::array<PngRGBQuad, 256>& Palette() const { return palette_; }
  int PaletteCount() const { return paletteCount_; }
  // Replaces the palette and copies what fits into the DIB colour table.
  void SetPalette(const PngRGBQuad* entries, int count);
  // A gray ramp of `entries` levels through the owner's gamma table.
  void SetGrayRamp(int entries);

  // Checks the header values and allocates the image (zeroed). Raises on values the decoder
  // cannot hold: zero size, colour type and bit depth outside the PNG table, beyond the memory cap.
  void PrepareImageData();
  void FreeImageData();
  // Gives the image a new colour type, bit depth and size, keeping what fits: the top-left pixels
  // (row bytes as they are when the DIB format stays, gray levels when a low-depth gray image
  // widens to 8 bits), the palette of palette images and the alpha plane (255 where it is new).
  // The new image is made beside the old one, so a failure (the memory cap) changes nothing.
  void Reshape(std::uint8_t colorType, std::uint8_t bitDepth, std::uint32_t width, std::uint32_t height);

  // Bits per pixel of the DIB for a colour type and bit depth (0 when the pair is not valid PNG).
  static int DibBitCount(std::uint8_t colorType, std::uint8_t bitDepth);
  // The largest pixel memory (DIB plus alpha plane) one image may take.
  static std::size_t MaxImageBytes();
  static void SetMaxImageBytes(std::size_t bytes);

 private:
  // Raises EVnPNGUnexpectedEnd when `remaining` file bytes cannot hold the image's data.
  void RefuseImageBeyondSource(std::int64_t remaining) const;
  TVnPNGIHDRData ihdrData_;
  PngBitmapInfo bitmapInfo_;
  std::size_t bytesPerRow_ = 0;
  void ReleaseDib();
  // The pixels that fit of `old` (same owner) copied into this freshly prepared image.
  void CopyPixelsFrom(const TVnPNGChunkIHDR& old);
  // Takes over the image, its description and palette from `other`, which gets this one's.
  void SwapImage(TVnPNGChunkIHDR& other) noexcept;

  PngPixelBuffer imageData_;  // the pixels until the DIB section takes them over
  std::uint8_t* bits_ = nullptr;
  // Declared so that the selection is undone before the DC goes, and the DC before its bitmap.
  platform::OwnedBitmap imageHandle_;
  platform::OwnedMemoryDC imageDC_;
  std::optional<platform::SelectedObject> selection_;
  PngPixelBuffer imageAlpha_;
  std::array<PngRGBQuad, 256> palette_{};
  int paletteCount_ = 0;
};

}  // namespace kestrel
