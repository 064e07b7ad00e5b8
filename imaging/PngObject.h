#pragma once
// A Portable Network Graphics image: the file's chunks in order and the decoded image the header
// chunk holds. The graphic class pictures use for the extension "PNG".

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "framework/Graphic.h"
#include "imaging/PngChunks.h"
#include "imaging/PngErrors.h"
#include "imaging/PngHeader.h"
#include "imaging/PngImageData.h"
#include "imaging/PngList.h"
#include "imaging/PngSource.h"
#include "platform/core/Unicode.h"
#include "platform/core/WinTypes.h"

namespace kestrel {

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
  // Writing PNG files is not available: raises EInvalidGraphicOperation rather than writing a
  // file that would not hold the image.
  void SaveToStream(TStream& stream) const override;

  // The header's size; 0 for an empty image.
  int Width() const override;
  int Height() const override;
  bool Empty() const override;
  // Changing the canvas size is not available: raises EInvalidGraphicOperation.
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
  std::size_t TextBudget() const { return fTextBudget; }
  void SpendTextBudget(std::size_t bytes) { fTextBudget -= std::min(bytes, fTextBudget); }
  // Recomputes the gamma tables for a gAMA value (100000 x gamma).
  void ApplyGamma(std::uint32_t gamma);

  std::array<std::uint8_t, 256> GammaTable{};
  std::array<std::uint8_t, 256> InverseGamma{};
  // Set while an image is being built; lifts the IHDR/IEND requirement of TVnPNGList::Add.
  bool BeingCreated = false;

 private:
  void ReadChunks(PngChunkReader& reader);
  void DrawPartial(platform::HDC dc, const TRect& rect);

  TVnPNGList fChunkList;
  TFilters fFilters{pfSub};
  TCompressionLevel fCompressionLevel = 7;
  int fMaxIdatSize = 65535;
  TInterlaceMethod fInterlaceMethod = imNone;
  std::size_t fTextBudget = TVnPNGChunkzTXT::kMaxInflatedText;
};

}  // namespace kestrel
