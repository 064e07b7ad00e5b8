#include "platform/gdi/internal/DibFormat.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace kestrel::platform {

namespace {
constexpr int kMaxSide = 32767;
constexpr std::size_t kMaxBytes = std::size_t{1} << 30;
constexpr std::size_t kCacheSize = 1024;

int MaskShift(DWORD mask) {
  int shift = 0;
  while (mask && !(mask & 1)) {
    mask >>= 1;
    ++shift;
  }
  return shift;
}
int MaskBits(DWORD mask) {
  mask >>= MaskShift(mask);
  int bits = 0;
  while (mask & 1) {
    mask >>= 1;
    ++bits;
  }
  return bits;
}
// Scales a `bits`-wide channel value to 8 bits.
std::uint32_t Expand(DWORD value, int bits) {
  if (bits <= 0) return 0;
  if (bits >= 8) return (value >> (bits - 8)) & 0xFF;
  DWORD max = (1u << bits) - 1;
  return (value * 255 + max / 2) / max;
}
DWORD Reduce(std::uint32_t value8, int bits) {
  if (bits <= 0) return 0;
  if (bits >= 8) return value8 << (bits - 8);
  return value8 >> (8 - bits);
}
}  // namespace

DibFormat::DibFormat(const BITMAPINFO* info) {
  if (!info || info->bmiHeader.biSize < sizeof(BITMAPINFOHEADER)) return;
  const BITMAPINFOHEADER& h = info->bmiHeader;
  if (h.biHeight == std::numeric_limits<LONG>::min()) return;
  Init(h.biWidth, h.biHeight, h.biBitCount, h.biCompression);
  if (!valid_) return;
  // Larger headers (version 4 and 5) carry the masks inside and the colour table after them;
  // the plain 40-byte header is followed by the masks, or by the colour table.
  const auto* afterHeader = reinterpret_cast<const std::uint8_t*>(info) + h.biSize;
  if (compression_ == BI_BITFIELDS) {
    const std::uint8_t* masks =
        h.biSize >= sizeof(BITMAPINFOHEADER) + 12 ? reinterpret_cast<const std::uint8_t*>(info) + 40 : afterHeader;
    std::memcpy(masks_.data(), masks, sizeof(DWORD) * 3);
    if (!masks_[0] || !masks_[1] || !masks_[2]) valid_ = false;
  }
  if (Indexed()) {
    std::size_t maxColors = std::size_t{1} << bitCount_;
    std::size_t used = h.biClrUsed && h.biClrUsed < maxColors ? h.biClrUsed : maxColors;
    colors_.resize(used);
    std::memcpy(colors_.data(), afterHeader, used * sizeof(RGBQUAD));
  }
}

DibFormat::DibFormat(int width, int height, int bitCount, std::vector<RGBQUAD> colors) {
  Init(width, height, bitCount, BI_RGB);
  if (Indexed()) {
    colors.resize(std::min<std::size_t>(colors.size(), std::size_t{1} << bitCount));
    colors_ = std::move(colors);
  }
}

void DibFormat::Init(int width, int height, int bitCount, DWORD compression) {
  topDown_ = height < 0;
  width_ = width;
  height_ = height < 0 ? -height : height;
  bitCount_ = bitCount;
  compression_ = compression;
  bool knownDepth =
      bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 || bitCount == 32;
  bool knownCompression = compression == BI_RGB || (compression == BI_BITFIELDS && (bitCount == 16 || bitCount == 32));
  if (!knownDepth || !knownCompression || width_ <= 0 || height_ <= 0 || width_ > kMaxSide || height_ > kMaxSide)
    return;
  stride_ = static_cast<int>(((static_cast<std::int64_t>(width_) * bitCount_ + 31) / 32) * 4);
  if (ImageSize() > kMaxBytes) return;
  if (compression == BI_RGB && bitCount == 16) masks_ = {0x7C00, 0x03E0, 0x001F};
  if (compression == BI_RGB && bitCount == 32) masks_ = {0xFF0000, 0xFF00, 0xFF};
  valid_ = true;
}

UINT DibFormat::SetColors(UINT start, UINT count, const RGBQUAD* colors) {
  if (!colors || start >= colors_.size()) return 0;
  UINT n = std::min<UINT>(count, static_cast<UINT>(colors_.size()) - start);
  std::copy(colors, colors + n, colors_.begin() + start);
  nearestCache_.clear();
  return n;
}

BITMAPINFOHEADER DibFormat::Header() const {
  BITMAPINFOHEADER h;
  h.biWidth = width_;
  h.biHeight = topDown_ ? -height_ : height_;
  h.biBitCount = static_cast<WORD>(bitCount_);
  h.biCompression = compression_;
  h.biSizeImage = static_cast<DWORD>(ImageSize());
  h.biClrUsed = Indexed() ? static_cast<DWORD>(colors_.size()) : 0;
  return h;
}

std::uint8_t* DibFormat::Row(void* bits, int y) const {
  int row = topDown_ ? y : height_ - 1 - y;
  return static_cast<std::uint8_t*>(bits) + static_cast<std::ptrdiff_t>(row) * stride_;
}

const std::uint8_t* DibFormat::Row(const void* bits, int y) const { return Row(const_cast<void*>(bits), y); }

DibFormat::IndexSlot DibFormat::SlotOf(int x) const {
  // Pixels fill bytes from the most significant bits down.
  int perByte = 8 / bitCount_;
  int shift = 8 - bitCount_ * (x % perByte + 1);
  return IndexSlot{static_cast<std::size_t>(x / perByte), shift, ((1u << bitCount_) - 1) << shift};
}

std::uint32_t DibFormat::FromMasked(DWORD value) const {
  std::uint32_t r = Expand((value & masks_[0]) >> MaskShift(masks_[0]), MaskBits(masks_[0]));
  std::uint32_t g = Expand((value & masks_[1]) >> MaskShift(masks_[1]), MaskBits(masks_[1]));
  std::uint32_t b = Expand((value & masks_[2]) >> MaskShift(masks_[2]), MaskBits(masks_[2]));
  return 0xFF000000u | (r << 16) | (g << 8) | b;
}

DWORD DibFormat::ToMasked(std::uint32_t argb) const {
  DWORD value = 0;
  for (int c = 0; c < 3; ++c) {
    std::uint32_t channel = (argb >> (16 - 8 * c)) & 0xFF;
    value |= (Reduce(channel, MaskBits(masks_[c])) << MaskShift(masks_[c])) & masks_[c];
  }
  return value;
}

std::uint32_t DibFormat::Read(const std::uint8_t* row, int x) const {
  switch (bitCount_) {
    case 1:
    case 4:
    case 8: {
      IndexSlot slot = SlotOf(x);
      unsigned index = (row[slot.byte] & slot.mask) >> slot.shift;
      return index < colors_.size() ? ArgbFromQuad(colors_[index]) : 0xFF000000u;
    }
    case 16: {
      DWORD v = row[2 * x] | (DWORD{row[2 * x + 1]} << 8);
      return FromMasked(v);
    }
    case 24:
      return 0xFF000000u | (std::uint32_t{row[3 * x + 2]} << 16) | (std::uint32_t{row[3 * x + 1]} << 8) | row[3 * x];
    default: {
      std::uint32_t v;
      std::memcpy(&v, row + 4 * x, 4);
      // 32-bit BI_RGB words are kept as they are, alpha byte included.
      return compression_ == BI_RGB ? v : FromMasked(v);
    }
  }
}

void DibFormat::Write(std::uint8_t* row, int x, std::uint32_t argb) const {
  switch (bitCount_) {
    case 1:
    case 4:
    case 8: {
      IndexSlot slot = SlotOf(x);
      unsigned index = static_cast<unsigned>(NearestIndex(argb));
      std::uint8_t& byte = row[slot.byte];
      byte = static_cast<std::uint8_t>((byte & ~slot.mask) | ((index << slot.shift) & slot.mask));
      return;
    }
    case 16: {
      DWORD v = ToMasked(argb);
      row[2 * x] = static_cast<std::uint8_t>(v);
      row[2 * x + 1] = static_cast<std::uint8_t>(v >> 8);
      return;
    }
    case 24:
      row[3 * x] = static_cast<std::uint8_t>(argb);
      row[3 * x + 1] = static_cast<std::uint8_t>(argb >> 8);
      row[3 * x + 2] = static_cast<std::uint8_t>(argb >> 16);
      return;
    default: {
      std::uint32_t v = compression_ == BI_RGB ? argb : ToMasked(argb);
      std::memcpy(row + 4 * x, &v, 4);
    }
  }
}

int DibFormat::NearestIndex(std::uint32_t argb) const {
  if (colors_.empty()) return 0;
  std::uint32_t rgb = argb & 0xFFFFFF;
  if (nearestCache_.empty()) nearestCache_.assign(kCacheSize, ~std::uint64_t{0});
  std::uint64_t& slot = nearestCache_[(rgb * 2654435761u >> 22) % kCacheSize];
  if ((slot >> 32) == rgb) return static_cast<int>(slot & 0xFFFFFFFF);
  int best = 0;
  long bestDistance = std::numeric_limits<long>::max();
  for (std::size_t i = 0; i < colors_.size(); ++i) {
    long dr = long{colors_[i].rgbRed} - long((rgb >> 16) & 0xFF);
    long dg = long{colors_[i].rgbGreen} - long((rgb >> 8) & 0xFF);
    long db = long{colors_[i].rgbBlue} - long(rgb & 0xFF);
    long distance = dr * dr + dg * dg + db * db;
    if (distance < bestDistance) {
      bestDistance = distance;
      best = static_cast<int>(i);
      if (distance == 0) break;
    }
  }
  slot = (std::uint64_t{rgb} << 32) | static_cast<std::uint32_t>(best);
  return best;
}

std::uint32_t DibFormat::Quantize(std::uint32_t argb) const {
  if (Indexed()) {
    if (colors_.empty()) return 0xFF000000u;
    return ArgbFromQuad(colors_[NearestIndex(argb)]);
  }
  if (bitCount_ == 32 && compression_ == BI_RGB) return argb;
  std::uint8_t buffer[4] = {};
  Write(buffer, 0, argb);
  return Read(buffer, 0);
}

}  // namespace kestrel::platform
