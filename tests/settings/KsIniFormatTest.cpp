// The text and binary file formats: our output byte for byte against hand-made files, what the
// readers make of unusual input, and damaged input.

#include <gtest/gtest.h>

#include <algorithm>

#include "framework/StringList.h"
#include "tests/settings/KsIniTestSupport.h"

namespace kestrel::test {
namespace {

void BuildTextTree(TKsIniFile& ini) {
  ini.WriteInteger(u"", u"top", 1);
  ini.WriteString(u"", u"#3", u"bare line at the root");
  ini.WriteBool(u"\\A", u"flag", true);
  ini.WriteDouble(u"\\A", u"pi", 3.25);
  ini.WriteDouble(u"\\A", u"big", 1e20);
  ini.WriteString(u"\\A\\B", u"x", u"y");
  TStringList list;
  list.Add(u"a");
  list.Add(u"b = c");
  ini.WriteMultiString(u"\\A\\B", u"list", list);
  const std::uint8_t blob[] = {0x00, 0x7F, 0xFF};
  ini.WriteBinary(u"\\A\\B", u"blob", blob, 3);
  ini.WriteString(u"\\A\\B", u"empty", u"");
  ini.WriteInteger(u"\\A\\B", u"neg", INT32_MIN);
}

TEST(KsIniTextFormat, WritesTheHandMadeFileAndReadsItBackUnchanged) {
  testing::TempDir dir;
  const auto file = dir / "out.ini";
  auto ini = MakeIni(file);
  BuildTextTree(*ini);
  ASSERT_TRUE(ini->Save());
  const auto expected = ReadBytes(Fixture("written.ini"));
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(ReadBytes(file), expected);

  auto again = MakeIni(Fixture("written.ini"));
  ASSERT_TRUE(again->Load());
  EXPECT_EQ(again->GetValueType(u"\\A", u"flag"), evtBoolean);
  EXPECT_EQ(again->GetValueType(u"\\A", u"pi"), evtDouble);
  EXPECT_EQ(again->GetValueType(u"\\A", u"big"), evtDouble);
  EXPECT_EQ(again->GetValueType(u"\\A\\B", u"blob"), evtBinary);
  EXPECT_EQ(again->GetValueType(u"\\A\\B", u"neg"), evtInt);
  EXPECT_EQ(again->GetValueType(u"\\A\\B", u"list"), evtMultiString);
  EXPECT_TRUE(again->ValueExists(u"\\", u"#3"));
  again->SetPath(Utf8ToUtf16((dir / "copy.ini").string()));
  ASSERT_TRUE(again->Save());
  EXPECT_EQ(ReadBytes(dir / "copy.ini"), expected);
}

TEST(KsIniTextFormat, SaveOfANestedWriteOnAnEmptyTree) {
  auto ini = MakeIni();
  ini->WriteString(u"\\A\\B", u"x", u"y");
  TMemoryStream stream;
  ini->SaveToStream(stream);  // UTF-8 with its mark by default
  EXPECT_EQ(stream.Bytes(), Bytes("\xEF\xBB\xBF;Automatically generated file. DO NOT MODIFY!!!\r\n"
                                  "\r\n[A]\r\n\r\n[A\\B]\r\nx=y\r\n"));
}

TEST(KsIniTextFormat, TypeDetectionNeedsTheExactCanonicalForm) {
  auto ini = MakeIni();
  LoadBytes(*ini, Bytes("[S]\r\na=0x1F\r\nb=0x1f\r\nc=$FF\r\nd=007\r\ne=1.50\r\nf=TrUe\r\n"
                        "g=2147483648\r\nh=-0\r\n"));
  EXPECT_EQ(ini->GetValueType(u"\\S", u"a"), evtInt);
  std::int32_t v = 0;
  EXPECT_TRUE(ini->ReadInteger(u"\\S", u"a", 0, v));
  EXPECT_EQ(v, 31);
  EXPECT_EQ(ini->GetValueType(u"\\S", u"b"), evtString);
  EXPECT_FALSE(ini->ReadInteger(u"\\S", u"b", 0, v));
  EXPECT_EQ(v, 31);
  EXPECT_EQ(ini->GetValueType(u"\\S", u"c"), evtInt);
  EXPECT_EQ(ini->GetValueType(u"\\S", u"d"), evtString);
  EXPECT_EQ(ini->GetValueType(u"\\S", u"e"), evtString);
  EXPECT_EQ(ini->GetValueType(u"\\S", u"f"), evtBoolean);
  EXPECT_EQ(ini->GetValueType(u"\\S", u"g"), evtDouble);  // beyond 32 bits
  EXPECT_EQ(ini->GetValueType(u"\\S", u"h"), evtString);
}

TEST(KsIniTextFormat, ReaderRules) {
  auto ini = MakeIni();
  ini->SetWarningMessage(u"");
  LoadBytes(*ini, Bytes("; a comment\n"
                        "[S] ; trailing\n"
                        "plain text\n"
                        "q=\"a=b;c\" ; cut here\n"
                        "list[5]=first\n"
                        "list[0]=second\n"
                        "x=1\n"
                        "X=2\n"
                        "[Open\n"
                        "v=w\n"
                        "[Bad\\\\Path]\n"
                        "lost=1\n"
                        "[\\Abs\\Sub]\n"
                        "k=v\n"));
  String s;
  EXPECT_TRUE(ini->ReadString(u"\\S", u"#3", u"", s));
  EXPECT_EQ(s, u"plain text");
  EXPECT_TRUE(ini->ReadString(u"\\S", u"q", u"", s));
  EXPECT_EQ(s, u"\"a=b;c\" ");  // quotes stay; the comment outside them ends the line
  TStringList list;
  EXPECT_TRUE(ini->ReadMultiString(u"\\S", u"list", list));
  EXPECT_EQ(list.Text(), u"first\r\nsecond\r\n");  // file order, not index order
  std::int32_t x = 0;
  ini->ReadInteger(u"\\S", u"x", 0, x);
  EXPECT_EQ(x, 2);  // a later value of the same name replaces the earlier one
  EXPECT_EQ(ini->ValuesCount(u"\\S"), 4);
  EXPECT_TRUE(ini->ValueExists(u"\\Open", u"v"));
  EXPECT_FALSE(ini->ValueExists(u"\\", u"lost"));
  // The path inside the brackets is taken as relative to the root: a leading delimiter makes an
  // empty component, and the section is ignored.
  EXPECT_FALSE(ini->ValueExists(u"\\Abs\\Sub", u"k"));
  // The bare line goes back out as it came in.
  const auto out = SaveBytes(*ini);
  EXPECT_NE(std::string(out.begin(), out.end()).find("\r\nplain text\r\n"), std::string::npos);
}

TEST(KsIniTextFormat, TrimSpacesAndOtherSeparators) {
  auto ini = MakeIni();
  ini->SetTrimSpaces(true);
  ini->SetDivChar(u':');
  ini->SetComment(u"//");
  LoadBytes(*ini, Bytes("  // note\n  [S]  \n  name :  value  // gone\n"));
  String s;
  EXPECT_TRUE(ini->ReadString(u"\\S", u"name", u"", s));
  EXPECT_EQ(s, u"value");
  const auto out = SaveBytes(*ini);
  EXPECT_EQ(std::string(out.begin(), out.end()),
            "//Automatically generated file. DO NOT MODIFY!!!\r\n\r\n[S]\r\nname:value\r\n");
}

TEST(KsIniTextFormat, MalformedBinaryTextNeverAllocatesPastTheText) {
  auto ini = MakeIni();
  LoadBytes(*ini, Bytes("b=454C FFFFFFFF 01 02 zz 03\nc=454C\n"));
  std::int32_t len = 0;
  ini->ReadBinary(u"", u"b", nullptr, len);
  EXPECT_EQ(len, 2);
  ini->ReadBinary(u"", u"c", nullptr, len);
  EXPECT_EQ(len, 0);
}

TEST(KsIniBinaryFormat, WritesTheHandMadeFileAndReadsItBack) {
  auto ini = MakeIni();
  ini->SetBinaryMode(true);
  ini->WriteInteger(u"", u"n", 7);
  ini->WriteString(u"\\A", u"s", u"hi");
  TStringList list;
  list.Add(u"x");
  list.Add(u"yz");
  ini->WriteMultiString(u"\\A\\B", u"m", list);
  ini->WriteDouble(u"\\A\\B", u"d", 1.5);
  ini->WriteBinary(u"\\A\\B", u"b", "\x01\x02", 2);
  ini->WriteBool(u"\\A\\B", u"t", true);
  ini->CreateValue(u"\\A\\B", u"unknown");  // left out
  const auto expected = HexFixture("written.bin.hex");
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(SaveBytes(*ini), expected);

  auto back = MakeIni();
  back->SetBinaryMode(true);
  LoadBytes(*back, expected);
  EXPECT_EQ(SaveBytes(*back), expected);
  double d = 0;
  EXPECT_TRUE(back->ReadDouble(u"\\A\\B", u"d", 0, d));
  EXPECT_EQ(d, 1.5);
}

TEST(KsIniBinaryFormat, ValuesOfAKeyThatCannotBeOpenedAreSkippedByTheirRealExtent) {
  auto ini = MakeIni();
  ini->SetBinaryMode(true);
  LoadBytes(*ini, HexFixture("skipped-key.bin.hex"));
  std::int32_t v = 0;
  EXPECT_TRUE(ini->ReadInteger(u"\\C", u"v", 0, v));
  EXPECT_EQ(v, 42);
  EXPECT_EQ(ini->ValuesCount(u"\\X"), 0);  // the reachable part of the path holds nothing
  EXPECT_FALSE(ini->ValueExists(u"\\", u"s"));
}

TEST(KsIniBinaryFormat, DamagedDataRaisesAndLoadKeepsTheTree) {
  std::vector<std::size_t> recordEnds;
  const auto good = HexFixture("written.bin.hex", &recordEnds);
  testing::TempDir dir;
  // Every cut through the file: one at a record boundary is a shorter valid file, any other
  // is damaged.
  for (std::size_t cut = 1; cut < good.size(); ++cut) {
    WriteBytes(dir / "d.bin", {good.begin(), good.begin() + static_cast<std::ptrdiff_t>(cut)});
    auto ini = MakeIni(dir / "d.bin");
    ini->SetBinaryMode(true);
    ini->WriteInteger(u"\\Keep", u"v", 1);
    bool after = false;
    ini->SetOnAfterLoad([&](TObject*) { after = true; });
    const bool boundary = std::find(recordEnds.begin(), recordEnds.end(), cut) != recordEnds.end();
    if (boundary) {
      EXPECT_TRUE(ini->Load()) << cut;
      EXPECT_FALSE(ini->ValueExists(u"\\Keep", u"v")) << cut;
    } else {
      EXPECT_THROW(ini->Load(), EKsIniError) << cut;
      EXPECT_TRUE(ini->ValueExists(u"\\Keep", u"v")) << cut;
    }
    EXPECT_TRUE(after) << cut;
    ini->SetPath(u"");
  }
  for (const std::string& bytes : {std::string("\x01\xFF\xFF\xFF\xFF", 5),                       // huge count
                                   std::string("\x00\x00\x00\x00\x00\x02\x05\x00\x00\x00", 10),  // size 5
                                   std::string("\x07", 1),  // unknown record marker
                                   std::string("\x00\x00\x00\x00\x00\x05\x03\x00\x00\x00", 10)}) {  // < 4
    auto ini = MakeIni();
    ini->SetBinaryMode(true);
    EXPECT_THROW(LoadBytes(*ini, Bytes(bytes)), EKsIniError);
  }
}

TEST(KsIniFormat, LoadCreatesAMissingFileAndStopsAtAZeroByte) {
  testing::TempDir dir;
  auto ini = MakeIni(dir / "new.ini");
  EXPECT_TRUE(ini->Load());
  EXPECT_TRUE(std::filesystem::exists(dir / "new.ini"));
  WriteBytes(dir / "z.ini", Bytes(std::string("a=1\n\0b=2\n", 9)));
  auto z = MakeIni(dir / "z.ini");
  ASSERT_TRUE(z->Load());
  EXPECT_TRUE(z->ValueExists(u"", u"a"));
  EXPECT_FALSE(z->ValueExists(u"", u"b"));
  auto none = MakeIni();
  EXPECT_FALSE(none->Load());
  EXPECT_FALSE(none->Save());
}

}  // namespace
}  // namespace kestrel::test

namespace kestrel::test {
namespace {

TEST(KsIniFormat, AKeyAndAValueOfTheSameNameBothSurviveARoundTrip) {
  for (bool binary : {false, true}) {
    auto ini = MakeIni();
    ini->SetBinaryMode(binary);
    ini->WriteInteger(u"\\S\\twin", u"inner", 1);
    ini->WriteInteger(u"\\S", u"twin", 2);
    auto back = MakeIni();
    back->SetBinaryMode(binary);
    LoadBytes(*back, SaveBytes(*ini));
    std::int32_t v = 0;
    EXPECT_TRUE(back->ReadInteger(u"\\S", u"twin", 0, v)) << binary;
    EXPECT_EQ(v, 2);
    EXPECT_TRUE(back->ReadInteger(u"\\S\\twin", u"inner", 0, v)) << binary;
    EXPECT_EQ(v, 1);
    EXPECT_EQ(SaveBytes(*back), SaveBytes(*ini));
  }
}

}  // namespace
}  // namespace kestrel::test

namespace kestrel::test {
namespace {

TEST(KsIniTextFormat, AWideStringIsStoredAsItsUtf8BytesOnce) {
  testing::TempDir dir;
  auto ini = MakeIni(dir / "w.ini");
  ini->SetWarningMessage(u"");
  const String text = u"Grüße € \U0001F600";
  ASSERT_TRUE(ini->WriteWideString(u"\\W", u"w", text));
  ASSERT_TRUE(ini->Save());
  const auto expected = HexFixture("wide-string.ini.hex");
  ASSERT_FALSE(expected.empty());
  EXPECT_EQ(ReadBytes(dir / "w.ini"), expected);

  WriteBytes(dir / "peer.ini", expected);
  auto peer = MakeIni(dir / "peer.ini");
  ASSERT_TRUE(peer->Load());
  String back;
  EXPECT_TRUE(peer->ReadWideString(u"\\W", u"w", u"", back));
  EXPECT_EQ(back, text);
}

TEST(KsIniTextFormat, AWindows1252FileLoadsAndSavesWithoutLoss) {
  testing::TempDir dir;
  WriteBytes(dir / "peer.ini", HexFixture("cp1252.ini.hex"));
  auto ini = MakeIni(dir / "peer.ini");
  ini->SetWarningMessage(u"");
  ASSERT_TRUE(ini->Load());
  const std::pair<const char16_t*, const char16_t*> expected[] = {{u"Stadt", u"Köln"},
                                                                  {u"Preis", u"5€"},
                                                                  {u"Zeichen", u"\u201E\u0178\u0081"},
                                                                  {u"Utf", u"Grüße"},  // a line in UTF-8 stays UTF-8
                                                                  {u"Größe", u"1"}};
  for (const auto& [name, value] : expected) {
    String text;
    EXPECT_TRUE(ini->ReadString(u"\\Ort", name, u"", text)) << Utf16ToUtf8(name);
    EXPECT_EQ(text, value) << Utf16ToUtf8(name);
  }
  ASSERT_TRUE(ini->Save());
  const auto saved = HexFixture("cp1252-saved.ini.hex");
  ASSERT_FALSE(saved.empty());
  EXPECT_EQ(ReadBytes(dir / "peer.ini"), saved);
  ASSERT_TRUE(ini->Load());
  ASSERT_TRUE(ini->Save());
  EXPECT_EQ(ReadBytes(dir / "peer.ini"), saved);
}

}  // namespace
}  // namespace kestrel::test
