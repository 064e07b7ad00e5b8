#include "imaging/internal/PngInflatedImage.h"

#include <libdeflate.h>
#include <sys/mman.h>

#include <cstdlib>
#include <memory>

#include "platform/core/LargePages.h"

namespace kestrel {

namespace {

// Below this the room comes from the heap; mapping would cost more than it saves.
constexpr std::size_t kMapThreshold = std::size_t{4} << 20;
// Pages are asked for and given back in blocks of this size (the processor's large page), so a
// whole image costs a few dozen page faults rather than thousands.
constexpr std::size_t kReleaseStep = platform::kLargePageSize;
// Deflate cannot expand a byte into more than 1032 (a 258-byte match in about two bits).
constexpr std::size_t kMaxExpansion = 1032;

struct DecompressorFree {
  void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};

}  // namespace

PngInflatedImage::~PngInflatedImage() {
  if (mapped_) munmap(mapping_, mappingSize_);
  else std::free(data_);
}

bool PngInflatedImage::Allocate(std::size_t size) {
  size_ = size;
  if (size >= kMapThreshold) {
    // One block more than asked for, so the rows can start on a block boundary.
    mappingSize_ = size + kReleaseStep;
    void* p = mmap(nullptr, mappingSize_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (p == MAP_FAILED) return false;
    mapping_ = p;
    auto address = reinterpret_cast<std::uintptr_t>(p);
    data_ = static_cast<std::uint8_t*>(p) + (kReleaseStep - address % kReleaseStep) % kReleaseStep;
    mapped_ = true;
    platform::PreferLargePages(data_, size);
    return true;
  }
  data_ = static_cast<std::uint8_t*>(std::malloc(size ? size : 1));
  return data_ != nullptr;
}

bool PngInflatedImage::Inflate(const std::uint8_t* stream, std::size_t size, std::size_t expected) {
  // A stream too short to yield the image is left to the streaming path, without asking for room.
  if (expected / kMaxExpansion > size) return false;
  if (!Allocate(expected)) return false;
  std::unique_ptr<libdeflate_decompressor, DecompressorFree> d(libdeflate_alloc_decompressor());
  if (!d) return false;
  std::size_t in = 0, out = 0;
  libdeflate_result result = libdeflate_zlib_decompress_ex(d.get(), stream, size, data_, expected, &in, &out);
  return result == LIBDEFLATE_SUCCESS && out == expected;
}

std::uint8_t* PngInflatedImage::Next(std::size_t size, std::size_t keep) {
  if (size > size_ - begin_) return nullptr;
  if (mapped_ && begin_ - keep >= released_ + kReleaseStep) ReleaseBefore(begin_ - keep);
  std::uint8_t* row = data_ + begin_;
  begin_ += size;
  return row;
}

void PngInflatedImage::ReleaseBefore(std::size_t offset) {
  std::size_t end = offset / kReleaseStep * kReleaseStep;
  if (end <= released_) return;
  madvise(data_ + released_, end - released_, MADV_DONTNEED);
  released_ = end;
}

}  // namespace kestrel
