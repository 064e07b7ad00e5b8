// The PNG image list, the glyph list and the glyph cache.

#include <gtest/gtest.h>

#include "PngTestUtil.h"
#include "framework/Bitmap.h"
#include "framework/MemoryStream.h"
#include "imaging/PngImageList.h"
#include "imaging/internal/GlyphCache.h"
#include "tests/platform/gdi/GdiTestSupport.h"

namespace kestrel {
namespace {

using platform::RGB;

// A w x h 32-bit bitmap whose pixel (x, y) is RGB(x * 10, y * 10, tag).
std::unique_ptr<TBitmap> Numbered(int w, int h, int tag) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      std::uint8_t* p = bitmap->ScanLine(y) + 4 * x;
      p[0] = static_cast<std::uint8_t>(tag);
      p[1] = static_cast<std::uint8_t>(y * 10);
      p[2] = static_cast<std::uint8_t>(x * 10);
      p[3] = 255;
    }
  return bitmap;
}

std::unique_ptr<TVnPNGObject> PngOf(TBitmap& bitmap) {
  auto png = std::make_unique<TVnPNGObject>();
  png->Assign(&bitmap);
  return png;
}

TEST(PngImageList, ImagesKeepTheirSizeWhileTheBitmapCopiesFollowTheList) {
  TVnPNGImageList list(nullptr);
  EXPECT_EQ(list.AddPng(nullptr), -1);
  EXPECT_EQ(list.AddPng(PngOf(*Numbered(32, 32, 1))), 0);
  EXPECT_EQ(list.Png(0)->Width(), 32);
  TBitmap copy;
  ASSERT_TRUE(list.TCustomImageList::GetBitmap(0, &copy));
  EXPECT_EQ(copy.Width(), 16);
  EXPECT_EQ(copy.ScanLine(15)[4 * 15 + 2], 150);  // cropped, not scaled

  // Inserting and moving keep the bitmap copies in the same order as the PNG images.
  list.Insert(0, Numbered(4, 4, 2).get(), nullptr);
  list.Insert(1, Numbered(4, 4, 3).get(), nullptr);
  list.Move(0, 2);
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(list.TCustomImageList::GetBitmap(i, &copy));
    EXPECT_EQ(copy.ScanLine(0)[0], platform::GetBValue(list.Png(i)->GetPixelColor(0, 0))) << i;
  }
  EXPECT_EQ(list.IndexOf(list.Png(2)), 2);

  TVnPNGObject target;
  target.CreateBlank(COLOR_GRAYSCALE, 8, 3, 3);
  EXPECT_FALSE(list.GetPNG(-1, &target));
  EXPECT_FALSE(list.GetPNG(3, &target));
  EXPECT_EQ(target.Width(), 3);
  EXPECT_EQ(list.AddImage(&list, 7), -1);
  EXPECT_EQ(list.AddImage(&list, 1), 3);
  EXPECT_EQ(list.Count(), 4);
  list.Delete(0);
  EXPECT_EQ(list.TCustomImageList::Count(), 3);
}

TEST(PngImageList, MasksBecomeAlpha) {
  TVnPNGImageList list(nullptr);
  auto image = Numbered(3, 1, 0);
  list.AddMasked(image.get(), static_cast<TColor>(RGB(10, 0, 0)));
  list.AddMasked(image.get(), clLime);  // no pixel has it
  TBitmap mask(2, 1);                   // smaller than the image: the last pixel stays opaque
  mask.ScanLine(0)[2] = 200;
  list.Add(image.get(), &mask);
  auto alphas = [&](int i) {
    const std::uint8_t* a = list.Png(i)->Header()->AlphaScanline(0);
    return std::vector<int>{a[0], a[1], a[2]};
  };
  EXPECT_EQ(alphas(0), (std::vector<int>{255, 0, 255}));
  EXPECT_EQ(alphas(1), (std::vector<int>{255, 255, 255}));
  EXPECT_EQ(alphas(2), (std::vector<int>{200, 0, 255}));
}

TEST(PngImageList, TheStoredFormatRoundTrips) {
  TVnPNGImageList list(nullptr);
  list.AddPng(PngOf(*Numbered(5, 3, 1)));
  list.Png(0)->AddzTXt("File", "first.png");
  list.AddPng(PngOf(*Numbered(2, 2, 2)));
  TMemoryStream stream;
  list.WriteData(stream);
  const std::int32_t* head = reinterpret_cast<const std::int32_t*>(stream.Memory());
  EXPECT_EQ(head[0], -5);
  EXPECT_EQ(head[1], 2);
  EXPECT_EQ(stream.Memory()[9], 'P');

  TVnPNGImageList back(nullptr);
  back.AddPng(PngOf(*Numbered(1, 1, 9)));  // replaced by what is read
  stream.SetPosition(0);
  back.ReadData(stream);
  ASSERT_EQ(back.Count(), 2);
  EXPECT_EQ(back.TCustomImageList::Count(), 2);
  EXPECT_EQ(back.Png(0)->GetPixelColor(4, 2), RGB(40, 20, 1));
  EXPECT_EQ(back.GetPngFileNameByIndex(0), "first.png");
  EXPECT_EQ(back.GetPngFileNameByIndex(1), "");

  for (auto bytes : {std::vector<std::uint8_t>{1, 0, 0, 0, 1, 0, 0, 0},  // another marker
                     std::vector<std::uint8_t>(stream.Bytes().begin(), stream.Bytes().end() - 30)}) {
    TMemoryStream bad;
    bad.WriteBuffer(bytes.data(), bytes.size());
    bad.SetPosition(0);
    TVnPNGImageList target(nullptr);
    EXPECT_THROW(target.ReadData(bad), Exception);
  }
}

TEST(PngImageList, EmptyImagesAndEmptyListsAreStoredAndReadBack) {
  TVnPNGImageList list(nullptr);
  list.AddPng(std::make_unique<TVnPNGObject>());
  list.AddPng(PngOf(*Numbered(2, 2, 2)));
  TMemoryStream stream;
  list.WriteData(stream);
  TVnPNGImageList back(nullptr);
  stream.SetPosition(0);
  back.ReadData(stream);
  ASSERT_EQ(back.Count(), 2);
  EXPECT_TRUE(back.Png(0)->Empty());
  EXPECT_EQ(back.Png(1)->GetPixelColor(1, 1), RGB(10, 10, 2));

  // A stored list of no images replaces what the list held.
  const std::int32_t none[2] = {TVnPNGImageList::kStreamMarker, 0};
  TMemoryStream empty;
  empty.WriteBuffer(none, sizeof none);
  empty.SetPosition(0);
  back.ReadData(empty);
  EXPECT_EQ(back.Count(), 0);
  EXPECT_EQ(back.TCustomImageList::Count(), 0);
}

TEST(PngImageList, ReplacingKeepsTheImageObjectCallersHold) {
  TVnPNGImageList list(nullptr);
  list.Add(Numbered(2, 2, 1).get(), nullptr);
  TVnPNGObject* held = list.Png(0);
  list.Replace(0, Numbered(2, 2, 50).get(), nullptr);
  EXPECT_EQ(list.Png(0), held);
  EXPECT_EQ(held->GetPixelColor(1, 0), RGB(10, 0, 50));
  list.ReplaceMasked(0, Numbered(2, 2, 60).get(), static_cast<TColor>(RGB(10, 0, 60)));
  EXPECT_EQ(list.Png(0), held);
  EXPECT_EQ(held->Header()->AlphaScanline(0)[1], 0);
  EXPECT_EQ(held->Header()->AlphaScanline(0)[0], 255);
}

TEST(PngImageList, ComponentStreamsCarryTheImagesAsBitmapData) {
  TVnPNGImageList list(nullptr);
  TMemoryStream empty;
  empty.WriteComponent(&list);
  const std::string emptyText(empty.Bytes().begin(), empty.Bytes().end());
  EXPECT_EQ(emptyText.find("Bitmap"), std::string::npos);

  list.AddPng(PngOf(*Numbered(3, 2, 5)));
  TMemoryStream stream;
  stream.WriteComponent(&list);
  const std::string text(stream.Bytes().begin(), stream.Bytes().end());
  EXPECT_NE(text.find("Bitmap"), std::string::npos);
  stream.SetPosition(0);
  TVnPNGImageList back(nullptr);
  stream.ReadComponent(&back);
  ASSERT_EQ(back.Count(), 1);
  EXPECT_EQ(back.Png(0)->GetPixelColor(2, 1), RGB(20, 10, 5));
}

TEST(PngImageList, DrawExtPlacesTheImage) {
  TVnPNGImageList list(nullptr);
  list.SetSize(4, 2);
  list.AddPng(PngOf(*Numbered(4, 2, 255)));
  platform::testing::Canvas surface(40, 40, RGB(0, 0, 0));
  TCanvas canvas;
  canvas.SetHandle(surface.dc);
  struct Case {
    int flags;
    TRect expected;
  };
  const TRect area{10, 10, 30, 20};
  for (const Case& c :
       {Case{0, {10, 10, 14, 12}}, Case{kPngDrawCenter, {18, 14, 22, 16}}, Case{kPngDrawStretch, area},
        Case{kPngDrawStretch | 0x600, {10, 10, 30, 20}}, Case{kPngDrawStretch | kPngDrawKeepHeight, {10, 10, 30, 20}},
        Case{kPngDrawStretch | kPngDrawKeepWidth, {10, 10, 30, 20}},
        Case{kPngDrawCenter | kPngDrawStretch | 0x600, {10, 10, 30, 20}}}) {
    TRect result{};
    list.DrawExt(&canvas, area, result, 0, c.flags);
    EXPECT_EQ(result, c.expected) << c.flags;
  }
  TRect result{};
  list.DrawExt(&canvas, TRect{0, 0, 6, 6}, result, 0, kPngDrawStretch | kPngDrawKeepHeight);
  EXPECT_EQ(result, (TRect{0, 0, 6, 3}));
  surface.Clear(RGB(0, 0, 0));
  list.DrawExt(&canvas, TRect{1, 1, 7, 4}, result, 0, kPngDrawTile);
  EXPECT_EQ(surface.At(6, 3), RGB(10, 0, 255));  // the second tile column and row, at their column 1, row 0
  EXPECT_EQ(surface.At(7, 3), RGB(0, 0, 0));     // clipped at the rectangle
  EXPECT_EQ(surface.At(1, 4), RGB(0, 0, 0));
  canvas.SetHandle(nullptr);
}

TEST(GlyphList, SlotsAreReusedAndEmptyListsLeaveTheCache) {
  TVnGlyphCache cache;
  TVnGlyphList* list = cache.GetList(8, 8);
  EXPECT_EQ(cache.GetList(8, 8), list);
  EXPECT_NE(cache.GetList(9, 8), list);
  auto glyph = Numbered(8, 8, 0);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(list->AddMasked(glyph.get(), clFuchsia, 1), i);
  list->Delete(3);
  list->Delete(3);  // already free
  EXPECT_EQ(list->GlyphCount(), 4);
  EXPECT_EQ(list->AddMasked(glyph.get(), clFuchsia, 1), 3);
  EXPECT_EQ(list->Count(), 5);
  cache.ReturnList(list);
  EXPECT_EQ(cache.GlyphLists.size(), 2u);  // still holds glyphs
  for (int i = 0; i < 5; ++i) list->Delete(i);
  cache.ReturnList(list);
  EXPECT_EQ(cache.GlyphLists.size(), 1u);
  cache.ReturnList(cache.GetList(9, 8));
  EXPECT_TRUE(cache.Empty());
}

}  // namespace
}  // namespace kestrel
