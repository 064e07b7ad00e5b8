// Writing files and the alpha tools of the PNG image.

#include <cstring>

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
      ReleaseCanvas();
      header->Reshape(COLOR_GRAYSCALEALPHA, header->BitDepth() < 8 ? 8 : header->BitDepth(), header->Width(),
                      header->Height());
      break;
    case COLOR_RGB:
      ReleaseCanvas();
      header->Reshape(COLOR_RGBALPHA, header->BitDepth(), header->Width(), header->Height());
      break;
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
