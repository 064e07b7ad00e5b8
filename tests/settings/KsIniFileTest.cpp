// The settings tree in file mode: keys and navigation, typed values and their conversions,
// renames and deletes, lazy and immediate writes, flat mode.

#include <gtest/gtest.h>

#include "framework/StringList.h"
#include "framework/TypeInfo.h"
#include "tests/settings/KsIniTestSupport.h"

namespace kestrel::test {
namespace {

TEST(KsIniEntry, HashIsCrc32OfTrimmedUpperCaseLowBytes) {
  // CRC-32 with initial value 0 and no final inversion over "ABC".
  std::uint32_t crc = 0;
  for (unsigned char c : std::string("ABC")) {
    crc ^= c;
    for (int k = 0; k < 8; ++k) crc = (crc & 1) ? 0xEDB88320u ^ (crc >> 1) : crc >> 1;
  }
  EXPECT_EQ(TKsIniEntry::HashName(u"  abc "), crc);
  EXPECT_EQ(TKsIniEntry::HashName(u"ABC"), crc);
  EXPECT_NE(TKsIniEntry::HashName(u"ABD"), crc);
}

TEST(KsIniFile, KeysAreCaseInsensitiveAndIgnoreSurroundingBlanks) {
  auto ini = MakeIni();
  ASSERT_TRUE(ini->WriteString(u"\\Window\\Main", u"Caption", u"x"));
  String value;
  EXPECT_TRUE(ini->ReadString(u"\\WINDOW\\main", u"  caption ", u"", value));
  EXPECT_EQ(value, u"x");
  EXPECT_TRUE(ini->KeyExists(u"\\window\\ Main "));
  EXPECT_EQ(ini->SubKeysCount(u"\\"), 1);
  EXPECT_EQ(ini->CurrentKey(), u"\\");  // operations return to the key that was current
}

TEST(KsIniFile, NavigationFollowsPathsAndFailsOnEmptyComponents) {
  auto ini = MakeIni();
  EXPECT_TRUE(ini->OpenKey(u"\\A\\B\\", true));
  EXPECT_EQ(ini->CurrentKey(), u"\\A\\B");
  EXPECT_TRUE(ini->OpenKey(u"C", true));  // relative
  EXPECT_EQ(ini->CurrentKey(), u"\\A\\B\\C");
  EXPECT_EQ(ini->FullKey(u"D"), u"\\A\\B\\C\\D");
  EXPECT_EQ(ini->OwnKey(u""), u"C");
  EXPECT_EQ(ini->ParentKey(u""), u"\\A\\B");
  EXPECT_EQ(ini->ParentKey(u"\\A"), u"\\");
  EXPECT_FALSE(ini->OpenKey(u"\\A\\\\X", true));
  EXPECT_FALSE(ini->KeyExists(u"\\A\\\\X"));
  EXPECT_FALSE(ini->OpenKey(u"\\A\\ \t\\X", true));  // blanks alone are no name either
  // A failed open stays at the deepest key reached.
  EXPECT_FALSE(ini->OpenKey(u"\\A\\B\\Missing\\Deeper", false));
  EXPECT_EQ(ini->CurrentKey(), u"\\A\\B");
  ini->SetCurrentKey(u"\\New");
  EXPECT_TRUE(ini->KeyExists(u"\\New"));
}

TEST(KsIniFile, WritingUnderAValueTurnsItIntoAKeyKeepingItsData) {
  auto ini = MakeIni();
  ini->WriteInteger(u"\\A", u"B", 5);
  EXPECT_FALSE(ini->OpenKey(u"\\A\\B", false));
  ini->WriteInteger(u"\\A\\B", u"C", 6);
  EXPECT_TRUE(ini->KeyExists(u"\\A\\B"));
  EXPECT_EQ(ini->GetValueEntry(u"\\A", u"B")->ValueData().IntValue, 5);
  EXPECT_FALSE(ini->ValueExists(u"\\A", u"B"));  // a key now, not a value
}

TEST(KsIniFile, ListingNeitherCreatesKeysNorMixesKindsAndDeleteKeepsSameNamedValue) {
  auto ini = MakeIni();
  TStringList names;
  EXPECT_FALSE(ini->EnumSubKeys(u"\\Nowhere", names));
  EXPECT_FALSE(ini->KeyExists(u"\\Nowhere"));
  EXPECT_EQ(ini->ValuesCount(u"\\Nowhere"), -1);
  ini->WriteString(u"\\S\\same", u"inner", u"1");
  ini->WriteString(u"\\S", u"same", u"value");  // a value beside the key of that name
  ini->WriteString(u"\\S\\other", u"inner", u"1");
  ASSERT_TRUE(ini->EnumSubKeys(u"\\S", names));
  EXPECT_EQ(names.Text(), u"same\r\nother\r\n");
  ASSERT_TRUE(ini->EnumValues(u"\\S", names));
  EXPECT_EQ(names.Text(), u"same\r\n");
  EXPECT_TRUE(ini->Delete(u"\\S\\same", u""));
  EXPECT_TRUE(ini->ValueExists(u"\\S", u"same"));
  EXPECT_TRUE(ini->Delete(u"\\S", u"same"));
  EXPECT_FALSE(ini->ValueExists(u"\\S", u"same"));
  EXPECT_TRUE(ini->KeyExists(u"\\S\\other"));  // deleting a value never deletes a key
  EXPECT_FALSE(ini->Delete(u"\\", u""));
}

TEST(KsIniFile, DeletingTheCurrentKeyMovesToItsParent) {
  auto ini = MakeIni();
  ini->OpenKey(u"\\A\\B\\C", true);
  EXPECT_TRUE(ini->Delete(u"\\A\\B", u""));
  EXPECT_EQ(ini->CurrentKey(), u"\\A");
  EXPECT_TRUE(ini->WriteInteger(u"", u"v", 1));  // and the current entry is usable
  EXPECT_TRUE(ini->ValueExists(u"\\A", u"v"));
}

TEST(KsIniFile, RenameMoveAndCopy) {
  auto ini = MakeIni();
  ini->WriteInteger(u"\\A\\B", u"v", 1);
  ini->WriteInteger(u"\\A\\C", u"w", 2);
  EXPECT_FALSE(ini->RenameKey(u"\\A\\B", u"C"));  // a sibling key of that name exists
  EXPECT_FALSE(ini->RenameKey(u"\\A\\B", u"X\\Y"));
  EXPECT_FALSE(ini->RenameKey(u"\\", u"R"));
  ini->OpenKey(u"\\A\\B", false);
  EXPECT_TRUE(ini->RenameKey(u"\\A\\B", u"D"));
  EXPECT_EQ(ini->CurrentKey(), u"\\A\\D");  // the current key follows the rename
  EXPECT_TRUE(ini->ValueExists(u"\\A\\D", u"v"));
  EXPECT_FALSE(ini->RenameValue(u"\\A\\D", u"v", u"v2\\x"));
  ini->WriteInteger(u"\\A\\D", u"taken", 0);
  EXPECT_FALSE(ini->RenameValue(u"\\A\\D", u"v", u"TAKEN"));
  EXPECT_TRUE(ini->RenameValue(u"\\A\\D", u"v", u"v2"));
  EXPECT_TRUE(ini->MoveEntry(u"\\A", u"D", u"\\A\\C"));
  EXPECT_TRUE(ini->ValueExists(u"\\A\\C\\D", u"v2"));
  EXPECT_FALSE(ini->MoveEntry(u"\\A", u"C", u"\\A\\C\\D"));  // not into its own subtree
  EXPECT_FALSE(ini->MoveEntry(u"\\A", u"C", u"\\"));
  EXPECT_TRUE(ini->CopyValue(u"\\A\\C", u"w", u"\\Copy"));
  std::int32_t w = 0;
  EXPECT_TRUE(ini->ReadInteger(u"\\Copy", u"w", 0, w));
  EXPECT_EQ(w, 2);
}

TEST(KsIniFile, ReadsConvertBetweenTypes) {
  auto ini = MakeIni();
  ini->WriteBool(u"\\T", u"b", true);
  ini->WriteInteger(u"\\T", u"i", -7);
  ini->WriteDouble(u"\\T", u"d", 2.5);
  ini->WriteString(u"\\T", u"hex", u"0x1f");
  ini->WriteString(u"\\T", u"bad", u"abc");
  ini->WriteString(u"\\T", u"num", u"1.25");
  std::int32_t i = 0;
  EXPECT_TRUE(ini->ReadInteger(u"\\T", u"b", 0, i));
  EXPECT_EQ(i, 1);
  EXPECT_TRUE(ini->ReadInteger(u"\\T", u"d", 0, i));
  EXPECT_EQ(i, 2);  // ties round to even
  EXPECT_FALSE(ini->ReadInteger(u"\\T", u"hex", 0, i));
  EXPECT_EQ(i, 31);  // parsed, but reported as a conversion
  EXPECT_FALSE(ini->ReadInteger(u"\\T", u"bad", 9, i));
  EXPECT_EQ(i, 9);
  EXPECT_FALSE(ini->ReadInteger(u"\\T", u"missing", 4, i));
  EXPECT_EQ(i, 4);
  bool b = false;
  EXPECT_TRUE(ini->ReadBool(u"\\T", u"i", false, b));
  EXPECT_TRUE(b);
  EXPECT_FALSE(ini->ReadBool(u"\\T", u"d", false, b));
  double d = 0;
  EXPECT_TRUE(ini->ReadDouble(u"\\T", u"i", 0, d));
  EXPECT_EQ(d, -7.0);
  EXPECT_FALSE(ini->ReadDouble(u"\\T", u"num", 0, d));
  EXPECT_EQ(d, 1.25);
  String s;
  EXPECT_TRUE(ini->ReadString(u"\\T", u"b", u"", s));
  EXPECT_EQ(s, u"true");
  EXPECT_TRUE(ini->ReadString(u"\\T", u"i", u"", s));
  EXPECT_EQ(s, u"-7");
  TStringList list;
  list.SetText(u"one\r\ntwo\r\n");
  ini->WriteMultiString(u"\\T", u"m", list);
  EXPECT_TRUE(ini->ReadString(u"\\T", u"m", u"", s));
  EXPECT_EQ(s, u"one\r\ntwo\r\n");
  TStringList back;
  EXPECT_TRUE(ini->ReadMultiString(u"\\T", u"bad", back));
  EXPECT_EQ(back.Count(), 1);
}

TEST(KsIniFile, BinaryReadsReportTheNeededLength) {
  auto ini = MakeIni();
  const std::uint8_t data[10] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 255};
  ASSERT_TRUE(ini->WriteBinary(u"\\B", u"blob", data, 10));
  std::int32_t len = 0;
  EXPECT_FALSE(ini->ReadBinary(u"\\B", u"blob", nullptr, len));
  EXPECT_EQ(len, 10);
  std::uint8_t back[16] = {};
  len = 16;
  EXPECT_TRUE(ini->ReadBinary(u"\\B", u"blob", back, len));
  EXPECT_EQ(len, 10);
  EXPECT_EQ(std::vector<std::uint8_t>(back, back + 10), std::vector<std::uint8_t>(data, data + 10));
  String text;
  ini->ReadString(u"\\B", u"blob", u"", text);
  EXPECT_EQ(text, u"454C A 00 01 02 03 04 05 06 07 08 FF ");
  EXPECT_FALSE(ini->WriteBinary(u"\\B", u"neg", data, -1));
}

TEST(KsIniFile, DerivedForms) {
  auto ini = MakeIni();
  ini->WriteColor(u"\\C", u"plain", 0x00123456);
  String text;
  ini->ReadString(u"\\C", u"plain", u"", text);
  EXPECT_EQ(text, u"$00123456");
  std::int32_t color = 0;
  EXPECT_TRUE(ini->ReadColor(u"\\C", u"plain", 0, color));
  EXPECT_EQ(color, 0x00123456);
  ini->WriteString(u"\\C", u"rgb", u"1.2.3");
  EXPECT_TRUE(ini->ReadColor(u"\\C", u"rgb", 0, color));
  EXPECT_EQ(color, 1 + 2 * 256 + 3 * 65536);
  ini->WriteString(u"\\C", u"badrgb", u"1.x.3");
  EXPECT_FALSE(ini->ReadColor(u"\\C", u"badrgb", 77, color));
  EXPECT_EQ(color, 77);
  ini->WriteString(u"\\C", u"hash", u"#255");
  EXPECT_TRUE(ini->ReadColor(u"\\C", u"hash", 0, color));
  EXPECT_EQ(color, 255);
  ini->WriteColor(u"\\C", u"named", 0x0000FF);
  ini->ReadString(u"\\C", u"named", u"", text);
  EXPECT_EQ(text, u"clRed");
  ini->WriteColor(u"\\C", u"sys", static_cast<std::int32_t>(0xFF00000F));
  ini->ReadString(u"\\C", u"sys", u"", text);
  EXPECT_EQ(text, u"clBtnFace");
  ini->WriteString(u"\\C", u"lower", u"#clwindowtext");
  EXPECT_TRUE(ini->ReadColor(u"\\C", u"lower", 0, color));
  EXPECT_EQ(color, static_cast<std::int32_t>(0xFF000008));
  EXPECT_FALSE(ini->ReadColor(u"\\C", u"absent", 0x1FFFFFFF, color));  // via "clNone"
  EXPECT_EQ(color, 0x1FFFFFFF);
  ini->WriteString(u"\\C", u"junk", u"notacolour");
  EXPECT_THROW(ini->ReadColor(u"\\C", u"junk", 0, color), EConvertError);

  const platform::RECT r{-1, 2, 300, 4000};
  ini->WriteRect(u"\\C", u"r", r);
  ini->ReadString(u"\\C", u"r", u"", text);
  EXPECT_EQ(text, u"-1,2,300,4000");
  platform::RECT back{};
  EXPECT_TRUE(ini->ReadRect(u"\\C", u"r", {}, back));
  EXPECT_EQ(back.right, 300);
  EXPECT_FALSE(ini->ReadRect(u"\\C", u"plain", r, back));
  EXPECT_EQ(back.bottom, 4000);

  ini->WriteWideString(u"\\C", u"w", u"Grüße \U0001F600");
  EXPECT_TRUE(ini->ReadWideString(u"\\C", u"w", u"", text));
  EXPECT_EQ(text, u"Grüße \U0001F600");
  // A peer's value that holds the UTF-8 bytes one per character.
  String bytes;
  for (char c : Utf16ToUtf8(u"Grüße")) bytes += static_cast<char16_t>(static_cast<std::uint8_t>(c));
  ini->WriteString(u"\\C", u"bytes", bytes);
  EXPECT_TRUE(ini->ReadWideString(u"\\C", u"bytes", u"", text));
  EXPECT_EQ(text, u"Grüße");
  ini->WriteString(u"\\C", u"latin", u"\u00e9t\u00e9");  // not valid UTF-8 as bytes
  EXPECT_TRUE(ini->ReadWideString(u"\\C", u"latin", u"", text));
  EXPECT_EQ(text, u"\u00e9t\u00e9");
  EXPECT_FALSE(ini->ReadWideString(u"\\C", u"none", u"def", text));
  EXPECT_EQ(text, u"def");
}

TEST(KsIniFile, ModifiedLazyAndImmediateWrites) {
  testing::TempDir dir;
  const auto file = dir / "s.ini";
  {
    auto ini = MakeIni(file);
    int saves = 0;
    ini->SetOnAfterSave([&](TObject*) { ++saves; });
    EXPECT_FALSE(ini->Modified());
    ini->WriteInteger(u"\\A", u"v", 1);
    EXPECT_TRUE(ini->Modified());
    EXPECT_EQ(saves, 0);
    EXPECT_FALSE(std::filesystem::exists(file));
  }  // lazy: saved when destroyed
  {
    auto ini = MakeIni(file);
    ASSERT_TRUE(ini->Load());
    std::int32_t v = 0;
    EXPECT_TRUE(ini->ReadInteger(u"\\A", u"v", 0, v));
    EXPECT_EQ(v, 1);
    ini->SetLazyWrite(false);
    int saves = 0;
    ini->SetOnAfterSave([&](TObject*) { ++saves; });
    ini->WriteInteger(u"\\A", u"v", 2);
    EXPECT_EQ(saves, 1);
    EXPECT_FALSE(ini->Modified());
    ini->Delete(u"\\A", u"v");  // removals reach the file too when writes are immediate
    EXPECT_EQ(saves, 2);
  }
  auto ini = MakeIni(file);
  ini->Load();
  EXPECT_FALSE(ini->ValueExists(u"\\A", u"v"));
}

TEST(KsIniFile, SaveFailureKeepsModifiedAndReportsFalse) {
  testing::TempDir dir;
  auto ini = MakeIni(dir / "missing-dir" / "s.ini");
  ini->WriteInteger(u"", u"v", 1);
  bool after = false;
  ini->SetOnAfterSave([&](TObject*) { after = true; });
  EXPECT_FALSE(ini->Save());
  EXPECT_TRUE(after);
  EXPECT_TRUE(ini->Modified());
  ini->SetPath(u"");  // nothing to save to when it goes
}

TEST(KsIniFile, SimpleModeIsFlatAndRefusesSomeTypes) {
  auto ini = MakeIni();
  ini->WriteBool(u"\\A\\B", u"flag", true);
  ini->SetSimple(true);
  // The nested key was re-read as one flat section.
  EXPECT_TRUE(ini->KeyExists(u"A\\B"));
  EXPECT_EQ(ini->SubKeysCount(u"\\"), 2);
  // A Boolean stays one in memory; a flat file holds it as 1, which reads back as an integer.
  EXPECT_EQ(ini->GetValueType(u"A\\B", u"flag"), evtBoolean);
  const auto saved = SaveBytes(*ini);
  EXPECT_NE(std::string(saved.begin(), saved.end()).find("\r\n[A\\B]\r\nflag=1\r\n"), std::string::npos);
  auto flat = MakeIni();
  flat->SetSimple(true);
  LoadBytes(*flat, saved);
  EXPECT_EQ(flat->GetValueType(u"A\\B", u"flag"), evtInt);
  EXPECT_FALSE(ini->WriteBool(u"S", u"b", true));
  EXPECT_FALSE(ini->ValueExists(u"S", u"b"));
  TStringList list;
  EXPECT_FALSE(ini->WriteMultiString(u"S", u"m", list));
  EXPECT_FALSE(ini->WriteBinary(u"S", u"x", "ab", 2));
  EXPECT_TRUE(ini->WriteString(u"X\\Y", u"s", u"v"));
  EXPECT_EQ(ini->GetValueEntry(u"", u"X\\Y")->ValueName(), u"X\\Y");
}

TEST(KsIniFile, ValueEntriesAndTypes) {
  auto ini = MakeIni();
  TKsIniEntry* e = ini->CreateValue(u"\\K", u"v");
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(ini->GetValueType(u"\\K", u"v"), evtUnknown);
  ini->WriteString(u"\\K", u"v", u"x");
  EXPECT_EQ(ini->GetValueType(u"\\K", u"v"), evtString);
  ini->SetValueType(u"\\K", u"v", evtInt);
  std::int32_t i = 5;
  EXPECT_TRUE(ini->ReadInteger(u"\\K", u"v", 5, i));
  EXPECT_EQ(i, 0);
  EXPECT_EQ(ini->GetValueEntry(u"\\", u""), nullptr);
  EXPECT_TRUE(ini->GetValueEntry(u"\\K", u"")->IsKey());
  EXPECT_TRUE(ini->Clear());
  EXPECT_FALSE(ini->KeyExists(u"\\K"));
}

}  // namespace
}  // namespace kestrel::test

namespace kestrel::test {
namespace {

TEST(KsIniFile, PublishedPropertiesAndLoadingFromAStoredForm) {
  testing::TempDir dir;
  {
    auto ini = MakeIni(dir / "form.ini");
    ini->WriteInteger(u"\\F", u"v", 9);
  }
  TKsIniFile ini(nullptr);
  ini.BeginLoading();
  SetPropValue(&ini, u"Path", Utf8ToUtf16((dir / "form.ini").string()));
  SetPropValue(&ini, u"LazyWrite", u"False");
  SetPropValue(&ini, u"RegRoot", u"2147483650");
  EXPECT_EQ(ini.RegRoot(), rrtHKEY_LOCAL_MACHINE);
  EXPECT_FALSE(ini.ValueExists(u"\\F", u"v"));
  ini.EndLoading();  // loads the file
  EXPECT_TRUE(ini.ValueExists(u"\\F", u"v"));
  EXPECT_EQ(GetPropValue(&ini, u"WarningMessage"), u"Automatically generated file. DO NOT MODIFY!!!");
  EXPECT_EQ(GetPropValue(&ini, u"Delimiter"), u"\\");
}

}  // namespace
}  // namespace kestrel::test
