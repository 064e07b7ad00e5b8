#include <gtest/gtest.h>

#include "framework/Colors.h"
#include "framework/Exceptions.h"
#include "platform/gdi/SystemColors.h"

namespace kestrel {
namespace {

TEST(Colors, SystemColorsResolveThroughTheSystemTable) {
  EXPECT_EQ(static_cast<std::uint32_t>(clBtnFace), 0xFF00000Fu);
  EXPECT_EQ(static_cast<std::uint32_t>(clWindowText), 0xFF000008u);
  EXPECT_EQ(ColorToRGB(clBtnFace), platform::GetSysColor(platform::COLOR_BTNFACE));
  EXPECT_EQ(ColorToRGB(clHighlight), platform::GetSysColor(platform::COLOR_HIGHLIGHT));
  // A changed system colour is seen at once.
  const int index = platform::COLOR_WINDOW;
  const platform::COLORREF old = platform::GetSysColor(index);
  const platform::COLORREF changed = platform::RGB(1, 2, 3);
  platform::SetSysColors(1, &index, &changed);
  EXPECT_EQ(ColorToRGB(clWindow), changed);
  platform::SetSysColors(1, &index, &old);
}

TEST(Colors, PlainAndMarkerValues) {
  EXPECT_EQ(ColorToRGB(clRed), platform::RGB(255, 0, 0));
  EXPECT_EQ(ColorToRGB(clSkyBlue), 0xF0CAA6u);
  EXPECT_EQ(ColorToRGB(clNone), 0u);
  EXPECT_EQ(ColorToRGB(clDefault), 0u);
  EXPECT_EQ(clNone, 536870911);
}

TEST(Colors, NamesRoundTripAndUnknownValuesPrintAsHex) {
  EXPECT_EQ(ColorToString(clBtnFace), u"clBtnFace");
  EXPECT_EQ(ColorToString(0x123456), u"$00123456");
  TColor c = 0;
  ASSERT_TRUE(TryStringToColor(u"CLHIGHLIGHT", c));
  EXPECT_EQ(c, clHighlight);
  ASSERT_TRUE(TryStringToColor(u"$FF00000F", c));
  EXPECT_EQ(c, clBtnFace);
  ASSERT_TRUE(TryStringToColor(u"-16777201", c));
  EXPECT_EQ(c, clBtnFace);
  EXPECT_FALSE(TryStringToColor(u"clPink", c));
  EXPECT_FALSE(TryStringToColor(u"$1FFFFFFFF", c));
  EXPECT_THROW(StringToColor(u"nope"), EConvertError);
  EXPECT_EQ(StringToColor(u"536870911"), clNone);
}

}  // namespace
}  // namespace kestrel
