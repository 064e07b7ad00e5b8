// Hand-made damaged and hostile files: each must raise the exception that names its fault and
// leave an object that is safe to measure, never crash or exhaust memory.

#include <gtest/gtest.h>

#include <typeinfo>

#include "PngTestUtil.h"
#include "imaging/PngObject.h"

namespace kestrel {
namespace {

// A 2x2 8-bit gray image: filter byte + 2 samples per row.
const std::vector<std::uint8_t> kGrayRows = {0, 10, 20, 0, 30, 40};

template <class E>
void ExpectLoadFails(const std::vector<std::uint8_t>& file) {
  TVnPNGObject png;
  try {
    png.LoadFromMemory(file.data(), file.size());
    ADD_FAILURE() << "loaded without error, expected " << typeid(E).name();
  } catch (const EVnPNGError& e) {
    EXPECT_EQ(typeid(e), typeid(E)) << e.what();
  }
  EXPECT_TRUE(png.Empty());
  EXPECT_EQ(png.Width(), 0);
  EXPECT_EQ(png.Height(), 0);
}

TEST(PngHostile, ChunkLengthsBeyondTheFileOrTheLimitAreAnUnexpectedEnd) {
  auto base = PngFileBuilder().Header(2, 2, 8, 0);
  auto overflow = base;
  overflow.Raw(BigEndian32(0xFFFFFFF0u)).Raw({'t', 'E', 'X', 't', 'a', 0, 'b'});
  ExpectLoadFails<EVnPNGUnexpectedEnd>(overflow.Bytes());
  auto pastEnd = base;
  pastEnd.Raw(BigEndian32(1000)).Raw({'I', 'D', 'A', 'T', 1, 2, 3});
  ExpectLoadFails<EVnPNGUnexpectedEnd>(pastEnd.Bytes());
  auto overLimit = base;
  overLimit.Raw(BigEndian32(0x80000000u)).Raw({'I', 'D', 'A', 'T'});
  ExpectLoadFails<EVnPNGUnexpectedEnd>(overLimit.Bytes());
}

TEST(PngHostile, EveryTruncationOfAValidFileFailsCleanly) {
  auto file = PngFileBuilder().Header(2, 2, 8, 0).Chunk("tEXt", {'k', 0, 'v'}).ImageData(kGrayRows).End().Bytes();
  for (std::size_t size = 0; size < file.size(); ++size) {
    std::vector<std::uint8_t> cut(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(size));
    TVnPNGObject png;
    EXPECT_THROW(png.LoadFromMemory(cut.data(), cut.size()), EVnPNGError) << "size " << size;
  }
  TVnPNGObject whole;
  EXPECT_NO_THROW(whole.LoadFromMemory(file.data(), file.size()));
}

TEST(PngHostile, HeaderValuesOutsideThePngTableAreRejected) {
  struct Case {
    std::uint32_t w, h;
    int depth, type, interlace;
    const std::type_info& error;
  };
  const Case cases[] = {
      {0, 5, 8, 0, 0, typeid(EVnPNGInvalidIHDR)},
      {5, 0, 8, 0, 0, typeid(EVnPNGInvalidIHDR)},
      {65536, 1, 8, 0, 0, typeid(EVnPNGSizeExceeds)},
      {1, 0xFFFFFFFFu, 8, 0, 0, typeid(EVnPNGSizeExceeds)},
      {4, 4, 4, 2, 0, typeid(EVnPNGInvalidIHDR)},   // RGB below 8 bits
      {4, 4, 16, 3, 0, typeid(EVnPNGInvalidIHDR)},  // palette at 16 bits
      {4, 4, 4, 4, 0, typeid(EVnPNGInvalidIHDR)},   // gray + alpha below 8 bits
      {4, 4, 8, 5, 0, typeid(EVnPNGInvalidIHDR)},
      {4, 4, 8, 0, 2, typeid(EVnPNGUnknownInterlace)},
      // Valid, but 12.9 GB of pixels: refused before anything is allocated.
      {65535, 65535, 8, 2, 0, typeid(EVnPNGOutMemory)},
  };
  for (const Case& c : cases) {
    auto file = PngFileBuilder().Header(c.w, c.h, c.depth, c.type, c.interlace).ImageData(kGrayRows).End().Bytes();
    TVnPNGObject png;
    try {
      png.LoadFromMemory(file.data(), file.size());
      ADD_FAILURE() << c.w << "x" << c.h << " depth " << c.depth << " type " << c.type;
    } catch (const EVnPNGError& e) {
      EXPECT_EQ(typeid(e), c.error) << c.w << "x" << c.h << " depth " << c.depth << " type " << c.type;
    }
    EXPECT_TRUE(png.Empty());
  }
  std::vector<std::uint8_t> ihdr(13, 0);
  ihdr[3] = ihdr[7] = 1;
  ihdr[8] = 8;
  ihdr[10] = 1;  // compression method
  ExpectLoadFails<EVnPNGUnknownCompression>(PngFileBuilder().Chunk("IHDR", ihdr).ImageData(kGrayRows).End().Bytes());
  ihdr.resize(12);
  ExpectLoadFails<EVnPNGInvalidIHDR>(PngFileBuilder().Chunk("IHDR", ihdr).ImageData(kGrayRows).End().Bytes());
}

TEST(PngHostile, TheWidestAllowedImageLoads) {
  std::vector<std::uint8_t> row(65535 + 1, 0);
  auto file = PngFileBuilder().Header(65535, 1, 8, 0).ImageData(row).End().Bytes();
  TVnPNGObject png;
  ASSERT_NO_THROW(png.LoadFromMemory(file.data(), file.size()));
  EXPECT_EQ(png.Width(), 65535);
}

TEST(PngHostile, ASecondHeaderIsRejected) {
  ExpectLoadFails<EVnPNGInvalidIHDR>(
      PngFileBuilder().Header(2, 2, 8, 0).Header(60000, 60000, 8, 6).ImageData(kGrayRows).End().Bytes());
}

TEST(PngHostile, ZtxtBombRaisesInsteadOfInflating) {
  std::vector<std::uint8_t> zeros(64u << 20, 0);  // 64 MiB of zeros deflate to ~64 KiB
  std::vector<std::uint8_t> data = {'b', 'o', 'm', 'b', 0, 0};
  auto packed = Deflate(zeros, 9);
  data.insert(data.end(), packed.begin(), packed.end());
  ExpectLoadFails<EVnPNGOutMemory>(
      PngFileBuilder().Header(2, 2, 8, 0).Chunk("zTXt", data).ImageData(kGrayRows).End().Bytes());
  // Many chunks just under the limit each share one budget per file.
  std::vector<std::uint8_t> piece = {'k', 0, 0};
  auto packedPiece = Deflate(std::vector<std::uint8_t>(6u << 20, 'x'), 9);
  piece.insert(piece.end(), packedPiece.begin(), packedPiece.end());
  PngFileBuilder many;
  many.Header(2, 2, 8, 0);
  for (int i = 0; i < 3; ++i) many.Chunk("zTXt", piece);
  ExpectLoadFails<EVnPNGOutMemory>(many.ImageData(kGrayRows).End().Bytes());
  PngFileBuilder two;
  two.Header(2, 2, 8, 0).Chunk("zTXt", piece).Chunk("zTXt", piece).ImageData(kGrayRows).End();
  TVnPNGObject png;
  EXPECT_NO_THROW(png.LoadFromMemory(two.Bytes().data(), two.Bytes().size()));
}

TEST(PngHostile, ChecksumsGuardCriticalChunksAndDropDamagedAncillaryOnes) {
  ExpectLoadFails<EVnPNGInvalidCRC>(
      PngFileBuilder().Header(2, 2, 8, 0).CorruptLastCrc().ImageData(kGrayRows).End().Bytes());
  ExpectLoadFails<EVnPNGInvalidCRC>(
      PngFileBuilder().Header(2, 2, 8, 0).ImageData(kGrayRows).CorruptLastCrc().End().Bytes());

  auto file = PngFileBuilder()
                  .Header(2, 2, 8, 0)
                  .Chunk("gAMA", BigEndian32(100000))
                  .CorruptLastCrc()
                  .Chunk("tEXt", {'k', 0, 'v'})
                  .ImageData(kGrayRows)
                  .End()
                  .Bytes();
  TVnPNGObject png;
  ASSERT_NO_THROW(png.LoadFromMemory(file.data(), file.size()));
  EXPECT_EQ(png.Chunks().FindChunk("gAMA"), nullptr);
  EXPECT_NE(png.Chunks().FindChunk("tEXt"), nullptr);
  EXPECT_EQ(png.GammaTable[128], 128) << "a damaged gAMA must not change the tables";
}

TEST(PngHostile, MissingOrBrokenImageData) {
  ExpectLoadFails<EVnPNGNoImageData>(PngFileBuilder().Header(2, 2, 8, 0).End().Bytes());
  ExpectLoadFails<EVnPNGIHDRNotFirst>(
      PngFileBuilder().Chunk("gAMA", BigEndian32(45455)).Header(2, 2, 8, 0).ImageData(kGrayRows).End().Bytes());
  // The zlib stream stops half-way and the next chunk is not image data.
  auto packed = Deflate(kGrayRows);
  std::vector<std::uint8_t> half(packed.begin(), packed.begin() + 4);
  ExpectLoadFails<EVnPNGMissingMultipleIDAT>(
      PngFileBuilder().Header(2, 2, 8, 0).Chunk("IDAT", half).Chunk("tEXt", {'a', 0, 'b'}).End().Bytes());
  // Garbage instead of a zlib stream.
  TVnPNGObject png;
  auto garbage = PngFileBuilder().Header(2, 2, 8, 0).Chunk("IDAT", {0x78, 0x9C, 0xFF, 0xFF, 0xFF}).End().Bytes();
  try {
    png.LoadFromMemory(garbage.data(), garbage.size());
    ADD_FAILURE() << "garbage inflated";
  } catch (const EVnPNGZLIBError& e) {
    EXPECT_STREQ(e.what(),
                 "Could not decompress the image because it contains invalid compressed data.\r\n"
                 " Description: data error (-3)");
  }
}

TEST(PngHostile, ShortAncillaryChunksAreIgnored) {
  auto file = PngFileBuilder()
                  .Header(2, 2, 8, 2)
                  .Chunk("gAMA", {1, 2})
                  .Chunk("pHYs", {0, 0, 1})
                  .Chunk("tRNS", {0, 1})
                  .Chunk("tIME", {7, 0xE6, 1})
                  .Chunk("tEXt", {'a'})
                  .Chunk("zTXt", {'k', 0, 0})
                  .ImageData({0, 1, 2, 3, 4, 5, 6, 0, 1, 2, 3, 4, 5, 6})
                  .End()
                  .Bytes();
  TVnPNGObject png;
  ASSERT_NO_THROW(png.LoadFromMemory(file.data(), file.size()));
  EXPECT_EQ(png.GammaTable[100], 100);
  EXPECT_EQ(png.Chunks().ItemFromClass<TVnPNGChunkpHYs>()->PPUnitX(), 0u);
  EXPECT_EQ(png.Chunks().ItemFromClass<TVnPNGChunktIME>()->Year, 0);
  EXPECT_EQ(png.TransparencyMode(), ptmNone) << "2 bytes cannot hold an RGB key";
  EXPECT_EQ(png.TransparentColor(), 0u);
}

TEST(PngHostile, OversizedPaletteChunks) {
  ExpectLoadFails<EVnPNGInvalidPalette>(PngFileBuilder()
                                            .Header(2, 2, 8, 3)
                                            .Chunk("PLTE", std::vector<std::uint8_t>(771, 7))
                                            .ImageData(kGrayRows)
                                            .End()
                                            .Bytes());
  ExpectLoadFails<EVnPNGInvalidPalette>(PngFileBuilder()
                                            .Header(2, 2, 8, 3)
                                            .Chunk("PLTE", std::vector<std::uint8_t>(10, 7))
                                            .ImageData(kGrayRows)
                                            .End()
                                            .Bytes());
  ExpectLoadFails<EVnPNGInvalidPalette>(PngFileBuilder()
                                            .Header(2, 2, 8, 3)
                                            .Chunk("tRNS", std::vector<std::uint8_t>(257, 7))
                                            .ImageData(kGrayRows)
                                            .End()
                                            .Bytes());
  // A 256-entry palette on a 1-bit image only fills the two colours the image can show.
  auto file = PngFileBuilder()
                  .Header(2, 2, 1, 3)
                  .Chunk("PLTE", std::vector<std::uint8_t>(768, 9))
                  .Chunk("tRNS", std::vector<std::uint8_t>(256, 255))
                  .ImageData({0, 0x40, 0, 0x80})
                  .End()
                  .Bytes();
  TVnPNGObject png;
  ASSERT_NO_THROW(png.LoadFromMemory(file.data(), file.size()));
  EXPECT_EQ(png.Header()->PaletteCount(), 2);
}

TEST(PngHostile, AFailedLoadKeepsTheChunksReadSoFar) {
  auto file = PngFileBuilder().Header(2, 2, 8, 0).Chunk("tEXt", {'k', 0, 'v'}).End().Bytes();
  TVnPNGObject png;
  EXPECT_THROW(png.LoadFromMemory(file.data(), file.size()), EVnPNGNoImageData);
  EXPECT_EQ(png.Chunks().Count(), 3);
  EXPECT_NE(png.Chunks().FindChunk("IHDR"), nullptr);
  EXPECT_TRUE(png.Empty());
}

}  // namespace
}  // namespace kestrel
