#pragma once
// Images: TGPImage holds decoded pixels in a cairo ARGB32 surface (premultiplied, as cairo keeps
// them); TGPBitmap adds construction from a size or from pixels and per-pixel access. Decoding
// here covers PNG; other formats arrive as pixels through TGPBitmap(surface).

#include <cairo.h>

#include <cstddef>
#include <memory>

#include "platform/core/Unicode.h"
#include "platform/gdiplus/GdiPlusTypes.h"

namespace kestrel::platform {

class TGPImage {
 public:
  // Loads a PNG file; failures show in GetLastStatus (FileNotFound, UnknownImageFormat).
  explicit TGPImage(const String& fileName);
  TGPImage(const TGPImage&) = delete;
  TGPImage& operator=(const TGPImage&) = delete;
  virtual ~TGPImage();

  // Decodes PNG bytes; never null, check GetLastStatus.
  static std::unique_ptr<TGPImage> FromStream(const BYTE* data, std::size_t size);

  TStatus GetLastStatus() const;
  UINT GetWidth() const;
  UINT GetHeight() const;
  std::unique_ptr<TGPImage> Clone() const;
  // The pixels, or null for an image that failed to load.
  cairo_surface_t* Surface() const { return surface_; }

 protected:
  TGPImage() = default;
  // Takes over `surface` (an image surface), converting it to ARGB32 when needed.
  void Adopt(cairo_surface_t* surface);
  TStatus Remember(TStatus status) const;

 private:
  cairo_surface_t* surface_ = nullptr;
  mutable TStatus lastStatus_ = Ok;
};

class TGPBitmap : public TGPImage {
 public:
  // A transparent bitmap; sizes must be 1..32767.
  TGPBitmap(INT width, INT height);
  // Shares `surface` (a new reference is taken); non-ARGB32 surfaces are copied into ARGB32.
  explicit TGPBitmap(cairo_surface_t* surface);

  TStatus GetPixel(INT x, INT y, ARGB* color) const;
  TStatus SetPixel(INT x, INT y, ARGB color);
};

}  // namespace kestrel::platform
