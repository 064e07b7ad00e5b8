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

// A list larger than the processor's caches finds its paragraphs by another route (blocks are
// fetched ahead); the positions must come out the same.
TEST(KsParagraphList, ALargeListFindsCharactersAndLinesAfterChanges) {
  std::mt19937 random(11);
  TKsParagraphList list;
  std::vector<std::u16string_view> texts(60'000, u"line of text");
  list.AddTexts(texts);
  for (int step = 0; step < 3000; ++step) {
    const int at = static_cast<int>(random() % static_cast<unsigned>(list.Count()));
    if (step % 3 == 0) list.InsertText(at, u"inserted");
    else if (step % 3 == 1) list.Delete(at);
    else list.SetText(at, String(random() % 30, u'z'));
  }
  std::int64_t chars = 0;
  for (int i = 0; i < list.Count(); ++i) {
    if (i % 97 == 0) {
      int found = -1, inside = -1;
      std::int64_t offset = -1;
      ASSERT_TRUE(list.FindChar(chars, found, offset)) << i;
      ASSERT_EQ(std::make_pair(found, offset), std::make_pair(i, std::int64_t{0}));
      ASSERT_TRUE(list.FindLine(list.FirstLine(i), found, inside)) << i;
      ASSERT_EQ(std::make_pair(found, inside), std::make_pair(i, 0));
    }
    chars += list.Length(i) + TKsParagraphList::BreakLength;
  }
  EXPECT_EQ(list.CharCount(), chars);
}

// The views and writes by index must agree with a plain model of texts and line starts, in
// blocks held compactly and in blocks where some paragraphs were handed out as objects.
TEST(KsParagraphList, IndexedViewsMatchAPlainModelAcrossBlocks) {
  struct Model {
    String text;
    std::vector<std::int32_t> starts;
  };
  std::mt19937 random(11);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
  auto someStarts = [&](int length) {
    std::vector<std::int32_t> starts;
    for (int at = pick(1, 4); at < length; at += pick(1, 4)) starts.push_back(at);
    return starts;
  };
  TKsParagraphList list;
  std::vector<Model> model;
  std::vector<String> load;
  for (int i = 0; i < 500; ++i)
    load.push_back(String(static_cast<size_t>(i % 11), static_cast<char16_t>(u'a' + i % 26)));
  list.AddTexts(std::vector<std::u16string_view>(load.begin(), load.end()));
  for (const String& s : load) model.push_back({s, {}});
  for (int step = 0; step < 4000; ++step) {
    const int n = static_cast<int>(model.size());
    const int i = pick(0, std::max(n - 1, 0));
    switch (n == 0 ? 0 : pick(0, 5)) {
      case 0: {
        const String s(static_cast<size_t>(pick(0, 12)), u'n');
        const int at = pick(0, n);
        list.InsertText(at, s);
        model.insert(model.begin() + at, {s, {}});
        break;
      }
      case 1:
        list.Delete(i);
        model.erase(model.begin() + i);
        break;
      case 2: {
        const String s(static_cast<size_t>(pick(0, 20)), u's');
        list.SetText(i, s);
        model[static_cast<size_t>(i)] = {s, {}};
        break;
      }
      case 3: {
        auto starts = someStarts(static_cast<int>(model[static_cast<size_t>(i)].text.size()));
        list.SetLineStarts(i, starts);
        model[static_cast<size_t>(i)].starts = starts;
        break;
      }
      case 4: {
        const int j = pick(0, n - 1);
        list.Exchange(i, j);
        std::swap(model[static_cast<size_t>(i)], model[static_cast<size_t>(j)]);
        break;
      }
      default:
        if (pick(0, 20) == 0) ASSERT_EQ(list.Get(i)->ParaText(), model[static_cast<size_t>(i)].text);
    }
    if (step % 400 != 0) continue;
    ASSERT_EQ(list.Count(), static_cast<int>(model.size()));
    int line = 0;
    std::int64_t chars = 0;
    for (int p = 0; p < list.Count(); ++p) {
      const Model& m = model[static_cast<size_t>(p)];
      const int lines = static_cast<int>(m.starts.size()) + 1;
      ASSERT_EQ(list.Text(p), m.text) << step;
      ASSERT_EQ(list.LinesOf(p), lines) << step;
      ASSERT_EQ(list.FirstLine(p), line) << step;
      ASSERT_EQ(list.FirstChar(p), chars) << step;
      for (int l = 1; l < lines; ++l) {
        const int start = m.starts[static_cast<size_t>(l - 1)];
        ASSERT_EQ(list.LineStart(p, l), start);
        ASSERT_EQ(list.LineOfOffset(p, start), l - 1);  // a boundary ends the earlier line
        ASSERT_EQ(list.Line(p, l - 1).size(), static_cast<size_t>(start - list.LineStart(p, l - 1)));
      }
      int found = -1, inside = -1;
      std::int64_t offset = -1;
      ASSERT_TRUE(list.FindLine(line + lines - 1, found, inside));
      ASSERT_EQ(std::make_pair(found, inside), std::make_pair(p, lines - 1));
      ASSERT_TRUE(list.FindChar(chars, found, offset));
      ASSERT_EQ(std::make_pair(found, offset), std::make_pair(p, std::int64_t{0}));
      line += lines;
      chars += static_cast<std::int64_t>(m.text.size()) + TKsParagraphList::BreakLength;
    }
    ASSERT_EQ(list.LineCount(), line);
    ASSERT_EQ(list.CharCount(), chars);
  }
}

// The list remembers where the block it found last begins; changes in earlier blocks (one that
// grows or shrinks, gains lines or paragraphs, or trades a paragraph with a later one) must move
// that position along, or an edit lands at the wrong character.
TEST(KsParagraphList, PositionsOfALaterParagraphFollowChangesBeforeIt) {
  std::mt19937 random(5);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
  TKsParagraphList list;
  std::vector<String> texts(2000, u"abc");
  std::vector<int> lines(texts.size(), 1);
  list.AddTexts(std::vector<std::u16string_view>(texts.begin(), texts.end()));
  for (int step = 0; step < 300; ++step) {
    const int far = pick(1500, list.Count() - 1);
    const int near = pick(0, 1000);
    ASSERT_GE(list.FirstChar(far), 0);  // remembers the far block
    switch (step % 4) {
      case 0:
        texts[near] = String(static_cast<size_t>(pick(0, 9)), u'q');
        lines[near] = 1;
        list.SetText(near, texts[near]);
        break;
      case 1:
        lines[near] = pick(1, 3);
        list.SetLineStarts(near, std::vector<std::int32_t>(static_cast<size_t>(lines[near] - 1), 1));
        break;
      case 2:
        list.Exchange(near, far);
        std::swap(texts[near], texts[far]);
        std::swap(lines[near], lines[far]);
        break;
      default:
        list.InsertText(near, u"inserted");
        texts.insert(texts.begin() + near, u"inserted");
        lines.insert(lines.begin() + near, 1);
    }
    std::int64_t chars = 0;
    int line = 0;
    for (int i = 0; i < far; ++i) {
      chars += static_cast<std::int64_t>(texts[i].size()) + 2;
      line += lines[i];
    }
    ASSERT_EQ(list.FirstChar(far), chars) << step;
    ASSERT_EQ(list.FirstLine(far), line) << step;
    int found = -1, inside = -1;
    std::int64_t offset = -1;
    ASSERT_TRUE(list.FindLine(line, found, inside));
    ASSERT_EQ(std::make_pair(found, inside), std::make_pair(far, 0)) << step;
    ASSERT_TRUE(list.FindChar(chars + 1, found, offset));
    ASSERT_EQ(std::make_pair(found, offset), std::make_pair(far, std::int64_t{1})) << step;
  }
}

}  // namespace
}  // namespace kestrel
