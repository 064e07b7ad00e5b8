#pragma once
// The description of one published property: what the streaming system, the settings store, the
// style manager and the markup reader need to read, write and convert it without knowing the
// class. TClassBuilder (TypeInfo.h) fills these in; TypeInfo.h also has the accessors.

#include <climits>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string_view>
#include <variant>
#include <vector>

#include "platform/core/Unicode.h"

namespace kestrel {

class TObject;
class TMetaClass;

enum TTypeKind {
  tkUnknown,
  tkInteger,
  tkChar,
  tkEnumeration,
  tkFloat,
  tkString,  // short string
  tkSet,
  tkClass,
  tkMethod,
  tkWChar,
  tkLString,  // 8-bit string
  tkWString,  // wide string
  tkVariant,
  tkInt64,
  tkUString,  // Unicode string
};

// The names of an enumeration's values, in order starting at MinValue().
class TEnumInfo {
 public:
  TEnumInfo(String typeName, std::initializer_list<const char16_t*> names, int minValue = 0);

  const String& TypeName() const { return typeName_; }
  int MinValue() const { return min_; }
  int MaxValue() const { return min_ + static_cast<int>(names_.size()) - 1; }
  int Count() const { return static_cast<int>(names_.size()); }
  // "" when out of range.
  String Name(int value) const;
  // Case-insensitive; -1 when unknown.
  int Value(std::u16string_view name) const;

 private:
  String typeName_;
  std::vector<String> names_;
  int min_;
};

// Boolean is an enumeration of False and True.
const TEnumInfo& BooleanTypeInfo();

// A property value in transit: ordinals (integers, characters, enumerations, booleans, sets as
// bit masks) as int64, floats as double, all strings as UTF-16, objects as pointers.
using TPropValue = std::variant<std::monostate, std::int64_t, double, String, TObject*>;

struct TPropInfo {
  String Name;
  TTypeKind Kind = tkUnknown;
  String TypeName;
  const TEnumInfo* EnumType = nullptr;    // enumerations, booleans, set elements
  const TMetaClass* ClassType = nullptr;  // class properties, when known
  std::function<TPropValue(const TObject&)> Getter;
  std::function<void(TObject&, const TPropValue&)> Setter;  // empty: read-only
  // Declared defaults: ordinals have none unless given; strings default to "", floats to 0.
  std::optional<std::int64_t> OrdDefault;
  std::optional<double> FloatDefault;
  std::optional<String> StrDefault;
  // The range of the C++ type behind an integer or character property.
  std::int64_t OrdMin = INT64_MIN;
  std::int64_t OrdMax = INT64_MAX;
  bool StoredFlag = true;
  std::function<bool(const TObject&)> StoredFn;

  bool IsReadable() const { return static_cast<bool>(Getter); }
  bool IsWritable() const { return static_cast<bool>(Setter); }
  bool IsOrdinal() const {
    return Kind == tkInteger || Kind == tkChar || Kind == tkWChar || Kind == tkEnumeration || Kind == tkSet ||
           Kind == tkInt64;
  }
  bool IsString() const { return Kind == tkString || Kind == tkLString || Kind == tkWString || Kind == tkUString; }
};

// The properties one class registers itself (its ancestors' are kept by their own classes).
class TPropertyList {
 public:
  TPropInfo& Add(String name, TTypeKind kind);
  const std::vector<std::unique_ptr<TPropInfo>>& Items() const { return items_; }

 private:
  std::vector<std::unique_ptr<TPropInfo>> items_;
};

}  // namespace kestrel
