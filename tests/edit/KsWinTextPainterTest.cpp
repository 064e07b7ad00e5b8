#include "edit/KsWinTextPainter.h"

#include <gtest/gtest.h>

#include "edit/KsLineWrapper.h"

#include "framework/Colors.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/MemoryCanvas.h"
#include "platform/text/TextMeasure.h"
#include "platform/text/TextOut.h"
#include "platform/text/TextTypes.h"
#include "tests/edit/FixedMetricHost.h"

namespace kestrel {
namespace {

namespace pf = platform;

// A host whose widths come from the painter, as the control's do.
struct PainterHost : testing::FixedMetricHost {
  const TKsTextPainter* painter = nullptr;
  int repaints = 0;
  pf::SIZE TextExtent(std::u16string_view s) const override { return painter->TextSize(s); }
  int TextFit(std::u16string_view s, int width) const override { return painter->TextFit(s, width); }
  void TextChanged() override { ++repaints; }
};

class KsWinTextPainterTest : public ::testing::Test {
 protected:
  static constexpr int kWidth = 240;
  static constexpr int kHeight = 24;

  KsWinTextPainterTest() {
    font.SetName(u"DejaVu Sans");
    font.SetHeight(-13);
    canvas.SetHandle(bitmap.Dc());
    host.painter = &painter;
    Fill(0x0000FF);
  }
  ~KsWinTextPainterTest() override { canvas.SetHandle(nullptr); }

  void Fill(std::uint32_t bgr) {
    for (int i = 0; i < kWidth * kHeight; ++i) bitmap.Pixels()[i] = bgr;
  }
  std::uint32_t Pixel(int x, int y) const { return bitmap.Pixels()[y * kWidth + x] & 0xFFFFFF; }
  // Columns that hold a pixel darker than mid grey.
  std::pair<int, int> InkColumns() const {
    int first = kWidth, last = -1;
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) {
        const std::uint32_t p = Pixel(x, y);
        if ((p & 0xFF) < 0x80 && ((p >> 8) & 0xFF) < 0x80 && ((p >> 16) & 0xFF) < 0x80) {
          first = std::min(first, x);
          last = std::max(last, x);
        }
      }
    return {first, last};
  }

  pf::MemoryCanvas bitmap = pf::MemoryCanvas::Dib(nullptr, kWidth, kHeight);
  TCanvas canvas;
  TFont font;
  PainterHost host;
  TKsWinTextPainter painter{host, &canvas, &font};
};

TEST_F(KsWinTextPainterTest, FitAndExtentsAgreeWithThePrefixWidths) {
  const String s = u"Wide iiii text\U0001F600 end";
  std::vector<int> extents;
  const int full = painter.TextSize(s).cx;
  ASSERT_GT(full, 50);
  EXPECT_EQ(painter.TextExtentEx(s, full, &extents), static_cast<int>(s.size()));
  for (size_t n = 1; n <= s.size(); ++n) {
    pf::SIZE prefix{};
    pf::GetTextExtentPoint32W(canvas.Handle(), s.data(), static_cast<int>(n), &prefix);
    if (n < s.size() && IsHighSurrogate(s[n - 1])) continue;  // the pair's advance sits on its first unit
    EXPECT_EQ(extents[n - 1], prefix.cx) << n;
  }
  for (int width = -1; width <= full + 1; width += 3) {
    int expected = 0;
    while (expected < static_cast<int>(s.size()) && extents[expected] <= width) ++expected;
    EXPECT_EQ(painter.TextFit(s, width), width < 0 ? 0 : expected) << width;
  }

  host.hasWindow = false;
  EXPECT_EQ(painter.TextSize(s).cx, 0);
  EXPECT_EQ(painter.TextFit(s, full), 0);
}

TEST_F(KsWinTextPainterTest, TabsAndMaskingFollowTheModelRules) {
  const int tabbed = painter.TextSize(u"a    ").cx;
  EXPECT_EQ(painter.ExpandTabs(u"a\tb"), u"a    b");
  EXPECT_EQ(painter.CharsFitRight(tabbed - 1, u"a\tb", 0), 1);  // a tab cut by the limit does not fit
  EXPECT_EQ(painter.CharsFitRight(tabbed, u"a\tb", 0), 2);
  EXPECT_EQ(painter.CharsFitRight(painter.TextSize(u"a    b").cx, u"a\tb", 0), 3);
  EXPECT_EQ(painter.CharsFitLeft(painter.TextSize(u"    b").cx, u"a\tb", 3), 2);

  host.passwordChar = u'*';
  EXPECT_EQ(painter.MaskText(u"ab\r\n"), u"**\r\n");
}

TEST_F(KsWinTextPainterTest, OutputInkStaysInsideTheRunAndTheClip) {
  painter.SetColor(clBlack);
  painter.SetBkColor(clWhite);
  EXPECT_EQ(host.repaints, 2);
  const String s = u"Kestrel";
  const int width = painter.TextSize(s).cx;
  const pf::RECT clip{10, 0, 10 + width + 6, kHeight};
  painter.TextOut(&canvas, 12, 2, pf::ETO_OPAQUE | pf::ETO_CLIPPED, &clip, s);
  auto [first, last] = InkColumns();
  EXPECT_GE(first, 12);
  EXPECT_LT(last, 12 + width);
  EXPECT_GT(last - first, width / 2);
  EXPECT_EQ(Pixel(11, 1), 0xFFFFFFu);  // background filled inside the clip
  EXPECT_EQ(Pixel(9, 1), 0x0000FFu);   // untouched outside it
  EXPECT_EQ(Pixel(clip.right, 1), 0x0000FFu);

  Fill(0xFFFFFF);
  pf::SIZE size{};
  const pf::RECT narrow{0, 0, width / 2, kHeight};
  painter.DrawTabbedText(&canvas, 0, size, s, narrow, 2);
  EXPECT_EQ(size.cx, width);
  EXPECT_LT(InkColumns().second, width / 2);
}

// The wrapper's shortcuts (one run query per paragraph; none for printable ASCII in a monospaced
// font) must cut exactly where measuring every line cuts, whatever the font, text and width.
TEST_F(KsWinTextPainterTest, WrappingByTheRunCutsWhereMeasuringEveryLineCuts) {
  struct RunHost : PainterHost {
    mutable int asciiAdvances = 0;
    bool RunExtents(std::u16string_view s, std::vector<int>& extents) const override {
      return painter->RunExtents(s, extents);
    }
    int PrintableAsciiAdvance() const override {
      const int advance = painter->PrintableAsciiAdvance();
      asciiAdvances += advance > 0 ? 1 : 0;
      return advance;
    }
  };
  PainterHost lineHost;
  RunHost runHost;
  lineHost.painter = runHost.painter = &painter;
  const String texts[] = {u"lorem ipsum dolor sit amet, consectetur adipiscing elit sed do eiusmod tempor",
                          u"averyveryverylongwordwithoutanyblankinsideitatallreally and then more",
                          u"tab\tstops\tand words  with   double blanks at the end   ",
                          u"caf\u00E9 na\u00EFve \u4E2D\u6587 text \U0001F600\U0001F600 emoji",
                          u"\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600\U0001F600",
                          u"x"};
  for (const char16_t* face : {u"DejaVu Sans Mono", u"DejaVu Sans"})
    for (const int extra : {0, 2}) {
      font.SetName(face);
      pf::SetTextCharacterExtra(bitmap.Dc(), extra);
      for (const int right : {4, 9, 40, 97, 160, 400}) {
        lineHost.editRect.right = runHost.editRect.right = right;
        for (size_t i = 0; i < std::size(texts); ++i)
          EXPECT_EQ(TKsLineWrapper(runHost).Wrap(texts[i]), TKsLineWrapper(lineHost).Wrap(texts[i]))
              << "width " << right << ", extra " << extra << ", text " << i;
      }
    }
  pf::SetTextCharacterExtra(bitmap.Dc(), 0);
  EXPECT_GT(runHost.asciiAdvances, 0);  // the monospaced font took the shortcut
}

}  // namespace
}  // namespace kestrel
