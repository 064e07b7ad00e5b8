// Writing files and the alpha tools of the PNG image.

#include <cstring>
#include <vector>

#include "framework/Stream.h"
#include "imaging/PngObject.h"
#include "imaging/internal/PngChunkWriter.h"

namespace kestrel {

std::vector<std::uint8_t> TVnPNGObject::SaveToBytes() const {
  // A file without its header (an empty image) would be no PNG file at all.
  if (Empty()) RaiseError<EVnPNGHeaderNotPresent>(PngMessages::HeaderNotPresent);
  std::vector<std::uint8_t> bytes;
  PngChunkWriter out(bytes);
  out.Signature();
  for (int i = 0; i < fChunkList.Count(); ++i) fChunkList.Item(i)->WriteChunk(out);
  return bytes;
}

void TVnPNGObject::SaveToStream(TStream& stream) const {
  const std::vector<std::uint8_t> bytes = SaveToBytes();
  stream.WriteBuffer(bytes.data(), bytes.size());
}

void TVnPNGObject::CreateAlpha() {
  TVnPNGChunkIHDR* header = Header();
  switch (header->ColorType()) {
    case COLOR_GRAYSCALE:
    case COLOR_RGB: {
      // An alpha channel and a tRNS chunk do not go together: the transparent colour's pixels
      // become transparent in the alpha plane instead.
      const std::vector<bool> keyed = TransparentPixels();
      ReleaseCanvas();
      if (header->ColorType() == COLOR_RGB)
        header->Reshape(COLOR_RGBALPHA, header->BitDepth(), header->Width(), header->Height());
      else
        header->Reshape(COLOR_GRAYSCALEALPHA, header->BitDepth() < 8 ? 8 : header->BitDepth(), header->Width(),
                        header->Height());
      if (auto* trns = fChunkList.ItemFromClass<TVnPNGChunktRNS>()) fChunkList.RemoveChunk(trns);
      for (std::size_t i = 0; i < keyed.size(); ++i)
        if (keyed[i]) header->ImageAlpha()[i] = 0;
      break;
    }
    case COLOR_PALETTE: {
      auto* trns = fChunkList.ItemFromClass<TVnPNGChunktRNS>();
      if (!trns) trns = fChunkList.Add<TVnPNGChunktRNS>();
      trns->PaletteValues().fill(255);
      trns->SetDataSize(std::size_t{1} << header->BitDepth());
      trns->SetBitTransparency(false);
      break;
    }
    default: break;
  }
}

std::vector<bool> TVnPNGObject::TransparentPixels() const {
  std::vector<bool> keyed;
  if (TransparencyMode() != ptmBit || Empty()) return keyed;
  const platform::COLORREF key = TransparentColor();
  keyed.resize(static_cast<std::size_t>(Width()) * Height());
  for (int y = 0; y < Height(); ++y)
    for (int x = 0; x < Width(); ++x) keyed[static_cast<std::size_t>(y) * Width() + x] = GetPixelColor(x, y) == key;
  return keyed;
}

void TVnPNGObject::RemoveTransparency() {
  TVnPNGChunkIHDR* header = Header();
  switch (header->ColorType()) {
    case COLOR_GRAYSCALE:
    case COLOR_RGB:
    case COLOR_PALETTE:
      if (auto* trns = fChunkList.ItemFromClass<TVnPNGChunktRNS>()) fChunkList.RemoveChunk(trns);
      break;
    case COLOR_GRAYSCALEALPHA:
    case COLOR_RGBALPHA:
      ReleaseCanvas();
      header->Reshape(header->ColorType() == COLOR_RGBALPHA ? COLOR_RGB : COLOR_GRAYSCALE, header->BitDepth(),
                      header->Width(), header->Height());
      break;
    default: break;
  }
}

}  // namespace kestrel
