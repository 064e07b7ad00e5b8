#pragma once
// Where the decoder's bytes come from, and the chunk framing on top of it.
//
// PngSource is the small reading interface the decoder needs (a stream adapter, a memory block);
// PngChunkReader reads the big-endian framing, keeps the running CRC of the current chunk and turns
// every short read into EVnPNGUnexpectedEnd, so no chunk ever works on bytes that were not there.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kestrel {

class TStream;

class PngSource {
 public:
  virtual ~PngSource() = default;
  // Reads up to `count` bytes; returns how many were read (0 at the end).
  virtual std::size_t Read(void* buffer, std::size_t count) = 0;
  // Bytes left to read, or -1 when the source cannot tell.
  virtual std::int64_t Remaining() const = 0;
};

// A source over a block of memory that the caller keeps alive.
class PngMemorySource : public PngSource {
 public:
  PngMemorySource(const void* data, std::size_t size) : data_(static_cast<const std::uint8_t*>(data)), size_(size) {}
  std::size_t Read(void* buffer, std::size_t count) override;
  std::int64_t Remaining() const override { return static_cast<std::int64_t>(size_ - pos_); }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

// A source over a framework stream, from its current position.
class PngStreamSource : public PngSource {
 public:
  explicit PngStreamSource(TStream& stream);
  std::size_t Read(void* buffer, std::size_t count) override;
  std::int64_t Remaining() const override;

 private:
  TStream& stream_;
  std::int64_t end_ = -1;  // the stream's size when it knows it
  std::int64_t position_ = 0;
};

class PngChunkReader {
 public:
  // The largest chunk length PNG allows.
  static constexpr std::uint32_t kMaxChunkLength = 0x7FFFFFFFu;

  explicit PngChunkReader(PngSource& source) : source_(source) {}

  // Reads exactly `count` bytes outside any chunk (the signature); false when the source ended.
  bool ReadRaw(void* buffer, std::size_t count);

  // Reads the next chunk's length and name. Returns false when not even one byte of the length
  // could be read; any other shortfall, or a length over 2^31-1 or beyond what the source holds,
  // raises EVnPNGUnexpectedEnd.
  bool NextChunk(std::uint32_t& length, char name[4]);
  // Makes the next NextChunk return this chunk again, whose header was just read.
  void PushBackChunk(std::uint32_t length, const char name[4]);
  // Reads `count` bytes of the current chunk's data (never beyond its length).
  void ReadData(void* buffer, std::size_t count);
  // Reads the rest of the current chunk's data into `out`.
  void ReadRest(std::vector<std::uint8_t>& out);
  // Skips what is left of the chunk's data.
  void SkipRest();
  // Reads the stored CRC after the data. True when it matches.
  bool FinishChunk();
  std::uint32_t ChunkRemaining() const { return remaining_; }
  // Bytes the source still holds after what was read, or -1 when it cannot tell.
  std::int64_t SourceRemaining() const { return source_.Remaining(); }

 private:
  void ReadExact(void* buffer, std::size_t count);

  PngSource& source_;
  std::uint32_t remaining_ = 0;
  std::uint32_t crc_ = 0;
  bool pushedBack_ = false;
  std::uint32_t pushedLength_ = 0;
  char pushedName_[4] = {};
};

std::uint32_t ReadBigEndian32(const std::uint8_t* p);
std::uint16_t ReadBigEndian16(const std::uint8_t* p);

}  // namespace kestrel
