#include "imaging/internal/PngChunkWriter.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

namespace kestrel {

void AppendBigEndian32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(v >> 24), static_cast<std::uint8_t>(v >> 16),
                                 static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v)};
  out.insert(out.end(), bytes, bytes + 4);
}

void AppendBigEndian16(std::vector<std::uint8_t>& out, std::uint16_t v) {
  out.push_back(static_cast<std::uint8_t>(v >> 8));
  out.push_back(static_cast<std::uint8_t>(v));
}

void PngChunkWriter::Signature() {
  static constexpr std::uint8_t kSignature[8] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};
  out_.insert(out_.end(), kSignature, kSignature + 8);
}

void PngChunkWriter::Chunk(const std::string& name, const std::uint8_t* data, std::size_t size) {
  AppendBigEndian32(out_, static_cast<std::uint32_t>(size));
  char tag[4] = {' ', ' ', ' ', ' '};
  std::memcpy(tag, name.data(), std::min<std::size_t>(4, name.size()));
  out_.insert(out_.end(), tag, tag + 4);
  if (size > 0) out_.insert(out_.end(), data, data + size);
  unsigned long crc = crc32(0L, reinterpret_cast<const Bytef*>(tag), 4);
  if (size > 0) crc = crc32(crc, data, static_cast<uInt>(size));
  AppendBigEndian32(out_, static_cast<std::uint32_t>(crc));
}

}  // namespace kestrel
