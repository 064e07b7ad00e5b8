// Writing the chunks: each class lays out its data as the file format wants it.

#include <zlib.h>

#include <algorithm>

#include "framework/Stream.h"
#include "imaging/PngChunks.h"
#include "imaging/PngErrors.h"
#include "imaging/PngHeader.h"
#include "imaging/PngImageData.h"
#include "imaging/PngObject.h"
#include "imaging/internal/PngChunkWriter.h"
#include "imaging/internal/PngIdatEncoder.h"

namespace kestrel {

bool TVnPNGChunk::SaveToStream(TStream& stream) {
  std::vector<std::uint8_t> bytes;
  PngChunkWriter out(bytes);
  WriteChunk(out);
  stream.WriteBuffer(bytes.data(), bytes.size());
  return true;
}

void TVnPNGChunk::WriteChunk(PngChunkWriter& out) { out.Chunk(fName, fData); }

void TVnPNGChunkIHDR::WriteChunk(PngChunkWriter& out) {
  if (ihdrData_.BitDepth == 2) {
    ihdrData_.BitDepth = 4;
    // The 4-bit pixels of 2-bit gray hold 5 x the sample; so must the transparent colour.
    if (ihdrData_.ColorType == COLOR_GRAYSCALE && fOwner)
      if (auto* trns = fOwner->Chunks().ItemFromClass<TVnPNGChunktRNS>()) trns->WidenTwoBitGraySample();
  }
  if (DibBitCount(ihdrData_.ColorType, ihdrData_.BitDepth) == 0)
    RaiseError<EVnPNGInvalidSpec>(PngMessages::InvalidSpec);
  std::vector<std::uint8_t> data;
  AppendBigEndian32(data, ihdrData_.Width);
  AppendBigEndian32(data, ihdrData_.Height);
  data.push_back(ihdrData_.BitDepth);
  data.push_back(ihdrData_.ColorType);
  data.push_back(0);  // compression: deflate
  data.push_back(0);  // filter method: adaptive
  data.push_back(fOwner && fOwner->InterlaceMethod() == imAdam7 ? 1 : 0);
  out.Chunk("IHDR", data);
}

void TVnPNGChunkIDAT::WriteChunk(PngChunkWriter& out) {
  TVnPNGChunkIHDR* header = Header();
  if (!header || !fOwner) RaiseError<EVnPNGHeaderNotPresent>(PngMessages::HeaderNotPresent);
  PngIdatEncoder(*header, *fOwner).Encode(out);
}

void TVnPNGChunkPLTE::WriteChunk(PngChunkWriter& out) {
  TVnPNGChunkIHDR* header = Header();
  if (!header || !fOwner) RaiseError<EVnPNGHeaderNotPresent>(PngMessages::HeaderNotPresent);
  int count = count_ > 0 ? count_ : header->PaletteCount();
  count = std::clamp(count, 1, std::max(1, header->PaletteCount()));
  const auto& inverse = fOwner->InverseGamma;
  std::vector<std::uint8_t> data;
  for (int i = 0; i < count; ++i) {
    const PngRGBQuad& q = header->Palette()[static_cast<std::size_t>(i)];
    data.push_back(inverse[q.rgbRed]);
    data.push_back(inverse[q.rgbGreen]);
    data.push_back(inverse[q.rgbBlue]);
  }
  out.Chunk("PLTE", data);
}

void TVnPNGChunktRNS::SetDataSize(std::size_t count) {
  count = std::min<std::size_t>(count, 256);
  fData.assign(paletteValues_.begin(), paletteValues_.begin() + static_cast<std::ptrdiff_t>(count));
}

void TVnPNGChunktRNS::WidenTwoBitGraySample() {
  if (fData.size() < 2) return;
  const unsigned sample = (fData[1] & 0x03u) * 5;
  fData[0] = 0;
  fData[1] = static_cast<std::uint8_t>(sample);
  paletteValues_[0] = fData[0];
  paletteValues_[1] = fData[1];
}

void TVnPNGChunktRNS::WriteChunk(PngChunkWriter& out) {
  std::vector<std::uint8_t> data(
      paletteValues_.begin(),
      paletteValues_.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(fData.size(), 256)));
  // Pixels keep only the high byte of 16-bit samples and are written as v * 257 (the low byte a
  // copy of the high one); the transparent colour must be written the same way to match them.
  const TVnPNGChunkIHDR* header = Header();
  const bool keyColor = header && (header->ColorType() == COLOR_GRAYSCALE || header->ColorType() == COLOR_RGB);
  if (keyColor && header->BitDepth() == 16)
    for (std::size_t i = 1; i < data.size(); i += 2) data[i] = data[i - 1];
  out.Chunk("tRNS", data);
}

void TVnPNGChunkgAMA::WriteChunk(PngChunkWriter& out) {
  std::vector<std::uint8_t> data;
  AppendBigEndian32(data, gamma_);
  out.Chunk("gAMA", data);
}

void TVnPNGChunkpHYs::WriteChunk(PngChunkWriter& out) {
  std::vector<std::uint8_t> data;
  AppendBigEndian32(data, ppUnitX_);
  AppendBigEndian32(data, ppUnitY_);
  data.push_back(unitType_ == utMeter ? 1 : 0);
  out.Chunk("pHYs", data);
}

void TVnPNGChunktIME::WriteChunk(PngChunkWriter& out) {
  std::vector<std::uint8_t> data;
  AppendBigEndian16(data, Year);
  for (std::uint8_t v : {Month, Day, Hour, Minute, Second}) data.push_back(v);
  out.Chunk("tIME", data);
}

namespace {

std::vector<std::uint8_t> KeywordPrefix(const AnsiString& keyword) {
  std::vector<std::uint8_t> data(keyword.begin(), keyword.end());
  data.push_back(0);
  return data;
}

}  // namespace

void TVnPNGChunkTEXT::WriteChunk(PngChunkWriter& out) {
  std::vector<std::uint8_t> data = KeywordPrefix(keyword_);
  data.insert(data.end(), text_.begin(), text_.end());
  out.Chunk("tEXt", data);
}

void TVnPNGChunkzTXT::WriteChunk(PngChunkWriter& out) {
  std::vector<std::uint8_t> data = KeywordPrefix(keyword_);
  data.push_back(0);  // compression method: deflate
  const AnsiString text = text_.empty() ? AnsiString(" ") : text_;
  const int level = fOwner ? fOwner->CompressionLevel() : Z_DEFAULT_COMPRESSION;
  uLongf size = compressBound(static_cast<uLong>(text.size()));
  std::vector<std::uint8_t> packed(size);
  int result = compress2(packed.data(), &size, reinterpret_cast<const Bytef*>(text.data()),
                         static_cast<uLong>(text.size()), level);
  if (result != Z_OK) RaiseZLibError(result);
  data.insert(data.end(), packed.begin(), packed.begin() + static_cast<std::ptrdiff_t>(size));
  out.Chunk("zTXt", data);
}

}  // namespace kestrel
