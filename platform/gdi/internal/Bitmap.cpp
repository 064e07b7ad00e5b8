#include "platform/gdi/internal/Bitmap.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

namespace kestrel::platform {

namespace {
constexpr int kMaxSide = 32767;
constexpr std::int64_t kMaxPixels = std::int64_t{1} << 28;

// A surface the library could make, else none.
CairoSurface Usable(CairoSurface surface) {
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return nullptr;
  return surface;
}

CairoSurface NewSurface(int width, int height) {
  return Usable(CairoSurface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)));
}

// GDI draws opaque pixels; a new bitmap starts black (a monochrome one too: all zero bits).
void FillSurface(cairo_surface_t* surface, std::uint32_t argb) {
  cairo_surface_flush(surface);
  auto* data = reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(surface));
  int stride = cairo_image_surface_get_stride(surface) / 4;
  int w = cairo_image_surface_get_width(surface);
  int h = cairo_image_surface_get_height(surface);
  for (int y = 0; y < h; ++y) std::fill_n(data + static_cast<std::ptrdiff_t>(y) * stride, w, argb);
  cairo_surface_mark_dirty(surface);
}

std::uint32_t* SurfaceRow(cairo_surface_t* surface, int y) {
  auto* data = cairo_image_surface_get_data(surface);
  return reinterpret_cast<std::uint32_t*>(data +
                                          static_cast<std::ptrdiff_t>(y) * cairo_image_surface_get_stride(surface));
}

std::uint32_t Monochrome(std::uint32_t argb) {
  int r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
  // Nearer to white than to black by squared distance.
  int toBlack = r * r + g * g + b * b;
  int toWhite = (255 - r) * (255 - r) + (255 - g) * (255 - g) + (255 - b) * (255 - b);
  return toWhite < toBlack ? 0xFFFFFFFFu : 0xFF000000u;
}
}  // namespace

std::shared_ptr<Bitmap> Bitmap::CreateDevice(int width, int height, bool monochrome) {
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide || std::int64_t{width} * height > kMaxPixels) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto bitmap = std::shared_ptr<Bitmap>(new Bitmap());
  bitmap->width_ = width;
  bitmap->height_ = height;
  bitmap->monochrome_ = monochrome;
  bitmap->surface_ = NewSurface(width, height);
  if (!bitmap->surface_) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  FillSurface(bitmap->surface_.get(), 0xFF000000u);
  return bitmap;
}

std::shared_ptr<Bitmap> Bitmap::CreateDib(const DibFormat& format) {
  if (!format.Valid() || std::int64_t{format.Width()} * format.Height() > kMaxPixels) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto bitmap = std::shared_ptr<Bitmap>(new Bitmap());
  bitmap->width_ = format.Width();
  bitmap->height_ = format.Height();
  bitmap->dib_ = std::make_unique<DibFormat>(format);
  bitmap->bits_.reset(static_cast<std::uint8_t*>(std::calloc(format.ImageSize(), 1)));
  if (!bitmap->bits_) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  if (bitmap->SharesBits()) {
    bitmap->surface_ = Usable(CairoSurface(cairo_image_surface_create_for_data(
        bitmap->bits_.get(), CAIRO_FORMAT_ARGB32, bitmap->width_, bitmap->height_, format.Stride())));
  } else {
    bitmap->surface_ = NewSurface(bitmap->width_, bitmap->height_);
  }
  if (!bitmap->surface_) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  bitmap->LoadFromBits();
  return bitmap;
}

Bitmap::~Bitmap() = default;

int Bitmap::BitsPerPixel() const {
  if (dib_) return dib_->BitCount();
  return monochrome_ ? 1 : 32;
}

bool Bitmap::SharesBits() const {
  return dib_ && dib_->BitCount() == 32 && dib_->TopDown() && dib_->Masks()[0] == 0xFF0000 &&
         dib_->Masks()[1] == 0xFF00 && dib_->Masks()[2] == 0xFF;
}

bool Bitmap::RawWords() const { return dib_ && dib_->BitCount() == 32 && dib_->Header().biCompression == BI_RGB; }

void Bitmap::LoadFromBits() {
  if (!dib_ || SharesBits()) return;
  cairo_surface_flush(surface_.get());
  bool rawWords = RawWords();
  for (int y = 0; y < height_; ++y) {
    const std::uint8_t* src = dib_->Row(bits_.get(), y);
    std::uint32_t* dst = SurfaceRow(surface_.get(), y);
    if (rawWords) {
      std::memcpy(dst, src, static_cast<std::size_t>(width_) * 4);
      continue;
    }
    for (int x = 0; x < width_; ++x) dst[x] = dib_->Read(src, x);
  }
  cairo_surface_mark_dirty(surface_.get());
}

void Bitmap::Publish(const RECT& rect) {
  if (SharesBits() || (!dib_ && !monochrome_)) return;
  int left = std::max<LONG>(rect.left, 0), top = std::max<LONG>(rect.top, 0);
  int right = std::min<LONG>(rect.right, width_), bottom = std::min<LONG>(rect.bottom, height_);
  if (left >= right || top >= bottom) return;
  cairo_surface_flush(surface_.get());
  for (int y = top; y < bottom; ++y) {
    std::uint32_t* pixels = SurfaceRow(surface_.get(), y);
    if (dib_ && RawWords()) {
      std::memcpy(dib_->Row(bits_.get(), y) + 4 * left, pixels + left, static_cast<std::size_t>(right - left) * 4);
    } else if (dib_) {
      std::uint8_t* row = dib_->Row(bits_.get(), y);
      for (int x = left; x < right; ++x) {
        dib_->Write(row, x, pixels[x]);
        pixels[x] = dib_->Read(row, x);
      }
    } else {
      for (int x = left; x < right; ++x) pixels[x] = Monochrome(pixels[x]);
    }
  }
  cairo_surface_mark_dirty(surface_.get());
}

std::uint32_t Bitmap::Quantize(std::uint32_t argb) const {
  if (dib_) return dib_->Quantize(argb);
  return monochrome_ ? Monochrome(argb) : argb;
}

UINT Bitmap::SetColorTable(UINT start, UINT count, const RGBQUAD* colors) {
  if (!dib_ || !dib_->Indexed()) return 0;
  UINT set = dib_->SetColors(start, count, colors);
  if (set) LoadFromBits();
  return set;
}

UINT Bitmap::GetColorTable(UINT start, UINT count, RGBQUAD* colors) const {
  if (!dib_ || !dib_->Indexed() || !colors) return 0;
  const auto& table = dib_->Colors();
  if (start >= table.size()) return 0;
  UINT n = std::min<UINT>(count, static_cast<UINT>(table.size()) - start);
  std::copy_n(table.begin() + start, n, colors);
  return n;
}

int Bitmap::GetObjectData(int size, void* buffer) const {
  BITMAP bm;
  bm.bmWidth = width_;
  bm.bmHeight = height_;
  bm.bmPlanes = 1;
  bm.bmBitsPixel = static_cast<WORD>(BitsPerPixel());
  if (dib_) {
    bm.bmWidthBytes = dib_->Stride();
    bm.bmBits = bits_.get();
  } else {
    // Device-dependent rows are WORD aligned.
    bm.bmWidthBytes = ((width_ * bm.bmBitsPixel + 15) / 16) * 2;
  }
  int wanted =
      static_cast<int>(dib_ && size >= static_cast<int>(sizeof(DIBSECTION)) ? sizeof(DIBSECTION) : sizeof(BITMAP));
  if (!buffer) return wanted;
  if (size < static_cast<int>(sizeof(BITMAP))) return 0;
  if (wanted == static_cast<int>(sizeof(DIBSECTION))) {
    DIBSECTION ds;
    ds.dsBm = bm;
    ds.dsBmih = dib_->Header();
    std::copy_n(dib_->Masks(), 3, ds.dsBitfields);
    std::memcpy(buffer, &ds, sizeof ds);
  } else {
    std::memcpy(buffer, &bm, sizeof bm);
  }
  return wanted;
}

}  // namespace kestrel::platform
