#pragma once
// The memory layout of a device-independent bitmap, and conversion of its pixels from and to
// 0xAARRGGBB words. Shared by DIB sections and by GetDIBits/SetDIBits/StretchDIBits.

#include <array>
#include <cstdint>
#include <vector>

#include "platform/gdi/GdiTypes.h"

namespace kestrel::platform {

class DibFormat {
 public:
  // Reads the header and its colour table (DIB_RGB_COLORS). Valid() tells whether the format is
  // one we handle: 1, 4, 8, 16, 24 or 32 bits, BI_RGB or BI_BITFIELDS, non-zero size.
  explicit DibFormat(const BITMAPINFO* info);
  DibFormat(int width, int height, int bitCount, std::vector<RGBQUAD> colors);

  bool Valid() const { return valid_; }
  int Width() const { return width_; }
  int Height() const { return height_; }  // always positive
  bool TopDown() const { return topDown_; }
  int BitCount() const { return bitCount_; }
  int Stride() const { return stride_; }  // bytes per row, DWORD aligned
  std::size_t ImageSize() const { return static_cast<std::size_t>(stride_) * height_; }
  bool Indexed() const { return bitCount_ <= 8; }
  const std::vector<RGBQUAD>& Colors() const { return colors_; }
  // Replaces entries [start, start+count) clipped to the table size; returns entries set.
  UINT SetColors(UINT start, UINT count, const RGBQUAD* colors);
  // Header as it describes this format (biHeight negative when top-down).
  BITMAPINFOHEADER Header() const;
  const DWORD* Masks() const { return masks_.data(); }

  // Row `y` (0 = top of the image) of `bits`.
  std::uint8_t* Row(void* bits, int y) const;
  const std::uint8_t* Row(const void* bits, int y) const;
  std::uint32_t Read(const std::uint8_t* row, int x) const;
  void Write(std::uint8_t* row, int x, std::uint32_t argb) const;
  // The colour table entry closest to `argb` (squared RGB distance), as 0..count-1.
  int NearestIndex(std::uint32_t argb) const;
  // The colour this format stores for `argb` (identity for 24/32 bits).
  std::uint32_t Quantize(std::uint32_t argb) const;

 private:
  // Where an indexed pixel lives in its row.
  struct IndexSlot {
    std::size_t byte;
    int shift;
    unsigned mask;
  };
  IndexSlot SlotOf(int x) const;
  void Init(int width, int height, int bitCount, DWORD compression);
  std::uint32_t FromMasked(DWORD value) const;
  DWORD ToMasked(std::uint32_t argb) const;

  bool valid_ = false;
  int width_ = 0;
  int height_ = 0;
  bool topDown_ = false;
  int bitCount_ = 0;
  int stride_ = 0;
  DWORD compression_ = BI_RGB;
  std::array<DWORD, 3> masks_{};
  std::vector<RGBQUAD> colors_;
  // Direct-mapped memo of NearestIndex, invalidated when the table changes.
  mutable std::vector<std::uint64_t> nearestCache_;
};

// 0xAARRGGBB (alpha 0xFF) from a COLORREF's low 24 bits, and back.
constexpr std::uint32_t ArgbFromColorRef(COLORREF c) {
  return 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}
constexpr COLORREF ColorRefFromArgb(std::uint32_t argb) {
  return ((argb >> 16) & 0xFFu) | (argb & 0xFF00u) | ((argb & 0xFFu) << 16);
}
constexpr std::uint32_t ArgbFromQuad(const RGBQUAD& q) {
  return 0xFF000000u | (std::uint32_t{q.rgbRed} << 16) | (std::uint32_t{q.rgbGreen} << 8) | q.rgbBlue;
}

}  // namespace kestrel::platform
