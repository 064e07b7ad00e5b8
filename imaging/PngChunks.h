#pragma once
// The ancillary and simple critical chunk classes (everything but IHDR and IDAT).

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "imaging/PngChunk.h"
#include "platform/core/Unicode.h"
#include "platform/core/WinTypes.h"

namespace kestrel {

class TVnPNGChunkPLTE : public TVnPNGChunk {
 public:
  KESTREL_PNG_CHUNK_NAME("PLTE")
  using TVnPNGChunk::TVnPNGChunk;
  bool LoadFromStream(PngChunkReader& reader, const std::string& chunkName, std::uint32_t size) override;
  void WriteChunk(PngChunkWriter& out) override;
  void Assign(const TVnPNGChunk& source) override;
  int Count() const { return count_; }
  void SetCount(int value) { count_ = value; }
  // The colour of entry `index` (gamma applied, as the image holds it); beyond Count raises.
  platform::COLORREF Item(int index) const;

 private:
  int count_ = 0;
};

class TVnPNGChunktRNS : public TVnPNGChunk {
 public:
  KESTREL_PNG_CHUNK_NAME("tRNS")
  using TVnPNGChunk::TVnPNGChunk;
  bool LoadFromStream(PngChunkReader& reader, const std::string& chunkName, std::uint32_t size) override;
  void WriteChunk(PngChunkWriter& out) override;
  void Assign(const TVnPNGChunk& source) override;
  const std::array<std::uint8_t, 256>& PaletteValues() const { return paletteValues_; }
  std::array<std::uint8_t, 256>& PaletteValues() { return paletteValues_; }
  bool BitTransparency() const { return bitTransparency_; }
  void SetBitTransparency(bool value) { bitTransparency_ = value; }
  // Replaces the data (at most 256 bytes); PaletteValues take it over 255s.
  void SetSamples(const std::vector<std::uint8_t>& data) {
    fData.assign(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(data.size(), 256)));
    paletteValues_.fill(255);
    std::copy(fData.begin(), fData.end(), paletteValues_.begin());
  }
  // A 2-bit gray sample s as the 4-bit sample 5s the image holds it as.
  void WidenTwoBitGraySample();
  // Keeps the first `count` (at most 256) of PaletteValues as the chunk's data.
  void SetDataSize(std::size_t count);
  // False when the chunk is too short for the image's colour type (it is then ignored).
  bool Usable() const;
  platform::COLORREF TransparentColor() const;

 private:
  std::array<std::uint8_t, 256> paletteValues_{};
  bool bitTransparency_ = false;
};

class TVnPNGChunkgAMA : public TVnPNGChunk {
 public:
  KESTREL_PNG_CHUNK_NAME("gAMA")
  using TVnPNGChunk::TVnPNGChunk;
  bool LoadFromStream(PngChunkReader& reader, const std::string& chunkName, std::uint32_t size) override;
  void WriteChunk(PngChunkWriter& out) override;
  void Assign(const TVnPNGChunk& source) override;
  std::uint32_t Gamma() const { return gamma_; }
  void SetGamma(std::uint32_t value) { gamma_ = value; }

 private:
  std::uint32_t gamma_ = 1;
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
  bool LoadFromStream(PngChunkReader& reader, const std::string& chunkName, std::uint32_t size) override;
  void WriteChunk(PngChunkWriter& out) override;
  void Assign(const TVnPNGChunk& source) override;
  std::uint32_t PPUnitX() const { return ppUnitX_; }
  std::uint32_t PPUnitY() const { return ppUnitY_; }
  TUnitType UnitType() const { return unitType_; }
  void SetPPUnitX(std::uint32_t v) { ppUnitX_ = v; }
  void SetPPUnitY(std::uint32_t v) { ppUnitY_ = v; }
  void SetUnitType(TUnitType v) { unitType_ = v; }

 private:
  std::uint32_t ppUnitX_ = 0;
  std::uint32_t ppUnitY_ = 0;
  TUnitType unitType_ = utUnknown;
};

class TVnPNGChunktIME : public TVnPNGChunk {
 public:
  KESTREL_PNG_CHUNK_NAME("tIME")
  using TVnPNGChunk::TVnPNGChunk;
  bool LoadFromStream(PngChunkReader& reader, const std::string& chunkName, std::uint32_t size) override;
  void WriteChunk(PngChunkWriter& out) override;
  void Assign(const TVnPNGChunk& source) override;
  std::uint16_t Year = 0;
  std::uint8_t Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0;
};

class TVnPNGChunkTEXT : public TVnPNGChunk {
 public:
  KESTREL_PNG_CHUNK_NAME("tEXt")
  using TVnPNGChunk::TVnPNGChunk;
  bool LoadFromStream(PngChunkReader& reader, const std::string& chunkName, std::uint32_t size) override;
  void WriteChunk(PngChunkWriter& out) override;
  void Assign(const TVnPNGChunk& source) override;
  const AnsiString& Keyword() const { return keyword_; }
  const AnsiString& Text() const { return text_; }
  void SetKeyword(const AnsiString& v) { keyword_ = v; }
  void SetText(const AnsiString& v) { text_ = v; }

 protected:
  AnsiString keyword_;
  AnsiString text_;
};

class TVnPNGChunkzTXT : public TVnPNGChunkTEXT {
 public:
  KESTREL_PNG_CHUNK_NAME("zTXt")
  using TVnPNGChunkTEXT::TVnPNGChunkTEXT;
  bool LoadFromStream(PngChunkReader& reader, const std::string& chunkName, std::uint32_t size) override;
  void WriteChunk(PngChunkWriter& out) override;
  // The most text all zTXt chunks of one file may inflate to together; more is a
  // decompression bomb.
  static constexpr std::size_t kMaxInflatedText = 16u << 20;
};

}  // namespace kestrel
