#include "controls/KsStyleValue.h"

#include <memory>

#include "framework/Bitmap.h"
#include "framework/Colors.h"
#include "framework/Component.h"
#include "framework/Exceptions.h"
#include "framework/MemoryStream.h"
#include "framework/PropertyPath.h"
#include "framework/StringList.h"
#include "framework/SysUtils.h"
#include "framework/TypeInfo.h"
#include "settings/KsIniTypes.h"

namespace kestrel {

namespace {

bool InOrdinalRange(const TPropInfo& prop, std::int64_t value) {
  if (prop.Kind == tkEnumeration)
    return prop.EnumType && value >= prop.EnumType->MinValue() && value <= prop.EnumType->MaxValue();
  return value >= prop.OrdMin && value <= prop.OrdMax;
}

bool AssignOrdinal(TObject* target, const TPropInfo& prop, std::int64_t value) {
  if (!prop.IsWritable() || !InOrdinalRange(prop, value)) return false;
  SetOrdProp(target, prop, value);
  return true;
}

bool AssignBoolean(TObject* target, const TPropInfo& prop, bool value) {
  return prop.Kind == tkEnumeration && AssignOrdinal(target, prop, value ? 1 : 0);
}

bool AssignInteger(TObject* target, const TPropInfo& prop, std::int32_t value) {
  return (prop.Kind == tkInteger || prop.Kind == tkEnumeration) && AssignOrdinal(target, prop, value);
}

bool AssignSet(TObject* target, const TPropInfo& prop, const String& text) {
  if (!prop.EnumType || !prop.IsWritable()) return false;
  try {
    SetOrdProp(target, prop, static_cast<std::int64_t>(StringToSet(*prop.EnumType, text)));
  } catch (const EPropertyConvertError&) {
    return false;  // an unknown element name
  }
  return true;
}

bool AssignString(TObject* target, const TPropInfo& prop, const String& text) {
  if (!prop.IsWritable()) return false;
  switch (prop.Kind) {
    case tkInteger: {
      TColor color = 0;
      if (!IdentToColor(text, color)) color = StringToColor(text);  // raises on anything else
      return AssignOrdinal(target, prop, color);
    }
    case tkChar:
    case tkWChar: return text.size() == 1 && AssignOrdinal(target, prop, text[0]);
    case tkString:
    case tkLString:
    case tkWString: SetStrProp(target, prop, text); return true;
    case tkSet: return AssignSet(target, prop, text);
    default: return false;  // the Unicode string kind among them
  }
}

bool AssignStringList(TObject* target, const TPropInfo& prop, const std::vector<String>& items) {
  auto* strings = prop.Kind == tkClass ? dynamic_cast<TStrings*>(GetObjectProp(target, prop)) : nullptr;
  if (!strings) return false;
  TStringList list;
  for (const String& item : items) list.Add(item);
  strings->Assign(&list);
  return true;
}

// The bytes are decoded into a bitmap of their own first, so a malformed image leaves the
// property's bitmap as it was.
bool AssignBitmap(TObject* target, const TPropInfo& prop, const std::vector<std::uint8_t>& bytes) {
  auto* bitmap = prop.Kind == tkClass ? dynamic_cast<TBitmap*>(GetObjectProp(target, prop)) : nullptr;
  if (!bitmap || bytes.empty()) return false;
  TBitmap decoded;
  try {
    TMemoryStream stream;
    stream.WriteBuffer(bytes.data(), bytes.size());
    stream.SetPosition(0);
    decoded.LoadFromStream(stream);
  } catch (const Exception&) {
    return false;
  }
  bitmap->Assign(&decoded);
  return true;
}

bool AssignDouble(TObject* target, const TPropInfo& prop, double value) {
  if (prop.Kind != tkFloat || !prop.IsWritable()) return false;
  SetFloatProp(target, prop, value);
  return true;
}

bool AssignByType(TObject* target, const TPropInfo& prop, const TKsValueData& value) {
  switch (value.ValueType) {
    case evtBoolean: return AssignBoolean(target, prop, value.BoolValue);
    case evtInt: return AssignInteger(target, prop, value.IntValue);
    case evtString: return AssignString(target, prop, value.StrValue);
    case evtMultiString: return AssignStringList(target, prop, value.MStrValue);
    case evtBinary: return AssignBitmap(target, prop, value.DataValue);
    case evtDouble: return AssignDouble(target, prop, value.DoubleValue);
    case evtUnknown: break;
  }
  return false;
}

}  // namespace

bool AssignStyleValue(TComponent* component, const String& name, const TKsValueData& value) {
  const TPropertyPathEnd end = WalkPropertyPath(component, name, TPathObjects::NotComponents);
  if (!end.Instance) return false;  // a missing sub-object, or a component on the way
  std::u16string_view propName = end.Name;
  std::u16string_view typeFilter;
  if (const auto bar = propName.find(u'|'); bar != std::u16string_view::npos) {
    typeFilter = propName.substr(bar + 1);
    propName = propName.substr(0, bar);
  }
  const TPropInfo* prop = GetPropInfo(end.Instance, propName);
  if (!prop || (!typeFilter.empty() && !SameText(prop->TypeName, typeFilter))) return false;
  return AssignByType(end.Instance, *prop, value);
}

}  // namespace kestrel
