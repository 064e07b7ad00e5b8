// DrawText's layout rules on a measurer of 10 pixels per character.

#include <gtest/gtest.h>

#include <random>

#include "platform/text/TextTypes.h"
#include "platform/text/internal/TextLayout.h"

namespace kestrel::platform {
namespace {

TextLayoutMetrics TenPixels() {
  TextLayoutMetrics metrics;
  metrics.advances = [](std::u16string_view s) {
    std::vector<int> advances(s.size(), 10);
    for (std::size_t i = 0; i < s.size(); ++i)
      if (s[i] >= 0xDC00 && s[i] <= 0xDFFF) advances[i] = 0;
    return advances;
  };
  metrics.tabWidth = 40;
  return metrics;
}

std::vector<String> Lines(const TextLayoutResult& result) {
  std::vector<String> lines;
  for (const auto& line : result.lines) lines.push_back(line.text);
  return lines;
}

using V = std::vector<String>;

TEST(TextLayout, LineBreaksAndSingleLine) {
  EXPECT_EQ(Lines(LayoutText(u"ab\r\ncd\ref\ngh", 0, 1000, TenPixels())), (V{u"ab", u"cd", u"ef", u"gh"}));
  EXPECT_EQ(Lines(LayoutText(u"ab\r\n", 0, 1000, TenPixels())), (V{u"ab", u""}));
  EXPECT_TRUE(LayoutText(u"", 0, 1000, TenPixels()).lines.empty());
  EXPECT_TRUE(LayoutText(u"&", DT_SINGLELINE, 1000, TenPixels()).lines.empty());
  EXPECT_EQ(Lines(LayoutText(u"&", DT_SINGLELINE | DT_NOPREFIX, 1000, TenPixels())), (V{u"&"}));
  auto single = LayoutText(u"ab\r\ncd", DT_SINGLELINE, 1000, TenPixels());
  EXPECT_EQ(Lines(single), (V{u"ab\r\ncd"}));
  EXPECT_EQ(single.width, 60);
}

TEST(TextLayout, WordBreak) {
  // 10 px per character, 100 px wide: at most 10 characters per line.
  auto result = LayoutText(u"the quick brown fox jumps", DT_WORDBREAK, 100, TenPixels());
  EXPECT_EQ(Lines(result), (V{u"the quick", u"brown fox", u"jumps"}));
  EXPECT_EQ(result.lines[0].width, 90);  // the swallowed space is not part of the width
  EXPECT_EQ(result.width, 90);
  // Several spaces at a break vanish; leading spaces of a paragraph stay.
  EXPECT_EQ(Lines(LayoutText(u"  abcdefg    hij", DT_WORDBREAK, 100, TenPixels())), (V{u"  abcdefg", u"hij"}));
  // A word exactly as wide as the line fits.
  EXPECT_EQ(Lines(LayoutText(u"abcdefghij k", DT_WORDBREAK, 100, TenPixels())), (V{u"abcdefghij", u"k"}));
  // Hard breaks still split inside word-broken text.
  EXPECT_EQ(Lines(LayoutText(u"ab cd\r\nef", DT_WORDBREAK, 100, TenPixels())), (V{u"ab cd", u"ef"}));
  // DT_SINGLELINE wins over DT_WORDBREAK.
  EXPECT_EQ(Lines(LayoutText(u"aaaa bbbb cccc", DT_WORDBREAK | DT_SINGLELINE, 50, TenPixels())),
            (V{u"aaaa bbbb cccc"}));
}

TEST(TextLayout, LongWords) {
  // Without DT_EDITCONTROL a long word overflows whole and the calculated width grows.
  auto result = LayoutText(u"ab averyveryverylongword cd", DT_WORDBREAK, 100, TenPixels());
  EXPECT_EQ(Lines(result), (V{u"ab", u"averyveryverylongword", u"cd"}));
  EXPECT_EQ(result.width, 210);
  // With it the word breaks between characters, never inside a surrogate pair.
  EXPECT_EQ(Lines(LayoutText(u"abcdefghijklmnopqrstu", DT_WORDBREAK | DT_EDITCONTROL, 100, TenPixels())),
            (V{u"abcdefghij", u"klmnopqrst", u"u"}));
  String pairs = u"abcdefghi\U0001D11Ejk";
  EXPECT_EQ(Lines(LayoutText(pairs, DT_WORDBREAK | DT_EDITCONTROL, 90, TenPixels())),
            (V{u"abcdefghi", u"\U0001D11Ejk"}));
  // Zero width still makes progress: one character per line.
  EXPECT_EQ(LayoutText(u"abc", DT_WORDBREAK | DT_EDITCONTROL, 0, TenPixels()).lines.size(), 3u);
  // DT_WORD_ELLIPSIS shortens the word instead.
  EXPECT_EQ(Lines(LayoutText(u"ab averyveryverylongword cd", DT_WORDBREAK | DT_WORD_ELLIPSIS, 100, TenPixels())),
            (V{u"ab", u"averyve...", u"cd"}));
}

TEST(TextLayout, EndEllipsis) {
  auto result = LayoutText(u"Download failed", DT_SINGLELINE | DT_END_ELLIPSIS, 100, TenPixels());
  EXPECT_EQ(Lines(result), (V{u"Downloa..."}));
  EXPECT_TRUE(result.ellipsized);
  EXPECT_EQ(result.width, 100);
  // Text that fits is left alone.
  EXPECT_EQ(Lines(LayoutText(u"Download", DT_SINGLELINE | DT_END_ELLIPSIS, 100, TenPixels())), (V{u"Download"}));
  // Too narrow for anything but the ellipsis.
  EXPECT_EQ(Lines(LayoutText(u"Download", DT_SINGLELINE | DT_END_ELLIPSIS, 20, TenPixels())), (V{u"..."}));
  // With word breaks only the last line gets one.
  EXPECT_EQ(
      Lines(LayoutText(u"ab averyveryverylongword cdefghijklmn", DT_WORDBREAK | DT_END_ELLIPSIS, 100, TenPixels())),
      (V{u"ab", u"averyveryverylongword", u"cdefghi..."}));
}

TEST(TextLayout, PathEllipsis) {
  auto result =
      LayoutText(u"C:\\Users\\user\\downloads\\setup.exe", DT_SINGLELINE | DT_PATH_ELLIPSIS, 200, TenPixels());
  EXPECT_EQ(Lines(result), (V{u"C:\\User...\\setup.exe"}));
  EXPECT_EQ(result.width, 200);
  EXPECT_EQ(Lines(LayoutText(u"C:\\Temp\\Sub\\file.txt", DT_SINGLELINE | DT_PATH_ELLIPSIS, 150, TenPixels())),
            (V{u"C:\\...\\file.txt"}));
  // When even the last component does not fit, DT_END_ELLIPSIS shortens it too.
  EXPECT_EQ(Lines(LayoutText(u"/a/verylongfilename.txt", DT_SINGLELINE | DT_PATH_ELLIPSIS | DT_END_ELLIPSIS, 100,
                             TenPixels())),
            (V{u".../ver..."}));
  // Without a separator there is nothing to take out.
  EXPECT_EQ(Lines(LayoutText(u"filename.txt", DT_SINGLELINE | DT_PATH_ELLIPSIS, 50, TenPixels())),
            (V{u"filename.txt"}));
}

TEST(TextLayout, Prefixes) {
  std::vector<int> underlined;
  EXPECT_EQ(StripPrefixes(u"&File && &Edit&", &underlined), u"File & Edit");
  EXPECT_EQ(underlined, (std::vector<int>{0, 7}));

  auto result = LayoutText(u"Sa&ve as", DT_SINGLELINE, 1000, TenPixels());
  EXPECT_EQ(Lines(result), (V{u"Save as"}));
  EXPECT_EQ(result.lines[0].underlined, (std::vector<int>{2}));
  EXPECT_EQ(result.width, 70);
  // DT_NOPREFIX shows the ampersands.
  EXPECT_EQ(Lines(LayoutText(u"Sa&ve", DT_NOPREFIX, 1000, TenPixels())), (V{u"Sa&ve"}));
  // Underlines follow their characters onto later lines and through ellipses.
  auto broken = LayoutText(u"one &two", DT_WORDBREAK, 50, TenPixels());
  ASSERT_EQ(broken.lines.size(), 2u);
  EXPECT_TRUE(broken.lines[0].underlined.empty());
  EXPECT_EQ(broken.lines[1].underlined, (std::vector<int>{0}));
  auto cut = LayoutText(u"&abcdefgh&ij", DT_SINGLELINE | DT_END_ELLIPSIS, 60, TenPixels());
  EXPECT_EQ(Lines(cut), (V{u"abc..."}));
  EXPECT_EQ(cut.lines[0].underlined, (std::vector<int>{0}));
  auto path = LayoutText(u"/&abcdefgh/&xy", DT_SINGLELINE | DT_PATH_ELLIPSIS, 90, TenPixels());
  EXPECT_EQ(Lines(path), (V{u"/ab.../xy"}));
  EXPECT_EQ(path.lines[0].underlined, (std::vector<int>{1, 7}));
}

TEST(TextLayout, Tabs) {
  // Stops every 40 px from the line's start; tabs are shown as spaces.
  auto result = LayoutText(u"a\tbc\td", DT_EXPANDTABS, 1000, TenPixels());
  EXPECT_EQ(Lines(result), (V{u"a bc d"}));
  EXPECT_EQ(result.lines[0].advances, (std::vector<int>{10, 30, 10, 10, 20, 10}));
  EXPECT_EQ(result.width, 90);
  // A tab right at a stop moves a full stop further.
  EXPECT_EQ(LayoutText(u"abcd\tx", DT_EXPANDTABS, 1000, TenPixels()).lines[0].advances[4], 40);
  // Without DT_EXPANDTABS a tab is an ordinary character.
  EXPECT_EQ(LayoutText(u"a\tb", 0, 1000, TenPixels()).width, 30);
  // Tabs count as break points.
  EXPECT_EQ(Lines(LayoutText(u"abcdef\tghijkl", DT_EXPANDTABS | DT_WORDBREAK, 100, TenPixels())),
            (V{u"abcdef", u"ghijkl"}));
}

TEST(TextLayout, RandomInputKeepsItsInvariants) {
  // Surrogates (paired and lone), prefixes, tabs, breaks and spaces in every combination.
  const char16_t alphabet[] = {u'a', u'b', u' ', u' ', u'&', u'\t', u'\r', u'\n', u'/', 0xD834, 0xDD1E, u'.'};
  const UINT flags[] = {DT_WORDBREAK,   DT_SINGLELINE,   DT_EXPANDTABS,    DT_NOPREFIX,
                        DT_EDITCONTROL, DT_END_ELLIPSIS, DT_PATH_ELLIPSIS, DT_WORD_ELLIPSIS};
  std::mt19937 random(12345);
  for (int round = 0; round < 3000; ++round) {
    String text(random() % 24, u'a');
    for (char16_t& c : text) c = alphabet[random() % std::size(alphabet)];
    UINT format = 0;
    for (UINT flag : flags) format |= (random() % 3 == 0) ? flag : 0;
    int width = static_cast<int>(random() % 120) - 10;
    TextLayoutResult result = LayoutText(text, format, width, TenPixels());
    int widest = 0;
    for (const TextLayoutLine& line : result.lines) {
      ASSERT_EQ(line.advances.size(), line.text.size());
      int sum = 0;
      for (int advance : line.advances) sum += advance;
      ASSERT_EQ(line.width, sum);
      for (int index : line.underlined) ASSERT_TRUE(index >= 0 && index < static_cast<int>(line.text.size()));
      widest = std::max(widest, line.width);
      // Only (end or word) ellipses promise to fit, and they never shorten below "...".
      if (line.ellipsized && !(format & DT_PATH_ELLIPSIS)) {
        ASSERT_TRUE(line.width <= std::max(width, 30)) << Utf16ToUtf8(text);
      }
    }
    ASSERT_EQ(result.width, widest);
    if (format & DT_SINGLELINE) {
      ASSERT_LE(result.lines.size(), 1u);
    }
  }
}

}  // namespace
}  // namespace kestrel::platform
