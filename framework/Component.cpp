#include "framework/Component.h"

#include <algorithm>

#include "framework/Exceptions.h"
#include "framework/SysUtils.h"
#include "framework/TypeInfo.h"

namespace kestrel {

KESTREL_IMPLEMENT_PUBLISHED_CLASS(TComponent, TPersistent)

void TComponent::PublishProperties(TClassBuilder<TComponent>& b) {
  // The name is streamed in the block header, not as a property line.
  b.Property(u"Name", &TComponent::Name, &TComponent::SetName).Stored(false);
  b.Property(u"Tag", &TComponent::Tag, &TComponent::SetTag).Default(0).TypeName(u"NativeInt");
}

bool IsValidIdent(std::u16string_view name) {
  if (name.empty()) return false;
  auto alpha = [](char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_'; };
  if (!alpha(name[0])) return false;
  return std::all_of(name.begin() + 1, name.end(), [&](char16_t c) { return alpha(c) || (c >= u'0' && c <= u'9'); });
}

TComponent::TComponent(TComponent* owner) {
  if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
  Destroying();
  RemoveFreeNotifications();
  DestroyComponents();
  if (owner_) owner_->RemoveComponent(this);
}

String TComponent::GetNamePath() const { return name_.empty() ? ClassName() : name_; }

void TComponent::SetName(const String& value) {
  if (name_ == value) return;
  if (!value.empty() && !IsValidIdent(value)) throw EComponentError(u"'%s' is not a valid component name", {value});
  if (owner_) owner_->ValidateRename(this, name_, value);
  else ValidateRename(nullptr, name_, value);
  name_ = value;
}

TComponent* TComponent::Components(int index) const {
  if (index < 0 || index >= ComponentCount()) return nullptr;
  return components_[static_cast<std::size_t>(index)];
}

int TComponent::ComponentIndex() const {
  if (!owner_) return -1;
  auto& list = owner_->components_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TComponent::SetComponentIndex(int value) {
  if (!owner_) return;
  int current = ComponentIndex();
  auto& list = owner_->components_;
  value = std::clamp(value, 0, static_cast<int>(list.size()) - 1);
  if (current < 0 || current == value) return;
  list.erase(list.begin() + current);
  list.insert(list.begin() + value, this);
}

TComponent* TComponent::FindComponent(std::u16string_view name) const {
  if (name.empty()) return nullptr;
  for (TComponent* c : components_)
    if (SameText(c->name_, name)) return c;
  return nullptr;
}

void TComponent::InsertComponent(TComponent* component) {
  if (!component) return;
  if (component->owner_ == this) return;
  ValidateInsert(component);
  ValidateRename(component, u"", component->name_);
  if (component->owner_) component->owner_->RemoveComponent(component);
  InsertOwned(component);
  if (state_.Contains(csDesigning)) component->SetDesigning(true);
  // A component created inside a loading bracket belongs to it.
  if (state_.Contains(csLoading)) component->state_.Include(csLoading);
  Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  if (!component || component->owner_ != this) return;
  Notification(component, opRemove);
  RemoveOwned(component);
}

void TComponent::InsertOwned(TComponent* component) {
  components_.push_back(component);
  component->owner_ = this;
}

void TComponent::RemoveOwned(TComponent* component) {
  auto it = std::find(components_.begin(), components_.end(), component);
  if (it != components_.end()) components_.erase(it);
  component->owner_ = nullptr;
}

void TComponent::DestroyComponents() {
  while (!components_.empty()) {
    TComponent* last = components_.back();
    last->Destroying();
    // Remove first, so the component's own destructor does not go back to this owner, and so
    // the owner's Notification hears the removal while the component is still whole.
    RemoveComponent(last);
    delete last;
  }
}

void TComponent::Destroying() {
  if (state_.Contains(csDestroying)) return;
  state_.Include(csDestroying);
  for (TComponent* c : components_) c->Destroying();
}

void TComponent::FreeNotification(TComponent* component) {
  if (!component || component == this) return;
  // Linked both ways always (also between components of one owner), so a link survives a
  // change of owner.
  if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) == freeNotifies_.end())
    freeNotifies_.push_back(component);
  if (std::find(component->freeNotifies_.begin(), component->freeNotifies_.end(), this) ==
      component->freeNotifies_.end())
    component->freeNotifies_.push_back(this);
  state_.Include(csFreeNotification);
  component->state_.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
  if (!component) return;
  std::erase(freeNotifies_, component);
  std::erase(component->freeNotifies_, this);
}

void TComponent::RemoveFreeNotifications() {
  while (!freeNotifies_.empty()) {
    TComponent* other = freeNotifies_.back();
    freeNotifies_.pop_back();
    // Unlink before telling, so an override that does not call the inherited Notification
    // cannot keep a pointer to this component in its list.
    std::erase(other->freeNotifies_, this);
    other->Notification(this, opRemove);
  }
}

void TComponent::SetSubComponent(bool value) {
  if (value) style_.Include(csSubComponent);
  else style_.Exclude(csSubComponent);
}

void TComponent::SetDesigning(bool value, bool setChildren) {
  SetState(csDesigning, value);
  if (setChildren)
    for (TComponent* c : components_) c->SetDesigning(value, true);
}

void TComponent::CollectTree(std::vector<TComponent*>& out) {
  out.push_back(this);
  for (TComponent* c : components_) c->CollectTree(out);
}

void TComponent::BeginLoading() {
  std::vector<TComponent*> all;
  CollectTree(all);
  for (TComponent* c : all) c->state_.Include(csLoading);
}

void TComponent::EndLoading() {
  std::vector<TComponent*> all;
  CollectTree(all);
  for (TComponent* c : all) {
    if (c->state_.Contains(csLoading)) c->Loaded();
    // An override that forgets the inherited call must not leave the flag behind.
    c->state_.Exclude(csLoading);
  }
}

void TComponent::GetChildren(const TGetChildProc& proc, TComponent* root) const {
  if (root != this) return;
  for (TComponent* c : components_)
    if (!c->HasParent()) proc(c);
}

void TComponent::SetParentComponent(TComponent*) {}

void TComponent::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component) RemoveFreeNotification(component);
  // Index from the end, re-checked each round: a handler may remove components.
  for (std::size_t i = components_.size(); i-- > 0;) {
    if (i >= components_.size()) continue;
    components_[i]->Notification(component, operation);
  }
}

void TComponent::Loaded() { state_.Exclude(csLoading); }

void TComponent::ValidateRename(TComponent* component, std::u16string_view curName, std::u16string_view newName) {
  if (component && !SameText(curName, newName) && component->owner_ == this) {
    TComponent* other = FindComponent(newName);
    if (other && other != component) throw EComponentError(u"A component named %s already exists", {newName});
  }
  if (component && component->owner_ != this && !newName.empty()) {
    // Inserting: the name must be free here.
    if (FindComponent(newName)) throw EComponentError(u"A component named %s already exists", {newName});
  }
}

void TComponent::ValidateInsert(TComponent* component) {
  // A component cannot own itself or one of its owners.
  for (TComponent* o = this; o; o = o->owner_)
    if (o == component)
      throw EComponentError(u"Cannot insert %s into one of its own components", {component->GetNamePath()});
}

void TComponent::SetState(TComponentStateItem item, bool on) {
  if (on) state_.Include(item);
  else state_.Exclude(item);
}

}  // namespace kestrel
