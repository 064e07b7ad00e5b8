#include <cairo.h>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <set>
#include <vector>

#include "controls/KsCtrlScrollBarStyles.h"
#include "controls/KsSBStandaloneLink.h"
#include "framework/Bitmap.h"
#include "tests/support/GoldenImage.h"
#include "tests/support/ThemeScope.h"

namespace kestrel {
namespace {

using Style = std::function<void(TKsCtrlScrollBarStyles&)>;

// The mouse `c` pixels along the bar, in its middle across.
void MoveAlong(TKsCtrlScrollBarStyles& b, int c) {
  if (b.Kind() == sbHorizontal) b.MouseMove(c, 5);
  else b.MouseMove(5, c);
}
void PressAlong(TKsCtrlScrollBarStyles& b, int c) {
  MoveAlong(b, c);
  if (b.Kind() == sbHorizontal) b.MouseButton(true, mbLeft, c, 5);
  else b.MouseButton(true, mbLeft, 5, c);
  MoveAlong(b, c);
}

// One row per style: a horizontal bar 140 x 17 and a vertical one 17 x 140 beside the rows.
const std::vector<Style>& Styles() {
  static const std::vector<Style> styles = {
      [](TKsCtrlScrollBarStyles&) {},                                                        // flat, idle
      [](TKsCtrlScrollBarStyles& b) { b.SetFlat(false); },                                   // raised
      [](TKsCtrlScrollBarStyles& b) { b.SetFlat(false), b.SetThinFrame(true); },             // thin frames
      [](TKsCtrlScrollBarStyles& b) { b.MouseEnter(), MoveAlong(b, 5); },                    // hot start arrow
      [](TKsCtrlScrollBarStyles& b) { b.MouseEnter(), PressAlong(b, b.ThumbStart() + 2); },  // pressed thumb
      [](TKsCtrlScrollBarStyles& b) { b.MouseEnter(), PressAlong(b, 140 - 20); },  // pressed track after the thumb
      [](TKsCtrlScrollBarStyles& b) { b.SetSecondaryButtons(true), b.SetSecondBtnKind(sbkPage); },
      [](TKsCtrlScrollBarStyles& b) { b.SetSecondaryButtons(true), b.SetFlat(false); },
      [](TKsCtrlScrollBarStyles& b) { b.SetShowBorder(false), b.SetColor(static_cast<TColor>(0xC08060)); },
      [](TKsCtrlScrollBarStyles& b) { b.SetMax(0); },  // empty range: no thumb, disabled arrows
      [](TKsCtrlScrollBarStyles& b) { b.MouseEnter(), MoveAlong(b, b.ThumbStart() + 2); },  // hot thumb
      [](TKsCtrlScrollBarStyles& b) { b.SetEnabled(false); },                               // drawn disabled
      [](TKsCtrlScrollBarStyles& b) {  // fixed thumb, no start arrow, no grips
        b.SetThumbMode(etmFixed), b.SetThumbSize(30), b.SetShowLeftArrows(false), b.SetDrawBars(false);
      },
  };
  return styles;
}

void Copy(TBitmap& from, cairo_surface_t* to, int x0, int y0) {
  cairo_surface_flush(to);
  unsigned char* data = cairo_image_surface_get_data(to);
  const int stride = cairo_image_surface_get_stride(to);
  for (int y = 0; y < from.Height(); ++y)
    std::memcpy(data + (y0 + y) * stride + 4 * x0, from.ScanLine(y), 4 * static_cast<size_t>(from.Width()));
  cairo_surface_mark_dirty(to);
}

void PaintBar(TKsCtrlScrollBarStyles& bar, cairo_surface_t* sheet, int x, int y) {
  TBitmap bitmap(bar.fWidth, bar.fHeight);
  bar.Paint(*bitmap.Canvas());
  Copy(bitmap, sheet, x, y);
}

cairo_surface_t* RenderSheet(bool themed) {
  TKsSBStandaloneLink controller(themed);
  const int rows = static_cast<int>(Styles().size());
  cairo_surface_t* sheet = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 160 + rows * 20, std::max(rows * 20, 150));
  for (int i = 0; i < rows; ++i) {
    for (TScrollBarKind kind : {sbHorizontal, sbVertical}) {
      TKsCtrlScrollBarStyles bar(&controller);
      bar.SetKind(kind);
      bar.fWidth = kind == sbHorizontal ? 140 : 17;
      bar.fHeight = kind == sbHorizontal ? 17 : 140;
      bar.SetMax(99);
      bar.SetPage(20);
      bar.SetPosition(30);
      bar.UpdateThumbPos();
      Styles()[i](bar);
      PaintBar(bar, sheet, kind == sbHorizontal ? 0 : 160 + i * 20, kind == sbHorizontal ? i * 20 : 0);
    }
  }
  return sheet;
}

TEST(ScrollBarPaint, GoldenStylesAndStatesClassic) {
  const testing::ThemeScope classic(false);
  cairo_surface_t* sheet = RenderSheet(false);
  EXPECT_TRUE(testing::MatchesGolden(sheet, "controls_custom_scrollbars_classic"));
  cairo_surface_destroy(sheet);
}

TEST(ScrollBarPaint, GoldenStylesAndStatesThemed) {
  const testing::ThemeScope themed(true);
  cairo_surface_t* sheet = RenderSheet(true);
  EXPECT_TRUE(testing::MatchesGolden(sheet, "controls_custom_scrollbars_themed"));
  cairo_surface_destroy(sheet);
}

// The pressed track after the thumb is darker than the same track idle; a pressed thumb is sunken
// (its top-left ring turns from highlight to shadow).
TEST(ScrollBarPaint, PressedLooks) {
  const testing::ThemeScope classic(false);
  TKsSBStandaloneLink controller(false);
  auto pixelAt = [&controller](const Style& style, int x, int y) {
    TKsCtrlScrollBarStyles bar(&controller);
    bar.fWidth = 140;
    bar.fHeight = 17;
    bar.SetMax(99);
    bar.SetPage(20);
    bar.SetPosition(30);
    bar.UpdateThumbPos();
    bar.SetFlat(false);
    style(bar);
    TBitmap bitmap(140, 17);
    bar.Paint(*bitmap.Canvas());
    const std::uint8_t* p = bitmap.ScanLine(y) + 4 * x;
    return p[0] + p[1] + p[2];
  };
  const Style idle = [](TKsCtrlScrollBarStyles&) {};
  const Style track = Styles()[5];
  EXPECT_LT(pixelAt(track, 120, 8) + pixelAt(track, 121, 8), pixelAt(idle, 120, 8) + pixelAt(idle, 121, 8));
  const Style thumb = Styles()[4];
  TKsCtrlScrollBarStyles probe(&controller);
  probe.fWidth = 140;
  probe.SetMax(99);
  probe.SetPage(20);
  probe.SetPosition(30);
  probe.UpdateThumbPos();
  const int start = probe.ThumbStart();
  EXPECT_LT(pixelAt(thumb, start, 8), pixelAt(idle, start, 8));
}

// Themed thumbs: a pressed one keeps its (darker) fill, and both kinds carry their gripper.
TEST(ScrollBarPaint, ThemedThumbsKeepTheirFillAndGripperInEveryState) {
  const testing::ThemeScope themed(true);
  TKsSBStandaloneLink controller(true);
  auto paint = [&controller](TScrollBarKind kind, const Style& style) {
    auto bar = std::make_unique<TKsCtrlScrollBarStyles>(&controller);
    bar->SetKind(kind);
    bar->fWidth = kind == sbHorizontal ? 140 : 17;
    bar->fHeight = kind == sbHorizontal ? 17 : 140;
    bar->SetMax(99);
    bar->SetPage(20);
    bar->SetPosition(30);
    bar->UpdateThumbPos();
    style(*bar);
    auto bitmap = std::make_unique<TBitmap>(bar->fWidth, bar->fHeight);
    bar->Paint(*bitmap->Canvas());
    return std::pair{std::move(bar), std::move(bitmap)};
  };
  auto grey = [](TBitmap& b, int x, int y) {
    const std::uint8_t* p = b.ScanLine(y) + 4 * x;
    return p[0] + p[1] + p[2];
  };
  const Style idle = [](TKsCtrlScrollBarStyles&) {};
  auto [idleBar, idleShot] = paint(sbHorizontal, idle);
  auto [pressedBar, pressedShot] = paint(sbHorizontal, Styles()[4]);
  const int x = idleBar->ThumbStart() + 5;
  EXPECT_LT(grey(*pressedShot, x, 8), grey(*idleShot, x, 8));
  for (TScrollBarKind kind : {sbHorizontal, sbVertical}) {
    auto [bar, shot] = paint(kind, idle);
    const int middle = bar->ThumbStart() + bar->ThumbLength() / 2;
    std::set<int> looks;  // along the thumb's length through its middle: fill and ridges
    for (int i = middle - 3; i <= middle + 3; ++i)
      looks.insert(kind == sbHorizontal ? grey(*shot, i, 8) : grey(*shot, 8, i));
    EXPECT_GE(looks.size(), 2u) << (kind == sbHorizontal ? "horizontal" : "vertical");
  }
}

}  // namespace
}  // namespace kestrel
