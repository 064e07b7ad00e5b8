#include <gtest/gtest.h>

#include "framework/ImageList.h"
#include "framework/Registry.h"
#include "framework/StringList.h"

namespace kestrel {
namespace {

TEST(Registry, KeysAndValuesOfEveryKind) {
  TRegistry reg;
  reg.SetRootKey(platform::HKEY_CURRENT_USER);
  ASSERT_TRUE(reg.OpenKey(u"\\Software\\KestrelTest\\Visual", true));
  EXPECT_EQ(reg.CurrentPath(), u"Software\\KestrelTest\\Visual");
  reg.WriteString(u"Name", u"Kestrel");
  reg.WriteInteger(u"Count", -5);
  reg.WriteBool(u"Flag", true);
  reg.WriteFloat(u"Ratio", 2.5);
  const std::uint8_t bytes[] = {1, 2, 3};
  reg.WriteBinaryData(u"Blob", bytes, 3);
  EXPECT_EQ(reg.ReadString(u"Name"), u"Kestrel");
  EXPECT_EQ(reg.ReadInteger(u"Count"), -5);
  EXPECT_TRUE(reg.ReadBool(u"Flag"));
  EXPECT_DOUBLE_EQ(reg.ReadFloat(u"Ratio"), 2.5);
  EXPECT_EQ(reg.ReadBinaryData(u"Blob"), (std::vector<std::uint8_t>{1, 2, 3}));
  EXPECT_EQ(reg.GetDataType(u"Count"), rdInteger);
  EXPECT_EQ(reg.GetDataSize(u"Missing"), -1);
  EXPECT_EQ(reg.ReadString(u"Missing"), u"");
  EXPECT_THROW(reg.ReadInteger(u"Name"), ERegistryException);
  EXPECT_THROW(reg.ReadInteger(u"Missing"), ERegistryException);
  reg.RenameValue(u"Name", u"Title");
  EXPECT_FALSE(reg.ValueExists(u"Name"));
  EXPECT_EQ(reg.ReadString(u"Title"), u"Kestrel");
  // Relative paths go below the current key.
  ASSERT_TRUE(reg.OpenKey(u"Child", true));
  EXPECT_EQ(reg.CurrentPath(), u"Software\\KestrelTest\\Visual\\Child");
  ASSERT_TRUE(reg.OpenKey(u"\\Software\\KestrelTest", false));
  TStringList names;
  reg.GetKeyNames(names);
  EXPECT_EQ(names.IndexOf(u"Visual"), 0);
  EXPECT_TRUE(reg.HasSubKeys());
  EXPECT_TRUE(reg.DeleteKey(u"Visual"));
  EXPECT_FALSE(reg.KeyExists(u"\\Software\\KestrelTest\\Visual"));
  EXPECT_FALSE(reg.OpenKeyReadOnly(u"\\Software\\KestrelTest\\Visual"));
}

TEST(ImageList, ImagesAreCutToSizeMaskedAndDrawnByIndex) {
  TCustomImageList list(nullptr);
  list.SetSize(4, 4);
  TBitmap strip(8, 4);  // two images side by side
  strip.Canvas()->Brush()->SetColor(clRed);
  strip.Canvas()->FillRect(Rect(0, 0, 4, 4));
  strip.Canvas()->Brush()->SetColor(clLime);
  strip.Canvas()->FillRect(Rect(4, 0, 8, 4));
  strip.Canvas()->SetPixels(5, 1, clFuchsia);
  int changes = 0;
  list.OnChange = [&](TObject*) { ++changes; };
  EXPECT_EQ(list.AddMasked(&strip, clFuchsia), 0);
  EXPECT_EQ(list.Count(), 2);
  EXPECT_EQ(changes, 1);

  TBitmap target(10, 10);
  target.Canvas()->Brush()->SetColor(clWhite);
  target.Canvas()->FillRect(Rect(0, 0, 10, 10));
  list.Draw(target.Canvas(), 0, 0, 1);
  EXPECT_EQ(target.Canvas()->Pixels(0, 0), clLime);
  EXPECT_EQ(target.Canvas()->Pixels(1, 1), clWhite);  // the masked pixel lets the background through
  list.Draw(target.Canvas(), 5, 5, 7);                // out of range: nothing
  EXPECT_EQ(target.Canvas()->Pixels(6, 6), clWhite);
  list.Draw(target.Canvas(), 5, 5, 0, false);
  const TColor greyed = target.Canvas()->Pixels(6, 6);
  EXPECT_NE(greyed, clRed);
  EXPECT_NE(greyed, clWhite);
  list.Move(1, 0);
  TBitmap first;
  ASSERT_TRUE(list.GetBitmap(0, &first));
  EXPECT_EQ(first.Canvas()->Pixels(0, 0), clLime);
  list.Delete(0);
  EXPECT_EQ(list.Count(), 1);
  list.SetSize(8, 8);
  EXPECT_EQ(list.Count(), 0);
}

}  // namespace
}  // namespace kestrel
