// Writing PNG files: every held colour type and depth, interlaced or not, with each filter choice
// and compression level, must decode to the same pixels with our decoder and with libpng; files
// libpng wrote must survive a trip through us; chunks keep their values and places.

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <atomic>
#include <csetjmp>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "PngReference.h"
#include "PngTestUtil.h"
#include "framework/MemoryStream.h"
#include "imaging/PngObject.h"
#include "imaging/internal/PngIdatEncoder.h"
#include "tests/support/TestEnvironment.h"

#if defined(__SANITIZE_ADDRESS__)
// From the sanitizer runtime (its header ships with clang only).
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*)(const volatile void*, std::size_t),
                                                         void (*)(const volatile void*));
#endif

namespace kestrel {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct RawChunk {
  std::string name;
  Bytes data;
};

// The chunks of a written file, checking each CRC on the way.
std::vector<RawChunk> SplitChunks(const Bytes& file) {
  std::vector<RawChunk> chunks;
  std::size_t at = 8;
  while (at + 12 <= file.size()) {
    const std::uint32_t length = ReadBigEndian32(file.data() + at);
    RawChunk chunk{std::string(reinterpret_cast<const char*>(file.data() + at + 4), 4),
                   Bytes(file.begin() + static_cast<std::ptrdiff_t>(at + 8),
                         file.begin() + static_cast<std::ptrdiff_t>(at + 8 + length))};
    auto crc = crc32(0, file.data() + at + 4, 4);
    if (length > 0) crc = crc32(crc, chunk.data.data(), length);
    EXPECT_EQ(ReadBigEndian32(file.data() + at + 8 + length), crc) << chunk.name;
    chunks.push_back(std::move(chunk));
    at += 12 + length;
  }
  EXPECT_EQ(at, file.size());
  return chunks;
}

Bytes InflateAll(const Bytes& data) {
  Bytes out(1 << 20);
  uLongf size = out.size();
  EXPECT_EQ(uncompress(out.data(), &size, data.data(), data.size()), Z_OK);
  out.resize(size);
  return out;
}

std::string WriteTemp(const testing::TempDir& dir, const std::string& name, const Bytes& bytes) {
  const auto path = (dir / name).string();
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return path;
}

// Fills the held image (DIB bytes and alpha plane) with random values. Blank palette images
// hold 2^depth entries, so every index is one of them.
void Scramble(TVnPNGObject& png, unsigned seed) {
  std::mt19937 random(seed);
  TVnPNGChunkIHDR& h = *png.Header();
  for (std::uint32_t y = 0; y < h.Height(); ++y) {
    std::uint8_t* row = h.Scanline(y);
    for (std::size_t i = 0; i < h.BytesPerRow(); ++i) row[i] = static_cast<std::uint8_t>(random());
    if (std::uint8_t* alpha = h.AlphaScanline(y))
      for (std::uint32_t x = 0; x < h.Width(); ++x) alpha[x] = static_cast<std::uint8_t>(random());
  }
}

void ExpectSamePixels(const TVnPNGObject& expected, const TVnPNGObject& actual, const std::string& what) {
  ASSERT_EQ(actual.Width(), expected.Width()) << what;
  ASSERT_EQ(actual.Height(), expected.Height()) << what;
  int wrong = 0;
  for (int y = 0; y < expected.Height(); ++y)
    for (int x = 0; x < expected.Width(); ++x) {
      PixelRGBA e = ResolvePixel(expected, x, y), a = ResolvePixel(actual, x, y);
      if (e.r != a.r || e.g != a.g || e.b != a.b || e.a != a.a) ++wrong;
    }
  EXPECT_EQ(wrong, 0) << what;
}

void ExpectReferenceShows(const TVnPNGObject& expected, const std::string& path, const std::string& what) {
  testing::ReferenceImage ref;
  ASSERT_TRUE(testing::DecodeWithReference(path, ref)) << what;
  ASSERT_EQ(ref.width, static_cast<std::uint32_t>(expected.Width())) << what;
  int wrong = 0;
  for (int y = 0; y < expected.Height(); ++y)
    for (int x = 0; x < expected.Width(); ++x) {
      PixelRGBA e = ResolvePixel(expected, x, y);
      const std::uint8_t* p = ref.Pixel(x, y);
      if (e.r != p[0] || e.g != p[1] || e.b != p[2] || e.a != p[3]) ++wrong;
    }
  EXPECT_EQ(wrong, 0) << what;
}

struct HeldFormat {
  std::uint8_t type, depth;
};
constexpr HeldFormat kHeldFormats[] = {{0, 1}, {0, 2}, {0, 4}, {0, 8}, {0, 16}, {2, 8}, {2, 16}, {3, 1},
                                       {3, 2}, {3, 4}, {3, 8}, {4, 8}, {4, 16}, {6, 8}, {6, 16}};

class PngWriteEveryFormat : public ::testing::TestWithParam<HeldFormat> {};

TEST_P(PngWriteEveryFormat, DecodesToTheSamePixelsWithUsAndWithLibpng) {
  const HeldFormat format = GetParam();
  testing::TempDir dir;
  const TFilters filterChoices[] = {{},          {pfSub},   {pfUp},
                                    {pfAverage}, {pfPaeth}, {pfNone, pfSub, pfUp, pfAverage, pfPaeth}};
  for (int interlace = 0; interlace < 2; ++interlace)
    for (std::size_t f = 0; f < std::size(filterChoices); ++f)
      for (int level : {0, 6, 9}) {
        TVnPNGObject png;
        png.CreateBlank(format.type, format.depth, 13 + static_cast<int>(f), 9);
        Scramble(png, static_cast<unsigned>(f * 7 + level));
        png.SetInterlaceMethod(interlace ? imAdam7 : imNone);
        png.SetFilters(filterChoices[f]);
        png.SetCompressionLevel(level);
        const Bytes file = png.SaveToBytes();
        const std::string what = "type " + std::to_string(format.type) + " depth " + std::to_string(format.depth) +
                                 " interlace " + std::to_string(interlace) + " filters " + std::to_string(f) +
                                 " level " + std::to_string(level);
        TVnPNGObject back;
        back.LoadFromMemory(file.data(), file.size());
        ExpectSamePixels(png, back, what);
        ExpectReferenceShows(png, WriteTemp(dir, "w.png", file), what);
      }
}

INSTANTIATE_TEST_SUITE_P(Held, PngWriteEveryFormat, ::testing::ValuesIn(kHeldFormats));

// ---- files written by libpng ----

void AppendBytes(png_structp png, png_bytep data, png_size_t size) {
  auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + size);
}

// Random samples of every PNG format (palette images with a 2^depth-entry PLTE and a tRNS).
Bytes WriteWithLibpng(int type, int depth, int interlace, std::uint32_t w, std::uint32_t h) {
  std::mt19937 random(static_cast<unsigned>(type * 100 + depth * 3 + interlace));
  const int channels = type == 2 ? 3 : type == 6 ? 4 : type == 4 ? 2 : 1;
  const std::size_t rowBytes = (std::size_t{w} * channels * depth + 7) / 8;
  Bytes pixels(rowBytes * h);
  for (auto& b : pixels) b = static_cast<std::uint8_t>(random());
  std::vector<png_color> palette(std::size_t{1} << std::min(depth, 8));
  Bytes trns(palette.size());
  for (std::size_t i = 0; i < palette.size(); ++i) {
    palette[i] = {static_cast<png_byte>(random()), static_cast<png_byte>(random()), static_cast<png_byte>(random())};
    trns[i] = static_cast<std::uint8_t>(i % 3 == 0 ? 255 : random());
  }
  Bytes out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  std::vector<png_bytep> rows(h);
  for (std::uint32_t y = 0; y < h; ++y) rows[y] = pixels.data() + y * rowBytes;
  if (setjmp(png_jmpbuf(png)) == 0) {
    png_set_write_fn(png, &out, AppendBytes, nullptr);
    png_set_IHDR(png, info, w, h, depth, type, interlace, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (type == 3) {
      png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
      png_set_tRNS(png, info, trns.data(), static_cast<int>(trns.size()), nullptr);
    }
    png_write_info(png, info);
    png_write_image(png, rows.data());
    png_write_end(png, info);
  }
  png_destroy_write_struct(&png, &info);
  return out;
}

TEST(PngWrite, FilesLibpngWroteKeepTheirPixelsThroughUs) {
  testing::TempDir dir;
  for (const HeldFormat& format : kHeldFormats)
    for (int interlace = 0; interlace < 2; ++interlace) {
      const std::string what = "type " + std::to_string(format.type) + " depth " + std::to_string(format.depth) +
                               " interlace " + std::to_string(interlace);
      const Bytes original = WriteWithLibpng(format.type, format.depth, interlace, 11, 7);
      ASSERT_FALSE(original.empty()) << what;
      TVnPNGObject png;
      png.LoadFromMemory(original.data(), original.size());
      testing::ReferenceImage before, after;
      ASSERT_TRUE(testing::DecodeWithReference(WriteTemp(dir, "a.png", original), before));
      ASSERT_TRUE(testing::DecodeWithReference(WriteTemp(dir, "b.png", png.SaveToBytes()), after)) << what;
      EXPECT_EQ(before.rgba, after.rgba) << what;
    }
}

TEST(PngWrite, ChunksKeepTheirValuesAndPlaces) {
  auto file = PngFileBuilder()
                  .Header(3, 2, 8, 2)
                  .Chunk("tIME", {0x07, 0xEA, 12, 9, 15, 30, 59})
                  .Chunk("pHYs", {0, 0, 0x0B, 0x13, 0, 0, 0x0B, 0x13, 1})
                  .Chunk("prVt", {1, 2, 3})
                  .Chunk("cHRM", Bytes(32, 1))  // dropped on reading
                  .ImageData(Bytes(2 * 10, 7))
                  .Chunk("tEXt", {'K', 0, 'v'})
                  .End()
                  .Bytes();
  TVnPNGObject png;
  png.LoadFromMemory(file.data(), file.size());
  png.AddzTXt("Comment", std::string(300, 'z'));
  png.AddzTXt("Empty", "");
  png.SetMaxIdatSize(0);  // below the smallest size: 65535 is kept
  TVnPNGObject back;
  const Bytes saved = png.SaveToBytes();
  back.LoadFromMemory(saved.data(), saved.size());
  std::vector<std::string> names;
  for (const RawChunk& c : SplitChunks(saved)) names.push_back(c.name);
  EXPECT_EQ(names, (std::vector<std::string>{"IHDR", "tIME", "pHYs", "prVt", "IDAT", "tEXt", "zTXt", "zTXt", "IEND"}));
  auto* time = back.Chunks().ItemFromClass<TVnPNGChunktIME>();
  ASSERT_NE(time, nullptr);
  EXPECT_EQ(time->Year, 2026);
  EXPECT_EQ(time->Second, 59);
  ASSERT_TRUE(back.HasPixelInformation());  // asking for it would add one
  EXPECT_EQ(back.PixelInformation()->PPUnitX(), 2835u);
  EXPECT_EQ(back.PixelInformation()->UnitType(), utMeter);
  EXPECT_EQ(back.Chunks().FindChunk("prVt")->Data(), (Bytes{1, 2, 3}));
  auto* text = back.Chunks().ItemFromClass<TVnPNGChunkTEXT>();
  EXPECT_EQ(text->Keyword(), "K");
  EXPECT_EQ(text->Text(), "v");
  auto* compressed = back.Chunks().ItemFromClass<TVnPNGChunkzTXT>();
  EXPECT_EQ(compressed->Text(), std::string(300, 'z'));
  EXPECT_EQ(static_cast<TVnPNGChunkzTXT*>(back.Chunks().Item(7))->Text(), " ");
  EXPECT_EQ(back.Chunks().FindChunk("cHRM"), nullptr);
}

TEST(PngWrite, LargeImagesSplitIntoIdatChunksOfMaxIdatSize) {
  TVnPNGObject png;
  png.CreateBlank(COLOR_RGB, 8, 300, 300);
  Scramble(png, 1);  // noise hardly compresses: about 270 KB of image data
  png.SetMaxIdatSize(100000);
  std::vector<std::size_t> sizes;
  for (const RawChunk& c : SplitChunks(png.SaveToBytes()))
    if (c.name == "IDAT") sizes.push_back(c.data.size());
  ASSERT_GE(sizes.size(), 3u);
  for (std::size_t i = 0; i + 1 < sizes.size(); ++i) EXPECT_EQ(sizes[i], 100000u);
  EXPECT_LT(sizes.back(), 100000u);
}

TEST(PngWrite, EveryRowCarriesTheOnlyAllowedFilter) {
  TVnPNGObject png;
  png.CreateBlank(COLOR_RGB, 8, 20, 6);
  Scramble(png, 2);
  for (TFilter filter : {pfNone, pfSub, pfUp, pfAverage, pfPaeth}) {
    png.SetFilters({filter});
    Bytes data;
    for (const RawChunk& c : SplitChunks(png.SaveToBytes()))
      if (c.name == "IDAT") data.insert(data.end(), c.data.begin(), c.data.end());
    const Bytes rows = InflateAll(data);
    ASSERT_EQ(rows.size(), 6u * 61);
    for (std::size_t r = 0; r < 6; ++r) EXPECT_EQ(rows[r * 61], filter) << r;
  }
}

TEST(PngWrite, FilterScoringPicksTheMostRepetitiveRow) {
  std::vector<std::uint8_t> scratch, out(8);
  const std::uint8_t ramp[8] = {1, 2, 3, 4, 5, 6, 7, 8};   // Sub turns it into 1,1,1,...
  const std::uint8_t prior[8] = {1, 2, 3, 4, 5, 6, 7, 8};  // Up turns it into zeros too
  const std::uint8_t noise[8] = {9, 200, 31, 77, 5, 140, 66, 3};
  const std::uint8_t zeros[8] = {};
  const unsigned all = 0x1F;
  // Sub and Up both score 6: the tie keeps the lower type.
  EXPECT_EQ(PngIdatEncoder::FilterRow(all, ramp, prior, 8, 1, out.data(), scratch), 1);
  EXPECT_EQ(PngIdatEncoder::FilterRow(all & ~2u, ramp, prior, 8, 1, out.data(), scratch), 2);
  EXPECT_EQ(out, Bytes(8, 0));
  // Nothing repeats after any filter: written unfiltered although None is not allowed.
  EXPECT_EQ(PngIdatEncoder::FilterRow(0x1E, noise, zeros, 8, 1, out.data(), scratch), 0);
  EXPECT_EQ(out, Bytes(noise, noise + 8));
}

// A stream that refuses every write.
class FullStream : public TMemoryStream {
 public:
  std::size_t Write(const void*, std::size_t) override { return 0; }
};

TEST(PngWrite, FailuresRaiseAndLeaveTheStreamUntouched) {
  TVnPNGObject empty;
  TMemoryStream stream;
  EXPECT_THROW(empty.SaveToStream(stream), EVnPNGHeaderNotPresent);
  EXPECT_EQ(stream.Size(), 0);
  TVnPNGObject png;
  png.CreateBlank(COLOR_GRAYSCALE, 8, 2, 2);
  FullStream full;
  EXPECT_THROW(png.SaveToStream(full), Exception);
}

TEST(PngWrite, TwoBitImagesAreWrittenAtFourBits) {
  auto file = PngFileBuilder().Header(4, 1, 2, 0).ImageData({0, 0b00011011}).End().Bytes();
  TVnPNGObject png;
  png.LoadFromMemory(file.data(), file.size());
  const Bytes saved = png.SaveToBytes();
  EXPECT_EQ(png.Header()->BitDepth(), 4);
  EXPECT_EQ(SplitChunks(saved)[0].data[8], 4);
  TVnPNGObject back;
  back.LoadFromMemory(saved.data(), saved.size());
  for (int x = 0; x < 4; ++x) EXPECT_EQ(ResolvePixel(back, x, 0).r, 85 * x);
}

TEST(PngDecoder, ATinyFileCannotReserveAHugeImage) {
  // 60 bytes promising 15000 x 15000 RGB: its data could never fill 675 MB.
  auto file = PngFileBuilder().Header(15000, 15000, 8, 2).ImageData({0}).End().Bytes();
  TVnPNGObject png;
  EXPECT_THROW(png.LoadFromMemory(file.data(), file.size()), EVnPNGUnexpectedEnd);
  EXPECT_TRUE(png.Empty());
  // A file cut short within what its data could hold still decodes its rows.
  auto cut = PngFileBuilder().Header(200, 200, 8, 0).ImageData(Bytes(201 * 10, 0)).End().Bytes();
  TVnPNGObject partial;
  EXPECT_NO_THROW(partial.LoadFromMemory(cut.data(), cut.size()));
  EXPECT_EQ(partial.Height(), 200);
}

}  // namespace
}  // namespace kestrel

namespace kestrel {
namespace {

// The alpha libpng gives each pixel of the first row of the file we write for `png`.
std::vector<int> ReferenceAlphaOfFirstRow(const TVnPNGObject& png) {
  testing::TempDir dir;
  testing::ReferenceImage ref;
  EXPECT_TRUE(testing::DecodeWithReference(WriteTemp(dir, "t.png", png.SaveToBytes()), ref));
  std::vector<int> alpha;
  for (std::uint32_t x = 0; x < ref.width; ++x) alpha.push_back(ref.Pixel(x, 0)[3]);
  return alpha;
}

TEST(PngWrite, TransparentColoursMatchTheirPixelsInTheFileWritten) {
  // 16-bit samples: the key colour and the pixels must be written with the same low byte.
  for (std::uint8_t type : {COLOR_GRAYSCALE, COLOR_RGB}) {
    TVnPNGObject png;
    png.CreateBlank(type, 16, 3, 1);
    png.SetPixelColor(0, 0, platform::RGB(200, 200, 200));
    png.SetPixelColor(1, 0, platform::RGB(10, 10, 10));
    png.SetPixelColor(2, 0, platform::RGB(200, 200, 200));
    png.SetTransparentColor(platform::RGB(200, 200, 200));
    EXPECT_EQ(ReferenceAlphaOfFirstRow(png), (std::vector<int>{0, 255, 0})) << int{type};
  }
  // 2-bit gray is written at 4 bits, where sample s becomes 5s; so must its transparent sample.
  auto file = PngFileBuilder().Header(4, 1, 2, 0).Chunk("tRNS", {0, 2}).ImageData({0, 0b00011011}).End().Bytes();
  TVnPNGObject twoBit;
  twoBit.LoadFromMemory(file.data(), file.size());
  const platform::COLORREF key = twoBit.TransparentColor();
  EXPECT_EQ(ReferenceAlphaOfFirstRow(twoBit), (std::vector<int>{255, 255, 0, 255}));
  EXPECT_EQ(twoBit.TransparentColor(), key);
}

// Records the largest block allocated while `recording` is set (under AddressSanitizer).
std::atomic<bool> recording{false};
std::atomic<std::size_t> largestBlock{0};
#if defined(__SANITIZE_ADDRESS__)
void NoteAllocation(const volatile void*, std::size_t size) {
  if (!recording) return;
  std::size_t seen = largestBlock;
  while (size > seen && !largestBlock.compare_exchange_weak(seen, size)) {
  }
}
void NoteFree(const volatile void*) {}
#endif

TEST(PngWrite, ALargeMaxIdatSizeCostsNoMemoryUpFront) {
#if defined(__SANITIZE_ADDRESS__)
  static const bool hooked = __sanitizer_install_malloc_and_free_hooks(NoteAllocation, NoteFree) != 0;
  ASSERT_TRUE(hooked);
  TVnPNGObject png;
  png.CreateBlank(COLOR_RGB, 8, 16, 16);
  png.SetMaxIdatSize(256 << 20);
  largestBlock = 0;
  recording = true;
  const Bytes file = png.SaveToBytes();
  recording = false;
  EXPECT_LT(largestBlock.load(), std::size_t{1} << 20);
  EXPECT_EQ(SplitChunks(file).size(), 3u);  // IHDR, one IDAT, IEND
#else
  GTEST_SKIP() << "needs the allocation hooks of AddressSanitizer";
#endif
}

}  // namespace
}  // namespace kestrel
