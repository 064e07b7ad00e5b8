// Painting, hit-testing and the interaction state of prepared markup, on the fixed-metric test
// font: every character advances 7 px and is a solid box (columns 1..5, rows 1..10 above the
// baseline); a run measures one pixel more than its advances.

#include <algorithm>
#include <string>
#include <vector>

#include "HTMLTestSupport.h"
#include "controls/ColorMath.h"
#include "framework/Bitmap.h"
#include "framework/Exceptions.h"
#include "html/internal/HTMLCheckBoxPainter.h"
#include "platform/gdi/Gdi.h"
#include "platform/theme/UxTheme.h"
#include "platform/window/WindowDefs.h"
#include "platform/window/WindowThemes.h"
#include "tests/support/ThemeScope.h"

namespace kestrel::testing {
namespace {

// What ItemAt finds, as text: the run's text, the kind of other items, "-" for nothing.
std::string HitName(TVnHTMLItem* item) {
  if (!item) return "-";
  if (item->ItemType() == hitChar) return Utf16ToUtf8(item->Text());
  if (item->ItemType() == hitInput) return "input";
  if (item->ItemType() == hitBitmap) return "img";
  return "kind" + std::to_string(item->ItemType());
}

class HTMLPaintTest : public HTMLTest {
 protected:
  std::string HitAt(int x, int y, int width = 300) {
    return HitName(render.ItemAt(Point(x, y), Point(0, 0), Rect(0, 0, width, 100)));
  }
  // A white bitmap the text is painted on at (0, 0).
  TBitmap& Paint(int width = 120, int height = 40) {
    bitmap.Resize(width, height);
    bitmap.Canvas()->Brush()->SetColor(clWhite);
    bitmap.Canvas()->FillRect(Rect(0, 0, width, height));
    render.DrawText(bitmap.Canvas(), Point(0, 0), Rect(0, 0, width, height), clNone);
    return bitmap;
  }
  TColor Pixel(int x, int y) { return bitmap.Canvas()->Pixels(x, y); }
  TVnHTMLItem* Find(const std::string& name) {
    for (int i = 0; i < Data().ItemCount(); ++i)
      if (HitName(&At(i)) == name) return &At(i);
    return nullptr;
  }

  TBitmap bitmap;
};

TEST_F(HTMLPaintTest, HitTestingFindsRunsLinksAndInputsByTheirBoxes) {
  // 'ab' 0..15, link 'cd' 15..30, 'e' 30..38, check box 38..55; line 17 high, runs 14 (3..17).
  Prepare("ab<a href=\"go\">cd</a>e<input type=checkbox>");
  const std::vector<std::pair<std::pair<int, int>, std::string>> table = {
      {{0, 10}, "ab"},  {{15, 10}, "ab"},  // the right edge belongs to the run
      {{16, 10}, "cd"}, {{30, 16}, "cd"}, {{31, 16}, "e"}, {{40, 0}, "input"},
      {{5, 2}, "-"},    {{56, 10}, "-"},  {{5, 18}, "-"},  {{-1, 10}, "-"},
  };
  for (const auto& [point, expected] : table)
    EXPECT_EQ(HitAt(point.first, point.second), expected) << point.first << "," << point.second;

  String href = u"old";
  EXPECT_TRUE(render.IsCursorOverLink(Point(20, 10), Point(0, 0), Rect(0, 0, 300, 100), href));
  EXPECT_EQ(href, u"go");
  EXPECT_FALSE(render.IsCursorOverLink(Point(5, 10), Point(0, 0), Rect(0, 0, 300, 100), href));
  EXPECT_EQ(href, u"");
  // The scroll offset moves the text under the point.
  EXPECT_EQ(HitName(render.ItemAt(Point(5, 10), Point(15, 0), Rect(0, 0, 300, 100))), "cd");
}

TEST_F(HTMLPaintTest, HitTestingFollowsAlignmentLinesAndRaisedRuns) {
  // Centred in 101 px: (101 - 15 - 1) / 2 = 42.
  Prepare("<p align=center>ab</p>");
  EXPECT_EQ(HitAt(41, 10, 100), "-");
  EXPECT_EQ(HitAt(42, 10, 100), "ab");
  Prepare("<p align=right>ab</p>");  // 101 - 15 - 1 = 85
  EXPECT_EQ(HitAt(85, 10, 100), "ab");
  EXPECT_EQ(HitAt(84, 10, 100), "-");

  // Only the line reaching below the point is searched; the second one starts at y 14.
  Prepare("x<br>yy");
  EXPECT_EQ(HitAt(3, 13), "x");
  EXPECT_EQ(HitAt(3, 14), "yy");
  EXPECT_EQ(HitAt(10, 5), "-");  // beyond 'x' on the first line, though 'yy' is that wide
  EXPECT_EQ(HitAt(3, 40), "-");

  // A superscript run (12 px font, height 12) sits half its height higher than the line's runs.
  Prepare("a<sup>b</sup>");
  const int bottom = BreakAt(0).FHeight;
  int descent = 0;
  const int h = At(2).GetHeight(descent);
  EXPECT_EQ(HitAt(10, bottom - h / 2 - h), "b");
  EXPECT_EQ(HitAt(10, bottom - h / 2 + 1), "-");
}

TEST_F(HTMLPaintTest, ClicksToggleInputsOnceAndSelectLinksOnlyWhenAsked) {
  Prepare(
      "<input type=checkbox name=A><a href=x>link</a>"
      "<input type=radio name=g checked=1><input type=radio name=g>");
  int changes = 0;
  std::vector<TVnHTMLInputItem*> checked;
  render.OnChange = [&](TObject*) { ++changes; };
  render.OnInputItemChecked = [&](TObject*, TVnHTMLInputItem* item) { checked.push_back(item); };
  // <a> appends the current run even when empty: para | input | '' | 'link' | input | input
  ASSERT_EQ(DumpHTMLOutline(Data()), "para | input | '' | 'link' | input | input");
  auto& box = static_cast<TVnHTMLInputItem&>(At(1));
  auto& radio1 = static_cast<TVnHTMLInputItem&>(At(4));
  auto& radio2 = static_cast<TVnHTMLInputItem&>(At(5));
  const TRect r = Rect(0, 0, 300, 100);

  render.ClickTransfer(5, 5, r);
  EXPECT_TRUE(box.Checked());
  EXPECT_EQ(checked, std::vector<TVnHTMLInputItem*>{&box});
  EXPECT_EQ(Data().SelectedItem(), &box);
  // A second click toggles back, and the toggle itself announces a change: the selection
  // stays where it was this time.
  changes = 0;
  render.ClickTransfer(5, 5, r);
  EXPECT_FALSE(box.Checked());
  EXPECT_EQ(checked, (std::vector<TVnHTMLInputItem*>{&box, &box}));
  EXPECT_EQ(Data().SelectedItem(), &box);
  EXPECT_GT(changes, 0);

  changes = 0;
  render.ClickTransfer(21, 10, r);  // the link: not selected while LinkSelect is off
  EXPECT_EQ(Data().SelectedItem(), nullptr);
  EXPECT_EQ(changes, 1);
  render.SetLinkSelect(true);
  render.ClickTransfer(21, 10, r);
  EXPECT_EQ(Data().SelectedItem(), &At(3));

  // The second radio button of group g unchecks the first, with one checked event.
  checked.clear();
  const int radio2X = 17 + 1 + 29 + 17 + 3;
  render.ClickTransfer(radio2X, 5, r);
  EXPECT_TRUE(radio2.Checked());
  EXPECT_FALSE(radio1.Checked());
  EXPECT_EQ(checked, std::vector<TVnHTMLInputItem*>{&radio2});
  EXPECT_EQ(render.FindInputItemByName(u"A", nullptr), &box);  // names were stored lower-cased
  EXPECT_EQ(render.FindInputItemByName(u"g", nullptr), &radio1);
  EXPECT_EQ(render.FindInputItemByName(u"g", &radio1), &radio2);
  EXPECT_EQ(render.FindInputItemByName(u"g", &radio2), nullptr);

  // The input under the mouse is the active one.
  render.MouseMoveTransfer({}, 5, 5, r);
  EXPECT_EQ(Data().ActiveItem(), &box);
  render.MouseMoveTransfer({}, 21, 10, r);
  EXPECT_EQ(Data().ActiveItem(), nullptr);
}

TEST_F(HTMLPaintTest, TabCyclesThroughLinksAndInputsAndSpaceTogglesTheSelectedOne) {
  int changes = 0;
  render.OnChange = [&](TObject*) { ++changes; };
  Prepare("plain text");
  platform::WORD key = platform::VK_TAB;
  render.KeyDownTransfer(key, {});
  EXPECT_EQ(Data().SelectedItem(), nullptr);
  EXPECT_EQ(changes, 1);

  Prepare("<a href=1>one</a> <input type=checkbox> <a href=2>t<b>wo</b></a>");
  TVnHTMLItem* one = Find("one");
  TVnHTMLItem* box = Find("input");
  TVnHTMLItem* two = Find("t");
  std::vector<TVnHTMLItem*> seen;
  for (int i = 0; i < 4; ++i) {
    render.KeyDownTransfer(key, {});
    seen.push_back(Data().SelectedItem());
  }
  EXPECT_EQ(seen, (std::vector<TVnHTMLItem*>{one, box, two, one}));  // wraps around
  render.KeyDownTransfer(key, TShiftState{ssShift});
  EXPECT_EQ(Data().SelectedItem(), two);
  render.KeyDownTransfer(key, TShiftState{ssShift});
  EXPECT_EQ(Data().SelectedItem(), box);

  platform::WORD space = platform::VK_SPACE;
  render.KeyDownTransfer(space, {});
  EXPECT_TRUE(static_cast<TVnHTMLInputItem*>(box)->Checked());

  // Links only, without wrapping; the bold part of the second link is not a stop of its own.
  render.SelectNextLink();
  EXPECT_EQ(Data().SelectedItem(), two);
  render.SelectNextLink();
  EXPECT_EQ(Data().SelectedItem(), two);
  render.SelectPrevLink();
  EXPECT_EQ(Data().SelectedItem(), one);
  render.SelectPrevLink();
  EXPECT_EQ(Data().SelectedItem(), one);
}

TEST_F(HTMLPaintTest, RunsArePaintedInTheirColoursOnTheBaseline) {
  // Baseline 11: boxes fill rows 1..10 above it, columns 1..5 of each character. The link
  // starts with an empty run (1 px): 'a' at 0, 'b' at 9, 'c' at 17.
  Prepare("<font color=red bgcolor=#00FF00>a</font><a href=x><font color=red>b</font></a>c");
  ASSERT_EQ(DumpHTMLOutline(Data()), "para | 'a' | '' | 'b' | 'c'");
  Paint();
  EXPECT_EQ(Pixel(3, 5), clRed);
  EXPECT_EQ(Pixel(0, 5), clLime);      // the run's background
  EXPECT_EQ(Pixel(9 + 3, 5), clBlue);  // a link keeps the link colour inside a coloured font
  EXPECT_EQ(Pixel(17 + 3, 5), clBlack);
  EXPECT_EQ(Pixel(17 + 3, 12), clWhite);  // below the baseline
  EXPECT_EQ(Pixel(30, 5), clWhite);

  // The link colour is read at paint time.
  Data().SetLinkColor(clGreen);
  Paint();
  EXPECT_EQ(Pixel(9 + 3, 5), clGreen);

  // Adjusted against black, every text colour is lightened halfway to white.
  bitmap.Canvas()->FillRect(Rect(0, 0, 120, 40));
  render.DrawText(bitmap.Canvas(), Point(0, 0), Rect(0, 0, 120, 40), clBlack);
  EXPECT_EQ(Pixel(17 + 3, 5), LightenColor(clBlack, 50));
  EXPECT_EQ(Pixel(3, 5), LightenColor(clRed, 50));

  // Override colours replace colours no font tag set.
  bitmap.Canvas()->FillRect(Rect(0, 0, 120, 40));
  render.DrawTextEx(bitmap.Canvas(), Point(0, 0), Rect(0, 0, 120, 40), true, clNavy, clYellow, 0, 0, clNone);
  EXPECT_EQ(Pixel(17 + 3, 5), clNavy);
  EXPECT_EQ(Pixel(17, 5), clYellow);

  EXPECT_EQ(Pixel(3, 5), clRed);
}

TEST_F(HTMLPaintTest, PaintingStaysInsideItsRectangle) {
  Prepare("<font bgcolor=red>aaaaaaaaaaaaaaaaaaaa</font>");
  bitmap.Resize(200, 40);
  bitmap.Canvas()->Brush()->SetColor(clWhite);
  bitmap.Canvas()->FillRect(Rect(0, 0, 200, 40));
  for (bool buffered : {true, false}) {
    render.SetDoubleBuffered(buffered);
    render.DrawText(bitmap.Canvas(), Point(0, 0), Rect(10, 10, 50, 20), clNone);
    EXPECT_EQ(Pixel(45, 15), clRed);  // between two characters
    if (buffered) {
      EXPECT_EQ(Pixel(50, 15), clWhite);  // not a column further
      EXPECT_EQ(Pixel(20, 20), clWhite);  // nor a row
    }
    EXPECT_EQ(Data().Rect().right, 50);
  }

  // A failing OnImageNeeded reaches the caller of the paint; a failing OnImageNeededEx costs
  // the image, not the paint.
  Prepare("<img src=x width=5 height=5><font bgcolor=red>a</font>");
  render.OnImageNeeded = [](TObject*, const String&, TBitmap*&) { throw Exception(u"no image"); };
  EXPECT_THROW(render.DrawText(bitmap.Canvas(), Point(0, 0), Rect(0, 0, 200, 40), clNone), Exception);
  render.OnImageNeeded = nullptr;
  render.OnImageNeededEx = [](TObject*, const String&, TPicture*) { throw Exception(u"no image"); };
  EXPECT_NO_THROW(render.DrawText(bitmap.Canvas(), Point(0, 0), Rect(0, 0, 200, 40), clNone));
  EXPECT_EQ(Pixel(6, 5), clRed);
  render.OnImageNeededEx = nullptr;

  // No text changes nothing.
  Prepare("");
  bitmap.Canvas()->FillRect(Rect(0, 0, 200, 40));
  render.SetDoubleBuffered(true);
  render.DrawText(bitmap.Canvas(), Point(0, 0), Rect(0, 0, 200, 40), clNone);
  for (int x = 0; x < 200; x += 7) EXPECT_EQ(Pixel(x, 12), clWhite);
}

TEST_F(HTMLPaintTest, BufferedPaintOnABitmapMatchesTheCopyThroughTheBuffer) {
  // On a bitmap the renderer may paint straight onto the target rather than copy the pixels
  // through its buffer: edges, scroll offset and backgrounds must come out the same. A mapping
  // mode other than MM_TEXT (here 1:1) makes it take the buffer.
  Prepare(
      "<b>bold</b> <i>slanted text</i> <font bgcolor=red>back</font> <u>under</u> and more "
      "words that wrap onto <i>further lines</i> past the bottom");
  auto paint = [&](TBitmap& target, bool throughBuffer, const TRect& r, const TRect* clip = nullptr) {
    target.Resize(120, 50);
    platform::SelectClipRgn(target.Canvas()->Handle(), nullptr);
    for (int y = 0; y < 50; y += 2) {  // stripes, so that what was under the text matters
      target.Canvas()->Brush()->SetColor(y % 4 ? clYellow : clAqua);
      target.Canvas()->FillRect(Rect(0, y, 120, y + 2));
    }
    const platform::HDC dc = target.Canvas()->Handle();
    platform::SetMapMode(dc, throughBuffer ? platform::MM_ANISOTROPIC : platform::MM_TEXT);
    if (clip) platform::IntersectClipRect(dc, clip->left, clip->top, clip->right, clip->bottom);
    target.Canvas()->Brush()->SetColor(clWhite);
    render.SetDoubleBuffered(true);
    render.DrawText(target.Canvas(), Point(4, 6), r, clNone);
  };
  // Inside the bitmap, and over all of it.
  for (const TRect& r : {Rect(10, 5, 100, 40), Rect(-3, -2, 125, 50)}) {
    TBitmap buffered;
    paint(buffered, true, r);
    paint(bitmap, false, r);
    int differing = 0, inked = 0;
    for (int y = 0; y < 50; ++y)
      for (int x = 0; x < 120; ++x) {
        differing += Pixel(x, y) != buffered.Canvas()->Pixels(x, y);
        inked += Pixel(x, y) == clBlack;
      }
    EXPECT_EQ(differing, 0) << r.left;
    EXPECT_GT(inked, 100) << r.left;
  }
  // A target clipped to a part of the rectangle: the buffer handles only that part, and the
  // pixels inside and outside it are the same as when painting in place.
  const TRect clip = Rect(22, 8, 61, 31), r = Rect(10, 5, 100, 40);  // through the first line
  TBitmap buffered;
  paint(buffered, true, r, &clip);
  paint(bitmap, false, r, &clip);
  platform::SelectClipRgn(buffered.Canvas()->Handle(), nullptr);
  platform::SelectClipRgn(bitmap.Canvas()->Handle(), nullptr);
  int differing = 0, inkedOutside = 0, inkedInside = 0;
  for (int y = 0; y < 50; ++y)
    for (int x = 0; x < 120; ++x) {
      differing += Pixel(x, y) != buffered.Canvas()->Pixels(x, y);
      const bool inside = x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom;
      (inside ? inkedInside : inkedOutside) += buffered.Canvas()->Pixels(x, y) == clBlack;
    }
  EXPECT_EQ(differing, 0);
  EXPECT_EQ(inkedOutside, 0);
  EXPECT_GT(inkedInside, 20);
}

TEST_F(HTMLPaintTest, ABandOfALongTextRepaintsAsTheWholeDoes) {
  // Lines above the clip are left out of the paint; the band itself must come out whole.
  std::string text;
  for (int i = 0; i < 30; ++i) text += "<b>line</b> <i>of</i> text<br>";
  Prepare(text);
  Paint(120, 400);
  std::vector<TColor> whole;
  for (int y = 0; y < 400; ++y)
    for (int x = 0; x < 120; ++x) whole.push_back(Pixel(x, y));
  auto inked = [&](int y) { return std::count(whole.begin() + y * 120, whole.begin() + (y + 1) * 120, clBlack) > 0; };
  int inkStart = 150;
  while (inkStart < 300 && !(inked(inkStart) && !inked(inkStart - 1))) ++inkStart;
  ASSERT_LT(inkStart, 300);
  // Bands that cut through a line's ink, start just above it, and reach past the bottom.
  for (int top : {inkStart + 2, inkStart - 1, 390}) {
    bitmap.Canvas()->FillRect(Rect(0, 0, 120, 400));
    const platform::HDC dc = bitmap.Canvas()->Handle();
    platform::IntersectClipRect(dc, 0, top, 120, top + 40);
    render.DrawText(bitmap.Canvas(), Point(0, 0), Rect(0, 0, 120, 400), clNone);
    platform::SelectClipRgn(dc, nullptr);
    int differing = 0;
    for (int y = top; y < std::min(top + 40, 400); ++y)
      for (int x = 0; x < 120; ++x) differing += Pixel(x, y) != whole[static_cast<size_t>(y) * 120 + x];
    EXPECT_EQ(differing, 0) << top;
  }
}

TEST_F(HTMLPaintTest, ListsRulesAndInputsArePainted) {
  const ThemeScope classic(false);
  Prepare("<ol><li>a<li>b</ol><ul><ul><li>c</ul></ul><hr><input type=checkbox checked=1>");
  Paint(120, 140);
  int y = 0, numberLine = -1, bulletLine = -1, bulletIndent = 0, ruleLine = -1, inputLine = -1;
  for (int i = 0; i < Data().ItemCount(); ++i) {
    if (!At(i).IsBreakItem()) continue;
    TVnHTMLBreakItem& line = BreakAt(i);
    if (line.ItemType() == hitLI && line.FListItemN == 1) numberLine = y;
    if (line.ItemType() == hitLI && line.FListItemN < 1) {
      bulletLine = y;
      bulletIndent = line.FIndent;
    }
    if (i + 1 < Data().ItemCount() && At(i + 1).ItemType() == hitHR) ruleLine = y;
    if (i + 1 < Data().ItemCount() && At(i + 1).ItemType() == hitInput) inputLine = y;
    y += line.FHeight;
  }
  ASSERT_GE(numberLine, 0);
  ASSERT_GE(bulletLine, 0);
  // "1." takes room on the line after the indent (the largest character width, 7).
  EXPECT_EQ(Pixel(7 + 3, numberLine + 5), clBlack);
  EXPECT_EQ(Pixel(14 + 3, numberLine + 5), clBlack);
  EXPECT_EQ(Pixel(21 + 3, numberLine + 5), clBlack);  // 'a' after the number
  // The bullet, a filled circle of the average width (7), sits 6 px left of the nested indent.
  EXPECT_EQ(bulletIndent, 14);
  EXPECT_EQ(Pixel(bulletIndent - 6 - 4, bulletLine + 8), clBlack);
  EXPECT_EQ(Pixel(bulletIndent - 6 - 4, bulletLine + 1), clWhite);
  // The rule (its line has no height): shadow above, face below, across the whole width.
  ASSERT_GE(ruleLine, 0);
  EXPECT_EQ(Pixel(110, ruleLine), static_cast<TColor>(ColorToRGB(clBtnShadow)));
  EXPECT_EQ(Pixel(110, ruleLine + 1), static_cast<TColor>(ColorToRGB(clBtnFace)));
  EXPECT_EQ(Pixel(110, ruleLine + 2), clWhite);
  // The checked classic box has a dark tick inside its white square.
  ASSERT_GE(inputLine, 0);
  bool tick = false;
  for (int x = 4; x < 13; ++x)
    for (int yy = inputLine + 4; yy < inputLine + 13; ++yy) tick = tick || Pixel(x, yy) == clBlack;
  EXPECT_TRUE(tick);
}

}  // namespace
}  // namespace kestrel::testing
