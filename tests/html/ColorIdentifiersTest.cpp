#include <gtest/gtest.h>

#include "framework/ColorIdentifiers.h"
#include "framework/TypeInfo.h"

namespace kestrel {
namespace {

TEST(ColorIdentifiers, LookupBothWaysIgnoringCase) {
  TColor color = 0;
  EXPECT_TRUE(IdentToColor(u"CLRED", color));
  EXPECT_EQ(color, 0x0000FF);
  EXPECT_TRUE(IdentToColor(u"clMenuBar", color));
  EXPECT_EQ(static_cast<std::uint32_t>(color), 0xFF00001Eu);
  EXPECT_TRUE(IdentToColor(u"cl3ddkshadow", color));
  EXPECT_EQ(static_cast<std::uint32_t>(color), 0xFF000015u);
  EXPECT_FALSE(IdentToColor(u"Red", color));
  EXPECT_FALSE(IdentToColor(u"clSystemColor25", color));  // index 25 has no identifier

  String ident;
  EXPECT_TRUE(ColorToIdent(0x1FFFFFFF, ident));
  EXPECT_EQ(ident, u"clNone");
  EXPECT_TRUE(ColorToIdent(static_cast<TColor>(0xFF00000Fu), ident));
  EXPECT_EQ(ident, u"clBtnFace");
  EXPECT_FALSE(ColorToIdent(0x123456, ident));
  EXPECT_EQ(ColorToIdentOrDecimal(0x123456), u"1193046");
  EXPECT_EQ(ColorToIdent(0xFFFFFF, ident) ? ident : u"", u"clWhite");
}

TEST(ColorIdentifiers, EveryIdentifierIsUniqueAndRoundTrips) {
  for (const TColorIdent& entry : ColorIdentifiers()) {
    String ident;
    ASSERT_TRUE(ColorToIdent(entry.Value, ident)) << Utf16ToUtf8(entry.Name);
    EXPECT_EQ(ident, entry.Name);
  }
  EXPECT_EQ(ColorIdentifiers().size(), 52u);
}

TEST(ColorIdentifiers, TextAndThePropertySystem) {
  TColor color = 0;
  EXPECT_TRUE(TryStringToColor(u"$FF000008", color));
  EXPECT_EQ(static_cast<std::uint32_t>(color), 0xFF000008u);
  EXPECT_TRUE(TryStringToColor(u"-16777201", color));
  EXPECT_EQ(static_cast<std::uint32_t>(color), 0xFF00000Fu);
  EXPECT_FALSE(TryStringToColor(u"$1FFFFFFFF", color));
  EXPECT_FALSE(TryStringToColor(u"reddish", color));

  RegisterColorIdentifiers();
  RegisterColorIdentifiers();
  std::int64_t value = 0;
  EXPECT_TRUE(IdentToIntOf(u"TColor", u"clYellow", value));
  EXPECT_EQ(value, 0x00FFFF);
  String ident;
  EXPECT_TRUE(IntToIdentOf(u"TColor", static_cast<TColor>(0xFF000005u), ident));
  EXPECT_EQ(ident, u"clWindow");
}

}  // namespace
}  // namespace kestrel
