#pragma once
// Images: TGPImage holds decoded pixels in a cairo ARGB32 surface (premultiplied, as cairo keeps
// them); TGPBitmap adds construction from a size or from pixels and per-pixel access. PNG is
// decoded here; layers above add decoders for other formats with AddDecoder.

#include <cairo.h>

#include <cstddef>
#include <functional>
#include <memory>

#include "platform/core/OwnedHandles.h"
#include "platform/core/Unicode.h"
#include "platform/gdiplus/GdiPlusTypes.h"

namespace kestrel::platform {

// A decoder returns a new image surface for bytes in its format, or null for other bytes.
using ImageDecoder = std::function<cairo_surface_t*(const BYTE* data, std::size_t size)>;

class TGPImage : public StatusKeeper {
 public:
  // Loads an image file; failures show in GetLastStatus (FileNotFound, UnknownImageFormat).
  explicit TGPImage(const String& fileName);
  TGPImage(const TGPImage&) = delete;
  TGPImage& operator=(const TGPImage&) = delete;
  virtual ~TGPImage();

  // Decodes the bytes of an image file; never null, check GetLastStatus.
  static std::unique_ptr<TGPImage> FromStream(const BYTE* data, std::size_t size);
  // Decoders are tried in the order added, before the built-in PNG decoder.
  static void AddDecoder(ImageDecoder decoder);

  UINT GetWidth() const;
  UINT GetHeight() const;
  std::unique_ptr<TGPImage> Clone() const;
  // The pixels, or null for an image that failed to load.
  cairo_surface_t* Surface() const { return surface_.get(); }

 protected:
  TGPImage() = default;
  // Takes over `surface` (an image surface), converting it to ARGB32 when needed.
  void Adopt(CairoSurface surface);
  void Decode(const BYTE* data, std::size_t size);

 private:
  CairoSurface surface_;
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
