#include "framework/PropertyPath.h"

#include "framework/Component.h"
#include "framework/TypeInfo.h"

namespace kestrel {

namespace {

// The object the property `name` of `instance` holds, when the walk may enter it.
TObject* SubObject(TObject* instance, std::u16string_view name, TPathObjects objects) {
  const TPropInfo* prop = GetPropInfo(instance, name);
  if (!prop || prop->Kind != tkClass || !prop->IsReadable()) return nullptr;
  TObject* object = GetObjectProp(instance, *prop);
  if (objects == TPathObjects::NotComponents && dynamic_cast<TComponent*>(object)) return nullptr;
  return object;
}

}  // namespace

TPropertyPathEnd WalkPropertyPath(TObject* root, std::u16string_view path, TPathObjects objects) {
  TObject* target = root;
  for (auto dot = path.find(u'.'); target && dot != std::u16string_view::npos; dot = path.find(u'.')) {
    target = SubObject(target, path.substr(0, dot), objects);
    path.remove_prefix(dot + 1);
  }
  return {target, path};
}

const TPropInfo* FindPropertyByPath(TObject* root, std::u16string_view path, TObject*& instance, TPathObjects objects) {
  const TPropertyPathEnd end = WalkPropertyPath(root, path, objects);
  instance = end.Instance;
  return end.Instance ? GetPropInfo(end.Instance, end.Name) : nullptr;
}

bool SetPropertyByPath(TObject* root, std::u16string_view path, std::u16string_view text, TPathObjects objects) {
  TObject* instance = nullptr;
  const TPropInfo* prop = FindPropertyByPath(root, path, instance, objects);
  if (!prop || !prop->IsWritable() || prop->Kind == tkClass || prop->Kind == tkMethod) return false;
  SetPropText(instance, *prop, text);
  return true;
}

}  // namespace kestrel
