// Registry mode: values go straight to the registry stand-in with its types; operations that
// only exist for the tree raise EKsIniError.

#include <gtest/gtest.h>

#include <cstring>

#include "framework/StringList.h"
#include "platform/os/Registry.h"
#include "tests/settings/KsIniTestSupport.h"

namespace kestrel::test {
namespace {

using namespace platform;

std::unique_ptr<TKsIniFile> RegIni(const String& path) {
  auto ini = MakeIni();
  ini->SetUseRegistry(true);
  ini->SetPath(path);
  return ini;
}

std::vector<std::uint8_t> RawValue(const char16_t* key, const char16_t* name, DWORD& type) {
  HKEY hkey = nullptr;
  std::vector<std::uint8_t> data;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_READ, &hkey) != ERROR_SUCCESS) return data;
  DWORD size = 0;
  RegQueryValueExW(hkey, name, nullptr, &type, nullptr, &size);
  data.resize(size);
  RegQueryValueExW(hkey, name, nullptr, &type, data.data(), &size);
  RegCloseKey(hkey);
  return data;
}

TEST(KsIniRegistry, SwitchingOnUsesSoftwareAndNormalisesPath) {
  auto ini = MakeIni();
  ini->SetUseRegistry(true);
  EXPECT_EQ(ini->Path(), u"\\SOFTWARE");
  EXPECT_EQ(ini->CurrentKey(), u"\\");
  ini->SetPath(u"SOFTWARE\\KestrelTest\\Norm\\");
  EXPECT_EQ(ini->Path(), u"\\SOFTWARE\\KestrelTest\\Norm");
  ini->SetRegRoot(static_cast<TRegRootType>(0x80000004u));
  EXPECT_EQ(ini->RegRoot(), rrtHKEY_CURRENT_USER);
  ini->SetRegRoot(rrtUnknown);
  EXPECT_EQ(ini->RegRoot(), rrtHKEY_CURRENT_USER);
}

TEST(KsIniRegistry, ValuesRoundTripWithRegistryTypes) {
  auto ini = RegIni(u"\\SOFTWARE\\KestrelTest\\Values");
  ASSERT_TRUE(ini->WriteBool(u"\\W", u"b", true));
  ASSERT_TRUE(ini->WriteInteger(u"\\W", u"i", -5));
  ASSERT_TRUE(ini->WriteDouble(u"\\W", u"d", 0.1));
  ASSERT_TRUE(ini->WriteString(u"\\W", u"s", u"text"));
  TStringList list;
  list.Add(u"one");
  list.Add(u"two");
  ASSERT_TRUE(ini->WriteMultiString(u"\\W", u"m", list));
  ASSERT_TRUE(ini->WriteBinary(u"\\W", u"x", "\x01\x02\x03", 3));

  DWORD type = 0;
  auto raw = RawValue(u"SOFTWARE\\KestrelTest\\Values\\W", u"b", type);
  EXPECT_EQ(type, REG_DWORD);
  EXPECT_EQ(raw, (std::vector<std::uint8_t>{1, 0, 0, 0}));
  raw = RawValue(u"SOFTWARE\\KestrelTest\\Values\\W", u"s", type);
  EXPECT_EQ(type, REG_SZ);
  EXPECT_EQ(raw.size(), 10u);  // including the terminating zero
  raw = RawValue(u"SOFTWARE\\KestrelTest\\Values\\W", u"m", type);
  EXPECT_EQ(type, REG_MULTI_SZ);
  EXPECT_EQ(raw.size(), (3 + 1 + 3 + 1 + 2) * 2u);
  raw = RawValue(u"SOFTWARE\\KestrelTest\\Values\\W", u"d", type);
  EXPECT_EQ(type, REG_BINARY);
  EXPECT_EQ(raw.size(), 8u);

  bool b = false;
  EXPECT_TRUE(ini->ReadBool(u"\\W", u"b", false, b));
  EXPECT_TRUE(b);
  std::int32_t i = 0;
  EXPECT_TRUE(ini->ReadInteger(u"\\W", u"i", 0, i));
  EXPECT_EQ(i, -5);
  ini->WriteString(u"\\W", u"digits", u"12");
  EXPECT_FALSE(ini->ReadInteger(u"\\W", u"digits", 3, i));  // needs a DWORD
  EXPECT_EQ(i, 3);
  double d = 0;
  EXPECT_TRUE(ini->ReadDouble(u"\\W", u"d", 0, d));
  EXPECT_EQ(d, 0.1);
  EXPECT_FALSE(ini->ReadDouble(u"\\W", u"x", 0, d));  // binary, but not 8 bytes
  String s;
  EXPECT_TRUE(ini->ReadString(u"\\W", u"i", u"", s));
  EXPECT_EQ(s, u"-5");
  EXPECT_TRUE(ini->ReadString(u"\\W", u"m", u"", s));
  EXPECT_EQ(s, u"one\r\ntwo");
  EXPECT_TRUE(ini->ReadString(u"\\W", u"x", u"", s));
  EXPECT_EQ(s, u"454C 3 01 02 03 ");
  TStringList back;
  EXPECT_TRUE(ini->ReadMultiString(u"\\W", u"m", back));
  EXPECT_EQ(back.Text(), u"one\r\ntwo\r\n");
  EXPECT_FALSE(ini->ReadMultiString(u"\\W", u"s", back));
  EXPECT_EQ(ini->GetValueType(u"\\W", u"s"), evtString);
  EXPECT_EQ(ini->GetValueType(u"\\W", u"m"), evtMultiString);
  EXPECT_EQ(ini->GetValueType(u"\\W", u"i"), evtInt);
  EXPECT_EQ(ini->GetValueType(u"\\W", u"x"), evtBinary);
  EXPECT_EQ(ini->CurrentKey(), u"\\");
}

TEST(KsIniRegistry, KeysEnumerationRenameAndDelete) {
  auto ini = RegIni(u"\\SOFTWARE\\KestrelTest\\Keys");
  ini->ClearKey(u"\\");
  ini->WriteInteger(u"\\K\\Sub", u"v", 1);
  ini->WriteInteger(u"\\K", u"Sub", 2);  // a value named like a sub-key
  ini->WriteInteger(u"\\K", u"plain", 3);
  EXPECT_TRUE(ini->OpenKey(u"\\K", false));
  EXPECT_EQ(ini->CurrentKey(), u"\\K");
  EXPECT_EQ(ini->FullKey(u"Sub"), u"\\K\\Sub");
  EXPECT_EQ(ini->SubKeysCount(u""), 1);
  TStringList names;
  EXPECT_TRUE(ini->EnumValues(u"", names));
  EXPECT_EQ(names.Text(), u"plain\r\n");  // names that are also sub-keys are left out
  EXPECT_FALSE(ini->KeyExists(u"Nope"));
  EXPECT_TRUE(ini->RenameValue(u"", u"plain", u"renamed"));
  EXPECT_FALSE(ini->RenameValue(u"", u"missing", u"other"));
  EXPECT_TRUE(ini->CopyValue(u"", u"renamed", u"\\Copy"));
  EXPECT_TRUE(ini->ValueExists(u"\\Copy", u"renamed"));
  // Deleting the key leaves the parent's value of the same name alone.
  EXPECT_TRUE(ini->Delete(u"\\K\\Sub", u""));
  EXPECT_FALSE(ini->KeyExists(u"\\K\\Sub"));
  EXPECT_TRUE(ini->ValueExists(u"\\K", u"Sub"));
  EXPECT_TRUE(ini->Delete(u"\\K", u"Sub"));
  EXPECT_FALSE(ini->ValueExists(u"\\K", u"Sub"));
  EXPECT_EQ(ini->CurrentKey(), u"\\K");
}

TEST(KsIniRegistry, TreeOnlyOperationsRaiseWithTheirMessages) {
  auto ini = RegIni(u"\\SOFTWARE\\KestrelTest\\Errors");
  auto message = [](auto&& call) -> String {
    try {
      call();
    } catch (const EKsIniError& e) {
      return e.Message();
    }
    return u"(none)";
  };
  EXPECT_EQ(message([&] { ini->Clear(); }), u"Clearing the whole registry is not allowed. Use ClearKey instead.");
  EXPECT_EQ(message([&] { ini->CreateValue(u"", u"v"); }), u"CreateValue method is not available when using registry.");
  EXPECT_EQ(message([&] { ini->GetValueEntry(u"", u"v"); }),
            u"GetValueEntry method is not available when using registry.");
  EXPECT_EQ(message([&] { ini->MoveEntry(u"", u"v", u"\\X"); }),
            u"MoveEntry method is not available when using registry.");
  EXPECT_EQ(message([&] { ini->SetValueType(u"", u"v", evtInt); }),
            u"SetValueType method is not available when using registry.");
  EXPECT_EQ(message([&] { ini->RenameKey(u"\\A", u"B"); }), u"Key can not be renamed when using registry.");
  EXPECT_EQ(message([&] { ini->SetDelimiter(u'/'); }), u"Changing delimiter is not available when using registry.");
  EXPECT_FALSE(ini->Load());
  EXPECT_FALSE(ini->Save());
}

}  // namespace
}  // namespace kestrel::test
