#pragma once
// The base of every chunk of a PNG file. Chunks the codec does not understand are instances of
// this class and keep their data raw, so they are written back unchanged.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "imaging/PngSource.h"

namespace kestrel {

class TVnPNGObject;
class TVnPNGChunkIHDR;
class TVnPNGChunk;
class PngChunkWriter;
class TStream;
std::unique_ptr<TVnPNGChunk> CreateChunkForName(TVnPNGObject* owner, const std::string& name);

class TVnPNGChunk {
 public:
  explicit TVnPNGChunk(TVnPNGObject* owner);
  virtual ~TVnPNGChunk() = default;
  TVnPNGChunk(const TVnPNGChunk&) = delete;
  TVnPNGChunk& operator=(const TVnPNGChunk&) = delete;

  // The chunk name a class stands for; empty for the base class, which takes its name from the file.
  static std::string GetName() { return {}; }

  // Copies another chunk of the same class; a chunk of any other class raises EVnPNGError.
  virtual void Assign(const TVnPNGChunk& source);
  // Reads `size` bytes of data and the CRC. Returns false to stop reading the file.
  virtual bool LoadFromStream(PngChunkReader& reader, const std::string& chunkName, std::uint32_t size);
  // Writes the chunk framed (length, name, data, CRC). Raises on failure; returns true.
  bool SaveToStream(TStream& stream);
  // Appends the framed chunk; the base class writes its data unchanged.
  virtual void WriteChunk(PngChunkWriter& out);

  int Index() const;
  TVnPNGChunkIHDR* Header() const;
  const std::vector<std::uint8_t>& Data() const { return fData; }
  std::uint32_t DataSize() const { return static_cast<std::uint32_t>(fData.size()); }
  TVnPNGObject* Owner() const { return fOwner; }
  const std::string& Name() const { return fName; }
  // False when the chunk's stored CRC did not match (only ancillary chunks survive that).
  bool CrcValid() const { return crcValid_; }

  // Critical chunks have an upper-case first letter.
  static bool IsCriticalName(const std::string& name);

 protected:
  // Reads the data into fData and checks the CRC. A critical chunk with a bad CRC raises.
  void ReadDataAndCrc(PngChunkReader& reader, std::uint32_t size);

  std::vector<std::uint8_t> fData;
  TVnPNGObject* fOwner;
  std::string fName;
  bool crcValid_ = true;

  friend class TVnPNGList;
  friend std::unique_ptr<TVnPNGChunk> CreateChunkForName(TVnPNGObject*, const std::string&);
};

// Declares the class-level chunk name of a registered chunk class.
#define KESTREL_PNG_CHUNK_NAME(text) \
  static std::string GetName() { return text; }

// The chunk object for a chunk read from a file: the registered class of that exact name, else
// the base class named after the file's 4 bytes.
std::unique_ptr<TVnPNGChunk> CreateChunkForName(TVnPNGObject* owner, const std::string& name);

}  // namespace kestrel
