#include <gtest/gtest.h>

#include "framework/Encoding.h"
#include "framework/Exceptions.h"
#include "framework/MemoryStream.h"
#include "framework/StringList.h"
#include "framework/SysUtils.h"
#include "tests/support/TestEnvironment.h"

namespace kestrel {
namespace {

std::vector<String> Items(const TStrings& s) { return s.ToStringArray(); }

TEST(StringList, SortedAddFindAndDuplicatePolicies) {
  TStringList list;
  list.SetSorted(true);
  list.Add(u"pear");
  list.Add(u"Apple");
  list.Add(u"banana");
  EXPECT_EQ(Items(list), (std::vector<String>{u"Apple", u"banana", u"pear"}));

  int index = -1;
  EXPECT_TRUE(list.Find(u"BANANA", index));  // case-insensitive by default
  EXPECT_EQ(index, 1);
  EXPECT_FALSE(list.Find(u"cherry", index));
  EXPECT_EQ(index, 2);  // insertion point
  EXPECT_FALSE(list.Find(u"zzz", index));
  EXPECT_EQ(index, 3);

  EXPECT_EQ(list.Add(u"PEAR"), 2);  // dupIgnore: the existing index, nothing added
  EXPECT_EQ(list.Count(), 3);

  list.SetDuplicates(dupError);
  try {
    list.Add(u"apple");
    FAIL() << "duplicate accepted";
  } catch (const EStringListError& e) {
    EXPECT_EQ(e.Message(), u"String list does not allow duplicates");
  }
  list.SetDuplicates(dupAccept);
  list.Add(u"apple");
  EXPECT_EQ(list.Count(), 4);
  EXPECT_TRUE(list.Find(u"APPLE", index));

  EXPECT_THROW(list.Insert(0, u"x"), EStringListError);
  EXPECT_THROW(list.SetStrings(0, u"x"), EStringListError);

  list.SetCaseSensitive(true);  // re-sorts ordinally: capitals first
  EXPECT_EQ(list.Strings(0), u"Apple");
  EXPECT_TRUE(list.Find(u"apple", index));
  EXPECT_EQ(list.Strings(index), u"apple");
}

TEST(StringList, FindReturnsTheFirstOfAcceptedDuplicates) {
  TStringList list;
  list.SetDuplicates(dupAccept);
  list.SetSorted(true);
  for (const char16_t* s : {u"b", u"a", u"b", u"b", u"c", u"b"}) list.Add(s);
  int index = -1;
  ASSERT_TRUE(list.Find(u"b", index));
  EXPECT_EQ(index, 1);
  list.SetDuplicates(dupIgnore);  // any match will do then
  ASSERT_TRUE(list.Find(u"b", index));
  EXPECT_EQ(list.Strings(index), u"b");
}

TEST(StringList, IndexErrorsCarryTheIndex) {
  TStringList list;
  list.Add(u"a");
  try {
    (void)list.Strings(5);
    FAIL();
  } catch (const EListError& e) {
    EXPECT_EQ(e.Message(), u"List index out of bounds (5)");
    EXPECT_EQ(e.ClassName(), u"EStringListError");
    EXPECT_STREQ(e.what(), "List index out of bounds (5)");
  }
  EXPECT_THROW(list.Delete(-1), EStringListError);
  EXPECT_THROW(list.Insert(2, u"x"), EStringListError);
  EXPECT_THROW(list.Exchange(0, 1), EStringListError);
}

TEST(StringList, ChangeEventsAreBracketedByUpdates) {
  TStringList list;
  int changing = 0;
  int changed = 0;
  list.SetOnChanging([&](TObject* sender) {
    EXPECT_EQ(sender, &list);
    ++changing;
  });
  list.SetOnChange([&](TObject*) { ++changed; });
  list.Add(u"a");
  EXPECT_EQ(changing, 1);
  EXPECT_EQ(changed, 1);
  list.BeginUpdate();
  list.BeginUpdate();
  list.Add(u"b");
  list.Add(u"c");
  list.EndUpdate();
  EXPECT_EQ(changed, 1);
  list.EndUpdate();
  EXPECT_EQ(changing, 2);
  EXPECT_EQ(changed, 2);
  list.SetText(u"x\r\ny");  // one bracket for the whole text
  EXPECT_EQ(changed, 3);
  list.EndUpdate();  // unbalanced: ignored
  EXPECT_EQ(list.UpdateCount(), 0);
}

TEST(StringList, CustomSortAndSortSurviveInconsistentComparisons) {
  TStringList list;
  list.SetCommaText(u"d,b,a,c,e");
  list.CustomSort([](TStringList& l, int a, int b) { return -CompareStr(l[a], l[b]); });
  EXPECT_EQ(list.CommaText(), u"e,d,c,b,a");
  for (int i = 0; i < 200; ++i) list.Add(IntToStr(i % 17));
  // A comparison that lies must not run the sort off the list.
  list.CustomSort([](TStringList&, int, int) { return -1; });
  list.CustomSort([](TStringList&, int, int) { return 1; });
  EXPECT_EQ(list.Count(), 205);
}

struct Tracked : TObject {
  explicit Tracked(int& counter) : counter_(counter) {}
  ~Tracked() override { ++counter_; }
  int& counter_;
};

TEST(StringList, OwnedObjectsAreFreedOnDeleteClearAndDestruction) {
  int freed = 0;
  {
    TStringList list(true);
    list.AddObject(u"a", new Tracked(freed));
    list.AddObject(u"b", new Tracked(freed));
    list.AddObject(u"c", new Tracked(freed));
    list.Delete(0);
    EXPECT_EQ(freed, 1);
    list.Move(0, 1);  // moving must not free
    EXPECT_EQ(freed, 1);
    EXPECT_EQ(list.Strings(1), u"b");
    EXPECT_NE(list.Objects(1), nullptr);
  }
  EXPECT_EQ(freed, 3);
}

// A list that keeps its items elsewhere, as an editor's text store does: only the item access is
// overridden, and everything else of the list must go through it.
class TUpperStore : public TStringList {
 public:
  std::vector<String> items;

 protected:
  String Get(int index) const override { return items.at(static_cast<std::size_t>(index)); }
  int GetCount() const override { return static_cast<int>(items.size()); }
  void Put(int index, const String& s) override { items.at(static_cast<std::size_t>(index)) = UpperCase(s); }
  TObject* GetObject(int) const override { return nullptr; }
  void PutObject(int, TObject*) override {}

 public:
  void Insert(int index, const String& s) override {
    items.insert(items.begin() + index, UpperCase(s));
    Changed();
  }
  void Delete(int index) override { items.erase(items.begin() + index); }
  void Clear() override { items.clear(); }
};

TEST(StringList, DescendantsWithTheirOwnStorageOnlyOverrideItemAccess) {
  TUpperStore store;
  int changes = 0;
  store.SetOnChange([&](TObject*) { ++changes; });
  EXPECT_EQ(store.Add(u"one"), 0);
  store.AddObject(u"two", nullptr);
  TStringList more;
  more.SetCommaText(u"three,four");
  store.AddStrings(more);
  store.SetText(store.Text() + u"five");
  EXPECT_EQ(store.items, (std::vector<String>{u"ONE", u"TWO", u"THREE", u"FOUR", u"FIVE"}));
  EXPECT_EQ(store.CommaText(), u"ONE,TWO,THREE,FOUR,FIVE");
  EXPECT_EQ(store.IndexOf(u"four"), 3);
  EXPECT_EQ(changes, 4);  // Add, AddObject, and one per bracket
  // The binary search runs over the descendant's items, with ordinal comparison on demand.
  store.items = {u"A", u"C", u"E", u"a"};
  store.SetCaseSensitive(true);
  int index = -1;
  EXPECT_TRUE(store.Find(u"C", index));
  EXPECT_EQ(index, 1);
  EXPECT_FALSE(store.Find(u"D", index));
  EXPECT_EQ(index, 2);
  EXPECT_TRUE(store.Find(u"a", index));
  EXPECT_EQ(index, 3);
}

TEST(Strings, TextSplitsAtEveryBreakKindAndJoinsWithLineBreak) {
  TStringList list;
  list.SetText(u"a\rb\nc\r\nd\n\re");
  EXPECT_EQ(Items(list), (std::vector<String>{u"a", u"b", u"c", u"d", u"", u"e"}));
  list.SetText(u"one\r\n");
  EXPECT_EQ(list.Count(), 1);
  list.SetText(u"\r\n");
  EXPECT_EQ(Items(list), (std::vector<String>{u""}));
  list.SetText(u"");
  EXPECT_EQ(list.Count(), 0);
  list.SetText(u"x\ny");
  EXPECT_EQ(list.Text(), u"x\r\ny\r\n");
  list.SetTrailingLineBreak(false);
  list.SetLineBreak(u"\n");
  EXPECT_EQ(list.Text(), u"x\ny");
}

TEST(Strings, CommaTextQuotingRoundTrips) {
  TStringList list;
  list.Add(u"plain");
  list.Add(u"with space");
  list.Add(u"comma,inside");
  list.Add(u"quote\"inside");
  list.Add(u"");
  list.Add(u"tab\there");
  String text = list.CommaText();
  EXPECT_EQ(text, u"plain,\"with space\",\"comma,inside\",\"quote\"\"inside\",,\"tab\there\"");
  TStringList back;
  back.SetCommaText(text);
  EXPECT_TRUE(back.Equals(list));

  TStringList single;
  single.Add(u"");
  EXPECT_EQ(single.CommaText(), u"\"\"");
  back.SetCommaText(single.CommaText());
  EXPECT_EQ(back.Count(), 1);

  back.SetCommaText(u"  a b , c,");  // blanks separate too; a trailing comma adds an empty item
  EXPECT_EQ(Items(back), (std::vector<String>{u"a", u"b", u"c", u""}));
  back.SetCommaText(u"\"unterminated, text");
  EXPECT_EQ(Items(back), (std::vector<String>{u"unterminated, text"}));
}

TEST(Strings, DelimitedTextHonoursDelimiterQuoteAndStrictness) {
  TStringList list;
  list.SetDelimiter(u';');
  list.SetQuoteChar(u'\'');
  list.SetStrictDelimiter(true);
  list.SetDelimitedText(u"a b;'c;d';e");
  EXPECT_EQ(Items(list), (std::vector<String>{u"a b", u"c;d", u"e"}));
  EXPECT_EQ(list.DelimitedText(), u"a b;'c;d';e");
  // CommaText ignores the list's own settings.
  EXPECT_EQ(list.CommaText(), u"\"a b\",c;d,e");
}

TEST(Strings, NameValuePairs) {
  TStringList list;
  list.SetText(u"Width=10\nname=Kestrel\nnoseparator\nEmpty=");
  EXPECT_EQ(list.Values(u"NAME"), u"Kestrel");
  EXPECT_EQ(list.Names(0), u"Width");
  EXPECT_EQ(list.Names(2), u"");
  EXPECT_EQ(list.ValueFromIndex(3), u"");
  EXPECT_EQ(list.IndexOfName(u"empty"), 3);
  list.SetValues(u"Width", u"20");
  EXPECT_EQ(list.Strings(0), u"Width=20");
  list.SetValues(u"Height", u"5");
  EXPECT_EQ(list.Strings(4), u"Height=5");
  list.SetValues(u"width", u"");  // empty deletes
  EXPECT_EQ(list.IndexOfName(u"Width"), -1);
  list.SetNameValueSeparator(u':');
  list.Add(u"a:b=c");
  EXPECT_EQ(list.Values(u"a"), u"b=c");
}

TEST(Strings, AssignCopiesItemsObjectsAndSettingsAndRejectsStrangers) {
  TStringList a;
  TObject marker;
  a.AddObject(u"x", &marker);
  a.SetDelimiter(u'|');
  TStringList b;
  b.Add(u"old");
  b.Assign(a);
  EXPECT_TRUE(b.Equals(a));
  EXPECT_EQ(b.Objects(0), &marker);
  EXPECT_EQ(b.Delimiter(), u'|');
  b.AddStrings(b);  // self: doubles once, does not loop
  EXPECT_EQ(b.Count(), 2);

  TPersistent plain;
  try {
    plain.Assign(b);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), u"Cannot assign a TStringList to a TPersistent");
  }
  try {
    b.Assign(nullptr);
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), u"Cannot assign a nil to a TStringList");
  }
}

TEST(Strings, ExchangeMoveAndIndexOfOnUnsortedList) {
  TStringList list;
  list.SetCommaText(u"a,b,c,d");
  list.Exchange(0, 3);
  list.Move(1, 2);
  EXPECT_EQ(list.CommaText(), u"d,c,b,a");
  EXPECT_EQ(list.IndexOf(u"C"), 1);
  EXPECT_EQ(list.IndexOf(u"zz"), -1);
}

TEST(Strings, SaveAndLoadWithEncodingsAndByteOrderMarks) {
  testing::TempDir dir;
  String path = Utf8ToUtf16((dir / "lines.txt").string());
  TStringList list;
  list.Add(u"Grüße");
  list.Add(u"\U0001F600 smile");

  list.SaveToFile(path);  // default: UTF-8 without a mark
  TMemoryStream raw;
  raw.LoadFromFile(path);
  ASSERT_GE(raw.Size(), 3);
  EXPECT_NE(raw.Memory()[0], 0xEF);
  TStringList back;
  back.LoadFromFile(path);
  EXPECT_TRUE(back.Equals(list));

  for (const TEncoding* enc : {&TEncoding::UTF8(), &TEncoding::Unicode(), &TEncoding::BigEndianUnicode()}) {
    list.SaveToFile(path, enc);
    TStringList reread;
    reread.LoadFromFile(path);  // the mark tells the encoding
    EXPECT_TRUE(reread.Equals(list)) << Utf16ToUtf8(enc->EncodingName());
    EXPECT_EQ(reread.Encoding(), enc);
    // Saving again keeps the encoding it was loaded with.
    TMemoryStream again;
    reread.SaveToStream(again);
    auto mark = enc->GetPreamble();
    ASSERT_GE(again.Size(), static_cast<std::int64_t>(mark.size()));
    EXPECT_TRUE(std::equal(mark.begin(), mark.end(), again.Memory()));
  }
}

}  // namespace
}  // namespace kestrel
