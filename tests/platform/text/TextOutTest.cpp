// Text on device contexts: painting where the measuring calls say, alignment, backgrounds,
// decorations, stock fonts, and bad input.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/gdi/internal/DeviceContext.h"
#include "platform/text/Text.h"
#include "platform/text/internal/CoverageBlend.h"
#include "platform/text/internal/FontInstance.h"
#include "platform/text/internal/TextPainter.h"
#include "tests/platform/gdi/GdiTestSupport.h"

namespace kestrel::platform {
namespace {

using testing::Canvas;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kInk = RGB(0, 0, 0);

// Selects a font into a DC for the life of the object.
class Selected {
 public:
  Selected(HDC dc, const LOGFONTW& lf) : dc_(dc), font_(CreateFontIndirectW(&lf)), old_(SelectObject(dc, font_)) {}
  ~Selected() {
    SelectObject(dc_, old_);
    DeleteObject(font_);
  }
  HFONT Handle() const { return font_; }

 private:
  HDC dc_;
  HFONT font_;
  HGDIOBJ old_;
};

LOGFONTW Fixed14(bool aliased = true) {
  LOGFONTW lf = MakeLogFont(u"Kestrel Fixed", -14);
  if (aliased) lf.lfQuality = NONANTIALIASED_QUALITY;
  return lf;
}

// Bounding box of every pixel that is not white.
RECT InkBox(const Canvas& canvas, int width, int height) {
  RECT box{width, height, -1, -1};
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (canvas.At(x, y) != kWhite) {
        box.left = std::min<LONG>(box.left, x);
        box.top = std::min<LONG>(box.top, y);
        box.right = std::max<LONG>(box.right, x + 1);
        box.bottom = std::max<LONG>(box.bottom, y + 1);
      }
  return box;
}

SIZE Extent(HDC dc, std::u16string_view text) {
  SIZE size{};
  EXPECT_TRUE(GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size));
  return size;
}

TEST(TextOut, FixedFontGlyphsLandOnTheirCells) {
  Canvas canvas(40, 20);
  Selected font(canvas.dc, Fixed14());
  SetBkMode(canvas.dc, TRANSPARENT);
  ASSERT_TRUE(TextOutW(canvas.dc, 3, 2, u"ab", 2));
  // Each glyph is a box over columns 1..5 of its 7-pixel cell and rows 1..10 of the 14-pixel cell.
  std::string row = "....#####..#####.....";
  std::string expected;
  for (int y = 0; y < 14; ++y) {
    if (y) expected += '|';
    expected += (y >= 1 && y <= 10) ? row : std::string(row.size(), '.');
  }
  EXPECT_EQ(canvas.Mask({0, 2, 21, 16}, kInk), expected);
  EXPECT_EQ(Extent(canvas.dc, u"ab").cx, 14);
  EXPECT_EQ(Extent(canvas.dc, u"ab").cy, 14);
}

TEST(TextOut, PaintedInkLiesWithinTheMeasuredExtent) {
  const LOGFONTW fonts[] = {MakeLogFont(u"Verdana", -13), MakeLogFont(u"Arial", 16),
                            MakeLogFont(u"Times New Roman", -15, FW_BOLD), MakeLogFont(u"Courier New", -13),
                            MakeLogFont(u"Tahoma", -11)};
  const std::u16string text = u"Download the full version";
  for (const LOGFONTW& lf : fonts) {
    SCOPED_TRACE(Utf16ToUtf8(FaceNameOf(lf)));
    Canvas canvas(300, 40);
    Selected font(canvas.dc, lf);
    SetBkMode(canvas.dc, TRANSPARENT);
    TextOutW(canvas.dc, 10, 5, text.data(), static_cast<int>(text.size()));
    SIZE size = Extent(canvas.dc, text);
    RECT ink = InkBox(canvas, 300, 40);
    // Ink may pass the advance only by the last glyph's negative C width, plus one pixel of
    // greyscale fringe.
    ABC last{};
    ASSERT_TRUE(GetCharABCWidthsW(canvas.dc, text.back(), text.back(), &last));
    EXPECT_GE(ink.left, 10);
    EXPECT_LE(ink.right, 10 + size.cx + std::max(0, -last.abcC) + 1)
        << last.abcA << " " << last.abcB << " " << last.abcC;
    EXPECT_GE(ink.right, 10 + size.cx - 3);  // the last glyph's ink reaches near the end
    EXPECT_GE(ink.top, 5);
    EXPECT_LE(ink.bottom, 5 + size.cy);
  }
}

TEST(TextOut, RunsDrawnOneAfterAnotherMatchTheWholeString) {
  // What GetTextExtentExPointW reports is where the next run must start: drawing "Download" and
  // then " full version" at x + extent paints exactly the pixels of the whole string.
  for (BYTE quality : {DEFAULT_QUALITY, NONANTIALIASED_QUALITY}) {
    LOGFONTW lf = MakeLogFont(u"Verdana", -13);
    lf.lfQuality = quality;
    Canvas whole(220, 24), pieces(220, 24);
    Selected a(whole.dc, lf), b(pieces.dc, lf);
    const std::u16string text = u"Download full version";
    TextOutW(whole.dc, 4, 4, text.data(), static_cast<int>(text.size()));
    int dx[21];
    int fit = 0;
    SIZE size{};
    ASSERT_TRUE(GetTextExtentExPointW(pieces.dc, text.data(), 21, 1000, &fit, dx, &size));
    EXPECT_EQ(fit, 21);
    EXPECT_EQ(dx[20], size.cx);
    TextOutW(pieces.dc, 4, 4, text.data(), 8);
    TextOutW(pieces.dc, 4 + dx[7], 4, text.data() + 8, 13);
    int differing = 0;
    for (int y = 0; y < 24; ++y)
      for (int x = 0; x < 220; ++x) differing += whole.At(x, y) != pieces.At(x, y);
    EXPECT_EQ(differing, 0);
  }
}

TEST(TextOut, ExtentsFitAndCharacterExtra) {
  Canvas canvas(10, 10);
  Selected font(canvas.dc, Fixed14());
  const std::u16string text = u"abcde";
  int dx[5] = {};
  int fit = -1;
  SIZE size{};
  ASSERT_TRUE(GetTextExtentExPointW(canvas.dc, text.data(), 5, 20, &fit, dx, &size));
  EXPECT_EQ(fit, 2);
  EXPECT_EQ(std::vector<int>(dx, dx + 5), (std::vector<int>{7, 14, 21, 28, 35}));
  EXPECT_EQ(size.cx, 35);
  ASSERT_TRUE(GetTextExtentExPointW(canvas.dc, text.data(), 5, 21, &fit, nullptr, &size));
  EXPECT_EQ(fit, 3);

  // Character extra widens every character, in measuring and in painting.
  EXPECT_EQ(SetTextCharacterExtra(canvas.dc, 2), 0);
  EXPECT_EQ(GetTextCharacterExtra(canvas.dc), 2);
  EXPECT_EQ(Extent(canvas.dc, u"abc").cx, 27);
  // A surrogate pair is one character: one extra, its advance on the first unit.
  std::u16string pair = u"a\U0001D11E";
  ASSERT_TRUE(GetTextExtentExPointW(canvas.dc, pair.data(), 3, 9, &fit, dx, &size));
  EXPECT_EQ(dx[1], dx[2]);
  EXPECT_EQ(fit, 1);

  int widths[3] = {};
  ASSERT_TRUE(GetCharWidth32W(canvas.dc, 'a', 'c', widths));
  EXPECT_EQ(std::vector<int>(widths, widths + 3), (std::vector<int>{7, 7, 7}));
  ABC abc[1];
  ASSERT_TRUE(GetCharABCWidthsW(canvas.dc, 'x', 'x', abc));
  EXPECT_EQ(abc[0].abcA + static_cast<int>(abc[0].abcB) + abc[0].abcC, 7);
}

// Asking for the fit alone takes a shorter path than asking for the running extents; both must
// give the same fit and size, at the boundaries and with a negative character extra too.
TEST(TextOut, FitWithoutExtentsMatchesFitWithThem) {
  Canvas canvas(10, 10);
  Selected font(canvas.dc, MakeLogFont(u"Verdana", -13));
  const std::u16string text = u"Wide iiii MMMM e\u0301 \U0001D11E\u4E2D end";
  const int count = static_cast<int>(text.size());
  std::vector<int> dx(text.size());
  for (int extra : {0, 3, -4}) {
    SetTextCharacterExtra(canvas.dc, extra);
    SIZE whole{};
    ASSERT_TRUE(GetTextExtentExPointW(canvas.dc, text.data(), count, 1 << 20, nullptr, dx.data(), &whole));
    std::vector<int> limits{-1, 0};
    for (int edge : std::vector<int>(dx)) limits.insert(limits.end(), {edge - 1, edge, edge + 1});
    for (int maxExtent : limits) {
      int withDx = -1, without = -1;
      SIZE a{}, b{};
      ASSERT_TRUE(GetTextExtentExPointW(canvas.dc, text.data(), count, maxExtent, &withDx, dx.data(), &a));
      ASSERT_TRUE(GetTextExtentExPointW(canvas.dc, text.data(), count, maxExtent, &without, nullptr, &b));
      EXPECT_EQ(without, withDx) << "extra " << extra << ", max " << maxExtent;
      EXPECT_EQ(b.cx, a.cx);
      EXPECT_EQ(a.cx, whole.cx);
    }
  }
  SetTextCharacterExtra(canvas.dc, 0);
}

TEST(TextOut, AnsiCallsTakeUtf8) {
  Canvas canvas(40, 20);
  Selected font(canvas.dc, Fixed14());
  SIZE size{};
  const char text[] = "a\xE2\x82\xAC\xF0\x9D\x84\x9E";  // a, euro sign, a surrogate pair
  ASSERT_TRUE(GetTextExtentPoint32A(canvas.dc, text, 8, &size));
  EXPECT_EQ(size.cx, 21);  // three characters, counted in bytes on the way in
  RECT r{0, 0, 100, 0};
  EXPECT_EQ(DrawTextA(canvas.dc, text, -1, &r, DT_CALCRECT), 14);
  EXPECT_EQ(r.right, 21);
  EXPECT_TRUE(TextOutA(canvas.dc, 0, 0, text, 1));
  EXPECT_NE(canvas.At(2, 2), kWhite);
  EXPECT_FALSE(TextOutA(canvas.dc, 0, 0, nullptr, 2));
}

TEST(TextOut, AlignmentAndCurrentPosition) {
  Canvas canvas(60, 40);
  Selected font(canvas.dc, Fixed14());
  SetBkMode(canvas.dc, TRANSPARENT);
  struct Case {
    UINT align;
    RECT ink;  // ink box of "a" drawn at (30, 20)
  };
  const Case cases[] = {
      {TA_LEFT | TA_TOP, {31, 21, 36, 31}},      {TA_RIGHT | TA_TOP, {24, 21, 29, 31}},
      {TA_CENTER | TA_TOP, {28, 21, 33, 31}},  // cell starts at 30 - 7/2 = 27
      {TA_LEFT | TA_BASELINE, {31, 10, 36, 20}}, {TA_LEFT | TA_BOTTOM, {31, 7, 36, 17}},
  };
  for (const Case& c : cases) {
    canvas.Clear(kWhite);
    EXPECT_NE(SetTextAlign(canvas.dc, c.align), GDI_ERROR);
    EXPECT_EQ(GetTextAlign(canvas.dc), c.align);
    TextOutW(canvas.dc, 30, 20, u"a", 1);
    EXPECT_EQ(InkBox(canvas, 60, 40), c.ink) << c.align;
  }
  // TA_UPDATECP draws at the current position and moves it past the text.
  canvas.Clear(kWhite);
  SetTextAlign(canvas.dc, TA_UPDATECP);
  LookupDeviceContext(canvas.dc)->State().currentPosition = {5, 3};
  TextOutW(canvas.dc, 999, 999, u"ab", 2);
  TextOutW(canvas.dc, 999, 999, u"c", 1);
  EXPECT_EQ(InkBox(canvas, 60, 40), (RECT{6, 4, 25, 14}));
  EXPECT_EQ(LookupDeviceContext(canvas.dc)->State().currentPosition, (POINT{26, 3}));
}

TEST(TextOut, BackgroundsClippingAndSpacing) {
  Canvas canvas(60, 30);
  Selected font(canvas.dc, Fixed14());
  const COLORREF back = RGB(0, 0, 255);
  SetBkColor(canvas.dc, back);
  SetTextColor(canvas.dc, RGB(255, 0, 0));
  // OPAQUE fills the text cell (extent × height) behind the glyphs.
  SetBkMode(canvas.dc, OPAQUE);
  TextOutW(canvas.dc, 2, 2, u"ab", 2);
  EXPECT_EQ(canvas.Count(back) + canvas.Count(RGB(255, 0, 0)), 14 * 14);
  EXPECT_EQ(canvas.At(2, 2), back);
  EXPECT_EQ(canvas.At(16, 2), kWhite);

  // ETO_OPAQUE with no text fills the rectangle alone, whatever the background mode.
  canvas.Clear(kWhite);
  SetBkMode(canvas.dc, TRANSPARENT);
  RECT fill{10, 5, 20, 9};
  ASSERT_TRUE(ExtTextOutW(canvas.dc, 0, 0, ETO_OPAQUE, &fill, nullptr, 0, nullptr));
  EXPECT_EQ(canvas.Count(back), 40);

  // ETO_CLIPPED keeps the glyphs inside the rectangle.
  canvas.Clear(kWhite);
  RECT clip{0, 0, 10, 30};
  ExtTextOutW(canvas.dc, 0, 0, ETO_CLIPPED, &clip, u"abc", 3, nullptr);
  EXPECT_EQ(InkBox(canvas, 60, 30), (RECT{1, 1, 10, 11}));

  // lpDx places each character.
  canvas.Clear(kWhite);
  const INT dx[] = {20, 10, 7};
  ExtTextOutW(canvas.dc, 0, 0, 0, nullptr, u"abc", 3, dx);
  EXPECT_EQ(canvas.At(21, 5), RGB(255, 0, 0));
  EXPECT_EQ(canvas.At(31, 5), RGB(255, 0, 0));
  EXPECT_EQ(canvas.At(8, 5), kWhite);
}

TEST(TextOut, EachCallDrawsOnTheCurrentTargetClipAndOrigin) {
  // Calls on one DC share drawing state; none of it may outlive a change made in between.
  Canvas canvas(40, 20);
  Selected font(canvas.dc, Fixed14());
  SetBkMode(canvas.dc, TRANSPARENT);
  IntersectClipRect(canvas.dc, 0, 0, 3, 20);
  TextOutW(canvas.dc, 0, 0, u"a", 1);
  EXPECT_EQ(InkBox(canvas, 40, 20), (RECT{1, 1, 3, 11}));
  SelectClipRgn(canvas.dc, nullptr);
  TextOutW(canvas.dc, 7, 0, u"a", 1);
  EXPECT_EQ(InkBox(canvas, 40, 20), (RECT{1, 1, 13, 11}));

  canvas.Clear(kWhite);
  SetViewportOrgEx(canvas.dc, 10, 5, nullptr);
  TextOutW(canvas.dc, 0, 0, u"a", 1);
  EXPECT_EQ(InkBox(canvas, 40, 20), (RECT{11, 6, 16, 16}));
  SetViewportOrgEx(canvas.dc, 0, 0, nullptr);

  // Another bitmap selected in between takes the next run; the first keeps what it had.
  HBITMAP other = CreateCompatibleBitmap(canvas.dc, 40, 20);
  HGDIOBJ first = SelectObject(canvas.dc, other);
  PatBlt(canvas.dc, 0, 0, 40, 20, WHITENESS);
  TextOutW(canvas.dc, 20, 0, u"a", 1);
  EXPECT_EQ(GetPixel(canvas.dc, 23, 5), kInk);
  SelectObject(canvas.dc, first);
  DeleteObject(other);
  EXPECT_EQ(InkBox(canvas, 40, 20), (RECT{11, 6, 16, 16}));
}

// Every pixel of a canvas that a series of text calls painted, with glyphs composited straight
// onto the pixels or all through cairo.
std::vector<COLORREF> PaintSeries(const LOGFONTW& lf, bool direct) {
  TextPainter::SetDirectGlyphs(direct);
  Canvas canvas(160, 90);
  Selected font(canvas.dc, lf);
  SetTextColor(canvas.dc, RGB(200, 30, 60));
  SetBkMode(canvas.dc, TRANSPARENT);
  const std::u16string text = u"Kestrel \u00C4\u00D6\u00FC fj gy \u20AC\u2014\u6F22";
  const UINT length = static_cast<UINT>(text.size());
  TextOutW(canvas.dc, 3, 2, text.data(), static_cast<int>(length));
  const RECT cut{10, 22, 47, 31};  // through the middle of the glyphs
  ExtTextOutW(canvas.dc, 5, 20, ETO_CLIPPED, &cut, text.data(), length, nullptr);
  SetViewportOrgEx(canvas.dc, -7, 3, nullptr);
  HRGN twoParts = CreateRectRgn(0, 40, 30, 60);
  HRGN second = CreateRectRgn(50, 45, 160, 55);
  CombineRgn(twoParts, twoParts, second, RGN_OR);
  SelectClipRgn(canvas.dc, twoParts);
  TextOutW(canvas.dc, 4, 40, text.data(), static_cast<int>(length));
  SelectClipRgn(canvas.dc, nullptr);
  DeleteObject(twoParts);
  DeleteObject(second);
  SetBkMode(canvas.dc, OPAQUE);
  SetBkColor(canvas.dc, RGB(10, 120, 240));
  TextOutW(canvas.dc, 2, 62, text.data(), static_cast<int>(length));
  TextOutW(canvas.dc, -500, 5000, text.data(), static_cast<int>(length));  // far outside
  std::vector<COLORREF> pixels;
  for (int y = 0; y < 90; ++y)
    for (int x = 0; x < 160; ++x) pixels.push_back(canvas.At(x, y));
  TextPainter::SetDirectGlyphs(true);
  return pixels;
}

TEST(TextOut, GlyphsCompositedDirectlyMatchCairoToThePixel) {
  LOGFONTW sans = MakeLogFont(u"DejaVu Sans", -13);
  LOGFONTW aliased = sans;
  aliased.lfQuality = NONANTIALIASED_QUALITY;
  LOGFONTW serif = MakeLogFont(u"DejaVu Serif", -17);
  serif.lfWeight = FW_BOLD;
  serif.lfItalic = 1;
  LOGFONTW synthetic = Fixed14(false);  // no bold or italic face: both made up
  synthetic.lfWeight = FW_BOLD;
  synthetic.lfItalic = 1;
  LOGFONTW large = MakeLogFont(u"DejaVu Sans", -31);
  for (const LOGFONTW& lf : {sans, aliased, serif, synthetic, large}) {
    const std::vector<COLORREF> direct = PaintSeries(lf, true);
    const std::vector<COLORREF> throughCairo = PaintSeries(lf, false);
    EXPECT_LT(std::count(direct.begin(), direct.end(), kWhite), static_cast<long>(direct.size()));
    EXPECT_TRUE(direct == throughCairo) << Utf16ToUtf8(FaceNameOf(lf)) << " " << lf.lfHeight;
  }
}

TEST(TextOut, CoverageBlendsAlikeEightAtATimeAndOneByOne) {
  // Every pixel value of one channel under every coverage, in rows of odd widths so that the
  // row ends (fewer than eight pixels) are covered too.
  constexpr int kWidth = 13;
  std::vector<std::uint32_t> wide, single;
  std::vector<std::uint8_t> coverage;
  for (int d = 0; d < 256; ++d)
    for (int m = 0; m < 256; ++m) {
      wide.push_back(0xFF000000u | static_cast<std::uint32_t>(d) << 16 | static_cast<std::uint32_t>(255 - d) << 8 |
                     static_cast<std::uint32_t>(d / 2));
      coverage.push_back(static_cast<std::uint8_t>(m));
    }
  const int rows = static_cast<int>(wide.size()) / kWidth;
  coverage.resize(coverage.size() + kCoverageSlack);
  single = wide;
  BlendCoverage(wide.data(), kWidth, coverage.data(), kWidth, kWidth, rows, 0x00C81E3C);
  BlendCoverageOneByOne(single.data(), kWidth, coverage.data(), kWidth, kWidth, rows, 0x00C81E3C);
  EXPECT_TRUE(wide == single);
  EXPECT_EQ(wide[255], 0xFFC81E3Cu);                    // full coverage: the colour
  EXPECT_EQ(wide[256], 0xFF010000u | (254u << 8) | 0);  // none: unchanged
}

TEST(TextOut, UnderlineAndStrikeOut) {
  Canvas canvas(40, 20);
  LOGFONTW lf = Fixed14();
  lf.lfUnderline = 1;
  lf.lfStrikeOut = 1;
  Selected font(canvas.dc, lf);
  SetBkMode(canvas.dc, TRANSPARENT);
  TextOutW(canvas.dc, 0, 0, u"a b", 3);
  auto instance = FontInstance::Create(lf);
  int underline = 11 + instance->Underline().top;
  EXPECT_EQ(canvas.Mask({0, underline, 21, underline + 1}, kInk), std::string(21, '#'));
  // The strike-out crosses the space too, above the baseline.
  int strike = 11 + instance->StrikeOut().top;
  EXPECT_LT(strike, 11);
  EXPECT_EQ(canvas.At(9, strike), kInk);
}

TEST(TextOut, StockFontsAndFontObjects) {
  HGDIOBJ gui = GetStockObject(DEFAULT_GUI_FONT);
  ASSERT_NE(gui, nullptr);
  EXPECT_EQ(GetStockFont(DEFAULT_GUI_FONT), gui);
  EXPECT_EQ(GetObjectType(gui), OBJ_FONT);
  LOGFONTW lf{};
  EXPECT_EQ(GetObject(gui, 0, nullptr), static_cast<int>(sizeof(LOGFONTW)));
  ASSERT_EQ(GetObject(gui, sizeof lf, &lf), static_cast<int>(sizeof(LOGFONTW)));
  EXPECT_EQ(lf.lfHeight, -11);
  EXPECT_EQ(FaceNameOf(lf), u"MS Shell Dlg");
  DeleteObject(gui);  // stock objects survive
  EXPECT_EQ(GetObjectType(gui), OBJ_FONT);

  HFONT created = CreateFontW(-13, 0, 0, 0, FW_BOLD, 1, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, u"Verdana");
  ASSERT_NE(created, nullptr);
  ASSERT_EQ(GetObject(created, sizeof lf, &lf), static_cast<int>(sizeof(LOGFONTW)));
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_EQ(lf.lfItalic, 1);
  EXPECT_EQ(FaceNameOf(lf), u"Verdana");
  LONG partial = 0;
  EXPECT_EQ(GetObject(created, sizeof partial, &partial), static_cast<int>(sizeof partial));
  EXPECT_EQ(partial, -13);

  // A new DC draws with the bold SYSTEM_FONT; a deleted font falls back to it too.
  Canvas canvas(10, 10);
  TEXTMETRICW tm{};
  ASSERT_TRUE(GetTextMetricsW(canvas.dc, &tm));
  EXPECT_EQ(tm.tmWeight, FW_BOLD);
  EXPECT_EQ(tm.tmHeight, 16);
  WCHAR face[LF_FACESIZE];
  EXPECT_EQ(GetTextFaceW(canvas.dc, 0, nullptr), 12);
  EXPECT_EQ(GetTextFaceW(canvas.dc, LF_FACESIZE, face), 12);
  EXPECT_EQ(String(face), u"DejaVu Sans");
  EXPECT_EQ(GetTextFaceW(canvas.dc, 4, face), 4);
  EXPECT_EQ(String(face), u"Dej");
  SelectObject(canvas.dc, created);
  ASSERT_TRUE(GetTextMetricsW(canvas.dc, &tm));
  EXPECT_EQ(tm.tmHeight, 15);
  DeviceContextState& state = LookupDeviceContext(canvas.dc)->State();
  SelectObject(canvas.dc, GetStockObject(SYSTEM_FONT));  // deselected, so deleting frees it now
  ASSERT_TRUE(DeleteObject(created));
  state.font = created;  // a stale handle, as if deleted while selected
  ASSERT_TRUE(GetTextMetricsW(canvas.dc, &tm));
  EXPECT_EQ(tm.tmHeight, 16);
  state.font = GetStockObject(SYSTEM_FONT);
}

TEST(TextOut, BadInputFailsLikeWin32) {
  SIZE size{};
  TEXTMETRICW tm{};
  SetLastError(0);
  EXPECT_FALSE(TextOutW(nullptr, 0, 0, u"a", 1));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_FALSE(GetTextMetricsW(reinterpret_cast<HDC>(0x12345), &tm));
  EXPECT_FALSE(GetTextExtentPoint32W(nullptr, u"a", 1, &size));
  EXPECT_EQ(SetTextAlign(nullptr, TA_LEFT), GDI_ERROR);
  RECT r{0, 0, 10, 10};
  EXPECT_EQ(DrawTextW(nullptr, u"a", 1, &r, 0), 0);

  Canvas canvas(10, 10);
  EXPECT_FALSE(TextOutW(canvas.dc, 0, 0, nullptr, 3));
  EXPECT_FALSE(TextOutW(canvas.dc, 0, 0, u"a", -1));
  EXPECT_TRUE(TextOutW(canvas.dc, 0, 0, nullptr, 0));
  EXPECT_FALSE(GetTextExtentPoint32W(canvas.dc, u"a", 1, nullptr));
  EXPECT_FALSE(GetTextExtentPoint32W(canvas.dc, u"a", -5, &size));
  EXPECT_FALSE(GetTextMetricsW(canvas.dc, nullptr));
  int widths[2];
  EXPECT_FALSE(GetCharWidth32W(canvas.dc, 'b', 'a', widths));
  EXPECT_FALSE(GetCharWidth32W(canvas.dc, 'a', 'b', nullptr));
  EXPECT_EQ(CreateFontIndirectW(nullptr), nullptr);
  EXPECT_EQ(DrawTextW(canvas.dc, u"a", 1, nullptr, 0), 0);
  EXPECT_EQ(DrawTextW(canvas.dc, nullptr, 4, &r, 0), 0);
  // Far-away coordinates draw nothing and crash nothing.
  EXPECT_TRUE(TextOutW(canvas.dc, 2147483647, -2147483647, u"abc", 3));
  SetTextAlign(canvas.dc, TA_RIGHT | TA_BOTTOM);
  EXPECT_TRUE(TextOutW(canvas.dc, -2147483647, 2147483647, u"abc", 3));
  // A DC that was deleted is refused.
  HDC gone = CreateCompatibleDC(nullptr);
  DeleteDC(gone);
  EXPECT_FALSE(TextOutW(gone, 0, 0, u"a", 1));
}

}  // namespace
}  // namespace kestrel::platform
