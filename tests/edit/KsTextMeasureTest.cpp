#include <gtest/gtest.h>

#include "edit/KsLineWrapper.h"
#include "edit/KsTextMeasure.h"
#include "tests/edit/FixedMetricHost.h"

namespace kestrel {
namespace {

using testing::FixedMetricHost;

const String kPair = u"\U0001F600";  // one character, two UTF-16 units

TEST(KsTextMeasure, ExpandsTabsWithoutTabStopsAndMasksAllButBreaks) {
  FixedMetricHost host;
  TKsTextMeasure m(host);
  EXPECT_EQ(m.ExpandTabs(u"a\tb\t"), u"a    b    ");
  host.tabSpaces = 2;
  EXPECT_EQ(m.ExpandTabs(u"\t\t"), u"    ");
  EXPECT_EQ(m.MaskText(u"ab\r\nc"), u"ab\r\nc");  // no password character: unchanged
  host.passwordChar = u'*';
  EXPECT_EQ(m.MaskText(u"a\tb\r\nc"), u"***\r\n*");
}

TEST(KsTextMeasure, TabsCountByTheirExpandedWidth) {
  FixedMetricHost host;
  TKsTextMeasure m(host);
  const String s = u"ab\tcd";
  EXPECT_EQ(m.CharsFitRight(4 * host.charWidth, s, 0), 2);  // the tab would need 4 of 2 left
  EXPECT_EQ(m.CharsFitRight(6 * host.charWidth, s, 0), 3);
  EXPECT_EQ(m.CharsFitRight(7 * host.charWidth, s, 0), 4);
  EXPECT_EQ(m.CharsFitRight(100, s, 3), 2);   // starting after the tab
  EXPECT_EQ(m.CharsFitRight(100, s, 99), 0);  // nothing left
  EXPECT_EQ(m.CharsFitRight(0, s, 0), 0);
  // Backwards from position 5: d, c, then the tab needs 4 more.
  EXPECT_EQ(m.CharsFitLeft(5 * host.charWidth, s, 5), 2);
  EXPECT_EQ(m.CharsFitLeft(6 * host.charWidth, s, 5), 3);
  EXPECT_EQ(m.CharsFitLeft(100, s, 0), 0);
  EXPECT_EQ(m.CharsFitLeft(2 * host.charWidth, u"abcdef", 4), 2);  // d, c
}

TEST(KsTextMeasure, NothingIsMeasuredWithoutAWindow) {
  FixedMetricHost host;
  host.hasWindow = false;
  TKsTextMeasure m(host);
  EXPECT_EQ(m.TextSize(u"abc").cx, 0);
  EXPECT_EQ(m.CharsFitRight(1000, u"abc", 0), 0);
}

TEST(KsTextMeasure, PrefixFallbackCountsLikeTheExtendedQuery) {
  FixedMetricHost fast;
  FixedMetricHost slow;
  slow.extendedFit = false;
  TKsTextMeasure a(fast), b(slow);
  const String s = u"a\tbc def\tghij klmnop";
  for (int w = -5; w < 300; w += 7)
    for (int start = 0; start <= static_cast<int>(s.size()); start += 3) {
      EXPECT_EQ(a.CharsFitRight(w, s, start), b.CharsFitRight(w, s, start)) << w << " " << start;
      EXPECT_EQ(a.CharsFitLeft(w, s, start), b.CharsFitLeft(w, s, start)) << w << " " << start;
    }
}

TEST(KsTextMeasure, LongTextsAreMeasuredAcrossChunks) {
  FixedMetricHost host;
  TKsTextMeasure m(host);
  const String s(5000, u'x');
  EXPECT_EQ(m.CharsFitRight(4321 * host.charWidth, s, 0), 4321);
  EXPECT_EQ(m.CharsFitRight(1'000'000, s, 10), 4990);
}

TEST(KsTextMeasure, SurrogatePairsAreNeverCountedByHalves) {
  FixedMetricHost host;
  TKsTextMeasure m(host);
  const String s = u"a" + kPair + u"b";
  EXPECT_EQ(m.CharsFitRight(2 * host.charWidth, s, 0), 1);  // room for a and half the pair
  EXPECT_EQ(m.CharsFitRight(3 * host.charWidth, s, 0), 3);
  EXPECT_EQ(m.CharsFitLeft(2 * host.charWidth, s, 4), 1);  // b, then half the pair
  EXPECT_EQ(m.CharsFitLeft(3 * host.charWidth, s, 4), 3);
  // A chunk boundary inside a pair is measured whole.
  const String longText = String(255, u'x') + kPair + u"yz";
  EXPECT_EQ(m.CharsFitRight(256 * host.charWidth, longText, 0), 255);
  EXPECT_EQ(m.CharsFitRight(257 * host.charWidth, longText, 0), 257);
}

TEST(KsLineWrapper, CutStringKeepsBlanksOnTheHeadAndNeverCutsEmpty) {
  using W = TKsLineWrapper;
  EXPECT_EQ(W::CutString(u"aaaa bbbb", 6), 5);   // after the blank
  EXPECT_EQ(W::CutString(u"aaaabbbb", 6), 6);    // hard cut
  EXPECT_EQ(W::CutString(u" aaaaaaa", 6), 6);    // a blank at position 1 is no break
  EXPECT_EQ(W::CutString(u"ab\rcdefgh", 6), 3);  // right after the first CR
  EXPECT_EQ(W::CutString(u"abcdef", 0), 0);
  EXPECT_EQ(W::CutString(u"abc", 3), 2);  // one character always leaves
  EXPECT_EQ(W::CutString(u"abc", 9), 2);
  EXPECT_EQ(W::CutString(u"a", 1), 0);          // would leave an empty line: no cut
  EXPECT_EQ(W::CutString(kPair, 2), 0);         // nor half a pair
  EXPECT_EQ(W::CutString(u"a" + kPair, 3), 1);  // the trailing pair leaves whole
  EXPECT_EQ(W::CutString(u"ab" + kPair + u"c", 3), 2);
}

TEST(KsLineWrapper, CutStringFromEndKeepsTheLastCharactersThatFit) {
  using W = TKsLineWrapper;
  EXPECT_EQ(W::CutStringFromEnd(u"aa bb cc dd", 6), 6);  // "cc dd" after the blank
  EXPECT_EQ(W::CutStringFromEnd(u"aaa bbbbbb", 6), 4);   // a blank right before all six
  EXPECT_EQ(W::CutStringFromEnd(u"aaaabbbb", 6), 2);     // hard cut
  EXPECT_EQ(W::CutStringFromEnd(u"abcdef\rgh", 6), 7);   // after the last CR
  EXPECT_EQ(W::CutStringFromEnd(u"abc", 3), 1);          // one character always stays behind
  EXPECT_EQ(W::CutStringFromEnd(u"ab ", 3), 1);          // a blank at the very end is no break
  EXPECT_EQ(W::CutStringFromEnd(u"a", 1), 0);
  EXPECT_EQ(W::CutStringFromEnd(u"abcdef", 0), 0);
  EXPECT_EQ(W::CutStringFromEnd(kPair + u"b", 2), 2);  // the pair is not split
}

}  // namespace
}  // namespace kestrel
