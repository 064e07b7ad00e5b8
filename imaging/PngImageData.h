#pragma once
// The image data chunk. Reading it inflates the zlib stream (continued across consecutive IDAT
// chunks), reverses the row filters and converts each row into the header's image.

#include "imaging/PngChunk.h"

namespace kestrel {

class TVnPNGChunkIDAT : public TVnPNGChunk {
 public:
  KESTREL_PNG_CHUNK_NAME("IDAT")
  using TVnPNGChunk::TVnPNGChunk;
  bool LoadFromStream(PngChunkReader& reader, const std::string& chunkName, std::uint32_t size) override;
  // Encodes the header's image into as many IDAT chunks as MaxIdatSize asks for.
  void WriteChunk(PngChunkWriter& out) override;
  // How many image rows (pass rows for interlaced images) the last load decoded.
  std::uint32_t RowsDecoded() const { return rowsDecoded_; }

 private:
  std::uint32_t rowsDecoded_ = 0;
};

}  // namespace kestrel
