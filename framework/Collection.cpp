#include "framework/Collection.h"

#include <algorithm>

#include "framework/Exceptions.h"
#include "platform/core/ScopeGuard.h"

namespace kestrel {

KESTREL_IMPLEMENT_CLASS(TCollectionItem, TPersistent)
KESTREL_IMPLEMENT_CLASS(TCollection, TPersistent)

TCollectionItem::TCollectionItem(TCollection* collection) { SetCollection(collection); }

TCollectionItem::~TCollectionItem() {
  if (collection_) collection_->RemoveItem(this);
}

void TCollectionItem::SetCollection(TCollection* value) {
  if (collection_ == value) return;
  if (collection_) collection_->RemoveItem(this);
  if (value) value->InsertItem(this, value->Count());
}

int TCollectionItem::Index() const {
  if (!collection_) return -1;
  auto& list = collection_->items_;
  return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

void TCollectionItem::SetIndex(int value) {
  int current = Index();
  if (current < 0) return;
  auto& list = collection_->items_;
  value = std::clamp(value, 0, static_cast<int>(list.size()) - 1);
  if (value == current) return;
  list.erase(list.begin() + current);
  list.insert(list.begin() + value, this);
  Changed(true);
}

String TCollectionItem::DisplayName() const { return ClassName(); }

void TCollectionItem::SetDisplayName(const String&) { Changed(false); }

TPersistent* TCollectionItem::GetOwner() const { return collection_; }

String TCollectionItem::GetNamePath() const {
  if (!collection_) return ClassName();
  return collection_->GetNamePath() + u"[" + Utf8ToUtf16(std::to_string(Index())) + u"]";
}

void TCollectionItem::Changed(bool allItems) {
  if (collection_ && collection_->updateCount_ == 0) collection_->Update(allItems ? nullptr : this);
}

TCollection::TCollection(TItemFactory itemFactory, TPersistent* owner)
    : factory_(std::move(itemFactory)), owner_(owner) {}

TCollection::~TCollection() {
  updateCount_ = 1;  // no Update calls into a half-destroyed owner
  Clear();
}

TCollectionItem* TCollection::Add() {
  if (!factory_) throw EInvalidOperation(u"The collection has no item class");
  // The item's constructor joins this collection; Update waits until the item is whole.
  BeginUpdate();
  TCollectionItem* item = nullptr;
  {
    const platform::ScopeGuard endUpdate([&] { EndUpdate(); });
    item = factory_(this);
    if (item && item->collection_ != this) item->SetCollection(this);
  }
  if (!item) throw EInvalidOperation(u"The collection has no item class");
  return item;
}

TCollectionItem* TCollection::Insert(int index) {
  BeginUpdate();
  TCollectionItem* item = nullptr;
  const platform::ScopeGuard endUpdate([&] { EndUpdate(); });
  item = Add();
  item->SetIndex(index);
  return item;
}

void TCollection::Delete(int index) {
  TCollectionItem* item = Items(index);
  Notify(item, cnDeleting);
  delete item;  // leaves the list in its destructor
}

void TCollection::Clear() {
  if (items_.empty()) return;
  BeginUpdate();
  while (!items_.empty()) {
    TCollectionItem* item = items_.back();
    Notify(item, cnDeleting);
    delete item;
  }
  EndUpdate();
}

TCollectionItem* TCollection::Items(int index) const {
  if (index < 0 || index >= Count()) throw EListError(u"List index out of bounds (%d)", {index});
  return items_[static_cast<std::size_t>(index)];
}

TCollectionItem* TCollection::FindItemID(int id) const {
  for (TCollectionItem* item : items_)
    if (item->id_ == id) return item;
  return nullptr;
}

void TCollection::Exchange(int index1, int index2) {
  Items(index1);
  Items(index2);
  std::swap(items_[static_cast<std::size_t>(index1)], items_[static_cast<std::size_t>(index2)]);
  Changed();
}

void TCollection::Assign(const TPersistent* source) {
  auto* other = dynamic_cast<const TCollection*>(source);
  if (!other) {
    TPersistent::Assign(source);
    return;
  }
  if (other == this) return;
  BeginUpdate();
  const platform::ScopeGuard endUpdate([&] { EndUpdate(); });
  Clear();
  for (TCollectionItem* item : other->items_) Add()->Assign(item);
}

void TCollection::BeginUpdate() { ++updateCount_; }

void TCollection::EndUpdate() {
  if (updateCount_ == 0) return;
  if (--updateCount_ == 0) Changed();
}

String TCollection::GetNamePath() const {
  if (!owner_ || propName_.empty()) return ClassName();
  return owner_->GetNamePath() + u"." + propName_;
}

void TCollection::Update(TCollectionItem*) {}

void TCollection::Notify(TCollectionItem*, TCollectionNotification) {}

void TCollection::Changed() {
  if (updateCount_ == 0) Update(nullptr);
}

void TCollection::InsertItem(TCollectionItem* item, int index) {
  items_.insert(items_.begin() + std::clamp(index, 0, Count()), item);
  item->collection_ = this;
  item->id_ = nextId_++;
  Notify(item, cnAdded);
  Changed();
}

void TCollection::RemoveItem(TCollectionItem* item) {
  auto it = std::find(items_.begin(), items_.end(), item);
  if (it == items_.end()) return;
  Notify(item, cnExtracting);
  items_.erase(it);
  item->collection_ = nullptr;
  Changed();
}

}  // namespace kestrel
