#pragma once
// A memory DC with one bitmap selected into it for as long as it lives: off-screen pictures,
// measuring devices and the source side of a blit. The bitmap is the canvas's own (a 32-bit
// top-down DIB section with addressable pixels, or a bitmap compatible with a reference DC) or a
// caller's, borrowed for the canvas's life; a borrowed bitmap must not be selected into another
// DC meanwhile. When the canvas goes, the DC's first bitmap is selected back, the DC is deleted and
// an own bitmap is deleted.

#include <cstdint>

#include "platform/gdi/OwnedGdi.h"

namespace kestrel::platform {

class MemoryCanvas {
 public:
  MemoryCanvas() = default;
  // A DIB section of `width` × `height` pixels (BGRx rows of 4 × width bytes); invalid when
  // either is not positive.
  static MemoryCanvas Dib(HDC reference, int width, int height);
  // A bitmap of `width` × `height` compatible with `reference` (null: the screen).
  static MemoryCanvas Compatible(HDC reference, int width, int height);
  // The caller's `bitmap` (may be null: then the DC is made but nothing is selected).
  static MemoryCanvas Borrowing(HDC reference, HBITMAP bitmap);

  MemoryCanvas(MemoryCanvas&& other) noexcept;
  MemoryCanvas& operator=(MemoryCanvas&& other) noexcept;
  MemoryCanvas(const MemoryCanvas&) = delete;
  MemoryCanvas& operator=(const MemoryCanvas&) = delete;
  ~MemoryCanvas() { Reset(); }

  // Whether the bitmap is selected; false when the DC or bitmap could not be made or selected.
  bool Valid() const { return previous_ != nullptr; }
  // The DC, also when no bitmap could be selected; null when none could be made.
  HDC Dc() const { return dc_.get(); }
  HBITMAP Bitmap() const { return bitmap_; }
  void* Bits() const { return bits_; }  // the pixels of a DIB section, else null
  // The pixels of a canvas made by Dib: BGRx, rows of Width() values.
  std::uint32_t* Pixels() const { return static_cast<std::uint32_t*>(bits_); }
  int Width() const { return width_; }
  int Height() const { return height_; }

  void Reset();

 private:
  MemoryCanvas(HDC reference, OwnedBitmap owned, HBITMAP bitmap);

  OwnedMemoryDC dc_;
  OwnedBitmap owned_;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ previous_ = nullptr;
  void* bits_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace kestrel::platform
