#include "controls/GdiScope.h"

#include <limits>

namespace kestrel {

using namespace platform;

int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  std::int64_t product = static_cast<std::int64_t>(a) * b;
  std::int64_t divisor = c;
  if (divisor < 0) {
    product = -product;
    divisor = -divisor;
  }
  std::int64_t half = divisor / 2;
  std::int64_t result = product >= 0 ? (product + half) / divisor : (product - half) / divisor;
  if (result > std::numeric_limits<int>::max() || result < std::numeric_limits<int>::min()) {
    return -1;
  }
  return static_cast<int>(result);
}

bool RectSize(const RECT& r, int& width, int& height) {
  std::int64_t w = static_cast<std::int64_t>(r.right) - r.left;
  std::int64_t h = static_cast<std::int64_t>(r.bottom) - r.top;
  if (w <= 0 || h <= 0 || w > std::numeric_limits<int>::max() || h > std::numeric_limits<int>::max()) {
    return false;
  }
  width = static_cast<int>(w);
  height = static_cast<int>(h);
  return true;
}

void DrawLine(HDC dc, COLORREF rgb, int x0, int y0, int x1, int y1) {
  ScopedSelection pen(dc, CreatePen(PS_SOLID, 1, rgb), true);
  MoveToEx(dc, x0, y0, nullptr);
  LineTo(dc, x1, y1);
}

ScopedSelection::ScopedSelection(HDC dc, HGDIOBJ object, bool owned)
    : dc_(dc), object_(object), previous_(SelectObject(dc, object)), owned_(owned) {}

ScopedSelection::~ScopedSelection() {
  if (previous_ != nullptr && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
  if (owned_ && object_ != nullptr) DeleteObject(object_);
}

MemoryBitmap::MemoryBitmap(HDC reference, int width, int height) {
  if (width <= 0 || height <= 0) return;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  dc_ = CreateCompatibleDC(reference);
  if (dc_ == nullptr) return;
  bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
  if (bitmap_ == nullptr) {
    bits_ = nullptr;
    return;
  }
  previous_ = SelectObject(dc_, bitmap_);
  width_ = width;
  height_ = height;
}

MemoryBitmap::~MemoryBitmap() {
  if (dc_ != nullptr && previous_ != nullptr) SelectObject(dc_, previous_);
  if (bitmap_ != nullptr) DeleteObject(bitmap_);
  if (dc_ != nullptr) DeleteDC(dc_);
}

}  // namespace kestrel
