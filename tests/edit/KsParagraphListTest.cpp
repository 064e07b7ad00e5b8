#include <gtest/gtest.h>

#include <random>

#include "edit/KsParagraphList.h"
#include "framework/Exceptions.h"

namespace kestrel {
namespace {

std::unique_ptr<TKsParagraph> Para(String text, int extraLines = 0) {
  auto p = std::make_unique<TKsParagraph>(std::move(text));
  for (int i = 0; i < extraLines; ++i) p->Add(u"+");
  return p;
}

TEST(KsParagraph, LinesAreSlicesOfOneText) {
  TKsParagraph p;
  EXPECT_EQ(p.Count(), 0);
  EXPECT_EQ(p.Strings(0), u"");  // reading item 0 first adds an empty line
  EXPECT_EQ(p.Count(), 1);
  p.SetStrings(0, u"abc");
  p.Add(u"de");
  p.Insert(0, u"X");
  EXPECT_EQ(p.ToStringArray(), (std::vector<String>{u"X", u"abc", u"de"}));
  EXPECT_EQ(p.Text(), u"Xabcde");  // joined with nothing between
  p.SetStrings(1, u"B");
  EXPECT_EQ(p.LineStart(2), 2);
  p.Delete(0);
  EXPECT_EQ(p.ToStringArray(), (std::vector<String>{u"B", u"de"}));
  EXPECT_EQ(p.LineOfOffset(1), 0);  // the boundary belongs to the earlier line
  EXPECT_EQ(p.LineOfOffset(2), 1);
  EXPECT_THROW(p.Strings(5), EStringListError);
  EXPECT_EQ(p.Line(5), u"");
  p.Clear();
  EXPECT_EQ(p.Count(), 0);
}

// The sums the list keeps must always equal a walk over all paragraphs, across block splits,
// emptied blocks, exchanges and paragraphs that change behind the list's back.
TEST(KsParagraphList, KeepsLineAndCharacterNumberingThroughRandomChanges) {
  std::mt19937 random(7);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
  TKsParagraphList list;
  std::vector<std::unique_ptr<TKsParagraph>> load;
  for (int i = 0; i < 3000; ++i) load.push_back(Para(String(static_cast<size_t>(i % 7), u'x'), i % 3));
  list.AddMany(std::move(load));
  for (int step = 0; step < 6000; ++step) {
    const int n = list.Count();
    switch (pick(0, 4)) {
      case 0: list.Insert(pick(0, n), Para(u"new", pick(0, 2))); break;
      case 1:
        if (n > 0) list.Delete(pick(0, n - 1));
        break;
      case 2:
        if (n > 1) list.Exchange(pick(0, n - 1), pick(0, n - 1));
        break;
      case 3:
        if (n > 0) list.Get(pick(0, n - 1))->Add(u"more");
        break;
      default:
        if (n > 0) list.Get(pick(0, n - 1))->SetParaText(String(static_cast<size_t>(pick(0, 9)), u'y'));
    }
    if (step % 500 != 0) continue;
    int line = 0;
    std::int64_t chars = 0;
    for (int i = 0; i < list.Count(); ++i) {
      const TKsParagraph& p = *list.Get(i);
      ASSERT_EQ(list.FirstLine(i), line) << step;
      ASSERT_EQ(list.FirstChar(i), chars) << step;
      int found = -1, inside = -1;
      std::int64_t offset = -1;
      if (p.Count() > 0) {
        ASSERT_TRUE(list.FindLine(line + p.Count() - 1, found, inside));
        ASSERT_EQ(std::make_pair(found, inside), std::make_pair(i, p.Count() - 1));
      }
      ASSERT_TRUE(list.FindChar(chars + p.Length() + 1, found, offset));
      ASSERT_EQ(std::make_pair(found, offset), std::make_pair(i, std::int64_t{p.Length() + 1}));
      line += p.Count();
      chars += p.Length() + 2;
    }
    ASSERT_EQ(list.LineCount(), line);
    ASSERT_EQ(list.CharCount(), chars);
    int found = 0, inside = 0;
    std::int64_t offset = 0;
    EXPECT_FALSE(list.FindLine(line, found, inside));
    EXPECT_FALSE(list.FindChar(chars, found, offset));
  }
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_NE(list.Items(0), nullptr);  // reading item 0 of an empty list creates it
  EXPECT_EQ(list.Count(), 1);
}

}  // namespace
}  // namespace kestrel
