#include "platform/gdiplus/TGPImage.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <mutex>
#include <vector>

#include "platform/gdiplus/ColorRamp.h"

namespace kestrel::platform {

namespace {

constexpr int kMaxSide = 32767;  // cairo's limit for image surfaces

struct ByteReader {
  const BYTE* data;
  std::size_t size;
  std::size_t offset = 0;
};

cairo_status_t ReadBytes(void* closure, unsigned char* out, unsigned int length) {
  auto* reader = static_cast<ByteReader*>(closure);
  if (reader->size - reader->offset < length) return CAIRO_STATUS_READ_ERROR;
  std::memcpy(out, reader->data + reader->offset, length);
  reader->offset += length;
  return CAIRO_STATUS_SUCCESS;
}

TStatus FromCairoStatus(cairo_status_t status) {
  switch (status) {
    case CAIRO_STATUS_SUCCESS: return Ok;
    case CAIRO_STATUS_NO_MEMORY: return OutOfMemory;
    default: return UnknownImageFormat;
  }
}

struct Decoders {
  std::mutex mutex;
  std::vector<ImageDecoder> list;
};

Decoders& RegisteredDecoders() {
  static Decoders decoders;
  return decoders;
}

}  // namespace

void TGPImage::AddDecoder(ImageDecoder decoder) {
  if (!decoder) return;
  auto& decoders = RegisteredDecoders();
  std::lock_guard lock(decoders.mutex);
  decoders.list.push_back(std::move(decoder));
}

TGPImage::TGPImage(const String& fileName) {
  std::ifstream file(Utf16ToUtf8(fileName), std::ios::binary);
  if (!file) {
    Remember(FileNotFound);
    return;
  }
  const std::vector<BYTE> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  Decode(bytes.data(), bytes.size());
}

void TGPImage::Decode(const BYTE* data, std::size_t size) {
  if (!data || size == 0) {
    Remember(InvalidParameter);
    return;
  }
  std::vector<ImageDecoder> decoders;
  {
    auto& registered = RegisteredDecoders();
    std::lock_guard lock(registered.mutex);
    decoders = registered.list;
  }
  for (const auto& decoder : decoders) {
    if (CairoSurface surface(decoder(data, size)); surface) {
      Adopt(std::move(surface));
      return;
    }
  }
  ByteReader reader{data, size};
  CairoSurface surface(cairo_image_surface_create_from_png_stream(ReadBytes, &reader));
  const TStatus status = FromCairoStatus(cairo_surface_status(surface.get()));
  if (status != Ok) {
    Remember(status);
    return;
  }
  Adopt(std::move(surface));
}

TGPImage::~TGPImage() = default;

std::unique_ptr<TGPImage> TGPImage::FromStream(const BYTE* data, std::size_t size) {
  std::unique_ptr<TGPImage> image(new TGPImage());
  image->Decode(data, size);
  return image;
}

void TGPImage::Adopt(CairoSurface surface) {
  surface_.reset();
  if (!surface || cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS ||
      cairo_surface_get_type(surface.get()) != CAIRO_SURFACE_TYPE_IMAGE) {
    Remember(InvalidParameter);
    return;
  }
  if (cairo_image_surface_get_format(surface.get()) == CAIRO_FORMAT_ARGB32) {
    surface_ = std::move(surface);
    return;
  }
  const int w = cairo_image_surface_get_width(surface.get()), h = cairo_image_surface_get_height(surface.get());
  surface_.reset(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h));
  CairoContext cr(cairo_create(surface_.get()));
  cairo_set_source_surface(cr.get(), surface.get(), 0, 0);
  cairo_paint(cr.get());
}

UINT TGPImage::GetWidth() const {
  return surface_ ? static_cast<UINT>(cairo_image_surface_get_width(surface_.get())) : 0;
}

UINT TGPImage::GetHeight() const {
  return surface_ ? static_cast<UINT>(cairo_image_surface_get_height(surface_.get())) : 0;
}

std::unique_ptr<TGPImage> TGPImage::Clone() const {
  std::unique_ptr<TGPImage> copy(new TGPImage());
  if (!surface_) {
    copy->Remember(InvalidParameter);
    return copy;
  }
  CairoSurface pixels(
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, static_cast<int>(GetWidth()), static_cast<int>(GetHeight())));
  {
    CairoContext cr(cairo_create(pixels.get()));
    cairo_set_source_surface(cr.get(), surface_.get(), 0, 0);
    cairo_set_operator(cr.get(), CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr.get());
  }
  copy->Adopt(std::move(pixels));
  return copy;
}

TGPBitmap::TGPBitmap(INT width, INT height) {
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) {
    Remember(width <= 0 || height <= 0 ? InvalidParameter : OutOfMemory);
    return;
  }
  CairoSurface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height));
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) {
    Remember(OutOfMemory);
    return;
  }
  Adopt(std::move(surface));
}

TGPBitmap::TGPBitmap(cairo_surface_t* surface) {
  Adopt(CairoSurface(surface ? cairo_surface_reference(surface) : nullptr));
}

TStatus TGPBitmap::GetPixel(INT x, INT y, ARGB* color) const {
  if (!color || !Surface() || x < 0 || y < 0 || x >= static_cast<INT>(GetWidth()) || y >= static_cast<INT>(GetHeight()))
    return Remember(InvalidParameter);
  cairo_surface_flush(Surface());
  const unsigned char* row = cairo_image_surface_get_data(Surface()) + y * cairo_image_surface_get_stride(Surface());
  *color = ColorRamp::Unpremultiply(reinterpret_cast<const std::uint32_t*>(row)[x]);
  return Ok;
}

TStatus TGPBitmap::SetPixel(INT x, INT y, ARGB color) {
  if (!Surface() || x < 0 || y < 0 || x >= static_cast<INT>(GetWidth()) || y >= static_cast<INT>(GetHeight()))
    return Remember(InvalidParameter);
  cairo_surface_flush(Surface());
  unsigned char* row = cairo_image_surface_get_data(Surface()) + y * cairo_image_surface_get_stride(Surface());
  reinterpret_cast<std::uint32_t*>(row)[x] = ColorRamp::Premultiply(color);
  cairo_surface_mark_dirty(Surface());
  return Ok;
}

}  // namespace kestrel::platform
