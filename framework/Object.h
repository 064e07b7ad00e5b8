#pragma once
// The root of the object model. Every framework class derives from TObject; classes that want a
// class name of their own, class-registry creation or published properties describe themselves
// with KESTREL_CLASS in the class body and KESTREL_IMPLEMENT_CLASS (or
// KESTREL_IMPLEMENT_PUBLISHED_CLASS) in their source file.

#include <functional>
#include <memory>
#include <mutex>
#include <string_view>
#include <type_traits>
#include <vector>

#include "platform/core/Unicode.h"

namespace kestrel {

class TObject;
class TComponent;
struct TPropInfo;
class TPropertyList;
template <class T>
class TClassBuilder;

// What a class knows about itself at run time: its name, its parent, how to create an instance
// (for the class registry) and its published properties.
class TMetaClass {
 public:
  using Factory = TObject* (*)(TComponent* owner);
  using Publisher = void (*)(TPropertyList& list);

  TMetaClass(const char16_t* name, const TMetaClass* parent, Factory factory, Publisher publisher);
  TMetaClass(const TMetaClass&) = delete;
  TMetaClass& operator=(const TMetaClass&) = delete;
  ~TMetaClass();

  const String& Name() const { return name_; }
  const TMetaClass* Parent() const { return parent_; }
  bool InheritsFrom(const TMetaClass& ancestor) const;

  // A new instance (owned by `owner` when it is a component), or nullptr when the class is
  // abstract or cannot be constructed that way.
  TObject* Create(TComponent* owner = nullptr) const;
  bool CanCreate() const { return factory_ != nullptr; }

  // The published properties, the ancestors' first, in registration order.
  const std::vector<const TPropInfo*>& Properties() const;
  // Case-insensitive lookup; nullptr when there is none.
  const TPropInfo* FindProperty(std::u16string_view name) const;

 private:
  void Build() const;

  String name_;
  const TMetaClass* parent_;
  Factory factory_;
  Publisher publisher_;
  mutable std::once_flag built_;
  mutable std::unique_ptr<TPropertyList> own_;
  mutable std::vector<const TPropInfo*> all_;
};

using TClass = const TMetaClass*;

// The plain event: who raised it.
using TNotifyEvent = std::function<void(TObject* Sender)>;

namespace detail {
template <class T>
TMetaClass::Factory DefaultFactory() {
  if constexpr (std::is_abstract_v<T>) {
    return nullptr;
  } else if constexpr (std::is_constructible_v<T, TComponent*>) {
    return [](TComponent* owner) -> TObject* { return new T(owner); };
  } else if constexpr (std::is_default_constructible_v<T>) {
    return [](TComponent*) -> TObject* { return new T(); };
  } else {
    return nullptr;
  }
}
}  // namespace detail

class TObject {
 public:
  TObject() = default;
  virtual ~TObject() = default;

  static const TMetaClass& StaticClass();
  virtual const TMetaClass& ClassType() const { return StaticClass(); }
  virtual String ClassName() const { return ClassType().Name(); }
  bool InheritsFrom(const TMetaClass& ancestor) const { return ClassType().InheritsFrom(ancestor); }

 protected:
  TObject(const TObject&) = default;
  TObject& operator=(const TObject&) = default;
};

}  // namespace kestrel

// In the class body (leaves the access at public).
#define KESTREL_CLASS(Class)                                                        \
 public:                                                                            \
  static const ::kestrel::TMetaClass& StaticClass();                                \
  const ::kestrel::TMetaClass& ClassType() const override { return StaticClass(); } \
  static void PublishProperties(::kestrel::TClassBuilder<Class>& builder);

// In the source file: a class without published properties of its own.
#define KESTREL_IMPLEMENT_CLASS(Class, Base)                                                      \
  const ::kestrel::TMetaClass& Class::StaticClass() {                                             \
    static const ::kestrel::TMetaClass meta(u"" #Class, &Base::StaticClass(),                     \
                                            ::kestrel::detail::DefaultFactory<Class>(), nullptr); \
    return meta;                                                                                  \
  }

// In the source file: a class that publishes properties; define
// `void Class::PublishProperties(TClassBuilder<Class>& b)` next to it
// (include "framework/TypeInfo.h").
#define KESTREL_IMPLEMENT_PUBLISHED_CLASS(Class, Base)                                       \
  const ::kestrel::TMetaClass& Class::StaticClass() {                                        \
    static const ::kestrel::TMetaClass meta(u"" #Class, &Base::StaticClass(),                \
                                            ::kestrel::detail::DefaultFactory<Class>(),      \
                                            [](::kestrel::TPropertyList& list) {             \
                                              ::kestrel::TClassBuilder<Class> builder(list); \
                                              Class::PublishProperties(builder);             \
                                            });                                              \
    return meta;                                                                             \
  }
