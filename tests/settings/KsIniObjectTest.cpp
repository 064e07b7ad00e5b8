// Whole objects through their published properties: every stored kind, sub-objects, string
// lists, collections, owned components, and links that lead back.

#include <gtest/gtest.h>

#include "framework/Collection.h"
#include "framework/StringList.h"
#include "framework/SysUtils.h"
#include "framework/TypeInfo.h"
#include "tests/settings/KsIniTestSupport.h"

namespace kestrel::test {

enum TPrefShape { psRound, psSquare, psStar };

const TEnumInfo& PrefShapeInfo() {
  static const TEnumInfo info(u"TPrefShape", {u"psRound", u"psSquare", u"psStar"});
  return info;
}

class TPrefFont : public TPersistent {
  KESTREL_CLASS(TPrefFont)
  TPrefFont() = default;
  int Size() const { return size_; }
  void SetSize(int v) { size_ = v; }

 private:
  int size_ = 8;
};

class TPrefItem : public TCollectionItem {
  KESTREL_CLASS(TPrefItem)
  explicit TPrefItem(TCollection* c) : TCollectionItem(c) {}
  const String& Text() const { return text_; }
  void SetText(const String& v) { text_ = v; }

 private:
  String text_;
};

class TPrefs : public TComponent {
  KESTREL_CLASS(TPrefs)
  explicit TPrefs(TComponent* owner) : TComponent(owner), items_(TCollection::ItemClass<TPrefItem>(), this) {}

  int Width() const { return width_; }
  void SetWidth(int v) { width_ = v; }
  bool Visible() const { return visible_; }
  void SetVisible(bool v) { visible_ = v; }
  TPrefShape Shape() const { return shape_; }
  void SetShape(TPrefShape v) { shape_ = v; }
  double Ratio() const { return ratio_; }
  void SetRatio(double v) { ratio_ = v; }
  char16_t Accel() const { return accel_; }
  void SetAccel(char16_t v) { accel_ = v; }
  std::uint8_t Small() const { return small_; }
  void SetSmall(std::uint8_t v) { small_ = v; }
  const AnsiString& Url() const { return url_; }
  void SetUrl(const AnsiString& v) { url_ = v; }
  const String& Title() const { return title_; }
  void SetTitle(const String& v) { title_ = v; }
  const String& Note() const { return note_; }
  void SetNote(const String& v) { note_ = v; }
  TStringList* Lines() const { return const_cast<TStringList*>(&lines_); }
  TPrefFont* Font() const { return const_cast<TPrefFont*>(&font_); }
  TCollection* Items() const { return const_cast<TCollection*>(&items_); }
  TPrefs* Buddy() const { return buddy_; }
  void SetBuddy(TPrefs* v) { buddy_ = v; }

 private:
  int width_ = 100;
  bool visible_ = true;
  TPrefShape shape_ = psRound;
  double ratio_ = 0;
  char16_t accel_ = u'&';
  std::uint8_t small_ = 0;
  AnsiString url_;
  String title_;
  String note_;
  TStringList lines_;
  TPrefFont font_;
  TCollection items_;
  TPrefs* buddy_ = nullptr;
};

KESTREL_IMPLEMENT_PUBLISHED_CLASS(TPrefFont, TPersistent)
void TPrefFont::PublishProperties(TClassBuilder<TPrefFont>& b) {
  b.Property(u"Size", &TPrefFont::Size, &TPrefFont::SetSize);
}

KESTREL_IMPLEMENT_PUBLISHED_CLASS(TPrefItem, TCollectionItem)
void TPrefItem::PublishProperties(TClassBuilder<TPrefItem>& b) {
  b.Property(u"Text", &TPrefItem::Text, &TPrefItem::SetText).Kind(tkWString);
}

KESTREL_IMPLEMENT_PUBLISHED_CLASS(TPrefs, TComponent)
void TPrefs::PublishProperties(TClassBuilder<TPrefs>& b) {
  b.Property(u"Width", &TPrefs::Width, &TPrefs::SetWidth);
  b.Property(u"Visible", &TPrefs::Visible, &TPrefs::SetVisible);
  b.Enum(u"Shape", &TPrefs::Shape, &TPrefs::SetShape, PrefShapeInfo());
  b.Property(u"Ratio", &TPrefs::Ratio, &TPrefs::SetRatio);
  b.Property(u"Accel", &TPrefs::Accel, &TPrefs::SetAccel);
  b.Property(u"Small", &TPrefs::Small, &TPrefs::SetSmall);
  b.Property(u"Url", &TPrefs::Url, &TPrefs::SetUrl);
  b.Property(u"Title", &TPrefs::Title, &TPrefs::SetTitle).Kind(tkWString);
  b.Property(u"Note", &TPrefs::Note, &TPrefs::SetNote);  // a Unicode string: not stored
  b.Object(u"Lines", &TPrefs::Lines, nullptr);
  b.Object(u"Font", &TPrefs::Font, nullptr);
  b.Object(u"Items", &TPrefs::Items, nullptr);
  b.Object(u"Buddy", &TPrefs::Buddy, &TPrefs::SetBuddy);
}

namespace {

void Fill(TPrefs& p) {
  p.SetWidth(-42);
  p.SetVisible(false);
  p.SetShape(psStar);
  p.SetRatio(1.0 / 3.0);
  p.SetAccel(u'Q');
  p.SetUrl("http://example.invalid/x");
  p.SetTitle(u"Größe");
  p.SetNote(u"not stored");
  p.Lines()->Add(u"l1");
  p.Lines()->Add(u"l2");
  p.Font()->SetSize(12);
  static_cast<TPrefItem*>(p.Items()->Add())->SetText(u"first");
  static_cast<TPrefItem*>(p.Items()->Add())->SetText(u"second");
}

TEST(KsIniObjects, RoundTripOfEveryStoredKindInTextAndBinaryFiles) {
  for (bool binary : {false, true}) {
    testing::TempDir dir;
    const auto file = dir / "objects";
    TPrefs source(nullptr);
    Fill(source);
    auto inner = new TPrefs(&source);
    inner->SetWidth(7);
    source.SetBuddy(&source);  // a link back to itself is not followed again
    {
      auto ini = MakeIni(file);
      ini->SetBinaryMode(binary);
      ASSERT_TRUE(ini->WriteObject(u"\\Obj", &source));
      EXPECT_EQ(ini->CurrentKey(), u"\\");
      ASSERT_TRUE(ini->Save());
    }
    auto ini = MakeIni(file);
    ini->SetBinaryMode(binary);
    ASSERT_TRUE(ini->Load());
    std::int32_t len = 0;
    ini->ReadBinary(u"\\Obj", u"Ratio", nullptr, len);
    EXPECT_EQ(len, 10);  // extended precision
    String cls;
    EXPECT_TRUE(ini->ReadString(u"\\Obj\\Item{0}", u"ClsNm", u"", cls));
    EXPECT_EQ(cls, u"TPrefs");
    EXPECT_FALSE(ini->ValueExists(u"\\Obj", u"Note"));

    TPrefs target(nullptr);
    auto innerTarget = new TPrefs(&target);
    static_cast<TPrefItem*>(target.Items()->Add())->SetText(u"old");
    ASSERT_TRUE(ini->ReadObject(u"\\Obj", &target));
    EXPECT_EQ(target.Width(), -42);
    EXPECT_FALSE(target.Visible());
    EXPECT_EQ(target.Shape(), psStar);
    EXPECT_EQ(target.Ratio(), 1.0 / 3.0);
    EXPECT_EQ(target.Accel(), u'Q');
    EXPECT_EQ(target.Url(), "http://example.invalid/x");
    EXPECT_EQ(target.Title(), u"Größe");
    EXPECT_EQ(target.Note(), u"");
    EXPECT_EQ(target.Lines()->Text(), u"l1\r\nl2\r\n");
    EXPECT_EQ(target.Font()->Size(), 12);
    ASSERT_EQ(target.Items()->Count(), 2);
    EXPECT_EQ(static_cast<TPrefItem*>(target.Items()->Items(1))->Text(), u"second");
    EXPECT_EQ(innerTarget->Width(), 7);
    (void)inner;
  }
}

TEST(KsIniObjects, OutOfRangeValuesAndMissingKeysLeaveTheObjectAlone) {
  auto ini = MakeIni();
  ini->WriteInteger(u"\\O", u"Small", 300);  // beyond the byte behind the property
  ini->WriteInteger(u"\\O", u"Width", 5);
  ini->WriteBinary(u"\\O", u"Ratio", "\x01\x02\x03", 3);  // not 10 bytes: ignored
  TPrefs p(nullptr);
  p.SetRatio(2.5);
  EXPECT_TRUE(ini->ReadObject(u"\\O", &p));
  EXPECT_EQ(p.Small(), 0);
  EXPECT_EQ(p.Width(), 5);
  EXPECT_EQ(p.Ratio(), 2.5);
  EXPECT_FALSE(ini->ReadObject(u"\\Missing", &p));
  EXPECT_FALSE(ini->KeyExists(u"\\Missing"));
  EXPECT_FALSE(ini->WriteObject(u"\\X", nullptr));
}

TEST(KsIniObjects, RegistryModeStoresObjectsToo) {
  auto ini = MakeIni();
  ini->SetUseRegistry(true);
  ini->SetPath(u"\\SOFTWARE\\KestrelTest\\Objects");
  TPrefs source(nullptr);
  Fill(source);
  ASSERT_TRUE(ini->WriteObject(u"\\P", &source));
  TPrefs target(nullptr);
  ASSERT_TRUE(ini->ReadObject(u"\\P", &target));
  EXPECT_EQ(target.Width(), -42);
  EXPECT_EQ(target.Ratio(), 1.0 / 3.0);
  EXPECT_EQ(target.Title(), u"Größe");
  EXPECT_EQ(target.Lines()->Count(), 2);
  EXPECT_EQ(target.Items()->Count(), 2);
}

}  // namespace
}  // namespace kestrel::test
