#pragma once
// A component's published properties through a stored form: each one is given a value other
// than the one it has, the component is written and read into a fresh one, and every property
// (sub-objects and bitmaps included) must read back the same.

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <string>

#include "framework/Bitmap.h"
#include "framework/ClassRegistry.h"
#include "framework/Component.h"
#include "framework/MemoryStream.h"
#include "framework/Reader.h"
#include "framework/SysUtils.h"
#include "framework/TypeInfo.h"
#include "framework/Writer.h"

namespace kestrel::testing {

inline constexpr int kMaxDepth = 3;

// Framework classes whose constructor sets a value other than the published default they
// inherit: the default value is not written, and reading leaves the constructor's value.
inline const std::set<std::string> kKnownLosses = {"TButton.TabStop", "TCheckBox.TabStop",    "TRadioButton.TabStop",
                                                   "TEdit.TabStop",   "TEdit.DoubleBuffered", "TForm.ParentFont",
                                                   "TForm.Visible"};

inline void Perturb(TObject* object, int depth);

inline void PerturbOrdinal(TObject* object, const TPropInfo& prop) {
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

inline void PerturbGraphic(TGraphic* graphic) {
  auto* bitmap = dynamic_cast<TBitmap*>(graphic);
  if (!bitmap) return;
  bitmap->SetSize(3, 2);
  bitmap->Canvas()->SetPixels(1, 1, 0x00FF8000);
}

inline void PerturbProperty(TObject* object, const TPropInfo& prop, int depth) {
  if (prop.Kind == tkClass) {
    TObject* sub = GetObjectProp(object, prop);
    if (!sub || dynamic_cast<TComponent*>(sub)) return;  // links to other components: not here
    if (auto* graphic = dynamic_cast<TGraphic*>(sub)) PerturbGraphic(graphic);
    else Perturb(sub, depth + 1);
    return;
  }
  if (!prop.IsWritable() || prop.Kind == tkMethod) return;
  if (prop.IsOrdinal()) PerturbOrdinal(object, prop);
  else if (prop.Kind == tkFloat) SetFloatProp(object, prop, GetFloatProp(object, prop) + 0.25);
  else if (prop.IsString()) SetStrProp(object, prop, GetStrProp(object, prop) + u"x");
}

inline void Perturb(TObject* object, int depth) {
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

inline void Snap(const TObject* object, const std::string& prefix, int depth, TSnapshot& out) {
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
    } else {
      Snap(sub, name + ".", depth + 1, out);
    }
  }
}

inline TSnapshot Snapshot(const TObject* object) {
  TSnapshot out;
  Snap(object, "", 0, out);
  return out;
}

// Every published property of a fresh component of class Cls survives a stored form.
inline void ExpectStoredFormRoundTrip(const TMetaClass& cls) {
  std::unique_ptr<TComponent> source(static_cast<TComponent*>(cls.Create(nullptr)));
  std::unique_ptr<TComponent> copy(static_cast<TComponent*>(cls.Create(nullptr)));
  source->SetName(u"Stored");
  Perturb(source.get(), 0);
  const TSnapshot before = Snapshot(source.get());
  StringToComponent(ComponentToString(source.get()), copy.get());
  const TSnapshot after = Snapshot(copy.get());
  for (const auto& [name, value] : before) {
    if (kKnownLosses.count(Utf16ToUtf8(cls.Name()) + "." + name)) continue;
    auto it = after.find(name);
    EXPECT_TRUE(it != after.end() && it->second == value)
        << Utf16ToUtf8(cls.Name()) << "." << name << ": stored " << value << ", read back "
        << (it == after.end() ? "nothing" : it->second);
  }
}

}  // namespace kestrel::testing
