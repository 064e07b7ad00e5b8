// What the chunk classes take from a file, the chunk list's order rules, the transparency mode and
// the graphic-class registration.

#include <gtest/gtest.h>

#include "PngTestUtil.h"
#include "framework/MemoryStream.h"
#include "framework/ResourceStream.h"
#include "imaging/PngObject.h"
#include "platform/gdi/Gdi.h"

namespace kestrel {
namespace {

const std::vector<std::uint8_t> kGrayRows = {0, 10, 20, 0, 30, 40};

void Load(TVnPNGObject& png, const PngFileBuilder& file) {
  png.LoadFromMemory(file.Bytes().data(), file.Bytes().size());
}

std::vector<std::uint8_t> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

TEST(PngChunks, GammaTablesFollowTheFileGamma) {
  TVnPNGObject png;
  Load(png, PngFileBuilder().Header(2, 2, 8, 0).Chunk("gAMA", BigEndian32(100000)).ImageData(kGrayRows).End());
  EXPECT_EQ(png.Chunks().ItemFromClass<TVnPNGChunkgAMA>()->Gamma(), 100000u);
  const int at[] = {1, 64, 128, 200, 254};
  const int want[] = {21, 136, 186, 228, 255};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(png.GammaTable[at[i]], want[i]) << at[i];
  EXPECT_EQ(png.InverseGamma[186], 128);
  // The gray ramp goes through the table: sample 128 shows as 186.
  EXPECT_EQ(ResolvePixel(png, 0, 0).r, png.GammaTable[10]);

  Load(png, PngFileBuilder().Header(2, 2, 8, 0).Chunk("gAMA", BigEndian32(45455)).ImageData(kGrayRows).End());
  for (int i = 0; i < 256; ++i) ASSERT_EQ(png.GammaTable[i], i) << "1/1.00001 is the identity";
  // Loading again resets the tables even without a gAMA chunk.
  Load(png, PngFileBuilder().Header(2, 2, 8, 0).Chunk("gAMA", BigEndian32(50000)).ImageData(kGrayRows).End());
  EXPECT_EQ(png.GammaTable[128], 136);
  Load(png, PngFileBuilder().Header(2, 2, 8, 0).ImageData(kGrayRows).End());
  EXPECT_EQ(png.GammaTable[128], 128);
}

TEST(PngChunks, TextTimeAndPhysicalSizeAreParsed) {
  std::vector<std::uint8_t> ztxt = Bytes("Comment");
  ztxt.push_back(0);
  ztxt.push_back(0);
  auto packed = Deflate(Bytes("compressed words"));
  ztxt.insert(ztxt.end(), packed.begin(), packed.end());
  std::vector<std::uint8_t> text = Bytes("Title");
  text.push_back(0);
  auto body = Bytes("A picture");
  text.insert(text.end(), body.begin(), body.end());
  TVnPNGObject png;
  Load(png, PngFileBuilder()
                .Header(2, 2, 8, 0)
                .Chunk("tEXt", text)
                .Chunk("zTXt", ztxt)
                .Chunk("tIME", {0x07, 0xEA, 12, 9, 10, 30, 59})
                .Chunk("pHYs", {0, 0, 0x0B, 0x13, 0, 0, 0x0B, 0x14, 1})
                .ImageData(kGrayRows)
                .End());
  auto* t = png.Chunks().ItemFromClass<TVnPNGChunkTEXT>();
  EXPECT_EQ(t->Keyword(), "Title");
  EXPECT_EQ(t->Text(), "A picture");
  auto* z = png.Chunks().ItemFromClass<TVnPNGChunkzTXT>();
  EXPECT_EQ(z->Keyword(), "Comment");
  EXPECT_EQ(z->Text(), "compressed words");
  auto* time = png.Chunks().ItemFromClass<TVnPNGChunktIME>();
  EXPECT_EQ(time->Year, 2026);
  EXPECT_EQ(time->Month, 12);
  EXPECT_EQ(time->Second, 59);
  ASSERT_TRUE(png.HasPixelInformation());
  EXPECT_EQ(png.PixelInformation()->PPUnitX(), 2835u);
  EXPECT_EQ(png.PixelInformation()->PPUnitY(), 2836u);
  EXPECT_EQ(png.PixelInformation()->UnitType(), utMeter);
}

TEST(PngChunks, FileOrderIsKeptWithChrmAndLateImageDataDropped) {
  // The image data split into one-byte IDAT chunks still decodes whole.
  auto packed = Deflate(kGrayRows);
  PngFileBuilder file;
  file.Header(2, 2, 8, 0).Chunk("cHRM", std::vector<std::uint8_t>(32, 1)).Chunk("prIv", {1, 2, 3});
  for (std::uint8_t b : packed) file.Chunk("IDAT", {b});
  file.Chunk("tEXt", Bytes("a\0b")).Chunk("IDAT", Deflate({0, 99, 99, 0, 99, 99})).End();
  TVnPNGObject png;
  Load(png, file);
  std::vector<std::string> names;
  for (int i = 0; i < png.Chunks().Count(); ++i) names.push_back(png.Chunks().Item(i)->Name());
  EXPECT_EQ(names, (std::vector<std::string>{"IHDR", "prIv", "IDAT", "tEXt", "IEND"}));
  const TVnPNGChunk* unknown = png.Chunks().FindChunk("prIv");
  ASSERT_NE(unknown, nullptr);
  const TVnPNGChunk& raw = *unknown;
  EXPECT_EQ(typeid(raw), typeid(TVnPNGChunk));
  EXPECT_EQ(unknown->Data(), (std::vector<std::uint8_t>{1, 2, 3}));
  EXPECT_EQ(unknown->Index(), 1);
  EXPECT_EQ(ResolvePixel(png, 1, 1).r, 40) << "the later IDAT must not overwrite the image";
}

TEST(PngChunks, PaletteTransparencyModes) {
  auto palette = std::vector<std::uint8_t>{255, 0, 0, 0, 255, 0, 0, 0, 255};
  auto rows = std::vector<std::uint8_t>{0, 0, 1, 0, 2, 0};
  TVnPNGObject png;
  Load(png, PngFileBuilder().Header(2, 2, 8, 3).Chunk("PLTE", palette).ImageData(rows).End());
  EXPECT_EQ(png.TransparencyMode(), ptmNone);
  Load(png, PngFileBuilder().Header(2, 2, 8, 3).Chunk("PLTE", palette).Chunk("tRNS", {255, 0}).ImageData(rows).End());
  EXPECT_EQ(png.TransparencyMode(), ptmBit);
  EXPECT_EQ(png.TransparentColor(), platform::RGB(0, 255, 0));
  // One half-transparent entry is not a transparent colour: it must be blended.
  Load(png, PngFileBuilder().Header(2, 2, 8, 3).Chunk("PLTE", palette).Chunk("tRNS", {255, 128}).ImageData(rows).End());
  EXPECT_EQ(png.TransparencyMode(), ptmPartial);
  Load(png, PngFileBuilder().Header(2, 2, 8, 6).ImageData(std::vector<std::uint8_t>(2 * 9, 0)).End());
  EXPECT_EQ(png.TransparencyMode(), ptmPartial);
  auto* plte = static_cast<TVnPNGChunkPLTE*>(nullptr);
  Load(png, PngFileBuilder().Header(2, 2, 8, 3).Chunk("PLTE", palette).ImageData(rows).End());
  plte = png.Chunks().ItemFromClass<TVnPNGChunkPLTE>();
  EXPECT_EQ(plte->Count(), 3);
  EXPECT_EQ(plte->Item(2), platform::RGB(0, 0, 255));
  try {
    plte->Item(3);
    ADD_FAILURE() << "entry 3 of 3";
  } catch (const EVnPNGError& e) {
    EXPECT_STREQ(e.what(), "There is no such palette entry.");
  }
}

TEST(PngChunks, SixteenBitKeyColoursUseTheByteThePixelsKeep) {
  // Gray 16-bit key 0x1234: the image holds 0x12, so the key is level 0x12.
  TVnPNGObject png;
  Load(png, PngFileBuilder().Header(1, 1, 16, 0).Chunk("tRNS", {0x12, 0x34}).ImageData({0, 0x12, 0x34}).End());
  EXPECT_EQ(png.TransparencyMode(), ptmBit);
  EXPECT_EQ(png.TransparentColor(), platform::RGB(0x12, 0x12, 0x12));
  Load(png, PngFileBuilder()
                .Header(1, 1, 16, 2)
                .Chunk("tRNS", {0xAA, 1, 0xBB, 2, 0xCC, 3})
                .ImageData({0, 0xAA, 1, 0xBB, 2, 0xCC, 3})
                .End());
  EXPECT_EQ(png.TransparentColor(), platform::RGB(0xAA, 0xBB, 0xCC));
  EXPECT_EQ(png.TransparentColor(), [&] {
    auto p = ResolvePixel(png, 0, 0);
    return platform::RGB(p.r, p.g, p.b);
  }());
}

TEST(PngChunks, AddPlacesChunksAndRefusesDuplicates) {
  TVnPNGObject png;
  EXPECT_THROW(png.AddtEXt("k", "v"), EVnPNGError) << "no header or end yet";
  Load(png, PngFileBuilder().Header(2, 2, 8, 0).ImageData(kGrayRows).End());
  png.AddtEXt("Author", "me");
  png.Chunks().Add<TVnPNGChunkgAMA>();
  png.Chunks().Add<TVnPNGChunktRNS>();
  std::vector<std::string> names;
  for (int i = 0; i < png.Chunks().Count(); ++i) names.push_back(png.Chunks().Item(i)->Name());
  EXPECT_EQ(names, (std::vector<std::string>{"IHDR", "gAMA", "tRNS", "IDAT", "tEXt", "IEND"}));
  try {
    png.Chunks().Add<TVnPNGChunktRNS>();
    ADD_FAILURE() << "second tRNS";
  } catch (const EVnPNGError& e) {
    EXPECT_STREQ(e.what(),
                 "The program tried to add a existent critical chunk to the current image "
                 "which is not allowed.");
  }
  EXPECT_EQ(png.Chunks().ItemFromClass<TVnPNGChunkgAMA>()->Gamma(), 1u);
}

TEST(PngChunks, AssignCopiesOnlyBetweenChunksOfOneClass) {
  TVnPNGObject png;
  Load(png,
       PngFileBuilder().Header(2, 2, 8, 0).Chunk("tEXt", Bytes(std::string("k\0v", 3))).ImageData(kGrayRows).End());
  TVnPNGChunkTEXT copy(&png);
  copy.Assign(*png.Chunks().ItemFromClass<TVnPNGChunkTEXT>());
  EXPECT_EQ(copy.Keyword(), "k");
  EXPECT_EQ(copy.Text(), "v");
  TVnPNGChunkzTXT other(&png);
  EXPECT_THROW(other.Assign(copy), EVnPNGError);
  TVnPNGChunkIHDR header(&png);
  header.Assign(*png.Header());
  EXPECT_EQ(header.Width(), 2u);
  ASSERT_TRUE(header.Prepared());
  EXPECT_NE(header.ImageData(), png.Header()->ImageData());
  EXPECT_EQ(header.Scanline(1)[1], 40);
}

TEST(PngObject, MessagesAreExact) {
  TVnPNGObject png;
  auto file = PngFileBuilder().Chunk("gAMA", BigEndian32(1)).Bytes();
  try {
    png.LoadFromMemory(file.data(), file.size());
    ADD_FAILURE() << "gAMA first";
  } catch (const EVnPNGIHDRNotFirst& e) {
    EXPECT_EQ(e.Message(),
              u"This \"Portable Network Graphics\" image is not supported or it might "
              u"be invalid.\r\n(IHDR chunk is not the first)");
  }
  std::vector<std::uint8_t> bad = {0x89, 'P', 'N', 'G', 13, 10, 26, 0};
  try {
    png.LoadFromMemory(bad.data(), bad.size());
    ADD_FAILURE() << "bad signature";
  } catch (const EVnPNGInvalidFileHeader& e) {
    EXPECT_STREQ(e.what(),
                 "The file being readed is not a valid \"Portable Network Graphics\" image "
                 "because it contains an invalid header. This file may be corruped, try "
                 "obtaining it again.");
  }
  EXPECT_THROW(png.Header(), EVnPNGHeaderNotPresent);
  EXPECT_THROW(png.LoadFromFile(u"/nonexistent/file.png"), EFOpenError);
}

TEST(PngObject, LoadingAnnouncesTheChangeAndPropertiesKeepTheirRules) {
  TVnPNGObject png;
  int changes = 0;
  png.OnChange = [&](TObject* sender) {
    EXPECT_EQ(sender, &png);
    ++changes;
  };
  Load(png, PngFileBuilder().Header(2, 2, 8, 0, 1).ImageData({0, 10, 0, 30, 40}).End());
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(png.InterlaceMethod(), imAdam7);
  EXPECT_EQ(png.Filters(), TFilters{pfSub});
  EXPECT_EQ(png.CompressionLevel(), 7);
  png.SetMaxIdatSize(100);
  EXPECT_EQ(png.MaxIdatSize(), 65535);
  png.SetMaxIdatSize(100000);
  EXPECT_EQ(png.MaxIdatSize(), 100000);
}

TEST(PngObject, ReadsFromAStreamsCurrentPosition) {
  auto file = PngFileBuilder().Header(2, 2, 8, 0).ImageData(kGrayRows).End().Bytes();
  TMemoryStream stream;
  stream.WriteBuffer("junk", 4);
  stream.WriteBuffer(file.data(), file.size());
  stream.WriteBuffer("tail", 4);
  stream.SetPosition(4);
  TVnPNGObject png;
  png.LoadFromStream(stream);
  EXPECT_EQ(png.Width(), 2);
  EXPECT_EQ(stream.Position(), static_cast<std::int64_t>(4 + file.size())) << "stops after IEND";
  EXPECT_EQ(png.ClassName(), u"TVnPNGObject");
}

TEST(PngObject, TheImageDcShowsTheDecodedPixels) {
  // A 2-bit palette image (held at 4 bits) and an RGB image with a gamma, read through GDI.
  TVnPNGObject palette;
  Load(palette, PngFileBuilder()
                    .Header(3, 2, 2, 3)
                    .Chunk("PLTE", {10, 20, 30, 40, 50, 60, 70, 80, 90})
                    .ImageData({0, 0b00011000, 0, 0b10010000})
                    .End());
  TVnPNGObject rgb;
  Load(rgb, PngFileBuilder()
                .Header(2, 1, 8, 2)
                .Chunk("gAMA", BigEndian32(50000))
                .ImageData({0, 1, 2, 3, 200, 100, 50})
                .End());
  for (TVnPNGObject* png : {&palette, &rgb}) {
    TVnPNGChunkIHDR& header = *png->Header();
    std::vector<platform::COLORREF> before;
    for (std::uint32_t y = 0; y < png->Header()->Height(); ++y)
      for (std::uint32_t x = 0; x < png->Header()->Width(); ++x) {
        PixelRGBA p = ResolvePixel(*png, x, y);
        before.push_back(platform::RGB(p.r, p.g, p.b));
      }
    platform::HDC dc = header.ImageDC();
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(header.ImageDC(), dc) << "made once";
    std::size_t i = 0;
    for (std::uint32_t y = 0; y < png->Header()->Height(); ++y)
      for (std::uint32_t x = 0; x < png->Header()->Width(); ++x, ++i) {
        EXPECT_EQ(platform::GetPixel(dc, static_cast<int>(x), static_cast<int>(y)), before[i]) << x << "," << y;
        PixelRGBA p = ResolvePixel(*png, x, y);  // now read from the DIB section's bits
        EXPECT_EQ(platform::RGB(p.r, p.g, p.b), before[i]);
      }
  }
  EXPECT_EQ(platform::GetPixel(palette.Header()->ImageDC(), 0, 1), platform::RGB(70, 80, 90));
}

TEST(PngObject, PixelAccessReadsAndWritesTheHeldImage) {
  // 2-bit gray: the four levels read back exactly (0, 85, 170, 255).
  TVnPNGObject gray;
  Load(gray, PngFileBuilder().Header(4, 1, 2, 0).ImageData({0, 0b00011011}).End());
  EXPECT_EQ(gray.GetPixelColor(0, 0), platform::RGB(0, 0, 0));
  EXPECT_EQ(gray.GetPixelColor(1, 0), platform::RGB(85, 85, 85));
  EXPECT_EQ(gray.GetPixelColor(2, 0), platform::RGB(170, 170, 170));
  EXPECT_EQ(gray.GetPixelColor(3, 0), platform::RGB(255, 255, 255));
  EXPECT_EQ(gray.GetPixelColor(-1, 0), 0u);
  EXPECT_EQ(gray.GetPixelColor(4, 0), 0u);
  gray.SetPixelColor(0, 0, platform::RGB(160, 180, 170));
  EXPECT_EQ(gray.GetPixelColor(0, 0), platform::RGB(170, 170, 170)) << "nearest level";
  EXPECT_EQ(gray.GetPixelColor(1, 0), platform::RGB(85, 85, 85)) << "neighbour untouched";
  gray.SetPixelColor(9, 0, 0);  // outside: nothing

  TVnPNGObject rgba;
  Load(rgba, PngFileBuilder().Header(2, 2, 8, 6).ImageData(std::vector<std::uint8_t>(18, 0)).End());
  rgba.SetPixelColor(1, 1, platform::RGB(1, 2, 3));
  EXPECT_EQ(rgba.GetPixelColor(1, 1), platform::RGB(1, 2, 3));
  EXPECT_EQ(rgba.Header()->AlphaScanline(1)[1], 0) << "alpha untouched";
  EXPECT_EQ(rgba.GetPixelColor(0, 1), 0u);
}

TEST(PngObject, LoadsFromBuiltInResources) {
  static const std::vector<std::uint8_t> file =
      PngFileBuilder().Header(3, 1, 8, 0).ImageData({0, 1, 2, 3}).End().Bytes();
  RegisterResource(RT_RCDATA, u"PNG_TEST", file.data(), file.size());
  RegisterResource(RT_RCDATA, u"#4711", file.data(), file.size());
  TVnPNGObject png;
  png.LoadFromResourceName(nullptr, u"png_test");
  EXPECT_EQ(png.Width(), 3);
  TVnPNGObject byId;
  byId.LoadFromResourceID(nullptr, 4711);
  EXPECT_EQ(byId.Width(), 3);
  try {
    byId.LoadFromResourceID(nullptr, 4712);
    ADD_FAILURE() << "missing resource";
  } catch (const EVnPNGCouldNotLoadResource& e) {
    EXPECT_STREQ(e.what(), "The png image could not be loaded from the resource ID.");
  }
}

}  // namespace
}  // namespace kestrel
