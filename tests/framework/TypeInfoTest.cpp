#include <gtest/gtest.h>

#include "framework/ClassRegistry.h"
#include "framework/Exceptions.h"
#include "framework/SysUtils.h"
#include "tests/framework/TestWidgets.h"

namespace kestrel::test {
namespace {

std::vector<String> Names(const TObject* o) {
  std::vector<String> out;
  for (const TPropInfo* p : GetPropList(o)) out.push_back(p->Name);
  return out;
}

TEST(TypeInfo, PropertyListsIncludeAncestorsAndRedeclarationsReplaceInPlace) {
  TFancyWidget fancy(nullptr);
  auto names = Names(&fancy);
  ASSERT_EQ(names.size(), 18u);
  EXPECT_EQ(names[0], u"Name");  // TComponent's own come first
  EXPECT_EQ(names[1], u"Tag");
  EXPECT_EQ(names[2], u"Width");
  EXPECT_EQ(names.back(), u"Glow");
  const TPropInfo* width = GetPropInfo(&fancy, u"WIDTH");
  ASSERT_NE(width, nullptr);
  EXPECT_EQ(width->OrdDefault, 50);
  TWidget plain(nullptr);
  EXPECT_EQ(GetPropInfo(&plain, u"Width")->OrdDefault, 100);
  EXPECT_EQ(GetPropInfo(&plain, u"Glow"), nullptr);
}

TEST(TypeInfo, KindsAndTypeNamesFollowTheRegistration) {
  TWidget w(nullptr);
  auto kind = [&](const char16_t* n) { return GetPropInfo(&w, n)->Kind; };
  auto type = [&](const char16_t* n) { return GetPropInfo(&w, n)->TypeName; };
  EXPECT_EQ(kind(u"Width"), tkInteger);
  EXPECT_EQ(type(u"Width"), u"Integer");
  EXPECT_EQ(kind(u"Visible"), tkEnumeration);
  EXPECT_EQ(type(u"Visible"), u"Boolean");
  EXPECT_EQ(kind(u"Caption"), tkWString);
  EXPECT_EQ(kind(u"Url"), tkLString);
  EXPECT_EQ(kind(u"Shape"), tkEnumeration);
  EXPECT_EQ(type(u"Shape"), u"TShape");
  EXPECT_EQ(kind(u"Sides"), tkSet);
  EXPECT_EQ(kind(u"Ratio"), tkFloat);
  EXPECT_EQ(type(u"Ratio"), u"Double");
  EXPECT_EQ(kind(u"Accel"), tkWChar);
  EXPECT_EQ(type(u"Color"), u"TColor");
  EXPECT_EQ(kind(u"Font"), tkClass);
  EXPECT_EQ(type(u"Font"), u"TTestFont");
  EXPECT_EQ(kind(u"OnClick"), tkMethod);
  EXPECT_FALSE(GetPropInfo(&w, u"Counter")->IsWritable());
}

TEST(TypeInfo, SettingPropertiesByNameFromText) {
  TWidget w(nullptr);
  SetPropValue(&w, u"Width", u"$20");
  SetPropValue(&w, u"visible", u"false");
  SetPropValue(&w, u"Caption", u"Grüße");
  SetPropValue(&w, u"Url", u"http://example.com/ü");
  SetPropValue(&w, u"Shape", u"shTriangle");
  SetPropValue(&w, u"Sides", u"[sdRight, sdBottom]");
  SetPropValue(&w, u"Ratio", u"0.25");
  SetPropValue(&w, u"Accel", u"x");
  SetPropValue(&w, u"Color", u"$FF00000F");  // a system colour: the bit pattern, negative
  EXPECT_EQ(w.Width(), 32);
  EXPECT_FALSE(w.Visible());
  EXPECT_EQ(w.Caption(), u"Grüße");
  EXPECT_EQ(w.Url(), "http://example.com/\xC3\xBC");
  EXPECT_EQ(w.Shape(), shTriangle);
  EXPECT_EQ(w.Sides(), (TSides{sdRight, sdBottom}));
  EXPECT_DOUBLE_EQ(w.Ratio(), 0.25);
  EXPECT_EQ(w.Accel(), u'x');
  EXPECT_EQ(w.Color(), static_cast<int>(0xFF00000F));

  EXPECT_EQ(GetPropValue(&w, u"Visible"), u"False");
  EXPECT_EQ(GetPropValue(&w, u"Sides"), u"[sdRight,sdBottom]");
  EXPECT_EQ(GetSetProp(&w, u"Sides"), u"sdRight,sdBottom");
  EXPECT_EQ(GetEnumProp(&w, u"Shape"), u"shTriangle");
  EXPECT_EQ(GetPropValue(&w, u"Url"), u"http://example.com/ü");
  EXPECT_EQ(GetOrdProp(&w, u"Shape"), shTriangle);
  EXPECT_EQ(GetObjectProp(&w, u"Font"), w.Font());
  EXPECT_EQ(GetStrProp(w.Font(), u"Name"), u"Tahoma");
}

TEST(TypeInfo, BadNamesValuesAndKindsRaiseWithoutChangingTheObject) {
  TWidget w(nullptr);
  try {
    SetPropValue(&w, u"Nope", u"1");
    FAIL();
  } catch (const EPropertyError& e) {
    EXPECT_EQ(e.Message(), u"Property Nope does not exist");
  }
  try {
    SetPropValue(&w, u"Shape", u"shHexagon");
    FAIL();
  } catch (const EPropertyConvertError& e) {
    EXPECT_EQ(e.Message(), u"Invalid property element: shHexagon");
  }
  EXPECT_THROW(SetPropValue(&w, u"Sides", u"[sdLeft, sdMiddle]"), EPropertyConvertError);
  EXPECT_THROW(SetPropValue(&w, u"Width", u"wide"), EConvertError);
  EXPECT_THROW(SetPropValue(&w, u"Counter", u"3"), EPropertyError);  // read-only
  EXPECT_THROW(SetOrdProp(&w, u"Shape", 7), EPropertyError);         // not a TShape value
  EXPECT_THROW(SetOrdProp(&w, u"Sides", 1 << 9), EPropertyError);
  EXPECT_THROW(SetPropValue(&w, u"Width", u"99999999999"), EPropertyError);  // not an int
  EXPECT_THROW(SetOrdProp(&w, u"Accel", 0x10000), EPropertyError);
  EXPECT_THROW(SetStrProp(&w, u"Width", u"1"), EPropertyError);
  EXPECT_THROW(GetStrProp(&w, u"Width"), EPropertyError);
  TStringList notAFont;
  EXPECT_THROW(SetObjectProp(&w, u"Font", &notAFont), EPropertyError);
  EXPECT_EQ(w.Width(), 100);
  EXPECT_EQ(w.Shape(), shCircle);
  EXPECT_EQ(w.Sides(), (TSides{sdLeft, sdTop}));
}

TEST(TypeInfo, RegisteredIntegerConstantsReadAsNames) {
  RegisterTestWidgets();  // with the colour names
  TWidget w(nullptr);
  SetPropValue(&w, u"Color", u"CLRED");
  EXPECT_EQ(w.Color(), 0xFF);
  EXPECT_THROW(SetPropValue(&w, u"Color", u"clBlue"), EConvertError);
  EXPECT_THROW(SetPropValue(&w, u"Width", u"clRed"), EConvertError);  // another type
}

TEST(TypeInfo, DefaultsAndStoredFlags) {
  TWidget w(nullptr);
  auto isDefault = [&](const char16_t* n) { return IsDefaultPropValue(&w, *GetPropInfo(&w, n)); };
  auto stored = [&](const char16_t* n) { return IsStoredProp(&w, *GetPropInfo(&w, n)); };
  EXPECT_TRUE(isDefault(u"Width"));
  EXPECT_TRUE(isDefault(u"Sides"));
  EXPECT_TRUE(isDefault(u"Caption"));  // strings default to empty
  EXPECT_TRUE(isDefault(u"Ratio"));    // floats to zero
  EXPECT_FALSE(isDefault(u"Color"));   // no default: always written when stored
  w.SetWidth(101);
  w.SetCaption(u"x");
  EXPECT_FALSE(isDefault(u"Width"));
  EXPECT_FALSE(isDefault(u"Caption"));
  EXPECT_FALSE(stored(u"Color"));  // the predicate says no for -1
  w.SetColor(5);
  EXPECT_TRUE(stored(u"Color"));
  EXPECT_FALSE(stored(u"Name"));
  SetPropValue(&w, u"Name", u"Renamed");
  EXPECT_EQ(w.Name(), u"Renamed");
  EXPECT_THROW(SetPropValue(&w, u"Name", u"not valid"), EComponentError);
}

TEST(TypeInfo, EnumAndSetHelpersAndTheClassRegistry) {
  EXPECT_EQ(GetEnumName(ShapeInfo(), 1), u"shSquare");
  EXPECT_EQ(GetEnumName(ShapeInfo(), 9), u"");
  EXPECT_EQ(GetEnumValue(ShapeInfo(), u"SHSQUARE"), 1);
  EXPECT_EQ(GetEnumValue(ShapeInfo(), u"x"), -1);
  EXPECT_EQ(StringToSet(SideInfo(), u" sdTop ,sdBottom"), (1u << sdTop) | (1u << sdBottom));
  EXPECT_EQ(StringToSet(SideInfo(), u"[]"), 0u);
  EXPECT_EQ(SetToString(SideInfo(), 0b0101, true), u"[sdLeft,sdRight]");

  RegisterTestWidgets();
  EXPECT_EQ(GetClass(u"tfancywidget"), &TFancyWidget::StaticClass());
  EXPECT_EQ(GetClass(u"TUnknown"), nullptr);
  try {
    FindClass(u"TUnknown");
    FAIL();
  } catch (const EClassNotFound& e) {
    EXPECT_EQ(e.Message(), u"Class TUnknown not found");
  }
  TComponent owner(nullptr);
  TObject* made = FindClass(u"TFancyWidget").Create(&owner);
  ASSERT_NE(dynamic_cast<TFancyWidget*>(made), nullptr);
  EXPECT_EQ(static_cast<TComponent*>(static_cast<TFancyWidget*>(made))->Owner(), &owner);
  EXPECT_FALSE(TStrings::StaticClass().CanCreate());  // abstract
}

}  // namespace
}  // namespace kestrel::test
