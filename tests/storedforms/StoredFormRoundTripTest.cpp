// Every published property of every registered component survives a stored form: each one is
// given a value other than the one it has, the component is written and read into a fresh one,
// and every property (sub-objects and bitmaps included) must read back the same.

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "controls/ControlRegistration.h"
#include "controls/KsImageForm.h"
#include "controls/KsPanel.h"
#include "controls/KsSBController.h"
#include "framework/Bitmap.h"
#include "framework/Button.h"
#include "framework/CheckBox.h"
#include "framework/ClassRegistry.h"
#include "framework/Collection.h"
#include "framework/Component.h"
#include "framework/Edit.h"
#include "framework/Form.h"
#include "framework/MemoryStream.h"
#include "framework/RadioButton.h"
#include "framework/Reader.h"
#include "framework/SysUtils.h"
#include "framework/TypeInfo.h"
#include "framework/Writer.h"
#include "html/HtmlRegistration.h"
#include "imaging/ImagingRegistration.h"
#include "net/NetRegistration.h"
#include "smooth/SmoothRegistration.h"
#include "tests/support/ThemeScope.h"

namespace kestrel {
namespace {

constexpr int kMaxDepth = 3;

void Perturb(TObject* object, int depth);

void PerturbOrdinal(TObject* object, const TPropInfo& prop) {
  const std::int64_t value = GetOrdProp(object, prop);
  std::int64_t next = value;
  if (prop.Kind == tkEnumeration && prop.EnumType) {
    const TEnumInfo& type = *prop.EnumType;
    next = type.MinValue() + (value - type.MinValue() + 1) % type.Count();
  } else if (prop.Kind == tkSet) {
    next = value ^ 1;  // the first element flips
  } else if (prop.TypeName == u"TColor") {
    next = value == 0x123456 ? 0x654321 : 0x123456;
  } else {
    next = value + 3 <= prop.OrdMax ? value + 3 : value - 3;
  }
  SetOrdProp(object, prop, next);
}

void PerturbGraphic(TGraphic* graphic) {
  auto* bitmap = dynamic_cast<TBitmap*>(graphic);
  if (!bitmap) return;
  bitmap->SetSize(3, 2);
  bitmap->Canvas()->SetPixels(1, 1, 0x00FF8000);
}

// Two new items, each set apart from a fresh one and from the other.
void PerturbCollection(TCollection* collection, int depth) {
  for (int i = 0; i < 2; ++i) {
    TCollectionItem* item = collection->Add();
    for (int j = 0; j <= i; ++j) Perturb(item, depth + 1);
  }
}

void PerturbProperty(TObject* object, const TPropInfo& prop, int depth) {
  if (prop.Kind == tkClass) {
    TObject* sub = GetObjectProp(object, prop);
    if (!sub || dynamic_cast<TComponent*>(sub)) return;  // links to other components: not here
    if (auto* graphic = dynamic_cast<TGraphic*>(sub)) PerturbGraphic(graphic);
    else if (auto* collection = dynamic_cast<TCollection*>(sub)) PerturbCollection(collection, depth);
    else Perturb(sub, depth + 1);
    return;
  }
  if (!prop.IsWritable() || prop.Kind == tkMethod) return;
  if (prop.IsOrdinal()) PerturbOrdinal(object, prop);
  else if (prop.Kind == tkFloat) SetFloatProp(object, prop, GetFloatProp(object, prop) + 0.25);
  else if (prop.IsString()) SetStrProp(object, prop, GetStrProp(object, prop).empty() ? u"x" : u"");
}

void Perturb(TObject* object, int depth) {
  if (depth > kMaxDepth) return;
  for (const TPropInfo* prop : GetPropList(object)) {
    try {
      PerturbProperty(object, *prop, depth);
    } catch (const Exception&) {
      // A value the setter refuses leaves the property as it was; the comparison still runs.
    }
  }
}

using TSnapshot = std::map<std::string, std::string>;

void Snap(const TObject* object, const std::string& prefix, int depth, TSnapshot& out) {
  if (depth > kMaxDepth) return;
  for (const TPropInfo* prop : GetPropList(object)) {
    const std::string name = prefix + Utf16ToUtf8(prop->Name);
    // What is deliberately not stored (a colour taken from the parent, say) is not compared.
    if (prop->Kind == tkMethod || !IsStoredProp(object, *prop)) continue;
    if (prop->Kind != tkClass) {
      out[name] = Utf16ToUtf8(GetPropText(object, *prop));
      continue;
    }
    const TObject* sub = GetObjectProp(object, *prop);
    if (!sub || dynamic_cast<const TComponent*>(sub)) continue;
    if (const auto* graphic = dynamic_cast<const TGraphic*>(sub)) {
      TMemoryStream data;
      if (!graphic->Empty()) graphic->SaveToStream(data);
      out[name] = std::to_string(graphic->Width()) + "x" + std::to_string(graphic->Height()) + " " +
                  std::to_string(data.Size()) + " bytes " +
                  std::to_string(std::hash<std::string_view>()(
                      std::string_view(reinterpret_cast<const char*>(data.Memory()), data.Size())));
    } else if (const auto* collection = dynamic_cast<const TCollection*>(sub)) {
      out[name + ".Count"] = std::to_string(collection->Count());
      for (int i = 0; i < collection->Count(); ++i)
        Snap(collection->Items(i), name + "[" + std::to_string(i) + "].", depth + 1, out);
    } else {
      Snap(sub, name + ".", depth + 1, out);
    }
  }
}

TSnapshot Snapshot(const TObject* object) {
  TSnapshot out;
  Snap(object, "", 0, out);
  return out;
}

TEST(StoredFormRoundTrip, EveryPublishedPropertyOfEveryRegisteredComponentSurvives) {
  RegisterHtmlClasses();
  RegisterSmoothClasses();
  RegisterImagingClasses();
  RegisterNetClasses();
  // Setting the services object's theme switches changes the whole process's look.
  const testing::ThemeScope themes;
  int checked = 0;
  for (const TMetaClass* cls : RegisteredClasses()) {
    if (!cls->CanCreate() || !cls->InheritsFrom(TComponent::StaticClass())) continue;
    std::unique_ptr<TComponent> source(static_cast<TComponent*>(cls->Create(nullptr)));
    std::unique_ptr<TComponent> copy(static_cast<TComponent*>(cls->Create(nullptr)));
    source->SetName(u"Stored");
    Perturb(source.get(), 0);
    const TSnapshot before = Snapshot(source.get());
    StringToComponent(ComponentToString(source.get()), copy.get());
    const TSnapshot after = Snapshot(copy.get());
    for (const auto& [name, value] : before) {
      auto it = after.find(name);
      EXPECT_TRUE(it != after.end() && it->second == value)
          << Utf16ToUtf8(cls->Name()) << "." << name << ": stored " << value << ", read back "
          << (it == after.end() ? "nothing" : it->second);
    }
    ++checked;
  }
  EXPECT_GE(checked, 24);
}

// Forms stored before buttons, edits and forms declared their constructors' values as defaults
// wrote those values out; they read back the same, and those values are no longer written.
TEST(StoredFormRoundTrip, FormsStoredWithTheOldDefaultsReadTheSame) {
  RegisterControlClasses();
  RegisterSmoothClasses();
  const String older =
      u"object F: TForm\n  ParentFont = False\n  Visible = False\n"
      u"  object B: TButton\n    TabStop = True\n  end\n"
      u"  object C: TCheckBox\n    TabStop = True\n  end\n"
      u"  object R: TRadioButton\n  end\n"
      u"  object E: TEdit\n    DoubleBuffered = True\n    TabStop = True\n  end\n"
      u"  object M: TSmoothWin8Marquee\n    DoubleBuffered = True\n    TabStop = True\n  end\n"
      u"end\n";
  TForm form(nullptr);
  StringToComponent(older, &form);
  EXPECT_FALSE(form.ParentFont());
  EXPECT_FALSE(form.Visible());
  ASSERT_EQ(form.ControlCount(), 5);
  for (int i = 0; i < 5; ++i) {
    const auto* control = static_cast<TWinControl*>(form.Controls(i));
    EXPECT_TRUE(control->TabStop()) << i;
    EXPECT_EQ(control->DoubleBuffered(), i >= 3) << i;
  }

  const std::string stored = Utf16ToUtf8(ComponentToString(&form));
  for (const char* value : {"ParentFont", "Visible", "TabStop", "DoubleBuffered"})
    EXPECT_EQ(stored.find(value), std::string::npos) << value << " in\n" << stored;
}

// The panel's settings that a stored form once lost, and the theme switch older forms stored.
TEST(StoredFormRoundTrip, ThePanelStoresEverySettingAndReadsTheLegacyThemeSwitch) {
  RegisterControlClasses();
  TKsPanel panel(nullptr);
  for (const char16_t* name : {u"Layout",
                               u"BorderStyle",
                               u"BorderSides",
                               u"BorderColorDkShadow",
                               u"BorderColorFace",
                               u"BorderColorShadow",
                               u"BorderColorHighlight",
                               u"BorderColorWindow",
                               u"BevelSpaceColor",
                               u"Background",
                               u"GradientStartColor",
                               u"GradientEndColor",
                               u"AlphaLevel",
                               u"AlwaysPaintBackground",
                               u"ImageForm",
                               u"LeftGrabHandle",
                               u"TopGrabHandle",
                               u"RightGrabHandle",
                               u"BottomGrabHandle",
                               u"OnPaint",
                               u"OnMove"})
    EXPECT_NE(GetPropInfo(&panel, name), nullptr) << Utf16ToUtf8(name);
  EXPECT_NE(GetPropInfo(panel.LeftGrabHandle(), u"Size"), nullptr);
  TKsImageForm imageForm(nullptr);
  EXPECT_NE(GetPropInfo(&imageForm, u"Background"), nullptr);

  StringToComponent(u"object P: TKsPanel\n  UseXPThemes = False\nend\n", &panel);
  EXPECT_EQ(panel.ThemeMode(), ttmNone);
  StringToComponent(u"object P: TKsPanel\n  UseXPThemes = True\nend\n", &panel);
  EXPECT_EQ(panel.ThemeMode(), ttmPlatform);
}

TEST(StoredFormRoundTrip, TheScrollBarControllerReadsTheLegacyThemeSwitchAndKeepsItsBars) {
  TKsSBController controller(nullptr);
  StringToComponent(u"object C: TKsSBController\n  UseXPThemes = False\n  VertScrollBarStyles.ActiveFlat = True\nend\n",
                    &controller);
  EXPECT_EQ(controller.ThemeMode(), ttmNone);
  EXPECT_TRUE(controller.VertScrollBarStyles()->ActiveFlat());
}

}  // namespace
}  // namespace kestrel
