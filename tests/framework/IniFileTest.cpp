#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "framework/Exceptions.h"
#include "framework/IniFile.h"
#include "framework/MemIniFile.h"
#include "framework/StringList.h"
#include "tests/support/TestEnvironment.h"

namespace kestrel {
namespace {

std::string ReadFile(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteFile(const std::filesystem::path& p, const std::string& text) { std::ofstream(p, std::ios::binary) << text; }

String U(const std::filesystem::path& p) { return Utf8ToUtf16(p.string()); }

TEST(IniFile, WritesInPlaceKeepingCommentsOtherKeysAndSections) {
  testing::TempDir dir;
  auto path = dir / "fill.ini";
  WriteFile(path,
            "; saved by hand\n"
            "[Fill]\n"
            "Color = 255\n"
            "; gradient follows\n"
            "Gradient=1\n"
            "\n"
            "[Other]\n"
            "Key=\"quoted value\"\n");
  TIniFile ini(U(path));
  EXPECT_EQ(ini.ReadInteger(u"FILL", u"color", 0), 255);  // names without case, blanks trimmed
  EXPECT_EQ(ini.ReadString(u"Other", u"Key", u""), u"quoted value");
  ini.WriteInteger(u"Fill", u"Color", -16777201);  // signed 32-bit: system colours are negative
  ini.WriteString(u"Fill", u"Angle", u"45");
  ini.WriteBool(u"New", u"On", true);
  EXPECT_EQ(ReadFile(path),
            "; saved by hand\n"
            "[Fill]\n"
            "Color=-16777201\n"
            "; gradient follows\n"
            "Gradient=1\n"
            "Angle=45\n"
            "\n"
            "[Other]\n"
            "Key=\"quoted value\"\n"
            "[New]\n"
            "On=1\n");
  // No temporary files are left beside it.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST(IniFile, TypedReadsFallBackToDefaults) {
  testing::TempDir dir;
  auto path = dir / "t.ini";
  WriteFile(path, "[S]\nHex=$1F\nHex2=0x10\nBad=12x\nB1=True\nB2=0\nF=2.5\nEmpty=\n");
  TIniFile ini(U(path));
  EXPECT_EQ(ini.ReadInteger(u"S", u"Hex", 0), 31);
  EXPECT_EQ(ini.ReadInteger(u"S", u"Hex2", 0), 16);
  EXPECT_EQ(ini.ReadInteger(u"S", u"Bad", 7), 7);
  EXPECT_EQ(ini.ReadInteger(u"S", u"Missing", 7), 7);
  EXPECT_TRUE(ini.ReadBool(u"S", u"B1", false));
  EXPECT_FALSE(ini.ReadBool(u"S", u"B2", true));
  EXPECT_TRUE(ini.ReadBool(u"S", u"Empty", true));
  EXPECT_DOUBLE_EQ(ini.ReadFloat(u"S", u"F", 0), 2.5);
  EXPECT_DOUBLE_EQ(ini.ReadFloat(u"S", u"Bad", 1.25), 1.25);
  EXPECT_TRUE(ini.ValueExists(u"s", u"EMPTY"));
  EXPECT_FALSE(ini.ValueExists(u"s", u"nope"));
  EXPECT_TRUE(ini.SectionExists(u"s"));
  EXPECT_FALSE(ini.SectionExists(u"t"));
  // A long value is not cut.
  String longValue(5000, u'A');
  ini.WriteString(u"S", u"Long", longValue);
  EXPECT_EQ(TIniFile(U(path)).ReadString(u"S", u"Long", u""), longValue);
}

TEST(IniFile, SeesChangesMadeByOthersAndRejectsBrokenNames) {
  testing::TempDir dir;
  auto path = dir / "shared.ini";
  TIniFile a(U(path));
  TIniFile b(U(path));
  EXPECT_EQ(a.ReadString(u"S", u"K", u"none"), u"none");  // no file yet
  b.WriteString(u"S", u"K", u"from b");
  EXPECT_EQ(a.ReadString(u"S", u"K", u""), u"from b");
  a.WriteString(u"S", u"J", u"from a");
  EXPECT_EQ(b.ReadString(u"S", u"K", u""), u"from b");
  EXPECT_EQ(b.ReadString(u"S", u"J", u""), u"from a");
  EXPECT_THROW(a.WriteString(u"S", u"two\nlines", u"x"), EIniFileException);
  EXPECT_THROW(a.WriteString(u"S", u"K", u"a\r\nb"), EIniFileException);
  EXPECT_THROW(a.WriteString(u"S]", u"K", u"x"), EIniFileException);
  EXPECT_THROW(a.WriteString(u"S", u"a=b", u"x"), EIniFileException);
  EXPECT_EQ(b.ReadString(u"S", u"K", u""), u"from b");

  TIniFile nowhere(U(dir / "missing" / "x.ini"));
  try {
    nowhere.WriteString(u"S", u"K", u"v");
    FAIL();
  } catch (const EIniFileException& e) {
    EXPECT_EQ(e.Message(), u"Unable to write to " + U(dir / "missing" / "x.ini"));
  }
}

TEST(IniFile, SectionListsAndDeletion) {
  testing::TempDir dir;
  auto path = dir / "l.ini";
  TIniFile ini(U(path));
  ini.WriteString(u"One", u"a", u"1");
  ini.WriteString(u"One", u"b", u"'2'");
  ini.WriteString(u"Two", u"c", u"3");
  TStringList list;
  ini.ReadSections(list);
  EXPECT_EQ(list.CommaText(), u"One,Two");
  ini.ReadSection(u"one", list);
  EXPECT_EQ(list.CommaText(), u"a,b");
  ini.ReadSectionValues(u"One", list);
  EXPECT_EQ(list.CommaText(), u"a=1,b=2");
  ini.DeleteKey(u"One", u"A");
  ini.EraseSection(u"two");
  EXPECT_EQ(ReadFile(path), "[One]\nb='2'\n");
}

TEST(MemIniFile, ChangesStayInMemoryUntilUpdateFile) {
  testing::TempDir dir;
  auto path = dir / "m.ini";
  WriteFile(path, "\xEF\xBB\xBF[S]\r\nK=v\r\n");  // a byte-order mark and CR LF are kept
  {
    TMemIniFile ini(U(path));
    EXPECT_EQ(ini.ReadString(u"S", u"K", u""), u"v");
    ini.WriteString(u"S", u"Grüße", u"\"kept quotes\"");
    EXPECT_EQ(ini.ReadString(u"S", u"Grüße", u""), u"\"kept quotes\"");
    EXPECT_EQ(ReadFile(path), "\xEF\xBB\xBF[S]\r\nK=v\r\n");
    ini.UpdateFile();
  }
  EXPECT_EQ(ReadFile(path),
            "\xEF\xBB\xBF[S]\r\nK=v\r\nGr\xC3\xBC\xC3\x9F"
            "e=\"kept quotes\"\r\n");
  {
    TMemIniFile ini(U(path));
    ini.WriteString(u"S", u"K", u"lost");  // no UpdateFile, no AutoSave
  }
  EXPECT_EQ(TMemIniFile(U(path)).ReadString(u"S", u"K", u""), u"v");
  {
    TMemIniFile ini(U(path));
    ini.SetAutoSave(true);
    ini.WriteString(u"S", u"K", u"saved");
  }
  EXPECT_EQ(TMemIniFile(U(path)).ReadString(u"S", u"K", u""), u"saved");
}

TEST(MemIniFile, StringsRoundTripAndFilePermissionsAreKept) {
  testing::TempDir dir;
  auto path = dir / "p.ini";
  WriteFile(path, "[A]\nx=1\n");
  ::chmod(path.c_str(), 0600);
  TMemIniFile ini(U(path));
  TStringList lines;
  ini.GetStrings(lines);
  EXPECT_EQ(lines.CommaText(), u"[A],x=1");
  lines.Add(u"y=2");
  ini.SetStrings(lines);
  EXPECT_EQ(ini.ReadInteger(u"A", u"y", 0), 2);
  ini.UpdateFile();
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
}

}  // namespace
}  // namespace kestrel
