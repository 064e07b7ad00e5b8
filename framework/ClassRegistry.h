#pragma once
// The class registry: classes the streaming system may create by name while reading.

#include <initializer_list>
#include <string_view>
#include <vector>

#include "framework/Object.h"

namespace kestrel {

// Registering a class twice is harmless; a different class under a taken name is ignored (the
// first registration stays).
void RegisterClass(const TMetaClass& cls);
void RegisterClasses(std::initializer_list<const TMetaClass*> classes);
void UnRegisterClass(const TMetaClass& cls);
// nullptr when no class of that name (case-insensitive) is registered.
const TMetaClass* GetClass(std::u16string_view name);
// Every registered class, in name order.
std::vector<const TMetaClass*> RegisteredClasses();
// EClassNotFound "Class %s not found" when none is registered.
const TMetaClass& FindClass(std::u16string_view name);

}  // namespace kestrel
