#include "imaging/PngHeader.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <typeinfo>

#include "imaging/PngErrors.h"
#include "imaging/PngObject.h"
#include "platform/core/LargePages.h"
#include "platform/gdi/Gdi.h"

namespace kestrel {

namespace {

std::size_t gMaxImageBytes = std::size_t{1} << 30;

// A fixed 256-colour table a palette image starts from before its PLTE arrives: a 6x6x6 colour
// cube followed by a gray ramp.
std::array<PngRGBQuad, 256> HalftonePalette() {
  std::array<PngRGBQuad, 256> table{};
  int n = 0;
  for (int r = 0; r < 6; ++r)
    for (int g = 0; g < 6; ++g)
      for (int b = 0; b < 6; ++b, ++n)
        table[n] = {static_cast<std::uint8_t>(b * 51), static_cast<std::uint8_t>(g * 51),
                    static_cast<std::uint8_t>(r * 51), 0};
  for (int i = 0; n < 256; ++i, ++n) {
    auto v = static_cast<std::uint8_t>((i + 1) * 255 / 41);
    table[n] = {v, v, v, 0};
  }
  return table;
}

// n * 255 / d rounded half away from zero, as the platform's multiply-divide does.
std::uint8_t RampLevel(int n, int d) { return static_cast<std::uint8_t>((n * 255 + d / 2) / d); }

}  // namespace

bool PngPixelBuffer::Allocate(std::size_t size) {
  Free();
  data_ = static_cast<std::uint8_t*>(std::calloc(size ? size : 1, 1));
  if (!data_) return false;
  size_ = size;
  // A decode touches every page once; with small pages the faults alone cost as much as
  // un-filtering.
  platform::PreferLargePages(data_, size_);
  return true;
}

void PngPixelBuffer::Free() {
  std::free(data_);
  data_ = nullptr;
  size_ = 0;
}

void PngPixelBuffer::CopyFrom(const PngPixelBuffer& other) {
  if (!other.data_) {
    Free();
    return;
  }
  if (!Allocate(other.size_)) RaiseError<EVnPNGOutMemory>(PngMessages::OutMemory);
  std::memcpy(data_, other.data_, size_);
}

void PngPixelBuffer::Swap(PngPixelBuffer& other) noexcept {
  std::swap(data_, other.data_);
  std::swap(size_, other.size_);
}

TVnPNGChunkIHDR::~TVnPNGChunkIHDR() { ReleaseDib(); }

std::size_t TVnPNGChunkIHDR::MaxImageBytes() { return gMaxImageBytes; }
void TVnPNGChunkIHDR::SetMaxImageBytes(std::size_t bytes) { gMaxImageBytes = bytes; }

int TVnPNGChunkIHDR::DibBitCount(std::uint8_t colorType, std::uint8_t bitDepth) {
  switch (colorType) {
    case COLOR_GRAYSCALE:
      if (bitDepth == 1) return 1;
      if (bitDepth == 2 || bitDepth == 4) return 4;
      if (bitDepth == 8 || bitDepth == 16) return 8;
      return 0;
    case COLOR_PALETTE:
      if (bitDepth == 1) return 1;
      if (bitDepth == 2 || bitDepth == 4) return 4;
      if (bitDepth == 8) return 8;
      return 0;
    case COLOR_GRAYSCALEALPHA: return bitDepth == 8 || bitDepth == 16 ? 8 : 0;
    case COLOR_RGB:
    case COLOR_RGBALPHA: return bitDepth == 8 || bitDepth == 16 ? 24 : 0;
    default: return 0;
  }
}

bool TVnPNGChunkIHDR::LoadFromStream(PngChunkReader& reader, const std::string& chunkName, std::uint32_t size) {
  ReadDataAndCrc(reader, size);
  fName = chunkName;
  if (fData.size() < 13) RaiseError<EVnPNGInvalidIHDR>(PngMessages::InvalidIHDR);
  const std::uint8_t* p = fData.data();
  ihdrData_.Width = ReadBigEndian32(p);
  ihdrData_.Height = ReadBigEndian32(p + 4);
  ihdrData_.BitDepth = p[8];
  ihdrData_.ColorType = p[9];
  ihdrData_.CompressionMethod = p[10];
  ihdrData_.FilterMethod = p[11];
  ihdrData_.InterlaceMethod = p[12];
  if (ihdrData_.Width > 65535 || ihdrData_.Height > 65535) RaiseError<EVnPNGSizeExceeds>(PngMessages::SizeExceeds);
  if (ihdrData_.CompressionMethod != 0) RaiseError<EVnPNGUnknownCompression>(PngMessages::UnknownCompression);
  if (ihdrData_.InterlaceMethod > 1) RaiseError<EVnPNGUnknownInterlace>(PngMessages::UnknownInterlace);
  if (fOwner) fOwner->SetInterlaceMethod(static_cast<TInterlaceMethod>(ihdrData_.InterlaceMethod));
  RefuseImageBeyondSource(reader.SourceRemaining());
  PrepareImageData();
  return true;
}

void TVnPNGChunkIHDR::RefuseImageBeyondSource(std::int64_t remaining) const {
  if (remaining < 0) return;
  // Deflate packs at most 258 bytes into 2 bits, so the rest of the file can inflate to no more
  // than 1032 times its size. A header asking for more image than that would only reserve
  // memory that its data can never fill.
  static constexpr std::uint64_t kMaxInflateRatio = 1032;
  static constexpr std::uint64_t kSlack = 4096;
  const auto& h = ihdrData_;
  const std::uint64_t channels = h.ColorType == COLOR_RGB              ? 3
                                 : h.ColorType == COLOR_RGBALPHA       ? 4
                                 : h.ColorType == COLOR_GRAYSCALEALPHA ? 2
                                                                       : 1;
  const std::uint64_t rowBytes = (std::uint64_t{h.Width} * channels * h.BitDepth + 7) / 8 + 1;
  const std::uint64_t filtered = rowBytes * h.Height;
  // Images beyond the memory cap are refused as such when they are prepared.
  if (filtered > gMaxImageBytes) return;
  if (filtered > static_cast<std::uint64_t>(remaining) * kMaxInflateRatio + kSlack)
    RaiseError<EVnPNGUnexpectedEnd>(PngMessages::UnexpectedEnd);
}

void TVnPNGChunkIHDR::PrepareImageData() {
  FreeImageData();
  const auto& h = ihdrData_;
  int bitCount = DibBitCount(h.ColorType, h.BitDepth);
  if (h.Width == 0 || h.Height == 0 || h.Width > 65535 || h.Height > 65535 || bitCount == 0)
    RaiseError<EVnPNGInvalidIHDR>(PngMessages::InvalidIHDR);

  // 64-bit arithmetic: 65535 x 65535 x 3 does not fit in 32 bits.
  std::uint64_t bytesPerRow = ((std::uint64_t{h.Width} * bitCount + 31) / 32) * 4;
  std::uint64_t imageBytes = bytesPerRow * h.Height;
  bool alpha = h.ColorType == COLOR_GRAYSCALEALPHA || h.ColorType == COLOR_RGBALPHA;
  std::uint64_t alphaBytes = alpha ? std::uint64_t{h.Width} * h.Height : 0;
  if (imageBytes + alphaBytes > gMaxImageBytes) RaiseError<EVnPNGOutMemory>(PngMessages::OutMemory);

  auto& bi = bitmapInfo_.bmiHeader;
  bi = platform::BITMAPINFOHEADER{};
  bi.biWidth = static_cast<std::int32_t>(h.Width);
  bi.biHeight = static_cast<std::int32_t>(h.Height);
  bi.biBitCount = static_cast<std::uint16_t>(bitCount);
  bi.biSizeImage = static_cast<std::uint32_t>(imageBytes);
  bytesPerRow_ = static_cast<std::size_t>(bytesPerRow);

  if (!imageData_.Allocate(static_cast<std::size_t>(imageBytes)) ||
      (alpha && !imageAlpha_.Allocate(static_cast<std::size_t>(alphaBytes)))) {
    FreeImageData();
    RaiseError<EVnPNGOutMemory>(PngMessages::OutMemory);
  }
  bits_ = imageData_.Data();

  palette_ = {};
  paletteCount_ = 0;
  bitmapInfo_.bmiColors = {};
  if (bitCount <= 8) {
    if (h.ColorType == COLOR_PALETTE) {
      auto halftone = HalftonePalette();
      SetPalette(halftone.data(), 256);
    } else {
      SetGrayRamp(h.BitDepth >= 8 ? 256 : 1 << h.BitDepth);
    }
  }
}

void TVnPNGChunkIHDR::FreeImageData() {
  ReleaseDib();
  bits_ = nullptr;
  imageData_.Free();
  imageAlpha_.Free();
  bytesPerRow_ = 0;
}

void TVnPNGChunkIHDR::SetPalette(const PngRGBQuad* entries, int count) {
  int bitCount = bitmapInfo_.bmiHeader.biBitCount;
  if (bitCount == 0 || bitCount > 8) return;
  // The palette is sized to the DIB's colour table; entries beyond it have no pixels to colour.
  int tableSize = 1 << bitCount;
  palette_ = {};
  paletteCount_ = tableSize;
  for (int i = 0; i < count && i < tableSize; ++i) palette_[i] = entries[i];
  bitmapInfo_.bmiColors = palette_;
  bitmapInfo_.bmiHeader.biClrUsed = static_cast<std::uint32_t>(tableSize);
  if (imageDC_) platform::SetDIBColorTable(imageDC_.get(), 0, static_cast<platform::UINT>(tableSize), palette_.data());
}

platform::HDC TVnPNGChunkIHDR::ImageDC() {
  if (imageDC_) return imageDC_.get();
  if (!Prepared()) RaiseError<EVnPNGHeaderNotPresent>(PngMessages::HeaderNotPresent);
  void* bits = nullptr;
  platform::OwnedMemoryDC dc(platform::CreateCompatibleDC(nullptr));
  platform::OwnedBitmap bitmap(
      dc ? platform::CreateDIBSection(dc.get(), bitmapInfo_.AsBitmapInfo(), platform::DIB_RGB_COLORS, &bits, nullptr, 0)
         : nullptr);
  if (!bitmap || !bits) RaiseError<EVnPNGOutMemory>(PngMessages::OutMemory);
  std::memcpy(bits, bits_, imageData_.Size());
  imageHandle_ = std::move(bitmap);
  imageDC_ = std::move(dc);
  selection_.emplace(imageDC_.get(), imageHandle_.get());
  bits_ = static_cast<std::uint8_t*>(bits);
  imageData_.Free();
  return imageDC_.get();
}

platform::HBITMAP TVnPNGChunkIHDR::ImageHandle() {
  ImageDC();
  return imageHandle_.get();
}

void TVnPNGChunkIHDR::ReleaseDib() {
  if (!imageDC_) return;
  selection_.reset();
  imageDC_.reset();
  imageHandle_.reset();
  bits_ = nullptr;
}

void TVnPNGChunkIHDR::SetGrayRamp(int entries) {
  std::array<PngRGBQuad, 256> ramp{};
  const auto* gamma = fOwner ? fOwner->GammaTable.data() : nullptr;
  for (int n = 0; n < entries && n < 256; ++n) {
    std::uint8_t level = entries > 1 ? RampLevel(n, entries - 1) : 0;
    if (gamma) level = gamma[level];
    ramp[n] = {level, level, level, 0};
  }
  SetPalette(ramp.data(), entries);
}

std::uint8_t* TVnPNGChunkIHDR::Scanline(std::uint32_t y) const {
  if (!Prepared() || y >= ihdrData_.Height) return nullptr;
  return bits_ + (ihdrData_.Height - 1 - y) * bytesPerRow_;
}

std::uint8_t* TVnPNGChunkIHDR::AlphaScanline(std::uint32_t y) const {
  if (!imageAlpha_.Data() || y >= ihdrData_.Height) return nullptr;
  return imageAlpha_.Data() + std::size_t{y} * ihdrData_.Width;
}

namespace {

unsigned DibIndexAt(const std::uint8_t* scan, std::uint32_t x, int bits) {
  if (bits == 8) return scan[x];
  if (bits == 4) return (scan[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F;
  return (scan[x >> 3] >> (7 - (x & 7))) & 1;
}

}  // namespace

void TVnPNGChunkIHDR::Reshape(std::uint8_t colorType, std::uint8_t bitDepth, std::uint32_t width,
                              std::uint32_t height) {
  TVnPNGChunkIHDR reshaped(fOwner);
  reshaped.ihdrData_ = ihdrData_;
  reshaped.ihdrData_.ColorType = colorType;
  reshaped.ihdrData_.BitDepth = bitDepth;
  reshaped.ihdrData_.Width = width;
  reshaped.ihdrData_.Height = height;
  reshaped.PrepareImageData();
  if (colorType == COLOR_PALETTE && HasPalette()) reshaped.SetPalette(palette_.data(), paletteCount_);
  if (Prepared()) reshaped.CopyPixelsFrom(*this);
  ReleaseDib();
  SwapImage(reshaped);
}

void TVnPNGChunkIHDR::CopyPixelsFrom(const TVnPNGChunkIHDR& old) {
  const std::uint32_t rows = std::min(Height(), old.Height()), cols = std::min(Width(), old.Width());
  const int oldBits = old.bitmapInfo_.bmiHeader.biBitCount, newBits = bitmapInfo_.bmiHeader.biBitCount;
  for (std::uint32_t y = 0; y < rows; ++y) {
    std::uint8_t* to = Scanline(y);
    const std::uint8_t* from = old.Scanline(y);
    if (oldBits == newBits) {
      std::memcpy(to, from, std::min(bytesPerRow_, old.bytesPerRow_));
    } else if (newBits == 8 && oldBits < 8) {
      // A low-depth gray index becomes the 8-bit level its ramp entry stands for.
      const int top = (1 << oldBits) - 1;
      for (std::uint32_t x = 0; x < cols; ++x) to[x] = RampLevel(static_cast<int>(DibIndexAt(from, x, oldBits)), top);
    }
  }
  if (std::uint8_t* alpha = imageAlpha_.Data()) {
    std::memset(alpha, 255, imageAlpha_.Size());
    if (old.ImageAlpha())
      for (std::uint32_t y = 0; y < rows; ++y) std::memcpy(AlphaScanline(y), old.AlphaScanline(y), cols);
  }
}

void TVnPNGChunkIHDR::SwapImage(TVnPNGChunkIHDR& other) noexcept {
  std::swap(ihdrData_, other.ihdrData_);
  std::swap(bitmapInfo_, other.bitmapInfo_);
  std::swap(bytesPerRow_, other.bytesPerRow_);
  imageData_.Swap(other.imageData_);
  imageAlpha_.Swap(other.imageAlpha_);
  std::swap(palette_, other.palette_);
  std::swap(paletteCount_, other.paletteCount_);
  bits_ = imageData_.Data();
  other.bits_ = other.imageData_.Data();
}

void TVnPNGChunkIHDR::Assign(const TVnPNGChunk& source) {
  TVnPNGChunk::Assign(source);
  const auto& other = static_cast<const TVnPNGChunkIHDR&>(source);
  FreeImageData();
  ihdrData_ = other.ihdrData_;
  bitmapInfo_ = other.bitmapInfo_;
  palette_ = other.palette_;
  paletteCount_ = other.paletteCount_;
  if (!other.bits_) return;
  std::size_t size = other.bytesPerRow_ * ihdrData_.Height;
  if (!imageData_.Allocate(size)) RaiseError<EVnPNGOutMemory>(PngMessages::OutMemory);
  std::memcpy(imageData_.Data(), other.bits_, size);
  bits_ = imageData_.Data();
  bytesPerRow_ = other.bytesPerRow_;
  imageAlpha_.CopyFrom(other.imageAlpha_);
}

}  // namespace kestrel
