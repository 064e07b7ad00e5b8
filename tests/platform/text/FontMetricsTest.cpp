// Font realisation through the private configuration, and GDI's metric rules on real tables.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "platform/text/internal/FontConfiguration.h"
#include "platform/text/internal/FontInstance.h"

namespace kestrel::platform {
namespace {

struct MetricsRow {
  const char16_t* face;
  LONG height;
  const char* realised;
  LONG tmHeight, tmAscent, tmDescent, tmInternalLeading, tmExternalLeading, tmAveCharWidth, tmMaxCharWidth;
};

// Values follow from the faces' tables, e.g. DejaVu Sans (em 2048, winAscent 1901, winDescent
// 483) at -13: ascent round(12.07) = 12, descent round(3.07) = 3, cell 15, internal leading 2;
// Liberation Serif has a line gap of 87 units beyond its win metrics, hence external leading 1.
const MetricsRow kTable[] = {
    {u"Verdana", -11, "DejaVu Sans", 13, 10, 3, 2, 0, 6, 21},
    {u"Verdana", -13, "DejaVu Sans", 15, 12, 3, 2, 0, 7, 24},
    {u"Verdana", -15, "DejaVu Sans", 18, 14, 4, 3, 0, 8, 28},
    {u"Verdana", 16, "DejaVu Sans", 16, 13, 3, 2, 0, 7, 26},
    {u"Verdana", 22, "DejaVu Sans", 22, 18, 4, 3, 0, 10, 36},
    {u"Tahoma", -11, "DejaVu Sans", 13, 10, 3, 2, 0, 6, 21},
    {u"MS Sans Serif", -11, "DejaVu Sans", 13, 10, 3, 2, 0, 6, 21},
    {u"Microsoft Sans Serif", -13, "DejaVu Sans", 15, 12, 3, 2, 0, 7, 24},
    {u"Segoe UI", 16, "DejaVu Sans", 16, 13, 3, 2, 0, 7, 26},
    {u"Arial", -11, "Liberation Sans", 12, 10, 2, 1, 0, 6, 15},
    {u"Arial", -13, "Liberation Sans", 15, 12, 3, 2, 0, 8, 17},
    {u"Arial", 16, "Liberation Sans", 16, 13, 3, 2, 0, 8, 19},
    {u"Arial", 22, "Liberation Sans", 22, 18, 4, 2, 1, 12, 27},
    {u"Helvetica", -15, "Liberation Sans", 17, 14, 3, 2, 0, 9, 20},
    {u"Courier New", -13, "Liberation Mono", 15, 11, 4, 2, 0, 8, 8},
    {u"Courier New", 22, "Liberation Mono", 22, 16, 6, 3, 0, 11, 11},
    {u"Times New Roman", -13, "Liberation Serif", 15, 12, 3, 2, 1, 7, 17},
    {u"Times New Roman", 16, "Liberation Serif", 16, 13, 3, 2, 1, 8, 19},
    {u"Kestrel Fixed", -14, "Kestrel Fixed", 14, 11, 3, 0, 0, 7, 7},
    {u"Kestrel Fixed", 14, "Kestrel Fixed", 14, 11, 3, 0, 0, 7, 7},
    {u"Kestrel Fixed", -28, "Kestrel Fixed", 28, 22, 6, 0, 0, 14, 14},
    {u"Kestrel Fixed", 22, "Kestrel Fixed", 22, 17, 5, 0, 0, 11, 11},
    {u"No Such Family", -13, "DejaVu Sans", 15, 12, 3, 2, 0, 7, 24},
};

TEST(FontMetrics, TableForMappedFamilies) {
  for (const MetricsRow& row : kTable) {
    auto font = FontInstance::Create(MakeLogFont(row.face, row.height));
    const TEXTMETRICW& tm = font->Metrics();
    SCOPED_TRACE(Utf16ToUtf8(row.face) + " " + std::to_string(row.height));
    EXPECT_EQ(font->FaceName(), row.realised);
    EXPECT_EQ(tm.tmHeight, row.tmHeight);
    EXPECT_EQ(tm.tmAscent, row.tmAscent);
    EXPECT_EQ(tm.tmDescent, row.tmDescent);
    EXPECT_EQ(tm.tmInternalLeading, row.tmInternalLeading);
    EXPECT_EQ(tm.tmExternalLeading, row.tmExternalLeading);
    EXPECT_EQ(tm.tmAveCharWidth, row.tmAveCharWidth);
    EXPECT_EQ(tm.tmMaxCharWidth, row.tmMaxCharWidth);
  }
}

TEST(FontMetrics, HeightSemantics) {
  // Negative: the em is the request, the cell grows by the internal leading.
  for (LONG em : {8, 11, 13, 20, 40}) {
    auto font = FontInstance::Create(MakeLogFont(u"Verdana", -em));
    EXPECT_EQ(font->EmPixels(), em);
    EXPECT_EQ(font->Metrics().tmHeight - font->Metrics().tmInternalLeading, em);
  }
  // Positive: the cell is exactly the request, the em is smaller.
  for (LONG cell : {9, 13, 16, 22, 37}) {
    auto font = FontInstance::Create(MakeLogFont(u"Arial", cell));
    EXPECT_EQ(font->Metrics().tmHeight, cell);
    EXPECT_LT(font->EmPixels(), cell);
  }
  // Zero: the default 12-pixel em.
  EXPECT_EQ(FontInstance::Create(MakeLogFont(u"Kestrel Fixed", 0))->EmPixels(), 12);
  // Absurd heights are clamped, not honoured with gigantic glyphs or overflow.
  auto huge = FontInstance::Create(MakeLogFont(u"Arial", -2147483647 - 1));
  EXPECT_EQ(huge->EmPixels(), 2048);
  EXPECT_GT(huge->Metrics().tmHeight, 2048);
}

TEST(FontMetrics, StylesAndReportedFields) {
  auto regular = FontInstance::Create(MakeLogFont(u"Verdana", -13));
  auto bold = FontInstance::Create(MakeLogFont(u"Verdana", -13, FW_BOLD, true, true, true));
  EXPECT_EQ(regular->Metrics().tmWeight, FW_NORMAL);
  EXPECT_EQ(bold->Metrics().tmWeight, FW_BOLD);
  EXPECT_NE(bold->Metrics().tmItalic, 0);
  EXPECT_NE(bold->Metrics().tmUnderlined, 0);
  EXPECT_NE(bold->Metrics().tmStruckOut, 0);
  EXPECT_EQ(regular->Metrics().tmItalic, 0);
  // A real bold face is wider than the regular one.
  EXPECT_GT(bold->Width(u"Download"), regular->Width(u"Download"));

  // Pitch bit is inverted as in GDI: set for proportional faces.
  auto mono = FontInstance::Create(MakeLogFont(u"Courier New", -13));
  EXPECT_EQ(mono->Metrics().tmPitchAndFamily & TMPF_FIXED_PITCH, 0);
  EXPECT_EQ(mono->Metrics().tmPitchAndFamily & 0xF0, FF_MODERN);
  EXPECT_NE(regular->Metrics().tmPitchAndFamily & TMPF_FIXED_PITCH, 0);
  EXPECT_NE(regular->Metrics().tmPitchAndFamily & TMPF_TRUETYPE, 0);
  auto serif = FontInstance::Create(MakeLogFont(u"Times New Roman", -13));
  EXPECT_EQ(serif->Metrics().tmPitchAndFamily & 0xF0, FF_ROMAN);

  // Decorations sit inside the cell: underline below the baseline, strike-out above it.
  EXPECT_GE(regular->Underline().top, 1);
  EXPECT_LE(regular->Underline().top + regular->Underline().thickness, regular->Metrics().tmDescent);
  EXPECT_LT(regular->StrikeOut().top, 0);
  EXPECT_GT(regular->StrikeOut().top, -regular->Metrics().tmAscent);
}

TEST(FontMetrics, FixedTestFontAdvances) {
  auto font = FontInstance::Create(MakeLogFont(u"Kestrel Fixed", -14));
  EXPECT_EQ(font->Width(u"Hello, world"), 12 * 7);
  EXPECT_EQ(font->CharAdvance(U' '), 7);
  EXPECT_EQ(font->CharAdvance(0x0301), 0);  // combining marks take no room
  EXPECT_EQ(font->UnitAdvances(u"e\u0301x"), (std::vector<int>{7, 0, 7}));
  ABC abc = font->CharABC(U'A');
  EXPECT_EQ(abc.abcA, 1);
  EXPECT_EQ(abc.abcB, 5u);
  EXPECT_EQ(abc.abcC, 1);

  // Synthetic bold (the face has no bold) widens each glyph by one pixel, as GDI emboldening does.
  auto bold = FontInstance::Create(MakeLogFont(u"Kestrel Fixed", -14, FW_BOLD));
  EXPECT_EQ(bold->Width(u"abc"), 24);
  EXPECT_EQ(bold->Metrics().tmAveCharWidth, 8);
  EXPECT_EQ(bold->Metrics().tmWeight, FW_BOLD);

  // lfWidth stretches to the requested average width.
  LOGFONTW wide = MakeLogFont(u"Kestrel Fixed", -14);
  wide.lfWidth = 14;
  EXPECT_EQ(FontInstance::Create(wide)->Width(u"ab"), 28);
}

TEST(FontMetrics, SurrogatesAndFallback) {
  auto font = FontInstance::Create(MakeLogFont(u"Kestrel Fixed", -14));
  // A pair is one glyph whose advance sits on its first unit; a lone surrogate is U+FFFD.
  std::u16string pair = u"a\U0001D11Eb";
  std::vector<int> advances = font->UnitAdvances(pair);
  ASSERT_EQ(advances.size(), 4u);
  EXPECT_EQ(advances[0], 7);
  EXPECT_EQ(advances[3], 7);
  EXPECT_EQ(advances[2], 0);
  std::u16string lone = u"a";
  lone += static_cast<char16_t>(0xD800);
  EXPECT_EQ(font->UnitAdvances(lone), (std::vector<int>{7, 7}));

  // Characters the test font lacks come from a configured face that has them.
  std::vector<PlacedGlyph> glyphs = font->Glyphs(u"a\u263A");
  ASSERT_EQ(glyphs.size(), 2u);
  EXPECT_EQ(glyphs[0].face, 0);
  EXPECT_GT(glyphs[1].face, 0);
  EXPECT_NE(glyphs[1].index, 0u);
}

TEST(FontMetrics, EqualFontsShareOneRealisation) {
  LOGFONTW a = MakeLogFont(u"Verdana", -13);
  LOGFONTW b = a;
  b.lfFaceName[10] = u'x';  // after the terminator: not part of the name
  auto first = FontInstance::Create(a);
  auto second = FontInstance::Create(b);
  EXPECT_EQ(first.get(), second.get());
  auto other = FontInstance::Create(MakeLogFont(u"Verdana", -14));
  EXPECT_NE(first.get(), other.get());
}

TEST(FontConfiguration, PrivateConfigurationIsUsed) {
  EXPECT_NE(PrivateFontConfigFile().find("fonts/fonts.conf"), std::string::npos);
  auto choice = MatchFace({"Kestrel Fixed", 400, false, false});
  ASSERT_TRUE(choice);
  EXPECT_EQ(choice->family, "Kestrel Fixed");
  auto mono = MatchFace({"", 400, false, true});
  ASSERT_TRUE(mono);
  EXPECT_EQ(mono->family, "DejaVu Sans Mono");
  auto italic = MatchFace({"Arial", 700, true, false});
  ASSERT_TRUE(italic);
  EXPECT_TRUE(italic->italic);
  EXPECT_EQ(italic->weight, 700);
}

// Without our configuration (no data folder) a family we lack still maps to a similar face in
// every style, not to whichever face a bare configuration happens to rank first.
TEST(FontConfiguration, WithoutItTheDesktopsAliasesChooseTheFace) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        ::setenv("KESTREL_FONT_CONFIG", "/nonexistent/fonts.conf", 1);
        auto regular = FontInstance::Create(MakeLogFont(u"Verdana", -13));
        auto bold = FontInstance::Create(MakeLogFont(u"Verdana", -13, FW_BOLD));
        const bool similar = regular->FaceName() == bold->FaceName() && regular->Metrics().tmHeight <= 20;
        std::fprintf(stderr, "%s %ld\n", regular->FaceName().c_str(), static_cast<long>(regular->Metrics().tmHeight));
        std::exit(similar ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

// Measuring reads advances from a table learnt per character; drawing looks each glyph up. Both
// must agree on every kind of text, the first time a character is met and after.
TEST(FontMetrics, MeasuredAdvancesMatchTheGlyphsDrawn) {
  std::u16string varied = u"Hello, world\tx\u00E9\u00FF\u0100e\u0301\u0416\u4E2D\u263A\uFB01\uFFFD\uFFFF\x01\x7F";
  varied += u"a\U0001D11Eb\U0001F600";
  varied += static_cast<char16_t>(0xDC00);  // lone low half
  varied += u"c";
  varied += static_cast<char16_t>(0xD800);  // lone high half at the end
  for (const LOGFONTW& logFont : {MakeLogFont(u"Verdana", -13), MakeLogFont(u"Kestrel Fixed", -14, FW_BOLD),
                                  MakeLogFont(u"DejaVu Sans Mono", -13)}) {
    auto font = FontInstance::Create(logFont);
    const std::vector<int> measuredFirst = font->UnitAdvances(varied);
    std::vector<int> drawn(varied.size(), 0);
    for (const PlacedGlyph& glyph : font->Glyphs(varied)) drawn[glyph.unit] = glyph.advance;
    EXPECT_EQ(measuredFirst, drawn) << font->FaceName();
    EXPECT_EQ(font->UnitAdvances(varied), drawn) << font->FaceName() << " (learnt)";
  }
}

}  // namespace
}  // namespace kestrel::platform
