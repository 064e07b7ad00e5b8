// DrawText on device contexts: calculated rectangles, return values, placement, prefixes,
// string modification, and the flag groups as golden images.

#include <gtest/gtest.h>

#include "platform/text/Text.h"
#include "platform/text/internal/FontInstance.h"
#include "tests/platform/gdi/GdiTestSupport.h"
#include "tests/support/GoldenImage.h"

namespace kestrel::platform {
namespace {

using testing::Canvas;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kInk = RGB(0, 0, 0);

class DrawTextTest : public ::testing::Test {
 protected:
  DrawTextTest() : canvas_(120, 60) {
    LOGFONTW lf = MakeLogFont(u"Kestrel Fixed", -14);  // 7 px per character, 14 px per line
    lf.lfQuality = NONANTIALIASED_QUALITY;
    font_ = CreateFontIndirectW(&lf);
    old_ = SelectObject(canvas_.dc, font_);
    SetBkMode(canvas_.dc, TRANSPARENT);
  }
  ~DrawTextTest() override {
    SelectObject(canvas_.dc, old_);
    DeleteObject(font_);
  }

  // DT_CALCRECT on a rectangle at (10, 20) `width` wide; returns the height and the rectangle.
  std::pair<int, RECT> Calc(std::u16string_view text, UINT format, int width = 1000) {
    RECT r{10, 20, 10 + width, 20};
    int height = DrawTextW(canvas_.dc, text.data(), static_cast<int>(text.size()), &r, format | DT_CALCRECT);
    return {height, r};
  }

  RECT Ink() const {
    RECT box{1000, 1000, -1, -1};
    for (int y = 0; y < 60; ++y)
      for (int x = 0; x < 120; ++x)
        if (canvas_.At(x, y) != kWhite) {
          box.left = std::min<LONG>(box.left, x);
          box.top = std::min<LONG>(box.top, y);
          box.right = std::max<LONG>(box.right, x + 1);
          box.bottom = std::max<LONG>(box.bottom, y + 1);
        }
    return box;
  }

  Canvas canvas_;
  HFONT font_;
  HGDIOBJ old_;
};

TEST_F(DrawTextTest, CalculatedRectangles) {
  EXPECT_EQ(Calc(u"abc", DT_SINGLELINE), std::make_pair(14, RECT{10, 20, 31, 34}));
  // The run-measuring combination: no prefix processing, so "&" counts.
  EXPECT_EQ(Calc(u"a&b", DT_SINGLELINE | DT_NOPREFIX | DT_BOTTOM), std::make_pair(14, RECT{10, 20, 31, 34}));
  EXPECT_EQ(Calc(u"a&b", DT_SINGLELINE), std::make_pair(14, RECT{10, 20, 24, 34}));
  // Word-broken text keeps the widest line, and grows downwards.
  EXPECT_EQ(Calc(u"aaa bbb ccc", DT_WORDBREAK, 50), std::make_pair(28, RECT{10, 20, 59, 48}));
  // A word longer than the width widens the rectangle.
  EXPECT_EQ(Calc(u"abcdefghij", DT_WORDBREAK, 50), std::make_pair(14, RECT{10, 20, 80, 34}));
  // Empty text takes no room (callers measure a space for a line's height); count -1 reads to
  // the NUL.
  EXPECT_EQ(Calc(u"", 0), std::make_pair(0, RECT{10, 20, 10, 20}));
  EXPECT_EQ(Calc(u" ", 0), std::make_pair(14, RECT{10, 20, 17, 34}));
  RECT r{0, 0, 100, 0};
  EXPECT_EQ(DrawTextW(canvas_.dc, u"ab\r\ncd", -1, &r, DT_CALCRECT), 28);
  EXPECT_EQ(r.right, 14);
  // Tabs: 8 average widths by default, or DRAWTEXTPARAMS' length.
  EXPECT_EQ(Calc(u"a\tb", DT_EXPANDTABS).second.right, 10 + 63);
  DRAWTEXTPARAMS tabs;
  tabs.iTabLength = 2;
  WCHAR tabbed[] = u"a\tb";
  r = {0, 0, 100, 0};
  DrawTextExW(canvas_.dc, tabbed, 3, &r, DT_CALCRECT | DT_EXPANDTABS, &tabs);
  EXPECT_EQ(r.right, 21);
  // Margins of DrawTextExW are part of the rectangle; the length drawn is reported.
  DRAWTEXTPARAMS params;
  params.iLeftMargin = 5;
  params.iRightMargin = 3;
  WCHAR text[] = u"abc";
  r = {0, 0, 100, 0};
  EXPECT_EQ(DrawTextExW(canvas_.dc, text, 3, &r, DT_CALCRECT | DT_SINGLELINE, &params), 14);
  EXPECT_EQ(r.right, 5 + 21 + 3);
  EXPECT_EQ(params.uiLengthDrawn, 3u);
  // Calculating paints nothing.
  EXPECT_EQ(canvas_.Count(kWhite), 120 * 60);
}

TEST_F(DrawTextTest, ExternalLeadingAddsToEachLine) {
  LOGFONTW lf = MakeLogFont(u"Times New Roman", -13);
  HFONT serif = CreateFontIndirectW(&lf);
  HGDIOBJ previous = SelectObject(canvas_.dc, serif);
  TEXTMETRICW tm{};
  GetTextMetricsW(canvas_.dc, &tm);
  ASSERT_EQ(tm.tmExternalLeading, 1);
  EXPECT_EQ(Calc(u"a\nb", 0).first, 2 * tm.tmHeight);
  EXPECT_EQ(Calc(u"a\nb", DT_EXTERNALLEADING).first, 2 * (tm.tmHeight + 1));
  SelectObject(canvas_.dc, previous);
  DeleteObject(serif);
}

TEST_F(DrawTextTest, PlacementAndReturnValues) {
  struct Case {
    UINT format;
    int returned;
    RECT ink;  // of "ab" in the rectangle (10, 5, 110, 45)
  };
  const Case cases[] = {
      {DT_SINGLELINE, 14, {11, 6, 23, 16}},
      {DT_SINGLELINE | DT_CENTER, 14, {54, 6, 66, 16}},  // (100 - 14) / 2 = 43 from the left
      {DT_SINGLELINE | DT_RIGHT, 14, {97, 6, 109, 16}},
      {DT_SINGLELINE | DT_VCENTER, 27, {11, 19, 23, 29}},  // (40 - 14) / 2 = 13 from the top
      {DT_SINGLELINE | DT_BOTTOM | DT_RIGHT, 40, {97, 32, 109, 42}},
      {DT_VCENTER | DT_BOTTOM, 14, {11, 6, 23, 16}},  // vertical alignment needs one line
  };
  for (const Case& c : cases) {
    canvas_.Clear(kWhite);
    RECT r{10, 5, 110, 45};
    EXPECT_EQ(DrawTextW(canvas_.dc, u"ab", 2, &r, c.format), c.returned) << c.format;
    EXPECT_EQ(Ink(), c.ink) << c.format;
    EXPECT_EQ(r, (RECT{10, 5, 110, 45}));
  }
  // Text is clipped to the rectangle unless DT_NOCLIP.
  canvas_.Clear(kWhite);
  RECT narrow{0, 0, 10, 14};
  DrawTextW(canvas_.dc, u"abc", 3, &narrow, DT_SINGLELINE);
  EXPECT_EQ(Ink().right, 10);
  DrawTextW(canvas_.dc, u"abc", 3, &narrow, DT_SINGLELINE | DT_NOCLIP);
  EXPECT_EQ(Ink().right, 20);
  // DT_EDITCONTROL leaves out a partly visible last line.
  canvas_.Clear(kWhite);
  RECT box{0, 0, 120, 40};
  DrawTextW(canvas_.dc, u"a\nb\nc", 5, &box, 0);
  EXPECT_EQ(Ink().bottom, 39);
  canvas_.Clear(kWhite);
  DrawTextW(canvas_.dc, u"a\nb\nc", 5, &box, DT_EDITCONTROL);
  EXPECT_EQ(Ink().bottom, 25);
  // DT_TABSTOP takes the tab length from bits 8-15 (so it cannot be combined with the flags there).
  canvas_.Clear(kWhite);
  RECT wide{0, 0, 120, 14};
  DrawTextW(canvas_.dc, u"a\tb", 3, &wide, DT_EXPANDTABS | DT_TABSTOP | (2 << 8));
  EXPECT_EQ(Ink().right, 14 + 6);
}

TEST_F(DrawTextTest, PrefixUnderlines) {
  auto font = FontInstance::Create(MakeLogFont(u"Kestrel Fixed", -14));
  const int row = 11 + font->Underline().top;
  RECT r{0, 0, 120, 20};
  DrawTextW(canvas_.dc, u"x&yz", 4, &r, DT_SINGLELINE);
  EXPECT_EQ(canvas_.Mask({0, row, 21, row + 1}, kInk), ".......#######.......");
  canvas_.Clear(kWhite);
  DrawTextW(canvas_.dc, u"x&yz", 4, &r, DT_SINGLELINE | DT_HIDEPREFIX);
  EXPECT_EQ(canvas_.Mask({0, row, 21, row + 1}, kInk), ".....................");
  EXPECT_EQ(Ink(), (RECT{1, 1, 20, 11}));  // the text itself is still there
  canvas_.Clear(kWhite);
  DrawTextW(canvas_.dc, u"x&yz", 4, &r, DT_SINGLELINE | DT_PREFIXONLY);
  EXPECT_EQ(Ink(), (RECT{7, row, 14, row + 1}));  // only the underline
}

TEST_F(DrawTextTest, ModifyStringWritesTheEllipsis) {
  WCHAR buffer[32] = u"Download failed";
  RECT r{0, 0, 70, 14};
  DrawTextExW(canvas_.dc, buffer, 15, &r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING, nullptr);
  EXPECT_EQ(String(buffer), u"Downloa...");
  // Text that fits is left as it is, and DrawTextW never writes.
  WCHAR fits[32] = u"Download";
  DrawTextExW(canvas_.dc, fits, 8, &r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING, nullptr);
  EXPECT_EQ(String(fits), u"Download");
  const std::u16string constant = u"Download failed";
  DrawTextW(canvas_.dc, constant.c_str(), -1, &r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING);
  EXPECT_EQ(constant, u"Download failed");
}

// One sheet of the flag groups, in real fonts, to be looked at.
void Cell(HDC dc, int x, int y, int w, int h, std::u16string_view text, UINT format) {
  RECT r{x, y, x + w, y + h};
  HBRUSH frame = CreateSolidBrush(RGB(225, 232, 240));
  FillRect(dc, &r, frame);
  DeleteObject(frame);
  DrawTextW(dc, text.data(), static_cast<int>(text.size()), &r, format);
}

TEST(DrawTextGolden, FlagGroups) {
  Canvas canvas(376, 330);
  HDC dc = canvas.dc;
  LOGFONTW lf = MakeLogFont(u"Verdana", -13);
  HFONT verdana = CreateFontIndirectW(&lf);
  HGDIOBJ old = SelectObject(dc, verdana);
  SetBkMode(dc, TRANSPARENT);
  // Alignment: horizontal × vertical, single line.
  const UINT horizontal[] = {DT_LEFT, DT_CENTER, DT_RIGHT};
  const UINT vertical[] = {DT_TOP, DT_VCENTER, DT_BOTTOM};
  for (int i = 0; i < 3; ++i)
    for (int j = 0; j < 3; ++j)
      Cell(dc, 4 + 124 * i, 4 + 34 * j, 120, 30, u"Kestrel", DT_SINGLELINE | horizontal[i] | vertical[j]);
  // Word breaks, aligned.
  for (int i = 0; i < 3; ++i)
    Cell(dc, 4 + 124 * i, 108, 120, 66, u"Download and install the full version on your computer",
         DT_WORDBREAK | horizontal[i]);
  // Ellipses and prefixes.
  Cell(dc, 4, 178, 120, 18, u"Download failed, try again", DT_SINGLELINE | DT_END_ELLIPSIS);
  Cell(dc, 128, 178, 120, 18, u"C:\\Users\\user\\downloads\\setup.bin", DT_SINGLELINE | DT_PATH_ELLIPSIS);
  Cell(dc, 252, 178, 120, 36, u"Incomprehensibilities abound", DT_WORDBREAK | DT_WORD_ELLIPSIS);
  Cell(dc, 4, 200, 120, 18, u"&File && E&xit", DT_SINGLELINE);
  Cell(dc, 128, 200, 120, 18, u"&File && E&xit", DT_SINGLELINE | DT_HIDEPREFIX);
  Cell(dc, 4, 222, 120, 18, u"&File && E&xit", DT_SINGLELINE | DT_NOPREFIX);
  Cell(dc, 128, 222, 120, 18, u"&File && E&xit", DT_SINGLELINE | DT_PREFIXONLY);
  // Tabs, opaque background, no clipping.
  Cell(dc, 252, 218, 120, 18, u"a\tb\tc", DT_SINGLELINE | DT_EXPANDTABS);
  SetBkMode(dc, OPAQUE);
  SetBkColor(dc, RGB(255, 230, 120));
  SetTextColor(dc, RGB(30, 60, 160));
  Cell(dc, 4, 244, 120, 18, u"Opaque text", DT_SINGLELINE | DT_CENTER);
  SetBkMode(dc, TRANSPARENT);
  Cell(dc, 128, 244, 60, 18, u"Not clipped at all", DT_SINGLELINE | DT_NOCLIP);
  // Decorated and aliased fonts.
  LOGFONTW styled = MakeLogFont(u"Arial", 16, FW_BOLD, true, true, true);
  HFONT decorated = CreateFontIndirectW(&styled);
  SelectObject(dc, decorated);
  SetTextColor(dc, RGB(160, 0, 0));
  Cell(dc, 4, 266, 182, 24, u"Bold italic lines", DT_SINGLELINE | DT_VCENTER);
  LOGFONTW aliased = MakeLogFont(u"Courier New", -13);
  aliased.lfQuality = NONANTIALIASED_QUALITY;
  HFONT mono = CreateFontIndirectW(&aliased);
  SelectObject(dc, mono);
  SetTextColor(dc, kInk);
  Cell(dc, 190, 266, 182, 24, u"Aliased mono", DT_SINGLELINE | DT_VCENTER | DT_CENTER);
  LOGFONTW fixed = MakeLogFont(u"Kestrel Fixed", -14);
  HFONT test = CreateFontIndirectW(&fixed);
  SelectObject(dc, test);
  Cell(dc, 4, 294, 368, 30, u"Kestrel Fixed e\u0301 &prefix", DT_SINGLELINE | DT_VCENTER);

  SelectObject(dc, old);
  for (HFONT f : {verdana, decorated, mono, test}) DeleteObject(f);
  EXPECT_TRUE(kestrel::testing::MatchesGolden(canvas.Surface(), "platform_text_drawtext_flags", {16, 0.01}));
}

}  // namespace
}  // namespace kestrel::platform
