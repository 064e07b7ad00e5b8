#include "platform/core/Unicode.h"

#include <gtest/gtest.h>

namespace kestrel {
namespace {

TEST(UnicodeTest, RoundTripsAllPlanes) {
  const std::string text = "A\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80z";  // A ä € 😀 z
  const String wide = Utf8ToUtf16(text);
  ASSERT_EQ(wide.size(), 6u);  // the emoji takes two code units
  EXPECT_TRUE(IsHighSurrogate(wide[3]));
  EXPECT_TRUE(IsLowSurrogate(wide[4]));
  EXPECT_EQ(Utf16ToUtf8(wide), text);
}

TEST(UnicodeTest, MalformedInputBecomesReplacementCharacters) {
  EXPECT_EQ(Utf8ToUtf16("a\xC0\xAF"
                        "b"),
            u"a\uFFFD\uFFFDb");                         // overlong slash
  EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80"), u"\uFFFD");    // encoded surrogate
  EXPECT_EQ(Utf8ToUtf16("x\xE2\x82"), u"x\uFFFD");      // truncated at the end
  EXPECT_EQ(Utf16ToUtf8(u"\xD800z"), "\xEF\xBF\xBDz");  // lone high surrogate
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, u'\xDC00')), "\xEF\xBF\xBD");
}

}  // namespace
}  // namespace kestrel
