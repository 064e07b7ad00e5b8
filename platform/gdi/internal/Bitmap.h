#pragma once
// A bitmap: a cairo ARGB32 image surface, and for DIB sections the caller-visible bits.
//
// Device-dependent bitmaps are monochrome (1 bit) or colour (32 bits); they live in the surface
// only. A 32-bit top-down DIB section shares its bits with the surface. Other DIB sections keep
// their bits separately: LoadFromBits() refreshes the surface before GDI reads or draws, and
// Publish() writes drawn pixels back, so that direct writes and GDI calls see each other.

#include <cairo.h>

#include <cstdint>
#include <memory>

#include "platform/core/OwnedHandles.h"
#include "platform/gdi/internal/DibFormat.h"
#include "platform/gdi/internal/GdiObject.h"

namespace kestrel::platform {

class Bitmap : public GdiObject {
 public:
  static constexpr GdiObjectKind kKind = GdiObjectKind::Bitmap;

  // Null (with the last error set) for sizes out of range or when memory runs out.
  static std::shared_ptr<Bitmap> CreateDevice(int width, int height, bool monochrome);
  static std::shared_ptr<Bitmap> CreateDib(const DibFormat& format);
  ~Bitmap() override;
  Bitmap(const Bitmap&) = delete;
  Bitmap& operator=(const Bitmap&) = delete;

  int Width() const { return width_; }
  int Height() const { return height_; }
  int BitsPerPixel() const;
  bool IsMonochrome() const { return BitsPerPixel() == 1; }
  bool IsDib() const { return dib_ != nullptr; }
  const DibFormat* Dib() const { return dib_.get(); }
  void* Bits() const { return bits_.get(); }
  cairo_surface_t* Surface() const { return surface_.get(); }

  // Refreshes the surface from the DIB bits (no-op when they are shared or absent).
  void LoadFromBits();
  // Makes the pixels in `rect` (surface pixels) consistent after drawing: writes them to the
  // DIB bits, or reduces them to black and white on a monochrome bitmap.
  void Publish(const RECT& rect);
  // The colour this bitmap stores for an 0xAARRGGBB value.
  std::uint32_t Quantize(std::uint32_t argb) const;
  // DIB colour table access; entries past the table are ignored.
  UINT SetColorTable(UINT start, UINT count, const RGBQUAD* colors);
  UINT GetColorTable(UINT start, UINT count, RGBQUAD* colors) const;

  // The DC this bitmap is selected into (a bitmap is selected into one DC at a time).
  HDC selectedInto = nullptr;

  int GetObjectData(int size, void* buffer) const override;

 private:
  Bitmap() : GdiObject(kKind) {}
  bool SharesBits() const;
  // 32-bit BI_RGB: surface words and DIB words are the same values.
  bool RawWords() const;

  int width_ = 0;
  int height_ = 0;
  bool monochrome_ = false;
  std::unique_ptr<DibFormat> dib_;
  MallocPtr<std::uint8_t> bits_;  // a DIB's own bits; declared first, as the surface may use them
  CairoSurface surface_;
};

}  // namespace kestrel::platform
