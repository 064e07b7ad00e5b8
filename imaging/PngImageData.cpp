#include "imaging/PngImageData.h"

#include <zlib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <span>
#include <utility>
#include <vector>

#include "imaging/PngErrors.h"
#include "imaging/PngHeader.h"
#include "imaging/PngObject.h"
#include "imaging/internal/PngColorCopy.h"
#include "imaging/internal/PngIdatRun.h"
#include "imaging/internal/PngInflatedImage.h"
#include "imaging/internal/PngPasses.h"
#include "imaging/internal/PngUnfilter.h"

namespace kestrel {

namespace {

// Inflates the image data stream piece by piece, as the chunks hand it out.
class IdatInflater {
 public:
  // `maxRow` is the longest row (with its filter byte) that will be asked for.
  IdatInflater(PngIdatRun& run, std::size_t maxRow)
      : run_(run),
        capacity_(2 * maxRow + kStagingSize),
        staging_(std::make_unique_for_overwrite<std::uint8_t[]>(capacity_)) {
    int result = inflateInit(&z_);
    if (result != Z_OK) RaiseZLibError(result);
  }
  ~IdatInflater() { inflateEnd(&z_); }
  IdatInflater(const IdatInflater&) = delete;
  IdatInflater& operator=(const IdatInflater&) = delete;

  // The next `size` bytes of the stream, or null when the stream yields no more data first. They
  // stay valid, with the `keep` bytes before them (the previous row), until the next call.
  // Inflating into a large staging buffer rather than row by row spares zlib from copying every
  // byte into its window again.
  std::uint8_t* Next(std::size_t size, std::size_t keep) {
    if (end_ - begin_ < size) {
      std::size_t from = begin_ - std::min(keep, begin_);
      if (from > 0) {
        std::memmove(staging_.get(), staging_.get() + from, end_ - from);
        begin_ -= from;
        end_ -= from;
      }
      Inflate(begin_ + size);
      if (end_ - begin_ < size) return nullptr;
    }
    std::uint8_t* bytes = staging_.get() + begin_;
    begin_ += size;
    return bytes;
  }

 private:
  // Inflates into the staging buffer until it holds at least `want` bytes or the stream yields no
  // more. A stream cut short (zlib's buffer error with all input used) only asks for more input,
  // it is not an error.
  void Inflate(std::size_t want) {
    while (end_ < want && !ended_) {
      if (z_.avail_in == 0) Refill();
      z_.next_out = staging_.get() + end_;
      z_.avail_out = static_cast<uInt>(capacity_ - end_);
      int result = inflate(&z_, Z_NO_FLUSH);
      end_ = capacity_ - z_.avail_out;
      if (result == Z_STREAM_END) {
        ended_ = true;
      } else if (result == Z_BUF_ERROR) {
        if (z_.avail_in > 0) return;
      } else if (result != Z_OK) {
        RaiseZLibError(result);
      }
    }
  }

  void Refill() {
    const std::uint8_t* piece = nullptr;
    std::size_t n = run_.Read(piece);
    z_.next_in = const_cast<std::uint8_t*>(piece);
    z_.avail_in = static_cast<uInt>(n);
  }

  static constexpr std::size_t kStagingSize = 256 * 1024;
  PngIdatRun& run_;
  std::size_t capacity_;
  std::unique_ptr<std::uint8_t[]> staging_;
  std::size_t begin_ = 0;  // next byte to hand out
  std::size_t end_ = 0;    // end of the inflated bytes
  z_stream z_{};
  bool ended_ = false;
};

const std::array<std::uint8_t, 256>& IdentityTable() {
  static const std::array<std::uint8_t, 256> table = [] {
    std::array<std::uint8_t, 256> t{};
    for (int i = 0; i < 256; ++i) t[i] = static_cast<std::uint8_t>(i);
    return t;
  }();
  return table;
}

// Writes a palette index of `bits` bits (1, 4 or 8) at column x of a DIB row.
inline void SetIndex(std::uint8_t* scan, std::uint32_t x, int bits, unsigned value) {
  if (bits == 8) {
    scan[x] = static_cast<std::uint8_t>(value);
  } else if (bits == 4) {
    std::uint8_t& b = scan[x >> 1];
    b = (x & 1) ? static_cast<std::uint8_t>((b & 0xF0) | (value & 0x0F))
                : static_cast<std::uint8_t>((b & 0x0F) | (value << 4));
  } else {
    std::uint8_t mask = static_cast<std::uint8_t>(0x80 >> (x & 7));
    std::uint8_t& b = scan[x >> 3];
    b = (value & 1) ? (b | mask) : static_cast<std::uint8_t>(b & ~mask);
  }
}

// Sample i of a row packed at `bits` (1, 2, 4) bits per sample, most significant first.
inline unsigned PackedSample(const std::uint8_t* row, std::uint32_t i, int bits) {
  std::uint32_t bit = i * static_cast<std::uint32_t>(bits);
  int shift = 8 - bits - static_cast<int>(bit & 7);
  return (row[bit >> 3] >> shift) & ((1u << bits) - 1);
}

class RowConverter {
 public:
  RowConverter(TVnPNGChunkIHDR& header, const std::uint8_t* gamma)
      : h_(header),
        gamma_(gamma),
        depth_(header.BitDepth()),
        type_(header.ColorType()),
        bits_(header.BitmapInfo().bmiHeader.biBitCount),
        identity_(std::equal(gamma, gamma + 256, IdentityTable().begin())) {}

  // Puts `count` pixels of a raw row into image row y at columns x0, x0 + dx, ...
  void Convert(const std::uint8_t* src, std::uint32_t y, std::uint32_t x0, std::uint32_t dx,
               std::uint32_t count) const {
    std::uint8_t* scan = h_.Scanline(y);
    std::uint8_t* alpha = h_.AlphaScanline(y);
    switch (type_) {
      case COLOR_GRAYSCALE:
      case COLOR_PALETTE: ConvertIndexed(src, scan, x0, dx, count); break;
      case COLOR_GRAYSCALEALPHA: {
        std::uint32_t stride = depth_ == 16 ? 4 : 2;
        for (std::uint32_t i = 0, x = x0; i < count; ++i, x += dx) {
          scan[x] = src[i * stride];
          alpha[x] = src[i * stride + stride / 2];
        }
        break;
      }
      case COLOR_RGB:
      case COLOR_RGBALPHA: ConvertColor(src, scan, alpha, x0, dx, count); break;
      default: break;
    }
  }

 private:
  void ConvertIndexed(const std::uint8_t* src, std::uint8_t* scan, std::uint32_t x0, std::uint32_t dx,
                      std::uint32_t count) const {
    if (depth_ == 16) {
      for (std::uint32_t i = 0, x = x0; i < count; ++i, x += dx) scan[x] = src[2 * i];
    } else if (depth_ == 8) {
      if (dx == 1) {
        std::memcpy(scan + x0, src, count);
      } else {
        for (std::uint32_t i = 0, x = x0; i < count; ++i, x += dx) scan[x] = src[i];
      }
    } else if (depth_ == bits_ && dx == 1 && x0 == 0) {
      // 1 and 4 bits: the packed row is already the DIB's layout.
      std::memcpy(scan, src, (std::size_t{count} * depth_ + 7) / 8);
    } else {
      // 2-bit gray sits in a 16-level ramp: sample s is level 5s (0, 85, 170, 255 exactly).
      unsigned scale = (type_ == COLOR_GRAYSCALE && depth_ == 2) ? 5 : 1;
      for (std::uint32_t i = 0, x = x0; i < count; ++i, x += dx)
        SetIndex(scan, x, bits_, PackedSample(src, i, depth_) * scale);
    }
  }

  void ConvertColor(const std::uint8_t* src, std::uint8_t* scan, std::uint8_t* alpha, std::uint32_t x0,
                    std::uint32_t dx, std::uint32_t count) const {
    std::uint8_t* out = scan + std::size_t{x0} * 3;
    const std::size_t outStep = std::size_t{dx} * 3;
    std::uint8_t* alphaOut = alpha ? alpha + x0 : nullptr;
    if (identity_ && depth_ == 8 && dx == 1) {
      if (type_ == COLOR_RGBALPHA) PngColorCopy::RgbaToBgr(src, out, alphaOut, count);
      else PngColorCopy::RgbToBgr(src, out, count);
      return;
    }
    if (identity_ && depth_ == 8) {
      if (type_ == COLOR_RGBALPHA) CopyColors8<4>(src, out, outStep, alphaOut, dx, count);
      else CopyColors8<3>(src, out, outStep, nullptr, dx, count);
      return;
    }
    const std::uint32_t sample = depth_ == 16 ? 2 : 1;
    const std::uint32_t stride = sample * (type_ == COLOR_RGBALPHA ? 4 : 3);
    const std::uint8_t* g = gamma_;
    for (std::uint32_t i = 0; i < count; ++i, src += stride, out += outStep) {
      out[0] = g[src[2 * sample]];
      out[1] = g[src[sample]];
      out[2] = g[src[0]];
      if (type_ == COLOR_RGBALPHA) alphaOut[std::size_t{i} * dx] = src[3 * sample];
    }
  }

  // 8-bit RGB or RGBA into BGR (and the alpha plane) as they are, for the pixels of an interlaced
  // pass, which lie `dx` columns apart. All but the last pixel load four bytes at once and
  // reverse them.
  template <std::uint32_t Channels>
  static void CopyColors8(const std::uint8_t* src, std::uint8_t* out, std::size_t outStep, std::uint8_t* alpha,
                          std::uint32_t dx, std::uint32_t count) {
    if (count == 0) return;
    std::uint32_t i = 0;
    for (; i + 1 < count; ++i, src += Channels, out += outStep) {
      std::uint32_t rgba;
      std::memcpy(&rgba, src, 4);
      const std::uint32_t bgr = __builtin_bswap32(rgba) >> 8;
      const auto low = static_cast<std::uint16_t>(bgr);
      std::memcpy(out, &low, 2);
      out[2] = static_cast<std::uint8_t>(bgr >> 16);
      if constexpr (Channels == 4) alpha[std::size_t{i} * dx] = static_cast<std::uint8_t>(rgba >> 24);
    }
    out[0] = src[2];
    out[1] = src[1];
    out[2] = src[0];
    if constexpr (Channels == 4) alpha[std::size_t{i} * dx] = src[3];
  }

  TVnPNGChunkIHDR& h_;
  const std::uint8_t* gamma_;
  int depth_;
  int type_;
  int bits_;
  bool identity_;  // no gamma: colours are copied as they are
};

}  // namespace

bool TVnPNGChunkIDAT::LoadFromStream(PngChunkReader& reader, const std::string& chunkName, std::uint32_t size) {
  (void)size;
  fName = chunkName;
  fData.clear();
  rowsDecoded_ = 0;
  TVnPNGChunkIHDR* header = Header();
  if (!header || !header->Prepared()) RaiseError<EVnPNGHeaderNotPresent>(PngMessages::HeaderNotPresent);

  const std::uint8_t type = header->ColorType();
  const int bits = header->BitmapInfo().bmiHeader.biBitCount;
  if (type == COLOR_GRAYSCALE || type == COLOR_GRAYSCALEALPHA) header->SetGrayRamp(1 << bits);

  const std::uint32_t channels = type == COLOR_RGB              ? 3
                                 : type == COLOR_RGBALPHA       ? 4
                                 : type == COLOR_GRAYSCALEALPHA ? 2
                                                                : 1;
  const std::uint32_t pixelBits = channels * header->BitDepth();
  const std::size_t bpp = std::max<std::uint32_t>(1, pixelBits / 8);
  auto rowBytes = [&](std::uint32_t width) { return (std::size_t{width} * pixelBits + 7) / 8; };

  const std::uint32_t width = header->Width();
  const std::uint32_t height = header->Height();
  const std::vector<std::uint8_t> zeros(rowBytes(width) + 1, 0);
  RowConverter converter(*header, fOwner ? fOwner->GammaTable.data() : IdentityTable().data());

  const bool interlaced = header->InterlaceMethod() == 1;
  const std::span<const PngPass> passes = PngPasses(interlaced);
  // Each row is un-filtered in place against the raw row before it (zeros for the first).
  auto decodeRows = [&](auto& rows) {
    for (const PngPass& pass : passes) {
      std::uint32_t passWidth = PngPassExtent(width, pass.x0, pass.dx);
      std::uint32_t passHeight = PngPassExtent(height, pass.y0, pass.dy);
      if (passWidth == 0 || passHeight == 0) continue;
      const std::size_t length = rowBytes(passWidth);
      for (std::uint32_t r = 0; r < passHeight; ++r) {
        const std::size_t keep = r == 0 ? 0 : length + 1;
        std::uint8_t* row = rows.Next(length + 1, keep);
        if (!row) return;
        const std::uint8_t* prior = r == 0 ? zeros.data() : row - keep;
        PngUnfilter::Apply(row[0], row + 1, prior + 1, length, bpp);
        converter.Convert(row + 1, pass.y0 + r * pass.dy, pass.x0, pass.dx, passWidth);
        ++rowsDecoded_;
      }
    }
  };
  std::size_t filteredSize = 0;
  for (const PngPass& pass : passes) {
    std::uint32_t passWidth = PngPassExtent(width, pass.x0, pass.dx);
    std::uint32_t passHeight = PngPassExtent(height, pass.y0, pass.dy);
    if (passWidth > 0) filteredSize += std::size_t{passHeight} * (rowBytes(passWidth) + 1);
  }

  // Inflating in one go holds every filtered row at once (their pages are given back as the rows
  // are decoded). That is taken only when it costs no more than the image itself, give or take
  // the filter bytes and a few rows; deeper samples stream row by row.
  const std::size_t imageBytes =
      header->BytesPerRow() * height + (header->ImageAlpha() ? std::size_t{width} * height : 0);
  const bool wholeFits = filteredSize <= imageBytes + 2 * std::size_t{height} + 4 * zeros.size();

  PngIdatRun run(reader);
  PngInflatedImage whole;
  if (wholeFits && run.Clean() && whole.Inflate(run.Data(), run.Size(), filteredSize)) {
    // The compressed stream's memory goes before the decoded rows take up theirs.
    run.ReleaseData();
    decodeRows(whole);
  } else {
    // Damaged, short or over-long streams take the streaming path, which decodes what it can
    // and fails exactly where the stream does.
    IdatInflater inflater(run, rowBytes(width) + 1);
    decodeRows(inflater);
  }
  run.Finish();
  return true;
}

}  // namespace kestrel
