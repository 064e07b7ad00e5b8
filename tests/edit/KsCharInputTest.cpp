#include <gtest/gtest.h>

#include "edit/KsCharInput.h"
#include "edit/KsDeadCharList.h"

namespace kestrel {
namespace {

TEST(KsDeadCharList, HoldsTheWholeTableAndReturnsTheFirstMatch) {
  TKsDeadCharList list;
  EXPECT_EQ(list.Count(), 146);
  struct Sample {
    char16_t aux, base, result;
  };
  const Sample samples[] = {{u'`', u'u', u'ù'}, {u'´', u'Y', u'Ý'}, {u'^', u'E', u'Ê'}, {u'~', u'υ', u'ΰ'},
                            {u'¨', u'ι', u'ϊ'}, {u'¡', u'O', u'×'}, {u'¡', u'z', u'ž'}, {u';', u'U', u'Ŭ'},
                            {u':', u'u', u'ŭ'}, {u':', u'e', u'î'}, {u'°', u'i', u'ó'}, {u'\'', u'c', u'ç'},
                            {u'"', u'U', u'Ü'}, {u'΄', u'ω', u'ώ'}, {u'΄', u'Α', u'Ά'}};
  for (const auto& s : samples) EXPECT_EQ(list.GetDeadChar(s.base, s.aux), s.result) << int(s.aux);

  EXPECT_EQ(list.GetDeadChar(u'u', u';'), 0);  // only the ':' row has u
  EXPECT_EQ(list.GetDeadChar(u'E', u'´'), 0);  // the acute row has no capital E
  EXPECT_EQ(list.GetDeadChar(u'a', u'x'), 0);
  EXPECT_EQ(list.GetDeadChar(u'`', u'a'), 0);  // arguments are base, then dead character
}

class KsCharInputTest : public ::testing::Test {
 protected:
  // One key: its key-down, its translation and the character messages the platform sends for it.
  String Key(std::u16string_view translation, std::u16string_view chars) {
    input.KeyDown();
    input.Translated(translation);
    String typed;
    for (char16_t c : chars) typed += input.CharTyped(c);
    return typed;
  }

  TKsDeadCharList table;
  TKsCharInput input{table};
};

TEST_F(KsCharInputTest, DeadKeyCombinesThroughTheTableOrTypesBoth) {
  input.DeadChar(u'^');
  EXPECT_EQ(Key(u"e", u"e"), u"ê");
  EXPECT_EQ(input.PendingDeadChar(), 0);
  EXPECT_EQ(Key(u"e", u"e"), u"e");  // the dead character was used up

  input.DeadChar(u'^');
  EXPECT_EQ(Key(u"x", u"x"), u"^x");
  // The platform sends both characters when it did not combine them: typed once.
  input.DeadChar(u'^');
  EXPECT_EQ(Key(u"x", u"^x"), u"^x");
  // The platform may already have typed the dead character in front of the key.
  input.DeadChar(u'´');
  EXPECT_EQ(Key(u"´a", u"´a"), u"á");
  input.DeadChar(u'´');
  EXPECT_EQ(Key(u"´x", u"´x"), u"´x");
  // A character above the table's plane never combines.
  input.DeadChar(u'`');
  EXPECT_EQ(Key(u"\U0001F600", u"\U0001F600"), u"`\U0001F600");
}

TEST_F(KsCharInputTest, TranslationIsTypedOnceAndNeverLater) {
  EXPECT_TRUE((input.KeyDown(), input.Translated(u"ab")));
  EXPECT_EQ(input.CharTyped(u'a'), u"ab");
  EXPECT_EQ(input.CharTyped(u'b'), u"");  // the rest of the same translation

  // A key-down without a translation (AltGr, posted characters) types its own character, not the
  // text of the key before it.
  input.KeyDown();
  EXPECT_TRUE(input.Translated(u"q"));
  input.KeyDown();
  EXPECT_FALSE(input.Translated(u""));
  EXPECT_EQ(input.CharTyped(u'z'), u"z");

  input.KeyDown();
  input.Translated(u"w");
  input.ClearKeys();  // read-only: the translation is dropped
  EXPECT_EQ(input.CharTyped(u'w'), u"w");
}

TEST_F(KsCharInputTest, SurrogatePairsArriveWhole) {
  EXPECT_EQ(Key(u"", u"\U0001F600"), u"\U0001F600");
  EXPECT_EQ(input.CharTyped(u'\xD83D'), u"");
  EXPECT_EQ(input.CharTyped(u'\xDE00'), u"\U0001F600");
  EXPECT_EQ(input.CharTyped(u'\xDE00'), u"");  // a lone second half is not typed
  EXPECT_EQ(Key(u"\U0001F600", u"\U0001F600"), u"\U0001F600");
}

}  // namespace
}  // namespace kestrel
