#include "imaging/internal/PngIdatEncoder.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>

#include "imaging/PngErrors.h"
#include "imaging/PngHeader.h"
#include "imaging/PngObject.h"
#include "imaging/internal/PngChunkWriter.h"
#include "imaging/internal/PngPasses.h"

namespace kestrel {

namespace {

inline unsigned DibIndex(const std::uint8_t* scan, std::uint32_t x, int bits) {
  if (bits == 8) return scan[x];
  if (bits == 4) return (scan[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F;
  return (scan[x >> 3] >> (7 - (x & 7))) & 1;
}

inline void PutSample(std::uint8_t* row, std::uint32_t i, int bits, unsigned value) {
  std::uint32_t bit = i * static_cast<std::uint32_t>(bits);
  int shift = 8 - bits - static_cast<int>(bit & 7);
  row[bit >> 3] = static_cast<std::uint8_t>(row[bit >> 3] | ((value & ((1u << bits) - 1)) << shift));
}

// The Paeth predictor with the standard tie order (a, then b, then c), without branches.
inline int Paeth(int a, int b, int c) {
  int pa = b - c, pb = a - c;
  int pc = pa + pb;
  pa = pa < 0 ? -pa : pa;
  pb = pb < 0 ? -pb : pb;
  pc = pc < 0 ? -pc : pc;
  const int ab = pb < pa ? b : a;
  const int best = pb < pa ? pb : pa;
  return pc < best ? c : ab;
}

void ApplyFilter(std::uint8_t type, const std::uint8_t* raw, const std::uint8_t* prior, std::size_t length,
                 std::size_t bpp, std::uint8_t* out) {
  const std::size_t lead = std::min(bpp, length);
  switch (type) {
    case 1:
      std::memcpy(out, raw, lead);
      for (std::size_t i = bpp; i < length; ++i) out[i] = static_cast<std::uint8_t>(raw[i] - raw[i - bpp]);
      break;
    case 2:
      for (std::size_t i = 0; i < length; ++i) out[i] = static_cast<std::uint8_t>(raw[i] - prior[i]);
      break;
    case 3:
      for (std::size_t i = 0; i < lead; ++i) out[i] = static_cast<std::uint8_t>(raw[i] - (prior[i] >> 1));
      for (std::size_t i = bpp; i < length; ++i)
        out[i] = static_cast<std::uint8_t>(raw[i] - ((raw[i - bpp] + prior[i]) >> 1));
      break;
    case 4:
      for (std::size_t i = 0; i < lead; ++i) out[i] = static_cast<std::uint8_t>(raw[i] - prior[i]);
      for (std::size_t i = bpp; i < length; ++i)
        out[i] = static_cast<std::uint8_t>(raw[i] - Paeth(raw[i - bpp], prior[i], prior[i - bpp]));
      break;
    default: std::memcpy(out, raw, length); break;
  }
}

std::size_t RepeatScore(const std::uint8_t* row, std::size_t length) {
  std::size_t score = 0;
  for (std::size_t j = 2; j < length; ++j) score += (row[j] == row[j - 1]) | (row[j] == row[j - 2]);
  return score;
}

// zlib's deflate feeding IDAT chunks: compressed bytes gather until they fill one chunk of
// `chunkSize`, which is then written out. The buffer grows with what deflate produces, so a large
// chunk size costs memory only for data there is. Input is gathered in a staging block so zlib is
// called per block, not per row.
class IdatDeflater {
 public:
  IdatDeflater(PngChunkWriter& out, int level, std::size_t chunkSize, bool filtered)
      : out_(out), chunkSize_(chunkSize) {
    int result = deflateInit2(&z_, level, Z_DEFLATED, 15, 8, filtered ? Z_FILTERED : Z_DEFAULT_STRATEGY);
    if (result != Z_OK) RaiseZLibError(result);
  }
  ~IdatDeflater() { deflateEnd(&z_); }
  IdatDeflater(const IdatDeflater&) = delete;
  IdatDeflater& operator=(const IdatDeflater&) = delete;

  // Room for `size` more bytes of the stream, valid until the next call; rows are filtered
  // straight into it.
  std::uint8_t* Reserve(std::size_t size) {
    if (used_ + size > staging_.size()) {
      Run(Z_NO_FLUSH);
      if (size > staging_.size()) staging_.resize(size);
    }
    std::uint8_t* at = staging_.data() + used_;
    used_ += size;
    return at;
  }

  void Finish() { Run(Z_FINISH); }

 private:
  void Run(int flush) {
    z_.next_in = staging_.data();
    z_.avail_in = static_cast<uInt>(used_);
    for (;;) {
      if (pending_.size() == chunkSize_) EmitChunk();
      const std::size_t at = pending_.size();
      const std::size_t room = std::min(kOutputStep, chunkSize_ - at);
      pending_.resize(at + room);
      z_.next_out = pending_.data() + at;
      z_.avail_out = static_cast<uInt>(room);
      const int result = deflate(&z_, flush);
      pending_.resize(pending_.size() - z_.avail_out);
      if (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR) RaiseZLibError(result);
      if (z_.avail_out == 0) continue;
      if (flush == Z_FINISH ? result == Z_STREAM_END : z_.avail_in == 0) break;
    }
    if (flush == Z_FINISH && !pending_.empty()) EmitChunk();
    used_ = 0;
  }

  void EmitChunk() {
    out_.Chunk("IDAT", pending_.data(), pending_.size());
    pending_.clear();
  }

  static constexpr std::size_t kOutputStep = 64 * 1024;
  static constexpr std::size_t kStagingSize = 128 * 1024;
  PngChunkWriter& out_;
  std::size_t chunkSize_;
  std::vector<std::uint8_t> pending_;
  std::vector<std::uint8_t> staging_ = std::vector<std::uint8_t>(kStagingSize);
  std::size_t used_ = 0;
  z_stream z_{};
};

}  // namespace

PngIdatEncoder::PngIdatEncoder(const TVnPNGChunkIHDR& header, const TVnPNGObject& owner)
    : header_(header),
      owner_(owner),
      colorType_(header.ColorType()),
      depth_(header.BitDepth() == 2 ? 4 : header.BitDepth()),
      dibBits_(header.BitmapInfo().bmiHeader.biBitCount) {
  const std::uint32_t channels = colorType_ == COLOR_RGB              ? 3
                                 : colorType_ == COLOR_RGBALPHA       ? 4
                                 : colorType_ == COLOR_GRAYSCALEALPHA ? 2
                                                                      : 1;
  pixelBits_ = channels * static_cast<std::uint32_t>(depth_);
  identityGamma_ = true;
  for (int i = 0; i < 256; ++i) identityGamma_ = identityGamma_ && owner.InverseGamma[static_cast<std::size_t>(i)] == i;
  bpp_ = std::max<std::uint32_t>(1, pixelBits_ / 8);
}

std::uint8_t PngIdatEncoder::FilterRow(unsigned filterBits, const std::uint8_t* raw, const std::uint8_t* prior,
                                       std::size_t length, std::size_t bpp, std::uint8_t* out,
                                       std::vector<std::uint8_t>& scratch) {
  filterBits &= 0x1F;
  if (filterBits == 0 || filterBits == 1) {
    ApplyFilter(0, raw, prior, length, bpp, out);
    return 0;
  }
  if ((filterBits & (filterBits - 1)) == 0) {
    auto type = static_cast<std::uint8_t>(__builtin_ctz(filterBits));
    ApplyFilter(type, raw, prior, length, bpp, out);
    return type;
  }
  // Candidates are filtered into whichever of `out` and `scratch` does not hold the best so far.
  scratch.resize(length);
  std::uint8_t best = 0;
  std::size_t bestScore = 0;
  std::uint8_t* candidate = scratch.data();
  std::uint8_t* kept = out;
  // A row in which every byte repeats cannot be beaten by a later (higher) filter.
  const std::size_t perfect = length > 2 ? length - 2 : 0;
  for (std::uint8_t type = 0; type < 5 && (bestScore < perfect || bestScore == 0); ++type) {
    if (!((filterBits >> type) & 1u)) continue;
    ApplyFilter(type, raw, prior, length, bpp, candidate);
    const std::size_t score = RepeatScore(candidate, length);
    if (score > bestScore) {
      bestScore = score;
      best = type;
      std::swap(candidate, kept);
    }
  }
  if (bestScore == 0) {
    ApplyFilter(0, raw, prior, length, bpp, out);
    return 0;
  }
  if (kept != out) std::memcpy(out, kept, length);
  return best;
}

void PngIdatEncoder::PackRow(std::uint32_t y, std::uint32_t x0, std::uint32_t dx, std::uint32_t count,
                             std::uint8_t* raw) const {
  const std::uint8_t* scan = header_.Scanline(y);
  const std::uint8_t* alpha = header_.AlphaScanline(y);
  const auto& inverse = owner_.InverseGamma;
  switch (colorType_) {
    case COLOR_GRAYSCALE:
    case COLOR_PALETTE:
      if (depth_ == 16) {
        for (std::uint32_t i = 0, x = x0; i < count; ++i, x += dx) {
          raw[2 * i] = raw[2 * i + 1] = scan[x];
        }
      } else if (depth_ == dibBits_ && x0 == 0 && dx == 1) {
        std::memcpy(raw, scan, RowBytes(count));
      } else {
        std::memset(raw, 0, RowBytes(count));
        for (std::uint32_t i = 0, x = x0; i < count; ++i, x += dx)
          PutSample(raw, i, depth_, DibIndex(scan, x, dibBits_));
      }
      break;
    case COLOR_GRAYSCALEALPHA: {
      const std::uint32_t sample = depth_ == 16 ? 2 : 1;
      for (std::uint32_t i = 0, x = x0; i < count; ++i, x += dx) {
        std::uint8_t* p = raw + i * 2 * sample;
        p[0] = scan[x];
        p[sample] = alpha[x];
        if (sample == 2) {
          p[1] = p[0];
          p[3] = p[2];
        }
      }
      break;
    }
    case COLOR_RGB:
    case COLOR_RGBALPHA: {
      const std::uint32_t sample = depth_ == 16 ? 2 : 1;
      const std::uint32_t channels = colorType_ == COLOR_RGBALPHA ? 4 : 3;
      const std::size_t stride = std::size_t{sample} * channels;
      std::uint8_t* p = raw;
      if (identityGamma_ && sample == 1) {
        const std::uint8_t* bgr = scan + std::size_t{x0} * 3;
        const std::size_t step = std::size_t{dx} * 3;
        for (std::uint32_t i = 0, x = x0; i < count; ++i, x += dx, p += stride, bgr += step) {
          p[0] = bgr[2];
          p[1] = bgr[1];
          p[2] = bgr[0];
          if (channels == 4) p[3] = alpha[x];
        }
        break;
      }
      for (std::uint32_t i = 0, x = x0; i < count; ++i, x += dx, p += stride) {
        const std::uint8_t* bgr = scan + std::size_t{x} * 3;
        p[0] = inverse[bgr[2]];
        p[sample] = inverse[bgr[1]];
        p[2 * sample] = inverse[bgr[0]];
        if (channels == 4) p[3 * sample] = alpha[x];
      }
      if (sample == 2)
        for (std::size_t j = 1; j < stride * count; j += 2) raw[j] = raw[j - 1];
      break;
    }
    default: break;
  }
}

void PngIdatEncoder::Encode(PngChunkWriter& out) {
  if (!header_.Prepared()) RaiseError<EVnPNGHeaderNotPresent>(PngMessages::HeaderNotPresent);
  const unsigned filterBits = owner_.Filters().bits;
  const bool filtered = (filterBits & 0x1E) != 0;
  IdatDeflater deflater(out, owner_.CompressionLevel(), static_cast<std::size_t>(owner_.MaxIdatSize()), filtered);
  const std::uint32_t width = header_.Width(), height = header_.Height();
  const bool interlaced = owner_.InterlaceMethod() == imAdam7;
  const std::size_t maxRow = RowBytes(width);
  std::vector<std::uint8_t> raw(maxRow), prior(maxRow), scratch;
  for (const PngPass& pass : PngPasses(interlaced)) {
    const std::uint32_t passWidth = PngPassExtent(width, pass.x0, pass.dx);
    const std::uint32_t passHeight = PngPassExtent(height, pass.y0, pass.dy);
    if (passWidth == 0 || passHeight == 0) continue;
    const std::size_t length = RowBytes(passWidth);
    std::fill(prior.begin(), prior.end(), 0);
    for (std::uint32_t r = 0; r < passHeight; ++r) {
      PackRow(pass.y0 + r * pass.dy, pass.x0, pass.dx, passWidth, raw.data());
      std::uint8_t* row = deflater.Reserve(length + 1);
      row[0] = FilterRow(filterBits, raw.data(), prior.data(), length, bpp_, row + 1, scratch);
      raw.swap(prior);
    }
  }
  deflater.Finish();
}

}  // namespace kestrel
