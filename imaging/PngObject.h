#pragma once
// A Portable Network Graphics image: the file's chunks in order and the decoded image the header
// chunk holds. The graphic class pictures use for the extension "PNG".

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/Canvas.h"
#include "framework/Graphic.h"
#include "imaging/PngChunks.h"
#include "imaging/PngErrors.h"
#include "imaging/PngHeader.h"
#include "imaging/PngImageData.h"
#include "imaging/PngList.h"
#include "imaging/PngSource.h"
#include "platform/core/Unicode.h"
#include "platform/core/WinTypes.h"
#include "platform/gdi/OwnedGdi.h"

namespace kestrel {

class TBitmap;

enum TFilter { pfNone, pfSub, pfUp, pfAverage, pfPaeth };
// A set of TFilter values, one bit each.
struct TFilters {
  std::uint8_t bits = 0;
  TFilters() = default;
  TFilters(std::initializer_list<TFilter> filters) {
    for (TFilter f : filters) bits |= static_cast<std::uint8_t>(1u << f);
  }
  bool Contains(TFilter f) const { return (bits >> f) & 1u; }
  bool operator==(const TFilters&) const = default;
};
using TCompressionLevel = int;  // 0..9
enum TInterlaceMethod { imNone, imAdam7 };
enum TVnPNGTransparencyMode { ptmNone, ptmBit, ptmPartial };

class TVnPNGObject : public TGraphic {
  KESTREL_CLASS(TVnPNGObject)
  TVnPNGObject();
  ~TVnPNGObject() override;
  TVnPNGObject(const TVnPNGObject&) = delete;
  TVnPNGObject& operator=(const TVnPNGObject&) = delete;

  // Another PNG image: its settings, gamma tables and a copy of every chunk (the decoded image
  // with them). Other sources are refused as by any persistent object.
  void Assign(const TPersistent* source) override;
  using TPersistent::Assign;

  // Reads a PNG file from the source's current position, replacing the current content, and
  // raises OnChange when that succeeded. On failure the chunks read so far stay in the list, but
  // the decoded image is dropped, so the object reports itself empty instead of drawing a
  // half-made image.
  void LoadFromSource(PngSource& source);
  void LoadFromStream(TStream& stream) override;
  void LoadFromMemory(const void* data, std::size_t size);
  // Reads the file from a built-in RCDATA resource; a missing one raises
  // EVnPNGCouldNotLoadResource. Resources are the program's own, whatever the instance.
  void LoadFromResourceName(platform::HINSTANCE instance, const String& name);
  void LoadFromResourceID(platform::HINSTANCE instance, int resId);
  // Writes the signature and every chunk in list order. The file is built whole before it goes
  // to the stream, so a failure leaves the stream untouched.
  void SaveToStream(TStream& stream) const override;
  std::vector<std::uint8_t> SaveToBytes() const;

  // Gray and RGB images get an alpha plane (255 everywhere but 0 where the tRNS colour was, the
  // tRNS chunk going; gray below 8 bits widens to 8, as PNG has no gray + alpha below 8 bits);
  // palette images an opaque tRNS of 2^depth entries. A failure leaves the image as it was.
  void CreateAlpha();
  // Drops the tRNS chunk, or the alpha plane of gray + alpha and RGB + alpha images.
  void RemoveTransparency();

  // ---- creation, conversion and editing ----
  // Replaces the content with a blank image (pixels and alpha zero): IHDR, PLTE for palette
  // images, IDAT and IEND. Invalid colour type and depth pairs (including alpha types below 8
  // bits) and sizes outside 1..65535 raise EVnPNGInvalidSpec. A depth of 2 is held as 4.
  void CreateBlank(std::uint8_t colorType, std::uint8_t bitDepth, int cx, int cy);
  // Into another PNG image, or a bitmap (24 bits; 32 with alpha for images with an alpha channel
  // or a partial palette transparency; the transparent colour for bit transparency).
  void AssignTo(TPersistent* dest) const override;
  // Takes a platform bitmap: below 16 bits as a palette image of that depth, 32 bits as RGB +
  // alpha (the bitmap's alpha when any of it is set, else opaque), others as RGB. With
  // `transparent`, `transparentColor` becomes the transparent colour (palette and RGB images).
  void AssignHandle(platform::HBITMAP handle, bool transparent, platform::COLORREF transparentColor);
  // Sets the bit-transparency colour of gray, RGB and palette images (samples scaled to the bit
  // depth; a palette colour that no entry has changes nothing). Alpha images raise
  // EVnPNGCannotChangeTransparent.
  void SetTransparentColor(platform::COLORREF color);
  // A new canvas size without scaling, the picture kept in the top-left corner; new pixels are
  // zero, new alpha opaque. Sizes below 1 raise EVnPNGInvalidNewSize.
  void Resize(int cx, int cy);
  // Copies the `source` rectangle of `png` to this image with its top-left corner at `dest`'s,
  // clipped to both images. The images' bit depths must match (else EVnPNGDifferentBitDepth) and
  // the source must fit this image (else EVnPNGInvalidSourceSize). Alpha goes along when both
  // have it; pixels that come from an image without alpha get alpha 255.
  void CopyRect(const TRect& dest, const TVnPNGObject& png, const TRect& source);
  // Copies the alpha plane of `png` into this image's at `dest`'s top-left corner, clipped. Both
  // need an alpha plane (else EVnPNGDifferentBitDepth); `png` must fit (else EVnPNGInvalidSourceSize).
  void MaskRect(const TRect& dest, const TVnPNGObject& png);
  // Rotates an RGB + alpha image by `angle` degrees (clockwise on screen) into its bounding size;
  // uncovered pixels are transparent. `newCenter` receives where `oldCenter` lands. Other colour
  // types are left as they are.
  void Rotate(double angle, const TPoint& oldCenter, TPoint& newCenter);
  // Draws at the physical size the pHYs chunk records (the screen's pixels per metre against the
  // file's); without usable pixel information (no chunk, or a zero density) at the image's size.
  void DrawUsingPixelInformation(TCanvas* canvas, const TPoint& point);

  // A canvas on the decoded image (made on first use; valid until the image is re-made).
  TCanvas* Canvas();
  // A palette object with the image's colour table; null for RGB images. Owned by the image and
  // valid until the next call.
  platform::HPALETTE Palette();
  // The image drawn onto a bitmap of its size, put on the clipboard as a DIB; and a DIB from the
  // clipboard taken as an opaque image. Loading raises EInvalidGraphic when there is none.
  void SaveToClipboardFormat() const;
  void LoadFromClipboardFormat();

  // The header's size; 0 for an empty image.
  int Width() const override;
  int Height() const override;
  bool Empty() const override;
  // Resize with the other side kept.
  void SetWidth(int value) override;
  void SetHeight(int value) override;

  // Draws the image scaled into `rect` by its transparency mode: a plain copy, a copy without
  // the pixels of the transparent colour, or per-pixel alpha blending over what the canvas
  // shows. Nothing for an empty image or a null canvas.
  void Draw(TCanvas* canvas, const TRect& rect) override;
  // At the image's own size with its top-left corner at (x, y).
  void DrawAt(TCanvas* canvas, int x, int y);
  // The header chunk; raises EVnPNGHeaderNotPresent when there is none.
  TVnPNGChunkIHDR* Header() const;
  TVnPNGList& Chunks() { return fChunkList; }
  const TVnPNGList& Chunks() const { return fChunkList; }

  TVnPNGTransparencyMode TransparencyMode() const;
  platform::COLORREF TransparentColor() const;
  // The pHYs chunk, added (unit metre) when absent.
  TVnPNGChunkpHYs* PixelInformation();
  bool HasPixelInformation() const;

  TInterlaceMethod InterlaceMethod() const { return fInterlaceMethod; }
  void SetInterlaceMethod(TInterlaceMethod value) { fInterlaceMethod = value; }
  TFilters Filters() const { return fFilters; }
  void SetFilters(TFilters value) { fFilters = value; }
  TCompressionLevel CompressionLevel() const { return fCompressionLevel; }
  void SetCompressionLevel(TCompressionLevel value);
  int MaxIdatSize() const { return fMaxIdatSize; }
  void SetMaxIdatSize(int value);

  // Single pixels as platform colours; rows are image rows (top first). Outside the image reading
  // gives 0 and writing does nothing. Palette and gray images show their colour table entry (gamma
  // applied) and store the nearest entry; gray + alpha reads and writes the raw gray sample; RGB
  // reads and writes the DIB's channels. The alpha plane is not touched.
  platform::COLORREF GetPixelColor(int x, int y) const;
  void SetPixelColor(int x, int y, platform::COLORREF color);

  void AddtEXt(const AnsiString& keyword, const AnsiString& text);
  void AddzTXt(const AnsiString& keyword, const AnsiString& text);

  // Empties the chunk list and resets both gamma tables to identity.
  void ClearChunks();
  // What compressed text chunks may still inflate to while this file is read.
  std::size_t TextBudget() const { return textBudget_; }
  void SpendTextBudget(std::size_t bytes) { textBudget_ -= std::min(bytes, textBudget_); }
  // Recomputes the gamma tables for a gAMA value (100000 x gamma).
  void ApplyGamma(std::uint32_t gamma);

  std::array<std::uint8_t, 256> GammaTable{};
  std::array<std::uint8_t, 256> InverseGamma{};
  // Set while an image is being built; lifts the IHDR/IEND requirement of TVnPNGList::Add.
  bool BeingCreated = false;

 private:
  void ReadChunks(PngChunkReader& reader);
  void ReleaseCanvas();
  // Per pixel (rows top first), whether it shows the bit-transparency colour; empty without one.
  std::vector<bool> TransparentPixels() const;
  void AssignToBitmap(TBitmap& bitmap) const;
  void AssignPixels(int width, int height, int bitsPerPixel, const std::uint8_t* bgra, bool transparent,
                    platform::COLORREF transparentColor);
  void DrawPartial(platform::HDC dc, const TRect& rect);

  TVnPNGList fChunkList;
  TFilters fFilters{pfSub};
  TCompressionLevel fCompressionLevel = 7;
  int fMaxIdatSize = 65535;
  TInterlaceMethod fInterlaceMethod = imNone;
  std::size_t textBudget_ = TVnPNGChunkzTXT::kMaxInflatedText;
  std::unique_ptr<TCanvas> fCanvas;
  platform::OwnedGdiObject<platform::HPALETTE> paletteHandle_;
};

}  // namespace kestrel
