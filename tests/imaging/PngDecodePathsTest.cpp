// The decoder inflates a sound image data stream in one call and streams anything else; both
// paths, and the vector and byte-loop un-filters, must give the same pixels.

#include <gtest/gtest.h>

#include <memory>
#include <random>

#include "imaging/internal/PngColorCopy.h"
#include "imaging/internal/PngUnfilter.h"
#include "tests/imaging/PngTestUtil.h"

namespace kestrel {
namespace {

TEST(PngDecodePaths, VectorUnfilteringMatchesTheByteLoops) {
  std::mt19937 random(3);
  std::uniform_int_distribution<int> byte(0, 255);
  const bool allowed = PngUnfilter::AllowAvx2(true);
  for (bool avx2 : {true, false}) {  // the AVX2 paths where the processor has them, then SSE2
    PngUnfilter::AllowAvx2(avx2);
    for (std::size_t bpp : {1u, 3u, 4u, 6u, 8u})
      for (std::uint8_t type : {1, 2, 3, 4})
        for (int round = 0; round < 4; ++round) {
          // Extremes next to noise exercise the predictor's ties and the 8-bit wrap-around.
          const std::size_t length = bpp * 97;
          std::vector<std::uint8_t> prior(length), row(length);
          for (std::size_t i = 0; i < length; ++i) {
            prior[i] = static_cast<std::uint8_t>(i % 11 == 0 ? 255 : i % 13 == 0 ? 0 : byte(random));
            row[i] = static_cast<std::uint8_t>(i % 7 == 0 ? 128 : byte(random));
          }
          std::vector<std::uint8_t> expected = row;
          PngUnfilter::ApplyScalar(type, expected.data(), prior.data(), length, bpp);
          PngUnfilter::Apply(type, row.data(), prior.data(), length, bpp);
          EXPECT_EQ(row, expected) << "avx2 " << avx2 << ", bpp " << bpp << ", filter " << int(type);
        }
  }
  PngUnfilter::AllowAvx2(allowed);
}

// Every row length around the four-pixel steps, with rows allocated to their exact size (the
// sanitizers catch a step that reads or writes past a row's end).
TEST(PngDecodePaths, ColourCopiesSwapRedAndBlueForEveryRowLength) {
  const bool allowed = PngColorCopy::AllowShuffles(true);
  for (bool shuffles : {true, false}) {
    PngColorCopy::AllowShuffles(shuffles);
    for (std::size_t count = 0; count <= 21; ++count)
      for (std::size_t channels : {3u, 4u}) {
        auto src = std::make_unique<std::uint8_t[]>(channels * count);
        for (std::size_t i = 0; i < channels * count; ++i) src[i] = static_cast<std::uint8_t>(i * 7 + 1);
        auto out = std::make_unique<std::uint8_t[]>(3 * count);
        auto alpha = std::make_unique<std::uint8_t[]>(count);
        if (channels == 4) PngColorCopy::RgbaToBgr(src.get(), out.get(), alpha.get(), count);
        else PngColorCopy::RgbToBgr(src.get(), out.get(), count);
        for (std::size_t i = 0; i < count; ++i) {
          const std::uint8_t* pixel = src.get() + channels * i;
          ASSERT_TRUE(out[3 * i] == pixel[2] && out[3 * i + 1] == pixel[1] && out[3 * i + 2] == pixel[0])
              << "shuffles " << shuffles << ", " << channels << " channels, " << count << " pixels, pixel " << i;
          if (channels == 4) ASSERT_EQ(alpha[i], pixel[3]) << count << " pixels, pixel " << i;
        }
      }
  }
  PngColorCopy::AllowShuffles(allowed);
}

// An RGBA image whose rows cycle through every filter type over random bytes.
std::vector<std::uint8_t> FilteredRows(std::uint32_t width, std::uint32_t height) {
  std::mt19937 random(5);
  std::uniform_int_distribution<int> byte(0, 255);
  std::vector<std::uint8_t> rows;
  for (std::uint32_t y = 0; y < height; ++y) {
    rows.push_back(static_cast<std::uint8_t>(y % 5));
    for (std::uint32_t x = 0; x < width * 4; ++x) rows.push_back(static_cast<std::uint8_t>(byte(random)));
  }
  return rows;
}

void ExpectSamePixels(const std::vector<std::uint8_t>& file, const TVnPNGObject& reference) {
  TVnPNGObject png;
  png.LoadFromMemory(file.data(), file.size());
  ASSERT_EQ(png.Width(), reference.Width());
  for (int y = 0; y < png.Height(); ++y)
    for (int x = 0; x < png.Width(); ++x) {
      const auto px = static_cast<std::uint32_t>(x), py = static_cast<std::uint32_t>(y);
      PixelRGBA a = ResolvePixel(png, px, py), b = ResolvePixel(reference, px, py);
      ASSERT_TRUE(a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a) << x << "," << y;
    }
}

TEST(PngDecodePaths, IrregularStreamsDecodeAsTheSoundOne) {
  // Large enough for the one-call path to map its room and give pages back.
  const std::uint32_t width = 1200, height = 900;
  const std::vector<std::uint8_t> rows = FilteredRows(width, height);
  const std::vector<std::uint8_t> packed = Deflate(rows);
  const std::vector<std::uint8_t> sound = PngFileBuilder().Header(width, height, 8, 6).ImageData(rows).End().Bytes();
  TVnPNGObject reference;
  reference.LoadFromMemory(sound.data(), sound.size());

  // Split over many chunks, with an ancillary chunk between the last one and the end.
  PngFileBuilder split;
  split.Header(width, height, 8, 6);
  for (std::size_t at = 0; at < packed.size(); at += 70001)
    split.Chunk("IDAT", {packed.begin() + at, packed.begin() + std::min(packed.size(), at + 70001)});
  split.Chunk("tEXt", {'k', 0, 'v'}).End();
  ExpectSamePixels(split.Bytes(), reference);

  // A wrong checksum fails the way the streaming inflater reports it.
  std::vector<std::uint8_t> badChecksum = packed;
  badChecksum.back() ^= 1;
  auto damaged = PngFileBuilder().Header(width, height, 8, 6).Chunk("IDAT", badChecksum).End().Bytes();
  TVnPNGObject png;
  EXPECT_THROW(png.LoadFromMemory(damaged.data(), damaged.size()), EVnPNGZLIBError);

  // More rows than the image has: the extra data is ignored.
  std::vector<std::uint8_t> longer = rows;
  longer.insert(longer.end(), rows.begin(), rows.begin() + 4 * width + 1);
  ExpectSamePixels(PngFileBuilder().Header(width, height, 8, 6).ImageData(longer).End().Bytes(), reference);
}

TEST(PngDecodePaths, AStreamEndingEarlyKeepsTheRowsItHad) {
  const std::vector<std::uint8_t> rows = FilteredRows(40, 30);
  std::vector<std::uint8_t> shorter(rows.begin(), rows.begin() + 10 * (40 * 4 + 1));
  auto file = PngFileBuilder().Header(40, 30, 8, 6).ImageData(shorter).End().Bytes();
  TVnPNGObject png;
  png.LoadFromMemory(file.data(), file.size());
  auto full = PngFileBuilder().Header(40, 30, 8, 6).ImageData(rows).End().Bytes();
  TVnPNGObject reference;
  reference.LoadFromMemory(full.data(), full.size());
  for (std::uint32_t x = 0; x < 40; ++x) EXPECT_EQ(ResolvePixel(png, x, 9).g, ResolvePixel(reference, x, 9).g);
  EXPECT_EQ(ResolvePixel(png, 5, 10).a, 0);  // never decoded: the zeroed image
}

}  // namespace
}  // namespace kestrel
