#pragma once
// Published properties: registration (TClassBuilder, used in a class's PublishProperties) and the
// accessors that read and write them by name, as typed values or as text.
//
//   void TPanel::PublishProperties(TClassBuilder<TPanel>& b) {
//     b.Property(u"Width", &TPanel::Width, &TPanel::SetWidth).Default(100);
//     b.Enum(u"Align", &TPanel::Align, &TPanel::SetAlign, AlignTypeInfo()).Default(alNone);
//     b.Set(u"Anchors", &TPanel::Anchors, &TPanel::SetAnchors, AnchorKindTypeInfo())
//         .Default(TAnchors{akLeft, akTop});
//     b.Property(u"Caption", &TPanel::Caption, &TPanel::SetCaption).Kind(tkWString);
//     b.Object(u"Font", &TPanel::Font, &TPanel::SetFont);
//     b.Property(u"Color", &TPanel::Color, &TPanel::SetColor).TypeName(u"TColor")
//         .Stored(&TPanel::IsColorStored);
//   }

#include <concepts>
#include <cstdint>
#include <functional>
#include <limits>
#include <type_traits>
#include <utility>

#include "framework/EnumSet.h"
#include "framework/Object.h"
#include "framework/PropInfo.h"

namespace kestrel {

namespace detail {

[[noreturn]] void ThrowObjectTypeMismatch(const TObject* value);

template <class T>
struct IsEnumSet : std::false_type {};
template <class E>
struct IsEnumSet<TEnumSet<E>> : std::true_type {};

template <class T, class G>
using GetterResult = std::remove_cvref_t<std::invoke_result_t<G, const T&>>;

// Converts a transported value to the property's C++ type (the value was already checked
// against the property's kind by the accessor).
template <class V>
V FromPropValue(const TPropValue& value) {
  if constexpr (std::is_same_v<V, String>) {
    return std::get<String>(value);
  } else if constexpr (std::is_same_v<V, AnsiString>) {
    return Utf16ToUtf8(std::get<String>(value));
  } else if constexpr (std::is_floating_point_v<V>) {
    return static_cast<V>(std::get<double>(value));
  } else if constexpr (IsEnumSet<V>::value) {
    return V::FromBits(static_cast<std::uint64_t>(std::get<std::int64_t>(value)));
  } else if constexpr (std::is_enum_v<V> || std::is_integral_v<V>) {
    return static_cast<V>(std::get<std::int64_t>(value));
  } else if constexpr (std::is_pointer_v<V>) {
    TObject* object = std::get<TObject*>(value);
    auto cast = dynamic_cast<V>(object);
    if (object && !cast) ThrowObjectTypeMismatch(object);
    return cast;
  } else {
    static_assert(sizeof(V) == 0, "unsupported property type");
  }
}

template <class V>
TPropValue ToPropValue(const V& value) {
  if constexpr (std::is_same_v<V, String>) {
    return value;
  } else if constexpr (std::is_same_v<V, AnsiString>) {
    return Utf8ToUtf16(value);
  } else if constexpr (std::is_floating_point_v<V>) {
    return static_cast<double>(value);
  } else if constexpr (IsEnumSet<V>::value) {
    return static_cast<std::int64_t>(value.Bits());
  } else if constexpr (std::is_enum_v<V> || std::is_integral_v<V>) {
    return static_cast<std::int64_t>(value);
  } else if constexpr (std::is_pointer_v<V>) {
    return static_cast<TObject*>(const_cast<std::remove_const_t<std::remove_pointer_t<V>>*>(value));
  } else {
    static_assert(sizeof(V) == 0, "unsupported property type");
  }
}

template <class V>
constexpr TTypeKind KindOf() {
  if constexpr (std::is_same_v<V, bool>) return tkEnumeration;
  else if constexpr (std::is_same_v<V, char16_t>) return tkWChar;
  else if constexpr (std::is_same_v<V, char>) return tkChar;
  else if constexpr (std::is_same_v<V, std::int64_t> || std::is_same_v<V, std::uint64_t>) return tkInt64;
  else if constexpr (std::is_integral_v<V>) return tkInteger;
  else if constexpr (std::is_floating_point_v<V>) return tkFloat;
  else if constexpr (std::is_same_v<V, String>) return tkUString;
  else if constexpr (std::is_same_v<V, AnsiString>) return tkLString;
  else if constexpr (std::is_enum_v<V>) return tkEnumeration;
  else if constexpr (IsEnumSet<V>::value) return tkSet;
  else if constexpr (std::is_pointer_v<V>) return tkClass;
  else return tkUnknown;
}

template <class V>
const char16_t* DefaultTypeName() {
  if constexpr (std::is_same_v<V, bool>) return u"Boolean";
  else if constexpr (std::is_same_v<V, char16_t>) return u"WideChar";
  else if constexpr (std::is_same_v<V, char>) return u"AnsiChar";
  else if constexpr (std::is_same_v<V, std::int64_t>) return u"Int64";
  else if constexpr (std::is_same_v<V, std::uint64_t>) return u"UInt64";
  else if constexpr (std::is_same_v<V, std::uint32_t>) return u"Cardinal";
  else if constexpr (std::is_same_v<V, std::int16_t>) return u"SmallInt";
  else if constexpr (std::is_same_v<V, std::uint16_t>) return u"Word";
  else if constexpr (std::is_same_v<V, std::uint8_t>) return u"Byte";
  else if constexpr (std::is_integral_v<V>) return u"Integer";
  else if constexpr (std::is_same_v<V, float>) return u"Single";
  else if constexpr (std::is_same_v<V, double>) return u"Double";
  else if constexpr (std::is_floating_point_v<V>) return u"Extended";
  else if constexpr (std::is_same_v<V, String>) return u"UnicodeString";
  else if constexpr (std::is_same_v<V, AnsiString>) return u"AnsiString";
  else return u"";
}

template <class V>
const TMetaClass* StaticClassOf() {
  using Pointee = std::remove_cv_t<std::remove_pointer_t<V>>;
  if constexpr (requires { Pointee::StaticClass(); }) return &Pointee::StaticClass();
  else return nullptr;
}

}  // namespace detail

// Fluent description of one property while it is being registered.
template <class T>
class TPropBuilder {
 public:
  explicit TPropBuilder(TPropInfo& info) : info_(info) {}

  // The declared default: properties equal to it are not written by the streaming system.
  // Ordinals, enumerations, sets, floats and strings.
  template <class X>
  TPropBuilder& Default(const X& value) {
    if constexpr (std::is_floating_point_v<X>) {
      info_.FloatDefault = static_cast<double>(value);
    } else if constexpr (std::is_convertible_v<X, std::u16string_view> && !std::is_arithmetic_v<X>) {
      info_.StrDefault = String(std::u16string_view(value));
    } else if constexpr (std::is_same_v<X, AnsiString>) {
      info_.StrDefault = Utf8ToUtf16(value);
    } else if constexpr (detail::IsEnumSet<X>::value) {
      info_.OrdDefault = static_cast<std::int64_t>(value.Bits());
    } else if constexpr (std::is_same_v<X, bool>) {
      info_.OrdDefault = value ? 1 : 0;
    } else {
      static_assert(std::is_enum_v<X> || std::is_integral_v<X>, "unsupported default");
      info_.OrdDefault = static_cast<std::int64_t>(value);
    }
    return *this;
  }
  // Always written (an ordinal without a default).
  TPropBuilder& NoDefault() {
    info_.OrdDefault.reset();
    return *this;
  }
  TPropBuilder& Stored(bool stored) {
    info_.StoredFlag = stored;
    info_.StoredFn = nullptr;
    return *this;
  }
  TPropBuilder& Stored(bool (T::*predicate)() const) {
    info_.StoredFn = [predicate](const TObject& o) { return (static_cast<const T&>(o).*predicate)(); };
    return *this;
  }
  TPropBuilder& TypeName(const String& name) {
    info_.TypeName = name;
    return *this;
  }
  // The string kind of a string property (tkString, tkLString, tkWString, tkUString), or the
  // character kind of a character one.
  TPropBuilder& Kind(TTypeKind kind) {
    info_.Kind = kind;
    return *this;
  }

 private:
  TPropInfo& info_;
};

// Registers the published properties of class T. Getters are const member functions (or
// callables taking const T&); setters are member functions taking the value (or nullptr for a
// read-only property).
template <class T>
class TClassBuilder {
 public:
  explicit TClassBuilder(TPropertyList& list) : list_(list) {}

  // Integers, booleans, characters, floats and strings; the kind and type name follow the C++
  // type and can be refined.
  template <class G, class S>
  TPropBuilder<T> Property(const char16_t* name, G getter, S setter) {
    using V = detail::GetterResult<T, G>;
    static_assert(!std::is_enum_v<V> && !detail::IsEnumSet<V>::value && !std::is_pointer_v<V>,
                  "use Enum, Set or Object");
    TPropInfo& info = Add<V>(name, getter, setter);
    if constexpr (std::is_same_v<V, bool>) info.EnumType = &BooleanTypeInfo();
    if constexpr (std::is_floating_point_v<V>) info.FloatDefault = 0.0;
    if constexpr (std::is_same_v<V, String> || std::is_same_v<V, AnsiString>) info.StrDefault = String();
    return TPropBuilder<T>(info);
  }

  template <class G, class S>
  TPropBuilder<T> Enum(const char16_t* name, G getter, S setter, const TEnumInfo& type) {
    using V = detail::GetterResult<T, G>;
    static_assert(std::is_enum_v<V> || std::is_integral_v<V>, "not an enumeration");
    TPropInfo& info = Add<V>(name, getter, setter);
    info.Kind = tkEnumeration;
    info.EnumType = &type;
    info.TypeName = type.TypeName();
    return TPropBuilder<T>(info);
  }

  // A set of the values of `elements` (the getter returns a TEnumSet).
  template <class G, class S>
  TPropBuilder<T> Set(const char16_t* name, G getter, S setter, const TEnumInfo& elements,
                      const String& typeName = String()) {
    using V = detail::GetterResult<T, G>;
    TPropInfo& info = Add<V>(name, getter, setter);
    info.Kind = tkSet;
    info.EnumType = &elements;
    info.TypeName = typeName.empty() ? u"set of " + elements.TypeName() : typeName;
    return TPropBuilder<T>(info);
  }

  // An object property (a persistent sub-object such as a font or a string list, or a link to
  // another component).
  template <class G, class S>
  TPropBuilder<T> Object(const char16_t* name, G getter, S setter) {
    using V = detail::GetterResult<T, G>;
    static_assert(std::is_pointer_v<V>, "object getters return a pointer");
    TPropInfo& info = Add<V>(name, getter, setter);
    info.ClassType = detail::StaticClassOf<V>();
    if (info.ClassType) info.TypeName = info.ClassType->Name();
    return TPropBuilder<T>(info);
  }

  // An event: listed with its type name; its value reads as 1 when a handler is assigned.
  template <class G>
  TPropBuilder<T> Event(const char16_t* name, G getter, const String& typeName) {
    TPropInfo& info = list_.Add(name, tkMethod);
    info.TypeName = typeName;
    info.Getter = [getter](const TObject& o) -> TPropValue {
      return std::int64_t{static_cast<bool>(std::invoke(getter, static_cast<const T&>(o)))};
    };
    return TPropBuilder<T>(info);
  }

 private:
  template <class V, class G, class S>
  TPropInfo& Add(const char16_t* name, G getter, S setter) {
    TPropInfo& info = list_.Add(name, detail::KindOf<V>());
    info.TypeName = detail::DefaultTypeName<V>();
    if constexpr (std::is_integral_v<V> && !std::is_same_v<V, bool>) {
      info.OrdMin = static_cast<std::int64_t>(std::numeric_limits<V>::min());
      info.OrdMax = std::numeric_limits<V>::max() > static_cast<std::uint64_t>(INT64_MAX)
                        ? INT64_MAX
                        : static_cast<std::int64_t>(std::numeric_limits<V>::max());
    }
    info.Getter = [getter](const TObject& o) -> TPropValue {
      return detail::ToPropValue<V>(std::invoke(getter, static_cast<const T&>(o)));
    };
    if constexpr (!std::is_null_pointer_v<S>) {
      info.Setter = [setter](TObject& o, const TPropValue& v) {
        std::invoke(setter, static_cast<T&>(o), detail::FromPropValue<V>(v));
      };
    }
    return info;
  }

  TPropertyList& list_;
};

// ---- Accessors. Unknown names raise EPropertyError "Property %s does not exist"; writing a
// read-only property raises EPropertyError "Property %s is read-only"; a value of the wrong kind
// raises EPropertyError "Invalid property type: %s".

const TPropInfo* GetPropInfo(const TObject* instance, std::u16string_view name);
const std::vector<const TPropInfo*>& GetPropList(const TObject* instance);
bool IsPublishedProp(const TObject* instance, std::u16string_view name);
bool PropIsType(const TObject* instance, std::u16string_view name, TTypeKind kind);

std::int64_t GetOrdProp(const TObject* instance, const TPropInfo& prop);
std::int64_t GetOrdProp(const TObject* instance, std::u16string_view name);
void SetOrdProp(TObject* instance, const TPropInfo& prop, std::int64_t value);
void SetOrdProp(TObject* instance, std::u16string_view name, std::int64_t value);
String GetStrProp(const TObject* instance, const TPropInfo& prop);
String GetStrProp(const TObject* instance, std::u16string_view name);
void SetStrProp(TObject* instance, const TPropInfo& prop, const String& value);
void SetStrProp(TObject* instance, std::u16string_view name, const String& value);
double GetFloatProp(const TObject* instance, const TPropInfo& prop);
double GetFloatProp(const TObject* instance, std::u16string_view name);
void SetFloatProp(TObject* instance, const TPropInfo& prop, double value);
void SetFloatProp(TObject* instance, std::u16string_view name, double value);
TObject* GetObjectProp(const TObject* instance, const TPropInfo& prop);
TObject* GetObjectProp(const TObject* instance, std::u16string_view name);
void SetObjectProp(TObject* instance, const TPropInfo& prop, TObject* value);
void SetObjectProp(TObject* instance, std::u16string_view name, TObject* value);
// Enumerations by value name.
String GetEnumProp(const TObject* instance, std::u16string_view name);
void SetEnumProp(TObject* instance, std::u16string_view name, std::u16string_view value);
// Sets as "a,b" (or "[a,b]" with brackets).
String GetSetProp(const TObject* instance, std::u16string_view name, bool brackets = false);
void SetSetProp(TObject* instance, std::u16string_view name, std::u16string_view value);

// Any non-object property as text: integers in decimal, characters as themselves, enumerations
// and booleans by name, sets as "[a,b]", floats in the invariant general format.
String GetPropText(const TObject* instance, const TPropInfo& prop);
String GetPropValue(const TObject* instance, std::u16string_view name);
// The inverse, with conversion errors raised as EPropertyConvertError or EConvertError; integers
// also read $hex, booleans also read numbers, enumerations also read their ordinal.
void SetPropText(TObject* instance, const TPropInfo& prop, std::u16string_view text);
void SetPropValue(TObject* instance, std::u16string_view name, std::u16string_view text);

String GetEnumName(const TEnumInfo& type, int value);
// -1 when unknown.
int GetEnumValue(const TEnumInfo& type, std::u16string_view name);
String SetToString(const TEnumInfo& elements, std::uint64_t bits, bool brackets = false);
// Names separated by commas, blanks allowed, brackets optional; an unknown name raises
// EPropertyConvertError "Invalid property element: %s".
std::uint64_t StringToSet(const TEnumInfo& elements, std::u16string_view text);

// Identifiers for values of an integer type (colour names for TColor, say): the writer writes
// them instead of numbers, and the reader and SetPropValue accept them. Keyed by type name.
using TIdentToInt = std::function<bool(std::u16string_view ident, std::int64_t& value)>;
using TIntToIdent = std::function<bool(std::int64_t value, String& ident)>;
void RegisterIntegerConsts(const String& typeName, TIdentToInt identToInt, TIntToIdent intToIdent);
bool IdentToIntOf(std::u16string_view typeName, std::u16string_view ident, std::int64_t& value);
bool IntToIdentOf(std::u16string_view typeName, std::int64_t value, String& ident);

// The stored flag or predicate of the property.
bool IsStoredProp(const TObject* instance, const TPropInfo& prop);
// Whether the value equals the declared default (a property without one is never default).
bool IsDefaultPropValue(const TObject* instance, const TPropInfo& prop);

}  // namespace kestrel
