#include "framework/TypeInfo.h"

#include <map>
#include <mutex>

#include "framework/Exceptions.h"
#include "framework/SysUtils.h"

namespace kestrel {

namespace detail {
void ThrowObjectTypeMismatch(const TObject* value) {
  throw EPropertyError(u"Invalid property type: %s", {value->ClassName()});
}
}  // namespace detail

namespace {

const TPropInfo& Require(const TObject* instance, std::u16string_view name) {
  const TPropInfo* p = GetPropInfo(instance, name);
  if (!p) throw EPropertyError(u"Property %s does not exist", {name});
  return *p;
}

TPropValue Read(const TObject* instance, const TPropInfo& prop) {
  if (!instance) throw EPropertyError(u"Property %s does not exist", {prop.Name});
  if (!prop.Getter) throw EPropertyError(u"Property %s is write-only", {prop.Name});
  return prop.Getter(*instance);
}

void Write(TObject* instance, const TPropInfo& prop, const TPropValue& value) {
  if (!instance) throw EPropertyError(u"Property %s does not exist", {prop.Name});
  if (!prop.Setter) throw EPropertyError(u"Property %s is read-only", {prop.Name});
  prop.Setter(*instance, value);
}

[[noreturn]] void WrongKind(const TPropInfo& prop) {
  throw EPropertyError(u"Invalid property type: %s", {prop.TypeName.empty() ? prop.Name : prop.TypeName});
}

template <class V>
V ReadAs(const TObject* instance, const TPropInfo& prop) {
  TPropValue v = Read(instance, prop);
  if (auto* x = std::get_if<V>(&v)) return *x;
  WrongKind(prop);
}

bool InRange(const TPropInfo& prop, std::int64_t value) {
  if (value < prop.OrdMin || value > prop.OrdMax) return false;
  if (prop.Kind == tkEnumeration && prop.EnumType)
    return value >= prop.EnumType->MinValue() && value <= prop.EnumType->MaxValue();
  if (prop.Kind == tkSet && prop.EnumType) {
    int count = prop.EnumType->MaxValue() + 1;
    return count >= 64 || (static_cast<std::uint64_t>(value) >> count) == 0;
  }
  return true;
}

String Strip(std::u16string_view text) { return Trim(text); }

struct IntegerConsts {
  TIdentToInt identToInt;
  TIntToIdent intToIdent;
};

struct IntegerConstsRegistry {
  std::mutex mutex;
  std::map<String, IntegerConsts> byType;
};

IntegerConstsRegistry& Consts() {
  static IntegerConstsRegistry registry;
  return registry;
}

IntegerConsts LookupConsts(std::u16string_view typeName) {
  IntegerConstsRegistry& r = Consts();
  std::lock_guard lock(r.mutex);
  auto it = r.byType.find(UpperCase(typeName));
  return it == r.byType.end() ? IntegerConsts{} : it->second;
}

}  // namespace

const TPropInfo* GetPropInfo(const TObject* instance, std::u16string_view name) {
  return instance ? instance->ClassType().FindProperty(name) : nullptr;
}

const std::vector<const TPropInfo*>& GetPropList(const TObject* instance) {
  static const std::vector<const TPropInfo*> none;
  return instance ? instance->ClassType().Properties() : none;
}

bool IsPublishedProp(const TObject* instance, std::u16string_view name) {
  return GetPropInfo(instance, name) != nullptr;
}

bool PropIsType(const TObject* instance, std::u16string_view name, TTypeKind kind) {
  return Require(instance, name).Kind == kind;
}

std::int64_t GetOrdProp(const TObject* instance, const TPropInfo& prop) { return ReadAs<std::int64_t>(instance, prop); }

std::int64_t GetOrdProp(const TObject* instance, std::u16string_view name) {
  return GetOrdProp(instance, Require(instance, name));
}

void SetOrdProp(TObject* instance, const TPropInfo& prop, std::int64_t value) {
  if (!prop.IsOrdinal()) WrongKind(prop);
  // Out-of-range enumeration values would be undefined in the C++ type; refuse them.
  if (!InRange(prop, value)) throw EPropertyError(u"Invalid property value");
  Write(instance, prop, value);
}

void SetOrdProp(TObject* instance, std::u16string_view name, std::int64_t value) {
  SetOrdProp(instance, Require(instance, name), value);
}

String GetStrProp(const TObject* instance, const TPropInfo& prop) { return ReadAs<String>(instance, prop); }

String GetStrProp(const TObject* instance, std::u16string_view name) {
  return GetStrProp(instance, Require(instance, name));
}

void SetStrProp(TObject* instance, const TPropInfo& prop, const String& value) {
  if (!prop.IsString()) WrongKind(prop);
  Write(instance, prop, value);
}

void SetStrProp(TObject* instance, std::u16string_view name, const String& value) {
  SetStrProp(instance, Require(instance, name), value);
}

double GetFloatProp(const TObject* instance, const TPropInfo& prop) { return ReadAs<double>(instance, prop); }

double GetFloatProp(const TObject* instance, std::u16string_view name) {
  return GetFloatProp(instance, Require(instance, name));
}

void SetFloatProp(TObject* instance, const TPropInfo& prop, double value) {
  if (prop.Kind != tkFloat) WrongKind(prop);
  Write(instance, prop, value);
}

void SetFloatProp(TObject* instance, std::u16string_view name, double value) {
  SetFloatProp(instance, Require(instance, name), value);
}

TObject* GetObjectProp(const TObject* instance, const TPropInfo& prop) { return ReadAs<TObject*>(instance, prop); }

TObject* GetObjectProp(const TObject* instance, std::u16string_view name) {
  return GetObjectProp(instance, Require(instance, name));
}

void SetObjectProp(TObject* instance, const TPropInfo& prop, TObject* value) {
  if (prop.Kind != tkClass) WrongKind(prop);
  Write(instance, prop, value);
}

void SetObjectProp(TObject* instance, std::u16string_view name, TObject* value) {
  SetObjectProp(instance, Require(instance, name), value);
}

String GetEnumProp(const TObject* instance, std::u16string_view name) {
  const TPropInfo& prop = Require(instance, name);
  if (prop.Kind != tkEnumeration || !prop.EnumType) WrongKind(prop);
  return prop.EnumType->Name(static_cast<int>(GetOrdProp(instance, prop)));
}

void SetEnumProp(TObject* instance, std::u16string_view name, std::u16string_view value) {
  const TPropInfo& prop = Require(instance, name);
  if (prop.Kind != tkEnumeration || !prop.EnumType) WrongKind(prop);
  int v = prop.EnumType->Value(Strip(value));
  if (v < 0) throw EPropertyConvertError(u"Invalid property element: %s", {value});
  SetOrdProp(instance, prop, v);
}

String GetSetProp(const TObject* instance, std::u16string_view name, bool brackets) {
  const TPropInfo& prop = Require(instance, name);
  if (prop.Kind != tkSet || !prop.EnumType) WrongKind(prop);
  return SetToString(*prop.EnumType, static_cast<std::uint64_t>(GetOrdProp(instance, prop)), brackets);
}

void SetSetProp(TObject* instance, std::u16string_view name, std::u16string_view value) {
  const TPropInfo& prop = Require(instance, name);
  if (prop.Kind != tkSet || !prop.EnumType) WrongKind(prop);
  SetOrdProp(instance, prop, static_cast<std::int64_t>(StringToSet(*prop.EnumType, value)));
}

String GetPropText(const TObject* instance, const TPropInfo& prop) {
  switch (prop.Kind) {
    case tkInteger:
    case tkInt64: return IntToStr(GetOrdProp(instance, prop));
    case tkChar:
    case tkWChar: return String(1, static_cast<char16_t>(GetOrdProp(instance, prop)));
    case tkEnumeration: {
      auto v = GetOrdProp(instance, prop);
      return prop.EnumType ? prop.EnumType->Name(static_cast<int>(v)) : IntToStr(v);
    }
    case tkSet: return SetToString(*prop.EnumType, static_cast<std::uint64_t>(GetOrdProp(instance, prop)), true);
    case tkFloat: return FloatToStr(GetFloatProp(instance, prop));
    case tkString:
    case tkLString:
    case tkWString:
    case tkUString: return GetStrProp(instance, prop);
    default: WrongKind(prop);
  }
}

String GetPropValue(const TObject* instance, std::u16string_view name) {
  return GetPropText(instance, Require(instance, name));
}

void SetPropText(TObject* instance, const TPropInfo& prop, std::u16string_view text) {
  switch (prop.Kind) {
    case tkInteger: {
      std::int64_t v;
      if (!TryStrToInt64(Strip(text), v) && !IdentToIntOf(prop.TypeName, Strip(text), v))
        throw EConvertError(u"'%s' is not a valid integer value", {text});
      // A signed 32-bit property takes hexadecimal bit patterns up to $FFFFFFFF.
      if (prop.OrdMax == INT32_MAX && v > INT32_MAX && v <= UINT32_MAX)
        v = static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
      SetOrdProp(instance, prop, v);
      return;
    }
    case tkInt64: SetOrdProp(instance, prop, StrToInt64(Strip(text))); return;
    case tkChar:
    case tkWChar:
      if (text.size() != 1) throw EPropertyConvertError(u"Invalid property value");
      SetOrdProp(instance, prop, text[0]);
      return;
    case tkEnumeration: {
      String name = Strip(text);
      int v = prop.EnumType ? prop.EnumType->Value(name) : -1;
      if (v < 0 && prop.EnumType == &BooleanTypeInfo()) {
        bool b;
        if (TryStrToBool(name, b)) v = b ? 1 : 0;
      }
      if (v < 0) {
        int ordinal;
        if (!TryStrToInt(name, ordinal) || (prop.EnumType && prop.EnumType->Name(ordinal).empty()))
          throw EPropertyConvertError(u"Invalid property element: %s", {name});
        v = ordinal;
      }
      SetOrdProp(instance, prop, v);
      return;
    }
    case tkSet: SetOrdProp(instance, prop, static_cast<std::int64_t>(StringToSet(*prop.EnumType, text))); return;
    case tkFloat: SetFloatProp(instance, prop, StrToFloat(text)); return;
    case tkString:
    case tkLString:
    case tkWString:
    case tkUString: SetStrProp(instance, prop, String(text)); return;
    default: WrongKind(prop);
  }
}

void SetPropValue(TObject* instance, std::u16string_view name, std::u16string_view text) {
  SetPropText(instance, Require(instance, name), text);
}

String GetEnumName(const TEnumInfo& type, int value) { return type.Name(value); }

int GetEnumValue(const TEnumInfo& type, std::u16string_view name) { return type.Value(Strip(name)); }

String SetToString(const TEnumInfo& elements, std::uint64_t bits, bool brackets) {
  String out;
  for (int v = std::max(0, elements.MinValue()); v <= elements.MaxValue() && v < 64; ++v) {
    if (!(bits >> v & 1)) continue;
    if (!out.empty()) out += u",";
    out += elements.Name(v);
  }
  return brackets ? u"[" + out + u"]" : out;
}

std::uint64_t StringToSet(const TEnumInfo& elements, std::u16string_view text) {
  String s = Trim(text);
  std::u16string_view body = s;
  if (!body.empty() && body.front() == u'[') {
    body.remove_prefix(1);
    if (!body.empty() && body.back() == u']') body.remove_suffix(1);
  }
  std::uint64_t bits = 0;
  while (!body.empty()) {
    auto comma = body.find(u',');
    String name = Trim(body.substr(0, comma));
    body = comma == std::u16string_view::npos ? std::u16string_view() : body.substr(comma + 1);
    if (name.empty()) continue;
    int v = elements.Value(name);
    if (v < 0 || v >= 64) throw EPropertyConvertError(u"Invalid property element: %s", {name});
    bits |= std::uint64_t{1} << v;
  }
  return bits;
}

void RegisterIntegerConsts(const String& typeName, TIdentToInt identToInt, TIntToIdent intToIdent) {
  IntegerConstsRegistry& r = Consts();
  std::lock_guard lock(r.mutex);
  r.byType[UpperCase(typeName)] = {std::move(identToInt), std::move(intToIdent)};
}

bool IdentToIntOf(std::u16string_view typeName, std::u16string_view ident, std::int64_t& value) {
  IntegerConsts c = LookupConsts(typeName);
  return c.identToInt && c.identToInt(ident, value);
}

bool IntToIdentOf(std::u16string_view typeName, std::int64_t value, String& ident) {
  IntegerConsts c = LookupConsts(typeName);
  return c.intToIdent && c.intToIdent(value, ident);
}

bool IsStoredProp(const TObject* instance, const TPropInfo& prop) {
  if (prop.StoredFn) return instance && prop.StoredFn(*instance);
  return prop.StoredFlag;
}

bool IsDefaultPropValue(const TObject* instance, const TPropInfo& prop) {
  if (!prop.Getter) return true;
  TPropValue v = prop.Getter(*instance);
  if (auto* i = std::get_if<std::int64_t>(&v)) return prop.OrdDefault.has_value() && *prop.OrdDefault == *i;
  if (auto* d = std::get_if<double>(&v)) return prop.FloatDefault.has_value() && *prop.FloatDefault == *d;
  if (auto* s = std::get_if<String>(&v)) return prop.StrDefault.has_value() && *prop.StrDefault == *s;
  return false;
}

}  // namespace kestrel
