#pragma once
// The framing of written chunks: big-endian length, name, data and the CRC over name and data,
// appended to a byte buffer. A file is built whole in memory before it reaches the caller's
// stream, so a failure half-way never leaves a truncated file behind.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kestrel {

class PngChunkWriter {
 public:
  explicit PngChunkWriter(std::vector<std::uint8_t>& out) : out_(out) {}

  void Signature();
  void Chunk(const std::string& name, const std::uint8_t* data, std::size_t size);
  void Chunk(const std::string& name, const std::vector<std::uint8_t>& data) { Chunk(name, data.data(), data.size()); }

 private:
  std::vector<std::uint8_t>& out_;
};

void AppendBigEndian32(std::vector<std::uint8_t>& out, std::uint32_t v);
void AppendBigEndian16(std::vector<std::uint8_t>& out, std::uint16_t v);

}  // namespace kestrel
