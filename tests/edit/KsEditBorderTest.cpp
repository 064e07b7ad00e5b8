#include <cairo.h>
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "controls/KsCtrlScrollBarStyles.h"
#include "controls/KsSBController.h"
#include "edit/KsEdit.h"
#include "platform/window/InputInjection.h"
#include "platform/window/WindowApi.h"
#include "tests/framework/visual/VisualTestSupport.h"
#include "tests/support/GoldenImage.h"
#include "tests/support/ThemeScope.h"

namespace kestrel {
namespace {

namespace pf = platform;
using testing::Pump;

constexpr TColor kRed = 0x000000FF;
constexpr TColor kBlue = 0x00FF0000;

// One edit on a shown form, with a second edit to take the focus away from it.
struct BorderStage {
  testing::ShownForm form{420, 200};
  TKsEdit* edit;
  TKsEdit* other;
  explicit BorderStage(const std::function<void(TKsEdit&)>& setup, bool multiline = false) {
    other = new TKsEdit(form.form);
    other->SetParent(form.form);
    other->SetBounds(300, 150, 60, 24);
    edit = new TKsEdit(form.form);
    edit->SetParent(form.form);
    edit->SetMultiline(multiline);
    edit->SetBounds(10, 10, multiline ? 140 : 110, multiline ? 90 : 24);
    edit->SetText(multiline ? u"one\rtwo\rthree\rfour\rfive\rsix\rseven\reight" : u"Text");
    other->SetFocus();
    setup(*edit);
    Pump();
  }
  // The window's pixel at a point of its frame (window coordinates), as 0x00BBGGRR.
  pf::COLORREF FramePixel(int x, int y) const {
    cairo_surface_t* image = pf::CaptureWindowImage(edit->Handle());
    if (!image) return 0xFFFFFFFF;
    cairo_surface_flush(image);
    const auto* row = cairo_image_surface_get_data(image) + y * cairo_image_surface_get_stride(image);
    const std::uint32_t argb = reinterpret_cast<const std::uint32_t*>(row)[x];
    cairo_surface_destroy(image);
    return pf::RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
  }
  void Hover() {
    pf::InjectMouseMove(edit->ClientToScreen(Point(20, 5)));
    Pump();
  }
  void Unhover() {
    pf::InjectMouseMove(form->ClientToScreen(Point(400, 190)));
    Pump();
  }
};

TEST(KsEditBorder, FlatBorderFollowsHoverAndFocusWithItsOwnTypeAndColour) {
  const testing::ThemeScope classic(false);
  BorderStage s([](TKsEdit& e) {
    e.SetFlat(true);
    e.SetActiveBorderType(fbtColorLineBorder);
    e.SetInactiveBorderType(fbtColorLineBorder);
    e.SetLineBorderActiveColor(kRed);
    e.SetLineBorderInactiveColor(kBlue);
  });
  const int midY = s.edit->Height() / 2;
  EXPECT_EQ(s.FramePixel(0, midY), ColorToRGB(kBlue)) << "neither focused nor hot";
  s.Hover();
  EXPECT_EQ(s.FramePixel(0, midY), ColorToRGB(kRed)) << "hot without a focus change";
  s.Unhover();
  EXPECT_EQ(s.FramePixel(0, midY), ColorToRGB(kBlue));
  s.edit->SetFocus();
  Pump();
  EXPECT_EQ(s.FramePixel(0, midY), ColorToRGB(kRed)) << "focused";
  s.edit->SetInactiveBorderType(fbtSunken);
  s.other->SetFocus();
  Pump();
  EXPECT_EQ(s.FramePixel(0, midY), ColorToRGB(clBtnShadow)) << "the inactive type once the focus left";
}

TEST(KsEditBorder, WithFlatOffTheBorderIsSunkenInTheFiveColours) {
  const testing::ThemeScope classic(false);
  BorderStage s([](TKsEdit& e) {
    e.SetInactiveBorderType(fbtColorLineBorder);
    e.SetBorderColorDkShadow(kBlue);
    e.SetBorderColorHighlight(0x0000FF00);
    e.SetBorderColorFace(0x00808000);
  });
  s.edit->SetBorderColorShadow(kRed);
  Pump();
  const int midY = s.edit->Height() / 2, right = s.edit->Width() - 1;
  EXPECT_EQ(s.FramePixel(0, midY), ColorToRGB(kRed)) << "repainted when a colour changes";
  EXPECT_EQ(s.FramePixel(1, midY), ColorToRGB(kBlue));
  EXPECT_EQ(s.FramePixel(right, midY), ColorToRGB(0x0000FF00));
  EXPECT_EQ(s.FramePixel(right - 1, midY), ColorToRGB(0x00808000));
}

TEST(KsEditBorder, CornerBetweenOwnerDrawnBarsShowsInTheVerticalBarsColour) {
  const testing::ThemeScope classic(false);
  BorderStage s(
      [](TKsEdit& e) {
        e.SetUseCustomScrollBars(true);
        e.SetScrollBars(ssBoth);
        e.VertScrollBarStyles()->SetColor(kRed);
      },
      true);
  const auto corner = [&] {
    const TRect r = s.edit->ScrollBarController()->GetCrossScrollBarsRect();
    return s.FramePixel((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  };
  ASSERT_GE(s.edit->ScrollBarController()->GetCrossScrollBarsRect().left, 0) << "both bars show";
  EXPECT_EQ(corner(), ColorToRGB(kRed));
  pf::SendMessageW(s.edit->Handle(), pf::WM_NCPAINT, 1, 0);
  EXPECT_EQ(corner(), ColorToRGB(kRed)) << "after a non-client paint alone too";
}

// ---- golden sheets: every cell is one edit's window with its client area blanked, so that only
// the border and the scroll bars show ----

struct Cell {
  std::function<void(TKsEdit&)> setup;
  bool multiline = false;
  enum { Idle, Hot, Focused } look = Idle;
};

void Blit(cairo_t* cr, TKsEdit& edit, double x, double y) {
  cairo_surface_t* image = pf::CaptureWindowImage(edit.Handle());
  ASSERT_NE(image, nullptr);
  cairo_set_source_surface(cr, image, x, y);
  cairo_paint(cr);
  cairo_surface_destroy(image);
  const TPoint origin = edit.ClientToScreen(Point(0, 0));
  pf::RECT window{};
  pf::GetWindowRect(edit.Handle(), &window);
  cairo_rectangle(cr, x + origin.x - window.left, y + origin.y - window.top, edit.ClientWidth(), edit.ClientHeight());
  cairo_set_source_rgb(cr, 0.85, 0.85, 0.85);
  cairo_fill(cr);
}

cairo_surface_t* RenderSheet(const std::vector<std::vector<Cell>>& rows) {
  constexpr int kColumn = 150, kRow = 100;
  size_t columns = 0;
  for (const auto& row : rows) columns = std::max(columns, row.size());
  cairo_surface_t* sheet = cairo_image_surface_create(CAIRO_FORMAT_RGB24, 8 + static_cast<int>(columns) * kColumn,
                                                      8 + static_cast<int>(rows.size()) * kRow);
  cairo_t* cr = cairo_create(sheet);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  for (size_t r = 0; r < rows.size(); ++r) {
    for (size_t c = 0; c < rows[r].size(); ++c) {
      const Cell& cell = rows[r][c];
      BorderStage s(cell.setup, cell.multiline);
      if (cell.look == Cell::Hot) s.Hover();
      if (cell.look == Cell::Focused) {
        s.edit->SetFocus();
        Pump();
      }
      Blit(cr, *s.edit, 8 + c * kColumn, 8 + r * kRow);
    }
  }
  cairo_destroy(cr);
  return sheet;
}

std::function<void(TKsEdit&)> FlatWith(TKsFlatBorderType type, TVnBorderSides sides = AllBorderSides) {
  return [=](TKsEdit& e) {
    e.SetFlat(true);
    e.SetActiveBorderType(type);
    e.SetInactiveBorderType(type);
    e.SetBorderSides(sides);
    e.SetLineBorderActiveColor(kRed);
    e.SetLineBorderInactiveColor(kBlue);
  };
}

std::function<void(TKsEdit&)> PlatformBars(bool flat, bool flatFocused) {
  return [=](TKsEdit& e) {
    e.SetUseCustomScrollBars(false);
    e.SetScrollBars(ssBoth);
    e.SetFlat(flat);
    e.SetFlatFocusedScrollBars(flatFocused);
  };
}

TEST(KsEditBorder, GoldenClassic) {
  const testing::ThemeScope classic(false);
  const auto flat = [](TKsFlatBorderType type) {
    return std::vector<Cell>{{FlatWith(type)}, {FlatWith(type), false, Cell::Focused}};
  };
  std::vector<std::vector<Cell>> rows;
  for (auto pair : {std::pair{fbtSunken, fbtSunkenOuter}, std::pair{fbtRaised, fbtEtched},
                    std::pair{fbtBump, fbtColorLineBorder}}) {
    std::vector<Cell> row = flat(pair.first);
    for (Cell& c : flat(pair.second)) row.push_back(c);
    rows.push_back(row);
  }
  rows.push_back({{FlatWith(fbtSunken, {ebsLeft, ebsTop})},
                  {FlatWith(fbtSunken, {ebsRight, ebsBottom})},
                  {FlatWith(fbtColorLineBorder, {ebsTop, ebsBottom})},
                  {[](TKsEdit& e) {
                    FlatWith(fbtSunken)(e);
                    e.SetEnabled(false);
                  }},
                  {[](TKsEdit& e) {
                     PlatformBars(true, false)(e);
                     e.SetBorderSides({ebsLeft, ebsTop});
                   },
                   true}});
  rows.push_back({{[](TKsEdit& e) { e.SetBorderColorShadow(kRed); }},
                  {PlatformBars(true, false), true},
                  {PlatformBars(true, false), true, Cell::Focused},
                  {PlatformBars(false, true), true, Cell::Focused},
                  {[](TKsEdit& e) {
                     PlatformBars(false, false)(e);
                     e.SetRightAlignedView(true);
                   },
                   true}});
  cairo_surface_t* sheet = RenderSheet(rows);
  EXPECT_TRUE(testing::MatchesGolden(sheet, "edit_borders_classic"));
  cairo_surface_destroy(sheet);
}

TEST(KsEditBorder, GoldenThemed) {
  const testing::ThemeScope themed(true);
  const auto plain = [](TKsEdit&) {};
  const std::vector<std::vector<Cell>> rows = {
      {{plain},
       {plain, false, Cell::Hot},
       {plain, false, Cell::Focused},
       {[](TKsEdit& e) { e.SetEnabled(false); }},
       {[](TKsEdit& e) { e.SetReadOnly(true); }}},
      {{PlatformBars(false, false), true}, {[](TKsEdit& e) { e.SetScrollBars(ssBoth); }, true, Cell::Focused}},
  };
  cairo_surface_t* sheet = RenderSheet(rows);
  EXPECT_TRUE(testing::MatchesGolden(sheet, "edit_borders_themed"));
  cairo_surface_destroy(sheet);
}

}  // namespace
}  // namespace kestrel
