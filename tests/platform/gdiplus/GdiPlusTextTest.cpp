// Text: families and fonts on the private configuration, layout in rectangles and from points
// (alignment, wrapping, line limits, trimming, prefixes), rendering hints, and text following the
// world transform.

#include <gtest/gtest.h>

#include <cmath>

#include "platform/gdiplus/TGPGraphics.h"
#include "tests/platform/gdiplus/GdiPlusTestSupport.h"

namespace kestrel::platform {
namespace {

using testing::Canvas;

constexpr ARGB kBlack = 0xFF000000;

bool Inside(const TGPRectF& inner, const TGPRectF& outer) {
  return inner.X >= outer.X && inner.Y >= outer.Y && inner.GetRight() <= outer.GetRight() &&
         inner.GetBottom() <= outer.GetBottom();
}

// Alphas other than 0 and 255 among the painted pixels.
int PartialPixels(Canvas& c) {
  int n = 0;
  for (int y = 0; y < static_cast<int>(c.bitmap.GetHeight()); ++y)
    for (int x = 0; x < static_cast<int>(c.bitmap.GetWidth()); ++x) {
      const BYTE a = GetAlpha(c.At(x, y));
      n += a != 0 && a != 255;
    }
  return n;
}

TEST(GdiPlusText, FamiliesAndFonts) {
  // Windows names resolve through the configuration's aliases; unknown names are not found.
  TGPFontFamily tahoma(u"Tahoma"), dejavu(u"DejaVu Sans"), unknown(u"No Such Family Anywhere");
  EXPECT_TRUE(tahoma.IsAvailable());
  EXPECT_TRUE(dejavu.IsAvailable());
  EXPECT_FALSE(unknown.IsAvailable());
  EXPECT_EQ(FontFamilyNotFound, unknown.GetLastStatus());
  EXPECT_GE(tahoma.GetLineSpacing(FontStyleRegular),
            tahoma.GetCellAscent(FontStyleRegular) + tahoma.GetCellDescent(FontStyleRegular));

  // Sizes in units become pixels at 96 dpi.
  EXPECT_FLOAT_EQ(16, TGPFont(&tahoma, 12).EmPixels());  // points
  EXPECT_FLOAT_EQ(96, TGPFont(&tahoma, 1, FontStyleRegular, UnitInch).EmPixels());
  TGPFont pixels(u"Tahoma", 20, FontStyleBold, UnitPixel);
  EXPECT_EQ(Ok, pixels.State());
  EXPECT_NEAR(20.0 * tahoma.GetLineSpacing(1) / tahoma.GetEmHeight(1), pixels.GetHeight(), 1e-3);
  EXPECT_EQ(FontFamilyNotFound, TGPFont(&unknown, 12).State());
  EXPECT_EQ(InvalidParameter, TGPFont(&tahoma, 0).State());
  EXPECT_EQ(InvalidParameter, TGPFont(&tahoma, 12, FontStyleRegular, UnitDisplay).State());
  EXPECT_EQ(InvalidParameter, TGPFont(&tahoma, 1e9f, FontStyleRegular, UnitPixel).State());
}

TEST(GdiPlusText, MeasuringPaddingAlignmentAndInk) {
  Canvas c(240, 80);
  TGPFont font(u"Tahoma", 12, FontStyleRegular, UnitPixel);
  const auto typographic = TGPStringFormat::GenericTypographic();
  const String text = u"Hello world";
  TGPRectF plain, padded;
  ASSERT_EQ(Ok, c.g.MeasureString(text.c_str(), -1, &font, TGPPointF{10, 10}, typographic.get(), &plain));
  ASSERT_EQ(Ok, c.g.MeasureString(text.c_str(), -1, &font, TGPPointF{10, 10}, &padded));
  EXPECT_NEAR(plain.Width + 12.0 / 3, padded.Width, 1e-3);  // a sixth of the em each side
  EXPECT_EQ(10, padded.X);
  // A count takes only part of the string; a longer string is wider.
  TGPRectF part, longer;
  c.g.MeasureString(text.c_str(), 5, &font, TGPPointF{0, 0}, typographic.get(), &part);
  c.g.MeasureString(u"Hello world again", -1, &font, TGPPointF{0, 0}, typographic.get(), &longer);
  EXPECT_LT(part.Width, plain.Width);
  EXPECT_GT(longer.Width, plain.Width);

  // From a point, centre and far alignment put the text around or before it.
  TGPStringFormat format;
  format.SetAlignment(StringAlignmentCenter);
  format.SetLineAlignment(StringAlignmentFar);
  TGPRectF centred;
  ASSERT_EQ(Ok, c.g.MeasureString(text.c_str(), -1, &font, TGPPointF{120, 60}, &format, &centred));
  EXPECT_NEAR(120, centred.X + centred.Width / 2, 1e-3);
  EXPECT_NEAR(60, centred.GetBottom(), 1e-3);
  format.SetAlignment(StringAlignmentFar);
  TGPRectF far;
  c.g.MeasureString(text.c_str(), -1, &font, TGPPointF{120, 60}, &format, &far);
  EXPECT_NEAR(120, far.GetRight(), 1e-3);

  // The drawn ink lies inside the measured box, and where the alignment puts it.
  TGPSolidBrush black(kBlack);
  ASSERT_EQ(Ok, c.g.DrawString(text.c_str(), -1, &font, TGPPointF{120, 60}, &format, &black));
  const TGPRectF ink = c.Ink();
  EXPECT_TRUE(Inside(ink, far)) << ink.X << "," << ink.Y << " " << ink.Width << "x" << ink.Height;
  EXPECT_GT(ink.Width, far.Width - 8);
}

TEST(GdiPlusText, RectanglesWrapClipLimitAndTrim) {
  Canvas c(200, 100);
  TGPFont font(u"Tahoma", 12, FontStyleRegular, UnitPixel);
  TGPSolidBrush black(kBlack);
  const String text = u"one two three four five six";
  const TGPRectF narrow{10, 10, 60, 200};
  TGPRectF box;
  INT fitted = 0, lines = 0;
  ASSERT_EQ(Ok, c.g.MeasureString(text.c_str(), -1, &font, narrow, nullptr, &box, &fitted, &lines));
  EXPECT_GE(lines, 3);
  EXPECT_EQ(static_cast<INT>(text.size()), fitted);
  EXPECT_LE(box.Width, narrow.Width);
  TGPStringFormat noWrap(StringFormatFlagsNoWrap);
  ASSERT_EQ(Ok, c.g.MeasureString(text.c_str(), -1, &font, narrow, &noWrap, &box, &fitted, &lines));
  EXPECT_EQ(1, lines);
  EXPECT_GT(box.Width, narrow.Width);

  // A rectangle a line and a half high: a line limit shows one whole line, else two (clipped).
  TGPRectF single;
  c.g.MeasureString(u"x", -1, &font, TGPPointF{0, 0}, &single);
  const TGPRectF low{10, 10, 60, std::floor(single.Height * 1.5f)};
  TGPStringFormat limited(StringFormatFlagsLineLimit);
  ASSERT_EQ(Ok, c.g.MeasureString(text.c_str(), -1, &font, low, &limited, &box, &fitted, &lines));
  EXPECT_EQ(1, lines);
  EXPECT_LT(fitted, static_cast<INT>(text.size()));
  EXPECT_LE(box.Height, low.Height);
  ASSERT_EQ(Ok, c.g.MeasureString(text.c_str(), -1, &font, low, nullptr, &box, &fitted, &lines));
  EXPECT_GT(lines, 1);

  // Drawn in that rectangle, nothing shows outside it; without clipping the lines below show.
  ASSERT_EQ(Ok, c.g.DrawString(text.c_str(), -1, &font, low, nullptr, &black));
  EXPECT_TRUE(Inside(c.Ink(), low));
  Canvas open(200, 100);
  TGPStringFormat noClip(StringFormatFlagsNoClip);
  ASSERT_EQ(Ok, open.g.DrawString(text.c_str(), -1, &font, low, &noClip, &black));
  EXPECT_GT(open.Ink().GetBottom(), low.GetBottom() + single.Height);

  // An ellipsis trims an unwrapped line to the width: narrower than the whole, inside the box.
  TGPStringFormat ellipsis(StringFormatFlagsNoWrap);
  ellipsis.SetTrimming(StringTrimmingEllipsisCharacter);
  Canvas trimmed(200, 40);
  const TGPRectF line{10, 5, 80, 30};
  ASSERT_EQ(Ok, trimmed.g.DrawString(text.c_str(), -1, &font, line, &ellipsis, &black));
  const TGPRectF ink = trimmed.Ink();
  EXPECT_TRUE(Inside(ink, line));
  EXPECT_GT(ink.Width, line.Width / 2);  // the text still fills most of the line
}

TEST(GdiPlusText, PrefixesAndRenderingHints) {
  TGPFont font(u"Tahoma", 14, FontStyleRegular, UnitPixel);
  TGPSolidBrush black(kBlack);
  TGPStringFormat hide, show, literal;
  hide.SetHotkeyPrefix(HotkeyPrefixHide);
  show.SetHotkeyPrefix(HotkeyPrefixShow);
  Canvas c(200, 40);
  TGPRectF withAmp, hidden, shown, bare;
  c.g.MeasureString(u"&File", -1, &font, TGPPointF{0, 0}, &literal, &withAmp);
  c.g.MeasureString(u"&File", -1, &font, TGPPointF{0, 0}, &hide, &hidden);
  c.g.MeasureString(u"&File", -1, &font, TGPPointF{0, 0}, &show, &shown);
  c.g.MeasureString(u"File", -1, &font, TGPPointF{0, 0}, &literal, &bare);
  EXPECT_EQ(bare, hidden);
  EXPECT_EQ(bare, shown);
  EXPECT_GT(withAmp.Width, bare.Width);
  // What fits is counted in the caller's string, prefixes included.
  INT count = 0, lines = 0;
  const String menu = u"&File &Edit &View &Help";
  c.g.MeasureString(menu.c_str(), -1, &font, TGPRectF{0, 0, 1000, 100}, &hide, &shown, &count);
  EXPECT_EQ(static_cast<INT>(menu.size()), count);
  TGPStringFormat oneLine(StringFormatFlagsLineLimit);
  oneLine.SetHotkeyPrefix(HotkeyPrefixHide);
  c.g.MeasureString(menu.c_str(), -1, &font, TGPRectF{0, 0, 60, 30}, &oneLine, &shown, &count, &lines);
  EXPECT_EQ(1, lines);
  EXPECT_EQ(u'&', menu[static_cast<size_t>(count)]);  // the next word starts at its prefix
  // Shown, the prefixed letter is underlined below the baseline: more ink, lower down.
  Canvas plain(200, 40), marked(200, 40);
  plain.g.DrawString(u"&File", -1, &font, TGPPointF{0, 0}, &hide, &black);
  marked.g.DrawString(u"&File", -1, &font, TGPPointF{0, 0}, &show, &black);
  EXPECT_GT(marked.Ink().GetBottom(), plain.Ink().GetBottom());

  // Single-bit hints paint whole pixels; anti-aliased ones blend edges.
  Canvas aliased(200, 40), smooth(200, 40);
  aliased.g.SetTextRenderingHint(TextRenderingHintSingleBitPerPixelGridFit);
  smooth.g.SetTextRenderingHint(TextRenderingHintAntiAlias);
  aliased.g.DrawString(u"Wave", -1, &font, TGPPointF{0, 0}, &black);
  smooth.g.DrawString(u"Wave", -1, &font, TGPPointF{0, 0}, &black);
  EXPECT_GT(aliased.Painted(), 20);
  EXPECT_EQ(0, PartialPixels(aliased));
  EXPECT_GT(PartialPixels(smooth), 10);
  // Grid fitting puts every glyph on a whole pixel, so a typographic width is whole.
  const auto typographic = TGPStringFormat::GenericTypographic();
  TGPRectF fitted;
  aliased.g.MeasureString(u"Illumination", -1, &font, TGPPointF{0, 0}, typographic.get(), &fitted);
  EXPECT_EQ(std::round(fitted.Width), fitted.Width);
  EXPECT_EQ(InvalidParameter, aliased.g.SetTextRenderingHint(static_cast<TextRenderingHint>(9)));
}

TEST(GdiPlusText, TransformedTextAndBadArguments) {
  TGPFont font(u"Tahoma", 12, FontStyleRegular, UnitPixel);
  TGPSolidBrush black(kBlack);
  Canvas small(200, 80), big(200, 80);
  small.g.DrawString(u"Scale", -1, &font, TGPPointF{5, 5}, &black);
  big.g.ScaleTransform(2, 2);
  big.g.DrawString(u"Scale", -1, &font, TGPPointF{5, 5}, &black);
  const TGPRectF a = small.Ink(), b = big.Ink();
  EXPECT_NEAR(2 * a.Width, b.Width, 3);
  EXPECT_NEAR(2 * a.Height, b.Height, 3);
  EXPECT_NEAR(2 * a.X, b.X, 3);

  // Bad arguments fail without painting; an empty string draws nothing and measures nothing.
  Canvas c(40, 40);
  TGPFont missing(u"No Such Family Anywhere", 12);
  TGPRectF box{1, 1, 1, 1};
  EXPECT_EQ(InvalidParameter, c.g.DrawString(nullptr, 3, &font, TGPPointF{0, 0}, &black));
  EXPECT_EQ(InvalidParameter, c.g.DrawString(u"abc", -2, &font, TGPPointF{0, 0}, &black));
  EXPECT_EQ(InvalidParameter, c.g.DrawString(u"abc", -1, &missing, TGPPointF{0, 0}, &black));
  EXPECT_EQ(InvalidParameter, c.g.DrawString(u"abc", -1, &font, TGPRectF{0, 0, -5, 10}, nullptr, &black));
  EXPECT_EQ(ValueOverflow, c.g.DrawString(u"abc", -1, &font, TGPPointF{NAN, 0}, &black));
  EXPECT_EQ(InvalidParameter, c.g.MeasureString(u"abc", -1, &font, TGPPointF{0, 0}, nullptr));
  EXPECT_EQ(Ok, c.g.DrawString(u"", -1, &font, TGPPointF{0, 0}, &black));
  ASSERT_EQ(Ok, c.g.MeasureString(u"", 0, &font, TGPPointF{3, 4}, &box));
  EXPECT_EQ(0, box.Width);
  EXPECT_EQ(0, c.Painted());

  // Lone surrogates and control characters lay out without harm; a NUL ends the text.
  const WCHAR odd[] = {u'a', 0xD800, u'b', 0xDC00, u'\t', u'\r', u'\n', u'c', 0xFFFF, 0, u'x', u'\n', u'y'};
  Canvas o(120, 60);
  INT fitted = 0, lines = 0;
  ASSERT_EQ(Ok, o.g.MeasureString(odd, 13, &font, TGPRectF{0, 0, 120, 60}, nullptr, &box, &fitted, &lines));
  EXPECT_EQ(2, lines);
  EXPECT_EQ(9, fitted);
  EXPECT_GT(box.Width, 0);
  ASSERT_EQ(Ok, o.g.DrawString(odd, 13, &font, TGPRectF{0, 0, 120, 60}, nullptr, &black));
  EXPECT_GT(o.Painted(), 0);
}

}  // namespace
}  // namespace kestrel::platform
