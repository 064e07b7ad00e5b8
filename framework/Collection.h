#pragma once
// TCollection: an owned, ordered list of items of one kind (TCollectionItem descendants) that is
// streamed as part of its owner's properties:
//
//   Snippets = <
//     item
//       Name = 'intro'
//     end>
//
// Changes to items reach the collection's Update (all items at the end of an update bracket).

#include <functional>
#include <vector>

#include "framework/Persistent.h"

namespace kestrel {

class TCollection;

enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

class TCollectionItem : public TPersistent {
  KESTREL_CLASS(TCollectionItem)
  // Joins `collection` (at its end) when given. Prefer TCollection::Add, which tells the
  // collection only once the item is fully constructed.
  explicit TCollectionItem(TCollection* collection);
  ~TCollectionItem() override;

  TCollection* Collection() const { return collection_; }
  // Moves the item to another collection (or none: then the caller owns it).
  void SetCollection(TCollection* value);
  // Unique within the collection, never reused.
  int ID() const { return id_; }
  int Index() const;
  void SetIndex(int value);
  virtual String DisplayName() const;
  virtual void SetDisplayName(const String& value);
  TPersistent* GetOwner() const override;
  String GetNamePath() const override;

 protected:
  // Tells the collection that this item (or, with allItems, the whole list) changed.
  void Changed(bool allItems);

 private:
  friend class TCollection;
  TCollection* collection_ = nullptr;
  int id_ = -1;
};

class TCollection : public TPersistent {
  KESTREL_CLASS(TCollection)
  using TItemFactory = std::function<TCollectionItem*(TCollection* collection)>;
  // `owner` is what GetOwner reports (the component whose property this is).
  TCollection(TItemFactory itemFactory, TPersistent* owner = nullptr);
  ~TCollection() override;

  template <class Item>
  static TItemFactory ItemClass() {
    return [](TCollection* c) -> TCollectionItem* { return new Item(c); };
  }

  TCollectionItem* Add();
  TCollectionItem* Insert(int index);
  void Delete(int index);
  void Clear();
  int Count() const { return static_cast<int>(items_.size()); }
  // EListError "List index out of bounds (%d)" when out of range.
  TCollectionItem* Items(int index) const;
  TCollectionItem* FindItemID(int id) const;
  void Exchange(int index1, int index2);

  // Items of the same kind are recreated and assigned one by one.
  using TPersistent::Assign;
  void Assign(const TPersistent* source) override;

  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return updateCount_; }

  TPersistent* GetOwner() const override { return owner_; }
  String GetNamePath() const override;
  // The name of the owner's property that holds this collection (for GetNamePath).
  const String& PropName() const { return propName_; }
  void SetPropName(const String& value) { propName_ = value; }

 protected:
  // A single item changed, or (item == nullptr) the list or all items did.
  virtual void Update(TCollectionItem* item);
  virtual void Notify(TCollectionItem* item, TCollectionNotification action);
  void Changed();

 private:
  friend class TCollectionItem;
  void InsertItem(TCollectionItem* item, int index);
  void RemoveItem(TCollectionItem* item);

  TItemFactory factory_;
  TPersistent* owner_;
  std::vector<TCollectionItem*> items_;
  int updateCount_ = 0;
  int nextId_ = 0;
  String propName_;
};

}  // namespace kestrel
