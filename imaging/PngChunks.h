#pragma once
// The ancillary and simple critical chunk classes (everything but IHDR and IDAT).

#include <algorithm>
#include <array>
#include <vector>
#include <cstdint>
#include <string>

#include "imaging/PngChunk.h"
#include "platform/core/WinTypes.h"
#include "platform/core/Unicode.h"

namespace kestrel {

class TVnPNGChunkPLTE : public TVnPNGChunk {
 public:
  KESTREL_PNG_CHUNK_NAME("PLTE")
  using TVnPNGChunk::TVnPNGChunk;
  bool LoadFromStream(PngChunkReader& reader, const std::string& chunkName,
                      std::uint32_t size) override;
  void WriteChunk(PngChunkWriter& out) override;
  void Assign(const TVnPNGChunk& source) override;
  int Count() const { return fCount; }
  void SetCount(int value) { fCount = value; }
  // The colour of entry `index` (gamma applied, as the image holds it); beyond Count raises.
  platform::COLORREF Item(int index) const;

 private:
  int fCount = 0;
};

class TVnPNGChunktRNS : public TVnPNGChunk {
 public:
  KESTREL_PNG_CHUNK_NAME("tRNS")
  using TVnPNGChunk::TVnPNGChunk;
  bool LoadFromStream(PngChunkReader& reader, const std::string& chunkName,
                      std::uint32_t size) override;
  void WriteChunk(PngChunkWriter& out) override;
  void Assign(const TVnPNGChunk& source) override;
  const std::array<std::uint8_t, 256>& PaletteValues() const { return fPaletteValues; }
  std::array<std::uint8_t, 256>& PaletteValues() { return fPaletteValues; }
  bool BitTransparency() const { return fBitTransparency; }
  void SetBitTransparency(bool value) { fBitTransparency = value; }
  // Replaces the data (at most 256 bytes); PaletteValues take it over 255s.
  void SetSamples(const std::vector<std::uint8_t>& data) {
    fData.assign(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(data.size(), 256)));
    fPaletteValues.fill(255);
    std::copy(fData.begin(), fData.end(), fPaletteValues.begin());
  }
  // Keeps the first `count` (at most 256) of PaletteValues as the chunk's data.
  void SetDataSize(std::size_t count);
  // False when the chunk is too short for the image's colour type (it is then ignored).
  bool Usable() const;
  platform::COLORREF TransparentColor() const;

 private:
  std::array<std::uint8_t, 256> fPaletteValues{};
  bool fBitTransparency = false;
};

class TVnPNGChunkgAMA : public TVnPNGChunk {
 public:
  KESTREL_PNG_CHUNK_NAME("gAMA")
  using TVnPNGChunk::TVnPNGChunk;
  bool LoadFromStream(PngChunkReader& reader, const std::string& chunkName,
                      std::uint32_t size) override;
  void WriteChunk(PngChunkWriter& out) override;
  void Assign(const TVnPNGChunk& source) override;
  std::uint32_t Gamma() const { return fGamma; }
  void SetGamma(std::uint32_t value) { fGamma = value; }

 private:
  std::uint32_t fGamma = 1;
};

class TVnPNGChunkIEND : public TVnPNGChunk {
 public:
  KESTREL_PNG_CHUNK_NAME("IEND")
  using TVnPNGChunk::TVnPNGChunk;
};

enum TUnitType { utUnknown, utMeter };

class TVnPNGChunkpHYs : public TVnPNGChunk {
 public:
  KESTREL_PNG_CHUNK_NAME("pHYs")
  using TVnPNGChunk::TVnPNGChunk;
  bool LoadFromStream(PngChunkReader& reader, const std::string& chunkName,
                      std::uint32_t size) override;
  void WriteChunk(PngChunkWriter& out) override;
  void Assign(const TVnPNGChunk& source) override;
  std::uint32_t PPUnitX() const { return fPPUnitX; }
  std::uint32_t PPUnitY() const { return fPPUnitY; }
  TUnitType UnitType() const { return fUnitType; }
  void SetPPUnitX(std::uint32_t v) { fPPUnitX = v; }
  void SetPPUnitY(std::uint32_t v) { fPPUnitY = v; }
  void SetUnitType(TUnitType v) { fUnitType = v; }

 private:
  std::uint32_t fPPUnitX = 0;
  std::uint32_t fPPUnitY = 0;
  TUnitType fUnitType = utUnknown;
};

class TVnPNGChunktIME : public TVnPNGChunk {
 public:
  KESTREL_PNG_CHUNK_NAME("tIME")
  using TVnPNGChunk::TVnPNGChunk;
  bool LoadFromStream(PngChunkReader& reader, const std::string& chunkName,
                      std::uint32_t size) override;
  void WriteChunk(PngChunkWriter& out) override;
  void Assign(const TVnPNGChunk& source) override;
  std::uint16_t Year = 0;
  std::uint8_t Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0;
};

class TVnPNGChunkTEXT : public TVnPNGChunk {
 public:
  KESTREL_PNG_CHUNK_NAME("tEXt")
  using TVnPNGChunk::TVnPNGChunk;
  bool LoadFromStream(PngChunkReader& reader, const std::string& chunkName,
                      std::uint32_t size) override;
  void WriteChunk(PngChunkWriter& out) override;
  void Assign(const TVnPNGChunk& source) override;
  const AnsiString& Keyword() const { return fKeyword; }
  const AnsiString& Text() const { return fText; }
  void SetKeyword(const AnsiString& v) { fKeyword = v; }
  void SetText(const AnsiString& v) { fText = v; }

 protected:
  AnsiString fKeyword;
  AnsiString fText;
};

class TVnPNGChunkzTXT : public TVnPNGChunkTEXT {
 public:
  KESTREL_PNG_CHUNK_NAME("zTXt")
  using TVnPNGChunkTEXT::TVnPNGChunkTEXT;
  bool LoadFromStream(PngChunkReader& reader, const std::string& chunkName,
                      std::uint32_t size) override;
  void WriteChunk(PngChunkWriter& out) override;
  // The most text all zTXt chunks of one file may inflate to together; more is a
  // decompression bomb.
  static constexpr std::size_t kMaxInflatedText = 16u << 20;
};

}  // namespace kestrel
