// TKsIniFile: whole objects through their published properties.

#include <algorithm>

#include "framework/Collection.h"
#include "framework/Strings.h"
#include "framework/SysUtils.h"
#include "framework/TypeInfo.h"
#include "settings/KsIniFile.h"
#include "settings/internal/KsIniKeyScope.h"

namespace kestrel {

namespace {

bool IsOrdinalKind(TTypeKind kind) {
  return kind == tkInteger || kind == tkChar || kind == tkEnumeration || kind == tkWChar || kind == tkSet;
}

String ItemKey(int index) { return u"Item{" + IntToStr(index) + u"}"; }

bool IsActive(const std::vector<const TObject*>& active, const TObject* object) {
  return std::find(active.begin(), active.end(), object) != active.end();
}

}  // namespace

bool TKsIniFile::WriteObject(const String& Key, TObject* AnObject) {
  if (!AnObject) return false;
  TKeyScope scope(*this);
  if (!OpenKey(Key, true)) return false;
  std::vector<const TObject*> active;
  WriteObjectHere(AnObject, active);
  return true;
}

bool TKsIniFile::ReadObject(const String& Key, TObject* AnObject) {
  if (!AnObject) return false;
  TKeyScope scope(*this);
  if (!OpenKey(Key, false)) return false;
  std::vector<const TObject*> active;
  ReadObjectHere(AnObject, active);
  return true;
}

void TKsIniFile::WriteChildObject(const String& key, TObject* child, std::vector<const TObject*>& active) {
  if (!child || IsActive(active, child)) return;
  TKeyScope scope(*this);
  if (OpenKey(key, true)) WriteObjectHere(child, active);
}

void TKsIniFile::ReadChildObject(const String& key, TObject* child, std::vector<const TObject*>& active) {
  if (!child || IsActive(active, child)) return;
  TKeyScope scope(*this);
  if (OpenKey(key, false)) ReadObjectHere(child, active);
}

void TKsIniFile::WriteObjectProperty(TObject* object, const TPropInfo& prop, std::vector<const TObject*>& active) {
  const String& name = prop.Name;
  if (IsOrdinalKind(prop.Kind)) {
    WriteInteger(String(), name, static_cast<std::int32_t>(GetOrdProp(object, prop)));
  } else if (prop.Kind == tkFloat) {
    std::uint8_t extended[10];
    DoubleToExtended(GetFloatProp(object, prop), extended);
    WriteBinary(String(), name, extended, 10);
  } else if (prop.Kind == tkString || prop.Kind == tkLString) {
    WriteString(String(), name, GetStrProp(object, prop));
  } else if (prop.Kind == tkWString) {
    WriteWideString(String(), name, GetStrProp(object, prop));
  } else if (prop.Kind == tkClass) {
    TObject* value = GetObjectProp(object, prop);
    if (auto* strings = dynamic_cast<TStrings*>(value)) {
      WriteMultiString(String(), name, *strings);
    } else {
      WriteChildObject(name, value, active);
    }
  }
  // Unicode strings, 64-bit integers and events are not stored.
}

void TKsIniFile::WriteObjectHere(TObject* object, std::vector<const TObject*>& active) {
  active.push_back(object);
  for (const TPropInfo* prop : GetPropList(object)) {
    if (prop->IsReadable()) WriteObjectProperty(object, *prop, active);
  }
  if (auto* collection = dynamic_cast<TCollection*>(object)) {
    for (int i = 0; i < collection->Count(); ++i) {
      WriteChildObject(ItemKey(i), collection->Items(i), active);
    }
  } else if (auto* component = dynamic_cast<TComponent*>(object)) {
    for (int i = 0; i < component->ComponentCount(); ++i) {
      TComponent* owned = component->Components(i);
      if (IsActive(active, owned)) continue;
      WriteString(ItemKey(i), u"ClsNm", owned->ClassName());
      WriteChildObject(ItemKey(i), owned, active);
    }
  }
  active.pop_back();
}

void TKsIniFile::ReadObjectProperty(TObject* object, const TPropInfo& prop, std::vector<const TObject*>& active) {
  const String& name = prop.Name;
  // A stored value the property refuses (out of its range, say) leaves it as it is.
  try {
    if (IsOrdinalKind(prop.Kind) && prop.IsWritable()) {
      const auto current = static_cast<std::int32_t>(GetOrdProp(object, prop));
      std::int32_t value = current;
      if (ReadInteger(String(), name, current, value) && value != current) SetOrdProp(object, prop, value);
    } else if (prop.Kind == tkFloat && prop.IsWritable()) {
      std::uint8_t extended[10];
      std::int32_t length = 10;
      if (ReadBinary(String(), name, extended, length) && length == 10)
        SetFloatProp(object, prop, ExtendedToDouble(extended));
    } else if ((prop.Kind == tkString || prop.Kind == tkLString) && prop.IsWritable()) {
      String value;
      if (ReadString(String(), name, GetStrProp(object, prop), value)) SetStrProp(object, prop, value);
    } else if (prop.Kind == tkWString && prop.IsWritable()) {
      String value;
      if (ReadWideString(String(), name, GetStrProp(object, prop), value)) SetStrProp(object, prop, value);
    } else if (prop.Kind == tkClass) {
      TObject* value = GetObjectProp(object, prop);
      if (auto* strings = dynamic_cast<TStrings*>(value)) {
        ReadMultiString(String(), name, *strings);
      } else {
        ReadChildObject(name, value, active);
      }
    }
  } catch (const EPropertyError&) {
  } catch (const EConvertError&) {
  }
}

void TKsIniFile::ReadObjectHere(TObject* object, std::vector<const TObject*>& active) {
  active.push_back(object);
  for (const TPropInfo* prop : GetPropList(object)) {
    if (prop->IsReadable()) ReadObjectProperty(object, *prop, active);
  }
  if (auto* collection = dynamic_cast<TCollection*>(object)) {
    // Stored items fill the existing ones first; further ones are added.
    for (int i = 0; KeyExists(ItemKey(i)); ++i) {
      TCollectionItem* item = i < collection->Count() ? collection->Items(i) : collection->Add();
      ReadChildObject(ItemKey(i), item, active);
    }
  } else if (auto* component = dynamic_cast<TComponent*>(object)) {
    // Owned components are matched by position and class; none are created.
    for (int i = 0; i < component->ComponentCount() && KeyExists(ItemKey(i)); ++i) {
      TComponent* owned = component->Components(i);
      String cls;
      if (ReadString(ItemKey(i), u"ClsNm", String(), cls) && cls == owned->ClassName())
        ReadChildObject(ItemKey(i), owned, active);
    }
  }
  active.pop_back();
}

}  // namespace kestrel
