#include <gtest/gtest.h>

#include <vector>

#include "tests/platform/gdi/GdiTestSupport.h"

namespace kestrel::platform {
namespace {

using testing::Canvas;
using testing::kBlue;
using testing::kRed;
using testing::kWhite;

// Shorthand for the region's pixels as a mask over `area`.
std::string Pixels(HRGN region, const RECT& area) {
  std::string out;
  for (LONG y = area.top; y < area.bottom; ++y) {
    if (y > area.top) out += '|';
    for (LONG x = area.left; x < area.right; ++x) out += PtInRegion(region, x, y) ? '#' : '.';
  }
  return out;
}

TEST(Region, CombineModesFollowSetAlgebra) {
  HRGN a = CreateRectRgn(0, 0, 3, 2);
  HRGN b = CreateRectRgn(2, 1, 4, 3);
  HRGN r = CreateRectRgn(0, 0, 0, 0);
  const RECT area{0, 0, 4, 3};
  EXPECT_EQ(CombineRgn(r, a, b, RGN_AND), SIMPLEREGION);
  EXPECT_EQ(Pixels(r, area), "....|..#.|....");
  EXPECT_EQ(CombineRgn(r, a, b, RGN_OR), COMPLEXREGION);
  EXPECT_EQ(Pixels(r, area), "###.|####|..##");
  EXPECT_EQ(CombineRgn(r, a, b, RGN_XOR), COMPLEXREGION);
  EXPECT_EQ(Pixels(r, area), "###.|##.#|..##");
  EXPECT_EQ(CombineRgn(r, a, b, RGN_DIFF), COMPLEXREGION);
  EXPECT_EQ(Pixels(r, area), "###.|##..|....");
  EXPECT_EQ(CombineRgn(r, a, nullptr, RGN_COPY), SIMPLEREGION);
  EXPECT_TRUE(EqualRgn(r, a));
  EXPECT_FALSE(EqualRgn(r, b));
  EXPECT_EQ(CombineRgn(r, a, a, RGN_DIFF), NULLREGION);
  EXPECT_EQ(CombineRgn(r, a, b, 9), ERROR);
  // The destination may be one of the sources.
  EXPECT_EQ(CombineRgn(a, a, b, RGN_OR), COMPLEXREGION);
  EXPECT_EQ(Pixels(a, area), "###.|####|..##");

  RECT box;
  EXPECT_EQ(GetRgnBox(a, &box), COMPLEXREGION);
  EXPECT_EQ(box, (RECT{0, 0, 4, 3}));
  EXPECT_EQ(OffsetRgn(a, 10, 20), COMPLEXREGION);
  GetRgnBox(a, &box);
  EXPECT_EQ(box, (RECT{10, 20, 14, 23}));
  RECT probe{13, 22, 20, 30};
  EXPECT_TRUE(RectInRegion(a, &probe));
  RECT miss{0, 0, 10, 20};
  EXPECT_FALSE(RectInRegion(a, &miss));

  // Inverted corners are put in order; SetRectRgn replaces the shape.
  HRGN inverted = CreateRectRgn(5, 5, 2, 3);
  GetRgnBox(inverted, &box);
  EXPECT_EQ(box, (RECT{2, 3, 5, 5}));
  EXPECT_TRUE(SetRectRgn(inverted, 0, 0, 0, 0));
  EXPECT_EQ(GetRgnBox(inverted, &box), NULLREGION);

  for (HRGN h : {a, b, r, inverted}) EXPECT_TRUE(DeleteObject(h));
  // Deleted regions are refused everywhere.
  EXPECT_EQ(CombineRgn(r, a, b, RGN_OR), ERROR);
  EXPECT_FALSE(PtInRegion(a, 0, 0));
  EXPECT_EQ(GetRgnBox(a, &box), ERROR);
  EXPECT_EQ(OffsetRgn(a, 1, 1), ERROR);
}

TEST(Region, CurvedAndPolygonRegionsAreSymmetricPixelSets) {
  HRGN ellipse = CreateEllipticRgn(0, 0, 6, 6);
  EXPECT_EQ(Pixels(ellipse, {0, 0, 6, 6}), ".####.|######|######|######|######|.####.");
  HRGN round = CreateRoundRectRgn(0, 0, 8, 4, 4, 4);
  EXPECT_EQ(Pixels(round, {0, 0, 8, 4}), ".######.|########|########|.######.");
  POINT triangle[3] = {{0, 0}, {4, 0}, {0, 4}};
  HRGN polygon = CreatePolygonRgn(triangle, 3, ALTERNATE);
  EXPECT_EQ(Pixels(polygon, {0, 0, 4, 4}), "####|###.|##..|#...");
  EXPECT_EQ(CreatePolygonRgn(triangle, 3, 7), nullptr);
  EXPECT_EQ(CreateEllipticRgn(-2000000000, 0, 2000000000, 10), nullptr);
  // Rectangles out and back in give the same region.
  DWORD size = GetRegionData(round, 0, nullptr);
  EXPECT_EQ(size, sizeof(RGNDATAHEADER) + 3 * sizeof(RECT));
  std::vector<char> buffer(size);
  auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
  EXPECT_EQ(GetRegionData(round, size, data), size);
  EXPECT_EQ(data->rdh.rcBound, (RECT{0, 0, 8, 4}));
  HRGN copy = ExtCreateRegion(nullptr, size, data);
  EXPECT_TRUE(EqualRgn(copy, round));
  data->rdh.nCount = 1000;
  EXPECT_EQ(ExtCreateRegion(nullptr, size, data), nullptr) << "count beyond the buffer";
  for (HRGN h : {ellipse, round, polygon, copy}) DeleteObject(h);
}

TEST(Region, ClipRegionsCombineInDeviceCoordinatesAndRestrictDrawing) {
  Canvas canvas(8, 6);
  HBRUSH red = CreateSolidBrush(kRed);
  RECT all{0, 0, 8, 6};
  EXPECT_EQ(IntersectClipRect(canvas.dc, 1, 1, 7, 5), SIMPLEREGION);
  EXPECT_EQ(ExcludeClipRect(canvas.dc, 3, 2, 5, 4), COMPLEXREGION);
  FillRect(canvas.dc, &all, red);
  EXPECT_EQ(canvas.Mask(all, kRed), "........|.######.|.##..##.|.##..##.|.######.|........");
  RECT box;
  EXPECT_EQ(GetClipBox(canvas.dc, &box), COMPLEXREGION);
  EXPECT_EQ(box, (RECT{1, 1, 7, 5}));
  RECT hole{3, 2, 5, 4}, edge{0, 0, 2, 2};
  EXPECT_FALSE(RectVisible(canvas.dc, &hole));
  EXPECT_TRUE(RectVisible(canvas.dc, &edge));
  EXPECT_FALSE(PtVisible(canvas.dc, 0, 0));

  // Clip rectangles are logical; the stored region and SelectClipRgn are in device pixels.
  canvas.Clear(kWhite);
  SelectClipRgn(canvas.dc, nullptr);
  SetWindowOrgEx(canvas.dc, 10, 10, nullptr);
  IntersectClipRect(canvas.dc, 10, 10, 12, 11);
  HRGN stored = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetClipRgn(canvas.dc, stored), 1);
  GetRgnBox(stored, &box);
  EXPECT_EQ(box, (RECT{0, 0, 2, 1}));
  EXPECT_EQ(GetClipBox(canvas.dc, &box), SIMPLEREGION);
  EXPECT_EQ(box, (RECT{10, 10, 12, 11}));
  EXPECT_EQ(OffsetClipRgn(canvas.dc, 1, 1), SIMPLEREGION);
  RECT logicalAll{0, 0, 100, 100};
  FillRect(canvas.dc, &logicalAll, red);
  EXPECT_EQ(canvas.Mask({0, 0, 4, 3}, kRed), "....|.##.|....");

  HRGN device = CreateRectRgn(0, 0, 1, 1);
  EXPECT_EQ(ExtSelectClipRgn(canvas.dc, device, RGN_OR), COMPLEXREGION);
  EXPECT_EQ(SelectClipRgn(canvas.dc, nullptr), SIMPLEREGION);
  EXPECT_EQ(GetClipRgn(canvas.dc, stored), 0);
  EXPECT_EQ(ExtSelectClipRgn(canvas.dc, nullptr, RGN_AND), ERROR);
  // A clip that excludes everything leaves an empty box and draws nothing.
  SetWindowOrgEx(canvas.dc, 0, 0, nullptr);
  canvas.Clear(kWhite);
  EXPECT_EQ(IntersectClipRect(canvas.dc, 20, 20, 30, 30), NULLREGION);
  EXPECT_EQ(GetClipBox(canvas.dc, &box), NULLREGION);
  FillRect(canvas.dc, &all, red);
  EXPECT_EQ(canvas.Count(kRed), 0);
  // SelectObject with a region selects a copy as the clip.
  EXPECT_EQ(SelectObject(canvas.dc, device), reinterpret_cast<HGDIOBJ>(SIMPLEREGION));
  DeleteObject(device);
  FillRect(canvas.dc, &all, red);
  EXPECT_EQ(canvas.Count(kRed), 1);
  DeleteObject(stored);
  DeleteObject(red);
}

TEST(Region, PaintingRegionsFillFrameAndInvert) {
  Canvas canvas(6, 5);
  HRGN region = CreateRectRgn(1, 1, 5, 4);
  HBRUSH blue = CreateSolidBrush(kBlue);
  EXPECT_TRUE(FrameRgn(canvas.dc, region, blue, 1, 1));
  EXPECT_EQ(canvas.Mask({0, 0, 6, 5}, kBlue), "......|.####.|.#..#.|.####.|......");
  canvas.Clear(kWhite);
  EXPECT_TRUE(FrameRgn(canvas.dc, region, blue, 2, 1));
  EXPECT_EQ(canvas.Mask({0, 0, 6, 5}, kBlue), "......|.####.|.####.|.####.|......");
  EXPECT_FALSE(FrameRgn(canvas.dc, region, blue, 0, 1));
  canvas.Clear(kWhite);
  EXPECT_TRUE(FillRgn(canvas.dc, region, blue));
  EXPECT_TRUE(InvertRgn(canvas.dc, region));
  EXPECT_EQ(canvas.Count(RGB(255, 255, 0)), 12);
  EXPECT_FALSE(FillRgn(canvas.dc, nullptr, blue));
  DeleteObject(region);
  DeleteObject(blue);
}

TEST(Rectangles, HelpersFollowTheExclusiveEdgeRules) {
  RECT a{0, 0, 4, 4}, b{2, 2, 6, 6}, out{};
  EXPECT_TRUE(IntersectRect(&out, &a, &b));
  EXPECT_EQ(out, (RECT{2, 2, 4, 4}));
  RECT touching{4, 0, 8, 4};
  EXPECT_FALSE(IntersectRect(&out, &a, &touching));
  EXPECT_EQ(out, (RECT{}));
  EXPECT_TRUE(UnionRect(&out, &a, &b));
  EXPECT_EQ(out, (RECT{0, 0, 6, 6}));
  RECT empty{5, 5, 5, 9};
  EXPECT_TRUE(UnionRect(&out, &empty, &b));
  EXPECT_EQ(out, b);
  EXPECT_FALSE(UnionRect(&out, &empty, &empty));
  EXPECT_TRUE(IsRectEmpty(&empty));
  EXPECT_TRUE(IsRectEmpty(nullptr));
  EXPECT_TRUE(PtInRect(&a, POINT{0, 0}));
  EXPECT_FALSE(PtInRect(&a, POINT{4, 0}));
  // Subtracting a band that spans a whole side cuts it off; anything else leaves a.
  RECT top{-1, -1, 5, 1};
  EXPECT_TRUE(SubtractRect(&out, &a, &top));
  EXPECT_EQ(out, (RECT{0, 1, 4, 4}));
  RECT middle{1, 1, 2, 2};
  EXPECT_TRUE(SubtractRect(&out, &a, &middle));
  EXPECT_EQ(out, a);
  EXPECT_FALSE(SubtractRect(&out, &a, &a));
  // Coordinates wrap around as 32-bit values do instead of overflowing.
  RECT edge{2147483640, 0, 2147483647, 1};
  EXPECT_TRUE(OffsetRect(&edge, 10, 0));
  EXPECT_EQ(edge.left, -2147483646);
  InflateRect(&out, 1, 2);
  OffsetRect(&out, 3, 3);
  EXPECT_EQ(out, (RECT{2, 1, 4, 5}));
  EXPECT_FALSE(InflateRect(nullptr, 1, 1));
}

TEST(Palettes, EntriesNearestIndexAndResize) {
  struct {
    LOGPALETTE header;
    PALETTEENTRY more[2];
  } data{};
  data.header.palNumEntries = 3;
  data.header.palPalEntry[0] = PALETTEENTRY{255, 0, 0, 0};
  data.more[0] = PALETTEENTRY{0, 255, 0, 0};
  data.more[1] = PALETTEENTRY{0, 0, 255, 0};
  HPALETTE palette = CreatePalette(&data.header);
  ASSERT_NE(palette, nullptr);
  EXPECT_EQ(GetNearestPaletteIndex(palette, RGB(10, 200, 30)), 1u);
  EXPECT_EQ(GetPaletteEntries(palette, 0, 0, nullptr), 3u);
  EXPECT_TRUE(ResizePalette(palette, 5));
  PALETTEENTRY entries[8];
  EXPECT_EQ(GetPaletteEntries(palette, 1, 8, entries), 4u);
  EXPECT_EQ(entries[1].peBlue, 255);
  EXPECT_EQ(SetPaletteEntries(palette, 4, 3, entries), 1u);
  WORD count = 0;
  EXPECT_EQ(GetObject(palette, sizeof count, &count), 2);
  EXPECT_EQ(count, 5);
  HPALETTE halftone = CreateHalftonePalette(nullptr);
  EXPECT_EQ(GetPaletteEntries(halftone, 0, 0, nullptr), 256u);
  Canvas canvas(1, 1);
  EXPECT_EQ(GetObjectType(SelectPalette(canvas.dc, palette, FALSE)), OBJ_PAL);
  EXPECT_EQ(SelectObject(canvas.dc, palette), nullptr) << "palettes are selected with SelectPalette";
  data.header.palNumEntries = 0;
  EXPECT_EQ(CreatePalette(&data.header), nullptr);
  DeleteObject(halftone);
}

}  // namespace
}  // namespace kestrel::platform
