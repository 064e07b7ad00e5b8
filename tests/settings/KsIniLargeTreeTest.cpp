// Keys with many children (looked up through the hash index) and very deep key paths (read
// section after section from where the previous one ended): the same answers as a small tree.

#include <gtest/gtest.h>

#include <string>

#include "framework/SysUtils.h"
#include "settings/internal/KsIniByteWindow.h"
#include "tests/settings/KsIniTestSupport.h"

namespace kestrel::test {
namespace {

std::int32_t IntOf(TKsIniFile& ini, const String& key, const String& name) {
  std::int32_t v = -1;
  return ini.ReadInteger(key, name, -1, v) ? v : -1;
}

TEST(KsIniLargeTree, LookupsInAKeyWithManyChildrenFollowRenamesMovesAndDeletes) {
  auto ini = MakeIni();
  for (int i = 0; i < 100; ++i) ini->WriteInteger(u"\\Big", u"v" + IntToStr(i), i);
  ini->WriteInteger(u"\\Big\\Twin", u"inner", 1);
  ini->WriteInteger(u"\\Big", u"twin", 2);  // a value beside the key of that name
  EXPECT_EQ(IntOf(*ini, u"\\Big", u"  V42 "), 42);
  EXPECT_EQ(IntOf(*ini, u"\\Big", u"twin"), 2);
  EXPECT_EQ(IntOf(*ini, u"\\Big\\TWIN", u"inner"), 1);

  ASSERT_TRUE(ini->RenameValue(u"\\Big", u"v7", u"seven"));
  EXPECT_EQ(IntOf(*ini, u"\\Big", u"Seven"), 7);
  EXPECT_FALSE(ini->ValueExists(u"\\Big", u"v7"));
  ASSERT_TRUE(ini->Delete(u"\\Big", u"v8"));
  EXPECT_FALSE(ini->ValueExists(u"\\Big", u"v8"));
  EXPECT_EQ(IntOf(*ini, u"\\Big", u"v99"), 99);

  // A value moved in under a name that is already there comes after it: the first one wins
  // until it is deleted.
  ini->WriteInteger(u"\\Other", u"v9", 900);
  ASSERT_TRUE(ini->MoveEntry(u"\\Other", u"v9", u"\\Big"));
  EXPECT_EQ(IntOf(*ini, u"\\Big", u"v9"), 9);
  ASSERT_TRUE(ini->Delete(u"\\Big", u"v9"));
  EXPECT_EQ(IntOf(*ini, u"\\Big", u"v9"), 900);
  ASSERT_TRUE(ini->MoveEntry(u"\\Big", u"v9", u"\\Other"));
  EXPECT_FALSE(ini->ValueExists(u"\\Big", u"v9"));
  EXPECT_EQ(IntOf(*ini, u"\\Other", u"v9"), 900);

  // The stored order survives a round trip in both formats.
  for (bool binary : {false, true}) {
    ini->SetBinaryMode(binary);
    auto back = MakeIni();
    back->SetBinaryMode(binary);
    LoadBytes(*back, SaveBytes(*ini));
    EXPECT_EQ(SaveBytes(*back), SaveBytes(*ini)) << binary;
    EXPECT_EQ(IntOf(*back, u"\\Big", u"seven"), 7) << binary;
  }
}

TEST(KsIniLargeTree, ADeepPathRoundTripsAndSectionsThatDoNotContinueOneAnotherStayApart) {
  std::string text;
  std::string path;
  for (int level = 1; level <= 300; ++level) {
    path += level == 1 ? "K" : "\\K";
    text += "[" + path + "]\r\nv=" + std::to_string(level) + "\r\n";
  }
  // Not continuations of the section before: an empty component after it, a section that
  // ended in the delimiter: both are read from the root and ignored. Case does not matter.
  text +=
      "[K]\r\n[K\\\\x]\r\nlost=1\r\n"
      "[K\\y\\]\r\ny=1\r\n[K\\y\\\\z]\r\nlost=2\r\n"
      "[k\\Y\\w]\r\nw=1\r\n";
  auto ini = MakeIni();
  LoadBytes(*ini, Bytes(text));
  String deepest;
  for (int level = 0; level < 300; ++level) deepest += u"\\K";
  EXPECT_EQ(IntOf(*ini, deepest, u"v"), 300);
  EXPECT_EQ(IntOf(*ini, u"\\K\\y", u"y"), 1);
  EXPECT_EQ(IntOf(*ini, u"\\K\\Y\\W", u"w"), 1);
  EXPECT_FALSE(ini->KeyExists(u"\\K\\x"));
  EXPECT_FALSE(ini->KeyExists(u"\\K\\y\\z"));
  EXPECT_EQ(ini->SubKeysCount(u"\\K"), 2);  // K and y

  for (bool binary : {false, true}) {
    ini->SetBinaryMode(binary);
    auto back = MakeIni();
    back->SetBinaryMode(binary);
    LoadBytes(*back, SaveBytes(*ini));
    EXPECT_EQ(SaveBytes(*back), SaveBytes(*ini)) << binary;
    EXPECT_EQ(IntOf(*back, deepest, u"v"), 300) << binary;
  }
}

// Files are written and read in pieces; one larger than a piece must come out as the stream does.
TEST(KsIniLargeTree, AFileSavedAndLoadedInPiecesMatchesTheStream) {
  for (bool binary : {false, true}) {
    SCOPED_TRACE(binary ? "binary" : "text");
    testing::TempDir dir;
    auto ini = MakeIni();
    ini->SetBinaryMode(binary);
    for (int i = 0; i < 20000; ++i) {
      ini->WriteString(u"\\Big", u"v" + IntToStr(i), u"text " + IntToStr(i));
    }
    ini->WriteInteger(u"\\Big\\Sub", u"last", 5);
    ini->SetPath(Utf8ToUtf16((dir / "big.ini").string()));
    ASSERT_TRUE(ini->Save());
    EXPECT_EQ(ReadBytes(dir / "big.ini"), SaveBytes(*ini));
    auto back = MakeIni(dir / "big.ini");
    back->SetBinaryMode(binary);
    ASSERT_TRUE(back->Load());
    EXPECT_EQ(SaveBytes(*back), SaveBytes(*ini));
    EXPECT_EQ(IntOf(*back, u"\\Big\\Sub", u"last"), 5);
  }
}

// The first piece read ends between a CR and its LF; a line longer than a piece, a line in
// Windows-1252 and one without a divider (named by its line number) follow.
TEST(KsIniLargeTree, ATextFileReadInPiecesReadsAsTheWholeText) {
  std::string text = "[S]\r\n";
  int lines = 1;
  for (int i = 0; text.size() < TKsIniByteWindow::kPiece - 64; ++i, ++lines) {
    text += "a" + std::to_string(i) + "=1\r\n";
  }
  text += "pad=" + std::string(TKsIniByteWindow::kPiece - 1 - text.size() - 4, 'x');
  ASSERT_EQ(text.size(), TKsIniByteWindow::kPiece - 1);
  text += "\r\nno divider\r\nw=caf\xE9\r\nlong=" + std::string(3 * TKsIniByteWindow::kPiece, 'y');
  text += "\nlone=1\rlast=2";
  lines += 2;
  testing::TempDir dir;
  WriteBytes(dir / "s.ini", Bytes(text));
  auto file = MakeIni(dir / "s.ini");
  ASSERT_TRUE(file->Load());
  auto whole = MakeIni();
  LoadBytes(*whole, Bytes(text));
  EXPECT_EQ(SaveBytes(*file), SaveBytes(*whole));
  EXPECT_TRUE(file->ValueExists(u"\\S", u"#" + IntToStr(lines)));
  String w;
  file->ReadString(u"\\S", u"w", u"", w);
  EXPECT_EQ(w, u"caf\u00E9");
  EXPECT_EQ(IntOf(*file, u"\\S", u"last"), 2);
}

// A binary file cut short in a record beyond the first piece is damaged; the tree stays.
TEST(KsIniLargeTree, ABinaryFileCutShortAfterTheFirstPieceKeepsTheTree) {
  testing::TempDir dir;
  auto ini = MakeIni(dir / "cut.bin");
  ini->SetBinaryMode(true);
  ini->WriteInteger(u"\\K", u"first", 1);
  ini->WriteString(u"\\K", u"long", String(2 * TKsIniByteWindow::kPiece, u'z'));
  ASSERT_TRUE(ini->Save());
  std::vector<std::uint8_t> bytes = ReadBytes(dir / "cut.bin");
  ASSERT_TRUE(ini->Load());
  bytes.resize(bytes.size() - 10);
  WriteBytes(dir / "cut.bin", bytes);
  EXPECT_THROW(ini->Load(), EKsIniError);
  EXPECT_EQ(IntOf(*ini, u"\\K", u"first"), 1);
  EXPECT_TRUE(ini->ValueExists(u"\\K", u"long"));
}

}  // namespace
}  // namespace kestrel::test
