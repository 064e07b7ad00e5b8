#include "framework/ClassRegistry.h"

#include <map>
#include <mutex>

#include "framework/Exceptions.h"
#include "framework/SysUtils.h"

namespace kestrel {

namespace {

struct Registry {
  std::mutex mutex;
  std::map<String, const TMetaClass*> byName;  // keyed by the upper-cased name
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

}  // namespace

void RegisterClass(const TMetaClass& cls) {
  Registry& r = TheRegistry();
  std::lock_guard lock(r.mutex);
  r.byName.emplace(UpperCase(cls.Name()), &cls);
}

void RegisterClasses(std::initializer_list<const TMetaClass*> classes) {
  for (const TMetaClass* c : classes)
    if (c) RegisterClass(*c);
}

void UnRegisterClass(const TMetaClass& cls) {
  Registry& r = TheRegistry();
  std::lock_guard lock(r.mutex);
  auto it = r.byName.find(UpperCase(cls.Name()));
  if (it != r.byName.end() && it->second == &cls) r.byName.erase(it);
}

const TMetaClass* GetClass(std::u16string_view name) {
  Registry& r = TheRegistry();
  std::lock_guard lock(r.mutex);
  auto it = r.byName.find(UpperCase(name));
  return it == r.byName.end() ? nullptr : it->second;
}

std::vector<const TMetaClass*> RegisteredClasses() {
  Registry& r = TheRegistry();
  std::lock_guard lock(r.mutex);
  std::vector<const TMetaClass*> classes;
  for (const auto& [name, cls] : r.byName) classes.push_back(cls);
  return classes;
}

const TMetaClass& FindClass(std::u16string_view name) {
  const TMetaClass* c = GetClass(name);
  if (!c) throw EClassNotFound(u"Class %s not found", {name});
  return *c;
}

}  // namespace kestrel
