#include "imaging/PngSource.h"

#include <libdeflate.h>

#include <algorithm>
#include <cstring>

#include "framework/Stream.h"
#include "imaging/PngErrors.h"

namespace kestrel {

std::size_t PngMemorySource::Read(void* buffer, std::size_t count) {
  std::size_t n = std::min(count, size_ - pos_);
  if (n > 0) std::memcpy(buffer, data_ + pos_, n);
  pos_ += n;
  return n;
}

PngStreamSource::PngStreamSource(TStream& stream) : stream_(stream) {
  position_ = stream_.Position();
  std::int64_t size = stream_.Size();
  if (position_ >= 0 && size >= position_) end_ = size;
}

std::size_t PngStreamSource::Read(void* buffer, std::size_t count) {
  std::size_t n = stream_.Read(buffer, count);
  position_ += static_cast<std::int64_t>(n);
  return n;
}

std::int64_t PngStreamSource::Remaining() const {
  return end_ < 0 || position_ < 0 ? -1 : std::max<std::int64_t>(0, end_ - position_);
}

std::uint32_t ReadBigEndian32(const std::uint8_t* p) {
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | std::uint32_t{p[3]};
}

std::uint16_t ReadBigEndian16(const std::uint8_t* p) { return static_cast<std::uint16_t>((p[0] << 8) | p[1]); }

bool PngChunkReader::ReadRaw(void* buffer, std::size_t count) {
  auto* out = static_cast<std::uint8_t*>(buffer);
  std::size_t done = 0;
  while (done < count) {
    std::size_t n = source_.Read(out + done, count - done);
    if (n == 0) return false;
    done += n;
  }
  return true;
}

void PngChunkReader::ReadExact(void* buffer, std::size_t count) {
  if (!ReadRaw(buffer, count)) RaiseError<EVnPNGUnexpectedEnd>(PngMessages::UnexpectedEnd);
}

void PngChunkReader::PushBackChunk(std::uint32_t length, const char name[4]) {
  pushedBack_ = true;
  pushedLength_ = length;
  std::memcpy(pushedName_, name, 4);
}

bool PngChunkReader::NextChunk(std::uint32_t& length, char name[4]) {
  if (pushedBack_) {
    // The data and CRC state were left as the first reading set them.
    pushedBack_ = false;
    length = pushedLength_;
    std::memcpy(name, pushedName_, 4);
    return true;
  }
  std::uint8_t head[8];
  std::size_t got = source_.Read(head, 1);
  if (got == 0) return false;
  ReadExact(head + 1, 7);
  length = ReadBigEndian32(head);
  std::memcpy(name, head + 4, 4);
  // The data and the 4-byte CRC must both be there.
  std::int64_t left = source_.Remaining();
  if (length > kMaxChunkLength || (left >= 0 && static_cast<std::int64_t>(length) + 4 > left))
    RaiseError<EVnPNGUnexpectedEnd>(PngMessages::UnexpectedEnd);
  remaining_ = length;
  crc_ = libdeflate_crc32(0, head + 4, 4);
  return true;
}

void PngChunkReader::ReadData(void* buffer, std::size_t count) {
  if (count > remaining_) RaiseError<EVnPNGUnexpectedEnd>(PngMessages::UnexpectedEnd);
  ReadExact(buffer, count);
  // The same checksum as zlib's, several times faster on large chunks (carry-less multiplies).
  crc_ = libdeflate_crc32(crc_, buffer, count);
  remaining_ -= static_cast<std::uint32_t>(count);
}

void PngChunkReader::ReadRest(std::vector<std::uint8_t>& out) {
  // Grows with what actually arrives, so a lying length on an unbounded source cannot make us
  // allocate gigabytes up front.
  out.clear();
  constexpr std::size_t kBlock = 1 << 16;
  while (remaining_ > 0) {
    std::size_t n = std::min<std::size_t>(remaining_, kBlock);
    std::size_t at = out.size();
    out.resize(at + n);
    ReadData(out.data() + at, n);
  }
}

void PngChunkReader::SkipRest() {
  std::uint8_t block[4096];
  while (remaining_ > 0) ReadData(block, std::min<std::size_t>(remaining_, sizeof block));
}

bool PngChunkReader::FinishChunk() {
  SkipRest();
  std::uint8_t stored[4];
  ReadExact(stored, 4);
  return ReadBigEndian32(stored) == static_cast<std::uint32_t>(crc_);
}

}  // namespace kestrel
