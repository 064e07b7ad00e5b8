#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "controls/KsPanel.h"
#include "controls/KsStyleManager.h"
#include "controls/KsStyleMgrChangeLink.h"
#include "controls/KsXPThemedControl.h"
#include "framework/Bitmap.h"
#include "framework/Exceptions.h"
#include "framework/Font.h"
#include "framework/Label.h"
#include "framework/MemoryStream.h"
#include "framework/PopupMenu.h"
#include "framework/Reader.h"
#include "framework/StringList.h"
#include "framework/TypeInfo.h"
#include "framework/Writer.h"
#include "settings/KsIniFile.h"
#include "tests/controls/ControlTestSupport.h"
#include "tests/support/GoldenImage.h"
#include "tests/support/TestEnvironment.h"

namespace kestrel {

enum TStyledKind { skPlain, skBold, skLoud };
using TStyledKinds = TEnumSet<TStyledKind>;

const TEnumInfo& StyledKindInfo() {
  static const TEnumInfo info(u"TStyledKind", {u"skPlain", u"skBold", u"skLoud"});
  return info;
}

// A component with a property of every kind a style value can reach.
class TStyledThing : public TComponent {
  KESTREL_CLASS(TStyledThing)
  explicit TStyledThing(TComponent* owner) : TComponent(owner) {}
  bool Flag() const { return flag_; }
  void SetFlag(bool v) { flag_ = v; }
  int Count() const { return count_; }
  void SetCount(int v) { count_ = v; }
  std::uint8_t Small() const { return small_; }
  void SetSmall(std::uint8_t v) { small_ = v; }
  TColor Shade() const { return shade_; }
  void SetShade(TColor v) { shade_ = v; }
  TStyledKind Kind() const { return kind_; }
  void SetKind(TStyledKind v) { kind_ = v; }
  TStyledKinds Kinds() const { return kinds_; }
  void SetKinds(TStyledKinds v) { kinds_ = v; }
  AnsiString Narrow() const { return narrow_; }
  void SetNarrow(AnsiString v) { narrow_ = v; }
  const String& Wide() const { return wide_; }
  void SetWide(const String& v) { wide_ = v; }
  const String& Title() const { return title_; }
  void SetTitle(const String& v) { title_ = v; }
  char16_t Letter() const { return letter_; }
  void SetLetter(char16_t v) { letter_ = v; }
  double Ratio() const { return ratio_; }
  void SetRatio(double v) { ratio_ = v; }
  TStringList* Lines() const { return lines_.get(); }
  TBitmap* Picture() const { return picture_.get(); }
  TFont* Extra() const { return extra_.get(); }  // none until asked for
  void MakeExtra() { extra_ = std::make_unique<TFont>(); }

 private:
  bool flag_ = false;
  int count_ = 0;
  std::uint8_t small_ = 0;
  TColor shade_ = clBlack;
  TStyledKind kind_ = skPlain;
  TStyledKinds kinds_;
  AnsiString narrow_;
  String wide_, title_;
  char16_t letter_ = u'a';
  double ratio_ = 0;
  std::unique_ptr<TStringList> lines_ = std::make_unique<TStringList>();
  std::unique_ptr<TBitmap> picture_ = std::make_unique<TBitmap>();
  std::unique_ptr<TFont> extra_;
};

KESTREL_IMPLEMENT_PUBLISHED_CLASS(TStyledThing, TComponent)

void TStyledThing::PublishProperties(TClassBuilder<TStyledThing>& b) {
  using T = TStyledThing;
  b.Property(u"Flag", &T::Flag, &T::SetFlag);
  b.Property(u"Count", &T::Count, &T::SetCount);
  b.Property(u"Small", &T::Small, &T::SetSmall);
  b.Property(u"Shade", &T::Shade, &T::SetShade).TypeName(u"TColor");
  b.Enum(u"Kind", &T::Kind, &T::SetKind, StyledKindInfo());
  b.Set(u"Kinds", &T::Kinds, &T::SetKinds, StyledKindInfo());
  b.Property(u"Narrow", &T::Narrow, &T::SetNarrow);
  b.Property(u"Wide", &T::Wide, &T::SetWide).Kind(tkWString);
  b.Property(u"Title", &T::Title, &T::SetTitle);  // the Unicode string kind
  b.Property(u"Letter", &T::Letter, &T::SetLetter);
  b.Property(u"Ratio", &T::Ratio, &T::SetRatio);
  b.Object(u"Lines", &T::Lines, nullptr);
  b.Object(u"Picture", &T::Picture, nullptr);
  b.Object(u"Extra", &T::Extra, nullptr);
}

namespace {

using testing::ShownForm;

TKsIniFile& Sheet(TKsStyleManager& m) { return *m.Styles(); }

std::vector<String> Names(TStrings& list) { return list.ToStringArray(); }

std::vector<String> StyleNames(TKsStyleManager& m) {
  TStringList names;
  m.GetStyleNames(names);
  return Names(names);
}

std::vector<std::uint8_t> SheetBytes(TKsStyleManager& m) {
  TMemoryStream stream;
  m.SaveToStream(stream);
  return {stream.Memory(), stream.Memory() + stream.Size()};
}

std::filesystem::path SheetFile(const char* name) {
  return std::filesystem::path(KESTREL_TEST_SOURCE_DIR) / "../data/styles" / name;
}

int DifferingPixels(cairo_surface_t* a, cairo_surface_t* b) {
  cairo_surface_flush(a);
  cairo_surface_flush(b);
  const int w = cairo_image_surface_get_width(a), h = cairo_image_surface_get_height(a);
  int n = 0;
  for (int y = 0; y < h; ++y) {
    const auto* ra =
        reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(a) + y * cairo_image_surface_get_stride(a));
    const auto* rb =
        reinterpret_cast<const std::uint32_t*>(cairo_image_surface_get_data(b) + y * cairo_image_surface_get_stride(b));
    for (int x = 0; x < w; ++x) n += (ra[x] & 0xFFFFFF) != (rb[x] & 0xFFFFFF);
  }
  return n;
}

TEST(StyleManager, ADefaultColourNameColoursEveryClass) {
  TKsStyleManager m(nullptr);
  Sheet(m).WriteString(u"\\(Default)", u"Color", u"clRed");
  Sheet(m).WriteString(u"\\(Default)", u"Shade", u"clRed");
  TKsPanel panel(nullptr);
  TStyledThing thing(nullptr);
  m.ApplyStyle(&panel, u"");
  m.ApplyStyle(&thing, u".Missing");
  EXPECT_EQ(panel.Color(), clRed);
  EXPECT_EQ(thing.Shade(), clRed);
  EXPECT_EQ(StyleNames(m), (std::vector<String>{u"(Default)"}));  // nothing left behind
}

TEST(StyleManager, NamedStylesLayOverTheClassStyleOnlyWithTheirDot) {
  TKsStyleManager m(nullptr);
  Sheet(m).WriteInteger(u"\\TKsPanel", u"Color", 255);
  Sheet(m).WriteInteger(u"\\.Dark", u"Color", 0);
  Sheet(m).WriteString(u"\\.Dark", u"InheritsFrom", u"TKsPanel");
  Sheet(m).WriteInteger(u"\\(Default)", u"Color", 0x00FF00);
  Sheet(m).WriteInteger(u"\\(Default)", u"Width", 77);
  TKsPanel panel(nullptr);
  m.ApplyStyle(&panel, u".Dark");
  EXPECT_EQ(panel.Color(), 0);
  EXPECT_EQ(panel.Width(), 77);  // "(Default)" comes first in every chain
  m.ApplyStyle(&panel, u"Dark");
  EXPECT_EQ(panel.Color(), 255);
  EXPECT_EQ(m.GetAncestorStyle(u".Dark"), u"TKsPanel");
  EXPECT_EQ(m.GetAncestorStyle(u"TKsPanel"), u"");
}

TEST(StyleManager, StylesNamingEachOtherAsParentMergeOnceEach) {
  TKsStyleManager m(nullptr);
  Sheet(m).WriteString(u"\\.A", u"InheritsFrom", u".B");
  Sheet(m).WriteInteger(u"\\.A", u"Count", 1);
  Sheet(m).WriteString(u"\\.B", u"InheritsFrom", u".A");
  Sheet(m).WriteInteger(u"\\.B", u"Count", 2);
  Sheet(m).WriteBool(u"\\.B", u"Flag", true);
  TStyledThing thing(nullptr);
  m.ApplyStyle(&thing, u".A");
  EXPECT_EQ(thing.Count(), 1);  // the nearest style wins
  EXPECT_TRUE(thing.Flag());
}

TEST(StyleManager, PathsEnterSubObjectsButNotComponentsNorMissingObjects) {
  TKsStyleManager m(nullptr);
  Sheet(m).WriteString(u"\\(Default)", u"Font.Color", u"clBlue");
  Sheet(m).WriteBool(u"\\(Default)", u"PopupMenu.AutoPopup", false);
  Sheet(m).WriteString(u"\\(Default)", u"Extra.Color", u"clLime");
  Sheet(m).WriteInteger(u"\\(Default)", u"Nothing.Color", 5);
  TKsPanel panel(nullptr);
  TPopupMenu menu(nullptr);
  panel.SetPopupMenu(&menu);
  TStyledThing thing(nullptr);
  m.ApplyStyle(&panel, u"");
  m.ApplyStyle(&thing, u"");  // Extra is missing: skipped
  EXPECT_EQ(panel.Font()->Color(), clBlue);
  EXPECT_TRUE(menu.AutoPopup());
  thing.MakeExtra();
  m.ApplyStyle(&thing, u"");
  EXPECT_EQ(thing.Extra()->Color(), clLime);
  panel.SetPopupMenu(nullptr);
}

TEST(StyleManager, ATypeFilterLimitsAValueToPropertiesOfThatType) {
  TKsStyleManager m(nullptr);
  Sheet(m).WriteInteger(u"\\(Default)", u"Color|TColor", 0x112233);
  Sheet(m).WriteInteger(u"\\(Default)", u"Width|Integer", 50);
  Sheet(m).WriteInteger(u"\\(Default)", u"Height|TColor", 60);
  TKsPanel panel(nullptr);
  m.ApplyStyle(&panel, u"");
  EXPECT_EQ(panel.Color(), 0x112233);
  EXPECT_EQ(panel.Width(), 50);
  EXPECT_NE(panel.Height(), 60);
  Sheet(m).Clear();
  Sheet(m).WriteInteger(u"\\(Default)", u"Color|Integer", 7);
  m.ApplyStyle(&panel, u"");
  EXPECT_EQ(panel.Color(), 0x112233);
}

TEST(StyleManager, EachStoredTypeReachesTheKindsThatTakeIt) {
  TKsStyleManager m(nullptr);
  TKsIniFile& s = Sheet(m);
  const String d = u"\\(Default)";
  TStringList lines;
  lines.Add(u"one");
  lines.Add(u"two");
  TBitmap source(3, 2);
  TMemoryStream bmp;
  source.SaveToStream(bmp);
  s.WriteBool(d, u"Flag", true);
  s.WriteInteger(d, u"Count", -4);
  s.WriteInteger(d, u"Kind", skLoud);
  s.WriteString(d, u"Shade", u"$00102030");
  s.WriteString(d, u"Kinds", u"[skBold, skLoud]");
  s.WriteString(d, u"Narrow", u"eight-bit");
  s.WriteString(d, u"Wide", u"wide text");
  s.WriteString(d, u"Title", u"refused");
  s.WriteString(d, u"Letter", u"z");
  s.WriteDouble(d, u"Ratio", 0.25);
  s.WriteMultiString(d, u"Lines", lines);
  s.WriteBinary(d, u"Picture", bmp.Memory(), static_cast<std::int32_t>(bmp.Size()));
  s.WriteString(d, u"Count|Integer", u"12");  // a string reaches an integer as a colour number
  TStyledThing t(nullptr);
  m.ApplyStyle(&t, u"");
  EXPECT_TRUE(t.Flag());
  EXPECT_EQ(t.Kind(), skLoud);
  EXPECT_EQ(t.Shade(), 0x00102030);
  EXPECT_EQ(t.Kinds(), (TStyledKinds{skBold, skLoud}));
  EXPECT_EQ(t.Narrow(), "eight-bit");
  EXPECT_EQ(t.Wide(), u"wide text");
  EXPECT_EQ(t.Title(), u"");  // the Unicode string kind takes no value
  EXPECT_EQ(t.Letter(), u'z');
  EXPECT_DOUBLE_EQ(t.Ratio(), 0.25);
  EXPECT_EQ(Names(*t.Lines()), (std::vector<String>{u"one", u"two"}));
  EXPECT_EQ(t.Picture()->Width(), 3);
  EXPECT_EQ(t.Picture()->Height(), 2);
  EXPECT_EQ(t.Count(), 12);
}

TEST(StyleManager, ValuesThatDoNotFitAreSkipped) {
  TKsStyleManager m(nullptr);
  TKsIniFile& s = Sheet(m);
  const String d = u"\\(Default)";
  const std::uint8_t junk[] = {'B', 'M', 1, 2, 3};
  s.WriteInteger(d, u"Kind", 9);                    // past the enumeration
  s.WriteInteger(d, u"Small", 300);                 // past the byte
  s.WriteString(d, u"Kinds", u"[skBold, skNone]");  // an unknown element
  s.WriteString(d, u"Letter", u"two");              // not one character
  s.WriteBinary(d, u"Picture", junk, sizeof junk);  // not an image
  s.WriteDouble(d, u"Count", 2.5);                  // a double for an integer
  s.WriteBool(d, u"Count", true);                   // replaced in place: a Boolean for an integer
  s.WriteInteger(d, u"Ratio", 3);                   // an integer for a float
  TStyledThing t(nullptr);
  t.SetSmall(7);
  t.SetKinds({skPlain});
  t.Picture()->SetSize(5, 5);
  m.ApplyStyle(&t, u"");
  EXPECT_EQ(t.Kind(), skPlain);
  EXPECT_EQ(t.Small(), 7);
  EXPECT_EQ(t.Kinds(), TStyledKinds{skPlain});
  EXPECT_EQ(t.Letter(), u'a');
  EXPECT_EQ(t.Picture()->Width(), 5);
  EXPECT_EQ(t.Count(), 0);
  EXPECT_DOUBLE_EQ(t.Ratio(), 0);
}

TEST(StyleManager, ApplyingNeverWritesIntoTheSheet) {
  TKsStyleManager m(nullptr);
  Sheet(m).WriteInteger(u"\\...Temp", u"Count", 42);  // a user style with the scratch name
  Sheet(m).WriteString(u"\\TStyledThing", u"InheritsFrom", u"...Temp");
  Sheet(m).WriteString(u"\\.Bad", u"Shade", u"not a colour");
  const auto before = SheetBytes(m);
  TStyledThing t(nullptr);
  m.ApplyStyle(&t, u"");
  EXPECT_EQ(t.Count(), 42);
  EXPECT_THROW(m.ApplyStyle(&t, u".Bad"), EConvertError);  // the colour text error reaches the caller
  EXPECT_EQ(SheetBytes(m), before);
  EXPECT_EQ(StyleNames(m), (std::vector<String>{u"(Default)", u"...Temp", u"TStyledThing", u".Bad"}));
}

TEST(StyleManager, ClearNamesAndProperties) {
  TKsStyleManager m(nullptr);
  Sheet(m).WriteInteger(u"\\.A", u"Count", 1);
  Sheet(m).WriteString(u"\\.A", u"InheritsFrom", u"(Default)");
  Sheet(m).WriteInteger(u"\\.A", u"Font.Size", 9);
  TStringList props;
  m.GetProperties(u".A", props);
  m.GetProperties(u".Missing", props);
  EXPECT_EQ(Names(props), (std::vector<String>{u"Count", u"Font.Size"}));
  m.Clear();
  EXPECT_EQ(StyleNames(m), (std::vector<String>{u"(Default)"}));
  EXPECT_EQ(Sheet(m).CurrentKey(), u"\\");
}

TEST(StyleManager, LinksHearChangesInRegistrationOrderThenOnChange) {
  TKsStyleManager m(nullptr);
  std::vector<int> heard;
  TKsStyleMgrChangeLink first, second;
  first.OnChange = [&](TObject* sender) { heard.push_back(sender == &m ? 1 : -1); };
  second.OnChange = [&](TObject*) { heard.push_back(2); };
  m.SetOnChange([&](TObject*) { heard.push_back(3); });
  m.RegisterChanges(&second);
  m.RegisterChanges(&first);
  EXPECT_EQ(first.Sender(), &m);
  m.BeginUpdate();
  m.BeginUpdate();
  m.EndUpdate();
  EXPECT_TRUE(heard.empty());  // still inside the outer bracket
  m.EndUpdate();
  EXPECT_EQ(heard, (std::vector<int>{2, 1, 3}));
  m.UnregisterChanges(&second);
  EXPECT_EQ(second.Sender(), nullptr);
  heard.clear();
  TKsStyleManager other(nullptr);
  Sheet(other).WriteInteger(u"\\.X", u"Count", 3);
  m.Assign(&other);
  EXPECT_EQ(heard, (std::vector<int>{1, 3}));
  EXPECT_EQ(SheetBytes(m), SheetBytes(other));
  TStringList notAManager;
  EXPECT_THROW(m.Assign(&notAManager), EConvertError);
  m.UnregisterChanges(&first);
}

TEST(StyleManager, ASheetSurvivesFilesAndStoredFormsByteForByte) {
  testing::TempDir dir;
  const String path = Utf8ToUtf16((dir / "sheet.ini").string());
  const std::filesystem::path data = SheetFile("harbour.ini");
  std::ifstream in(data, std::ios::binary);
  const std::vector<char> original{std::istreambuf_iterator<char>(in), {}};
  ASSERT_FALSE(original.empty());
  TKsStyleManager m(nullptr);
  int changes = 0;
  m.SetOnChange([&](TObject*) { ++changes; });
  m.LoadFromFile(Utf8ToUtf16(data.string()));
  EXPECT_EQ(changes, 1);
  m.SaveToFile(path);
  std::ifstream out(dir / "sheet.ini", std::ios::binary);
  EXPECT_EQ((std::vector<char>{std::istreambuf_iterator<char>(out), {}}), original);
  EXPECT_THROW(m.LoadFromFile(Utf8ToUtf16((dir / "missing.ini").string())), EFOpenError);

  // Stored in a form: written, read into a fresh manager and written again.
  TMemoryStream first, second;
  WriteComponent(first, &m);
  first.SetPosition(0);
  TKsStyleManager copy(nullptr);
  int copyChanges = 0;
  copy.SetOnChange([&](TObject*) { ++copyChanges; });
  ReadComponent(first, &copy);
  EXPECT_EQ(copyChanges, 1);  // quiet while reading, then once when loaded
  WriteComponent(second, &copy);
  EXPECT_EQ(std::vector<std::uint8_t>(first.Memory(), first.Memory() + first.Size()),
            std::vector<std::uint8_t>(second.Memory(), second.Memory() + second.Size()));
  EXPECT_EQ(SheetBytes(copy), SheetBytes(m));
}

TEST(StyleManager, EvenAnEmptySheetIsStoredWithTheForm) {
  EXPECT_EQ(StyleNames(*DefaultStyleManager()), (std::vector<String>{u"(Default)"}));
  TStringList defaults;
  DefaultStyleManager()->GetProperties(u"(Default)", defaults);
  EXPECT_EQ(defaults.Count(), 0);
  TKsStyleManager m(nullptr);
  TMemoryStream stream;
  WriteComponent(stream, &m);
  const String text = Utf8ToUtf16(std::string(reinterpret_cast<const char*>(stream.Memory()), stream.Size()));
  EXPECT_NE(text.find(u"Style = {"), String::npos);
  Sheet(m).Clear();  // no key at all: nothing to store
  TMemoryStream bare;
  WriteComponent(bare, &m);
  const String bareText = Utf8ToUtf16(std::string(reinterpret_cast<const char*>(bare.Memory()), bare.Size()));
  EXPECT_EQ(bareText.find(u"Style = "), String::npos);
}

TEST(StyleManager, ThemedControlsPublishTheirManagerAndRestyleOnSheetChanges) {
  TKsStyleManager m(nullptr);
  TKsXPThemedControl control(nullptr);
  TKsPanel panel(nullptr);
  EXPECT_NE(GetPropInfo(&control, u"StyleManager"), nullptr);
  EXPECT_NE(GetPropInfo(&panel, u"StyleManager"), nullptr);
  control.SetStyleManager(&m);
  panel.SetStyleManager(&m);
  m.BeginUpdate();
  Sheet(m).WriteInteger(u"\\TKsXPThemedControl", u"Color", 0x0000AA);
  Sheet(m).WriteInteger(u"\\TKsPanel", u"Color", 0x00AA00);
  m.EndUpdate();
  EXPECT_EQ(control.Color(), 0x0000AA);
  EXPECT_EQ(panel.Color(), 0x00AA00);
  panel.SetStyleName(u".Blue");
  Sheet(m).WriteInteger(u"\\.Blue", u"Color", 0xAA0000);
  m.BeginUpdate();
  m.EndUpdate();
  EXPECT_EQ(panel.Color(), 0xAA0000);
  control.SetStyleManager(nullptr);
  panel.SetStyleManager(nullptr);
}

TEST(StyleManager, AFormFreesItsManagerAndTheControlsUsingItInAnyOrder) {
  for (const bool managerFirst : {true, false}) {
    auto* form = TCustomForm::Create<TForm>(nullptr);
    TKsStyleManager* m = managerFirst ? new TKsStyleManager(form) : nullptr;
    auto* panel = new TKsPanel(form);
    panel->SetParent(form);
    auto* control = new TKsXPThemedControl(form);
    control->SetParent(form);
    if (!m) m = new TKsStyleManager(form);
    panel->SetStyleManager(m);
    control->SetStyleManager(m);
    delete form;  // the manager is marked as going while the controls still hold their links
  }
}

// A panel and a label before and after a sheet is applied to them.
TEST(StyleManager, GoldenAPanelAndALabelBeforeAndAfterASheet) {
  ShownForm f(200, 70);
  testing::ThemeScope classic(false);
  auto* panel = new TKsPanel(f.form);
  panel->SetParent(f.form);
  panel->SetBounds(4, 4, 90, 40);
  panel->SetCaption(u"Panel");
  auto* label = new TLabel(f.form);
  label->SetParent(f.form);
  label->SetBounds(100, 10, 90, 20);
  label->SetCaption(u"Label");
  label->SetTransparent(false);
  testing::Pump();
  cairo_surface_t* before = testing::CaptureClient(*f.form);
  TKsStyleManager m(nullptr);
  m.LoadFromFile(Utf8ToUtf16(SheetFile("harbour.ini").string()));
  panel->SetStyleManager(&m);
  m.ApplyStyle(label, u".Note");
  testing::Pump();
  cairo_surface_t* after = testing::CaptureClient(*f.form);
  EXPECT_TRUE(testing::MatchesGolden(before, "controls_style_before"));
  EXPECT_TRUE(testing::MatchesGolden(after, "controls_style_after"));
  EXPECT_GT(DifferingPixels(before, after), 90 * 30);  // the sheet repainted both
  cairo_surface_destroy(before);
  cairo_surface_destroy(after);
  panel->SetStyleManager(nullptr);
}

}  // namespace
}  // namespace kestrel
