#include "platform/gdi/MemoryCanvas.h"

#include <utility>

#include "platform/gdi/Bitmaps.h"

namespace kestrel::platform {

MemoryCanvas::MemoryCanvas(HDC reference, OwnedBitmap owned, HBITMAP bitmap)
    : dc_(CreateCompatibleDC(reference)), owned_(std::move(owned)), bitmap_(bitmap) {
  if (!dc_ || !bitmap_) return;
  BITMAP info{};
  if (GetObject(bitmap_, sizeof info, &info) == 0) return;
  previous_ = SelectObject(dc_.get(), bitmap_);
  if (previous_ == HGDI_ERROR) previous_ = nullptr;
  if (!previous_) return;
  width_ = info.bmWidth;
  height_ = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
  bits_ = info.bmBits;
}

MemoryCanvas MemoryCanvas::Dib(HDC reference, int width, int height) {
  if (width <= 0 || height <= 0) return MemoryCanvas();
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  OwnedBitmap bitmap(CreateDIBSection(reference, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bits) bitmap.reset();
  HBITMAP handle = bitmap.get();
  return MemoryCanvas(reference, std::move(bitmap), handle);
}

MemoryCanvas MemoryCanvas::Compatible(HDC reference, int width, int height) {
  OwnedBitmap bitmap(CreateCompatibleBitmap(reference, width, height));
  HBITMAP handle = bitmap.get();
  return MemoryCanvas(reference, std::move(bitmap), handle);
}

MemoryCanvas MemoryCanvas::Borrowing(HDC reference, HBITMAP bitmap) { return MemoryCanvas(reference, nullptr, bitmap); }

MemoryCanvas::MemoryCanvas(MemoryCanvas&& other) noexcept
    : dc_(std::move(other.dc_)),
      owned_(std::move(other.owned_)),
      bitmap_(std::exchange(other.bitmap_, nullptr)),
      previous_(std::exchange(other.previous_, nullptr)),
      bits_(std::exchange(other.bits_, nullptr)),
      width_(std::exchange(other.width_, 0)),
      height_(std::exchange(other.height_, 0)) {}

MemoryCanvas& MemoryCanvas::operator=(MemoryCanvas&& other) noexcept {
  if (this == &other) return *this;
  Reset();
  dc_ = std::move(other.dc_);
  owned_ = std::move(other.owned_);
  bitmap_ = std::exchange(other.bitmap_, nullptr);
  previous_ = std::exchange(other.previous_, nullptr);
  bits_ = std::exchange(other.bits_, nullptr);
  width_ = std::exchange(other.width_, 0);
  height_ = std::exchange(other.height_, 0);
  return *this;
}

void MemoryCanvas::Reset() {
  if (dc_ && previous_) SelectObject(dc_.get(), previous_);
  dc_.reset();
  owned_.reset();
  bitmap_ = nullptr;
  previous_ = nullptr;
  bits_ = nullptr;
  width_ = height_ = 0;
}

}  // namespace kestrel::platform
