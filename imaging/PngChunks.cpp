#include "imaging/PngChunks.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "imaging/PngErrors.h"
#include "imaging/PngHeader.h"
#include "imaging/PngObject.h"

namespace kestrel {

using platform::COLORREF;
using platform::RGB;

namespace {

COLORREF QuadColor(const PngRGBQuad& q) { return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue); }

// Loads the raw data; false when the chunk's CRC failed (an ancillary chunk that is then dropped).
bool LoadRaw(TVnPNGChunk& chunk, PngChunkReader& reader, const std::string& name, std::uint32_t size) {
  chunk.TVnPNGChunk::LoadFromStream(reader, name, size);
  return chunk.CrcValid();
}

}  // namespace

// --- PLTE -------------------------------------------------------------------------------------

bool TVnPNGChunkPLTE::LoadFromStream(PngChunkReader& reader, const std::string& chunkName, std::uint32_t size) {
  LoadRaw(*this, reader, chunkName, size);
  if (fData.size() % 3 != 0 || fData.size() / 3 > 256) RaiseError<EVnPNGInvalidPalette>(PngMessages::InvalidPalette);
  count_ = static_cast<int>(fData.size() / 3);
  TVnPNGChunkIHDR* header = Header();
  // Only palette images take the colours; for RGB images a PLTE is merely a suggestion.
  if (header && header->Prepared() && header->ColorType() == COLOR_PALETTE) {
    const auto& gamma = fOwner->GammaTable;
    std::array<PngRGBQuad, 256> entries{};
    for (int i = 0; i < count_; ++i) {
      const std::uint8_t* rgb = fData.data() + 3 * i;
      entries[i] = {gamma[rgb[2]], gamma[rgb[1]], gamma[rgb[0]], 0};
    }
    // Indices past the PLTE keep the colours the image started with.
    std::array<PngRGBQuad, 256> merged = header->Palette();
    std::copy(entries.begin(), entries.begin() + count_, merged.begin());
    header->SetPalette(merged.data(), 256);
  }
  return true;
}

void TVnPNGChunkPLTE::Assign(const TVnPNGChunk& source) {
  TVnPNGChunk::Assign(source);
  count_ = static_cast<const TVnPNGChunkPLTE&>(source).count_;
}

COLORREF TVnPNGChunkPLTE::Item(int index) const {
  TVnPNGChunkIHDR* header = Header();
  if (index < 0 || index >= count_ || !header || index >= header->PaletteCount())
    RaiseError<EVnPNGError>(PngMessages::NoSuchPaletteEntry);
  return QuadColor(header->Palette()[static_cast<std::size_t>(index)]);
}

// --- tRNS -------------------------------------------------------------------------------------

bool TVnPNGChunktRNS::LoadFromStream(PngChunkReader& reader, const std::string& chunkName, std::uint32_t size) {
  if (!LoadRaw(*this, reader, chunkName, size)) return true;
  if (fData.size() > 256) RaiseError<EVnPNGInvalidPalette>(PngMessages::InvalidPalette);
  paletteValues_.fill(255);
  std::copy(fData.begin(), fData.end(), paletteValues_.begin());
  bitTransparency_ = false;
  TVnPNGChunkIHDR* header = Header();
  if (!header || !Usable()) return true;
  if (header->ColorType() == COLOR_GRAYSCALE || header->ColorType() == COLOR_RGB) {
    bitTransparency_ = true;
  } else if (header->ColorType() == COLOR_PALETTE) {
    // One fully transparent entry is a transparent colour; anything else needs blending.
    int differing = 0;
    bool zero = false;
    for (std::uint8_t v : fData) {
      if (v != 255) {
        ++differing;
        zero = v == 0;
      }
    }
    bitTransparency_ = differing == 1 && zero;
  }
  return true;
}

void TVnPNGChunktRNS::Assign(const TVnPNGChunk& source) {
  TVnPNGChunk::Assign(source);
  const auto& other = static_cast<const TVnPNGChunktRNS&>(source);
  paletteValues_ = other.paletteValues_;
  bitTransparency_ = other.bitTransparency_;
}

bool TVnPNGChunktRNS::Usable() const {
  TVnPNGChunkIHDR* header = Header();
  if (!header || !crcValid_) return false;
  switch (header->ColorType()) {
    case COLOR_GRAYSCALE: return fData.size() >= 2;
    case COLOR_RGB: return fData.size() >= 6;
    case COLOR_PALETTE: return true;
    default: return false;
  }
}

COLORREF TVnPNGChunktRNS::TransparentColor() const {
  TVnPNGChunkIHDR* header = Header();
  if (!header || !header->Prepared() || !Usable()) return 0;
  // Pixels keep the high byte of 16-bit samples, so the key colour must too.
  const std::size_t byte = header->BitDepth() == 16 ? 0 : 1;
  switch (header->ColorType()) {
    case COLOR_GRAYSCALE: {
      unsigned index = fData[byte];
      int depth = header->BitDepth();
      if (depth < 8) index &= (1u << depth) - 1;
      if (depth == 2) index *= 5;
      return QuadColor(header->Palette()[index & 0xFF]);
    }
    case COLOR_RGB: {
      const auto& gamma = fOwner->GammaTable;
      return RGB(gamma[fData[byte]], gamma[fData[2 + byte]], gamma[fData[4 + byte]]);
    }
    case COLOR_PALETTE:
      for (std::size_t i = 0; i < fData.size(); ++i)
        if (fData[i] == 0) return QuadColor(header->Palette()[i]);
      return 0;
    default: return 0;
  }
}

// --- gAMA -------------------------------------------------------------------------------------

bool TVnPNGChunkgAMA::LoadFromStream(PngChunkReader& reader, const std::string& chunkName, std::uint32_t size) {
  if (!LoadRaw(*this, reader, chunkName, size) || fData.size() < 4) return true;
  gamma_ = ReadBigEndian32(fData.data());
  if (gamma_ != 0 && fOwner) fOwner->ApplyGamma(gamma_);
  return true;
}

void TVnPNGChunkgAMA::Assign(const TVnPNGChunk& source) {
  TVnPNGChunk::Assign(source);
  gamma_ = static_cast<const TVnPNGChunkgAMA&>(source).gamma_;
}

// --- pHYs -------------------------------------------------------------------------------------

bool TVnPNGChunkpHYs::LoadFromStream(PngChunkReader& reader, const std::string& chunkName, std::uint32_t size) {
  if (!LoadRaw(*this, reader, chunkName, size) || fData.size() < 9) return true;
  ppUnitX_ = ReadBigEndian32(fData.data());
  ppUnitY_ = ReadBigEndian32(fData.data() + 4);
  unitType_ = fData[8] == 1 ? utMeter : utUnknown;
  return true;
}

void TVnPNGChunkpHYs::Assign(const TVnPNGChunk& source) {
  TVnPNGChunk::Assign(source);
  const auto& other = static_cast<const TVnPNGChunkpHYs&>(source);
  ppUnitX_ = other.ppUnitX_;
  ppUnitY_ = other.ppUnitY_;
  unitType_ = other.unitType_;
}

// --- tIME -------------------------------------------------------------------------------------

bool TVnPNGChunktIME::LoadFromStream(PngChunkReader& reader, const std::string& chunkName, std::uint32_t size) {
  if (!LoadRaw(*this, reader, chunkName, size) || fData.size() != 7) return true;
  Year = ReadBigEndian16(fData.data());
  Month = fData[2];
  Day = fData[3];
  Hour = fData[4];
  Minute = fData[5];
  Second = fData[6];
  return true;
}

void TVnPNGChunktIME::Assign(const TVnPNGChunk& source) {
  TVnPNGChunk::Assign(source);
  const auto& other = static_cast<const TVnPNGChunktIME&>(source);
  Year = other.Year;
  Month = other.Month;
  Day = other.Day;
  Hour = other.Hour;
  Minute = other.Minute;
  Second = other.Second;
}

// --- tEXt, zTXt -------------------------------------------------------------------------------

namespace {

// Splits "keyword NUL rest"; returns the offset of the rest (the end when there is no NUL).
std::size_t SplitKeyword(const std::vector<std::uint8_t>& data, AnsiString& keyword) {
  auto zero = std::find(data.begin(), data.end(), 0);
  keyword.assign(data.begin(), zero);
  return zero == data.end() ? data.size() : static_cast<std::size_t>(zero - data.begin()) + 1;
}

// Inflates a compressed text, refusing to grow beyond `limit` bytes.
AnsiString InflateText(const std::uint8_t* data, std::size_t size, std::size_t limit) {
  z_stream z{};
  int result = inflateInit(&z);
  if (result != Z_OK) RaiseZLibError(result);
  AnsiString text;
  char block[16384];
  z.next_in = const_cast<Bytef*>(data);
  z.avail_in = static_cast<uInt>(size);
  for (;;) {
    z.next_out = reinterpret_cast<Bytef*>(block);
    z.avail_out = sizeof block;
    result = inflate(&z, Z_NO_FLUSH);
    std::size_t produced = sizeof block - z.avail_out;
    if (text.size() + produced > limit) {
      inflateEnd(&z);
      RaiseError<EVnPNGOutMemory>(PngMessages::OutMemory);
    }
    text.append(block, produced);
    if (result == Z_STREAM_END || (result == Z_BUF_ERROR && z.avail_in == 0)) break;
    if (result != Z_OK && result != Z_BUF_ERROR) {
      inflateEnd(&z);
      RaiseZLibError(result);
    }
  }
  inflateEnd(&z);
  return text;
}

}  // namespace

bool TVnPNGChunkTEXT::LoadFromStream(PngChunkReader& reader, const std::string& chunkName, std::uint32_t size) {
  if (!LoadRaw(*this, reader, chunkName, size) || fData.size() <= 2) return true;
  std::size_t rest = SplitKeyword(fData, keyword_);
  text_.assign(fData.begin() + static_cast<std::ptrdiff_t>(rest), fData.end());
  return true;
}

void TVnPNGChunkTEXT::Assign(const TVnPNGChunk& source) {
  TVnPNGChunk::Assign(source);
  const auto& other = static_cast<const TVnPNGChunkTEXT&>(source);
  keyword_ = other.keyword_;
  text_ = other.text_;
}

bool TVnPNGChunkzTXT::LoadFromStream(PngChunkReader& reader, const std::string& chunkName, std::uint32_t size) {
  if (!LoadRaw(*this, reader, chunkName, size) || fData.size() <= 3) return true;
  std::size_t rest = SplitKeyword(fData, keyword_);
  // Skip the compression-method byte.
  if (rest + 1 < fData.size()) {
    std::size_t budget = fOwner ? fOwner->TextBudget() : kMaxInflatedText;
    text_ = InflateText(fData.data() + rest + 1, fData.size() - rest - 1, budget);
    if (fOwner) fOwner->SpendTextBudget(text_.size());
  }
  return true;
}

}  // namespace kestrel
