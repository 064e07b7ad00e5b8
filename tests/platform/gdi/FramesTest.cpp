#include <gtest/gtest.h>

#include <vector>

#include "tests/platform/gdi/GdiTestSupport.h"
#include "tests/support/GoldenImage.h"

namespace kestrel::platform {
namespace {

using testing::Canvas;
using testing::kTeal;

COLORREF Sys(int index) { return GetSysColor(index); }

TEST(Frames, EdgeRingsUseTheClassicColoursAndBottomRightOwnsTheOddCorners) {
  Canvas canvas(4, 4, kTeal);
  RECT r{0, 0, 4, 4};
  ASSERT_TRUE(DrawEdge(canvas.dc, &r, EDGE_RAISED, BF_RECT));
  EXPECT_EQ(canvas.At(0, 0), Sys(COLOR_3DLIGHT));
  EXPECT_EQ(canvas.At(2, 0), Sys(COLOR_3DLIGHT));
  EXPECT_EQ(canvas.At(3, 0), Sys(COLOR_3DDKSHADOW)) << "top right belongs to the right side";
  EXPECT_EQ(canvas.At(0, 3), Sys(COLOR_3DDKSHADOW)) << "bottom left belongs to the bottom side";
  EXPECT_EQ(canvas.At(1, 1), Sys(COLOR_3DHILIGHT));
  EXPECT_EQ(canvas.At(2, 1), Sys(COLOR_3DSHADOW));
  EXPECT_EQ(canvas.At(2, 2), Sys(COLOR_3DSHADOW));
  EXPECT_EQ(r, (RECT{0, 0, 4, 4})) << "no BF_ADJUST, no change";

  // BF_SOFT exchanges the lit colours of the rings; sunken rings mirror raised ones.
  DrawEdge(canvas.dc, &r, EDGE_RAISED, BF_RECT | BF_SOFT);
  EXPECT_EQ(canvas.At(0, 0), Sys(COLOR_3DHILIGHT));
  EXPECT_EQ(canvas.At(1, 1), Sys(COLOR_3DLIGHT));
  DrawEdge(canvas.dc, &r, EDGE_SUNKEN, BF_RECT);
  EXPECT_EQ(canvas.At(0, 0), Sys(COLOR_3DSHADOW));
  EXPECT_EQ(canvas.At(3, 3), Sys(COLOR_3DHILIGHT));
  EXPECT_EQ(canvas.At(1, 1), Sys(COLOR_3DDKSHADOW));
  EXPECT_EQ(canvas.At(2, 2), Sys(COLOR_3DLIGHT));

  // Flat and mono: one colour per ring; middle and adjust.
  Canvas wide(8, 6, kTeal);
  RECT w{0, 0, 8, 6};
  DrawEdge(wide.dc, &w, EDGE_ETCHED, BF_RECT | BF_FLAT | BF_MIDDLE | BF_ADJUST);
  EXPECT_EQ(w, (RECT{2, 2, 6, 4}));
  EXPECT_EQ(wide.At(7, 5), Sys(COLOR_3DSHADOW));
  EXPECT_EQ(wide.At(1, 1), Sys(COLOR_3DFACE));
  EXPECT_EQ(wide.Count(kTeal), 0) << "the middle is filled";
  RECT m{0, 0, 8, 6};
  DrawEdge(wide.dc, &m, BDR_RAISEDOUTER, BF_RECT | BF_MONO | BF_ADJUST);
  EXPECT_EQ(wide.At(0, 0), Sys(COLOR_WINDOWFRAME));
  EXPECT_EQ(m, (RECT{1, 1, 7, 5}));

  // Partial sides: only what is asked, and the adjustment follows the sides drawn.
  Canvas part(5, 5, kTeal);
  RECT p{0, 0, 5, 5};
  DrawEdge(part.dc, &p, BDR_SUNKENOUTER, BF_TOP | BF_RIGHT | BF_ADJUST);
  EXPECT_EQ(part.Mask({0, 0, 5, 5}, kTeal), ".....|####.|####.|####.|####.");
  EXPECT_EQ(p, (RECT{0, 1, 4, 5}));
  EXPECT_FALSE(DrawEdge(part.dc, nullptr, EDGE_RAISED, BF_RECT));
  // Huge edges draw their visible part at once, straight ones and diagonal ones.
  RECT huge{-2000000000, -2000000000, 2000000000, 2000000000};
  EXPECT_TRUE(DrawEdge(part.dc, &huge, EDGE_RAISED, BF_RECT | BF_MIDDLE));
  EXPECT_EQ(part.Count(Sys(COLOR_3DFACE)), 25);
  EXPECT_TRUE(DrawEdge(part.dc, &huge, EDGE_SUNKEN, BF_DIAGONAL_ENDTOPRIGHT | BF_MIDDLE));
  EXPECT_FALSE(DrawEdge(nullptr, &p, EDGE_RAISED, BF_RECT));
}

// Every edge kind against every flag group, with diagonals, on one sheet.
TEST(Frames, DrawEdgeSheetMatchesTheGolden) {
  const UINT edges[] = {BDR_RAISEDOUTER, BDR_SUNKENOUTER, BDR_RAISEDINNER, BDR_SUNKENINNER,
                        EDGE_RAISED,     EDGE_SUNKEN,     EDGE_ETCHED,     EDGE_BUMP};
  const UINT flags[] = {BF_RECT,
                        BF_RECT | BF_SOFT,
                        BF_RECT | BF_FLAT,
                        BF_RECT | BF_MONO,
                        BF_RECT | BF_MIDDLE,
                        BF_RECT | BF_SOFT | BF_MIDDLE,
                        BF_RECT | BF_FLAT | BF_MIDDLE,
                        BF_RECT | BF_MONO | BF_MIDDLE,
                        BF_TOPLEFT,
                        BF_BOTTOMRIGHT,
                        BF_LEFT | BF_RIGHT,
                        BF_TOP | BF_BOTTOM | BF_MIDDLE,
                        BF_DIAGONAL_ENDTOPRIGHT,
                        BF_DIAGONAL_ENDTOPLEFT | BF_MIDDLE,
                        BF_DIAGONAL_ENDBOTTOMLEFT,
                        BF_DIAGONAL_ENDBOTTOMRIGHT | BF_MIDDLE};
  constexpr int kCell = 22;
  Canvas sheet(static_cast<int>(std::size(flags)) * kCell + 2, static_cast<int>(std::size(edges)) * kCell + 2, kTeal);
  for (std::size_t row = 0; row < std::size(edges); ++row)
    for (std::size_t col = 0; col < std::size(flags); ++col) {
      RECT r{LONG(col * kCell + 3), LONG(row * kCell + 3), LONG(col * kCell + kCell), LONG(row * kCell + kCell - 2)};
      ASSERT_TRUE(DrawEdge(sheet.dc, &r, edges[row], flags[col]));
    }
  EXPECT_TRUE(::kestrel::testing::MatchesGolden(sheet.Surface(), "platform_gdi_drawedge"));
}

TEST(Frames, FrameControlSheetMatchesTheGolden) {
  struct Item {
    UINT type;
    UINT state;
  };
  const std::vector<std::vector<Item>> rows = {
      {{DFC_BUTTON, DFCS_BUTTONCHECK},
       {DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED},
       {DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_PUSHED | DFCS_CHECKED},
       {DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_INACTIVE | DFCS_CHECKED},
       {DFC_BUTTON, DFCS_BUTTON3STATE | DFCS_CHECKED},
       {DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_FLAT | DFCS_CHECKED},
       {DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_MONO | DFCS_CHECKED}},
      {{DFC_BUTTON, DFCS_BUTTONRADIO},
       {DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED},
       {DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_PUSHED | DFCS_CHECKED},
       {DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_INACTIVE | DFCS_CHECKED},
       {DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_FLAT | DFCS_CHECKED},
       {DFC_BUTTON, DFCS_BUTTONRADIOMASK},
       {DFC_BUTTON, DFCS_BUTTONRADIOIMAGE | DFCS_CHECKED}},
      {{DFC_BUTTON, DFCS_BUTTONPUSH},
       {DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED},
       {DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_CHECKED},
       {DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_FLAT},
       {DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_MONO},
       {DFC_SCROLL, DFCS_SCROLLSIZEGRIP},
       {DFC_SCROLL, DFCS_SCROLLSIZEGRIPRIGHT}},
      {{DFC_SCROLL, DFCS_SCROLLUP},
       {DFC_SCROLL, DFCS_SCROLLDOWN},
       {DFC_SCROLL, DFCS_SCROLLLEFT},
       {DFC_SCROLL, DFCS_SCROLLRIGHT},
       {DFC_SCROLL, DFCS_SCROLLCOMBOBOX},
       {DFC_SCROLL, DFCS_SCROLLUP | DFCS_PUSHED},
       {DFC_SCROLL, DFCS_SCROLLDOWN | DFCS_INACTIVE}},
      {{DFC_CAPTION, DFCS_CAPTIONCLOSE},
       {DFC_CAPTION, DFCS_CAPTIONMIN},
       {DFC_CAPTION, DFCS_CAPTIONMAX},
       {DFC_CAPTION, DFCS_CAPTIONRESTORE},
       {DFC_CAPTION, DFCS_CAPTIONHELP},
       {DFC_CAPTION, DFCS_CAPTIONCLOSE | DFCS_PUSHED},
       {DFC_CAPTION, DFCS_CAPTIONCLOSE | DFCS_INACTIVE}},
      {{DFC_MENU, DFCS_MENUARROW},
       {DFC_MENU, DFCS_MENUCHECK},
       {DFC_MENU, DFCS_MENUBULLET},
       {DFC_MENU, DFCS_MENUARROWRIGHT},
       {DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED},
       {DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED},
       {DFC_SCROLL, DFCS_SCROLLDOWN}},
  };
  constexpr int kCell = 22;
  Canvas sheet(7 * kCell + 2, static_cast<int>(rows.size()) * kCell + 2, kTeal);
  for (std::size_t row = 0; row < rows.size(); ++row)
    for (std::size_t col = 0; col < rows[row].size(); ++col) {
      // The last row draws at 13 pixels, the classic small size; the rest at 17.
      int size = row + 1 == rows.size() ? 13 : 17;
      RECT r{LONG(col * kCell + 3), LONG(row * kCell + 3), LONG(col * kCell + 3 + size), LONG(row * kCell + 3 + size)};
      EXPECT_TRUE(DrawFrameControl(sheet.dc, &r, rows[row][col].type, rows[row][col].state)) << row << "," << col;
    }
  EXPECT_TRUE(::kestrel::testing::MatchesGolden(sheet.Surface(), "platform_gdi_framecontrols"));
}

TEST(Frames, FrameControlsRejectUnknownKindsAndAdjustPushButtons) {
  Canvas canvas(20, 20);
  RECT r{0, 0, 20, 20};
  EXPECT_FALSE(DrawFrameControl(canvas.dc, &r, 99, 0));
  EXPECT_FALSE(DrawFrameControl(canvas.dc, &r, DFC_SCROLL, 0x7));
  EXPECT_FALSE(DrawFrameControl(canvas.dc, nullptr, DFC_BUTTON, 0));
  EXPECT_TRUE(DrawFrameControl(canvas.dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT));
  EXPECT_EQ(r, (RECT{2, 2, 18, 18}));
  RECT empty{5, 5, 5, 9};
  EXPECT_TRUE(DrawFrameControl(canvas.dc, &empty, DFC_BUTTON, DFCS_BUTTONCHECK));
  // A checked box differs from an unchecked one only inside its field.
  Canvas a(13, 13, kTeal), b(13, 13, kTeal);
  RECT box{0, 0, 13, 13};
  DrawFrameControl(a.dc, &box, DFC_BUTTON, DFCS_BUTTONCHECK);
  DrawFrameControl(b.dc, &box, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
  EXPECT_EQ(a.Mask({2, 2, 11, 11}, Sys(COLOR_WINDOW)), a.Mask({2, 2, 11, 11}, a.At(5, 5)));
  EXPECT_EQ(a.At(5, 5), Sys(COLOR_WINDOW));
  EXPECT_EQ(a.Count(kTeal), 0);
  EXPECT_EQ(b.Count(Sys(COLOR_WINDOWTEXT)), 21) << "the 7×7 tick";
  EXPECT_EQ(b.Count(Sys(COLOR_WINDOW)), 81 - 21 + 25) << "field and the bottom-right ring";
}

}  // namespace
}  // namespace kestrel::platform
