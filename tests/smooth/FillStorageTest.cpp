#include <gtest/gtest.h>

#include <cctype>
#include <cstring>

#include "SmoothTestSupport.h"
#include "framework/Exceptions.h"
#include "framework/MemIniFile.h"
#include "framework/StringList.h"
#include "platform/window/Clipboard.h"
#include "smooth/GDIPFill.h"
#include "smooth/internal/FillClipboard.h"
#include "smooth/internal/HexText.h"
#include "tests/support/TestEnvironment.h"

namespace kestrel {
namespace {

// Counts the announcements of a fill.
struct ChangeCounter {
  explicit ChangeCounter(TGDIPFill& fill) {
    fill.OnChange = [this](TObject*) { ++count; };
  }
  int count = 0;
};

// A fill with a value off its initial one in every stored setting and two pictures.
void Customise(TGDIPFill& f) {
  TFillSettings s;
  s.Color = 0x123456;
  s.ColorTo = clBtnFace;
  s.ColorMirror = 0x0000FF;
  s.ColorMirrorTo = 0x00FF00;
  s.GradientType = gtAngle;
  s.GradientMirrorType = gtHatch;
  s.HatchStyle = platform::HatchStyleWeave;
  s.HatchStyleMirror = platform::HatchStyleSolidDiamond;
  s.BackGroundPictureMode = pmInsideFill;
  s.BackGroundPicturePosition = ppTiled;
  s.BackGroundPictureLeft = -3;
  s.BackGroundPictureTop = 4;
  s.PicturePosition = ppCustom;
  s.PictureLeft = 7;
  s.PictureTop = -8;
  s.PictureSize = psCustom;
  s.PictureWidth = 31;
  s.PictureHeight = 17;
  s.Opacity = 1;
  s.OpacityTo = 2;
  s.OpacityMirror = 3;
  s.OpacityMirrorTo = 4;
  s.BorderColor = 0x010203;
  s.BorderOpacity = 5;
  s.BorderWidth = 3;
  s.Rounding = 6;
  s.RoundingType = rtLeft;
  s.ShadowOffset = 2;
  s.ShadowColor = clNone;
  s.Angle = 33;
  s.Glow = gmRadialGradient;
  s.GlowGradientColor = 0x0A0B0C;
  s.GlowRadialColor = 0x0C0B0A;
  f.SetSettings(s);
  f.Picture()->SetData(testing::PngBytes(6, 4, 0xFFFF0000, 0xFF0000FF));
  f.BackGroundPicture()->SetData(testing::PngBytes(3, 5, 0xFF00FF00, 0x80000000));
}

TEST(FillModel, SettersAnnounceChangesOnlyOutsideAnUpdate) {
  TGDIPFill fill;
  ChangeCounter changes(fill);
  fill.SetColor(fill.Color());
  fill.SetRoundingType(rtBoth);
  EXPECT_EQ(changes.count, 0);
  fill.SetRounding(4);
  fill.Picture()->SetData(testing::PngBytes(2, 2, 0xFF000000, 0xFF000000));
  EXPECT_EQ(changes.count, 2);

  fill.BeginUpdate();
  fill.SetColor(clRed);
  fill.BackGroundPicture()->SetData(testing::PngBytes(2, 2, 0xFF000000, 0xFF000000));
  fill.EndUpdate();
  EXPECT_EQ(changes.count, 2);  // the bracket's changes stay unannounced, EndUpdate included
  fill.EndUpdate();
  EXPECT_EQ(fill.UpdateCount(), 0);
  fill.SetColor(clBlue);
  EXPECT_EQ(changes.count, 3);
}

TEST(FillModel, AssignCopiesEverythingStoredAndAnnouncesOnce) {
  TGDIPFill source;
  Customise(source);
  source.SetFocus(true);
  TGDIPFill target;
  ChangeCounter changes(target);
  target.Assign(&source);
  EXPECT_EQ(changes.count, 1);
  EXPECT_EQ(target.Settings(), source.Settings());
  EXPECT_EQ(target.Picture()->Data(), source.Picture()->Data());
  EXPECT_EQ(target.BackGroundPicture()->Width(), 3);
  EXPECT_FALSE(target.Focus());

  TGDIPPicture notAFill;
  target.Assign(&notAFill);
  EXPECT_EQ(changes.count, 1);
}

TEST(FillIni, RoundTripKeepsEverySettingThePictureSizeModeAndBothPictures) {
  testing::TempDir dir;
  const String file = Utf8ToUtf16((dir / "fills.ini").string());
  TGDIPFill saved;
  Customise(saved);
  TFillSettings unstored = saved.Settings();
  unstored.BackGroundPictureAspectRatio = unstored.PictureAspectRatio = true;
  unstored.BackGroundPictureAspectMode = unstored.PictureAspectMode = pmNormal;
  unstored.ShadowType = stSurround;
  saved.SetSettings(unstored);
  saved.SaveToFile(file, u"Fill");

  TGDIPFill loaded;
  ChangeCounter changes(loaded);
  loaded.LoadFromFile(file, u"Fill");
  EXPECT_EQ(changes.count, 1);
  // Not stored: aspect settings and the shadow type, which keep their defaults.
  TFillSettings expected = saved.Settings();
  const TFillSettings defaults;
  expected.BackGroundPictureAspectRatio = defaults.BackGroundPictureAspectRatio;
  expected.PictureAspectRatio = defaults.PictureAspectRatio;
  expected.BackGroundPictureAspectMode = defaults.BackGroundPictureAspectMode;
  expected.PictureAspectMode = defaults.PictureAspectMode;
  expected.ShadowType = defaults.ShadowType;
  EXPECT_EQ(loaded.Settings(), expected);
  EXPECT_EQ(loaded.PictureSize(), psCustom);
  EXPECT_EQ(loaded.Picture()->Data(), saved.Picture()->Data());
  EXPECT_EQ(loaded.BackGroundPicture()->Data(), saved.BackGroundPicture()->Data());

  TMemIniFile ini(file);
  EXPECT_EQ(ini.ReadInteger(u"Fill", u"PictureSize", -1), static_cast<int>(2 * saved.Picture()->Data().size()));
  EXPECT_EQ(ini.ReadInteger(u"Fill", u"ColorTo", 0), static_cast<int>(clBtnFace));  // signed 32-bit
}

TEST(FillIni, EmptyPicturesAreStoredAsEmptyTextsOfLengthZero) {
  TGDIPFill fill;
  TMemIniFile ini(u"");
  fill.SaveToFile(ini, u"S");
  TStringList lines;
  ini.ReadSection(u"S", lines);
  EXPECT_EQ(lines.Strings(0), u"Color");
  EXPECT_EQ(lines.Strings(32), u"GlowRadialColor");
  EXPECT_EQ(ini.ReadString(u"S", u"Picture", u"x"), u"");
  EXPECT_EQ(ini.ReadString(u"S", u"BackgroundPicture", u"x"), u"");
  EXPECT_EQ(ini.ReadInteger(u"S", u"PictureSize", -1), 0);
  EXPECT_EQ(ini.ReadInteger(u"S", u"BackgroundPictureSize", -1), 0);
  EXPECT_EQ(ini.ReadInteger(u"S", u"Color", 0), 12632256);
  EXPECT_EQ(ini.ReadInteger(u"S", u"ColorMirror", 0), 536870911);
}

TEST(FillIni, ReadsSectionsOfTheEarlierLayoutMissingKeysAndLowerCaseHex) {
  const auto png = testing::PngBytes(4, 4, 0xFF112233, 0xFF445566);
  String hex = BytesToHex(png);
  for (char16_t& c : hex) c = static_cast<char16_t>(std::tolower(c));
  TMemIniFile ini(u"");
  // The earlier layout: no mode key, the hex length under "PictureSize", an odd trailing digit.
  ini.WriteString(u"S", u"Picture", hex + u"F");
  ini.WriteInteger(u"S", u"PictureSize", static_cast<int>(hex.size()) + 1);
  ini.WriteInteger(u"S", u"Rounding", 9);
  TGDIPFill fill;
  fill.SetPictureSize(psCustom);
  fill.SetAngle(45);
  fill.LoadFromFile(ini, u"S");
  EXPECT_EQ(fill.Picture()->Data(), png);
  EXPECT_EQ(fill.PictureSize(), psCustom);  // kept: the section has no mode of its own
  EXPECT_EQ(fill.Angle(), 45);
  EXPECT_EQ(fill.Rounding(), 9);
}

TEST(FillIni, BadSectionsRaiseAndLeaveTheFillAsItWas) {
  struct Case {
    const char16_t* key;
    const char16_t* value;
    const char* message;
  };
  const Case cases[] = {
      {u"GradientType", u"11", "Invalid TGradientType value 11 for GradientType"},
      {u"HatchStyle", u"53", "Invalid HatchStyle value 53 for HatchStyle"},
      {u"RoundingType", u"-1", "Invalid TFillRoundingType value -1 for RoundingType"},
      {u"Picture", u"0G12", "No Hex-Number"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf16ToUtf8(c.key));
    TMemIniFile ini(u"");
    ini.WriteInteger(u"S", u"Color", 0x00FF00);
    ini.WriteString(u"S", c.key, c.value);
    ini.WriteInteger(u"S", u"PictureSize", 4);
    TGDIPFill fill;
    ChangeCounter changes(fill);
    try {
      fill.LoadFromFile(ini, u"S");
      ADD_FAILURE() << "no error";
    } catch (const EConvertError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
    EXPECT_EQ(fill.Color(), 0xC0C0C0);
    EXPECT_EQ(changes.count, 0);
  }
}

TEST(FillIni, HostileLengthsReadOnlyTheTextThatIsThere) {
  TMemIniFile ini(u"");
  ini.WriteString(u"S", u"Picture", u"0102");
  ini.WriteInteger(u"S", u"PictureSize", 2147483647);
  ini.WriteString(u"S", u"BackgroundPicture", u"0102");
  ini.WriteInteger(u"S", u"BackgroundPictureSize", -5);
  TGDIPFill fill;
  fill.LoadFromFile(ini, u"S");
  EXPECT_EQ(fill.Picture()->Data(), (std::vector<std::uint8_t>{1, 2}));
  EXPECT_TRUE(fill.BackGroundPicture()->Empty());
  EXPECT_EQ(fill.Picture()->Width(), 0);  // kept, though it is no image
}

TEST(FillClipboard, RoundTripGivesTheSameFillWithOneAnnouncement) {
  TGDIPFill copied;
  Customise(copied);
  copied.SaveToClipBoard();
  TGDIPFill pasted;
  pasted.SetShadowType(stSurround);  // a value the copied fill has at its default
  ChangeCounter changes(pasted);
  pasted.LoadFromClipBoard();
  EXPECT_EQ(changes.count, 1);
  EXPECT_EQ(pasted.Settings(), copied.Settings());
  EXPECT_EQ(pasted.BackGroundPicture()->Data(), copied.BackGroundPicture()->Data());
}

TEST(FillClipboard, NoBlockChangesNothingAndBadBlocksRaiseWithoutChanging) {
  ASSERT_TRUE(platform::OpenClipboard(nullptr));
  platform::EmptyClipboard();
  platform::CloseClipboard();
  TGDIPFill fill;
  ChangeCounter changes(fill);
  fill.LoadFromClipBoard();
  EXPECT_EQ(changes.count, 0);

  const char* blocks[] = {
      "SaveObject.Color = 255\nSaveObject.GradientType = gtNowhere\n",
      "SaveObject.Color = 255\nSaveObject.Unknown = 1\n",
      "SaveObject.Opacity = 256\n",
      "SaveObject = nil\n",
      "SaveObject.Picture.Data = {0A",
  };
  for (const char* block : blocks) {
    SCOPED_TRACE(block);
    EXPECT_THROW(TFillClipboard::Decode(fill, reinterpret_cast<const std::uint8_t*>(block), std::strlen(block)),
                 Exception);
    EXPECT_EQ(fill.Color(), 0xC0C0C0);
    EXPECT_EQ(changes.count, 0);
  }
}

TEST(FillClipboard, ABlockThatCannotBeFilledRaisesAndKeepsTheClipboard) {
  TGDIPFill copied;
  Customise(copied);
  copied.SaveToClipBoard();
  // An empty movable block cannot be locked, so it cannot be filled.
  EXPECT_THROW(TFillClipboard::Put({}), EOutOfResources);
  TGDIPFill pasted;
  pasted.LoadFromClipBoard();
  EXPECT_EQ(pasted.Settings(), copied.Settings());
}

}  // namespace
}  // namespace kestrel
