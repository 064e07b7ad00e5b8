#include "imaging/PngChunk.h"

#include <functional>
#include <typeinfo>
#include <utility>

#include "imaging/PngChunks.h"
#include "imaging/PngErrors.h"
#include "imaging/PngHeader.h"
#include "imaging/PngImageData.h"
#include "imaging/PngObject.h"

namespace kestrel {

TVnPNGChunk::TVnPNGChunk(TVnPNGObject* owner) : fOwner(owner) {}

void TVnPNGChunk::Assign(const TVnPNGChunk& source) {
  if (typeid(source) != typeid(*this)) RaiseError<EVnPNGError>(PngMessages::IncompatibleAssign);
  fName = source.fName;
  fData = source.fData;
  crcValid_ = source.crcValid_;
}

bool TVnPNGChunk::LoadFromStream(PngChunkReader& reader, const std::string& chunkName, std::uint32_t size) {
  fName = chunkName;
  ReadDataAndCrc(reader, size);
  return true;
}

void TVnPNGChunk::ReadDataAndCrc(PngChunkReader& reader, std::uint32_t size) {
  (void)size;  // the reader knows the chunk's length and never reads beyond it
  reader.ReadRest(fData);
  crcValid_ = reader.FinishChunk();
  if (!crcValid_ && IsCriticalName(fName)) RaiseError<EVnPNGInvalidCRC>(PngMessages::InvalidCRC);
}

bool TVnPNGChunk::IsCriticalName(const std::string& name) { return !name.empty() && (name[0] & 0x20) == 0; }

int TVnPNGChunk::Index() const { return fOwner ? fOwner->Chunks().IndexOf(this) : -1; }

TVnPNGChunkIHDR* TVnPNGChunk::Header() const {
  return fOwner ? fOwner->Chunks().ItemFromClass<TVnPNGChunkIHDR>() : nullptr;
}

namespace {

using ChunkFactory = std::unique_ptr<TVnPNGChunk> (*)(TVnPNGObject*);

template <class T>
std::unique_ptr<TVnPNGChunk> Make(TVnPNGObject* owner) {
  return std::make_unique<T>(owner);
}

template <class T>
std::pair<std::string, ChunkFactory> Entry() {
  return {T::GetName(), &Make<T>};
}

}  // namespace

std::unique_ptr<TVnPNGChunk> CreateChunkForName(TVnPNGObject* owner, const std::string& name) {
  static const std::pair<std::string, ChunkFactory> kRegistered[] = {
      Entry<TVnPNGChunkIHDR>(), Entry<TVnPNGChunkPLTE>(), Entry<TVnPNGChunktRNS>(), Entry<TVnPNGChunkgAMA>(),
      Entry<TVnPNGChunkIDAT>(), Entry<TVnPNGChunkIEND>(), Entry<TVnPNGChunkpHYs>(), Entry<TVnPNGChunktIME>(),
      Entry<TVnPNGChunkTEXT>(), Entry<TVnPNGChunkzTXT>()};
  std::unique_ptr<TVnPNGChunk> chunk;
  for (const auto& [chunkName, factory] : kRegistered)
    if (chunkName == name) chunk = factory(owner);
  if (!chunk) chunk = std::make_unique<TVnPNGChunk>(owner);
  chunk->fName = name;
  return chunk;
}

}  // namespace kestrel
