#pragma once
// Small building blocks of the drawing helpers: the platform's MulDiv and scoped GDI objects
// that are selected for one call and restored and freed at its end.

#include <cstdint>

#include "platform/gdi/Gdi.h"

namespace kestrel {

// a × b / c in 64 bits, rounded half away from zero; -1 when c is 0 or the result does not fit,
// as the platform's MulDiv answers.
int MulDiv(int a, int b, int c);

// Width and height of `r`; false when it is empty or its size does not fit an int.
bool RectSize(const platform::RECT& r, int& width, int& height);

// A one-pixel line from (x0, y0) towards (x1, y1), end point excluded, in a pen of its own.
void DrawLine(platform::HDC dc, platform::COLORREF rgb, int x0, int y0, int x1, int y1);

// An object selected into a DC for a scope; deletes it at the end when it owns it.
class ScopedSelection {
 public:
  ScopedSelection(platform::HDC dc, platform::HGDIOBJ object, bool owned);
  ~ScopedSelection();
  ScopedSelection(const ScopedSelection&) = delete;
  ScopedSelection& operator=(const ScopedSelection&) = delete;

 private:
  platform::HDC dc_;
  platform::HGDIOBJ object_;
  platform::HGDIOBJ previous_;
  bool owned_;
};

// A memory DC compatible with `reference` holding a 32-bit top-down DIB section whose pixels
// are directly addressable (BGRx rows of 4 × width bytes).
class MemoryBitmap {
 public:
  MemoryBitmap(platform::HDC reference, int width, int height);
  ~MemoryBitmap();
  MemoryBitmap(const MemoryBitmap&) = delete;
  MemoryBitmap& operator=(const MemoryBitmap&) = delete;

  bool Valid() const { return bits_ != nullptr; }
  platform::HDC Dc() const { return dc_; }
  std::uint32_t* Pixels() const { return static_cast<std::uint32_t*>(bits_); }
  int Width() const { return width_; }
  int Height() const { return height_; }

 private:
  platform::HDC dc_ = nullptr;
  platform::HBITMAP bitmap_ = nullptr;
  platform::HGDIOBJ previous_ = nullptr;
  void* bits_ = nullptr;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace kestrel
