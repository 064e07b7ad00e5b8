#include "framework/Object.h"

#include "framework/PropInfo.h"
#include "framework/SysUtils.h"

namespace kestrel {

TMetaClass::TMetaClass(const char16_t* name, const TMetaClass* parent, Factory factory, Publisher publisher)
    : name_(name), parent_(parent), factory_(factory), publisher_(publisher) {}

TMetaClass::~TMetaClass() = default;

bool TMetaClass::InheritsFrom(const TMetaClass& ancestor) const {
  for (const TMetaClass* c = this; c; c = c->parent_)
    if (c == &ancestor) return true;
  return false;
}

TObject* TMetaClass::Create(TComponent* owner) const { return factory_ ? factory_(owner) : nullptr; }

void TMetaClass::Build() const {
  // A class's list is its ancestors' followed by its own; built once, on first use, so static
  // registration order never matters.
  if (parent_) all_ = parent_->Properties();
  own_ = std::make_unique<TPropertyList>();
  if (publisher_) publisher_(*own_);
  for (const auto& p : own_->Items()) {
    // A redeclared property replaces the ancestor's in place.
    bool replaced = false;
    for (auto& existing : all_) {
      if (SameText(existing->Name, p->Name)) {
        existing = p.get();
        replaced = true;
        break;
      }
    }
    if (!replaced) all_.push_back(p.get());
  }
}

const std::vector<const TPropInfo*>& TMetaClass::Properties() const {
  std::call_once(built_, [this] { Build(); });
  return all_;
}

const TPropInfo* TMetaClass::FindProperty(std::u16string_view name) const {
  for (const TPropInfo* p : Properties())
    if (SameText(p->Name, name)) return p;
  return nullptr;
}

const TMetaClass& TObject::StaticClass() {
  static const TMetaClass meta(u"TObject", nullptr, detail::DefaultFactory<TObject>(), nullptr);
  return meta;
}

}  // namespace kestrel
