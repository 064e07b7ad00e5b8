#include <gtest/gtest.h>

#include <algorithm>

#include <string>

#include "tests/platform/gdi/GdiTestSupport.h"
#include "tests/support/GoldenImage.h"

namespace kestrel::platform {
namespace {

using testing::Canvas;
using testing::kBlack;
using testing::kBlue;
using testing::kRed;
using testing::kWhite;

using testing::Tools;

TEST(Primitives, RectangleOutlinesTheBoxExclusiveOfRightAndBottomAndNullPenShrinksIt) {
  Canvas canvas(7, 6);
  {
    Tools tools(canvas.dc, CreatePen(PS_SOLID, 1, kBlue), CreateSolidBrush(kRed));
    ASSERT_TRUE(Rectangle(canvas.dc, 1, 1, 5, 5));
  }
  EXPECT_EQ(canvas.Mask({0, 0, 6, 6}, kBlue), "......|.####.|.#..#.|.#..#.|.####.|......");
  EXPECT_EQ(canvas.Mask({0, 0, 6, 6}, kRed), "......|......|..##..|..##..|......|......");

  canvas.Clear(kWhite);
  {
    Tools tools(canvas.dc, CreatePen(PS_NULL, 1, kBlue), CreateSolidBrush(kRed));
    Rectangle(canvas.dc, 5, 5, 1, 1);  // inverted corners are put in order
  }
  EXPECT_EQ(canvas.Mask({0, 0, 6, 6}, kRed), "......|.###..|.###..|.###..|......|......");

  // A wide pen is centred on the outline; PS_INSIDEFRAME keeps it inside the box.
  canvas.Clear(kWhite);
  {
    Tools tools(canvas.dc, CreatePen(PS_SOLID, 3, kBlue), CreateSolidBrush(kRed));
    Rectangle(canvas.dc, 1, 1, 6, 6);  // outline pixels 1..5, pen 3 wide: 0..2 and 4..6
  }
  EXPECT_EQ(canvas.Mask({0, 0, 7, 6}, kBlue), "#######|#######|#######|###.###|#######|#######");
  canvas.Clear(kWhite);
  {
    Tools tools(canvas.dc, CreatePen(PS_INSIDEFRAME, 2, kBlue), CreateSolidBrush(kRed));
    Rectangle(canvas.dc, 0, 0, 6, 6);
  }
  EXPECT_EQ(canvas.Mask({0, 0, 7, 6}, kRed), ".......|.......|..##...|..##...|.......|.......");
  EXPECT_EQ(canvas.Count(kBlue), 36 - 4);
}

TEST(Primitives, LinesLeaveOutTheirEndPointAndMoveTheCurrentPosition) {
  Canvas canvas(8, 8);
  Tools tools(canvas.dc, CreatePen(PS_SOLID, 0, kBlack), CreateSolidBrush(kRed));
  MoveToEx(canvas.dc, 1, 1, nullptr);
  LineTo(canvas.dc, 5, 1);
  LineTo(canvas.dc, 5, 4);
  LineTo(canvas.dc, 2, 7);
  EXPECT_EQ(canvas.Mask({0, 0, 7, 8}, kBlack), ".......|.#####.|.....#.|.....#.|.....#.|....#..|...#...|.......");
  POINT position;
  GetCurrentPositionEx(canvas.dc, &position);
  EXPECT_EQ(position, (POINT{2, 7}));

  // A zero-length line draws nothing; Polyline leaves out only the final point.
  canvas.Clear(kWhite);
  MoveToEx(canvas.dc, 3, 3, nullptr);
  LineTo(canvas.dc, 3, 3);
  EXPECT_EQ(canvas.Count(kBlack), 0);
  POINT path[3] = {{0, 0}, {0, 2}, {2, 2}};
  Polyline(canvas.dc, path, 3);
  EXPECT_EQ(canvas.Mask({0, 0, 3, 3}, kBlack), "#..|#..|##.");
  EXPECT_FALSE(Polyline(canvas.dc, path, 1));
  EXPECT_FALSE(Polyline(canvas.dc, nullptr, 3));
}

TEST(Primitives, PenStylesRunAcrossSegmentsAndOpaqueGapsTakeTheBackgroundColour) {
  Canvas canvas(24, 3);
  {
    Tools tools(canvas.dc, CreatePen(PS_DOT, 1, kBlack), CreateSolidBrush(kRed));
    SetBkMode(canvas.dc, TRANSPARENT);
    POINT path[3] = {{0, 0}, {10, 0}, {20, 0}};
    Polyline(canvas.dc, path, 3);
    SetBkMode(canvas.dc, OPAQUE);
    SetBkColor(canvas.dc, kBlue);
    MoveToEx(canvas.dc, 0, 2, nullptr);
    LineTo(canvas.dc, 12, 2);
  }
  EXPECT_EQ(canvas.Mask({0, 0, 21, 1}, kBlack), "###...###...###...##.");
  EXPECT_EQ(canvas.Mask({0, 2, 13, 3}, kBlue), "...###...###.");

  canvas.Clear(kWhite);
  {
    Tools tools(canvas.dc, CreatePen(PS_DASH, 1, kBlack), CreateSolidBrush(kRed));
    MoveToEx(canvas.dc, 0, 0, nullptr);
    LineTo(canvas.dc, 24, 0);
  }
  EXPECT_EQ(canvas.Mask({0, 0, 24, 1}, kBlack), std::string(18, '#') + std::string(6, '.'));
  // Extended cosmetic pens: every other pixel, and user-defined runs.
  canvas.Clear(kWhite);
  LOGBRUSH black{BS_SOLID, kBlack, 0};
  {
    Tools tools(canvas.dc, ExtCreatePen(PS_COSMETIC | PS_ALTERNATE, 1, &black, 0, nullptr), CreateSolidBrush(kRed));
    MoveToEx(canvas.dc, 0, 0, nullptr);
    LineTo(canvas.dc, 7, 0);
  }
  const DWORD runs[3] = {2, 1, 1};  // an odd count repeats with on and off exchanged
  {
    Tools tools(canvas.dc, ExtCreatePen(PS_COSMETIC | PS_USERSTYLE, 1, &black, 3, runs), CreateSolidBrush(kRed));
    MoveToEx(canvas.dc, 0, 1, nullptr);
    LineTo(canvas.dc, 11, 1);
  }
  EXPECT_EQ(canvas.Mask({0, 0, 11, 2}, kBlack), "#.#.#.#....|##.#..#.##.");
  EXPECT_EQ(ExtCreatePen(PS_COSMETIC | PS_SOLID, 3, &black, 0, nullptr), nullptr);
  EXPECT_EQ(ExtCreatePen(PS_COSMETIC | PS_USERSTYLE, 1, &black, 0, nullptr), nullptr);
  EXPECT_EQ(ExtCreatePen(PS_GEOMETRIC | PS_SOLID, 3, nullptr, 0, nullptr), nullptr);

  // Styled pens wider than one pixel draw solid.
  HPEN wide = CreatePen(PS_DASH, 3, kBlack);
  LOGPEN logPen{};
  GetObject(wide, sizeof logPen, &logPen);
  EXPECT_EQ(logPen.lopnStyle, static_cast<UINT>(PS_SOLID));
  EXPECT_EQ(logPen.lopnWidth.x, 3);
  DeleteObject(wide);
}

TEST(Primitives, Rop2ModesCombinePenWithDestination) {
  Canvas canvas(4, 1, RGB(0x12, 0x34, 0x56));
  Tools tools(canvas.dc, CreatePen(PS_SOLID, 1, RGB(0xFF, 0x0F, 0x00)), CreateSolidBrush(kRed));
  struct Case {
    int mode;
    COLORREF expected;
  } cases[] = {
      {R2_XORPEN, RGB(0x12 ^ 0xFF, 0x34 ^ 0x0F, 0x56)},
      {R2_NOT, RGB(0xED, 0xCB, 0xA9)},
      {R2_MASKPEN, RGB(0x12, 0x04, 0x00)},
      {R2_MERGEPEN, RGB(0xFF, 0x3F, 0x56)},
      {R2_NOTCOPYPEN, RGB(0x00, 0xF0, 0xFF)},
      {R2_BLACK, kBlack},
      {R2_WHITE, kWhite},
      {R2_NOP, RGB(0x12, 0x34, 0x56)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    canvas.Clear(RGB(0x12, 0x34, 0x56));
    EXPECT_NE(SetROP2(canvas.dc, c.mode), 0);
    MoveToEx(canvas.dc, 0, 0, nullptr);
    LineTo(canvas.dc, 1, 0);
    EXPECT_EQ(canvas.At(0, 0), c.expected);
    EXPECT_EQ(canvas.At(1, 0), RGB(0x12, 0x34, 0x56));
  }
  // PALETTEINDEX colours come from the DC's palette.
  canvas.Clear(kWhite);
  SetROP2(canvas.dc, R2_COPYPEN);
  EXPECT_EQ(SetPixel(canvas.dc, 0, 0, PALETTEINDEX(13)), kRed) << "entry 13 of the default palette";
  EXPECT_EQ(SetROP2(canvas.dc, 0), 0);
  EXPECT_EQ(SetROP2(canvas.dc, 17), 0);
  // XOR twice restores the picture, also for filled figures.
  canvas.Clear(RGB(0x12, 0x34, 0x56));
  SetROP2(canvas.dc, R2_XORPEN);
  Rectangle(canvas.dc, 0, 0, 4, 1);
  Rectangle(canvas.dc, 0, 0, 4, 1);
  EXPECT_EQ(canvas.Count(RGB(0x12, 0x34, 0x56)), 4);
}

TEST(Primitives, EllipseAndRoundRectStayInTheirBoxAndAreSymmetric) {
  Canvas canvas(12, 10);
  {
    Tools tools(canvas.dc, CreatePen(PS_SOLID, 1, kBlack), CreateSolidBrush(kRed));
    Ellipse(canvas.dc, 1, 1, 11, 9);
  }
  std::string mask = canvas.Mask({0, 0, 12, 10}, kWhite);
  // Untouched border all round; each edge of the box is touched.
  EXPECT_EQ(mask.substr(0, 12), "############");
  EXPECT_EQ(mask.substr(mask.size() - 12), "############");
  for (int y = 0; y < 10; ++y) {
    EXPECT_EQ(canvas.At(0, y), kWhite);
    EXPECT_EQ(canvas.At(11, y), kWhite);
    for (int x = 0; x < 12; ++x) {
      EXPECT_EQ(canvas.At(x, y), canvas.At(11 - x, y)) << x << "," << y;
      EXPECT_EQ(canvas.At(x, y), canvas.At(x, 9 - y)) << x << "," << y;
    }
  }
  EXPECT_EQ(canvas.At(5, 1), kBlack);
  EXPECT_EQ(canvas.At(1, 4), kBlack);
  EXPECT_EQ(canvas.At(5, 4), kRed);
  EXPECT_EQ(canvas.At(1, 1), kWhite) << "corners are outside";
  // The outline is closed: the red fill never touches white.
  for (int y = 1; y < 9; ++y)
    for (int x = 1; x < 11; ++x)
      if (canvas.At(x, y) == kRed) {
        EXPECT_NE(canvas.At(x - 1, y), kWhite);
        EXPECT_NE(canvas.At(x + 1, y), kWhite);
        EXPECT_NE(canvas.At(x, y - 1), kWhite);
        EXPECT_NE(canvas.At(x, y + 1), kWhite);
      }

  canvas.Clear(kWhite);
  {
    Tools tools(canvas.dc, CreatePen(PS_SOLID, 1, kBlack), CreateSolidBrush(kRed));
    RoundRect(canvas.dc, 0, 0, 10, 8, 4, 4);
  }
  EXPECT_EQ(canvas.Mask({0, 0, 10, 3}, kBlack), ".########.|#........#|#........#");
  EXPECT_EQ(canvas.Mask({0, 5, 10, 8}, kBlack), "#........#|#........#|.########.");
  canvas.Clear(kWhite);
  {
    Tools tools(canvas.dc, CreatePen(PS_NULL, 1, 0), CreateSolidBrush(kRed));
    Ellipse(canvas.dc, 0, 0, 5, 5);  // null pen: the 4×4 circle
  }
  EXPECT_EQ(canvas.Mask({0, 0, 5, 5}, kRed), ".##..|####.|####.|.##..|.....");
}

TEST(Primitives, PolygonFillsByModeAndOutlinesEveryVertex) {
  Canvas canvas(6, 6);
  {
    Tools tools(canvas.dc, CreatePen(PS_SOLID, 1, kBlack), CreateSolidBrush(kRed));
    POINT square[4] = {{1, 1}, {4, 1}, {4, 4}, {1, 4}};
    Polygon(canvas.dc, square, 4);
  }
  EXPECT_EQ(canvas.Mask({0, 0, 6, 6}, kBlack), "......|.####.|.#..#.|.#..#.|.####.|......");
  EXPECT_EQ(canvas.Count(kRed), 4);

  // A self-overlapping pentagram: the centre is a hole in ALTERNATE mode, filled in WINDING.
  Canvas star(21, 21);
  POINT points[5] = {{10, 0}, {16, 20}, {0, 7}, {20, 7}, {4, 20}};
  Tools tools(star.dc, CreatePen(PS_NULL, 1, 0), CreateSolidBrush(kRed));
  Polygon(star.dc, points, 5);
  EXPECT_EQ(star.At(10, 11), kWhite);
  EXPECT_EQ(star.At(10, 3), kRed);
  SetPolyFillMode(star.dc, WINDING);
  Polygon(star.dc, points, 5);
  EXPECT_EQ(star.At(10, 11), kRed);
}

TEST(Primitives, FrameInvertAndFocusRectangles) {
  Canvas canvas(6, 5);
  HBRUSH blue = CreateSolidBrush(kBlue);
  RECT r{1, 1, 5, 4};
  FrameRect(canvas.dc, &r, blue);
  EXPECT_EQ(canvas.Mask({0, 0, 6, 5}, kBlue), "......|.####.|.#..#.|.####.|......");
  InvertRect(canvas.dc, &r);
  EXPECT_EQ(canvas.Mask({0, 0, 6, 5}, RGB(255, 255, 0)), "......|.####.|.#..#.|.####.|......");
  EXPECT_EQ(canvas.Mask({0, 0, 6, 5}, kBlack), "......|......|..##..|......|......");

  canvas.Clear(kWhite);
  RECT focus{0, 0, 6, 5};
  DrawFocusRect(canvas.dc, &focus);
  EXPECT_EQ(canvas.Mask({0, 0, 6, 5}, kBlack), "#.#.#.|.....#|#.....|.....#|#.#.#.");
  DrawFocusRect(canvas.dc, &focus);
  EXPECT_EQ(canvas.Count(kWhite), 30);
  DeleteObject(blue);
}

TEST(Primitives, HatchAndPatternBrushesAlignToTheBrushOrigin) {
  Canvas canvas(16, 8);
  HBRUSH hatch = CreateHatchBrush(HS_VERTICAL, kBlack);
  SetBkMode(canvas.dc, TRANSPARENT);
  RECT all{0, 0, 16, 8};
  FillRect(canvas.dc, &all, hatch);
  EXPECT_EQ(canvas.Mask({0, 0, 16, 1}, kBlack), ".......#.......#");
  EXPECT_EQ(canvas.Count(kWhite), 128 - 16) << "transparent: the background stays";
  SetBkMode(canvas.dc, OPAQUE);
  SetBkColor(canvas.dc, kBlue);
  SetBrushOrgEx(canvas.dc, 3, 0, nullptr);
  FillRect(canvas.dc, &all, hatch);
  EXPECT_EQ(canvas.Mask({0, 0, 16, 1}, kBlack), "..#.......#.....");
  EXPECT_EQ(canvas.Count(kBlue), 128 - 16);
  DeleteObject(hatch);

  // A monochrome 8×8 pattern paints 0 bits in the text colour and 1 bits in the background.
  const WORD rows[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
  HBITMAP checker = CreateBitmap(8, 8, 1, 1, rows);
  HBRUSH pattern = CreatePatternBrush(checker);
  DeleteObject(checker);  // the brush keeps its own copy
  SetBrushOrgEx(canvas.dc, 0, 0, nullptr);
  SetTextColor(canvas.dc, kRed);
  SetBkColor(canvas.dc, kWhite);
  FillRect(canvas.dc, &all, pattern);
  EXPECT_EQ(canvas.Mask({0, 0, 4, 2}, kRed), "#.#.|.#.#");
  EXPECT_EQ(canvas.Count(kRed), 64);
  DeleteObject(pattern);

  // A packed DIB as pattern: 2×1 pixels, 24 bits, bottom-up, rows padded to four bytes.
  struct {
    BITMAPINFOHEADER header;
    std::uint8_t bits[8];
  } packed{};
  packed.header.biWidth = 2;
  packed.header.biHeight = 1;
  packed.header.biBitCount = 24;
  const std::uint8_t row[8] = {0, 0, 255, 255, 0, 0, 0, 0};  // red, blue
  std::copy(row, row + 8, packed.bits);
  HBRUSH dib = CreateDIBPatternBrushPt(&packed, DIB_RGB_COLORS);
  ASSERT_NE(dib, nullptr);
  FillRect(canvas.dc, &all, dib);
  EXPECT_EQ(canvas.Mask({0, 0, 4, 2}, kRed), "#.#.|#.#.");
  EXPECT_EQ(canvas.Mask({0, 0, 4, 2}, kBlue), ".#.#|.#.#");
  DeleteObject(dib);
}

TEST(Primitives, HugeAndDegenerateInputDrawsWhatIsVisibleAndNeverHangs) {
  Canvas canvas(10, 10);
  Tools tools(canvas.dc, CreatePen(PS_SOLID, 1, kBlack), CreateSolidBrush(kRed));
  EXPECT_TRUE(Rectangle(canvas.dc, -2000000000, 2, 2000000000, 5));
  EXPECT_EQ(canvas.Mask({0, 2, 10, 5}, kBlack), "##########|..........|##########");
  canvas.Clear(kWhite);
  MoveToEx(canvas.dc, -2000000000, 4, nullptr);
  EXPECT_TRUE(LineTo(canvas.dc, 2000000000, 4));
  EXPECT_EQ(canvas.Count(kBlack), 10);
  canvas.Clear(kWhite);
  Ellipse(canvas.dc, -100000, -100000, 100000, 100000);  // we are deep inside it
  EXPECT_EQ(canvas.Count(kRed), 100);
  canvas.Clear(kWhite);
  EXPECT_TRUE(Ellipse(canvas.dc, -2000000000, -2000000000, 2000000000, 2000000000));
  EXPECT_EQ(canvas.Count(kRed), 100);
  SetViewportOrgEx(canvas.dc, 2147483000, 2147483000, nullptr);
  EXPECT_TRUE(Rectangle(canvas.dc, 2147483000, 0, 2147483600, 10));
  EXPECT_TRUE(Rectangle(canvas.dc, 0, 0, 0, 0));
  RECT everything{-2000000000, -2000000000, 2000000000, 2000000000};
  EXPECT_TRUE(FrameRect(canvas.dc, &everything, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))));
  EXPECT_TRUE(DrawFocusRect(canvas.dc, &everything));
  EXPECT_TRUE(OffsetWindowOrgEx(canvas.dc, 2147483647, 2147483647, nullptr));
  EXPECT_TRUE(IntersectClipRect(canvas.dc, -2147483647, 0, 2147483647, 5) != ERROR);
  SelectClipRgn(canvas.dc, nullptr);
  SetWindowOrgEx(canvas.dc, 0, 0, nullptr);
  POINT line[2] = {{0, 0}, {5, 5}};
  HPEN huge = CreatePen(PS_SOLID, 2000000000, kBlue);
  HGDIOBJ old = SelectObject(canvas.dc, huge);
  SetViewportOrgEx(canvas.dc, 0, 0, nullptr);
  EXPECT_TRUE(Polyline(canvas.dc, line, 2));
  EXPECT_EQ(canvas.Count(kBlue), 100);
  SelectObject(canvas.dc, old);
  DeleteObject(huge);
}

}  // namespace
}  // namespace kestrel::platform

namespace kestrel::platform {
namespace {

// Pen styles and widths, hatches, figures and a complex clip on one sheet.
TEST(Primitives, SheetOfPensBrushesFiguresAndClippingMatchesTheGolden) {
  Canvas sheet(240, 160, RGB(255, 255, 255));
  HDC dc = sheet.dc;
  const int styles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT};
  for (int i = 0; i < 5; ++i) {
    HPEN pen = CreatePen(styles[i], 1, RGB(0, 0, 128));
    HGDIOBJ old = SelectObject(dc, pen);
    SetBkMode(dc, i % 2 ? OPAQUE : TRANSPARENT);
    SetBkColor(dc, RGB(255, 200, 0));
    MoveToEx(dc, 4, 4 + 4 * i, nullptr);
    LineTo(dc, 110, 4 + 4 * i);
    MoveToEx(dc, 4 + 6 * i, 28, nullptr);  // a slanted one shows the steps
    LineTo(dc, 40 + 6 * i, 60);
    SelectObject(dc, old);
    DeleteObject(pen);
  }
  for (int width = 2; width <= 6; width += 2) {
    HPEN pen = CreatePen(PS_SOLID, width, RGB(128, 0, 0));
    HGDIOBJ old = SelectObject(dc, pen);
    int y = 24 + 8 * width;
    POINT zigzag[4] = {{80, y + 10}, {95, y}, {110, y + 10}, {125, y}};
    Polyline(dc, zigzag, 4);
    SelectObject(dc, old);
    DeleteObject(pen);
  }
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, RGB(220, 255, 220));
  for (int hatch = HS_HORIZONTAL; hatch <= HS_DIAGCROSS; ++hatch) {
    HBRUSH brush = CreateHatchBrush(hatch, RGB(0, 100, 0));
    RECT r{130 + 18 * hatch, 4, 146 + 18 * hatch, 20};
    FillRect(dc, &r, brush);
    DeleteObject(brush);
  }
  HBRUSH face = CreateSolidBrush(RGB(200, 200, 255));
  HGDIOBJ oldBrush = SelectObject(dc, face);
  Rectangle(dc, 130, 26, 160, 46);
  RoundRect(dc, 166, 26, 200, 46, 10, 10);
  Ellipse(dc, 206, 26, 236, 46);
  Ellipse(dc, 130, 52, 137, 59);  // small ellipses are where rounding shows
  Ellipse(dc, 140, 52, 144, 56);
  POINT star[5] = {{185, 50}, {195, 80}, {170, 61}, {200, 61}, {175, 80}};
  SetPolyFillMode(dc, WINDING);
  Polygon(dc, star, 5);
  // A clip with a hole: the crossed rectangle shows through a frame-shaped region.
  HRGN outer = CreateRectRgn(10, 90, 120, 150);
  HRGN hole = CreateEllipticRgn(30, 100, 100, 140);
  CombineRgn(outer, outer, hole, RGN_DIFF);
  SelectClipRgn(dc, outer);
  HBRUSH cross = CreateHatchBrush(HS_DIAGCROSS, RGB(0, 0, 0));
  RECT area{0, 80, 130, 160};
  FillRect(dc, &area, cross);
  SelectClipRgn(dc, nullptr);
  HPEN wide = CreatePen(PS_SOLID, 3, RGB(0, 0, 0));
  HGDIOBJ oldPen = SelectObject(dc, wide);
  SetROP2(dc, R2_NOT);
  MoveToEx(dc, 140, 100, nullptr);
  LineTo(dc, 230, 150);
  SetROP2(dc, R2_COPYPEN);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  for (HGDIOBJ h : {static_cast<HGDIOBJ>(outer), static_cast<HGDIOBJ>(hole), static_cast<HGDIOBJ>(cross),
                    static_cast<HGDIOBJ>(wide), static_cast<HGDIOBJ>(face)})
    DeleteObject(h);
  EXPECT_TRUE(::kestrel::testing::MatchesGolden(sheet.Surface(), "platform_gdi_primitives"));
}

}  // namespace
}  // namespace kestrel::platform
