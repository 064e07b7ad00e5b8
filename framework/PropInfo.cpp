#include "framework/PropInfo.h"

#include "framework/SysUtils.h"

namespace kestrel {

TEnumInfo::TEnumInfo(String typeName, std::initializer_list<const char16_t*> names, int minValue)
    : typeName_(std::move(typeName)), min_(minValue) {
  for (const char16_t* n : names) names_.emplace_back(n);
}

String TEnumInfo::Name(int value) const {
  if (value < min_ || value > MaxValue()) return String();
  return names_[static_cast<std::size_t>(value - min_)];
}

int TEnumInfo::Value(std::u16string_view name) const {
  for (std::size_t i = 0; i < names_.size(); ++i)
    if (SameText(names_[i], name)) return min_ + static_cast<int>(i);
  return -1;
}

const TEnumInfo& BooleanTypeInfo() {
  static const TEnumInfo info(u"Boolean", {u"False", u"True"});
  return info;
}

TPropInfo& TPropertyList::Add(String name, TTypeKind kind) {
  auto info = std::make_unique<TPropInfo>();
  info->Name = std::move(name);
  info->Kind = kind;
  items_.push_back(std::move(info));
  return *items_.back();
}

}  // namespace kestrel
